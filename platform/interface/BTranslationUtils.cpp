#include "BTranslationUtils.h"

#include "BBitmap.h"
#include "NativeModule.h"

#include <memory>

namespace {

void TakePixels(void* context, const uint8_t* rgba, int width, int height, int stride)
{
    auto* result = static_cast<std::unique_ptr<BBitmap>*>(context);
    if (width <= 0 || height <= 0)
        return;
    auto bitmap
        = std::make_unique<BBitmap>(BRect(0, 0, float(width - 1), float(height - 1)), B_RGBA32);
    if (!bitmap->IsValid())
        return;
    auto* bits = static_cast<uint8*>(bitmap->Bits());
    for (int y = 0; y < height; ++y) {
        const uint8_t* from = rgba + size_t(y) * size_t(stride);
        uint8* to = bits + size_t(y) * size_t(bitmap->BytesPerRow());
        // The kit keeps 32-bit pixels as blue, green, red, alpha.
        for (int x = 0; x < width; ++x, from += 4, to += 4) {
            to[0] = from[2];
            to[1] = from[1];
            to[2] = from[0];
            to[3] = from[3];
        }
    }
    bitmap->Touch();
    *result = std::move(bitmap);
}

} // namespace

BBitmap* BTranslationUtils::GetBitmap(const char* path)
{
    native::Module* module = NativeModule::Get();
    if (path == nullptr || module == nullptr)
        return nullptr;
    std::unique_ptr<BBitmap> bitmap;
    if (!module->ReadPng(path, kMaxSide, TakePixels, &bitmap))
        return nullptr;
    return bitmap.release();
}
