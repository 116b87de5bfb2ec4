#include "BStringView.h"

#include "ControlLook.h"

#include <cmath>

BStringView::BStringView(
    BRect frame, const char* name, const char* text, uint32 resizingMode, uint32 flags)
    : BView(frame, name, resizingMode, flags)
    , fText(text != nullptr ? text : "")
{
    SetViewColor(B_TRANSPARENT_COLOR);
}

BStringView::~BStringView() = default;

void BStringView::SetText(const char* text)
{
    std::string value = text != nullptr ? text : "";
    if (value == fText)
        return;
    fText = value;
    Invalidate();
}

void BStringView::SetAlignment(alignment align)
{
    if (align == fAlign)
        return;
    fAlign = align;
    Invalidate();
}

void BStringView::AttachedToWindow()
{
    if (Parent() != nullptr)
        SetLowColor(Parent()->ViewColor());
}

void BStringView::Draw(BRect)
{
    ControlLook::DrawLabel(this, fText.c_str(), Bounds(), fAlign, HighColor());
}

void BStringView::GetPreferredSize(float* width, float* height)
{
    font_height fontHeight;
    GetFontHeight(&fontHeight);
    if (width != nullptr)
        *width = std::ceil(StringWidth(fText.c_str()));
    if (height != nullptr)
        *height = std::ceil(fontHeight.ascent) + std::ceil(fontHeight.descent) + 1;
}
