#include "KernelThreads.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

using stowtest::WaitFor;

namespace {

thread_state StateOf(thread_id thread)
{
    thread_info info;
    if (get_thread_info(thread, &info) != B_OK)
        return thread_state(0);
    return info.state;
}

// Waits for a thread's end with a "did not hang" bound.
status_t Collect(thread_id thread, status_t* exitValue = nullptr)
{
    status_t ignored;
    return wait_for_thread_etc(
        thread, ThreadWait::Uncancelable, 20'000'000, exitValue ? exitValue : &ignored);
}

struct Probe {
    std::atomic<bool> ran {false};
    std::atomic<bool> started {false};
    std::atomic<bool> cleanedUp {false};
    std::atomic<int64> passes {0};
    std::atomic<int> nice {-100};
    thread_id seenId = -1;
    std::string seenName;
};

// Sets a flag when destroyed, to show that a killed thread's stack unwound.
struct CleanupFlag {
    std::atomic<bool>& flag;
    ~CleanupFlag() { flag = true; }
};

int32 ReportSelf(void* data)
{
    auto* probe = static_cast<Probe*>(data);
    probe->ran = true;
    probe->seenId = find_thread(nullptr);
    thread_info info;
    if (get_thread_info(probe->seenId, &info) == B_OK)
        probe->seenName = info.name;
    probe->nice = getpriority(PRIO_PROCESS, id_t(gettid()));
    return 42;
}

int32 LoopUntilStopped(void* data)
{
    auto* probe = static_cast<Probe*>(data);
    CleanupFlag cleanup {probe->cleanedUp};
    probe->started = true;
    while (true) {
        thread_cancellation_point();
        ++probe->passes;
    }
    return 0;
}

int32 SleepForever(void* data)
{
    auto* probe = static_cast<Probe*>(data);
    CleanupFlag cleanup {probe->cleanedUp};
    probe->started = true;
    snooze(B_INFINITE_TIMEOUT);
    return 0;
}

int32 WaitOnNothing(void* data)
{
    auto* probe = static_cast<Probe*>(data);
    CleanupFlag cleanup {probe->cleanedUp};
    std::mutex mutex;
    std::condition_variable_any never;
    std::unique_lock lock(mutex);
    probe->started = true;
    thread_block(never, lock, B_INFINITE_TIMEOUT, [] { return false; });
    return 0;
}

} // namespace

TEST(KernelThreads, SpawnedThreadStartsSuspendedRunsAndIsCollected)
{
    Probe probe;
    thread_id thread = spawn_thread(ReportSelf, "reporter", B_LOW_PRIORITY, &probe);
    ASSERT_GT(thread, 0);
    thread_info info;
    ASSERT_EQ(get_thread_info(thread, &info), B_OK);
    EXPECT_EQ(info.thread, thread);
    EXPECT_STREQ(info.name, "reporter");
    EXPECT_EQ(info.state, B_THREAD_SUSPENDED);
    EXPECT_EQ(info.priority, B_LOW_PRIORITY);
    EXPECT_FALSE(probe.ran);

    ASSERT_EQ(resume_thread(thread), B_OK);
    status_t exitValue = 0;
    ASSERT_EQ(Collect(thread, &exitValue), B_OK);
    EXPECT_EQ(exitValue, 42);
    EXPECT_EQ(probe.seenId, thread);
    EXPECT_EQ(probe.seenName, "reporter");
    EXPECT_EQ(probe.nice, 5); // priority 5 is five nice levels below normal

    // The ended, collected thread is unknown from now on.
    EXPECT_EQ(get_thread_info(thread, &info), B_BAD_THREAD_ID);
    EXPECT_EQ(wait_for_thread(thread, &exitValue), B_BAD_THREAD_ID);
    EXPECT_EQ(kill_thread(thread), B_BAD_THREAD_ID);
    EXPECT_EQ(resume_thread(thread), B_BAD_THREAD_ID);
    EXPECT_EQ(spawn_thread(nullptr, "none", B_NORMAL_PRIORITY, nullptr), B_BAD_VALUE);
}

