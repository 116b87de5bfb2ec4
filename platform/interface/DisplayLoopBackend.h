// The UI thread's loop waits in the display's event loop once a display is
// connected: input and drawing happen there.
#pragma once

#include "LoopBackend.h"
#include "NativeInterface.h"

class DisplayLoopBackend final : public LoopBackend {
public:
    explicit DisplayLoopBackend(native::Display* display);

    void Wait(bigtime_t timeout) override;
    void Wake() override;

private:
    native::Display* fDisplay;
};
