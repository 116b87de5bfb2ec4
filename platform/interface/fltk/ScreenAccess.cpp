#include "ScreenAccess.h"

#include "XResources.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <vector>

namespace fltk_module {

namespace {

class Connection {
public:
    Connection()
        : fDisplay(XOpenDisplay(nullptr))
    { }
    ~Connection()
    {
        if (fDisplay != nullptr)
            XCloseDisplay(fDisplay);
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    ::Display* Get() const { return fDisplay; }

private:
    ::Display* fDisplay;
};

// How far a channel's mask is shifted, and how many bits it has.
void MaskShape(unsigned long mask, int& shift, int& bits)
{
    shift = 0;
    bits = 0;
    if (mask == 0)
        return;
    while ((mask & 1) == 0) {
        mask >>= 1;
        ++shift;
    }
    while ((mask & 1) != 0) {
        mask >>= 1;
        ++bits;
    }
}

uint8_t Channel(unsigned long pixel, unsigned long mask)
{
    int shift = 0, bits = 0;
    MaskShape(mask, shift, bits);
    if (bits == 0)
        return 0;
    unsigned long value = (pixel & mask) >> shift;
    unsigned long top = (1ul << bits) - 1;
    return uint8_t(value * 255 / top);
}

} // namespace

bool ProbeScreen(native::ScreenFacts* facts)
{
    Connection connection;
    ::Display* display = connection.Get();
    if (display == nullptr || facts == nullptr)
        return false;
    int screen = DefaultScreen(display);
    facts->frame
        = native::Rect {0, 0, DisplayWidth(display, screen), DisplayHeight(display, screen)};
    facts->depth = DefaultDepth(display, screen);
    facts->dpi = XftDpi(display);
    return true;
}

bool CaptureScreen(const native::Rect& area, native::PixelSink sink, void* context)
{
    Connection connection;
    ::Display* display = connection.Get();
    if (display == nullptr || sink == nullptr)
        return false;
    int screen = DefaultScreen(display);
    int x = std::max(area.x, 0);
    int y = std::max(area.y, 0);
    int right = std::min(area.x + area.w, DisplayWidth(display, screen));
    int bottom = std::min(area.y + area.h, DisplayHeight(display, screen));
    if (right <= x || bottom <= y)
        return false;
    int width = right - x;
    int height = bottom - y;
    XImage* image = XGetImage(display, RootWindow(display, screen), x, y, unsigned(width),
        unsigned(height), AllPlanes, ZPixmap);
    if (image == nullptr)
        return false;
    std::vector<uint8_t> rgba(size_t(width) * size_t(height) * 4);
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            unsigned long pixel = XGetPixel(image, column, row);
            uint8_t* out = &rgba[(size_t(row) * size_t(width) + size_t(column)) * 4];
            out[0] = Channel(pixel, image->red_mask);
            out[1] = Channel(pixel, image->green_mask);
            out[2] = Channel(pixel, image->blue_mask);
            out[3] = 255;
        }
    }
    XDestroyImage(image);
    sink(context, rgba.data(), width, height, width * 4);
    return true;
}

} // namespace fltk_module
