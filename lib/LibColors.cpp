#include "LibColors.h"

#include "BScreen.h"

bool lib_is_same_color(const rgb_color& a, const rgb_color& b)
{
    return a.red == b.red && a.green == b.green && a.blue == b.blue && a.alpha == b.alpha;
}

rgb_color lib_nearest_system_color(const rgb_color& color)
{
    BScreen screen;
    return system_colors()->color_list[screen.IndexForColor(color)];
}

rgb_color lib_nearest_system_color(const unsigned char& red, const unsigned char& green,
    const unsigned char& blue, const unsigned char& alpha)
{
    return lib_nearest_system_color(rgb_color {red, green, blue, alpha});
}
