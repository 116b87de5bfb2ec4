// Writes RGBA pixels as a PNG file (8 bits a channel, no interlace).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace stowtest {

struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba; // rows of width * 4 bytes

    // Red, green, blue and alpha of one pixel (all 0 outside).
    uint32_t At(int x, int y) const;
};

bool WritePng(const std::string& path, const Pixels& pixels);

} // namespace stowtest
