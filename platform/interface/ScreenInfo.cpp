#include "ScreenInfo.h"

#include <X11/Xlib.h>

color_space color_space_for_depth(int depth)
{
    switch (depth) {
    case 1:
        return B_GRAY1;
    case 8:
        return B_CMAP8;
    case 15:
        return B_RGB15;
    case 16:
        return B_RGB16;
    case 24:
    case 32:
        return B_RGB32;
    default:
        return B_NO_COLOR_SPACE;
    }
}

status_t get_main_screen(BRect* frame, color_space* space)
{
    if (frame != nullptr)
        *frame = BRect();
    if (space != nullptr)
        *space = B_NO_COLOR_SPACE;
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr)
        return B_ERROR;
    int screen = DefaultScreen(display);
    if (frame != nullptr)
        *frame = BRect(0, 0, DisplayWidth(display, screen) - 1, DisplayHeight(display, screen) - 1);
    if (space != nullptr)
        *space = color_space_for_depth(DefaultDepth(display, screen));
    XCloseDisplay(display);
    return B_OK;
}
