#include "LibMouse.h"

#include "BView.h"

bool LibIsMouseButton3(BView* view)
{
    if (view == nullptr || view->Window() == nullptr)
        return false;
    BPoint where;
    uint32 buttons = 0;
    view->GetMouse(&where, &buttons, false);
    return buttons == B_SECONDARY_MOUSE_BUTTON;
}
