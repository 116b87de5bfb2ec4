// Text and blended fills on whatever the toolkit is drawing into (the
// window's back buffer), through Xft and the X Render extension. Fonts are
// opened from the file the kit measured with, so glyphs and measures agree.
#pragma once

#include "NativeInterface.h"

#include <X11/Xft/Xft.h>

#include <map>
#include <string>
#include <tuple>

namespace fltk_module {

class XftSurface {
public:
    XftSurface() = default;
    ~XftSurface();
    XftSurface(const XftSurface&) = delete;
    XftSurface& operator=(const XftSurface&) = delete;

    void DrawText(const native::TextRun& run, const uint8_t color[4]);
    void FillBlended(const uint8_t color[4], int x, int y, int width, int height);

private:
    // Points the Xft drawable at the toolkit's current target and clip;
    // false when nothing can be drawn there.
    bool Prepare();
    XftFont* Font(const char* file, int index, double pixelSize, int angle);
    XftFont* OpenFont(const std::string& file, int index, double pixelSize, int angle);

    XftDraw* fDraw = nullptr;
    using FontKey = std::tuple<std::string, int, long, int>;
    std::map<FontKey, XftFont*> fFonts;
};

} // namespace fltk_module
