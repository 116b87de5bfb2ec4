#include "BBitmap.h"

#include "BView.h"
#include "BitmapPainter.h"
#include "NativeInterface.h"
#include "SystemPalette.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>

namespace {

// Larger bitmaps are refused: an archive could otherwise ask for any size.
constexpr int32 kMaxSide = 16384;
constexpr size_t kMaxBytes = size_t(256) << 20;

uint64 NextId()
{
    static std::atomic<uint64> next {1};
    return next++;
}

int32 Padded(int32 bytes)
{
    return (bytes + 3) & ~3;
}

bool IsTransparentKey(const uint8* bgra)
{
    return bgra[0] == 0x77 && bgra[1] == 0x74 && bgra[2] == 0x77;
}

// One pixel of `space` at `data` as straight RGBA.
rgb_color ReadPixel(const uint8* data, color_space space)
{
    switch (space) {
    case B_RGB32:
        return make_color(
            data[2], data[1], data[0], IsTransparentKey(data) && data[3] == 0 ? 0 : 255);
    case B_RGBA32:
        return make_color(data[2], data[1], data[0], data[3]);
    case B_RGB24:
        return make_color(data[2], data[1], data[0]);
    case B_CMAP8:
        return system_colors()->color_list[data[0]];
    case B_GRAY8:
        return make_color(data[0], data[0], data[0]);
    default:
        return make_color(0, 0, 0);
    }
}

void WritePixel(uint8* data, color_space space, rgb_color color)
{
    switch (space) {
    case B_RGB32:
    case B_RGBA32:
        data[0] = color.blue;
        data[1] = color.green;
        data[2] = color.red;
        data[3] = color.alpha;
        break;
    case B_RGB24:
        data[0] = color.blue;
        data[1] = color.green;
        data[2] = color.red;
        break;
    case B_CMAP8:
        data[0] = color.alpha == 0 ? B_TRANSPARENT_MAGIC_CMAP8 : system_index_for_color(color);
        break;
    case B_GRAY8:
        data[0] = uint8((color.red * 299 + color.green * 587 + color.blue * 114) / 1000);
        break;
    default:
        break;
    }
}

int32 PixelBytes(color_space space)
{
    switch (space) {
    case B_RGB32:
    case B_RGBA32:
        return 4;
    case B_RGB24:
        return 3;
    case B_CMAP8:
    case B_GRAY8:
        return 1;
    default:
        return 0;
    }
}

} // namespace

int32 BBitmap::RowBytesFor(color_space space, int32 width)
{
    int32 bytes = PixelBytes(space);
    return bytes == 0 || width <= 0 ? 0 : Padded(width * bytes);
}

BBitmap::BBitmap(BRect bounds, color_space space, bool acceptsViews, bool needsContiguous)
    : fId(NextId())
{
    uint32 flags = (acceptsViews ? uint32(B_BITMAP_ACCEPTS_VIEWS) : 0u)
        | (needsContiguous ? uint32(B_BITMAP_IS_CONTIGUOUS) : 0u);
    Allocate(bounds, space, B_ANY_BYTES_PER_ROW, flags);
}

BBitmap::BBitmap(BRect bounds, uint32 flags, color_space space, int32 bytesPerRow)
    : fId(NextId())
{
    Allocate(bounds, space, bytesPerRow, flags);
}

BBitmap::BBitmap(const BBitmap* source, bool acceptsViews, bool needsContiguous)
    : fId(NextId())
{
    if (source == nullptr || !source->IsValid())
        return;
    uint32 flags = (acceptsViews ? uint32(B_BITMAP_ACCEPTS_VIEWS) : 0u)
        | (needsContiguous ? uint32(B_BITMAP_IS_CONTIGUOUS) : 0u);
    Allocate(source->fBounds, source->fSpace, source->fBytesPerRow, flags);
    if (IsValid())
        fBits = source->fBits;
}

BBitmap::BBitmap(BMessage* archive)
    : BArchivable(archive)
    , fId(NextId())
{
    if (archive == nullptr)
        return;
    BRect frame;
    int32 space = 0, rowBytes = 0, flags = 0;
    const void* data = nullptr;
    ssize_t size = 0;
    if (archive->FindRect("_frame", &frame) != B_OK || archive->FindInt32("_cspace", &space) != B_OK
        || archive->FindInt32("_rowbytes", &rowBytes) != B_OK
        || archive->FindData("_data", B_RAW_TYPE, &data, &size) != B_OK) {
        fInitStatus = B_BAD_VALUE;
        return;
    }
    archive->FindInt32("_bmflags", &flags);
    Allocate(frame, color_space(space), rowBytes, uint32(flags) & ~B_BITMAP_ACCEPTS_VIEWS);
    if (!IsValid())
        return;
    if (size < 0 || size_t(size) < fBits.size()) {
        fBits.clear();
        fInitStatus = B_BAD_DATA;
        return;
    }
    memcpy(fBits.data(), data, fBits.size());
}

