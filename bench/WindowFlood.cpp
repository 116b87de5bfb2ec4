// stowbench-window-flood COUNT: how the UI loop holds up while a worker
// floods a window with progress messages. Needs a display (bench/run starts
// a private Xvfb). Prints, for bench/windows.py:
//
//   opened MS          the window's first drawing, after the process began
//   baseline S         COUNT messages to a plain looper on its own thread
//   flood S            COUNT messages to the window (each redraws a bar)
//   gap MS             the longest time between two input and drawing turns
//   draws N            how often the window drew during the flood
#include "AppDefs.h"
#include "BApplication.h"
#include "BStatusBar.h"
#include "BWindow.h"
#include "KernelThreads.h"
#include "MainLoop.h"
#include "UiDisplay.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>
#include <time.h>
#include <unistd.h>

namespace {

constexpr uint32 kProgress = 'prog';
constexpr uint32 kDone = 'done';

// Milliseconds since the kernel started this process.
double MillisecondsSinceStart()
{
    std::ifstream stat("/proc/self/stat");
    std::string line;
    std::getline(stat, line);
    std::istringstream fields(line.substr(line.rfind(')') + 2));
    std::string field;
    unsigned long long startTicks = 0;
    for (int i = 3; i <= 22 && fields >> field; ++i) {
        if (i == 22)
            startTicks = std::stoull(field);
    }
    timespec now;
    clock_gettime(CLOCK_BOOTTIME, &now);
    double ticks = double(sysconf(_SC_CLK_TCK));
    return (double(now.tv_sec) + double(now.tv_nsec) / 1e9 - double(startTicks) / ticks) * 1000;
}

class Bar : public BStatusBar {
public:
    Bar()
        : BStatusBar(BRect(10, 10, 389, 50), "bar", "Installing ", nullptr)
    { }
    void Draw(BRect update) override
    {
        if (draws++ == 0)
            openedAfter = MillisecondsSinceStart();
        BStatusBar::Draw(update);
    }
    std::atomic<int> draws {0};
    std::atomic<double> openedAfter {0};
};

class FloodWindow : public BWindow {
public:
    FloodWindow(int count)
        : BWindow(BRect(50, 50, 449, 119), "Flood", B_TITLED_WINDOW, B_NOT_RESIZABLE)
        , fBar(new Bar)
        , fCount(count)
    {
        fBar->SetMaxValue(float(count));
        AddChild(fBar);
    }
    void MessageReceived(BMessage* message) override
    {
        if (message->what == kProgress) {
            fBar->Update(1, message->FindString("file"));
            return;
        }
        if (message->what == kDone) {
            be_app->PostMessage(B_QUIT_REQUESTED);
            return;
        }
        BWindow::MessageReceived(message);
    }
    Bar* fBar;
    int fCount;
};

class Sink : public BLooper {
public:
    Sink()
        : BLooper("sink")
    { }
    void MessageReceived(BMessage* message) override
    {
        if (message->what == kProgress)
            ++received;
    }
    std::atomic<int> received {0};
};

double FloodPlainLooper(int count)
{
    auto* sink = new Sink;
    sink->Run();
    BMessenger target(sink);
    bigtime_t start = system_time();
    BMessage progress(kProgress);
    progress.AddString("file", "manual/chapters/1-start.txt");
    for (int i = 0; i < count; ++i)
        target.SendMessage(&progress);
    while (sink->received < count)
        snooze(1000);
    double seconds = double(system_time() - start) / 1e6;
    sink->Lock();
    sink->Quit();
    return seconds;
}

} // namespace

int main(int argc, char** argv)
{
    int count = argc > 1 ? atoi(argv[1]) : 100000;
    if (count <= 0) {
        fprintf(stderr, "usage: stowbench-window-flood COUNT\n");
        return 2;
    }
    BApplication application("application/x-vnd.Stowfast-bench");
    if (!UiDisplay::Connect()) {
        fprintf(stderr, "stowbench-window-flood: no display: %s\n", UiDisplay::Problem().c_str());
        return 1;
    }
    auto* window = new FloodWindow(count);
    window->Show();
    // The flood starts once the window has drawn; from then on every turn
    // counts.
    std::atomic<double> floodSeconds {0};
    std::thread worker([&] {
        while (window->fBar->draws == 0)
            snooze(1000);
        MainLoop::Get().ResetLongestGap();
        BMessenger target(window);
        BMessage progress(kProgress);
        progress.AddString("file", "manual/chapters/1-start.txt");
        bigtime_t start = system_time();
        for (int i = 0; i < count; ++i)
            target.SendMessage(&progress);
        floodSeconds = double(system_time() - start) / 1e6;
        target.SendMessage(kDone);
    });
    application.Run();
    worker.join();
    printf("baseline %.3f\n", FloodPlainLooper(count));
    printf("opened %.1f\n", window->fBar->openedAfter.load());
    printf("flood %.3f\n", floodSeconds.load());
    printf("gap %.2f\n", double(MainLoop::Get().LongestGap()) / 1000);
    printf("draws %d\n", window->fBar->draws.load());
    return 0;
}
