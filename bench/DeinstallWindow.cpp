// stowbench-deinstall-window DEINSTALLER ROOT SEARCHES: the deinstaller's
// windows on a display (bench/run starts a private Xvfb) with the record of
// DEINSTALLER, searching the volume that holds ROOT SEARCHES times through
// its Search button, then removing everything found into the Trash through
// the removal window's Deinstall. Prints, for bench/scan.py:
//
//   search S           one search, from the press to the removal window
//                      showing its first rows (one line per search)
//   filled S           and to its last row (one line per search)
//   found N            the entries found
//   search-gap MS      the longest time between two input and drawing turns
//                      of the UI loop during the searches
//   remove S           the removal, from the press to the program's end
//   remove-gap MS      the same longest gap during the removal
#include "AppDefs.h"
#include "BApplication.h"
#include "BResources.h"
#include "DeinstallFilesWin.h"
#include "DeinstallerWin.h"
#include "KernelThreads.h"
#include "MainLoop.h"
#include "UiDisplay.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <thread>

namespace {

// Stands in for the application's end, so that the figures can be printed.
class EndWatch : public BLooper {
public:
    EndWatch()
        : BLooper("end watch")
    { }
    bool QuitRequested() override
    {
        exitCode = CurrentMessage()->FindInt32("exit");
        ended = true;
        return false;
    }
    std::atomic<bool> ended {false};
    std::atomic<int> exitCode {-1};
};

// Reads the window's state with the window locked.
bool Query(BWindow* window, const std::function<bool()>& question)
{
    if (!window->Lock())
        return false;
    bool answer = question();
    window->Unlock();
    return answer;
}

void WaitUntil(const std::function<bool()>& done)
{
    while (!done())
        snooze(1000);
}

double Seconds(bigtime_t since)
{
    return double(system_time() - since) / 1e6;
}

// The longest gap so far, once the turn under way has ended (its gap counts
// when the loop next waits).
double GapMilliseconds()
{
    MainLoop::Get().Call([] {});
    MainLoop::Get().Call([] {});
    return double(MainLoop::Get().LongestGap()) / 1000;
}

} // namespace

int main(int argc, char** argv)
{
    int searches = argc == 4 ? atoi(argv[3]) : 0;
    if (searches <= 0) {
        fprintf(stderr, "usage: stowbench-deinstall-window DEINSTALLER ROOT SEARCHES\n");
        return 2;
    }
    BApplication application("application/x-vnd.Stowfast-bench");
    if (!UiDisplay::Connect()) {
        fprintf(
            stderr, "stowbench-deinstall-window: no display: %s\n", UiDisplay::Problem().c_str());
        return 1;
    }
    auto* watch = new EndWatch;
    watch->Run();
    auto* window = new DeinstallerWin;
    window->SetQuitTarget(BMessenger(watch));
    BResources resources(argv[1]);
    if (!window->Load(resources) || !window->ChooseVolumeOf(argv[2])) {
        fprintf(stderr, "stowbench-deinstall-window: no record in %s, or no volume at %s\n",
            argv[1], argv[2]);
        return 1;
    }
    window->Show();
    int failed = 0;
    std::thread user([&] {
        auto filesShown = [&] {
            DeinstallFilesWin* files = window->FilesWindow();
            return files != nullptr && !files->IsHidden();
        };
        MainLoop::Get().ResetLongestGap();
        for (int i = 0; i < searches; ++i) {
            if (i > 0)
                window->FilesWindow()->Hide();
            bigtime_t start = system_time();
            window->PostMessage(DeinstallerWin::kSearchPressed);
            WaitUntil([&] { return Query(window, [&] { return filesShown(); }); });
            printf("search %.3f\n", Seconds(start));
            DeinstallFilesWin* files = window->FilesWindow();
            WaitUntil([&] { return Query(files, [&] { return files->IsFilled(); }); });
            printf("filled %.3f\n", Seconds(start));
        }
        printf("search-gap %.2f\n", GapMilliseconds());
        int32 found = 0;
        Query(window, [&] { return (found = window->Session().CountFound()) > 0; });
        printf("found %d\n", int(found));

        MainLoop::Get().ResetLongestGap();
        bigtime_t start = system_time();
        window->FilesWindow()->PostMessage(DeinstallFilesWin::kDeinstallPressed);
        WaitUntil([&] { return watch->ended.load(); });
        printf("remove %.3f\n", Seconds(start));
        printf("remove-gap %.2f\n", GapMilliseconds());
        failed = watch->exitCode;
        application.PostMessage(B_QUIT_REQUESTED);
    });
    application.Run();
    user.join();
    return failed == 0 ? 0 : 1;
}
