#include "BLooper.h"
#include "LibThread.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <vector>

using stowtest::WaitFor;

namespace {

// A looper whose messages the test thread itself dispatches, so that the
// test sees exactly what the queue holds at any moment.
class Inbox : public BLooper {
public:
    explicit Inbox(int32 capacity = 50)
        : BLooper("inbox", B_NORMAL_PRIORITY, capacity)
    {
        SetDispatchThread(find_thread(nullptr), [] {});
        Run();
    }
    void MessageReceived(BMessage* message) override { received.push_back(*message); }
    // Dispatches what is queued now.
    size_t Drain()
    {
        received.clear();
        DispatchMessages();
        return received.size();
    }

    std::vector<BMessage> received;
};

struct InboxCloser {
    void operator()(Inbox* inbox) const
    {
        inbox->Lock();
        inbox->Quit();
    }
};
using InboxPtr = std::unique_ptr<Inbox, InboxCloser>;

InboxPtr MakeInbox(int32 capacity = 50)
{
    return InboxPtr(new Inbox(capacity));
}

constexpr uint32 kProgress = 'isud';

// Work that runs until stopped, reporting how far it got.
class Worker : public LibThread {
public:
    enum class Mode { Return, Loop, SendProgress };

    explicit Worker(Mode mode, int32 result = 0)
        : fMode(mode)
        , fResult(result)
        , fStats(std::make_shared<Stats>())
    { }
    ~Worker() override { StopThread(); }

    // Outlives the worker, so that a test can look after deleting it.
    struct Stats {
        std::atomic<bool> ran {false};
        std::atomic<bool> cleanedUp {false};
        std::atomic<int64> passes {0};
    };

    int32 Action() override
    {
        Cleanup cleanup {fStats->cleanedUp};
        fStats->ran = true;
        while (fMode != Mode::Return) {
            CheckCancel();
            ++fStats->passes;
            if (fMode == Mode::SendProgress) {
                BMessage progress(kProgress);
                progress.AddString("message", "working");
                Messenger()->SendMessage(&progress);
            }
        }
        return fResult;
    }

    std::shared_ptr<Stats> stats() const { return fStats; }
    bool ran() const { return fStats->ran; }
    bool cleanedUp() const { return fStats->cleanedUp; }
    int64 passes() const { return fStats->passes; }

private:
    struct Cleanup {
        std::atomic<bool>& flag;
        ~Cleanup() { flag = true; }
    };
    Mode fMode;
    int32 fResult;
    std::shared_ptr<Stats> fStats;
};

void ExpectCompletion(const BMessage& message, const char* name, int32 status)
{
    EXPECT_EQ(message.what, kLibThreadCompleted);
    EXPECT_STREQ(message.FindString("name"), name);
    EXPECT_EQ(message.FindInt32("status"), status);
}

std::string PrintedState(LibThread& thread)
{
    testing::internal::CaptureStderr();
    thread.PrintToStream();
    return testing::internal::GetCapturedStderr();
}

} // namespace

TEST(LibThread, FinishedWorkSendsItsNameAndStatus)
{
    InboxPtr inbox = MakeInbox();
    Worker worker(Worker::Mode::Return, 7);
    ASSERT_EQ(worker.Go("search", new BMessenger(inbox.get()), 10, false), B_OK);
    size_t count = 0;
    ASSERT_TRUE(WaitFor([&] { return (count = inbox->Drain()) > 0; }));
    ASSERT_EQ(count, 1u);
    ExpectCompletion(inbox->received[0], "search", 7);
    EXPECT_TRUE(worker.ran());

    // The same object may run again once its work has finished.
    ASSERT_EQ(worker.Go("again", new BMessenger(inbox.get()), 10, true), B_OK);
    ASSERT_EQ(inbox->Drain(), 1u);
    ExpectCompletion(inbox->received[0], "again", 7);
}

TEST(LibThread, GoWithWaitReturnsAfterTheMessageWasSent)
{
    InboxPtr inbox = MakeInbox();
    Worker worker(Worker::Mode::Return, 3);
    ASSERT_EQ(worker.Go("install", new BMessenger(inbox.get()), 10, true), B_OK);
    // Already queued when Go() returns.
    ASSERT_EQ(inbox->Drain(), 1u);
    ExpectCompletion(inbox->received[0], "install", 3);
    EXPECT_EQ(worker.Status(), 0); // the thread is gone
    EXPECT_EQ(PrintedState(worker), "Unknown\n");

    // Without a messenger the work runs and nothing is sent anywhere.
    Worker silent(Worker::Mode::Return, 0);
    ASSERT_EQ(silent.Go("silent", nullptr, 10, true), B_OK);
    EXPECT_TRUE(silent.ran());
    EXPECT_EQ(inbox->Drain(), 0u);

    // A base LibThread does nothing and reports success.
    LibThread plain;
    EXPECT_EQ(PrintedState(plain), "Unknown\n"); // never started
    ASSERT_EQ(plain.Go("plain", new BMessenger(inbox.get()), 10, true), B_OK);
    ASSERT_EQ(inbox->Drain(), 1u);
    ExpectCompletion(inbox->received[0], "plain", 0);
}

