// Drawing without a display: views added to a bitmap draw into its pixels,
// pictures replay what they recorded, bitmaps survive their archives, and
// text covers exactly the width it was measured at.
#include "BBitmap.h"
#include "BPicture.h"
#include "BStringView.h"
#include "BView.h"
#include "Screenshot.h"
#include "UiScale.h"
#include "WindowTestSupport.h"

#include <cmath>
#include <cstdlib>
#include <functional>

using namespace stowtest;

namespace {

// Draws with `paint` into a fresh white 40 by 30 bitmap.
std::unique_ptr<BBitmap> Painted(const std::function<void(BView*)>& paint)
{
    auto bitmap = std::make_unique<BBitmap>(BRect(0, 0, 39, 29), B_RGB32, true);
    auto* view = new BView(bitmap->Bounds(), "canvas", B_FOLLOW_NONE, 0);
    bitmap->AddChild(view);
    view->SetHighColor(255, 255, 255);
    view->FillRect(view->Bounds());
    paint(view);
    return bitmap;
}

uint32 Pixel(const BBitmap& bitmap, int32 x, int32 y)
{
    rgb_color color = bitmap.PixelAt(x, y);
    return uint32(color.red) << 16 | uint32(color.green) << 8 | color.blue;
}

void Shapes(BView* view)
{
    view->SetHighColor(255, 0, 0);
    view->FillRect(BRect(2, 2, 5, 4));
    view->SetHighColor(0, 0, 255);
    view->StrokeRect(BRect(10, 2, 14, 6));
    view->SetDrawingMode(B_OP_OVER);
    view->SetHighColor(0, 0, 0);
    view->FillRect(BRect(20, 2, 27, 9), B_MIXED_COLORS);
    view->SetDrawingMode(B_OP_ALPHA);
    view->SetHighColor(0, 0, 0, 128);
    view->FillRect(BRect(30, 2, 31, 3));
    view->SetDrawingMode(B_OP_COPY);
    view->SetHighColor(0, 128, 0);
    view->StrokeLine(BPoint(2, 20), BPoint(12, 20));
    view->FillTriangle(BPoint(20, 20), BPoint(28, 20), BPoint(20, 28));
}

} // namespace

TEST(Drawing, ShapesCoverTheirCellsAndPicturesReplayThem)
{
    std::unique_ptr<BBitmap> direct = Painted(Shapes);
    const BBitmap& b = *direct;
    // A rectangle covers left...right and top...bottom, both included.
    EXPECT_EQ(Pixel(b, 2, 2), 0xff0000u);
    EXPECT_EQ(Pixel(b, 5, 4), 0xff0000u);
    EXPECT_EQ(Pixel(b, 6, 4), 0xffffffu);
    EXPECT_EQ(Pixel(b, 2, 5), 0xffffffu);
    EXPECT_EQ(Pixel(b, 14, 6), 0x0000ffu);
    EXPECT_EQ(Pixel(b, 12, 4), 0xffffffu);
    // The mixed pattern in "over" leaves the low cells alone.
    EXPECT_EQ(Pixel(b, 20, 2), 0x000000u);
    EXPECT_EQ(Pixel(b, 21, 2), 0xffffffu);
    EXPECT_EQ(Pixel(b, 21, 3), 0x000000u);
    // Half transparent black over white is mid grey.
    EXPECT_NEAR(double(b.PixelAt(30, 2).red), 127, 2);
    EXPECT_EQ(Pixel(b, 12, 20), 0x008000u);
    EXPECT_EQ(Pixel(b, 13, 20), 0xffffffu);
    EXPECT_EQ(Pixel(b, 21, 21), 0x008000u);
    EXPECT_EQ(Pixel(b, 27, 27), 0xffffffu);

    // Recorded and replayed elsewhere, the same pixels.
    BPicture picture;
    BView recorder(BRect(0, 0, 39, 29), "recorder", B_FOLLOW_NONE, 0);
    recorder.BeginPicture(&picture);
    Shapes(&recorder);
    EXPECT_EQ(recorder.EndPicture(), &picture);
    std::unique_ptr<BBitmap> replayed = Painted([&](BView* view) {
        view->DrawPicture(&picture, BPoint(0, 0));
        // The picture's colours and modes stay inside it.
        EXPECT_EQ(view->DrawingMode(), B_OP_COPY);
        EXPECT_EQ(view->HighColor(), make_color(255, 255, 255));
    });
    for (int32 y = 0; y < 30; ++y) {
        for (int32 x = 0; x < 40; ++x)
            ASSERT_EQ(Pixel(*replayed, x, y), Pixel(b, x, y)) << x << "," << y;
    }
}

TEST(Drawing, BitmapsComeBackFromTheirArchivesOrNotAtAll)
{
    BBitmap original(BRect(0, 0, 4, 2), B_CMAP8);
    ASSERT_EQ(original.BytesPerRow(), 8); // rows padded to 4 bytes
    original.SetPixel(4, 2, make_color(255, 0, 0));
    BMessage archive;
    ASSERT_EQ(original.Archive(&archive), B_OK);
    EXPECT_STREQ(archive.FindString("class"), "BBitmap");
    BBitmap copy(&archive);
    ASSERT_TRUE(copy.IsValid());
    EXPECT_EQ(copy.Bounds(), original.Bounds());
    EXPECT_EQ(copy.PixelAt(4, 2), make_color(255, 0, 0));

    // Fewer bytes than the rows need, a frame out of range: no bitmap.
    BMessage shortData(archive);
    shortData.ReplaceData("_data", B_RAW_TYPE, "\x01\x02", 2);
    EXPECT_FALSE(BBitmap(&shortData).IsValid());
    BMessage huge(archive);
    huge.ReplaceRect("_frame", BRect(0, 0, 1e9f, 10));
    EXPECT_FALSE(BBitmap(&huge).IsValid());
    BMessage badRows(archive);
    badRows.ReplaceInt32("_rowbytes", 2);
    EXPECT_FALSE(BBitmap(&badRows).IsValid());
}

// On the screen a text ends where its measure says, at scale 2.
TEST(Drawing, TextCoversTheWidthItWasMeasuredAt)
{
    if (!TestApplication::HasDisplay())
        setenv("STOW_SCALE", "2", 1);
    StartWithDisplay();
    if (ui_scale() != 2)
        GTEST_SKIP() << "the display came up at another scale in this process";
    const char* text = "Größe: Mwvx ij Lorem";
    auto* window = new BWindow(BRect(100, 100, 399, 139), "Text", B_TITLED_WINDOW, 0);
    auto* label = new BStringView(BRect(0, 0, 299, 39), "label", text);
    label->SetViewColor(255, 255, 255);
    window->AddChild(label);
    window->Show();
    float measured = be_plain_font->StringWidth(text);
    Pixels pixels = CaptureWindow(window);
    int rightmost = -1;
    for (int y = 0; y < pixels.height; ++y) {
        for (int x = 0; x < pixels.width; ++x) {
            if ((pixels.At(x, y) >> 24) < 200)
                rightmost = std::max(rightmost, x);
        }
    }
    ASSERT_GE(rightmost, 0) << "nothing was drawn";
    EXPECT_LE(rightmost, int(std::ceil(measured * 2)));
    EXPECT_GE(rightmost, int(measured * 2) - 12) << "the text ends well short of its width";
    window->Lock();
    window->Quit();
}
