// The text of a tip window: pale yellow, plain 10-point text, neither
// editable nor selectable. The window's first pulse hides the window, so
// the window's pulse rate is how long a tip stays up.
#pragma once

#include "BTextView.h"

class LibTipString : public BTextView {
public:
    explicit LibTipString(BRect frame);
    ~LibTipString() override;

    void Pulse() override;
    // The text rectangle keeps its left and top and its margins.
    void FrameResized(float width, float height) override;
};
