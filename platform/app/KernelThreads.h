// Kernel-style threads: numbered, named threads with a priority and a state,
// created suspended, that can be resumed, suspended, killed and waited for.
// Built on std::thread. Suspending and killing are cooperative: they take
// effect when the thread reaches a cancellation point (docs/threads.md).
#pragma once

#include "SupportDefs.h"

#include <condition_variable>
#include <functional>
#include <mutex>

typedef int32 (*thread_func)(void* data);

constexpr size_t B_OS_NAME_LENGTH = 32;

enum thread_state : int32 {
    B_THREAD_RUNNING = 1,
    B_THREAD_READY,
    B_THREAD_RECEIVING,
    B_THREAD_ASLEEP,
    B_THREAD_SUSPENDED,
    B_THREAD_WAITING,
};

struct thread_info {
    thread_id thread;
    team_id team;
    char name[B_OS_NAME_LENGTH];
    thread_state state;
    int32 priority;
};

// Creates a thread that runs `func(data)` once resumed. Returns its id, or a
// negative error code. `priority` is clamped to 0...120.
thread_id spawn_thread(thread_func func, const char* name, int32 priority, void* data);

status_t resume_thread(thread_id thread);
// Asks the thread to park at its next cancellation point until resumed.
status_t suspend_thread(thread_id thread);
// Asks the thread to end at its next cancellation point (or at once, when it
// was never resumed). Its stack unwinds, so destructors run, and its exit
// value is B_INTERRUPTED. A killed thread delivers no message.
status_t kill_thread(thread_id thread);

// Waits until the thread has ended and collects its exit value. A thread that
// was never resumed is resumed first. Waiting is a cancellation point.
status_t wait_for_thread(thread_id thread, status_t* exitValue);

enum class ThreadWait {
    Cancelable,  // a killed caller unwinds out of the wait
    Uncancelable // for destructors and other places that must not unwind
};
status_t wait_for_thread_etc(
    thread_id thread, ThreadWait mode, bigtime_t timeout, status_t* exitValue);

// Returns the previous priority, or an error code. Linux niceness follows the
// priority where the system permits; otherwise the value is only recorded.
status_t set_thread_priority(thread_id thread, int32 priority);

status_t get_thread_info(thread_id thread, thread_info* info);

// The calling thread's id when `name` is null (threads not spawned here, such
// as the main thread, get an id on first use); else the first live thread of
// that name, or B_NAME_NOT_FOUND.
thread_id find_thread(const char* name);

// The cancellation point: unwinds the calling thread when it was killed and
// parks it while it is suspended. Cheap enough to call in every loop pass.
void thread_cancellation_point();

// Whether the calling thread has been asked to end.
bool thread_kill_requested();

// Microseconds on a clock that only moves forward (since boot).
bigtime_t system_time();

// Sleeps for `microseconds`; a cancellation point, reported as asleep.
status_t snooze(bigtime_t microseconds);

// Blocks the calling thread on `condition` (with `lock` held on entry and on
// return) until `ready()` holds or `timeout` microseconds have passed.
// Returns B_OK, or B_TIMED_OUT (B_WOULD_BLOCK for a zero timeout). A thread
// killed while waiting unwinds; suspension takes effect after the wait.
// `state` is what get_thread_info reports meanwhile.
status_t thread_block(std::condition_variable_any& condition, std::unique_lock<std::mutex>& lock,
    bigtime_t timeout, const std::function<bool()>& ready, thread_state state = B_THREAD_WAITING);

// Runs `commit` under the calling thread's kill guard: unless the thread has
// been killed, `commit` runs and no kill_thread call can complete in the
// middle of it (B_OK). A killed thread unwinds instead (or, where it cannot,
// gets B_INTERRUPTED). Message queues accept a message through this, so that
// after kill_thread returns the killed thread has delivered nothing more.
status_t thread_commit(const std::function<void()>& commit);
