// The UI thread's loop, one per process: the thread that constructs the
// application runs it (BApplication::Run). Each turn runs the tasks posted
// to it, fires due timers, dispatches the messages of every attached looper
// (the application and its windows) in batches bounded by count and by time,
// and then hands over to the backend, which draws and takes new input. So a
// flood of messages to a window never starves its drawing or its input.
#pragma once

#include "KernelThreads.h"
#include "LoopBackend.h"

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

class BLooper;

class MainLoop {
public:
    static MainLoop& Get();

    // At most this many messages of one looper, and this much time for all
    // of them, before input and drawing get their turn.
    static constexpr int32 kBatchMessages = 64;
    static constexpr bigtime_t kBatchTime = 8000;

    // The UI thread: set by the application's constructor.
    void SetThread(thread_id thread);
    thread_id Thread() const { return fThread; }
    bool IsLoopThread() const;

    // UI thread. Without one, the loop waits on a plain condition.
    void SetBackend(std::unique_ptr<LoopBackend> backend);
    // Called every turn on the UI thread: `beforeDispatch` before the
    // loopers' messages (windows take their input), `afterDispatch` after
    // them (windows bring the display up to date). A hook answers true when
    // it left work for a later turn (a window another thread held locked).
    using Hook = std::function<bool()>;
    void SetTurnHooks(Hook beforeDispatch, Hook afterDispatch);

    // Makes the UI thread dispatch the looper's messages; before its Run().
    status_t Attach(BLooper* looper);
    void Detach(BLooper* looper);
    bool IsAttached(const BLooper* looper) const;
    int32 CountAttached() const;
    BLooper* AttachedAt(int32 index) const;

    // UI thread: marks a looper as inside one of its handlers, so that a
    // nested loop (RunUntil) does not dispatch to it again.
    void BeginDispatch(BLooper* looper);
    void EndDispatch(BLooper* looper);
    bool IsDispatching(const BLooper* looper) const;

    // Any thread: runs `task` on the UI thread at its next turn.
    void Post(std::function<void()> task);
    // Any thread: runs `task` on the UI thread and waits for it (at once on
    // the UI thread itself). False when the loop is not running.
    bool Call(const std::function<void()>& task);

    // A repeating timer whose callback runs on the UI thread.
    int32 AddTimer(bigtime_t interval, std::function<void()> callback);
    void SetTimerInterval(int32 timer, bigtime_t interval);
    void RemoveTimer(int32 timer);

    // UI thread: turns until Quit().
    void Run();
    void Quit();
    bool IsRunning() const { return fRunning; }
    // UI thread: turns until `done` holds; the loopers that are dispatching
    // on the way here wait (a modal alert asked from a window).
    void RunUntil(const std::function<bool()>& done);
    // Any thread: makes the UI thread take a turn soon.
    void Wake();

    // The longest time between two input and drawing phases since the last
    // reset, in microseconds.
    bigtime_t LongestGap() const { return fLongestGap; }
    void ResetLongestGap() { fLongestGap = 0; }

private:
    struct Timer {
        bigtime_t interval;
        bigtime_t due;
        std::function<void()> callback;
    };

    MainLoop() = default;
    void Turn();
    void RunTasks();
    void RunTimers();
    bigtime_t NextTimeout() const;
    // Dispatches one batch; true when work remains.
    bool DispatchLoopers();
    bool DispatchLooper(BLooper* looper, bigtime_t deadline, bool& busy);
    void WaitForInput(bigtime_t timeout);

    thread_id fThread = -1;
    std::atomic<bool> fRunning {false};
    std::atomic<bool> fQuit {false};
    std::atomic<bool> fWoken {false};

    mutable std::mutex fLock; // loopers, tasks, timers, backend
    std::unique_ptr<LoopBackend> fBackend;
    std::vector<BLooper*> fLoopers;
    std::vector<std::function<void()>> fTasks;
    std::map<int32, Timer> fTimers;
    int32 fNextTimer = 1;
    Hook fBeforeDispatch;
    Hook fAfterDispatch;

    std::vector<BLooper*> fDispatching; // UI thread only: loopers inside a handler
    bigtime_t fLastInputEnd = 0;
    std::atomic<bigtime_t> fLongestGap {0};
};
