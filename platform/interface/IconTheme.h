// Icons of the desktop's icon theme, found as the freedesktop icon theme
// specification describes (the theme the desktop names, then the themes it
// inherits, then hicolor) and decoded through the display module. PNG icons
// only; without a display module there are none.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class IconTheme {
public:
    struct Icon {
        int width = 0;
        int height = 0;
        std::vector<uint8_t> rgba; // straight alpha
    };

    // The first of `names` the theme has, at the size closest to `size`
    // pixels (larger sizes preferred to smaller). Any thread; cached.
    static bool Load(const std::vector<std::string>& names, int size, Icon& icon);

    // The theme chain: the desktop's theme (GTK's settings), what it
    // inherits, "Adwaita", "hicolor".
    static std::vector<std::string> Themes();
};
