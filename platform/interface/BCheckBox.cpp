#include "BCheckBox.h"

#include "BWindow.h"
#include "ControlLook.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kBoxSize = 12;
constexpr float kLabelGap = 6;

} // namespace

BCheckBox::BCheckBox(BRect frame, const char* name, const char* label, BMessage* message,
    uint32 resizingMode, uint32 flags)
    : BControl(frame, name, label, message, resizingMode, flags)
{ }

BCheckBox::~BCheckBox() = default;

BRect BCheckBox::BoxFrame() const
{
    BRect bounds = Bounds();
    float top = std::floor(bounds.top + (bounds.Height() + 1 - kBoxSize) / 2);
    return BRect(bounds.left + 1, top, bounds.left + kBoxSize, top + kBoxSize - 1);
}

void BCheckBox::Draw(BRect)
{
    BRect box = BoxFrame();
    ControlLook::DrawSunkenBox(this, box, IsEnabled());
    if (Value() == B_CONTROL_ON || fPressedInside) {
        BRect mark = box;
        mark.InsetBy(3, 3);
        PushState();
        SetHighColor(!IsEnabled()                           ? ControlLook::Shadow()
                : fPressedInside && Value() != B_CONTROL_ON ? ControlLook::Shadow()
                                                            : make_color(0, 0, 0));
        SetPenSize(1);
        // A tick: down to the bottom third, then up to the top right.
        BPoint low(mark.left + std::floor(mark.Width() / 3), mark.bottom);
        StrokeLine(BPoint(mark.left, mark.bottom - std::floor(mark.Width() / 3)), low);
        StrokeLine(BPoint(mark.left, mark.bottom - std::floor(mark.Width() / 3) - 1),
            BPoint(low.x, low.y - 1));
        StrokeLine(low, BPoint(mark.right, mark.top));
        StrokeLine(BPoint(low.x, low.y - 1), BPoint(mark.right, mark.top - 1));
        PopState();
    }
    BRect text = Bounds();
    text.left = box.right + kLabelGap;
    float left = ControlLook::DrawLabel(this, Label(), text, B_ALIGN_LEFT, LabelColor());
    if (IsFocus() && Window()->IsActive() && Label() != nullptr)
        ControlLook::DrawFocusLine(this, left, left + StringWidth(Label()) - 1,
            std::min(ControlLook::Baseline(this, text), text.bottom - 2));
}

void BCheckBox::MouseDown(BPoint)
{
    if (!IsEnabled())
        return;
    SetTracking(true);
    fPressedInside = true;
    SetMouseEventMask(B_POINTER_EVENTS);
    Invalidate();
}

void BCheckBox::MouseMoved(BPoint where, uint32, const BMessage*)
{
    if (!IsTracking())
        return;
    bool inside = Bounds().Contains(where);
    if (inside != fPressedInside) {
        fPressedInside = inside;
        Invalidate();
    }
}

void BCheckBox::MouseUp(BPoint where)
{
    if (!IsTracking())
        return;
    SetTracking(false);
    fPressedInside = false;
    Invalidate();
    if (Bounds().Contains(where))
        Toggle();
}

void BCheckBox::KeyDown(const char* bytes, int32 numBytes)
{
    if (numBytes == 1 && (bytes[0] == B_SPACE || bytes[0] == B_RETURN)) {
        if (IsEnabled())
            Toggle();
        return;
    }
    BControl::KeyDown(bytes, numBytes);
}

void BCheckBox::Toggle()
{
    SetValue(Value() == B_CONTROL_ON ? B_CONTROL_OFF : B_CONTROL_ON);
    Invoke();
}

void BCheckBox::GetPreferredSize(float* width, float* height)
{
    font_height fontHeight;
    GetFontHeight(&fontHeight);
    float textHeight = std::ceil(fontHeight.ascent) + std::ceil(fontHeight.descent);
    if (width != nullptr)
        *width
            = kBoxSize + kLabelGap + std::ceil(StringWidth(Label() != nullptr ? Label() : "")) + 2;
    if (height != nullptr)
        *height = std::max(kBoxSize, textHeight) + 2;
}
