#include "BPicture.h"
#include "LibBitmap.h"
#include "LibBitmapToPicture.h"
#include "SystemPalette.h"
#include "oResources.h"

#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

std::unique_ptr<LibBitmap> Rgb32(int32 width, int32 height)
{
    return std::make_unique<LibBitmap>(BRect(0, 0, width - 1, height - 1), B_RGB32, false, false);
}

bool SameColor(rgb_color a, rgb_color b)
{
    return a.red == b.red && a.green == b.green && a.blue == b.blue && a.alpha == b.alpha;
}

} // namespace

// The bits constructor reads one byte per pixel, rows padded to 4 bytes by
// its own rule; a caller's buffer of exactly that length is never overrun
// (the sanitizer build checks the reads), and the bitmap never overflows.
TEST(LibBitmap, BitsConstructorKeepsWithinTheBuffersOnBothSides)
{
    struct Case {
        BRect bounds;
        color_space space;
        int32 ruleLength;
    };
    const Case cases[] = {
        {BRect(0, 0, 15, 15), B_CMAP8, 256},
        {BRect(0, 0, 4, 1), B_CMAP8, 8},  // 5 wide: the rule reads 4 a row
        {BRect(0, 0, 6, 2), B_CMAP8, 24}, // 7 wide: 8 a row
        {BRect(0, 0, 1, 1), B_RGB32, 8},  // fewer bytes than the bitmap has
        {BRect(0, 0, 0, 0), B_CMAP8, 0},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(LibBitmap::BitsLengthFor(c.bounds), c.ruleLength);
        std::vector<uint8> bits(size_t(c.ruleLength));
        for (size_t i = 0; i < bits.size(); ++i)
            bits[i] = uint8(i + 1);
        LibBitmap bitmap(c.bounds, bits.empty() ? nullptr : bits.data(), c.space, false, false);
        ASSERT_TRUE(bitmap.IsValid());
        const auto* stored = static_cast<const uint8*>(bitmap.Bits());
        int32 copied = std::min(c.ruleLength, bitmap.BitsLength());
        EXPECT_TRUE(copied == 0 || memcmp(stored, bits.data(), size_t(copied)) == 0);
        for (int32 i = copied; i < bitmap.BitsLength(); ++i)
            ASSERT_EQ(stored[i], 0) << "byte " << i << " beyond what was given";
    }
    LibBitmap empty(BRect(0, 0, 3, 3), nullptr, B_CMAP8, false, false);
    EXPECT_TRUE(empty.IsValid());
}

TEST(LibBitmap, ArchivesReadBackAndShortDataGivesAnEmptyBitmap)
{
    auto source = Rgb32(3, 2);
    source->SetPixel(2, 1, make_color(10, 20, 30));
    BMessage archive;
    ASSERT_EQ(source->Archive(&archive), B_OK);
    EXPECT_STREQ(archive.FindString("class"), "LibBitmap");
    LibBitmap copy(&archive);
    ASSERT_TRUE(copy.IsValid());
    EXPECT_TRUE(SameColor(copy.PixelAt(2, 1), make_color(10, 20, 30)));

    const void* data = nullptr;
    ssize_t size = 0;
    ASSERT_EQ(archive.FindData("_data", B_RAW_TYPE, &data, &size), B_OK);
    std::vector<uint8> shorter(
        static_cast<const uint8*>(data), static_cast<const uint8*>(data) + size - 1);
    archive.ReplaceData("_data", B_RAW_TYPE, shorter.data(), ssize_t(shorter.size()));
    LibBitmap cut(&archive);
    EXPECT_FALSE(cut.IsValid());
    EXPECT_EQ(cut.Bits(), nullptr);
    BMessage nothing;
    EXPECT_FALSE(LibBitmap(&nothing).IsValid());
}

