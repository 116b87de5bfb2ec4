// Interrupt and termination signals (SIGINT, SIGTERM) turned into events a
// program's main thread waits for, together with wake-ups from its other
// threads, through one self-pipe. The handler only writes a byte, so the
// stop itself happens on the main thread, through the same cancellation as
// any other stop, instead of the process dying in the middle of a write.
#pragma once

#include "SupportDefs.h"

class StopSignals {
public:
    // Catches SIGINT and SIGTERM until the object goes; one object at a time.
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    status_t InitCheck() const { return fStatus; }

    enum class Event {
        Woken,       // Wake() was called
        Interrupted, // a signal arrived
        TimedOut,
        Readable, // the input given to Wait has something to read
    };
    // Waits up to `timeout` microseconds (negative: no limit) for a signal
    // or a wake-up. A signal wins over a wake-up that arrived with it.
    Event Wait(bigtime_t timeout);
    // The same, and also ends when `input` (a descriptor) can be read or
    // has reached its end, so that one thread can wait for a line of input
    // and for a stop at once.
    Event Wait(bigtime_t timeout, int input);
    // Safe from any thread and from a signal handler.
    void Wake();
    // The last signal that arrived, 0 when none has.
    int LastSignal() const;

private:
    status_t fStatus = B_NO_INIT;
};
