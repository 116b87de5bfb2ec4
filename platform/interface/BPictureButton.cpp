#include "BPictureButton.h"

#include "BWindow.h"
#include "ControlLook.h"

BPictureButton::BPictureButton(BRect frame, const char* name, BPicture* off, BPicture* on,
    BMessage* message, uint32 behavior, uint32 resizingMode, uint32 flags)
    : BControl(frame, name, nullptr, message, resizingMode, flags)
    , fBehavior(behavior)
{
    Take(0, off);
    Take(1, on);
}

BPictureButton::~BPictureButton() = default;

void BPictureButton::Take(int index, BPicture* picture)
{
    fPictures[index] = picture != nullptr ? std::make_unique<BPicture>(*picture) : nullptr;
    Invalidate();
}

void BPictureButton::SetEnabledOff(BPicture* picture)
{
    Take(0, picture);
}

void BPictureButton::SetEnabledOn(BPicture* picture)
{
    Take(1, picture);
}

void BPictureButton::SetDisabledOff(BPicture* picture)
{
    Take(2, picture);
}

void BPictureButton::SetDisabledOn(BPicture* picture)
{
    Take(3, picture);
}

void BPictureButton::SetBehavior(uint32 behavior)
{
    fBehavior = behavior;
}

// A state without a picture of its own borrows the enabled one.
void BPictureButton::Draw(BRect)
{
    bool on = Value() == B_CONTROL_ON || fPressed;
    int index = (IsEnabled() ? 0 : 2) + (on ? 1 : 0);
    BPicture* picture = fPictures[index].get();
    if (picture == nullptr)
        picture = fPictures[on ? 1 : 0].get();
    if (picture == nullptr)
        picture = fPictures[0].get();
    if (picture != nullptr)
        DrawPicture(picture, BPoint(0, 0));
    if (IsFocus() && Window()->IsActive()) {
        BRect bounds = Bounds();
        ControlLook::DrawFocusLine(this, bounds.left + 2, bounds.right - 2, bounds.bottom - 3);
    }
}

void BPictureButton::MouseDown(BPoint)
{
    if (!IsEnabled())
        return;
    SetTracking(true);
    fPressed = true;
    SetMouseEventMask(B_POINTER_EVENTS);
    Invalidate();
}

void BPictureButton::MouseMoved(BPoint where, uint32, const BMessage*)
{
    if (!IsTracking())
        return;
    bool inside = Bounds().Contains(where);
    if (inside != fPressed) {
        fPressed = inside;
        Invalidate();
    }
}

void BPictureButton::MouseUp(BPoint where)
{
    if (!IsTracking())
        return;
    SetTracking(false);
    fPressed = false;
    Invalidate();
    if (!Bounds().Contains(where) || !IsEnabled())
        return;
    if (fBehavior == B_TWO_STATE_BUTTON)
        SetValue(Value() == B_CONTROL_ON ? B_CONTROL_OFF : B_CONTROL_ON);
    Invoke();
}

void BPictureButton::KeyDown(const char* bytes, int32 numBytes)
{
    if (numBytes == 1 && (bytes[0] == B_SPACE || bytes[0] == B_RETURN) && IsEnabled()) {
        if (fBehavior == B_TWO_STATE_BUTTON)
            SetValue(Value() == B_CONTROL_ON ? B_CONTROL_OFF : B_CONTROL_ON);
        Invoke();
        return;
    }
    BControl::KeyDown(bytes, numBytes);
}
