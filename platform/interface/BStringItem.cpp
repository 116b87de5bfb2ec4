#include "BStringItem.h"

#include "BView.h"

#include <cmath>

BStringItem::BStringItem(const char* text, uint32 outlineLevel, bool expanded)
    : BListItem(outlineLevel, expanded)
    , fText(text != nullptr ? text : "")
{ }

BStringItem::~BStringItem() = default;

void BStringItem::SetText(const char* text)
{
    fText = text != nullptr ? text : "";
}

void BStringItem::Update(BView* owner, const BFont* font)
{
    BListItem::Update(owner, font);
    font_height height;
    font->GetHeight(&height);
    fBaseline = 1 + std::ceil(height.ascent) - 1;
    SetWidth(font->StringWidth(fText.c_str()));
}

// A selected row is shaded with the view colour's highlight tint.
void BStringItem::DrawItem(BView* owner, BRect frame, bool complete)
{
    rgb_color background = owner->ViewColor();
    if (IsSelected())
        background = tint_color(background, B_HIGHLIGHT_BACKGROUND_TINT);
    if (IsSelected() || complete) {
        owner->SetHighColor(background);
        owner->FillRect(frame);
    }
    owner->SetHighColor(
        IsEnabled() ? make_color(0, 0, 0) : tint_color(background, B_DISABLED_LABEL_TINT));
    owner->SetDrawingMode(B_OP_OVER);
    owner->DrawString(
        fText.c_str(), BPoint(frame.left + 4 + float(OutlineLevel()) * 10, frame.top + fBaseline));
    owner->SetDrawingMode(B_OP_COPY);
}
