// Pictures drawn into windows, kept as toolkit images at the size they are
// drawn, so that a list's icons are not converted again at every redraw.
#pragma once

#include "NativeInterface.h"

#include <FL/Fl_Image.H>

#include <map>
#include <memory>
#include <tuple>

namespace fltk_module {

class ImageCache {
public:
    void Draw(const native::Image& image, int x, int y, int width, int height);

private:
    struct Entry {
        std::unique_ptr<uint8_t[]> pixels;
        std::unique_ptr<Fl_Image> image;
        uint64_t lastUse = 0;
    };
    static Entry Make(const native::Image& image, int width, int height);
    void Evict();

    using Key = std::tuple<uint64_t, uint32_t, int, int>;
    std::map<Key, Entry> fEntries;
    uint64_t fClock = 0;
};

} // namespace fltk_module
