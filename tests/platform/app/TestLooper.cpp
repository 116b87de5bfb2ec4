#include "AppDefs.h"
#include "BLooper.h"
#include "BMessenger.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

using stowtest::WaitFor;

namespace {

// What a handler saw, kept outside the looper because Quit() deletes it.
struct Journal {
    struct Entry {
        uint32 what;
        int32 sender;
        int32 sequence;
        thread_id thread;
        thread_id lockedBy;
        std::string handler;
    };
    std::mutex mutex;
    std::vector<Entry> entries;
    std::atomic<bool> looperDeleted {false};

    void Record(BHandler* handler, BMessage* message)
    {
        std::lock_guard lock(mutex);
        entries.push_back({message->what, message->FindInt32("sender"),
            message->FindInt32("sequence"), find_thread(nullptr),
            handler->Looper() ? handler->Looper()->LockingThread() : -1, handler->Name()});
    }
    size_t Count()
    {
        std::lock_guard lock(mutex);
        return entries.size();
    }
    std::vector<Entry> Copy()
    {
        std::lock_guard lock(mutex);
        return entries;
    }
    bool Saw(uint32 what)
    {
        std::lock_guard lock(mutex);
        for (const Entry& entry : entries)
            if (entry.what == what)
                return true;
        return false;
    }
};

constexpr uint32 kUnknown = 'unkn';

class JournalLooper : public BLooper {
public:
    JournalLooper(Journal* journal, const char* name = "journal", int32 capacity = 50)
        : BLooper(name, B_NORMAL_PRIORITY, capacity)
        , fJournal(journal)
    { }
    ~JournalLooper() override { fJournal->looperDeleted = true; }

    void MessageReceived(BMessage* message) override
    {
        fJournal->Record(this, message);
        if (message->what == kUnknown)
            BLooper::MessageReceived(message);
    }
    bool QuitRequested() override { return allowQuit; }

    std::atomic<bool> allowQuit {true};

private:
    Journal* fJournal;
};

class JournalHandler : public BHandler {
public:
    JournalHandler(Journal* journal, const char* name)
        : BHandler(name)
        , fJournal(journal)
    { }
    void MessageReceived(BMessage* message) override
    {
        fJournal->Record(this, message);
        if (message->what == kUnknown)
            BHandler::MessageReceived(message);
    }

private:
    Journal* fJournal;
};

void QuitLooper(BLooper* looper)
{
    ASSERT_TRUE(looper->Lock());
    looper->Quit();
}

thread_state StateOf(thread_id thread)
{
    thread_info info;
    return get_thread_info(thread, &info) == B_OK ? info.state : thread_state(0);
}

} // namespace

TEST(Looper, PostedMessagesArriveInOrderOnTheLoopersLockedThread)
{
    Journal journal;
    auto* looper = new JournalLooper(&journal);
    thread_id thread = looper->Run();
    ASSERT_GT(thread, 0);
    EXPECT_EQ(looper->Thread(), thread);
    EXPECT_EQ(looper->Run(), B_NOT_ALLOWED);

    constexpr int kPerSender = 200;
    auto send = [looper](int32 sender) {
        BMessenger target(looper);
        for (int32 i = 0; i < kPerSender; ++i) {
            BMessage message('post');
            message.AddInt32("sender", sender);
            message.AddInt32("sequence", i);
            // Synchronous sends wait for room; PostMessage would refuse when full.
            ASSERT_EQ(target.SendMessage(&message), B_OK);
        }
    };
    std::thread first(send, 1);
    std::thread second(send, 2);
    first.join();
    second.join();
    ASSERT_TRUE(WaitFor([&] { return journal.Count() == 2 * kPerSender; }));

    int32 next[3] = {0, 0, 0};
    for (const auto& entry : journal.Copy()) {
        ASSERT_EQ(entry.sequence, next[entry.sender]++);
        EXPECT_EQ(entry.thread, thread);
        EXPECT_EQ(entry.lockedBy, thread);
    }

    BMessenger messenger(looper);
    EXPECT_TRUE(messenger.IsValid());
    EXPECT_TRUE(messenger.IsTargetLocal());
    QuitLooper(looper);
    EXPECT_TRUE(journal.looperDeleted);
    EXPECT_FALSE(messenger.IsValid());
    EXPECT_EQ(StateOf(thread), 0);
}

