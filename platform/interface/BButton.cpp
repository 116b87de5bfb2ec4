#include "BButton.h"

#include "BWindow.h"
#include "ControlLook.h"

#include <algorithm>
#include <cmath>

BButton::BButton(BRect frame, const char* name, const char* label, BMessage* message,
    uint32 resizingMode, uint32 flags)
    : BControl(frame, name, label, message, resizingMode, flags)
{ }

BButton::~BButton() = default;

void BButton::AttachedToWindow()
{
    BControl::AttachedToWindow();
    if (fWantsDefault)
        Window()->SetDefaultButton(this);
}

void BButton::Draw(BRect)
{
    BRect bounds = Bounds();
    bool pressed = Value() == B_CONTROL_ON;
    ControlLook::DrawButton(this, bounds, pressed, IsEnabled(), IsDefault());
    BRect box = bounds;
    box.InsetBy(IsDefault() ? 3 : 2, IsDefault() ? 3 : 2);
    if (pressed)
        box.OffsetBy(1, 1);
    float left = ControlLook::DrawLabel(this, Label(), box, B_ALIGN_CENTER, LabelColor());
    if (IsFocus() && Window()->IsActive() && Label() != nullptr) {
        float baseline = ControlLook::Baseline(this, box);
        ControlLook::DrawFocusLine(
            this, left, left + StringWidth(Label()) - 1, std::min(baseline, box.bottom - 2));
    }
}

void BButton::MouseDown(BPoint)
{
    if (!IsEnabled())
        return;
    SetTracking(true);
    SetValue(B_CONTROL_ON);
    SetMouseEventMask(B_POINTER_EVENTS);
}

void BButton::MouseMoved(BPoint where, uint32, const BMessage*)
{
    if (IsTracking())
        SetValue(Bounds().Contains(where) ? B_CONTROL_ON : B_CONTROL_OFF);
}

void BButton::MouseUp(BPoint where)
{
    if (!IsTracking())
        return;
    SetTracking(false);
    bool inside = Bounds().Contains(where);
    SetValue(B_CONTROL_OFF);
    if (inside && IsEnabled())
        Invoke();
}

void BButton::KeyDown(const char* bytes, int32 numBytes)
{
    if (numBytes == 1 && (bytes[0] == B_RETURN || bytes[0] == B_SPACE)) {
        if (IsEnabled())
            Invoke();
        return;
    }
    BControl::KeyDown(bytes, numBytes);
}

void BButton::GetPreferredSize(float* width, float* height)
{
    font_height fontHeight;
    GetFontHeight(&fontHeight);
    float textHeight = std::ceil(fontHeight.ascent) + std::ceil(fontHeight.descent);
    if (width != nullptr)
        *width = std::max(75.0f, std::ceil(StringWidth(Label() != nullptr ? Label() : "")) + 24);
    if (height != nullptr)
        *height = textHeight + 11;
}

void BButton::MakeDefault(bool isDefault)
{
    fWantsDefault = isDefault;
    if (Window() == nullptr)
        return;
    if (isDefault)
        Window()->SetDefaultButton(this);
    else if (IsDefault())
        Window()->SetDefaultButton(nullptr);
}

bool BButton::IsDefault() const
{
    return Window() != nullptr && Window()->DefaultButton() == this;
}

status_t BButton::Invoke(BMessage* message)
{
    return BControl::Invoke(message);
}
