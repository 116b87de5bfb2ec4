#include "XvfbServer.h"

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#ifndef STOW_INTERFACE_MODULE_PATH
#error "the window tests need the display module's path"
#endif

namespace stowtest {

namespace {

struct Server {
    pid_t pid = -1;
    std::string display;
    std::string problem;
    bool tried = false;
};

Server& Shared()
{
    static Server server;
    return server;
}

// The number Xvfb writes once it accepts connections.
std::string ReadDisplayNumber(int fd)
{
    std::string number;
    pollfd waiting {fd, POLLIN, 0};
    while (poll(&waiting, 1, 20000) > 0) {
        char byte;
        if (read(fd, &byte, 1) != 1 || byte == '\n')
            break;
        number += byte;
    }
    return number;
}

} // namespace

bool XvfbServer::Start(std::string* problem)
{
    static std::mutex lock;
    std::lock_guard<std::mutex> hold(lock);
    Server& server = Shared();
    if (!server.tried) {
        server.tried = true;
        struct stat info;
        if (stat(STOW_INTERFACE_MODULE_PATH, &info) != 0) {
            server.problem = "the display module " STOW_INTERFACE_MODULE_PATH " is missing";
        } else {
            int pipeFds[2];
            if (pipe(pipeFds) != 0) {
                server.problem = "cannot make a pipe";
            } else {
                pid_t parent = getpid();
                pid_t pid = fork();
                if (pid == 0) {
                    // The server ends with the thread that started it, also
                    // when its process ends without running atexit (a crash,
                    // or a forked child's _exit, as in InPrivateMounts).
                    prctl(PR_SET_PDEATHSIG, SIGTERM);
                    if (getppid() != parent)
                        _exit(127);
                    close(pipeFds[0]);
                    int null = open("/dev/null", O_RDWR);
                    dup2(null, 0);
                    dup2(null, 1);
                    dup2(null, 2);
                    std::string fd = std::to_string(pipeFds[1]);
                    execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1920x1200x24",
                        "-nolisten", "tcp", "-noreset", nullptr);
                    _exit(127);
                }
                close(pipeFds[1]);
                std::string number = pid > 0 ? ReadDisplayNumber(pipeFds[0]) : "";
                close(pipeFds[0]);
                if (number.empty()) {
                    server.problem = "Xvfb did not start (is it installed?)";
                    if (pid > 0) {
                        kill(pid, SIGTERM);
                        waitpid(pid, nullptr, 0);
                    }
                } else {
                    server.pid = pid;
                    server.display = ":" + number;
                    setenv("DISPLAY", server.display.c_str(), 1);
                    setenv("STOW_INTERFACE_MODULE", STOW_INTERFACE_MODULE_PATH, 1);
                    atexit(Stop);
                }
            }
        }
    }
    if (problem != nullptr)
        *problem = server.problem;
    return server.pid > 0;
}

std::string XvfbServer::Display()
{
    return Shared().display;
}

void XvfbServer::Stop()
{
    Server& server = Shared();
    if (server.pid <= 0)
        return;
    kill(server.pid, SIGTERM);
    waitpid(server.pid, nullptr, 0);
    server.pid = -1;
}

} // namespace stowtest
