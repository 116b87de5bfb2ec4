// The application's tool tips: views post tip messages to the application,
// which hands them to its one manager and calls PostPending() on each of its
// pulses. The manager shows the tip in its own floating window after the
// start delay and the window hides it after the end delay.
//
// Tip message fields: bool "show" (false or absent hides any tip); string
// "tip"; point "loc" (the window's top left on the screen); int32 "width"
// (wrap width in points; absent or below 1, one line); int16 "sdelay" and
// "edelay" (seconds; absent, 1 and 4).
#pragma once

#include "SupportDefs.h"

class BMessage;
class LibTipWin;

class LibTipManager {
public:
    LibTipManager();
    virtual ~LibTipManager();
    LibTipManager(const LibTipManager&) = delete;
    LibTipManager& operator=(const LibTipManager&) = delete;

    // Application thread.
    void MessageReceived(BMessage* message);
    // Each application pulse: shows the tip that waits for its start delay.
    void PostPending();
    void ToggleTips();
    void SetShowTips(const bool& show);

    // The tip window once a tip message came; it lives as long as the
    // application.
    LibTipWin* TipWindow() const { return fTipWin; }
    bool IsPending() const { return fPending; }

private:
    void ShowTip(BMessage* message);
    void HideTip();
    void PopTip();

    LibTipWin* fTipWin = nullptr;
    bool fShowTips = true;
    int32 fStartDelay = 1;
    int32 fEndDelay = 4;
    bool fPending = false;
};
