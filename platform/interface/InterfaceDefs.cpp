#include "InterfaceDefs.h"

#include <algorithm>

// The panel grey and its tints give every bevel of the windows: shadow 152
// (darken 2), outline 96 (darken 4), shine 255.
rgb_color ui_color(color_which which)
{
    switch (which) {
    case B_PANEL_BACKGROUND_COLOR:
    case B_MENU_BACKGROUND_COLOR:
    case B_CONTROL_BACKGROUND_COLOR:
        return make_color(216, 216, 216);
    case B_WINDOW_TAB_COLOR:
    case B_TOOLTIP_BACKGROUND_COLOR:
        return make_color(255, 255, 203);
    case B_KEYBOARD_NAVIGATION_COLOR:
    case B_NAVIGATION_BASE_COLOR:
    case B_CONTROL_HIGHLIGHT_COLOR:
        return make_color(0, 0, 229);
    case B_NAVIGATION_PULSE_COLOR:
        return make_color(0, 0, 0);
    case B_DESKTOP_COLOR:
        return make_color(51, 102, 152);
    case B_MENU_SELECTION_BACKGROUND_COLOR:
        return make_color(152, 152, 152);
    case B_MENU_SELECTED_BORDER_COLOR:
    case B_CONTROL_BORDER_COLOR:
        return make_color(96, 96, 96);
    case B_DOCUMENT_BACKGROUND_COLOR:
    case B_SHINE_COLOR:
        return make_color(255, 255, 255);
    case B_SHADOW_COLOR:
        return make_color(0, 0, 0);
    case B_SUCCESS_COLOR:
        return make_color(0, 255, 0);
    case B_FAILURE_COLOR:
        return make_color(255, 0, 0);
    default:
        return make_color(0, 0, 0); // the text colours
    }
}

rgb_color tint_color(rgb_color color, float tint)
{
    auto channel = [tint](uint8 value) {
        float result = tint < 1.0f ? value + (255 - value) * (1.0f - tint) : value * (2.0f - tint);
        return uint8(std::clamp(result, 0.0f, 255.0f));
    };
    return make_color(channel(color.red), channel(color.green), channel(color.blue), color.alpha);
}
