#include "BMenuField.h"

#include "BMenuBar.h"
#include "BMenuItem.h"
#include "BWindow.h"
#include "ControlLook.h"

#include <algorithm>
#include <cmath>

BMenuField::BMenuField(BRect frame, const char* name, const char* label, BMenu* menu,
    uint32 resizingMode, uint32 flags)
    : BView(frame, name, resizingMode, flags | B_FRAME_EVENTS)
    , fMenu(menu)
    , fLabel(label != nullptr ? label : "")
    , fHasLabel(label != nullptr)
{
    SetViewColor(B_TRANSPARENT_COLOR);
    fDivider = fHasLabel && !fLabel.empty() ? std::ceil(StringWidth(fLabel.c_str())) + 5 : 0;
    fBar = new BMenuBar(BRect(0, 0, 10, 10), "_mc_mb_", B_FOLLOW_LEFT_RIGHT | B_FOLLOW_TOP);
    fBar->fFieldStyle = true;
    fBar->fField = this;
    if (menu != nullptr) {
        fBar->AddItem(menu);
        if (BMenuItem* marked = menu->FindMarked(); marked != nullptr && menu->IsLabelFromMarked())
            MenuItem()->SetLabel(marked->Label());
    }
    AddChild(fBar);
    PlaceBar();
}

BMenuField::~BMenuField() = default;

BMenuItem* BMenuField::MenuItem() const
{
    return fBar->ItemAt(0);
}

// The box has the font's height plus room for its bevel, centred in the
// field.
void BMenuField::PlaceBar()
{
    font_height height;
    fBar->GetFontHeight(&height);
    BRect bounds = Bounds();
    float barHeight
        = std::min(bounds.Height(), std::ceil(height.ascent) + std::ceil(height.descent) + 8 - 1);
    float top = std::floor(bounds.top + (bounds.Height() - barHeight) / 2);
    fBar->MoveTo(fDivider, top);
    fBar->ResizeTo(std::max(bounds.Width() - fDivider, 10.0f), barHeight);
}

void BMenuField::SetLabel(const char* label)
{
    fHasLabel = label != nullptr;
    fLabel = label != nullptr ? label : "";
    Invalidate();
}

void BMenuField::SetEnabled(bool enabled)
{
    if (enabled == fEnabled)
        return;
    fEnabled = enabled;
    if (fMenu != nullptr)
        fMenu->SetEnabled(enabled);
    fBar->SetEnabled(enabled);
    Invalidate();
}

void BMenuField::SetAlignment(alignment align)
{
    fAlign = align;
    Invalidate();
}

void BMenuField::SetDivider(float divider)
{
    fDivider = std::max(divider, 0.0f);
    PlaceBar();
    Invalidate();
}

void BMenuField::AttachedToWindow()
{
    if (Parent() != nullptr)
        SetLowColor(Parent()->ViewColor());
    PlaceBar();
}

void BMenuField::FrameResized(float, float)
{
    PlaceBar();
}

void BMenuField::SetFont(const BFont* font, uint32 mask)
{
    BView::SetFont(font, mask);
    fBar->SetFont(font, mask);
    PlaceBar();
}

void BMenuField::Draw(BRect)
{
    if (fHasLabel && !fLabel.empty() && fDivider > 0) {
        BRect box(Bounds().left, Bounds().top, fDivider - 4, Bounds().bottom);
        rgb_color color
            = fEnabled ? make_color(0, 0, 0) : tint_color(LowColor(), B_DISABLED_LABEL_TINT);
        ControlLook::DrawLabel(this, fLabel.c_str(), box, fAlign, color);
    }
    if (IsFocus() && Window() != nullptr && Window()->IsActive()) {
        BRect bar = fBar->Frame();
        ControlLook::DrawFocusLine(this, bar.left + 4, bar.right - 4, bar.bottom - 1);
    }
}

void BMenuField::KeyDown(const char* bytes, int32 numBytes)
{
    if (numBytes == 1 && fEnabled
        && (bytes[0] == B_SPACE || bytes[0] == B_RETURN || bytes[0] == B_DOWN_ARROW)) {
        fBar->OpenItem(0);
        return;
    }
    BView::KeyDown(bytes, numBytes);
}

void BMenuField::MakeFocus(bool focus)
{
    BView::MakeFocus(focus);
    Invalidate();
}
