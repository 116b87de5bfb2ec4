#include "ProgramLauncher.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace {

status_t Spawn(const std::vector<std::string>& argv, ProgramOutput output, pid_t* child,
    const char* folder = nullptr)
{
    std::vector<char*> args;
    for (const std::string& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    if (output == ProgramOutput::Discard) {
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
    }
    if (folder != nullptr)
        posix_spawn_file_actions_addchdir_np(&actions, folder);
    int error = posix_spawnp(child, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return error == 0 ? B_OK : status_from_errno(error);
}

void CollectLater(pid_t child)
{
    std::thread([child] {
        while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) { }
    }).detach();
}

// Ends a program nobody waits for any more when the waiter unwinds.
class ChildGuard {
public:
    explicit ChildGuard(pid_t child)
        : fChild(child)
    { }
    ~ChildGuard()
    {
        if (fChild <= 0)
            return;
        kill(fChild, SIGTERM);
        CollectLater(fChild);
    }
    void Release() { fChild = -1; }

private:
    pid_t fChild;
};

} // namespace

status_t launch_program(
    const std::vector<std::string>& argv, bigtime_t waitLimit, ProgramOutput output)
{
    if (argv.empty() || argv[0].empty())
        return B_BAD_VALUE;
    pid_t child;
    status_t status = Spawn(argv, output, &child);
    if (status != B_OK)
        return status;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::microseconds(waitLimit);
    for (;;) {
        int wstatus = 0;
        pid_t ended = waitpid(child, &wstatus, WNOHANG);
        if (ended < 0 && errno == EINTR)
            continue;
        if (ended < 0)
            return status_from_errno(errno);
        if (ended == child)
            return WIFEXITED(wstatus) && WEXITSTATUS(wstatus) == 0 ? B_OK : B_ERROR;
        if (std::chrono::steady_clock::now() >= deadline)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    CollectLater(child);
    return B_OK;
}

status_t run_program(const std::vector<std::string>& argv, const char* folder,
    const std::function<void()>& whileWaiting)
{
    if (argv.empty() || argv[0].empty())
        return B_BAD_VALUE;
    pid_t child;
    status_t status = Spawn(argv, ProgramOutput::Inherit, &child, folder);
    if (status != B_OK)
        return status;
    ChildGuard guard(child);
    for (;;) {
        int wstatus = 0;
        pid_t ended = waitpid(child, &wstatus, WNOHANG);
        if (ended < 0 && errno == EINTR)
            continue;
        if (ended < 0) {
            guard.Release();
            return status_from_errno(errno);
        }
        if (ended == child) {
            guard.Release();
            return WIFEXITED(wstatus) && WEXITSTATUS(wstatus) == 0 ? B_OK : B_ERROR;
        }
        if (whileWaiting)
            whileWaiting();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}
