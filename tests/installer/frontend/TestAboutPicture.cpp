// The about picture and the window's banner, on a window of the test
// display: what shows before and after clicks, where the texts and the
// banner go, and pictures dropped onto the view in its editing mode.
#include "AppDefs.h"
#include "BBitmap.h"
#include "BEntry.h"
#include "BWindow.h"
#include "BackgroundView.h"
#include "InstallImage.h"
#include "PngWriter.h"
#include "Screenshot.h"
#include "ScriptedPresenter.h"
#include "TestApplication.h"
#include "TestSupport.h"
#include "WindowDriver.h"

#include <gtest/gtest.h>
#include <memory>

using namespace stowtest;

namespace {

struct Closer {
    void operator()(BWindow* window) const
    {
        window->Lock();
        window->Quit();
    }
};
using WindowPtr = std::unique_ptr<BWindow, Closer>;

constexpr uint32 kRed = 0xff0000ff;

// Counts what the about picture tells its window.
class AboutWindowBase : public BWindow {
public:
    AboutWindowBase()
        : BWindow(
            BRect(40, 40, 40 + 255, 40 + 257), "About picture", B_TITLED_WINDOW, B_NOT_RESIZABLE)
    { }
    void MessageReceived(BMessage* message) override
    {
        if (message->what == kImageChanged)
            ++changes;
        else
            BWindow::MessageReceived(message);
    }
    int changes = 0;
};

// A window with the about picture at 10,16 on the banner's panel, as the
// installer lays them out.
WindowPtr AboutWindow(bool editable, InstallImage** image)
{
    std::string problem;
    EXPECT_TRUE(TestApplication::Start(true, &problem)) << problem;
    WindowPtr window(new AboutWindowBase);
    auto* panel = new BackgroundView(window->Bounds());
    *image = new InstallImage(BPoint(10, 16), editable);
    panel->AddChild(*image);
    window->AddChild(panel);
    return window;
}

// A picture archive of `width` by `height` red pixels, as a record keeps it.
BMessage RedArchive(int width, int height)
{
    BBitmap bitmap(BRect(0, 0, float(width - 1), float(height - 1)), B_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            bitmap.SetPixel(x, y, make_color(255, 0, 0));
    }
    BMessage archive;
    bitmap.Archive(&archive, true);
    return archive;
}

uint32 PixelAt(BWindow* window, BPoint point)
{
    Pixels pixels = CaptureWindow(window);
    float scale = float(pixels.width) / (window->Bounds().Width() + 1);
    return pixels.At(int(point.x * scale), int(point.y * scale));
}

bool ShowsPicture(BWindow* window, InstallImage* image)
{
    bool shows = false;
    WindowDriver(window).Read([&](BWindow*) { shows = image->ShowsPicture(); });
    return shows;
}

} // namespace

// The texts are centred along the view's height; a click swaps the picture
// for the texts and the next one brings it back. The banner reads upward in
// the lower right corner.
TEST(AboutPicture, ClicksToggleBetweenPictureAndTexts)
{
    InstallImage* image = nullptr;
    WindowPtr window = AboutWindow(false, &image);
    window->Lock();
    BMessage archive = RedArchive(150, 200);
    image->SetImage(archive);
    image->SetAppName("Stowdemo");
    image->SetVersion("1.0");
    image->SetDate("");
    image->SetEmail("support@stowdemo-samples.example");
    BFont font(be_plain_font);
    font.SetSize(18);
    float nameWidth = font.StringWidth("Stowdemo");
    EXPECT_FLOAT_EQ(image->TextStart(0), (200 - nameWidth) / 2 + nameWidth);
    font.SetSize(14);
    EXPECT_FLOAT_EQ(
        image->TextStart(1), (200 - font.StringWidth("1.0")) / 2 + font.StringWidth("1.0"));
    EXPECT_LT(image->TextSize(4), 14) << "a long text is set smaller to fit";
    font.SetSize(image->TextSize(4));
    EXPECT_LE(font.StringWidth("support@stowdemo-samples.example"), 192);
    auto* panel = static_cast<BackgroundView*>(window->FindView("bgview"));
    EXPECT_EQ(panel->BannerStart(), BPoint(254, 257 - 45));
    window->Unlock();
    window->Show();

    WindowDriver driver(window.get());
    EXPECT_EQ(PixelAt(window.get(), BPoint(85, 116)), kRed);
    driver.Click("InstallImage");
    EXPECT_FALSE(ShowsPicture(window.get(), image));
    EXPECT_NE(PixelAt(window.get(), BPoint(85, 116)), kRed) << "the texts are up";
    driver.Click("InstallImage");
    EXPECT_TRUE(ShowsPicture(window.get(), image));
    EXPECT_EQ(PixelAt(window.get(), BPoint(85, 116)), kRed);

    // Without a picture the texts stay whatever the flag says.
    window->Lock();
    BMessage none;
    image->SetImage(none);
    window->Unlock();
    EXPECT_NE(PixelAt(window.get(), BPoint(85, 116)), kRed);
}

// A dropped picture of the right size is taken silently, one of another
// size after a warning (drawn at its own size in the top left corner), and
// a file that is no picture leaves none, with an error; each time the
// window hears that the picture changed.
TEST(AboutPicture, DroppedFilesBecomeThePicture)
{
    InstallImage* image = nullptr;
    WindowPtr window = AboutWindow(true, &image);
    // After the display is there, which brings its own alert dialogs.
    ScopedPresenter alerts;
    window->Show();
    TempDir dir;
    Pixels small;
    small.width = small.height = 100;
    small.rgba.assign(100 * 100 * 4, 0);
    for (size_t i = 0; i < small.rgba.size(); i += 4)
        small.rgba[i] = small.rgba[i + 3] = 255;
    Pixels right = small;
    right.width = 150;
    right.height = 200;
    right.rgba.assign(150 * 200 * 4, 255);
    ASSERT_TRUE(WritePng((dir / "small.png").string(), small));
    ASSERT_TRUE(WritePng((dir / "right.png").string(), right));
    WriteFile(dir / "text.png", "not a picture");

    auto drop = [&](const char* leaf) {
        entry_ref ref;
        BEntry((dir / leaf).c_str()).GetRef(&ref);
        BMessage message(B_SIMPLE_DATA);
        message.AddRef("refs", &ref);
        window->PostMessage(&message, image);
        WindowDriver(window.get()).Settle();
    };
    drop("right.png");
    EXPECT_TRUE(alerts.presenter->asked.empty());
    WindowDriver(window.get()).Read([&](BWindow*) {
        ASSERT_NE(image->Picture(), nullptr);
        EXPECT_EQ(image->Picture()->Bounds(), BRect(0, 0, 149, 199));
    });

    drop("small.png");
    ASSERT_EQ(alerts.presenter->asked.size(), 1u);
    EXPECT_EQ(alerts.presenter->asked[0].text,
        "Image is not the correct size of 150x200. You may use this image, but it will appear in "
        "the installer as shown here.");
    EXPECT_EQ(PixelAt(window.get(), BPoint(60, 66)), kRed);
    EXPECT_NE(PixelAt(window.get(), BPoint(130, 150)), kRed) << "beyond the small picture";

    drop("text.png");
    ASSERT_EQ(alerts.presenter->asked.size(), 2u);
    EXPECT_EQ(alerts.presenter->asked[1].text, "Image file not current supported");
    WindowDriver(window.get()).Read([&](BWindow*) { EXPECT_EQ(image->Picture(), nullptr); });
    EXPECT_EQ(static_cast<AboutWindowBase*>(window.get())->changes, 3);
}
