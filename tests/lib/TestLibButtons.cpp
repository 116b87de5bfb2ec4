#include "BStringView.h"
#include "BWindow.h"
#include "LibColors.h"
#include "LibLabelControl.h"
#include "LibPictureButton.h"
#include "LibStringView.h"
#include "Screenshot.h"
#include "TestApplication.h"
#include "WidgetGallery.h"
#include "WindowDriver.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

using stowtest::TestApplication;

struct Closer {
    void operator()(BWindow* window) const
    {
        window->Lock();
        window->Quit();
    }
};
using WindowPtr = std::unique_ptr<BWindow, Closer>;

WindowPtr ShowGallery()
{
    std::string problem;
    EXPECT_TRUE(TestApplication::Start(true, &problem)) << problem;
    WindowPtr window(stowtest::MakeWidgetGalleryWindow());
    window->Show();
    stowtest::WindowDriver(window.get()).Settle();
    return window;
}

std::vector<BMessage> Tips()
{
    std::vector<BMessage> tips;
    for (BMessage& message : TestApplication::TakeAppMessages()) {
        if (message.what == 'stip')
            tips.push_back(message);
    }
    return tips;
}

int32 CountOps(const BPicture& picture, PictureOp::Kind kind)
{
    int32 count = 0;
    for (int32 i = 0; i < picture.CountOps(); ++i)
        count += picture.OpAt(i).kind == kind ? 1 : 0;
    return count;
}

BPoint BitmapPlace(const BPicture& picture)
{
    for (int32 i = 0; i < picture.CountOps(); ++i) {
        if (picture.OpAt(i).kind == PictureOp::kBitmap)
            return picture.OpAt(i).rect.LeftTop();
    }
    return BPoint(-1, -1);
}

uint32 Rgba(rgb_color color)
{
    return uint32(color.red) << 24 | uint32(color.green) << 16 | uint32(color.blue) << 8 | 0xff;
}

} // namespace

// The faces: the picture in the middle, one point up and left when raised;
// a missing picture still gets its bevel; disabled faces are greyed.
TEST(LibPictureButton, FacesFromABitmapResource)
{
    std::unique_ptr<BPicture> raised(LibPictureButton::Res2Picture("folder", 23, 23, true, true));
    ASSERT_EQ(CountOps(*raised, PictureOp::kBitmap), 1);
    EXPECT_EQ(BitmapPlace(*raised), BPoint(3, 3));
    std::unique_ptr<BPicture> pressed(LibPictureButton::Res2Picture("folder", 23, 23, false, true));
    EXPECT_EQ(BitmapPlace(*pressed), BPoint(4, 4));
    std::unique_ptr<BPicture> missing(LibPictureButton::Res2Picture("none", 23, 23, true, true));
    EXPECT_EQ(CountOps(*missing, PictureOp::kBitmap), 0);
    EXPECT_EQ(CountOps(*missing, PictureOp::kStrokeRoundRect), 1);
    EXPECT_EQ(CountOps(*missing, PictureOp::kStrokeLine), 4);
    EXPECT_EQ(missing->Frame(), BRect(0, 0, 23, 23));
    std::unique_ptr<BPicture> disabled(
        LibPictureButton::Res2Picture("folder", 23, 23, true, false));
    EXPECT_EQ(
        CountOps(*disabled, PictureOp::kFillRect), CountOps(*raised, PictureOp::kFillRect) + 1);

    // On the screen: lit from the top left when raised, from the bottom
    // right when pressed; the empty face is plain.
    WindowPtr gallery = ShowGallery();
    stowtest::Pixels pixels = stowtest::CaptureWindow(gallery.get());
    auto at = [&](const char* name, BPoint where) {
        BPoint point;
        TestApplication::Call([&] {
            gallery->Lock();
            point = gallery->FindView(name)->ConvertToWindow(where);
            gallery->Unlock();
        });
        float scale = float(pixels.width) / (gallery->Bounds().Width() + 1);
        return pixels.At(int(point.x * scale), int(point.y * scale));
    };
    EXPECT_EQ(at("folder", BPoint(2, 1)), 0xffffffffu);
    EXPECT_EQ(at("folder", BPoint(21, 12)), 0x989898ffu);
    EXPECT_EQ(at("folder_on", BPoint(2, 1)), 0x989898ffu);
    EXPECT_EQ(at("folder_on", BPoint(21, 12)), 0xffffffffu);
    EXPECT_EQ(at("no_picture", BPoint(12, 12)), 0xe8e8e8ffu);
    EXPECT_NE(at("folder", BPoint(10, 12)), 0xe8e8e8ffu) << "the folder picture is drawn";
}

