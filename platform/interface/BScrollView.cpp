#include "BScrollView.h"

#include "BScrollBar.h"
#include "ControlLook.h"

float BScrollView::BorderSize(border_style border)
{
    return border == B_FANCY_BORDER ? 2 : border == B_PLAIN_BORDER ? 1 : 0;
}

BRect BScrollView::FrameFor(BView* target, bool horizontal, bool vertical, border_style border)
{
    BRect frame = target != nullptr ? target->Frame() : BRect(0, 0, 10, 10);
    float inset = BorderSize(border);
    frame.InsetBy(-inset, -inset);
    if (vertical)
        frame.right += B_V_SCROLL_BAR_WIDTH;
    if (horizontal)
        frame.bottom += B_H_SCROLL_BAR_HEIGHT;
    return frame;
}

BScrollView::BScrollView(const char* name, BView* target, uint32 resizingMode, uint32 flags,
    bool horizontal, bool vertical, border_style border)
    : BView(FrameFor(target, horizontal, vertical, border), name, resizingMode,
        flags | B_WILL_DRAW | B_FRAME_EVENTS)
    , fTarget(target)
    , fBorder(border)
{
    SetViewColor(B_TRANSPARENT_COLOR);
    float inset = BorderSize(border);
    BRect bounds = Bounds();
    if (target != nullptr) {
        target->MoveTo(inset, inset);
        AddChild(target);
    }
    BRect content = bounds;
    content.InsetBy(inset, inset);
    if (vertical) {
        BRect bar(content.right - B_V_SCROLL_BAR_WIDTH + 1, content.top, content.right,
            content.bottom - (horizontal ? B_H_SCROLL_BAR_HEIGHT : 0));
        fVertical = new BScrollBar(bar, "_VSB_", target, 0, 0, B_VERTICAL);
        AddChild(fVertical);
    }
    if (horizontal) {
        BRect bar(content.left, content.bottom - B_H_SCROLL_BAR_HEIGHT + 1,
            content.right - (vertical ? B_V_SCROLL_BAR_WIDTH : 0), content.bottom);
        fHorizontal = new BScrollBar(bar, "_HSB_", target, 0, 0, B_HORIZONTAL);
        AddChild(fHorizontal);
    }
}

BScrollView::~BScrollView() = default;

BScrollBar* BScrollView::ScrollBar(orientation direction) const
{
    return direction == B_VERTICAL ? fVertical : fHorizontal;
}

void BScrollView::SetBorder(border_style border)
{
    fBorder = border;
    Invalidate();
}

void BScrollView::Draw(BRect)
{
    BRect bounds = Bounds();
    if (fBorder == B_FANCY_BORDER) {
        ControlLook::DrawBevel(this, bounds, false);
        bounds.InsetBy(1, 1);
        SetHighColor(ControlLook::Outline());
        StrokeRect(bounds);
    } else if (fBorder == B_PLAIN_BORDER) {
        SetHighColor(ControlLook::Outline());
        StrokeRect(bounds);
    }
}