TEST(KernelThreads, NamesPrioritiesAndLookups)
{
    Probe probe;
    std::string longName(40, 'n');
    thread_id thread = spawn_thread(ReportSelf, longName.c_str(), B_NORMAL_PRIORITY, &probe);
    ASSERT_GT(thread, 0);
    thread_info info;
    ASSERT_EQ(get_thread_info(thread, &info), B_OK);
    EXPECT_EQ(std::string(info.name), longName.substr(0, B_OS_NAME_LENGTH - 1));
    EXPECT_EQ(find_thread(longName.substr(0, B_OS_NAME_LENGTH - 1).c_str()), thread);
    EXPECT_EQ(find_thread("no thread has this name"), B_NAME_NOT_FOUND);

    // Raising needs privileges Linux may refuse; it is recorded regardless.
    EXPECT_EQ(set_thread_priority(thread, B_URGENT_DISPLAY_PRIORITY), B_NORMAL_PRIORITY);
    EXPECT_EQ(set_thread_priority(thread, 500), B_URGENT_DISPLAY_PRIORITY);
    ASSERT_EQ(get_thread_info(thread, &info), B_OK);
    EXPECT_EQ(info.priority, 120);
    EXPECT_EQ(set_thread_priority(thread, B_LOW_PRIORITY), 120);

    // The calling thread gets an id of its own too, but cannot be killed,
    // suspended or waited for.
    thread_id self = find_thread(nullptr);
    EXPECT_GT(self, 0);
    EXPECT_EQ(find_thread(nullptr), self);
    EXPECT_NE(self, thread);
    EXPECT_EQ(StateOf(self), B_THREAD_RUNNING);
    EXPECT_EQ(kill_thread(self), B_NOT_ALLOWED);
    EXPECT_EQ(suspend_thread(self), B_NOT_ALLOWED);

    // Waiting resumes a thread that was never resumed.
    status_t exitValue = 0;
    ASSERT_EQ(Collect(thread, &exitValue), B_OK);
    EXPECT_EQ(exitValue, 42);
    EXPECT_EQ(probe.nice, 5);
}

TEST(KernelThreads, KillEndsTheThreadAtItsCancellationPointAndUnwinds)
{
    // Killed before it ever ran: the function never starts.
    Probe never;
    thread_id thread = spawn_thread(ReportSelf, "never", B_NORMAL_PRIORITY, &never);
    ASSERT_EQ(kill_thread(thread), B_OK);
    status_t exitValue = 0;
    ASSERT_EQ(Collect(thread, &exitValue), B_OK);
    EXPECT_EQ(exitValue, B_INTERRUPTED);
    EXPECT_FALSE(never.ran);

    // Killed in the middle of long work.
    Probe busy;
    thread = spawn_thread(LoopUntilStopped, "busy", B_NORMAL_PRIORITY, &busy);
    ASSERT_EQ(resume_thread(thread), B_OK);
    ASSERT_TRUE(WaitFor([&] { return busy.passes > 100; }));
    EXPECT_EQ(StateOf(thread), B_THREAD_RUNNING);
    ASSERT_EQ(kill_thread(thread), B_OK);
    ASSERT_EQ(Collect(thread, &exitValue), B_OK);
    EXPECT_EQ(exitValue, B_INTERRUPTED);
    EXPECT_TRUE(busy.cleanedUp);
}

TEST(KernelThreads, KillWakesBlockingWaits)
{
    struct Case {
        thread_func func;
        thread_state state;
    };
    for (Case test :
        {Case {SleepForever, B_THREAD_ASLEEP}, Case {WaitOnNothing, B_THREAD_WAITING}}) {
        Probe probe;
        thread_id thread = spawn_thread(test.func, "blocked", B_NORMAL_PRIORITY, &probe);
        ASSERT_EQ(resume_thread(thread), B_OK);
        ASSERT_TRUE(WaitFor([&] { return StateOf(thread) == test.state; }));
        // Suspension waits for the wait to end; the thread stays blocked.
        ASSERT_EQ(suspend_thread(thread), B_OK);
        EXPECT_EQ(StateOf(thread), test.state);
        ASSERT_EQ(kill_thread(thread), B_OK);
        status_t exitValue = 0;
        ASSERT_EQ(Collect(thread, &exitValue), B_OK);
        EXPECT_EQ(exitValue, B_INTERRUPTED);
        EXPECT_TRUE(probe.cleanedUp);
    }
}