BBitmap::~BBitmap()
{
    while (!fViews.empty()) {
        BView* view = fViews.back();
        RemoveChild(view);
        delete view;
    }
}

void BBitmap::Allocate(BRect bounds, color_space space, int32 bytesPerRow, uint32 flags)
{
    fBounds = bounds;
    fSpace = space;
    fFlags = flags;
    fInitStatus = B_BAD_VALUE;
    if (!std::isfinite(bounds.left) || !std::isfinite(bounds.top) || !std::isfinite(bounds.right)
        || !std::isfinite(bounds.bottom) || !bounds.IsValid())
        return;
    float width = std::floor(bounds.Width()) + 1, height = std::floor(bounds.Height()) + 1;
    if (width > kMaxSide || height > kMaxSide)
        return;
    fWidth = int32(width);
    fHeight = int32(height);
    int32 minimum = RowBytesFor(space, fWidth);
    if (minimum == 0)
        return;
    if (bytesPerRow == B_ANY_BYTES_PER_ROW)
        bytesPerRow = minimum;
    if (bytesPerRow < minimum || bytesPerRow > minimum + 4096)
        return;
    size_t total = size_t(bytesPerRow) * size_t(fHeight);
    if (total > kMaxBytes)
        return;
    fBytesPerRow = bytesPerRow;
    fBits.assign(total, (flags & B_BITMAP_CLEAR_TO_WHITE) ? 0xff : 0);
    fInitStatus = B_OK;
}

BArchivable* BBitmap::Instantiate(BMessage* archive)
{
    const char* name = archive != nullptr ? archive->FindString("class") : nullptr;
    if (name == nullptr || strcmp(name, "BBitmap") != 0)
        return nullptr;
    return new BBitmap(archive);
}

status_t BBitmap::Archive(BMessage* into, bool deep) const
{
    status_t status = BArchivable::Archive(into, deep);
    if (status != B_OK)
        return status;
    if (!IsValid())
        return B_NO_INIT;
    into->AddRect("_frame", fBounds);
    into->AddInt32("_cspace", int32(fSpace));
    into->AddInt32("_bmflags", int32(fFlags & ~B_BITMAP_ACCEPTS_VIEWS));
    into->AddInt32("_rowbytes", fBytesPerRow);
    return into->AddData("_data", B_RAW_TYPE, fBits.data(), ssize_t(fBits.size()));
}

void* BBitmap::Bits() const
{
    return IsValid() ? const_cast<uint8*>(fBits.data()) : nullptr;
}

void BBitmap::SetBits(const void* data, int32 length, int32 offset, color_space space)
{
    ImportBits(data, length, RowBytesFor(space, fWidth), offset, space);
}

status_t BBitmap::ImportBits(
    const void* data, int32 length, int32 bytesPerRow, int32 offset, color_space space)
{
    if (!IsValid() || data == nullptr || length < 0 || offset < 0)
        return B_BAD_VALUE;
    const uint8* source = static_cast<const uint8*>(data);
    if (space == fSpace && bytesPerRow == fBytesPerRow) {
        if (size_t(offset) < fBits.size())
            memcpy(fBits.data() + offset, source,
                std::min(size_t(length), fBits.size() - size_t(offset)));
        Touch();
        return B_OK;
    }
    int32 pixelBytes = PixelBytes(space);
    if (pixelBytes == 0 || bytesPerRow < fWidth * pixelBytes)
        return B_BAD_VALUE;
    // Pixel by pixel from the first whole pixel at `offset`.
    int32 first = offset / PixelBytes(fSpace);
    for (int32 at = 0; at + pixelBytes <= length; at += pixelBytes) {
        int32 row = at / bytesPerRow, column = (at % bytesPerRow) / pixelBytes;
        int32 index = first + row * fWidth + column;
        if (column >= fWidth || index / fWidth >= fHeight)
            continue;
        SetPixel(index % fWidth, index / fWidth, ReadPixel(source + at, space));
    }
    Touch();
    return B_OK;
}

