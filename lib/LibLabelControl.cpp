#include "LibLabelControl.h"

#include "LibColors.h"

LibLabelControl::LibLabelControl(BRect frame, const float& divider, const char* name,
    const char* label, const float& bottomInset, const char* colon, unsigned long resizingMode)
    : BView(frame, name, uint32(resizingMode), B_WILL_DRAW)
{
    SetViewColor(ui_color(B_PANEL_BACKGROUND_COLOR));
    float bottom = frame.Height() - bottomInset;
    if (label != nullptr) {
        float right = colon != nullptr ? divider - 12 : divider - 2;
        fLabel = MakeText(BRect(0, 0, right, bottom), "label", label);
    }
    if (colon != nullptr)
        fColon = MakeText(BRect(divider - 11, 0, divider - 2, bottom), "colon", colon);
}

BStringView* LibLabelControl::MakeText(BRect frame, const char* name, const char* text)
{
    auto* view = new BStringView(frame, name, text, B_FOLLOW_LEFT | B_FOLLOW_TOP);
    BFont font(be_bold_font);
    font.SetSize(12);
    view->SetFont(&font);
    view->SetViewColor(ui_color(B_PANEL_BACKGROUND_COLOR));
    AddChild(view);
    return view;
}

void LibLabelControl::SetLabel(const char* label)
{
    if (fLabel != nullptr)
        fLabel->SetText(label);
}

const char* LibLabelControl::LabelText() const
{
    return fLabel != nullptr ? fLabel->Text() : "";
}

void LibLabelControl::SetEnabled(bool enabled)
{
    rgb_color color = lib_nearest_system_color(enabled ? black_color : dark_grey_color);
    for (BStringView* view : {fLabel, fColon}) {
        if (view == nullptr)
            continue;
        view->SetHighColor(color);
        view->Invalidate();
    }
}