TEST(KernelThreads, SuspendParksAtTheNextCancellationPointUntilResumed)
{
    Probe probe;
    thread_id thread = spawn_thread(LoopUntilStopped, "parked", B_NORMAL_PRIORITY, &probe);
    ASSERT_EQ(resume_thread(thread), B_OK);
    EXPECT_EQ(resume_thread(thread), B_BAD_THREAD_STATE);
    ASSERT_TRUE(WaitFor([&] { return probe.started.load(); }));

    ASSERT_EQ(suspend_thread(thread), B_OK);
    ASSERT_TRUE(WaitFor([&] { return StateOf(thread) == B_THREAD_SUSPENDED; }));
    int64 parkedAt = probe.passes;
    // A parked thread makes no progress, however long it is left.
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(probe.passes, parkedAt);

    ASSERT_EQ(resume_thread(thread), B_OK);
    ASSERT_TRUE(WaitFor([&] { return probe.passes > parkedAt; }));

    // Killing a parked thread ends it too.
    ASSERT_EQ(suspend_thread(thread), B_OK);
    ASSERT_TRUE(WaitFor([&] { return StateOf(thread) == B_THREAD_SUSPENDED; }));
    ASSERT_EQ(kill_thread(thread), B_OK);
    ASSERT_EQ(Collect(thread), B_OK);
    EXPECT_TRUE(probe.cleanedUp);
}

TEST(KernelThreads, KilledThreadCommitsNothing)
{
    struct Shared {
        std::mutex mutex;
        std::condition_variable cv;
        bool go = false;
        std::atomic<bool> committed {false};
        std::atomic<bool> waiting {false};
        std::atomic<bool> sawKill {false};
    } shared;
    auto body = [](void* data) -> int32 {
        auto* s = static_cast<Shared*>(data);
        {
            // Not a cancellation point: the kill is noticed only at the commit.
            std::unique_lock lock(s->mutex);
            s->waiting = true;
            s->cv.wait(lock, [s] { return s->go; });
        }
        s->sawKill = thread_kill_requested();
        thread_commit([s] { s->committed = true; });
        return 0;
    };
    thread_id thread = spawn_thread(body, "committer", B_NORMAL_PRIORITY, &shared);
    ASSERT_EQ(resume_thread(thread), B_OK);
    ASSERT_TRUE(WaitFor([&] { return shared.waiting.load(); }));
    ASSERT_EQ(kill_thread(thread), B_OK);
    {
        std::lock_guard lock(shared.mutex);
        shared.go = true;
    }
    shared.cv.notify_all();
    status_t exitValue = 0;
    ASSERT_EQ(Collect(thread, &exitValue), B_OK);
    EXPECT_EQ(exitValue, B_INTERRUPTED);
    EXPECT_TRUE(shared.sawKill);
    EXPECT_FALSE(shared.committed);
    EXPECT_FALSE(thread_kill_requested());

    // Outside spawned threads a commit simply runs.
    bool ran = false;
    EXPECT_EQ(thread_commit([&] { ran = true; }), B_OK);
    EXPECT_TRUE(ran);
}

TEST(KernelThreads, WaitingForAThreadIsItselfCancelable)
{
    Probe sleeper;
    thread_id target = spawn_thread(SleepForever, "target", B_NORMAL_PRIORITY, &sleeper);
    ASSERT_EQ(resume_thread(target), B_OK);

    struct Waiter {
        thread_id target;
        std::atomic<bool> cleanedUp {false};
    } waiter {target};
    auto body = [](void* data) -> int32 {
        auto* w = static_cast<Waiter*>(data);
        CleanupFlag cleanup {w->cleanedUp};
        status_t exitValue;
        return wait_for_thread(w->target, &exitValue);
    };
    thread_id thread = spawn_thread(body, "waiter", B_NORMAL_PRIORITY, &waiter);
    ASSERT_EQ(resume_thread(thread), B_OK);
    ASSERT_TRUE(WaitFor([&] { return StateOf(thread) == B_THREAD_WAITING; }));
    ASSERT_EQ(kill_thread(thread), B_OK);
    status_t exitValue = 0;
    ASSERT_EQ(Collect(thread, &exitValue), B_OK);
    EXPECT_EQ(exitValue, B_INTERRUPTED);
    EXPECT_TRUE(waiter.cleanedUp);

    // A bounded wait times out; the target is still there to kill.
    EXPECT_EQ(wait_for_thread_etc(target, ThreadWait::Uncancelable, 1000, &exitValue), B_TIMED_OUT);
    ASSERT_EQ(kill_thread(target), B_OK);
    ASSERT_EQ(Collect(target), B_OK);
}
