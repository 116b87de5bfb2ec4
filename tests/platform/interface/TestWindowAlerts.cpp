// Alerts as dialogs: a worker waits for its answer while every window goes
// on drawing and answering; the UI thread asks without deadlocking its own
// window; alerts of several threads come one at a time.
#include "AlertService.h"
#include "AlertWindow.h"
#include "BAlert.h"
#include "BButton.h"
#include "KernelThreads.h"
#include "WindowDriver.h"
#include "WindowList.h"
#include "WindowTestSupport.h"

#include <thread>

using namespace stowtest;

namespace {

// Asks when its button is pressed: an alert asked on the UI thread.
class AskingWindow : public RecordingWindow {
public:
    AskingWindow()
        : RecordingWindow(BRect(100, 100, 299, 199), "Asking")
    {
        AddChild(new BButton(BRect(10, 10, 100, 30), "ask", "Ask", new BMessage('ask!')));
        AddChild(new BButton(BRect(10, 50, 100, 70), "ping", "Ping", new BMessage('ping')));
    }
    void MessageReceived(BMessage* message) override
    {
        RecordingWindow::MessageReceived(message);
        if (message->what == 'ask!') {
            BAlert alert("", "Asked on the UI thread", "No", "Yes");
            answer = alert.Go();
        }
    }
    std::atomic<int32> answer {-2};
};

class PaintCounter : public BView {
public:
    PaintCounter()
        : BView(BRect(120, 10, 180, 60), "painted", B_FOLLOW_NONE, B_WILL_DRAW)
    { }
    void Draw(BRect) override { ++draws; }
    std::atomic<int> draws {0};
};

} // namespace

TEST(WindowAlerts, AWorkerWaitsWhileWindowsDrawAndAnswer)
{
    StartWithDisplay();
    auto* window = new AskingWindow;
    auto* painted = new PaintCounter;
    window->AddChild(painted);
    window->Show();
    WindowDriver driver(window);
    driver.Settle();

    std::atomic<int32> answer {-2};
    std::atomic<bool> checked {false};
    std::thread worker([&] {
        BAlert alert("", "Replace it?", "Don't Replace", "Replace", nullptr, B_WIDTH_FROM_WIDEST,
            B_WARNING_ALERT);
        alert.SetShortcut(1, 'r');
        alert.SetCheckBox("Apply to all future collisions", false);
        answer = alert.Go();
        checked = alert.CheckBoxValue();
    });
    BWindow* alert = WindowDriver::WaitForAlert();
    ASSERT_NE(alert, nullptr);

    // The worker waits; the window still repaints and answers clicks.
    int before = painted->draws;
    window->Lock();
    painted->Invalidate();
    window->Unlock();
    EXPECT_TRUE(WaitFor([&] { return painted->draws > before; }));
    EXPECT_TRUE(driver.Click("ping"));
    EXPECT_EQ(window->Count('ping'), 1);
    EXPECT_EQ(answer, -2);

    WindowDriver inAlert(alert);
    EXPECT_TRUE(inAlert.Click("alert_check"));
    inAlert.PressKey("r"); // the Replace button's shortcut
    worker.join();
    EXPECT_EQ(answer, 1);
    EXPECT_TRUE(checked);
    window->Lock();
    window->Quit();
}

TEST(WindowAlerts, TheUiThreadAsksWithoutBlockingItsWindow)
{
    StartWithDisplay();
    auto* window = new AskingWindow;
    auto* other = new RecordingWindow(BRect(400, 100, 499, 199), "Other");
    other->AddChild(new BButton(BRect(10, 10, 80, 30), "ping", "Ping", new BMessage('ping')));
    window->Show();
    other->Show();
    WindowDriver driver(window);
    EXPECT_TRUE(driver.Click("ask"));
    ASSERT_NE(WindowDriver::WaitForAlert(), nullptr);
    // The asking window waits in its handler; the others go on.
    EXPECT_TRUE(WindowDriver(other).Click("ping"));
    EXPECT_EQ(other->Count('ping'), 1);
    EXPECT_EQ(window->answer, -2);
    // Escape gives the default answer (the last button unless set).
    WindowDriver(WindowDriver::FindAlert()).PressKey("\x1b");
    EXPECT_TRUE(WaitFor([&] { return window->answer == 1; }));
    for (BWindow* w : {static_cast<BWindow*>(window), static_cast<BWindow*>(other)}) {
        w->Lock();
        w->Quit();
    }
}

TEST(WindowAlerts, AlertsOfSeveralThreadsComeOneAtATime)
{
    StartWithDisplay();
    std::atomic<int> answered {0};
    auto ask = [&](const char* text) {
        BAlert alert("", text, "OK");
        alert.Go();
        ++answered;
    };
    std::thread first(ask, "First");
    std::thread second(ask, "Second");
    for (int turn = 0; turn < 2; ++turn) {
        ASSERT_NE(WindowDriver::WaitForAlert(), nullptr);
        int open = 0;
        TestApplication::Call([&] {
            for (BWindow* w : WindowList::Snapshot())
                open += dynamic_cast<AlertWindow*>(w) != nullptr;
        });
        EXPECT_EQ(open, 1);
        EXPECT_TRUE(WindowDriver::AnswerAlert("OK"));
        EXPECT_TRUE(WaitFor([&] { return answered == turn + 1; }));
    }
    first.join();
    second.join();
}

// A worker killed while its question is up unwinds, and the dialog goes.
TEST(WindowAlerts, KillingTheAskingThreadClosesItsDialog)
{
    StartWithDisplay();
    thread_id thread = spawn_thread(
        [](void*) -> int32 {
            BAlert alert("", "Nobody will answer", "OK");
            alert.Go();
            return 0;
        },
        "asker", B_NORMAL_PRIORITY, nullptr);
    resume_thread(thread);
    ASSERT_NE(WindowDriver::WaitForAlert(), nullptr);
    kill_thread(thread);
    status_t result = B_OK;
    wait_for_thread(thread, &result);
    EXPECT_EQ(result, B_INTERRUPTED);
    EXPECT_TRUE(WaitFor([] {
        TestApplication::Settle();
        return WindowDriver::FindAlert() == nullptr;
    }));
}
