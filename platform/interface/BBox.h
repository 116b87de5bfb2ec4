// A frame around a group of views, with an optional label in its top edge.
// The fancy border is an etched line (a shadow and a light line); the plain
// one a single dark line.
#pragma once

#include "BView.h"

#include <string>

class BBox : public BView {
public:
    BBox(BRect frame, const char* name = nullptr,
        uint32 resizingMode = B_FOLLOW_LEFT | B_FOLLOW_TOP,
        uint32 flags = B_WILL_DRAW | B_FRAME_EVENTS | B_NAVIGABLE_JUMP,
        border_style border = B_FANCY_BORDER);
    ~BBox() override;

    void SetBorder(border_style border);
    border_style Border() const { return fBorder; }
    void SetLabel(const char* label);
    const char* Label() const { return fHasLabel ? fLabel.c_str() : nullptr; }

    void AttachedToWindow() override;
    void Draw(BRect updateRect) override;
    void FrameResized(float width, float height) override;

protected:
    // Where the border runs (below half the label's height when there is a
    // label).
    BRect BorderFrame() const;

private:
    void DrawLabel();

    std::string fLabel;
    bool fHasLabel = false;
    border_style fBorder;
};
