// A frame around a target view with scroll bars along its right and bottom
// edges. It takes the target's place: the target moves inside it.
#pragma once

#include "BView.h"

class BScrollBar;

class BScrollView : public BView {
public:
    BScrollView(const char* name, BView* target, uint32 resizingMode = B_FOLLOW_LEFT | B_FOLLOW_TOP,
        uint32 flags = 0, bool horizontal = false, bool vertical = false,
        border_style border = B_FANCY_BORDER);
    ~BScrollView() override;

    BScrollBar* ScrollBar(orientation direction) const;
    BView* Target() const { return fTarget; }
    void SetBorder(border_style border);
    border_style Border() const { return fBorder; }

    void Draw(BRect updateRect) override;

private:
    static BRect FrameFor(BView* target, bool horizontal, bool vertical, border_style border);
    static float BorderSize(border_style border);

    BView* fTarget;
    BScrollBar* fHorizontal = nullptr;
    BScrollBar* fVertical = nullptr;
    border_style fBorder;
};
