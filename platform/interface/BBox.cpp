#include "BBox.h"

#include "ControlLook.h"

#include <cmath>

BBox::BBox(BRect frame, const char* name, uint32 resizingMode, uint32 flags, border_style border)
    : BView(frame, name, resizingMode, flags | B_FRAME_EVENTS)
    , fBorder(border)
{
    SetFont(be_bold_font);
    SetViewColor(B_TRANSPARENT_COLOR);
}

BBox::~BBox() = default;

void BBox::SetBorder(border_style border)
{
    fBorder = border;
    Invalidate();
}

void BBox::SetLabel(const char* label)
{
    fHasLabel = label != nullptr;
    fLabel = label != nullptr ? label : "";
    Invalidate();
}

void BBox::AttachedToWindow()
{
    if (Parent() != nullptr)
        SetLowColor(Parent()->ViewColor());
}

void BBox::FrameResized(float, float)
{
    Invalidate();
}

BRect BBox::BorderFrame() const
{
    BRect frame = Bounds();
    if (fHasLabel && !fLabel.empty()) {
        font_height height;
        GetFontHeight(&height);
        frame.top += std::floor((std::ceil(height.ascent) + std::ceil(height.descent)) / 2);
    }
    return frame;
}

void BBox::Draw(BRect)
{
    BRect frame = BorderFrame();
    switch (fBorder) {
    case B_FANCY_BORDER: {
        BRect inner = frame;
        inner.left += 1;
        inner.top += 1;
        SetHighColor(ControlLook::Shine());
        StrokeRect(inner);
        BRect outer = frame;
        outer.right -= 1;
        outer.bottom -= 1;
        SetHighColor(ControlLook::Shadow());
        StrokeRect(outer);
        break;
    }
    case B_PLAIN_BORDER:
        SetHighColor(ControlLook::Shadow());
        StrokeRect(frame);
        break;
    case B_NO_BORDER:
        break;
    }
    DrawLabel();
}

// The label interrupts the top edge, with a little room on either side.
void BBox::DrawLabel()
{
    if (!fHasLabel || fLabel.empty())
        return;
    font_height height;
    GetFontHeight(&height);
    float width = std::ceil(StringWidth(fLabel.c_str()));
    float textHeight = std::ceil(height.ascent) + std::ceil(height.descent);
    BRect gap(6, 0, 6 + width + 5, textHeight);
    SetHighColor(LowColor());
    FillRect(gap);
    SetHighColor(make_color(0, 0, 0));
    SetDrawingMode(B_OP_OVER);
    DrawString(fLabel.c_str(), BPoint(9, std::ceil(height.ascent) - 1));
    SetDrawingMode(B_OP_COPY);
}
