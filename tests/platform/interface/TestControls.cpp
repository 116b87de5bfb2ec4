// The gallery's controls worked through the window's input path: what each
// sends, how its state changes, and how the keyboard gets around.
#include "BCheckBox.h"
#include "BListView.h"
#include "BMenuField.h"
#include "BMenuItem.h"
#include "BStatusBar.h"
#include "BTextView.h"
#include "KitGallery.h"
#include "WindowDriver.h"
#include "WindowTestSupport.h"

using namespace stowtest;

namespace {

RecordingWindow* ShowGallery()
{
    auto* window = new RecordingWindow(BRect(10, 10, 609, 569), "Gallery test");
    FillGallery(window);
    window->Show();
    TestApplication::Settle();
    return window;
}

void Quit(BWindow* window)
{
    window->Lock();
    window->Quit();
}

} // namespace

TEST(Controls, ButtonsAndCheckBoxesSendTheirMessages)
{
    StartWithDisplay();
    RecordingWindow* window = ShowGallery();
    WindowDriver driver(window);

    EXPECT_TRUE(driver.Click("button_plain"));
    EXPECT_EQ(window->Count('bpln'), 1);
    void* source = nullptr;
    EXPECT_EQ(window->Last('bpln').FindPointer("source", &source), B_OK);
    driver.Read(
        [&](BWindow* w) { EXPECT_EQ(source, static_cast<void*>(w->FindView("button_plain"))); });

    // A press released outside the button sends nothing.
    driver.MouseDown("button_plain", BPoint(5, 5));
    driver.MouseUp("button_default", BPoint(5, 5));
    EXPECT_EQ(window->Count('bpln'), 1);

    // Return presses the default button; a disabled one ignores clicks.
    driver.PressKey("\n");
    EXPECT_EQ(window->Count('bdef'), 1);
    EXPECT_FALSE(driver.IsEnabled("button_disabled"));

    EXPECT_TRUE(driver.Click("check_off"));
    EXPECT_EQ(window->Count('chk0'), 1);
    EXPECT_EQ(window->Last('chk0').FindInt32("be:value"), B_CONTROL_ON);
    EXPECT_TRUE(driver.Click("check_disabled"));
    driver.Read([](BWindow* w) {
        EXPECT_EQ(static_cast<BCheckBox*>(w->FindView("check_disabled"))->Value(), B_CONTROL_OFF);
    });

    // Tab walks the navigable controls; Space works the focused one.
    driver.Read([](BWindow* w) { w->FindView("check_on")->MakeFocus(true); });
    driver.PressKey(" ");
    EXPECT_EQ(window->Last('chk1').FindInt32("be:value"), B_CONTROL_OFF);
    driver.PressKey("\t");
    driver.Read([](BWindow* w) { EXPECT_STREQ(w->CurrentFocus()->Name(), "single_list"); });
    Quit(window);
}

TEST(Controls, MenusListsTextAndStatusBars)
{
    StartWithDisplay();
    RecordingWindow* window = ShowGallery();
    WindowDriver driver(window);

    // A chosen item is marked, labels the field and sends its index.
    EXPECT_TRUE(driver.ChooseMenuItem("language", "Deutsch"));
    EXPECT_EQ(driver.Text("language"), "Deutsch");
    EXPECT_EQ(window->Count('lang'), 1);
    EXPECT_EQ(window->Last('lang').FindInt32("index"), 3);
    // A disabled item cannot be chosen; the menu stays until Escape.
    EXPECT_TRUE(driver.ChooseMenuItem("language", "Klingon"));
    EXPECT_EQ(window->Count('lang'), 1);
    EXPECT_EQ(driver.Text("language"), "Deutsch");
    BWindow* menu = nullptr;
    TestApplication::Call([&] { menu = WindowDriver::FindWindow("languages"); });
    ASSERT_NE(menu, nullptr);
    WindowDriver(menu).PressKey("\x1b");
    EXPECT_EQ(WindowDriver::FindWindow("languages"), nullptr);

    // Selections send the selected rows; Shift/Ctrl add in a multiple list.
    driver.Read([](BWindow* w) {
        static_cast<BListView*>(w->FindView("single_list"))
            ->SetSelectionMessage(new BMessage('sel1'));
        static_cast<BListView*>(w->FindView("multiple_list"))
            ->SetSelectionMessage(new BMessage('selm'));
    });
    EXPECT_TRUE(driver.SelectRow("single_list", 7));
    EXPECT_EQ(driver.Selection("single_list"), std::vector<int32>({7}));
    EXPECT_EQ(window->Last('sel1').FindInt32("index"), 7);
    driver.PressKey("\x1f"); // down
    EXPECT_EQ(driver.Selection("single_list"), std::vector<int32>({8}));
    EXPECT_TRUE(driver.SelectRow("multiple_list", 5));
    EXPECT_TRUE(driver.SelectRow("multiple_list", 1, true));
    EXPECT_EQ(driver.Selection("multiple_list"), std::vector<int32>({1, 5}));
    EXPECT_EQ(window->Last('selm').FindInt32("index", 1), 5);

    // An editable text view takes typing.
    driver.Read([](BWindow* w) {
        auto* text = static_cast<BTextView*>(w->FindView("license_text"));
        text->MakeEditable(true);
        text->SetText("");
    });
    EXPECT_TRUE(driver.Click("license_text"));
    driver.Type("Größe");
    driver.PressKey("\x08");
    EXPECT_EQ(driver.Text("license_text"), "Größ");

    driver.Read([](BWindow* w) {
        auto* bar = static_cast<BStatusBar*>(w->FindView("status_bar"));
        bar->Update(500, "docs", "13");
        bar->Update(-10);
    });
    WindowDriver::StatusValues status = driver.Status("status_bar");
    EXPECT_EQ(status.value, 190);
    EXPECT_EQ(status.max, 200);
    EXPECT_EQ(status.label, ".../");
    EXPECT_EQ(status.text, "docs");
    EXPECT_EQ(status.trailingText, "13");
    EXPECT_EQ(status.trailingLabel, " found");
    Quit(window);
}

TEST(Controls, MouseTransitsReachTheViews)
{
    StartWithDisplay();
    class Tracker : public BView {
    public:
        Tracker(BRect frame, const char* name)
            : BView(frame, name, B_FOLLOW_NONE, 0)
        { }
        void MouseMoved(BPoint, uint32 transit, const BMessage*) override
        {
            transits.push_back(transit);
        }
        std::vector<uint32> transits;
    };
    auto* window = new RecordingWindow(BRect(100, 100, 299, 199), "Transits");
    auto* left = new Tracker(BRect(0, 0, 99, 99), "left");
    auto* right = new Tracker(BRect(100, 0, 199, 99), "right");
    window->AddChild(left);
    window->AddChild(right);
    window->Show();
    WindowDriver driver(window);
    driver.MoveMouse("left", BPoint(10, 10));
    driver.MoveMouse("left", BPoint(20, 10));
    driver.MoveMouse("right", BPoint(10, 10));
    driver.Read([&](BWindow* w) { EXPECT_EQ(w->LastMouseMovedView(), right); });
    driver.MoveMouseOut();
    driver.Read([&](BWindow*) {
        EXPECT_EQ(
            left->transits, std::vector<uint32>({B_ENTERED_VIEW, B_INSIDE_VIEW, B_EXITED_VIEW}));
        EXPECT_EQ(right->transits, std::vector<uint32>({B_ENTERED_VIEW, B_EXITED_VIEW}));
    });
    Quit(window);
}
