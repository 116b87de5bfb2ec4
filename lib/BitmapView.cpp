#include "BitmapView.h"

#include "LibBitmap.h"
#include "LibRect.h"

#include <cstring>

BitmapView::BitmapView(BPoint where, const char* name, const char* path)
    : BView(LibRect(where.x, where.y, 31, 31), name, B_FOLLOW_LEFT, B_WILL_DRAW)
    , fIcon(std::make_unique<LibBitmap>(BRect(0, 0, 31, 31), B_CMAP8, false, false))
{
    SetViewColor(ui_color(B_PANEL_BACKGROUND_COLOR));
    // See-through where no icon is drawn (a path with nothing there).
    memset(fIcon->Bits(), B_TRANSPARENT_MAGIC_CMAP8, size_t(fIcon->BitsLength()));
    fIcon->SetTo(path, B_LARGE_ICON);
}

BitmapView::~BitmapView() = default;

void BitmapView::Draw(BRect)
{
    SetDrawingMode(B_OP_OVER);
    DrawBitmap(fIcon.get(), BPoint(0, 0));
}
