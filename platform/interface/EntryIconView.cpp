#include "EntryIconView.h"

#include "BBitmap.h"
#include "NodeIcons.h"

EntryIconView::EntryIconView(BRect frame, const char* name, const char* path)
    : BView(frame, name, B_FOLLOW_LEFT | B_FOLLOW_TOP, B_WILL_DRAW)
    , fIcon(std::make_unique<BBitmap>(BRect(0, 0, 31, 31), B_RGBA32))
{
    SetViewColor(B_TRANSPARENT_COLOR);
    if (NodeIcons::Draw(path, fIcon.get()) != B_OK)
        fIcon.reset();
}

EntryIconView::~EntryIconView() = default;

void EntryIconView::Draw(BRect)
{
    if (fIcon == nullptr)
        return;
    SetDrawingMode(B_OP_ALPHA);
    DrawBitmap(fIcon.get(), BPoint(0, 0));
}
