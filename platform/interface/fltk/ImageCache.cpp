#include "ImageCache.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace fltk_module {

namespace {

constexpr size_t kMaxEntries = 256;

} // namespace

void ImageCache::Draw(const native::Image& image, int x, int y, int width, int height)
{
    if (image.rgba == nullptr || image.width <= 0 || image.height <= 0 || width <= 0 || height <= 0
        || image.stride < image.width * 4)
        return;
    if (image.id == 0) {
        Entry entry = Make(image, width, height);
        entry.image->draw(x, y);
        return;
    }
    Key key {image.id, image.version, width, height};
    auto found = fEntries.find(key);
    if (found == fEntries.end()) {
        if (fEntries.size() >= kMaxEntries)
            Evict();
        found = fEntries.emplace(key, Make(image, width, height)).first;
    }
    found->second.lastUse = ++fClock;
    found->second.image->draw(x, y);
}

// A packed copy of the pixels, scaled to the size drawn: whole multiples
// keep sharp pixels, other factors are smoothed.
ImageCache::Entry ImageCache::Make(const native::Image& image, int width, int height)
{
    Entry entry;
    size_t row = size_t(image.width) * 4;
    entry.pixels = std::make_unique<uint8_t[]>(row * size_t(image.height));
    for (int line = 0; line < image.height; ++line)
        memcpy(entry.pixels.get() + row * size_t(line),
            image.rgba + size_t(image.stride) * size_t(line), row);
    auto original
        = std::make_unique<Fl_RGB_Image>(entry.pixels.get(), image.width, image.height, 4);
    if (width == image.width && height == image.height) {
        entry.image = std::move(original);
        return entry;
    }
    bool whole = width % image.width == 0 && height % image.height == 0;
    Fl_RGB_Image::RGB_scaling(whole ? FL_RGB_SCALING_NEAREST : FL_RGB_SCALING_BILINEAR);
    entry.image.reset(original->copy(width, height));
    original.reset();
    entry.pixels.reset(); // the scaled copy owns its own pixels
    return entry;
}

void ImageCache::Evict()
{
    std::vector<std::pair<uint64_t, Key>> byAge;
    for (const auto& [key, entry] : fEntries)
        byAge.emplace_back(entry.lastUse, key);
    std::sort(byAge.begin(), byAge.end());
    for (size_t i = 0; i < byAge.size() / 2; ++i)
        fEntries.erase(byAge[i].second);
}

} // namespace fltk_module
