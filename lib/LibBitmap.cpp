#include "LibBitmap.h"

#include "BEntry.h"
#include "BNode.h"
#include "SystemPalette.h"

#include <algorithm>
#include <cmath>
#include <cstring>

LibBitmap::LibBitmap(BRect bounds, color_space space, bool acceptsViews, bool needsContiguous)
    : BBitmap(bounds, space, acceptsViews, needsContiguous)
{ }

LibBitmap::LibBitmap(
    BRect bounds, const void* bits, color_space space, bool acceptsViews, bool needsContiguous)
    : BBitmap(bounds, space, acceptsViews, needsContiguous)
{
    if (bits == nullptr || !IsValid())
        return;
    int32 length = std::min(BitsLengthFor(bounds), BitsLength());
    memcpy(Bits(), bits, size_t(length));
    Touch();
}

LibBitmap::LibBitmap(BMessage* archive)
    : BBitmap(archive)
{ }

LibBitmap::~LibBitmap() = default;

bool LibBitmap::SetTo(BNode& node, icon_size size)
{
    BNodeInfo info(&node);
    return info.InitCheck() == B_OK && info.GetTrackerIcon(this, size) == B_OK;
}

bool LibBitmap::SetTo(const BEntry& entry, icon_size size)
{
    entry_ref ref;
    if (entry.GetRef(&ref) != B_OK)
        return false;
    BNode node(&ref);
    return SetTo(node, size);
}

bool LibBitmap::SetTo(const char* path, icon_size size)
{
    if (path == nullptr)
        return false;
    BNode node(path);
    return SetTo(node, size);
}

int32 LibBitmap::BitsLengthFor(BRect bounds)
{
    if (!bounds.IsValid() || !std::isfinite(bounds.Width()) || !std::isfinite(bounds.Height()))
        return 0;
    double rowBytes = std::floor((std::floor(bounds.Width()) + 3) / 4) * 4;
    double length = rowBytes * (std::floor(bounds.Height()) + 1);
    return length > 0 && length < double(INT32_MAX) ? int32(length) : 0;
}

void LibBitmap::Thumbnail(BBitmap* source, const long& border, const bool& keepProportions)
{
    if (source == nullptr || !source->IsValid() || !IsValid())
        return;
    BRect from = source->Bounds();
    float width = std::floor(Bounds().Width()) + 1 - 2 * float(border);
    float height = std::floor(Bounds().Height()) + 1 - 2 * float(border);
    if (border < 0 || width < 1 || height < 1)
        return;
    float sourceWidth = std::floor(from.Width()) + 1, sourceHeight = std::floor(from.Height()) + 1;
    float stepX = sourceWidth / width, stepY = sourceHeight / height;
    float left = float(border), top = float(border);
    if (keepProportions) {
        float step = std::max(stepX, stepY);
        stepX = stepY = step;
        left += std::floor((width - std::floor(sourceWidth / step)) / 2);
        top += std::floor((height - std::floor(sourceHeight / step)) / 2);
        width = std::floor(sourceWidth / step);
        height = std::floor(sourceHeight / step);
    }
    for (int32 y = 0; y < int32(height); ++y) {
        for (int32 x = 0; x < int32(width); ++x) {
            BRect block(x * stepX, y * stepY, (x + 1) * stepX, (y + 1) * stepY);
            PutPixel(int32(left) + x, int32(top) + y, BlockAverage(source, block));
        }
    }
    Touch();
}

// The source pixels whose cells the block covers, at least one.
rgb_color LibBitmap::BlockAverage(const BBitmap* source, BRect block) const
{
    int32 x0 = int32(block.left), y0 = int32(block.top);
    int32 x1 = std::max(x0 + 1, int32(std::ceil(block.right)));
    int32 y1 = std::max(y0 + 1, int32(std::ceil(block.bottom)));
    uint32 sum[4] = {0, 0, 0, 0};
    uint32 count = 0;
    for (int32 y = y0; y < y1; ++y) {
        for (int32 x = x0; x < x1; ++x) {
            rgb_color pixel = source->PixelAt(x, y);
            sum[0] += pixel.red;
            sum[1] += pixel.green;
            sum[2] += pixel.blue;
            sum[3] += pixel.alpha;
            ++count;
        }
    }
    auto average = [count](uint32 total) { return uint8(std::min<uint32>(255, total / count)); };
    return rgb_color {average(sum[0]), average(sum[1]), average(sum[2]), average(sum[3])};
}

// Colour-mapped bitmaps take the palette's entry for the 15-bit colour, as
// the screen's inverse table gives it.
void LibBitmap::PutPixel(int32 x, int32 y, rgb_color color)
{
    if (ColorSpace() != B_CMAP8) {
        SetPixel(x, y, color);
        return;
    }
    BRect bounds = Bounds();
    if (x < 0 || y < 0 || x > int32(bounds.Width()) || y > int32(bounds.Height()))
        return;
    int32 index = color.red / 8 * 1024 + color.green / 8 * 32 + color.blue / 8;
    static_cast<uint8*>(Bits())[y * BytesPerRow() + x] = system_colors()->index_map[index];
}
