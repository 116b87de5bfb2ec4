#include "BMenuBar.h"

#include "BMenuItem.h"
#include "ControlLook.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kItemPadding = 8;
constexpr float kArrowRoom = 16;

} // namespace

BMenuBar::BMenuBar(BRect frame, const char* name, uint32 resizingMode, menu_layout layout, bool)
    : BMenu(name, layout)
{
    MoveTo(frame.LeftTop());
    ResizeTo(frame.Width(), frame.Height());
    SetResizingMode(resizingMode);
    SetFlags(Flags() | B_FRAME_EVENTS);
    SetViewColor(ui_color(B_PANEL_BACKGROUND_COLOR));
}

BMenuBar::~BMenuBar() = default;

void BMenuBar::LayoutItems()
{
    BRect bounds = Bounds();
    float left = fFieldStyle ? 0 : 2;
    for (BMenuItem* item : fItems) {
        float width = 0;
        item->GetContentSize(&width, nullptr);
        float right = fFieldStyle ? bounds.right : left + width + 2 * kItemPadding - 1;
        item->fFrame = BRect(left, bounds.top, right, bounds.bottom);
        left = right + 1;
    }
    fLaidOut = true;
}

void BMenuBar::FrameResized(float, float)
{
    LayoutItems();
    Invalidate();
}

void BMenuBar::Draw(BRect)
{
    LayoutItems();
    if (fFieldStyle) {
        DrawField();
        return;
    }
    BRect bounds = Bounds();
    ControlLook::DrawBevel(this, bounds, true);
    for (BMenuItem* item : fItems) {
        PushState();
        item->Draw();
        PopState();
    }
}

// A raised box with the choice's label and a small arrow at the right.
void BMenuBar::DrawField()
{
    BRect bounds = Bounds();
    BMenuItem* item = ItemAt(0);
    bool enabled = item != nullptr && item->IsEnabled();
    ControlLook::DrawButton(this, bounds, IsOpen(), enabled, false);
    if (item == nullptr)
        return;
    BRect text = bounds;
    text.left += 6;
    text.right -= kArrowRoom;
    std::string label = item->Label();
    BFont font;
    GetFont(&font);
    font.TruncateString(&label, B_TRUNCATE_END, text.Width() + 1);
    rgb_color color
        = enabled ? make_color(0, 0, 0) : tint_color(ViewColor(), B_DISABLED_LABEL_TINT);
    ControlLook::DrawLabel(this, label.c_str(), text, B_ALIGN_LEFT, color);
    float middle = std::floor((bounds.top + bounds.bottom) / 2);
    float x = bounds.right - 10;
    SetHighColor(color);
    FillTriangle(BPoint(x - 3, middle - 1), BPoint(x + 3, middle - 1), BPoint(x, middle + 2));
}

void BMenuBar::OpenItem(int32 index)
{
    BMenuItem* item = ItemAt(index);
    if (item == nullptr || !item->IsEnabled())
        return;
    if (item->Submenu() == nullptr) {
        Choose(item);
        return;
    }
    BMenu* menu = item->Submenu();
    if (menu->IsOpen()) {
        menu->Close();
        return;
    }
    BPoint where = ConvertToScreen(BPoint(item->Frame().left, Bounds().bottom + 1));
    menu->Open(where, fField != nullptr ? fField : this);
    Invalidate();
}

void BMenuBar::MouseDown(BPoint where)
{
    OpenItem(ItemIndexAt(where));
}

void BMenuBar::MouseUp(BPoint) { }

void BMenuBar::MouseMoved(BPoint, uint32, const BMessage*) { }
