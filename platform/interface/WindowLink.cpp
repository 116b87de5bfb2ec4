#include "WindowLink.h"

#include "BWindow.h"

WindowLink::WindowLink(BWindow* window)
    : fWindow(window)
{ }

void WindowLink::Draw(native::Painter& painter, const native::Rect& area)
{
    fWindow->DrawNative(painter, area);
}

void WindowLink::HandleEvent(const native::Event& event)
{
    fWindow->PostInput(event);
}
