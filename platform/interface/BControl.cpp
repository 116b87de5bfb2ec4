#include "BControl.h"

#include "BWindow.h"

BControl::BControl(BRect frame, const char* name, const char* label, BMessage* message,
    uint32 resizingMode, uint32 flags)
    : BView(frame, name, resizingMode, flags)
    , BInvoker(message, nullptr, nullptr)
{
    SetSource(this);
    if (label != nullptr) {
        fLabel = label;
        fHasLabel = true;
    }
}

BControl::~BControl() = default;

// A control takes its parent's colours, so that it sits on the panel.
void BControl::AttachedToWindow()
{
    if (Parent() != nullptr) {
        SetViewColor(Parent()->ViewColor());
        SetLowColor(Parent()->ViewColor());
    }
    if (!HasTarget())
        SetTarget(Window());
}

void BControl::MakeFocus(bool focus)
{
    if (focus && !fEnabled)
        return;
    BView::MakeFocus(focus);
}

void BControl::WindowActivated(bool)
{
    if (IsFocus())
        Invalidate();
}

void BControl::SetLabel(const char* label)
{
    fHasLabel = label != nullptr;
    std::string text = label != nullptr ? label : "";
    if (text == fLabel)
        return;
    fLabel = text;
    Invalidate();
}

void BControl::SetValue(int32 value)
{
    if (value == fValue)
        return;
    fValue = value;
    Invalidate();
}

void BControl::SetEnabled(bool enabled)
{
    if (enabled == fEnabled)
        return;
    fEnabled = enabled;
    if (!enabled && IsFocus())
        BView::MakeFocus(false);
    Invalidate();
}

status_t BControl::Invoke(BMessage* message)
{
    if (message == nullptr)
        message = Message();
    if (message == nullptr)
        return B_BAD_VALUE;
    BMessage copy(*message);
    copy.AddInt32("be:value", fValue);
    return Send(copy);
}

rgb_color BControl::LabelColor() const
{
    rgb_color text = ui_color(B_CONTROL_TEXT_COLOR);
    return fEnabled ? text : tint_color(ViewColor(), B_DISABLED_LABEL_TINT);
}
