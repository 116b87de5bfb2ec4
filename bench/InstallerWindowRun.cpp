// stowbench-installer-window INSTALLER DEST: installs everything INSTALLER
// carries into DEST from the installer's own window, as a user pressing
// Install would, on the display DISPLAY names (bench/run starts a private
// Xvfb). The window reads INSTALLER's resources as its own; the completion
// message is answered with OK. Prints, for bench/install_window.py:
//
//   seconds S          from pressing Install to the run's end (the window
//                      closing)
//   gap MS             the longest time between two input and drawing turns
//                      of the UI loop meanwhile
#include "AlertService.h"
#include "InstallApp.h"
#include "InstallerWin.h"
#include "KernelThreads.h"
#include "LibMessageBox.h"
#include "MainLoop.h"
#include "RunningExecutable.h"
#include "UiDisplay.h"

#include <atomic>
#include <cstdio>
#include <thread>

namespace {

// Waits until the window shows, ready to install.
void WaitUntilReady(InstallerWin* window)
{
    for (;;) {
        if (window->Lock()) {
            bool ready = !window->IsHidden() && window->State() == InstallerWin::kReady;
            window->Unlock();
            if (ready)
                return;
        }
        snooze(5000);
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: stowbench-installer-window INSTALLER DEST\n");
        return 2;
    }
    set_running_executable_path(argv[1]);
    if (!UiDisplay::Connect()) {
        fprintf(
            stderr, "stowbench-installer-window: no display: %s\n", UiDisplay::Problem().c_str());
        return 1;
    }
    AlertAnswer ok;
    ok.button = 0;
    AlertService::Default().SetAnswer(kMessageBoxPurpose, ok);
    InstallOptions options;
    options.destination = argv[2];
    auto* application = new InstallApp(options);
    std::atomic<bigtime_t> start {0};
    std::thread pressing([&] {
        WaitUntilReady(application->Window());
        MainLoop::Get().ResetLongestGap();
        start = system_time();
        application->Window()->PostMessage(InstallerWin::kMainButton);
    });
    application->Run();
    bigtime_t end = system_time();
    pressing.join();
    int status = application->ExitCode();
    delete application;
    printf("seconds %.3f\n", double(end - start) / 1e6);
    printf("gap %.2f\n", double(MainLoop::Get().LongestGap()) / 1000);
    return status;
}
