// Pictures read from files, as the Translation Kit's utilities hand them
// over. PNG is the one format read; the display module decodes it, so
// pictures are read only where a display (and with it the module) is.
#pragma once

class BBitmap;

class BTranslationUtils {
public:
    // Pictures larger than this many pixels a side are refused.
    static constexpr int kMaxSide = 4096;

    // A new B_RGBA32 bitmap of the picture in the file at `path`, owned by
    // the caller; null when it cannot be read (no display module, not a
    // PNG file, a damaged or too large one).
    static BBitmap* GetBitmap(const char* path);
};
