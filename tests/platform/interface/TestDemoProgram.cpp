// Out of process, as a user would: the demo program is started on a private
// X server, found by its title with xdotool, clicked and typed into with
// xdotool (real X input), and answers on its standard output. It loads the
// display module that it carries inside its own file.
#include "TestSupport.h"
#include "XvfbServer.h"

#include <chrono>
#include <csignal>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace stowtest;

namespace {

class DemoProcess {
public:
    DemoProcess()
    {
        int out[2];
        if (pipe(out) != 0)
            return;
        fPid = fork();
        if (fPid == 0) {
            dup2(out[1], 1);
            close(out[0]);
            close(out[1]);
            unsetenv("STOW_INTERFACE_MODULE");
            unsetenv("STOW_SCALE");
            std::string program = BinPath("kitdemo");
            execl(program.c_str(), "kitdemo", nullptr);
            _exit(127);
        }
        close(out[1]);
        fOut = out[0];
    }
    ~DemoProcess()
    {
        if (fPid > 0 && waitpid(fPid, nullptr, WNOHANG) == 0) {
            kill(fPid, SIGTERM);
            waitpid(fPid, nullptr, 0);
        }
        if (fOut >= 0)
            close(fOut);
    }

    // Reads until `text` has been printed (false after 20 s).
    bool Printed(const std::string& text)
    {
        auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (fPrinted.find(text) == std::string::npos) {
            int left = int(std::chrono::duration_cast<std::chrono::milliseconds>(
                limit - std::chrono::steady_clock::now())
                               .count());
            pollfd waiting {fOut, POLLIN, 0};
            if (left <= 0 || poll(&waiting, 1, left) <= 0)
                return false;
            char buffer[256];
            ssize_t got = read(fOut, buffer, sizeof(buffer));
            if (got <= 0)
                return false;
            fPrinted.append(buffer, size_t(got));
        }
        return true;
    }

    int Wait()
    {
        int status = 0;
        waitpid(fPid, &status, 0);
        fPid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t fPid = -1;
    int fOut = -1;
    std::string fPrinted;
};

RunResult Xdotool(const std::vector<std::string>& arguments)
{
    std::vector<std::string> argv = {"/usr/bin/timeout", "20", "xdotool"};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    return stowtest::Run(argv);
}

} // namespace

TEST(DemoProgram, FoundClickedAndTypedIntoWithXdotool)
{
    std::string problem;
    ASSERT_TRUE(XvfbServer::Start(&problem)) << problem;
    ASSERT_EQ(stowtest::Run({"/bin/sh", "-c", "command -v xdotool"}).exitCode, 0)
        << "xdotool is missing (scripts/install-deps installs it)";
    DemoProcess demo;
    RunResult found = Xdotool({"search", "--sync", "--onlyvisible", "--name", "Window kit demo"});
    ASSERT_EQ(found.exitCode, 0) << found.err;
    std::string window = found.out.substr(0, found.out.find('\n'));

    // Click into the name field, type, press Return: the default button.
    EXPECT_EQ(Xdotool({"mousemove", "--window", window, "150", "20", "click", "1"}).exitCode, 0);
    EXPECT_EQ(Xdotool({"type", "Ada"}).exitCode, 0);
    EXPECT_EQ(Xdotool({"key", "Return"}).exitCode, 0);
    EXPECT_TRUE(demo.Printed("greeted Ada\n"));

    // Tick the check box, then click the button.
    EXPECT_EQ(Xdotool({"mousemove", "--window", window, "16", "49", "click", "1"}).exitCode, 0);
    EXPECT_EQ(Xdotool({"mousemove", "--window", window, "226", "99", "click", "1"}).exitCode, 0);
    EXPECT_TRUE(demo.Printed("greeted Ada loud\n"));

    EXPECT_EQ(Xdotool({"key", "ctrl+q"}).exitCode, 0);
    EXPECT_TRUE(demo.Printed("bye\n"));
    EXPECT_EQ(demo.Wait(), 0);
}
