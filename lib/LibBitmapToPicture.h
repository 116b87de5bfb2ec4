// Bitmaps recorded as pictures, for controls that take pictures (the faces
// of picture buttons).
#pragma once

#include "BBitmap.h"
#include "BPicture.h"

// A new picture that draws `bitmap` at the origin; null for no bitmap.
BPicture* LibBitmapToPicture(BBitmap* bitmap);
// The same for a bitmap of `bounds` and `space` made of `bits`, as many
// bytes as that bitmap holds; null when the bitmap cannot be made.
BPicture* LibBitmapToPicture(BRect bounds, const void* bits, const color_space& space);
