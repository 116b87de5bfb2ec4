// The floating window of a tip: bordered, pale yellow, never taking the
// focus; it hides when its pulse comes (LibTipString) or when it is
// deactivated.
#pragma once

#include "LibWindow.h"

class LibTipString;

class LibTipWin : public LibWindow {
public:
    LibTipWin();
    ~LibTipWin() override;

    // Sets the text and sizes the window: `width` of 1 or more wraps the
    // text at that many points; below 1 gives one line as wide as the text.
    void SetText(const char* text, const long& width);
    void PopTo(const BPoint& where, const int& placement);
    // Stops the pulses (the tip's time) and hides the window.
    void Hide() override;
    void WindowActivated(bool active) override;

    LibTipString* TextView() const { return fText; }
    int32 Placement() const { return fPlacement; }

private:
    int32 fPlacement = 0;
    LibTipString* fText;
};
