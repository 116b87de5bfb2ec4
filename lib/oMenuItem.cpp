#include "oMenuItem.h"

#include "BMenu.h"
#include "ControlLook.h"
#include "oResources.h"

#include <algorithm>
#include <cmath>

namespace {

// Between the bitmap and the label.
constexpr float kBitmapGap = 4;

} // namespace

oMenuItem::oMenuItem(
    const char* label, BMessage* message, const char& shortcut, const unsigned long& modifiers)
    : BMenuItem(label, message, shortcut, uint32(modifiers))
{ }

oMenuItem::~oMenuItem() = default;

void oMenuItem::SetBitmap(const char* name)
{
    fBitmap.reset();
    if (name != nullptr)
        fBitmap.reset(oResources(B_READ_ONLY).GetBitmap(name));
}

void oMenuItem::DrawContent()
{
    BMenu* menu = Menu();
    if (fBitmap == nullptr || menu == nullptr) {
        BMenuItem::DrawContent();
        return;
    }
    BRect frame = Frame();
    BRect bounds = fBitmap->Bounds();
    BPoint where(
        ContentLocation().x, std::floor(frame.top + (frame.Height() - bounds.Height()) / 2));
    menu->SetDrawingMode(B_OP_OVER);
    menu->DrawBitmap(fBitmap.get(), where);
    // The label's baseline as the other items have it, centred in the row
    // that the bitmap makes taller.
    menu->DrawString(Label(),
        BPoint(where.x + bounds.Width() + 1 + kBitmapGap, ControlLook::Baseline(menu, frame)));
    menu->SetDrawingMode(B_OP_COPY);
}

// The item is as wide as its bitmap and label together, and tall enough for
// the bitmap.
void oMenuItem::GetContentSize(float* width, float* height)
{
    BMenuItem::GetContentSize(width, height);
    if (fBitmap == nullptr)
        return;
    BRect bounds = fBitmap->Bounds();
    if (width != nullptr)
        *width += bounds.Width() + 1 + kBitmapGap;
    if (height != nullptr)
        *height = std::max(*height, bounds.Height() + 1);
}
