// Colours, colour spaces, patterns and drawing modes of the interface kit.
#pragma once

#include "SupportDefs.h"

struct rgb_color {
    uint8 red;
    uint8 green;
    uint8 blue;
    uint8 alpha;

    bool operator==(const rgb_color& other) const = default;
};
static_assert(sizeof(rgb_color) == 4);

inline rgb_color make_color(uint8 red, uint8 green, uint8 blue, uint8 alpha = 255)
{
    return rgb_color {red, green, blue, alpha};
}

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

// The colour that is not drawn: a view of this colour leaves its background
// alone, and B_OP_OVER skips pixels of it.
constexpr rgb_color B_TRANSPARENT_COLOR = {0x77, 0x74, 0x77, 0x00};
constexpr uint8 B_TRANSPARENT_MAGIC_CMAP8 = 0xff;
constexpr uint32 B_TRANSPARENT_MAGIC_RGBA32 = 0x00777477;

// An 8 by 8 pattern, one byte a row, the highest bit leftmost: set bits
// take the high colour, clear ones the low colour.
struct pattern {
    uint8 data[8];
};

constexpr pattern B_SOLID_HIGH = {{0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff}};
constexpr pattern B_MIXED_COLORS = {{0xaa, 0x55, 0xaa, 0x55, 0xaa, 0x55, 0xaa, 0x55}};
constexpr pattern B_SOLID_LOW = {{0, 0, 0, 0, 0, 0, 0, 0}};

enum drawing_mode : uint32 {
    B_OP_COPY,
    B_OP_OVER,
    B_OP_ERASE,
    B_OP_INVERT,
    B_OP_ADD,
    B_OP_SUBTRACT,
    B_OP_BLEND,
    B_OP_MIN,
    B_OP_MAX,
    B_OP_SELECT,
    B_OP_ALPHA,
};
