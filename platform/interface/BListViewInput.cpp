// BListView's mouse and keyboard: clicks select (Shift or Ctrl add to a
// multiple selection), a double click or Return invokes, the arrows move
// the selection, and dragging a row hands it to InitiateDrag().
#include "BListView.h"

#include "BWindow.h"

#include <cmath>

namespace {

// How far the pointer moves with the button down before a click is a drag.
constexpr float kDragDistance = 4;

int32 CurrentInt32(BView* view, const char* name)
{
    BWindow* window = view->Window();
    BMessage* message = window != nullptr ? window->CurrentMessage() : nullptr;
    return message != nullptr ? message->FindInt32(name) : 0;
}

} // namespace

void BListView::MouseDown(BPoint where)
{
    if (Flags() & B_NAVIGABLE)
        MakeFocus(true);
    int32 index = IndexOf(where);
    if (index < 0)
        return;
    int32 modifiers = CurrentInt32(this, "modifiers");
    bool wasSelected = IsItemSelected(index);
    if (CurrentInt32(this, "clicks") >= 2 && wasSelected) {
        Invoke();
        return;
    }
    if (fType == B_MULTIPLE_SELECTION_LIST && (modifiers & (B_SHIFT_KEY | B_COMMAND_KEY))) {
        if (wasSelected)
            Deselect(index);
        else
            Select(index, true);
    } else if (!wasSelected || CurrentSelection(1) >= 0) {
        SelectOnly(index);
    }
    fPressed = true;
    fPressPoint = where;
    fPressIndex = index;
    fPressWasSelected = wasSelected;
    SetMouseEventMask(B_POINTER_EVENTS);
}

void BListView::MouseMoved(BPoint where, uint32, const BMessage*)
{
    if (!fPressed)
        return;
    if (CurrentInt32(this, "buttons") == 0) {
        fPressed = false;
        return;
    }
    float dx = where.x - fPressPoint.x, dy = where.y - fPressPoint.y;
    if (dx * dx + dy * dy < kDragDistance * kDragDistance)
        return;
    fPressed = false;
    InitiateDrag(fPressPoint, fPressIndex, fPressWasSelected);
}

void BListView::MouseUp(BPoint)
{
    fPressed = false;
}

void BListView::KeyDown(const char* bytes, int32 numBytes)
{
    if (numBytes != 1 || IsEmpty()) {
        BView::KeyDown(bytes, numBytes);
        return;
    }
    int32 current = CurrentSelection(0);
    int32 target = -1;
    switch (uint8(bytes[0])) {
    case B_UP_ARROW:
        target = current <= 0 ? 0 : current - 1;
        break;
    case B_DOWN_ARROW:
        target = current < 0 ? 0 : std::min(current + 1, CountItems() - 1);
        break;
    case B_HOME:
        target = 0;
        break;
    case B_END:
        target = CountItems() - 1;
        break;
    case B_RETURN:
        if (current >= 0)
            Invoke();
        return;
    default:
        BView::KeyDown(bytes, numBytes);
        return;
    }
    SelectOnly(target);
    ScrollToSelection();
}