TEST(Looper, SynchronousSendWaitsUntilTheQueueAcceptsTheMessage)
{
    Journal journal;
    // Not running yet: messages wait in the queue, which holds one.
    auto* looper = new JournalLooper(&journal, "narrow", 1);
    BMessenger target(looper);
    ASSERT_EQ(looper->PostMessage('fill'), B_OK);
    EXPECT_EQ(looper->PostMessage('more'), B_WOULD_BLOCK);
    BMessage message('sent');
    EXPECT_EQ(target.SendMessage(&message, nullptr, 0), B_WOULD_BLOCK);
    EXPECT_EQ(target.SendMessage(&message, nullptr, 1000), B_TIMED_OUT);

    struct Sender {
        BMessenger target;
        std::atomic<status_t> result {1};
    } sender {target};
    auto body = [](void* data) -> int32 {
        auto* s = static_cast<Sender*>(data);
        BMessage message('sent');
        s->result = s->target.SendMessage(&message);
        return 0;
    };
    thread_id thread = spawn_thread(body, "sender", B_NORMAL_PRIORITY, &sender);
    ASSERT_EQ(resume_thread(thread), B_OK);
    ASSERT_TRUE(WaitFor([&] { return StateOf(thread) == B_THREAD_WAITING; }));
    EXPECT_EQ(sender.result, 1); // still waiting for room

    looper->Run(); // takes 'fill' out, which makes room for 'sent'
    ASSERT_EQ(wait_for_thread(thread, nullptr), B_OK);
    EXPECT_EQ(sender.result, B_OK);
    ASSERT_TRUE(WaitFor([&] { return journal.Count() == 2; }));
    auto entries = journal.Copy();
    EXPECT_EQ(entries[0].what, uint32('fill'));
    EXPECT_EQ(entries[1].what, uint32('sent'));
    QuitLooper(looper);
}

TEST(Looper, MessengersOfAGoneLooperFailCleanly)
{
    Journal journal;
    auto* looper = new JournalLooper(&journal, "short-lived", 1);
    BMessenger target(looper);
    ASSERT_EQ(looper->PostMessage('fill'), B_OK);

    // A sender waiting for room when the looper goes is told so.
    struct Sender {
        BMessenger target;
        std::atomic<status_t> result {1};
    } sender {target};
    auto body = [](void* data) -> int32 {
        auto* s = static_cast<Sender*>(data);
        BMessage message('late');
        s->result = s->target.SendMessage(&message);
        return 0;
    };
    thread_id thread = spawn_thread(body, "sender", B_NORMAL_PRIORITY, &sender);
    ASSERT_EQ(resume_thread(thread), B_OK);
    ASSERT_TRUE(WaitFor([&] { return StateOf(thread) == B_THREAD_WAITING; }));

    delete looper; // never ran, so deleting is allowed; the queued message goes too
    ASSERT_EQ(wait_for_thread(thread, nullptr), B_OK);
    EXPECT_EQ(sender.result, B_BAD_PORT_ID);
    EXPECT_EQ(journal.Count(), 0u);

    EXPECT_FALSE(target.IsValid());
    EXPECT_FALSE(target.IsTargetLocal());
    BMessage message('gone');
    EXPECT_EQ(target.SendMessage(&message), B_BAD_PORT_ID);
    EXPECT_FALSE(target.LockTarget());
    BLooper* owner = reinterpret_cast<BLooper*>(1);
    EXPECT_EQ(target.Target(&owner), nullptr);
    EXPECT_EQ(owner, nullptr);

    BMessenger unset;
    EXPECT_FALSE(unset.IsValid());
    EXPECT_EQ(unset.SendMessage(&message), B_BAD_PORT_ID);
}

