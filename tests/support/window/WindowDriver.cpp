#include "WindowDriver.h"

#include "AlertWindow.h"
#include "BBox.h"
#include "BButton.h"
#include "BControl.h"
#include "BListView.h"
#include "BMenu.h"
#include "BMenuField.h"
#include "BMenuItem.h"
#include "BStatusBar.h"
#include "BStringView.h"
#include "BTextView.h"
#include "BWindow.h"
#include "MenuWindow.h"
#include "TestApplication.h"
#include "UiScale.h"
#include "WindowList.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <gtest/gtest.h>
#include <thread>

namespace stowtest {

WindowDriver::WindowDriver(BWindow* window)
    : fWindow(window)
{ }

BWindow* WindowDriver::FindWindow(const std::string& title)
{
    BWindow* found = nullptr;
    TestApplication::Call([&] {
        for (BWindow* window : WindowList::Snapshot()) {
            if (window->Title() == title)
                found = window;
        }
    });
    return found;
}

void WindowDriver::Read(const std::function<void(BWindow*)>& reader)
{
    TestApplication::Call([&] {
        if (!WindowList::Contains(fWindow) || !fWindow->Lock()) {
            ADD_FAILURE() << "the window is gone";
            return;
        }
        reader(fWindow);
        fWindow->Unlock();
    });
}

void WindowDriver::Settle()
{
    TestApplication::Settle();
}

bool WindowDriver::Locate(const char* name, const BPoint* where, BPoint& windowPoint)
{
    bool found = false;
    Read([&](BWindow* window) {
        BView* view = window->FindView(name);
        if (view == nullptr || view->IsHidden())
            return;
        BRect bounds = view->Bounds();
        BPoint local = where != nullptr
            ? *where
            : BPoint(bounds.left + bounds.Width() / 2, bounds.top + bounds.Height() / 2);
        windowPoint = view->ConvertToWindow(local);
        found = true;
    });
    if (!found)
        ADD_FAILURE() << "no visible view \"" << name << "\" in \"" << fWindow->Title() << "\"";
    return found;
}

// The centre of the point's cell in device pixels, as the display reports.
native::Event WindowDriver::Event(int kind, BPoint windowPoint, int buttons, int clicks)
{
    float scale = ui_scale();
    native::Event event;
    event.kind = kind;
    event.x = int((windowPoint.x + 0.5f) * scale);
    event.y = int((windowPoint.y + 0.5f) * scale);
    event.buttons = buttons;
    event.clicks = clicks;
    return event;
}

// On the UI thread, which is the one that deletes windows: an event that
// closes the window (Escape in an alert) cannot leave the next one posted
// to a window that is gone.
void WindowDriver::PostAll(const std::vector<native::Event>& events)
{
    TestApplication::Call([&] {
        if (!WindowList::Contains(fWindow))
            return;
        for (const native::Event& event : events)
            fWindow->PostInput(event);
    });
    Settle();
}

bool WindowDriver::Click(const char* view)
{
    BPoint point;
    if (!Locate(view, nullptr, point))
        return false;
    PostAll({Event(native::kMouseMoved, point, 0), Event(native::kMouseDown, point, 1),
        Event(native::kMouseUp, point, 0)});
    return true;
}

bool WindowDriver::Click(const char* view, BPoint where, int clicks)
{
    BPoint point;
    if (!Locate(view, &where, point))
        return false;
    PostAll({Event(native::kMouseMoved, point, 0), Event(native::kMouseDown, point, 1, clicks),
        Event(native::kMouseUp, point, 0)});
    return true;
}

bool WindowDriver::MouseDown(const char* view, BPoint where)
{
    BPoint point;
    if (!Locate(view, &where, point))
        return false;
    PostAll({Event(native::kMouseDown, point, 1)});
    return true;
}

bool WindowDriver::MouseUp(const char* view, BPoint where)
{
    BPoint point;
    if (!Locate(view, &where, point))
        return false;
    PostAll({Event(native::kMouseUp, point, 0)});
    return true;
}

bool WindowDriver::MoveMouse(const char* view, BPoint where)
{
    BPoint point;
    if (!Locate(view, &where, point))
        return false;
    PostAll({Event(native::kMouseMoved, point, 0)});
    return true;
}

void WindowDriver::MoveMouseOut()
{
    native::Event event;
    event.kind = native::kMouseLeft;
    PostAll({event});
}

void WindowDriver::PressKey(const char* bytes, int32 modifiers, int32 rawKey)
{
    native::Event event;
    event.kind = native::kKeyDown;
    event.modifiers = modifiers;
    event.key = rawKey;
    strncpy(event.bytes, bytes, sizeof(event.bytes) - 1);
    native::Event up = event;
    up.kind = native::kKeyUp;
    PostAll({event, up});
}

// One key per character, however many bytes it takes.
void WindowDriver::Type(const std::string& text)
{
    for (size_t at = 0; at < text.size();) {
        size_t next = at + 1;
        while (next < text.size() && (uint8(text[next]) & 0xc0) == 0x80)
            ++next;
        PressKey(text.substr(at, next - at).c_str());
        at = next;
    }
}

bool WindowDriver::HasView(const char* name)
{
    bool found = false;
    Read([&](BWindow* window) { found = window->FindView(name) != nullptr; });
    return found;
}

std::string WindowDriver::Text(const char* name)
{
    std::string text;
    bool found = false;
    Read([&](BWindow* window) {
        BView* view = window->FindView(name);
        if (view == nullptr)
            return;
        found = true;
        if (auto* control = dynamic_cast<BControl*>(view))
            text = control->Label() != nullptr ? control->Label() : "";
        else if (auto* string = dynamic_cast<BStringView*>(view))
            text = string->Text();
        else if (auto* box = dynamic_cast<BBox*>(view))
            text = box->Label() != nullptr ? box->Label() : "";
        else if (auto* textView = dynamic_cast<BTextView*>(view))
            text = textView->Text();
        else if (auto* field = dynamic_cast<BMenuField*>(view))
            text = field->MenuItem() != nullptr ? field->MenuItem()->Label() : "";
    });
    if (!found)
        ADD_FAILURE() << "no view \"" << name << "\"";
    return text;
}

bool WindowDriver::IsHidden(const char* name)
{
    bool hidden = true;
    Read([&](BWindow* window) {
        BView* view = window->FindView(name);
        hidden = view == nullptr || view->IsHidden();
    });
    return hidden;
}

bool WindowDriver::IsEnabled(const char* name)
{
    bool enabled = false;
    Read([&](BWindow* window) {
        auto* control = dynamic_cast<BControl*>(window->FindView(name));
        enabled = control != nullptr && control->IsEnabled();
    });
    return enabled;
}

} // namespace stowtest

