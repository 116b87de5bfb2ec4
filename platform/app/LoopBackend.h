// How the UI thread waits between the turns of its loop (MainLoop): a plain
// wait when there is no display, the display's own event loop when there is
// one (installed by the interface kit, so that this kit never links it).
#pragma once

#include "SupportDefs.h"

class LoopBackend {
public:
    virtual ~LoopBackend() = default;

    // Waits up to `timeout` microseconds (B_INFINITE_TIMEOUT: until woken)
    // and handles what the display sends meanwhile (input, drawing).
    virtual void Wait(bigtime_t timeout) = 0;
    // Any thread: ends the current or next Wait soon.
    virtual void Wake() = 0;
};
