// Colours of the interface kit.
#pragma once

#include "SupportDefs.h"

struct rgb_color {
    uint8 red;
    uint8 green;
    uint8 blue;
    uint8 alpha;
};
static_assert(sizeof(rgb_color) == 4);