// Each thumbnail pixel averages the block it covers; a colour-mapped
// thumbnail takes the palette entry of the 15-bit inverse table.
TEST(LibBitmap, ThumbnailAveragesBlocks)
{
    auto source = Rgb32(4, 4);
    for (int32 y = 0; y < 4; ++y) {
        for (int32 x = 0; x < 4; ++x) {
            uint8 value = (x + y) % 2 == 0 ? 200 : 100; // a checkerboard
            source->SetPixel(x, y, x < 2 ? make_color(value, 0, 0) : make_color(0, 0, 64));
        }
    }
    auto thumb = Rgb32(2, 2);
    thumb->Thumbnail(source.get(), 0, false);
    EXPECT_TRUE(SameColor(thumb->PixelAt(0, 0), make_color(150, 0, 0)));
    EXPECT_TRUE(SameColor(thumb->PixelAt(1, 1), make_color(0, 0, 64)));

    LibBitmap mapped(BRect(0, 0, 1, 1), B_CMAP8, false, false);
    mapped.Thumbnail(source.get(), 0, false);
    const auto* index = static_cast<const uint8*>(mapped.Bits());
    EXPECT_EQ(index[0], system_colors()->index_map[150 / 8 * 1024]);
    EXPECT_EQ(index[1], system_colors()->index_map[64 / 8]);

    // Proportions kept: a 4 by 2 source fills the middle rows of a 4 by 4
    // thumbnail; a border leaves the edge alone.
    auto wide = Rgb32(4, 2);
    for (int32 x = 0; x < 4; ++x) {
        wide->SetPixel(x, 0, make_color(0, 255, 0));
        wide->SetPixel(x, 1, make_color(0, 255, 0));
    }
    auto square = Rgb32(4, 4);
    square->Thumbnail(wide.get(), 0, true);
    EXPECT_TRUE(SameColor(square->PixelAt(0, 0), make_color(0, 0, 0)));
    EXPECT_TRUE(SameColor(square->PixelAt(0, 1), make_color(0, 255, 0)));
    EXPECT_TRUE(SameColor(square->PixelAt(3, 2), make_color(0, 255, 0)));
    EXPECT_TRUE(SameColor(square->PixelAt(3, 3), make_color(0, 0, 0)));
    auto framed = Rgb32(4, 4);
    framed->Thumbnail(wide.get(), 1, false);
    EXPECT_TRUE(SameColor(framed->PixelAt(0, 1), make_color(0, 0, 0)));
    EXPECT_TRUE(SameColor(framed->PixelAt(1, 1), make_color(0, 255, 0)));
}

TEST(LibBitmap, ResourcesAndPictures)
{
    oResources resources(B_READ_ONLY);
    std::unique_ptr<BBitmap> folder(resources.GetBitmap("folder"));
    ASSERT_NE(folder, nullptr) << "the test program carries the library's bitmaps";
    EXPECT_EQ(folder->Bounds(), BRect(0, 0, 15, 15));
    EXPECT_EQ(folder->PixelAt(0, 0).alpha, 0) << "the corners are see-through";
    EXPECT_EQ(resources.GetBitmap("no such bitmap"), nullptr);
    EXPECT_EQ(resources.GetBitmap(nullptr), nullptr);

    std::unique_ptr<BPicture> picture(LibBitmapToPicture(folder.get()));
    ASSERT_NE(picture, nullptr);
    ASSERT_EQ(picture->CountOps(), 1);
    const PictureOp& op = picture->OpAt(0);
    EXPECT_EQ(op.kind, PictureOp::kBitmap);
    EXPECT_EQ(op.rect, BRect(0, 0, 15, 15));
    EXPECT_TRUE(SameColor(op.bitmap->PixelAt(8, 10), folder->PixelAt(8, 10)));

    uint8 bits[4 * 2] = {0, 1, 2, 3, 4, 5, 6, 7};
    std::unique_ptr<BPicture> fromBits(LibBitmapToPicture(BRect(0, 0, 3, 1), bits, B_CMAP8));
    ASSERT_NE(fromBits, nullptr);
    EXPECT_TRUE(SameColor(fromBits->OpAt(0).bitmap->PixelAt(3, 1), system_colors()->color_list[7]));
    EXPECT_EQ(LibBitmapToPicture(BRect(0, 0, -5, 3), bits, B_CMAP8), nullptr);
    EXPECT_EQ(LibBitmapToPicture(nullptr), nullptr);
}
