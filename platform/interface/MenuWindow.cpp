#include "MenuWindow.h"

#include "AppDefs.h"
#include "BMenu.h"
#include "BScreen.h"

#include <algorithm>
#include <cstring>

namespace {

// The menu's size at `where`, moved back onto the screen where it would
// leave it.
BRect FrameFor(BMenu* menu, BPoint where)
{
    float width = 0, height = 0;
    menu->GetPreferredSize(&width, &height);
    BRect screen = BScreen().Frame();
    float left = std::clamp(where.x, screen.left, std::max(screen.left, screen.right - width));
    float top = where.y + height > screen.bottom ? std::max(screen.top, where.y - height) : where.y;
    return BRect(left, top, left + width - 1, top + height - 1);
}

} // namespace

MenuWindow::MenuWindow(BMenu* menu, BPoint where)
    : BWindow(FrameFor(menu, where), menu->Name(), B_NO_BORDER_WINDOW_LOOK,
        B_FLOATING_ALL_WINDOW_FEEL,
        B_NOT_MOVABLE | B_NOT_CLOSABLE | B_NOT_RESIZABLE | B_NOT_ZOOMABLE)
    , fMenu(menu)
{
    SetNativeKind(native::kPopupWindow);
    SetPulseRate(0);
    menu->MoveTo(0, 0);
    menu->ResizeTo(Bounds().Width(), Bounds().Height());
    AddChild(menu);
}

// The menu holds the pointer while open: a click outside it closes it, and
// keys go to it whichever view has the focus.
void MenuWindow::DispatchMessage(BMessage* message, BHandler* handler)
{
    if (handler == this && message->what == B_MOUSE_DOWN
        && !Bounds().Contains(message->FindPoint("where"))) {
        fMenu->Close();
        return;
    }
    if (handler == this && message->what == B_KEY_DOWN) {
        const char* bytes = message->FindString("bytes");
        fMenu->KeyDown(bytes, int32(strlen(bytes)));
        return;
    }
    BWindow::DispatchMessage(message, handler);
}
