#include "PanelEntryItem.h"

#include "BBitmap.h"
#include "BView.h"
#include "ControlLook.h"
#include "NodeIcons.h"

#include <algorithm>
#include <cmath>

PanelEntryItem::PanelEntryItem(const PanelEntry& entry)
    : fEntry(entry)
    , fIcon(std::make_unique<BBitmap>(BRect(0, 0, 15, 15), B_RGBA32))
{
    if (NodeIcons::Draw(entry.path.c_str(), fIcon.get()) != B_OK)
        fIcon.reset();
}

PanelEntryItem::~PanelEntryItem() = default;

void PanelEntryItem::Update(BView* owner, const BFont* font)
{
    BListItem::Update(owner, font);
    SetHeight(std::max(Height(), 18.0f));
}

void PanelEntryItem::DrawItem(BView* owner, BRect frame, bool complete)
{
    rgb_color background = owner->ViewColor();
    if (IsSelected())
        background = tint_color(background, B_HIGHLIGHT_BACKGROUND_TINT);
    if (IsSelected() || complete) {
        owner->SetHighColor(background);
        owner->FillRect(frame);
    }
    if (fIcon != nullptr) {
        owner->SetDrawingMode(B_OP_ALPHA);
        float top = std::floor(frame.top + (frame.Height() - 15) / 2);
        owner->DrawBitmap(fIcon.get(), BPoint(frame.left + 4, top));
    }
    BRect text = frame;
    text.left += 26;
    ControlLook::DrawLabel(owner, fEntry.name.c_str(), text, B_ALIGN_LEFT, make_color(0, 0, 0));
    owner->SetDrawingMode(B_OP_COPY);
}
