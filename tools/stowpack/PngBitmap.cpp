#include "PngBitmap.h"

#include "BitmapArchive.h"

#include <cstring>
#include <png.h>

bool PngBitmap::Read(const std::string& path, BMessage& archive, int32& width, int32& height,
    std::string& error, int32 colorSpace)
{
    png_image image;
    memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) {
        error = path + " is not a PNG picture that can be read (" + image.message + ")";
        png_image_free(&image);
        return false;
    }
    if (image.width == 0 || image.height == 0 || image.width > kMaxSide
        || image.height > kMaxSide) {
        error = path + " is " + std::to_string(image.width) + " by " + std::to_string(image.height)
            + " pixels; pictures of at most " + std::to_string(kMaxSide) + " by "
            + std::to_string(kMaxSide) + " are taken";
        png_image_free(&image);
        return false;
    }
    image.format = PNG_FORMAT_BGRA;
    std::string pixels(PNG_IMAGE_SIZE(image), '\0');
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
        error = path + " is a damaged PNG picture (" + image.message + ")";
        png_image_free(&image);
        return false;
    }
    width = int32(image.width);
    height = int32(image.height);
    archive = BitmapArchive::Make("BBitmap", width, height, colorSpace, pixels);
    return true;
}