TEST(Looper, LockIsRecursiveAndBelongsToOneThread)
{
    auto* looper = new BLooper("locked");
    ASSERT_TRUE(looper->Lock());
    ASSERT_TRUE(looper->Lock());
    EXPECT_EQ(looper->CountLocks(), 2);
    EXPECT_TRUE(looper->IsLocked());
    EXPECT_EQ(looper->LockingThread(), find_thread(nullptr));

    status_t elsewhere = B_OK;
    std::thread([&] { elsewhere = looper->LockWithTimeout(1000); }).join();
    EXPECT_EQ(elsewhere, B_TIMED_OUT);

    // A killed thread waiting for the lock unwinds out of the wait.
    auto body = [](void* data) -> int32 {
        static_cast<BLooper*>(data)->Lock();
        return 7;
    };
    thread_id locker = spawn_thread(body, "locker", B_NORMAL_PRIORITY, looper);
    ASSERT_EQ(resume_thread(locker), B_OK);
    ASSERT_TRUE(WaitFor([&] { return StateOf(locker) == B_THREAD_WAITING; }));
    ASSERT_EQ(kill_thread(locker), B_OK);
    status_t exitValue = 0;
    ASSERT_EQ(wait_for_thread(locker, &exitValue), B_OK);
    EXPECT_EQ(exitValue, B_INTERRUPTED);

    looper->Unlock();
    EXPECT_TRUE(looper->IsLocked());
    looper->Unlock();
    EXPECT_FALSE(looper->IsLocked());
    std::thread([&] {
        elsewhere = looper->LockWithTimeout(B_INFINITE_TIMEOUT);
        looper->Unlock();
    }).join();
    EXPECT_EQ(elsewhere, B_OK);

    BHandler handler("member");
    EXPECT_FALSE(handler.LockLooper());
    looper->AddHandler(&handler);
    ASSERT_TRUE(handler.LockLooper());
    EXPECT_TRUE(looper->IsLocked());
    handler.UnlockLooper();
    looper->RemoveHandler(&handler);
    delete looper;
}

TEST(Looper, QuitRequestedDecidesWhetherTheLooperEnds)
{
    Journal journal;
    auto* looper = new JournalLooper(&journal);
    looper->allowQuit = false;
    BMessenger target(looper);
    looper->Run();

    ASSERT_EQ(target.SendMessage(B_QUIT_REQUESTED), B_OK);
    ASSERT_EQ(target.SendMessage('ping'), B_OK);
    ASSERT_TRUE(WaitFor([&] { return journal.Saw('ping'); }));
    EXPECT_FALSE(journal.looperDeleted);
    EXPECT_TRUE(target.IsValid());

    looper->allowQuit = true;
    ASSERT_EQ(target.SendMessage(B_QUIT_REQUESTED), B_OK);
    ASSERT_TRUE(WaitFor([&] { return !target.IsValid(); }));
    ASSERT_TRUE(WaitFor([&] { return journal.looperDeleted.load(); }));
    EXPECT_FALSE(journal.Saw(B_QUIT_REQUESTED)); // the looper handled it itself
}

TEST(Looper, HandlersTargetsAndTheNotUnderstoodReply)
{
    Journal journal;
    auto* looper = new JournalLooper(&journal, "main");
    auto* replies = new JournalLooper(&journal, "replies");
    JournalHandler handler(&journal, "handler");
    looper->AddHandler(&handler);
    EXPECT_EQ(looper->CountHandlers(), 2);
    EXPECT_EQ(looper->HandlerAt(0), looper);
    EXPECT_EQ(looper->IndexOf(&handler), 1);
    EXPECT_EQ(handler.NextHandler(), looper);
    EXPECT_EQ(replies->PostMessage('x', &handler), B_MISMATCHED_VALUES);
    looper->Run();
    replies->Run();

    status_t result;
    BMessenger toHandler(&handler, nullptr, &result);
    EXPECT_EQ(result, B_OK);
    BLooper* owner = nullptr;
    EXPECT_EQ(toHandler.Target(&owner), &handler);
    EXPECT_EQ(owner, looper);
    ASSERT_EQ(toHandler.SendMessage('hand'), B_OK);

    // Not understood by the handler, nor by the looper it passes to: the
    // reply target hears so.
    BMessage unknown(kUnknown);
    ASSERT_EQ(toHandler.SendMessage(&unknown, replies), B_OK);
    ASSERT_TRUE(WaitFor([&] { return journal.Saw(B_MESSAGE_NOT_UNDERSTOOD); }));

    // The preferred handler receives what is aimed at the looper as a whole.
    ASSERT_TRUE(looper->Lock());
    looper->SetPreferredHandler(&handler);
    looper->Unlock();
    ASSERT_EQ(BMessenger(nullptr, looper).SendMessage('pref'), B_OK);
    ASSERT_TRUE(WaitFor([&] { return journal.Saw('pref'); }));

    // A removed handler's messages are dropped.
    ASSERT_TRUE(looper->Lock());
    EXPECT_TRUE(looper->RemoveHandler(&handler));
    EXPECT_EQ(looper->PreferredHandler(), nullptr);
    looper->Unlock();
    ASSERT_EQ(toHandler.SendMessage('drop'), B_OK);
    ASSERT_EQ(BMessenger(looper).SendMessage('last'), B_OK);
    ASSERT_TRUE(WaitFor([&] { return journal.Saw('last'); }));

    std::vector<std::pair<std::string, uint32>> seen;
    for (const auto& entry : journal.Copy())
        seen.emplace_back(entry.handler, entry.what);
    std::vector<std::pair<std::string, uint32>> expected = {
        {"handler", 'hand'},
        {"handler", kUnknown},
        {"main", kUnknown},
        {"replies", B_MESSAGE_NOT_UNDERSTOOD},
        {"handler", 'pref'},
        {"main", 'last'},
    };
    EXPECT_EQ(seen, expected);
    EXPECT_FALSE(BMessenger(&handler).IsValid()); // belongs to no looper now
    QuitLooper(looper);
    QuitLooper(replies);
}

