#include "BScrollView.h"
#include "BStringItem.h"
#include "LibListView.h"
#include "LibWindow.h"
#include "TestApplication.h"
#include "UiScale.h"
#include "WindowDriver.h"

#include <gtest/gtest.h>
#include <mutex>

namespace {

using stowtest::TestApplication;

constexpr uint32 kHover = 'hovr';
constexpr uint32 kReordered = 'reor';

// Moves its rows as they are dragged and keeps what it was told.
class RowList : public LibListView {
public:
    RowList()
        : LibListView(BRect(0, 0, 149, 119), "rows")
    { }
    void ItemReordered(const long& from, const long& to) override
    {
        moves.emplace_back(from, to);
        MoveItem(int32(from), int32(to));
    }
    std::vector<std::pair<long, long>> moves;
};

class ListWindow : public LibWindow {
public:
    ListWindow()
        : LibWindow(BRect(100, 100, 299, 259), "list window", B_TITLED_WINDOW_LOOK,
            B_NORMAL_WINDOW_FEEL, B_NOT_RESIZABLE, B_CURRENT_WORKSPACE)
        , list(new RowList)
    {
        auto* scroll
            = new BScrollView("scroll", list, B_FOLLOW_LEFT | B_FOLLOW_TOP, 0, false, true);
        scroll->MoveTo(10, 10);
        AddChild(scroll);
        for (const char* row : {"Typical", "Documents", "Samples", "Extras"})
            list->AddItem(new BStringItem(row));
        list->SetHoverCommand(kHover);
        list->SetReorderCommand(kReordered);
        list->AllowReorder(true, list->ScrollBar(B_VERTICAL));
    }
    ~ListWindow() override
    {
        while (BListItem* item = list->RemoveItem(int32(0)))
            delete item;
    }
    void MessageReceived(BMessage* message) override
    {
        std::lock_guard<std::mutex> hold(lock);
        if (message->what == kHover)
            hovered.push_back(message->FindInt32("item"));
        else if (message->what == kReordered)
            ++reorders;
        else
            LibWindow::MessageReceived(message);
    }

    RowList* list;
    std::mutex lock;
    std::vector<int32> hovered;
    int reorders = 0;
};

struct Fixture {
    ListWindow* window = nullptr;
    std::unique_ptr<stowtest::WindowDriver> driver;

    Fixture()
    {
        std::string problem;
        EXPECT_TRUE(TestApplication::Start(true, &problem)) << problem;
        window = new ListWindow;
        window->Show();
        driver = std::make_unique<stowtest::WindowDriver>(window);
        driver->Settle();
    }
    ~Fixture()
    {
        window->Lock();
        window->Quit();
    }
    // The middle of a row, in the list's coordinates.
    BPoint Row(int32 index, float dy = 0)
    {
        BRect frame;
        driver->Read([&](BWindow*) { frame = window->list->ItemFrame(index); });
        return BPoint(40, (frame.top + frame.bottom) / 2 + dy);
    }
    // A press, a move and a release handed over at once, as a quick drag:
    // the list follows the drag without the window taking a turn between.
    void Drag(BPoint from, BPoint to)
    {
        BPoint a, b;
        driver->Read([&](BWindow*) {
            a = window->list->ConvertToWindow(from);
            b = window->list->ConvertToWindow(to);
        });
        Post(native::kMouseMoved, a, 0);
        Post(native::kMouseDown, a, 1);
        Post(native::kMouseMoved, b, 1);
        Post(native::kMouseUp, b, 0);
        driver->Settle();
    }
    void Post(int kind, BPoint point, int buttons)
    {
        float scale = ui_scale();
        native::Event event;
        event.kind = kind;
        event.x = int((point.x + 0.5f) * scale);
        event.y = int((point.y + 0.5f) * scale);
        event.buttons = buttons;
        event.clicks = 1;
        window->PostInput(event);
    }
    std::vector<std::string> Rows()
    {
        std::vector<std::string> rows;
        driver->Read([&](BWindow*) {
            for (int32 i = 0; i < window->list->CountItems(); ++i)
                rows.push_back(static_cast<BStringItem*>(window->list->ItemAt(i))->Text());
        });
        return rows;
    }
};

} // namespace

TEST(LibListView, HoverIsPostedOncePerRowAndMinusOneOnLeaving)
{
    Fixture f;
    ASSERT_TRUE(f.driver->MoveMouse("rows", f.Row(1)));
    ASSERT_TRUE(f.driver->MoveMouse("rows", f.Row(1, 1)));
    ASSERT_TRUE(f.driver->MoveMouse("rows", f.Row(1, -1)));
    ASSERT_TRUE(f.driver->MoveMouse("rows", f.Row(2)));
    f.driver->MoveMouseOut();
    ASSERT_TRUE(f.driver->MoveMouse("rows", f.Row(0)));
    ASSERT_TRUE(f.driver->MoveMouse("rows", f.Row(0, 1)));
    ASSERT_TRUE(f.driver->MoveMouse("rows", BPoint(40, 110)));
    f.driver->MoveMouseOut();
    std::lock_guard<std::mutex> hold(f.window->lock);
    // Entering reports nothing yet; below the last row is no row (-1), and
    // leaving from there reports nothing new.
    EXPECT_EQ(f.window->hovered, (std::vector<int32> {1, 2, -1, 0, -1}));
}

TEST(LibListView, DraggingASelectedRowReordersIt)
{
    Fixture f;
    // An unselected row is only selected by a drag.
    f.Drag(f.Row(2), f.Row(0));
    EXPECT_TRUE(f.window->list->moves.empty());
    EXPECT_EQ(f.Rows(), (std::vector<std::string> {"Typical", "Documents", "Samples", "Extras"}));

    f.Drag(f.Row(2), f.Row(0));
    ASSERT_EQ(f.window->list->moves.size(), 1u);
    EXPECT_EQ(f.window->list->moves[0], std::make_pair(2L, 0L));
    EXPECT_EQ(f.Rows(), (std::vector<std::string> {"Samples", "Typical", "Documents", "Extras"}));
    EXPECT_EQ(f.window->reorders, 1);

    // Onto itself, or out of the list: nothing.
    ASSERT_TRUE(f.driver->Click("rows", f.Row(1)));
    f.Drag(f.Row(1, -3), f.Row(1, 3));
    f.Drag(f.Row(1), BPoint(40, 200));
    f.Drag(f.Row(1), BPoint(1, f.Row(3).y));
    EXPECT_EQ(f.window->list->moves.size(), 1u);
    EXPECT_EQ(f.window->reorders, 1);

    // Reordering switched off: a drag is only a drag.
    f.driver->Read([&](BWindow*) { f.window->list->AllowReorder(false, nullptr); });
    f.Drag(f.Row(1), f.Row(3));
    EXPECT_EQ(f.window->list->moves.size(), 1u);
}

TEST(LibListView, EscapeHidesTheWindow)
{
    Fixture f;
    ASSERT_TRUE(f.driver->Click("rows", f.Row(0)));
    f.driver->PressKey("\x1b");
    EXPECT_TRUE(f.window->IsHidden());
}