TEST(LibPictureButton, TipsOnEnterLeaveAndPress)
{
    WindowPtr gallery = ShowGallery();
    stowtest::WindowDriver driver(gallery.get());
    TestApplication::TakeAppMessages();

    ASSERT_TRUE(driver.MoveMouse("folder_on", BPoint(3, 3)));
    ASSERT_TRUE(driver.MoveMouse("folder_on", BPoint(5, 5)));
    EXPECT_TRUE(Tips().empty()) << "a button without a tip text posts nothing";

    ASSERT_TRUE(driver.MoveMouse("folder", BPoint(3, 3)));
    ASSERT_TRUE(driver.MoveMouse("folder", BPoint(6, 6)));
    std::vector<BMessage> tips = Tips();
    ASSERT_EQ(tips.size(), 1u);
    EXPECT_TRUE(tips[0].FindBool("show"));
    EXPECT_STREQ(tips[0].FindString("tip"), "Change destination folder");
    BPoint expected;
    TestApplication::Call([&] {
        gallery->Lock();
        expected = gallery->FindView("folder")->ConvertToScreen(BPoint(28, 1));
        gallery->Unlock();
    });
    EXPECT_EQ(tips[0].FindPoint("loc"), expected);

    ASSERT_TRUE(driver.MouseDown("folder", BPoint(6, 6)));
    ASSERT_TRUE(driver.MouseUp("folder", BPoint(6, 6)));
    ASSERT_TRUE(driver.MoveMouse("no_picture", BPoint(3, 3)));
    tips = Tips();
    ASSERT_EQ(tips.size(), 2u) << "pressing hides the tip, and so does leaving";
    EXPECT_FALSE(tips[0].FindBool("show"));
    EXPECT_FALSE(tips[0].HasString("tip"));
    EXPECT_FALSE(tips[1].FindBool("show"));
}

TEST(LibLabelControl, LabelsColonsAndTheirColours)
{
    LibLabelControl bare(BRect(0, 0, 100, 24), 40, "bare", nullptr, 3, nullptr, B_FOLLOW_NONE);
    EXPECT_EQ(bare.CountChildren(), 0);
    EXPECT_STREQ(bare.LabelText(), "");
    bare.SetEnabled(false);

    LibLabelControl label(BRect(0, 0, 100, 24), 40, "disk", "Disk", 3, ":", B_FOLLOW_NONE);
    ASSERT_EQ(label.CountChildren(), 2);
    auto* text = dynamic_cast<BStringView*>(label.FindView("label"));
    auto* colon = dynamic_cast<BStringView*>(label.FindView("colon"));
    ASSERT_TRUE(text != nullptr && colon != nullptr);
    EXPECT_EQ(text->Frame(), BRect(0, 0, 28, 21));
    EXPECT_EQ(colon->Frame(), BRect(29, 0, 38, 21));
    label.SetLabel("Volume");
    EXPECT_STREQ(label.LabelText(), "Volume");
    label.SetEnabled(false);
    EXPECT_EQ(Rgba(colon->HighColor()), Rgba(dark_grey_color));
    label.SetEnabled(true);
    EXPECT_EQ(Rgba(text->HighColor()), Rgba(black_color));
}

TEST(LibStringView, ShortensToItsWidthAndShowHideDoNotStack)
{
    LibStringView view(BRect(0, 0, 80, 14), "path", "");
    const char* path = "/boot/home/Applications/Stowsmith/Documentation";
    view.SetTruncatedText(path, B_TRUNCATE_BEGINNING);
    std::string shown = view.Text();
    EXPECT_EQ(shown.rfind(B_UTF8_ELLIPSIS, 0), 0u) << shown;
    EXPECT_EQ(shown.substr(shown.size() - 5), "ation");
    EXPECT_LE(view.StringWidth(shown.c_str()), 80);
    view.SetTruncatedText("short", B_TRUNCATE_BEGINNING);
    EXPECT_STREQ(view.Text(), "short");

    view.Hide();
    view.Hide();
    EXPECT_TRUE(view.IsHidden());
    view.Show();
    EXPECT_FALSE(view.IsHidden());
    view.Show();
    view.Hide();
    EXPECT_TRUE(view.IsHidden());
}
