// The main screen's frame (in pixels) and pixel layout, asked of the X server
// named by DISPLAY through the display module. Without a display there is no
// screen: B_NO_COLOR_SPACE and an empty frame.
#pragma once

#include "BRect.h"
#include "GraphicsDefs.h"

// B_OK with the screen, B_ERROR (and the "none" values) without one.
status_t get_main_screen(BRect* frame, color_space* space);

// The layout the kit uses for a screen of that many bits per pixel.
color_space color_space_for_depth(int depth);
