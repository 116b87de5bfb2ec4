#include "TestApplication.h"

#include "BApplication.h"
#include "BWindow.h"
#include "MainLoop.h"
#include "UiDisplay.h"
#include "WindowList.h"
#include "XvfbServer.h"

#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <thread>

namespace stowtest {

namespace {

constexpr int kSettleRounds = 1000;

struct State {
    std::mutex lock;
    std::condition_variable ready;
    bool started = false;
    bool running = false;
    bool display = false;
    std::thread thread;
    std::vector<BMessage> appMessages;
};

State& Shared()
{
    static State state;
    return state;
}

bool WindowsIdle()
{
    for (BWindow* window : WindowList::Snapshot()) {
        if (window->HasPendingInput() || window->CountQueuedMessages() > 0 || window->NeedsUpdate())
            return false;
    }
    return true;
}

// Keeps what windows post to the application for the tests to look at.
class RecordingApplication : public BApplication {
public:
    RecordingApplication()
        : BApplication("application/x-vnd.Stowfast-tests")
    { }
    void MessageReceived(BMessage* message) override
    {
        State& state = Shared();
        std::lock_guard<std::mutex> hold(state.lock);
        state.appMessages.push_back(*message);
    }
};

} // namespace

bool TestApplication::Start(bool withDisplay, std::string* problem)
{
    State& state = Shared();
    std::unique_lock<std::mutex> hold(state.lock);
    if (state.started)
        return !withDisplay || state.display;
    if (withDisplay && !XvfbServer::Start(problem))
        return false;
    state.started = true;
    state.thread = std::thread([withDisplay] {
        State& shared = Shared();
        bool display = withDisplay && UiDisplay::Connect();
        auto* application = new RecordingApplication;
        MainLoop::Get().Post([&shared, display] {
            std::lock_guard<std::mutex> guard(shared.lock);
            shared.running = true;
            shared.display = display;
            shared.ready.notify_all();
        });
        application->Run();
        delete application;
    });
    state.ready.wait(hold, [&] { return state.running; });
    // The window list is made before Stop is registered, so that it outlives
    // the UI thread at exit even when a test leaves a window open.
    WindowList::Contains(nullptr);
    atexit(Stop);
    if (withDisplay && !state.display && problem != nullptr)
        *problem = UiDisplay::Problem();
    return !withDisplay || state.display;
}

bool TestApplication::HasDisplay()
{
    State& state = Shared();
    std::lock_guard<std::mutex> hold(state.lock);
    return state.display;
}

void TestApplication::Call(const std::function<void()>& task)
{
    MainLoop::Get().Call(task);
}

void TestApplication::Settle()
{
    for (int round = 0; round < kSettleRounds; ++round) {
        bool idle = false;
        Call([&] { idle = WindowsIdle(); });
        if (!idle)
            continue;
        // One more turn: the display draws what the last one invalidated.
        Call([] {});
        Call([] {
            if (native::Display* display = UiDisplay::Native())
                display->Sync();
        });
        return;
    }
}

std::vector<BMessage> TestApplication::TakeAppMessages()
{
    State& state = Shared();
    std::lock_guard<std::mutex> hold(state.lock);
    std::vector<BMessage> taken;
    taken.swap(state.appMessages);
    return taken;
}

void TestApplication::Stop()
{
    State& state = Shared();
    if (!state.thread.joinable())
        return;
    MainLoop::Get().Quit();
    state.thread.join();
}

} // namespace stowtest
