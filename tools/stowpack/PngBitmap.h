// PNG pictures decoded with libpng into archived 32-bit bitmaps ("BBitmap",
// pixels in B, G, R, A order): B_RGB32 for the about picture of
// "about_image", B_RGBA32 for pictures drawn over others (button faces).
#pragma once

#include "BMessage.h"
#include "BitmapArchive.h"

#include <string>

class PngBitmap {
public:
    // Larger pictures are refused: the record holds every pixel.
    static constexpr uint32 kMaxSide = 4096;

    static bool Read(const std::string& path, BMessage& archive, int32& width, int32& height,
        std::string& error, int32 colorSpace = BitmapArchive::kRgb32);
};
