#include "BSeparatorItem.h"

#include "BMenu.h"
#include "ControlLook.h"

#include <cmath>

BSeparatorItem::BSeparatorItem()
    : BMenuItem("", nullptr)
{
    BMenuItem::SetEnabled(false);
}

BSeparatorItem::~BSeparatorItem() = default;

void BSeparatorItem::SetEnabled(bool) { }

void BSeparatorItem::GetContentSize(float* width, float* height)
{
    if (width != nullptr)
        *width = 0;
    if (height != nullptr)
        *height = 3;
}

void BSeparatorItem::DrawContent() { }

void BSeparatorItem::Draw()
{
    BRect frame = Frame();
    float middle = std::floor((frame.top + frame.bottom) / 2);
    Menu()->SetHighColor(ControlLook::Shadow());
    Menu()->StrokeLine(BPoint(frame.left + 1, middle), BPoint(frame.right - 1, middle));
    Menu()->SetHighColor(ControlLook::Shine());
    Menu()->StrokeLine(BPoint(frame.left + 1, middle + 1), BPoint(frame.right - 1, middle + 1));
}
