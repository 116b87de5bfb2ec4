#include "PngReader.h"

#include <png.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace fltk_module {

namespace {

struct FileCloser {
    void operator()(FILE* file) const { fclose(file); }
};

} // namespace

// libpng's simplified reader converts any PNG to 8-bit RGBA and reports
// damaged files as failures rather than jumping out of this function.
bool ReadPng(const char* path, int maxSide, native::PixelSink sink, void* context)
{
    if (path == nullptr || sink == nullptr)
        return false;
    std::unique_ptr<FILE, FileCloser> file(fopen(path, "rb"));
    if (!file)
        return false;
    png_image image {};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_stdio(&image, file.get()))
        return false;
    if (image.width == 0 || image.height == 0 || image.width > unsigned(maxSide)
        || image.height > unsigned(maxSide)) {
        png_image_free(&image);
        return false;
    }
    image.format = PNG_FORMAT_RGBA;
    std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
        png_image_free(&image);
        return false;
    }
    int width = int(image.width);
    sink(context, pixels.data(), width, int(image.height), width * 4);
    return true;
}

} // namespace fltk_module