TEST(LibThread, KilledWorkSendsNothing)
{
    InboxPtr inbox = MakeInbox();
    Worker worker(Worker::Mode::Loop);
    ASSERT_EQ(worker.Go("search", new BMessenger(inbox.get()), 10, false), B_OK);
    ASSERT_TRUE(WaitFor([&] { return worker.passes() > 100; }));
    EXPECT_EQ(worker.Status(), B_THREAD_RUNNING);
    EXPECT_EQ(PrintedState(worker), "Running\n");

    ASSERT_EQ(worker.Kill(), B_OK);
    ASSERT_TRUE(WaitFor([&] { return worker.Status() == 0; }));
    EXPECT_TRUE(worker.cleanedUp()); // the stack unwound
    EXPECT_EQ(inbox->Drain(), 0u);
    EXPECT_EQ(worker.Kill(), B_BAD_THREAD_ID);
}

TEST(LibThread, KillWhileBlockedSendingProgressSendsNothingMore)
{
    InboxPtr inbox = MakeInbox(1);
    Worker worker(Worker::Mode::SendProgress);
    ASSERT_EQ(worker.Go("install", new BMessenger(inbox.get()), 10, false), B_OK);
    // The first progress message fills the queue; the second one waits.
    ASSERT_TRUE(WaitFor([&] { return worker.Status() == B_THREAD_WAITING; }));
    EXPECT_EQ(PrintedState(worker), "Waiting\n");

    ASSERT_EQ(worker.Kill(), B_OK);
    ASSERT_TRUE(WaitFor([&] { return worker.Status() == 0; }));
    ASSERT_EQ(inbox->Drain(), 1u);
    EXPECT_EQ(inbox->received[0].what, kProgress);
    EXPECT_EQ(inbox->Drain(), 0u);
}

TEST(LibThread, DeletingTheObjectStopsTheWork)
{
    InboxPtr inbox = MakeInbox();
    for (Worker::Mode mode : {Worker::Mode::Loop, Worker::Mode::SendProgress}) {
        auto* worker = new Worker(mode);
        auto stats = worker->stats();
        ASSERT_EQ(worker->Go("search", new BMessenger(inbox.get()), 10, false), B_OK);
        ASSERT_TRUE(WaitFor([&] { return stats->passes > 0; }));
        delete worker; // returns once the thread has stopped
        EXPECT_TRUE(stats->cleanedUp);
        // Progress messages may have arrived; the completion message never.
        while (inbox->Drain() > 0) {
            for (const BMessage& message : inbox->received)
                EXPECT_EQ(message.what, kProgress);
        }
    }
}

TEST(LibThread, SuspendedWorkWaitsUntilResumed)
{
    InboxPtr inbox = MakeInbox();
    Worker worker(Worker::Mode::Loop);
    ASSERT_EQ(worker.Go("search", new BMessenger(inbox.get()), 10, false), B_OK);
    ASSERT_TRUE(WaitFor([&] { return worker.passes() > 0; }));

    ASSERT_EQ(worker.Suspend(), B_OK);
    ASSERT_TRUE(WaitFor([&] { return worker.Status() == B_THREAD_SUSPENDED; }));
    EXPECT_EQ(PrintedState(worker), "Suspended\n");
    int64 parkedAt = worker.passes();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(worker.passes(), parkedAt);

    ASSERT_EQ(worker.Resume(), B_OK);
    ASSERT_TRUE(WaitFor([&] { return worker.passes() > parkedAt; }));
    EXPECT_EQ(worker.Resume(), B_BAD_THREAD_STATE);

    EXPECT_EQ(worker.SetPriority(5), 10); // the previous priority
    ASSERT_EQ(worker.Kill(), B_OK);
    ASSERT_TRUE(WaitFor([&] { return worker.Status() == 0; }));
    EXPECT_EQ(inbox->Drain(), 0u);
}

TEST(LibThread, SecondGoWhileRunningIsRefused)
{
    InboxPtr inbox = MakeInbox();
    Worker worker(Worker::Mode::Loop);
    ASSERT_EQ(worker.Go("first", new BMessenger(inbox.get()), 10, false), B_OK);
    // The refused messenger is deleted, not leaked (the sanitizer build
    // checks that).
    EXPECT_EQ(worker.Go("second", new BMessenger(inbox.get()), 10, false), B_BUSY);
    ASSERT_EQ(worker.Kill(), B_OK);
    ASSERT_TRUE(WaitFor([&] { return worker.Status() == 0; }));
    EXPECT_EQ(inbox->Drain(), 0u);
}