namespace stowtest {

BWindow* WindowDriver::FindAlert()
{
    BWindow* found = nullptr;
    TestApplication::Call([&] {
        for (BWindow* window : WindowList::Snapshot()) {
            if (dynamic_cast<AlertWindow*>(window) != nullptr && !window->IsHidden())
                found = window;
        }
    });
    return found;
}

// The alert comes from another thread, which runs at its own pace: look
// again until it is there (a bound against hanging, not a timing).
BWindow* WindowDriver::WaitForAlert()
{
    auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < limit) {
        TestApplication::Settle();
        if (BWindow* alert = FindAlert())
            return alert;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return nullptr;
}

bool WindowDriver::AnswerAlert(const std::string& label)
{
    BWindow* alert = WaitForAlert();
    if (alert == nullptr) {
        ADD_FAILURE() << "no alert to answer with \"" << label << "\"";
        return false;
    }
    WindowDriver driver(alert);
    std::string button;
    driver.Read([&](BWindow* window) {
        for (int32 i = 0; i < 3 && button.empty(); ++i) {
            std::string name = "alert_button_" + std::to_string(i);
            auto* view = dynamic_cast<BButton*>(window->FindView(name.c_str()));
            if (view != nullptr && view->Label() == label)
                button = name;
        }
    });
    if (button.empty()) {
        ADD_FAILURE() << "the alert has no button \"" << label << "\"";
        return false;
    }
    return driver.Click(button.c_str());
}

bool WindowDriver::SelectRow(const char* list, int32 row, bool extend)
{
    BRect frame;
    Read([&](BWindow* window) {
        auto* view = dynamic_cast<BListView*>(window->FindView(list));
        if (view != nullptr) {
            frame = view->ItemFrame(row);
            BRect bounds = view->Bounds();
            if (frame.IsValid() && (frame.top < bounds.top || frame.bottom > bounds.bottom))
                view->ScrollTo(BPoint(0, std::max(0.0f, frame.bottom - bounds.Height())));
        }
    });
    if (!frame.IsValid()) {
        ADD_FAILURE() << "no row " << row << " in \"" << list << "\"";
        return false;
    }
    BPoint point;
    BPoint where(frame.left + 4, frame.top + frame.Height() / 2);
    if (!Locate(list, &where, point))
        return false;
    native::Event down = Event(native::kMouseDown, point, 1);
    down.modifiers = extend ? int(B_COMMAND_KEY) : 0;
    native::Event up = Event(native::kMouseUp, point, 0);
    up.modifiers = down.modifiers;
    PostAll({down, up});
    return true;
}

bool WindowDriver::HoverRow(const char* list, int32 row)
{
    BRect frame;
    Read([&](BWindow* window) {
        if (auto* view = dynamic_cast<BListView*>(window->FindView(list)))
            frame = view->ItemFrame(row);
    });
    if (!frame.IsValid())
        return false;
    return MoveMouse(list, BPoint(frame.left + 4, frame.top + frame.Height() / 2));
}

std::vector<int32> WindowDriver::Selection(const char* list)
{
    std::vector<int32> rows;
    Read([&](BWindow* window) {
        auto* view = dynamic_cast<BListView*>(window->FindView(list));
        for (int32 i = 0; view != nullptr && view->CurrentSelection(i) >= 0; ++i)
            rows.push_back(view->CurrentSelection(i));
    });
    return rows;
}

bool WindowDriver::ChooseMenuItem(const char* menuField, const char* label)
{
    BMenu* menu = nullptr;
    Read([&](BWindow* window) {
        if (auto* field = dynamic_cast<BMenuField*>(window->FindView(menuField)))
            menu = field->Menu();
    });
    if (menu == nullptr) {
        ADD_FAILURE() << "no menu field \"" << menuField << "\"";
        return false;
    }
    if (!Click(menuField))
        return false;
    BWindow* menuWindow = nullptr;
    TestApplication::Call([&] {
        for (BWindow* window : WindowList::Snapshot()) {
            auto* open = dynamic_cast<MenuWindow*>(window);
            if (open != nullptr && open->Menu() == menu)
                menuWindow = open;
        }
    });
    if (menuWindow == nullptr) {
        ADD_FAILURE() << "the menu of \"" << menuField << "\" did not open";
        return false;
    }
    WindowDriver inMenu(menuWindow);
    BRect frame;
    inMenu.Read([&](BWindow*) {
        if (BMenuItem* item = menu->FindItem(label))
            frame = item->Frame();
    });
    if (!frame.IsValid()) {
        ADD_FAILURE() << "no item \"" << label << "\"";
        inMenu.PressKey("\x1b");
        return false;
    }
    return inMenu.Click(menu->Name(), BPoint(frame.left + 8, frame.top + frame.Height() / 2));
}

WindowDriver::StatusValues WindowDriver::Status(const char* statusBar)
{
    StatusValues values;
    Read([&](BWindow* window) {
        auto* bar = dynamic_cast<BStatusBar*>(window->FindView(statusBar));
        if (bar == nullptr)
            return;
        values.value = bar->CurrentValue();
        values.max = bar->MaxValue();
        values.label = bar->Label();
        values.text = bar->Text();
        values.trailingText = bar->TrailingText();
        values.trailingLabel = bar->TrailingLabel();
    });
    return values;
}

} // namespace stowtest
