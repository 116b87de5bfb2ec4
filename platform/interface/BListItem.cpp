#include "BListItem.h"

#include "BView.h"

#include <cmath>

BListItem::BListItem(uint32 outlineLevel, bool expanded)
    : fLevel(outlineLevel)
    , fExpanded(expanded)
{ }

BListItem::~BListItem() = default;

void BListItem::Update(BView* owner, const BFont* font)
{
    font_height height;
    font->GetHeight(&height);
    fHeight = std::ceil(height.ascent + height.descent + height.leading) + 2;
    fWidth = owner->Bounds().Width();
}
