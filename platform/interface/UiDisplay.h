// The program's connection to the display, made once on the UI thread (the
// first window makes it; a program may make it earlier to learn whether it
// has a display). Connecting loads the display module, takes the desktop's
// scale and hands the UI thread's loop to the display's event loop.
// Without a display nothing fails: there are no native windows, and alerts
// stay with the text presenter.
#pragma once

#include "NativeInterface.h"

#include <string>

class UiDisplay {
public:
    // On the UI thread (or the thread that will become it): true when a
    // display is connected, now or before.
    static bool Connect();
    static bool IsConnected();
    // UI thread only; null without a display.
    static native::Display* Native();
    // Any thread: the main screen in device pixels; asked over a connection
    // of its own before the display is connected; empty without a display.
    static native::ScreenFacts Screen();
    // Why there is no display ("" when there is one).
    static std::string Problem();

private:
    friend class BWindow;
    static void ScreenChanged();
};
