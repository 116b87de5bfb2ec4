#include "LibMouse.h"

#include "BWindow.h"

// In a mouse handler the message being handled says which buttons went
// down with it; elsewhere the window's idea of the mouse does.
bool LibIsMouseButton3(BView* view)
{
    if (view == nullptr || view->Window() == nullptr)
        return false;
    int32 buttons = 0;
    BMessage* current = view->Window()->CurrentMessage();
    if (current == nullptr || current->FindInt32("buttons", &buttons) != B_OK) {
        BPoint where;
        uint32 held = 0;
        view->GetMouse(&where, &held, false);
        buttons = int32(held);
    }
    return buttons == B_SECONDARY_MOUSE_BUTTON;
}
