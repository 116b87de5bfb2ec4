#include "LibListView.h"

#include "BScrollBar.h"
#include "BWindow.h"
#include "KernelThreads.h"

#include <algorithm>
#include <cstdio>

namespace {

// How often a drag looks at the pointer, and how close to an edge it must
// come to scroll.
constexpr bigtime_t kDragInterval = 30000;
constexpr float kScrollZone = 10;

} // namespace

LibListView::LibListView(BRect frame, const char* name)
    : BListView(frame, name, B_SINGLE_SELECTION_LIST, B_FOLLOW_ALL_SIDES,
        B_WILL_DRAW | B_FRAME_EVENTS | B_NAVIGABLE)
{ }

LibListView::~LibListView() = default;

void LibListView::AllowReorder(const bool& allow, BScrollBar* scrollBar)
{
    fAllowReorder = allow;
    fScrollBar = scrollBar;
}

void LibListView::SetReorderCommand(const unsigned long& command)
{
    fReorderCommand = command;
}

void LibListView::SetHoverCommand(const unsigned long& command)
{
    fHoverCommand = command;
}

void LibListView::KeyDown(const char* bytes, int32 numBytes)
{
    if (numBytes == 1 && (bytes[0] == B_ESCAPE || bytes[0] == B_TAB) && Window() != nullptr) {
        Window()->Hide();
        return;
    }
    BListView::KeyDown(bytes, numBytes);
}

void LibListView::MouseMoved(BPoint where, uint32 transit, const BMessage* dragMessage)
{
    BListView::MouseMoved(where, transit, dragMessage);
    if (fHoverCommand == 0 || Window() == nullptr || !Window()->IsActive())
        return;
    if (transit == B_ENTERED_VIEW) {
        fHoverIndex = -1;
        return;
    }
    if (transit == B_INSIDE_VIEW)
        PostHover(IndexOf(where));
    else if (transit == B_EXITED_VIEW)
        PostHover(-1);
}

void LibListView::PostHover(int32 index)
{
    if (index != fHoverIndex) {
        BMessage hover {uint32(fHoverCommand)};
        hover.AddInt32("item", index);
        Window()->PostMessage(&hover);
    }
    fHoverIndex = index;
}

// The drag follows the pointer until the button is released or the pointer
// leaves the list; the window is drawn on the way, so the row's outline
// moves and the list scrolls under it.
bool LibListView::InitiateDrag(BPoint where, int32 index, bool wasSelected)
{
    if (!wasSelected || !fAllowReorder)
        return false;
    if (ItemAt(index) == nullptr)
        return true;
    BRect row = ItemFrame(index);
    BeginRectTracking(row);
    BPoint pointer = where;
    uint32 buttons = B_PRIMARY_MOUSE_BUTTON;
    bool inside = true;
    while (buttons != 0 && inside) {
        snooze(kDragInterval);
        GetMouse(&pointer, &buttons, true);
        inside = !Outside(pointer);
        BRect moved = row;
        moved.OffsetBy(0, pointer.y - where.y);
        BeginRectTracking(moved);
        AutoScroll(pointer);
        Window()->UpdateIfNeeded();
    }
    EndRectTracking();
    int32 target = IndexOf(pointer);
    if (inside && target >= 0 && target != index) {
        ItemReordered(index, target);
        if (fReorderCommand != 0)
            Window()->PostMessage(uint32(fReorderCommand));
    }
    return true;
}

// Horizontally the pointer must stay more than 2 points inside the left
// edge and left of the right edge; vertically within the visible rows.
bool LibListView::Outside(BPoint where) const
{
    BRect visible = Bounds();
    return where.x <= visible.left + 2 || where.x >= visible.right || where.y < visible.top
        || where.y > visible.bottom;
}

void LibListView::AutoScroll(BPoint where)
{
    if (fScrollBar == nullptr)
        return;
    BRect visible = Bounds();
    float minimum = 0, maximum = 0, step = 0, page = 0;
    fScrollBar->GetRange(&minimum, &maximum);
    fScrollBar->GetSteps(&step, &page);
    float value = fScrollBar->Value();
    if (where.y > visible.bottom - kScrollZone && value < maximum)
        fScrollBar->SetValue(std::min(value + step, maximum));
    else if (where.y < visible.top + kScrollZone && value > 0)
        fScrollBar->SetValue(std::max(value - step, 0.0f));
}

void LibListView::ItemReordered(const long&, const long&)
{
    fprintf(stderr, "ItemReordered needs to be inherited\n");
}
