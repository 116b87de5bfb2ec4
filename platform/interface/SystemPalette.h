// The 256-colour system palette of 8-bit (B_CMAP8) bitmaps and screens, and
// its inverse table from 15-bit colours to the nearest entry.
#pragma once

#include "GraphicsDefs.h"

struct color_map {
    int32 id;
    rgb_color color_list[256];
    uint8 inversion_map[256];
    // Index of the nearest entry for each 15-bit colour: red / 8 * 1024 +
    // green / 8 * 32 + blue / 8.
    uint8 index_map[32768];
};

// The palette: a 32-step grey ramp, a 6 by 6 by 6 colour cube, the panel
// greys and tip yellow, and entry 255 for B_TRANSPARENT_MAGIC_CMAP8.
const color_map* system_colors();

// The entry nearest to the colour (never the transparent one).
uint8 system_index_for_color(rgb_color color);
