// A mount and an unmount reach a window as B_NODE_MONITOR messages.
#include "BApplication.h"
#include "MainLoop.h"
#include "NodeMonitor.h"
#include "WindowTestSupport.h"

#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace stowtest;

namespace {

// Runs in the child, in a mount namespace of its own: the exit status names
// the step that failed (77: no permission to mount).
int MountAndWatch(const std::string& point)
{
    if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr))
        return 77;
    if (!TestApplication::Start(false))
        return 2;
    auto* window = new RecordingWindow(BRect(0, 0, 99, 99), "Volumes");
    window->Run();
    if (watch_node(nullptr, B_WATCH_MOUNT, BMessenger(window)) != B_OK)
        return 3;
    if (mount("stowtest", point.c_str(), "tmpfs", 0, "size=64k") != 0)
        return 77;
    struct stat info;
    stat(point.c_str(), &info);
    if (!WaitFor([&] { return window->Count(B_NODE_MONITOR) == 1; }))
        return 4;
    BMessage mounted = window->Last(B_NODE_MONITOR);
    if (mounted.FindInt32("opcode") != B_DEVICE_MOUNTED
        || mounted.FindInt32("new device") != int32(info.st_dev))
        return 5;
    if (umount(point.c_str()) != 0)
        return 6;
    if (!WaitFor([&] { return window->Count(B_NODE_MONITOR) == 2; }))
        return 7;
    if (window->Last(B_NODE_MONITOR).FindInt32("opcode") != B_DEVICE_UNMOUNTED)
        return 8;
    return 0;
}

} // namespace

TEST(MountNotices, MountAndUnmountReachAWindow)
{
    if (be_app != nullptr)
        GTEST_SKIP() << "needs a process of its own (ctest runs each test alone)";
    TempDir temp;
    std::string point = temp.Str() + "/mnt";
    std::filesystem::create_directory(point);
    pid_t child = fork();
    if (child == 0)
        _exit(MountAndWatch(point));
    ASSERT_GT(child, 0);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 77)
        GTEST_SKIP() << "no permission to mount in a private namespace";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "step that failed in the child";
}
