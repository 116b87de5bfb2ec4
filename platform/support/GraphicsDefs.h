// Colours and colour spaces of the interface kit.
#pragma once

#include "SupportDefs.h"

struct rgb_color {
    uint8 red;
    uint8 green;
    uint8 blue;
    uint8 alpha;
};
static_assert(sizeof(rgb_color) == 4);

// Pixel layouts by their kit values.
enum color_space : uint32 {
    B_NO_COLOR_SPACE = 0x0000,
    B_GRAY1 = 0x0001,
    B_GRAY8 = 0x0002,
    B_RGB24 = 0x0003,
    B_CMAP8 = 0x0004,
    B_RGB16 = 0x0005,
    B_RGB32 = 0x0008,
    B_RGB15 = 0x0010,
    B_RGBA32 = 0x2008,
    B_RGBA15 = 0x2010,
};
