// About pictures: a PNG file decoded with libpng into the archived 32-bit
// bitmap of "about_image" ("BBitmap", B_RGB32, pixels in B, G, R, A order).
#pragma once

#include "BMessage.h"

#include <string>

class PngBitmap {
public:
    // Larger pictures are refused: the record holds every pixel.
    static constexpr uint32 kMaxSide = 4096;

    static bool Read(const std::string& path, BMessage& archive, int32& width, int32& height,
        std::string& error);
};
