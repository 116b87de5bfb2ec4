#include "BScreen.h"
#include "BStringView.h"
#include "LibColors.h"
#include "LibMouse.h"
#include "LibWindow.h"
#include "TestApplication.h"
#include "UiScale.h"
#include "WindowDriver.h"

#include <gtest/gtest.h>

namespace {

using stowtest::TestApplication;

class HelpWindow : public LibWindow {
public:
    HelpWindow()
        : LibWindow(BRect(100, 100, 299, 199), "main", B_TITLED_WINDOW_LOOK, B_NORMAL_WINDOW_FEEL,
            B_NOT_RESIZABLE, B_CURRENT_WORKSPACE)
    {
        auto* top = new BView(Bounds(), "top", B_FOLLOW_ALL_SIDES, B_WILL_DRAW);
        AddChild(top);
        top->AddChild(new BStringView(BRect(10, 10, 150, 40), "list", "rows"));
        top->AddChild(new BStringView(BRect(10, 50, 150, 80), "other", "other"));
    }
    bool InsertHelpRequest(BView* view, BMessage& inserts) override
    {
        if (strcmp(view->Name(), "other") != 0)
            return false;
        inserts.AddString("topic", "other things");
        return true;
    }
};

struct Closer {
    void operator()(BWindow* window) const
    {
        window->Lock();
        window->Quit();
    }
};
template<class W> using WindowPtr = std::unique_ptr<W, Closer>;

void StartApp()
{
    std::string problem;
    ASSERT_TRUE(TestApplication::Start(true, &problem)) << problem;
}

std::vector<BMessage> HelpRequests()
{
    std::vector<BMessage> found;
    for (BMessage& message : TestApplication::TakeAppMessages()) {
        if (message.what == kHelpRequest)
            found.push_back(message);
    }
    return found;
}

std::vector<std::string> Strings(const BMessage& message, const char* name)
{
    std::vector<std::string> values;
    const char* value = nullptr;
    for (int32 i = 0; message.FindString(name, i, &value) == B_OK; ++i)
        values.push_back(value);
    return values;
}

} // namespace

TEST(LibWindow, PlacementsOnTheScreenAndAroundAParent)
{
    BRect screen(0, 0, 1023, 767);
    BPoint size(199, 99);
    EXPECT_EQ(LibWindow::PlaceOnScreen(LibWindow::kTopLeft, screen, size, 30), BPoint(10, 30));
    EXPECT_EQ(LibWindow::PlaceOnScreen(LibWindow::kCenter, screen, size, 30),
        BPoint(511.5f - 99.5f, 383.5f - 49.5f));
    EXPECT_EQ(LibWindow::PlaceOnScreen(LibWindow::kBottomRight, screen, size, 0),
        BPoint(1023 - 199 - 10, 767 - 99 - 10));
    BRect parent(400, 300, 599, 399);
    EXPECT_EQ(LibWindow::PlaceAround(LibWindow::kMiddleRight, parent, screen, size, 30),
        BPoint(619, 349.5f - 49.5f));
    EXPECT_EQ(LibWindow::PlaceAround(LibWindow::kBottomCenter, parent, screen, size, 30),
        BPoint(499.5f - 99.5f, 439));
    // Kept on the screen: beyond the right and bottom edges it comes back
    // inside by 5 points, above or left of the screen it lands at 2, 25.
    BRect corner(900, 700, 1023, 767);
    EXPECT_EQ(LibWindow::PlaceAround(LibWindow::kBottomRight, corner, screen, size, 30),
        BPoint(1023 - 199 - 5, 767 - 99 - 5));
    EXPECT_EQ(LibWindow::PlaceAround(LibWindow::kTopLeft, BRect(0, 0, 199, 99), screen, size, 30),
        BPoint(2, 25));
}

TEST(LibWindow, SetPositionMovesTheWindowAndShowHideDoNotStack)
{
    StartApp();
    WindowPtr<HelpWindow> parent(new HelpWindow);
    WindowPtr<HelpWindow> window(new HelpWindow);
    parent->MoveTo(0, 0);
    window->SetPosition(LibWindow::kTopLeft, parent.get());
    EXPECT_EQ(window->Frame().LeftTop(), BPoint(2, 25));
    BRect screen = BScreen().Frame();
    window->SetPosition(LibWindow::kCenter, nullptr);
    EXPECT_EQ(window->Frame().LeftTop(),
        BPoint((screen.left + screen.right) / 2 - 99.5f, (screen.top + screen.bottom) / 2 - 49.5f));

    window->Show();
    window->Show();
    window->Hide();
    EXPECT_TRUE(window->IsHidden());
    window->Hide();
    window->Show();
    EXPECT_FALSE(window->IsHidden());
    window->Hide();
    window->Pop();
    stowtest::WindowDriver(window.get()).Settle();
    EXPECT_FALSE(window->IsHidden());
    EXPECT_TRUE(window->IsFront());
}

