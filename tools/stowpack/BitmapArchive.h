// Archived bitmaps as the record keeps them: "class", "_frame", "_cspace",
// "_bmflags", "_rowbytes" and "_data", with pixels in B, G, R, A byte order.
#pragma once

#include "BMessage.h"

#include <string>

namespace BitmapArchive {

// Colour spaces of the kit.
constexpr int32 kRgb32 = 0x0008;  // B_RGB32: the fourth byte is not drawn
constexpr int32 kRgba32 = 0x2008; // B_RGBA32: the fourth byte is alpha

// `pixels` holds height rows of width * 4 bytes.
BMessage Make(
    const char* className, int32 width, int32 height, int32 colorSpace, const std::string& pixels);

} // namespace BitmapArchive
