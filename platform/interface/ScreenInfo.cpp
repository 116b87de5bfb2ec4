#include "ScreenInfo.h"

#include "UiDisplay.h"

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
    native::ScreenFacts facts = UiDisplay::Screen();
    if (facts.frame.w <= 0 || facts.frame.h <= 0)
        return B_ERROR;
    if (frame != nullptr)
        *frame = BRect(0, 0, float(facts.frame.w - 1), float(facts.frame.h - 1));
    if (space != nullptr)
        *space = color_space_for_depth(facts.depth);
    return B_OK;
}
