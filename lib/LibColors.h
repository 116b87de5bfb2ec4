// The library's named colours, each under an upper-case and a lower-case
// name of the same value, and colour comparison.
#pragma once

#include "GraphicsDefs.h"

inline constexpr rgb_color O_BLACK_COLOR = {0, 0, 0, 255};
inline constexpr rgb_color black_color = O_BLACK_COLOR;
inline constexpr rgb_color O_RED_COLOR = {255, 0, 0, 255};
inline constexpr rgb_color red_color = O_RED_COLOR;
inline constexpr rgb_color O_GREEN_COLOR = {0, 255, 0, 255};
inline constexpr rgb_color green_color = O_GREEN_COLOR;
inline constexpr rgb_color O_BLUE_COLOR = {0, 0, 255, 255};
inline constexpr rgb_color blue_color = O_BLUE_COLOR;
inline constexpr rgb_color O_AQUA_COLOR = {51, 203, 255, 255};
inline constexpr rgb_color aqua_color = O_AQUA_COLOR;
inline constexpr rgb_color O_ORANGE_COLOR = {255, 175, 19, 255};
inline constexpr rgb_color orange_color = O_ORANGE_COLOR;
inline constexpr rgb_color O_YELLOW_COLOR = {255, 255, 0, 255};
inline constexpr rgb_color yellow_color = O_YELLOW_COLOR;
inline constexpr rgb_color O_PURPLE_COLOR = {203, 0, 255, 255};
inline constexpr rgb_color purple_color = O_PURPLE_COLOR;
inline constexpr rgb_color O_DARK_GREEN_COLOR = {97, 130, 109, 255};
inline constexpr rgb_color dark_green_color = O_DARK_GREEN_COLOR;
inline constexpr rgb_color O_LIGHT_GREEN_COLOR = {10, 255, 10, 255};
inline constexpr rgb_color light_green_color = O_LIGHT_GREEN_COLOR;
inline constexpr rgb_color O_LIGHT_BLUE_COLOR = {215, 230, 255, 255};
inline constexpr rgb_color light_blue_color = O_LIGHT_BLUE_COLOR;
inline constexpr rgb_color O_MEDIUM_BLUE_COLOR = {140, 179, 240, 255};
inline constexpr rgb_color medium_blue_color = O_MEDIUM_BLUE_COLOR;
inline constexpr rgb_color O_DARK_BLUE_COLOR = {77, 113, 191, 255};
inline constexpr rgb_color dark_blue_color = O_DARK_BLUE_COLOR;
inline constexpr rgb_color O_DARK_SHADOW_COLOR = {108, 108, 108, 255};
inline constexpr rgb_color dark_shadow_color = O_DARK_SHADOW_COLOR;
inline constexpr rgb_color O_DARK_GREY_COLOR = {128, 128, 128, 255};
inline constexpr rgb_color dark_grey_color = O_DARK_GREY_COLOR;
inline constexpr rgb_color O_SHADOW_COLOR = {152, 152, 152, 255};
inline constexpr rgb_color shadow_color = O_SHADOW_COLOR;
inline constexpr rgb_color O_MEDIUM_GREY_COLOR = {160, 160, 160, 255};
inline constexpr rgb_color grey160_color = O_MEDIUM_GREY_COLOR;
inline constexpr rgb_color O_LIGHT_SHADOW_COLOR = {194, 194, 194, 255};
inline constexpr rgb_color light_shadow_color = O_LIGHT_SHADOW_COLOR;
inline constexpr rgb_color O_GREY_COLOR = {216, 216, 216, 255};
inline constexpr rgb_color grey_color = O_GREY_COLOR;
inline constexpr rgb_color O_LIGHT_GREY_COLOR = {242, 242, 242, 255};
inline constexpr rgb_color light_grey_color = O_LIGHT_GREY_COLOR;
inline constexpr rgb_color O_WHITE_COLOR = {255, 255, 255, 255};
inline constexpr rgb_color white_color = O_WHITE_COLOR;
inline constexpr rgb_color O_PALE_YELLOW_COLOR = {255, 255, 203, 255};
inline constexpr rgb_color pale_yellow_color = O_PALE_YELLOW_COLOR;

// True when red, green, blue and alpha are all equal.
bool lib_is_same_color(const rgb_color& a, const rgb_color& b);

// The entry of the main screen's 256-colour system palette nearest to the
// colour.
rgb_color lib_nearest_system_color(const rgb_color& color);
rgb_color lib_nearest_system_color(const unsigned char& red, const unsigned char& green,
    const unsigned char& blue, const unsigned char& alpha);
