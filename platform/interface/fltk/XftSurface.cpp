#include "XftSurface.h"

#include <FL/fl_draw.H>
#include <FL/x.H>
#include <X11/extensions/Xrender.h>
#include <fontconfig/fcfreetype.h>

#include <cmath>
#include <vector>

namespace fltk_module {

namespace {

// Keeps the font cache small: a window uses a handful of faces and sizes.
constexpr size_t kMaxFonts = 64;

XRenderColor RenderColor(const uint8_t color[4], bool premultiply)
{
    auto channel = [&](uint8_t value) {
        unsigned scaled = value * 0x101u;
        return static_cast<unsigned short>(premultiply ? scaled * color[3] / 255u : scaled);
    };
    return XRenderColor {channel(color[0]), channel(color[1]), channel(color[2]),
        static_cast<unsigned short>(color[3] * 0x101u)};
}

} // namespace

XftSurface::~XftSurface()
{
    if (fl_display == nullptr)
        return;
    for (auto& [key, font] : fFonts)
        XftFontClose(fl_display, font);
    if (fDraw != nullptr)
        XftDrawDestroy(fDraw);
}

bool XftSurface::Prepare()
{
    if (fl_window == 0)
        return false;
    if (fDraw == nullptr)
        fDraw = XftDrawCreate(fl_display, fl_window, fl_visual->visual, fl_colormap);
    else
        XftDrawChange(fDraw, fl_window);
    if (fDraw == nullptr)
        return false;
    Region region = fl_clip_region();
    if (region != nullptr && XEmptyRegion(region))
        return false;
    XftDrawSetClip(fDraw, region);
    return true;
}

void XftSurface::DrawText(const native::TextRun& run, const uint8_t color[4])
{
    if (run.count <= 0 || run.codes == nullptr || run.xs == nullptr || run.ys == nullptr
        || !Prepare())
        return;
    XftFont* font = Font(run.fontFile, run.faceIndex, run.pixelSize, run.angle);
    if (font == nullptr)
        return;
    std::vector<XftCharSpec> specs(static_cast<size_t>(run.count));
    for (int i = 0; i < run.count; ++i) {
        specs[size_t(i)].ucs4 = run.codes[i];
        specs[size_t(i)].x = static_cast<short>(std::lround(run.xs[i]));
        specs[size_t(i)].y = static_cast<short>(std::lround(run.ys[i]));
    }
    XRenderColor render = RenderColor(color, false);
    XftColor xftColor;
    if (!XftColorAllocValue(fl_display, fl_visual->visual, fl_colormap, &render, &xftColor))
        return;
    XftDrawCharSpec(fDraw, &xftColor, font, specs.data(), run.count);
    XftColorFree(fl_display, fl_visual->visual, fl_colormap, &xftColor);
}

void XftSurface::FillBlended(const uint8_t color[4], int x, int y, int width, int height)
{
    if (width <= 0 || height <= 0 || !Prepare())
        return;
    Picture picture = XftDrawPicture(fDraw);
    if (picture == 0)
        return;
    XRenderColor render = RenderColor(color, true);
    XRenderFillRectangle(
        fl_display, PictOpOver, picture, &render, x, y, unsigned(width), unsigned(height));
}

XftFont* XftSurface::Font(const char* file, int index, double pixelSize, int angle)
{
    std::string path = file != nullptr ? file : "";
    FontKey key {path, index, std::lround(pixelSize * 64), angle};
    auto known = fFonts.find(key);
    if (known != fFonts.end())
        return known->second;
    if (fFonts.size() >= kMaxFonts) {
        for (auto& [oldKey, font] : fFonts)
            XftFontClose(fl_display, font);
        fFonts.clear();
    }
    XftFont* font = OpenFont(path, index, pixelSize, angle);
    if (font != nullptr)
        fFonts.emplace(key, font);
    return font;
}

// The face of that file, prepared as the desktop's font settings say
// (antialiasing, hinting), at that size and angle. Without a file: the
// desktop's sans-serif.
XftFont* XftSurface::OpenFont(const std::string& file, int index, double pixelSize, int angle)
{
    FcPattern* request = FcPatternCreate();
    if (request == nullptr)
        return nullptr;
    FcPatternAddDouble(request, FC_PIXEL_SIZE, pixelSize);
    if (angle != 0) {
        FcMatrix matrix;
        FcMatrixInit(&matrix);
        double radians = angle * M_PI / 180.0;
        FcMatrixRotate(&matrix, std::cos(radians), std::sin(radians));
        FcPatternAddMatrix(request, FC_MATRIX, &matrix);
    }
    FcPattern* face = nullptr;
    if (!file.empty()) {
        int count = 0;
        face = FcFreeTypeQuery(
            reinterpret_cast<const FcChar8*>(file.c_str()), index, nullptr, &count);
    }
    if (face == nullptr)
        FcPatternAddString(request, FC_FAMILY, reinterpret_cast<const FcChar8*>("sans-serif"));
    FcConfigSubstitute(nullptr, request, FcMatchPattern);
    XftDefaultSubstitute(fl_display, fl_screen, request);
    FcPattern* prepared = nullptr;
    if (face != nullptr) {
        prepared = FcFontRenderPrepare(nullptr, request, face);
        FcPatternDestroy(face);
    } else {
        FcResult result = FcResultNoMatch;
        prepared = FcFontMatch(nullptr, request, &result);
    }
    FcPatternDestroy(request);
    if (prepared == nullptr)
        return nullptr;
    XftFont* font = XftFontOpenPattern(fl_display, prepared); // takes the pattern
    if (font == nullptr)
        FcPatternDestroy(prepared);
    return font;
}

} // namespace fltk_module
