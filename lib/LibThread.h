// Runs one piece of long work on a thread of its own and tells a window when
// it has finished: derive, override Action(), start with Go(). The finished
// thread sends 'LThC' with its "name" and "status" through the messenger it
// was given; a killed thread sends nothing.
#pragma once

#include "BMessenger.h"
#include "KernelThreads.h"

#include <atomic>

constexpr uint32 kLibThreadCompleted = 'LThC';

class LibThread {
public:
    LibThread();
    LibThread(const LibThread&) = delete;
    LibThread& operator=(const LibThread&) = delete;

    // The work. The base version does nothing and returns 0.
    virtual int32 Action();
    // Stops the thread if it still runs, waits until it has, and deletes the
    // messenger.
    virtual ~LibThread();
    virtual status_t Suspend();
    virtual status_t Resume();
    virtual status_t Kill();
    // Takes `messenger` over and runs Action() on a new thread. With `wait`
    // the call returns the status of waiting for that thread's end, else the
    // status of starting it.
    virtual status_t Go(
        const char* name, BMessenger* messenger, const long& priority, const bool& wait);
    // The thread's state on standard error.
    virtual void PrintToStream();

    static int32 StaticAction(void* data);
    int32 StartAction();
    // The thread's state (thread_state), 0 when there is no such thread.
    int32 Status();
    status_t SetPriority(long priority);

protected:
    // The cancellation point for long work: ends the thread here when it was
    // killed (its stack unwinds, so destructors run) and parks it here while
    // it is suspended. Call it often enough that a stop takes effect within
    // a fraction of a second.
    void CheckCancel();
    // Derived classes send their progress through the same messenger.
    BMessenger* Messenger() const { return fMessenger; }
    thread_id Thread() const { return fThread; }
    // Kills the thread and waits until it has stopped. A derived class whose
    // Action() uses its own members calls this first in its destructor, so
    // that the work stops before those members go.
    void StopThread();

private:
    thread_id fThread = -1;
    BMessenger* fMessenger = nullptr;
    // Action() is running or about to; Go() refuses a second run meanwhile.
    std::atomic<bool> fBusy {false};
};
