// The UI thread's loop without a display: timers, tasks, batches, loopers
// another thread holds locked, nested loops.
#include "AppDefs.h"
#include "BApplication.h"
#include "MainLoop.h"
#include "TestSupport.h"

#include <atomic>
#include <gtest/gtest.h>
#include <thread>

namespace {

// An application on a UI thread of its own.
class AppThread {
public:
    AppThread()
    {
        std::atomic<bool> ready {false};
        fThread = std::thread([&] {
            auto* application = new BApplication("application/x-vnd.Stowfast-loop-test");
            MainLoop::Get().Post([&] { ready = true; });
            application->Run();
            delete application;
        });
        EXPECT_TRUE(stowtest::WaitFor([&] { return ready.load(); }));
    }
    ~AppThread()
    {
        MainLoop::Get().Quit();
        fThread.join();
    }

private:
    std::thread fThread;
};

class Counter : public BLooper {
public:
    Counter()
        : BLooper("counter", B_NORMAL_PRIORITY, 1000)
    { }
    void MessageReceived(BMessage* message) override
    {
        if (message->what == 'tick')
            ++handled;
        else
            BLooper::MessageReceived(message);
    }
    std::atomic<int> handled {0};
};

} // namespace

// A timer added from another thread while the loop sleeps must neither
// deadlock nor be missed; its callback runs on the UI thread.
TEST(MainLoop, TimersAndTasksRunOnTheUiThread)
{
    AppThread app;
    MainLoop& loop = MainLoop::Get();
    std::atomic<int> fired {0};
    std::atomic<bool> onUiThread {true};
    int32 timer = loop.AddTimer(2000, [&] {
        onUiThread = onUiThread && loop.IsLoopThread();
        ++fired;
    });
    EXPECT_TRUE(stowtest::WaitFor([&] { return fired >= 3; }));
    loop.RemoveTimer(timer);
    EXPECT_TRUE(onUiThread);
    int order = 0;
    EXPECT_TRUE(loop.Call([&] { order = 1; }));
    EXPECT_EQ(order, 1);
}

// However many messages wait, each turn hands a looper at most a batch, so
// the display gets its turn in between.
TEST(MainLoop, FloodsAreHandledInBatches)
{
    AppThread app;
    MainLoop& loop = MainLoop::Get();
    auto* counter = new Counter;
    std::atomic<int> largestBatch {0};
    int lastCount = 0;
    loop.Call([&] {
        loop.SetTurnHooks(
            [&] {
                int now = counter->handled;
                largestBatch = std::max(largestBatch.load(), now - lastCount);
                lastCount = now;
                return false;
            },
            nullptr);
        ASSERT_EQ(loop.Attach(counter), B_OK);
        counter->Run();
    });
    BMessenger messenger(counter);
    for (int i = 0; i < 5000; ++i)
        ASSERT_EQ(messenger.SendMessage('tick'), B_OK);
    EXPECT_TRUE(stowtest::WaitFor([&] { return counter->handled == 5000; }));
    EXPECT_LE(largestBatch, MainLoop::kBatchMessages);
    loop.Call([&] { loop.SetTurnHooks(nullptr, nullptr); });
    counter->Lock();
    counter->Quit();
}

// A looper that another thread holds locked waits; the others go on.
TEST(MainLoop, LockedLoopersWaitOthersGoOn)
{
    AppThread app;
    MainLoop& loop = MainLoop::Get();
    auto* held = new Counter;
    auto* free = new Counter;
    loop.Call([&] {
        loop.Attach(held);
        loop.Attach(free);
        held->Run();
        free->Run();
    });
    ASSERT_TRUE(held->Lock());
    held->PostMessage('tick');
    free->PostMessage('tick');
    EXPECT_TRUE(stowtest::WaitFor([&] { return free->handled == 1; }));
    EXPECT_EQ(held->handled, 0);
    held->Unlock();
    EXPECT_TRUE(stowtest::WaitFor([&] { return held->handled == 1; }));
    for (Counter* counter : {held, free}) {
        counter->Lock();
        counter->Quit();
    }
}