TEST(LibWindow, ScreenChangeKeepsTheProportionalPlace)
{
    StartApp();
    WindowPtr<HelpWindow> window(new HelpWindow);
    BRect screen = BScreen().Frame();
    window->MoveTo(screen.Width() / 4, screen.Height() / 2);
    TestApplication::Call([&] {
        window->Lock();
        window->ScreenChanged(BRect(0, 0, screen.Width() * 2, screen.Height() * 2), B_RGB32);
        window->Unlock();
    });
    EXPECT_EQ(window->Frame().LeftTop(), BPoint(screen.Width() / 2, screen.Height()));
}

TEST(LibWindow, ShiftF1AsksForHelpAboutTheViewUnderThePointer)
{
    StartApp();
    WindowPtr<HelpWindow> window(new HelpWindow);
    window->Show();
    stowtest::WindowDriver driver(window.get());
    driver.Settle();
    TestApplication::TakeAppMessages();

    // Before the pointer was over a view there is nothing to ask about; F1
    // alone is not the help key.
    driver.PressKey("\x10", B_SHIFT_KEY, B_F1_KEY);
    ASSERT_TRUE(driver.MoveMouse("list", BPoint(5, 5)));
    driver.PressKey("\x10", 0, B_F1_KEY);
    EXPECT_TRUE(HelpRequests().empty());

    driver.PressKey("\x10", B_SHIFT_KEY, B_F1_KEY);
    std::vector<BMessage> requests = HelpRequests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_STREQ(requests[0].FindString("window"), "main");
    EXPECT_EQ(Strings(requests[0], "view"), (std::vector<std::string> {"list", "top"}));
    EXPECT_FALSE(requests[0].HasMessage("inserts"));

    ASSERT_TRUE(driver.MoveMouse("other", BPoint(5, 5)));
    driver.PressKey("\x10", B_SHIFT_KEY | B_LEFT_SHIFT_KEY, B_F1_KEY);
    requests = HelpRequests();
    ASSERT_EQ(requests.size(), 1u);
    BMessage inserts;
    ASSERT_EQ(requests[0].FindMessage("inserts", &inserts), B_OK);
    EXPECT_STREQ(inserts.FindString("topic"), "other things");
}

TEST(LibColors, NearestSystemColor)
{
    EXPECT_TRUE(lib_is_same_color(lib_nearest_system_color(black_color), black_color));
    EXPECT_TRUE(lib_is_same_color(lib_nearest_system_color(130, 129, 127, 255), dark_grey_color));
    EXPECT_TRUE(lib_is_same_color(lib_nearest_system_color(pale_yellow_color), pale_yellow_color));
}

namespace {

// Notes at each press whether only the secondary button is down.
class PressView : public BView {
public:
    PressView()
        : BView(BRect(0, 0, 99, 49), "press", B_FOLLOW_NONE, B_WILL_DRAW)
    { }
    void MouseDown(BPoint) override { secondary.push_back(LibIsMouseButton3(this)); }
    std::vector<bool> secondary;
};

} // namespace

TEST(LibWindow, SecondaryButtonAloneIsButtonThree)
{
    StartApp();
    auto* window = new HelpWindow;
    auto* view = new PressView;
    window->ChildAt(0)->AddChild(view);
    window->Show();
    for (int buttons : {int(B_SECONDARY_MOUSE_BUTTON),
             int(B_PRIMARY_MOUSE_BUTTON | B_SECONDARY_MOUSE_BUTTON), int(B_PRIMARY_MOUSE_BUTTON)}) {
        native::Event event;
        event.kind = native::kMouseDown;
        event.x = event.y = int(10 * ui_scale());
        event.buttons = buttons;
        window->PostInput(event);
        event.kind = native::kMouseUp;
        event.buttons = 0;
        window->PostInput(event);
    }
    stowtest::WindowDriver driver(window);
    driver.Settle();
    EXPECT_EQ(view->secondary, (std::vector<bool> {true, false, false}));
    EXPECT_FALSE(LibIsMouseButton3(nullptr));
    window->Lock();
    window->Quit();
}