TEST(Looper, DispatchOnAThreadTheLooperDoesNotOwn)
{
    // Stands in for the UI thread: sleeps until woken, then dispatches.
    struct UiThread {
        std::mutex mutex;
        std::condition_variable cv;
        int wakes = 0;
        bool stop = false;
        BLooper* looper = nullptr;
        std::atomic<thread_id> id {-1};
        std::atomic<bool> looperGone {false};
    } ui;
    std::thread uiThread([&] {
        ui.id = find_thread(nullptr);
        std::unique_lock lock(ui.mutex);
        while (true) {
            ui.cv.wait(lock, [&] { return ui.wakes > 0 || ui.stop; });
            if (ui.stop)
                return;
            ui.wakes = 0;
            BLooper* looper = ui.looper;
            lock.unlock();
            int32 handled = looper ? looper->DispatchMessages(2) : 0;
            lock.lock();
            if (handled < 0) {
                ui.looper = nullptr;
                ui.looperGone = true;
            }
        }
    });
    ASSERT_TRUE(WaitFor([&] { return ui.id >= 0; }));

    Journal journal;
    auto* looper = new JournalLooper(&journal, "window");
    auto wake = [&] {
        std::lock_guard lock(ui.mutex);
        ++ui.wakes;
        ui.cv.notify_all();
    };
    ASSERT_EQ(looper->SetDispatchThread(ui.id, wake), B_OK);
    {
        std::lock_guard lock(ui.mutex);
        ui.looper = looper;
    }
    for (int32 i = 0; i < 5; ++i) {
        BMessage message('post');
        message.AddInt32("sequence", i);
        ASSERT_EQ(looper->PostMessage(&message), B_OK); // waits for Run()
    }
    EXPECT_EQ(looper->DispatchMessages(), 0); // only the UI thread dispatches
    EXPECT_EQ(looper->Run(), ui.id);
    EXPECT_EQ(looper->SetDispatchThread(ui.id, wake), B_NOT_ALLOWED);
    // Five messages, two per wake-up: the looper wakes the thread again
    // while messages are left.
    ASSERT_TRUE(WaitFor([&] { return journal.Count() == 5; }));
    auto entries = journal.Copy();
    for (int32 i = 0; i < 5; ++i) {
        EXPECT_EQ(entries[size_t(i)].sequence, i);
        EXPECT_EQ(entries[size_t(i)].thread, ui.id);
        EXPECT_EQ(entries[size_t(i)].lockedBy, ui.id);
    }

    // Quitting from another thread waits until the UI thread has deleted it.
    BMessenger target(looper);
    QuitLooper(looper);
    EXPECT_TRUE(journal.looperDeleted);
    EXPECT_TRUE(WaitFor([&] { return ui.looperGone.load(); }));
    EXPECT_FALSE(target.IsValid());
    {
        std::lock_guard lock(ui.mutex);
        ui.stop = true;
    }
    ui.cv.notify_all();
    uiThread.join();
}