status_t BBitmap::ImportBits(const BBitmap* bitmap)
{
    if (bitmap == nullptr || !bitmap->IsValid() || !IsValid())
        return B_BAD_VALUE;
    int32 width = std::min(fWidth, bitmap->fWidth), height = std::min(fHeight, bitmap->fHeight);
    for (int32 y = 0; y < height; ++y) {
        for (int32 x = 0; x < width; ++x)
            SetPixel(x, y, bitmap->PixelAt(x, y));
    }
    Touch();
    return B_OK;
}

void BBitmap::AddChild(BView* view)
{
    if (view == nullptr || view->Parent() != nullptr || view->Window() != nullptr
        || !(fFlags & B_BITMAP_ACCEPTS_VIEWS))
        return;
    fViews.push_back(view);
    view->SetOwner(nullptr, this);
}

bool BBitmap::RemoveChild(BView* view)
{
    auto found = std::find(fViews.begin(), fViews.end(), view);
    if (found == fViews.end())
        return false;
    fViews.erase(found);
    view->SetOwner(nullptr, nullptr);
    view->fPainter = nullptr;
    return true;
}

BView* BBitmap::ChildAt(int32 index) const
{
    if (index < 0 || size_t(index) >= fViews.size())
        return nullptr;
    return fViews[size_t(index)];
}

BView* BBitmap::FindView(const char* name) const
{
    for (BView* view : fViews) {
        if (BView* found = view->FindView(name))
            return found;
    }
    return nullptr;
}

bool BBitmap::Lock()
{
    fLock.lock();
    ++fLockCount;
    return true;
}

void BBitmap::Unlock()
{
    if (fLockCount == 0)
        return;
    --fLockCount;
    fLock.unlock();
}

bool BBitmap::IsLocked() const
{
    return fLockCount > 0;
}

native::Painter* BBitmap::Painter()
{
    if (!IsValid())
        return nullptr;
    if (fPainter == nullptr)
        fPainter = std::make_unique<BitmapPainter>(this);
    return fPainter.get();
}

void BBitmap::Touch()
{
    std::lock_guard<std::mutex> hold(fCacheLock);
    ++fVersion;
}

rgb_color BBitmap::PixelAt(int32 x, int32 y) const
{
    if (!IsValid() || x < 0 || y < 0 || x >= fWidth || y >= fHeight)
        return make_color(0, 0, 0, 0);
    return ReadPixel(
        fBits.data() + size_t(y) * size_t(fBytesPerRow) + size_t(x) * size_t(PixelBytes(fSpace)),
        fSpace);
}

void BBitmap::SetPixel(int32 x, int32 y, rgb_color color)
{
    if (!IsValid() || x < 0 || y < 0 || x >= fWidth || y >= fHeight)
        return;
    WritePixel(
        fBits.data() + size_t(y) * size_t(fBytesPerRow) + size_t(x) * size_t(PixelBytes(fSpace)),
        fSpace, color);
}

// Straight RGBA rows, converted once per version of the pixels. Copy draws
// every pixel opaque; the other modes leave the transparent colour out and
// blend by alpha.
bool BBitmap::MakeImage(drawing_mode mode, BRect source, native::Image& image) const
{
    if (!IsValid())
        return false;
    int keyed = mode == B_OP_COPY ? 0 : 1;
    std::lock_guard<std::mutex> hold(fCacheLock);
    Converted& converted = fConverted[keyed];
    if (converted.version != fVersion) {
        converted.rgba.resize(size_t(fWidth) * size_t(fHeight) * 4);
        bool opaque = true;
        for (int32 y = 0; y < fHeight; ++y) {
            for (int32 x = 0; x < fWidth; ++x) {
                rgb_color color = PixelAt(x, y);
                if (!keyed)
                    color.alpha = 255;
                opaque = opaque && color.alpha == 255;
                uint8* out = &converted.rgba[(size_t(y) * size_t(fWidth) + size_t(x)) * 4];
                out[0] = color.red;
                out[1] = color.green;
                out[2] = color.blue;
                out[3] = color.alpha;
            }
        }
        converted.opaque = opaque;
        converted.version = fVersion;
    }
    BRect whole(0, 0, float(fWidth - 1), float(fHeight - 1));
    BRect area = source.OffsetBy(-fBounds.left, -fBounds.top) & whole;
    if (!area.IsValid())
        return false;
    int32 left = int32(area.left), top = int32(area.top);
    image.rgba = converted.rgba.data() + (size_t(top) * size_t(fWidth) + size_t(left)) * 4;
    image.width = int32(area.right) - left + 1;
    image.height = int32(area.bottom) - top + 1;
    image.stride = fWidth * 4;
    bool all = area == whole;
    image.id = all ? fId * 2 + uint64(keyed) : 0;
    image.version = fVersion;
    image.opaque = converted.opaque;
    return true;
}
