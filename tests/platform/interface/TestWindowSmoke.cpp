#include "BButton.h"
#include "BStringView.h"
#include "BWindow.h"
#include "Screenshot.h"
#include "TestApplication.h"
#include "WindowDriver.h"

#include <atomic>
#include <gtest/gtest.h>

namespace {

class SmokeWindow : public BWindow {
public:
    SmokeWindow()
        : BWindow(BRect(100, 100, 299, 199), "Smoke", B_TITLED_WINDOW, B_NOT_RESIZABLE)
    {
        auto* label = new BStringView(BRect(10, 10, 190, 29), "label", "Hello there");
        AddChild(label);
        AddChild(new BButton(BRect(10, 50, 100, 70), "button", "Press", new BMessage('prss')));
    }
    void MessageReceived(BMessage* message) override
    {
        if (message->what == 'prss')
            ++presses;
        else
            BWindow::MessageReceived(message);
    }
    std::atomic<int> presses {0};
};

} // namespace

TEST(WindowSmoke, ShowsDrawsAndClicks)
{
    std::string problem;
    ASSERT_TRUE(stowtest::TestApplication::Start(true, &problem)) << problem;
    auto* window = new SmokeWindow;
    window->Show();
    stowtest::WindowDriver driver(window);
    driver.Settle();
    EXPECT_EQ(driver.Text("label"), "Hello there");
    ASSERT_TRUE(driver.Click("button"));
    EXPECT_EQ(window->presses.load(), 1);
    stowtest::Pixels pixels = stowtest::CaptureWindow(window);
    ASSERT_EQ(pixels.width, 200);
    EXPECT_EQ(pixels.At(150, 90), 0xd8d8d8ffu);
    stowtest::WritePng("/tmp/smoke.png", pixels);
    window->Lock();
    window->Quit();
}
