// Windows on a private X server: they open where and as big as they say,
// their views draw where they are at every scale, and the close box, the
// shortcuts and the pulse reach them.
#include "AppDefs.h"
#include "BStringView.h"
#include "Screenshot.h"
#include "UiScale.h"
#include "WindowDriver.h"
#include "WindowTestSupport.h"

#include <cmath>

using namespace stowtest;

namespace {

// A view that paints itself red and counts its Draw() and Pulse() calls.
class Marker : public BView {
public:
    Marker(BRect frame)
        : BView(frame, "marker", B_FOLLOW_RIGHT | B_FOLLOW_BOTTOM, B_WILL_DRAW | B_PULSE_NEEDED)
    { }
    void Draw(BRect) override
    {
        ++draws;
        SetHighColor(255, 0, 0);
        FillRect(Bounds());
    }
    void Pulse() override { ++pulses; }
    std::atomic<int> draws {0};
    std::atomic<int> pulses {0};
};

} // namespace

TEST(Windows, OpenDrawMoveAndResizeOnTheScreen)
{
    StartWithDisplay();
    auto* window = new RecordingWindow(BRect(40, 50, 239, 149), "Placed", 0);
    auto* marker = new Marker(BRect(150, 60, 189, 89));
    window->AddChild(marker);
    window->Show();
    WindowDriver driver(window);
    driver.Settle();
    EXPECT_FALSE(window->IsHidden());
    EXPECT_TRUE(window->IsActive());
    EXPECT_TRUE(window->IsFront());

    // The marker's cells, and no more, are red on the screen.
    float scale = ui_scale();
    Pixels pixels = CaptureWindow(window);
    ASSERT_EQ(pixels.width, int(std::lround(200 * scale)));
    auto at = [&](float x, float y) { return pixels.At(int(x * scale), int(y * scale)); };
    EXPECT_EQ(at(150, 60), 0xff0000ffu);
    EXPECT_EQ(at(189.5f, 89.5f), 0xff0000ffu);
    EXPECT_EQ(at(190.5f, 60), 0xd8d8d8ffu);
    EXPECT_EQ(at(149.5f, 89), 0xd8d8d8ffu);

    // Growing the window moves a view that follows the right and bottom.
    window->Lock();
    window->ResizeTo(249, 119);
    window->MoveTo(60, 70);
    window->Unlock();
    driver.Settle();
    EXPECT_EQ(marker->Frame(), BRect(200, 80, 239, 109));
    EXPECT_EQ(window->Frame(), BRect(60, 70, 309, 189));
    pixels = CaptureWindow(window);
    EXPECT_EQ(at(200, 80), 0xff0000ffu);
    EXPECT_EQ(at(150, 60), 0xd8d8d8ffu);
    EXPECT_TRUE(stowtest::WindowDriver(window).HasView("marker"));

    // Pulses reach views that ask for them.
    window->SetPulseRate(5000);
    EXPECT_TRUE(WaitFor([&] { return marker->pulses >= 2; }));

    window->Hide();
    driver.Settle();
    EXPECT_TRUE(window->IsHidden());
    window->Lock();
    window->Quit();
}

TEST(Windows, CloseBoxAndShortcutsAskTheWindow)
{
    StartWithDisplay();
    class Refusing : public RecordingWindow {
    public:
        Refusing()
            : RecordingWindow(BRect(100, 100, 199, 149), "Refusing")
        { }
        bool QuitRequested() override
        {
            ++asked;
            return allow;
        }
        std::atomic<int> asked {0};
        std::atomic<bool> allow {false};
    };
    auto* window = new Refusing;
    window->AddShortcut('k', B_COMMAND_KEY, new BMessage('kkey'));
    window->Show();
    WindowDriver driver(window);
    driver.Settle();

    native::Event close;
    close.kind = native::kCloseRequested;
    window->PostInput(close);
    driver.Settle();
    EXPECT_EQ(window->asked, 1);

    driver.PressKey("w", B_COMMAND_KEY);
    EXPECT_EQ(window->asked, 2);
    driver.PressKey("K", B_COMMAND_KEY | B_SHIFT_KEY);
    EXPECT_EQ(window->Count('kkey'), 0) << "Shift is part of the shortcut";
    driver.PressKey("k", B_COMMAND_KEY);
    EXPECT_EQ(window->Count('kkey'), 1);
    window->Lock();
    window->RemoveShortcut('k', B_COMMAND_KEY);
    window->Unlock();
    driver.PressKey("k", B_COMMAND_KEY);
    EXPECT_EQ(window->Count('kkey'), 1);

    window->allow = true;
    window->PostInput(close);
    EXPECT_TRUE(WaitFor([] { return WindowDriver::FindWindow("Refusing") == nullptr; }));
}
