#include "WindowDriver.h"

#include "BBox.h"
#include "BControl.h"
#include "BStringView.h"
#include "BWindow.h"
#include "TestApplication.h"
#include "UiScale.h"
#include "WindowList.h"

#include <cstring>
#include <gtest/gtest.h>

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
void WindowDriver::Post(int kind, BPoint windowPoint, int buttons, int clicks)
{
    float scale = ui_scale();
    native::Event event;
    event.kind = kind;
    event.x = int((windowPoint.x + 0.5f) * scale);
    event.y = int((windowPoint.y + 0.5f) * scale);
    event.buttons = buttons;
    event.clicks = clicks;
    fWindow->PostInput(event);
}

bool WindowDriver::Click(const char* view)
{
    BPoint point;
    if (!Locate(view, nullptr, point))
        return false;
    Post(native::kMouseMoved, point, 0);
    Post(native::kMouseDown, point, 1);
    Post(native::kMouseUp, point, 0);
    Settle();
    return true;
}

bool WindowDriver::Click(const char* view, BPoint where, int clicks)
{
    BPoint point;
    if (!Locate(view, &where, point))
        return false;
    Post(native::kMouseMoved, point, 0);
    Post(native::kMouseDown, point, 1, clicks);
    Post(native::kMouseUp, point, 0);
    Settle();
    return true;
}

bool WindowDriver::MouseDown(const char* view, BPoint where)
{
    BPoint point;
    if (!Locate(view, &where, point))
        return false;
    Post(native::kMouseDown, point, 1);
    Settle();
    return true;
}

bool WindowDriver::MouseUp(const char* view, BPoint where)
{
    BPoint point;
    if (!Locate(view, &where, point))
        return false;
    Post(native::kMouseUp, point, 0);
    Settle();
    return true;
}

bool WindowDriver::MoveMouse(const char* view, BPoint where)
{
    BPoint point;
    if (!Locate(view, &where, point))
        return false;
    Post(native::kMouseMoved, point, 0);
    Settle();
    return true;
}

void WindowDriver::MoveMouseOut()
{
    native::Event event;
    event.kind = native::kMouseLeft;
    fWindow->PostInput(event);
    Settle();
}

void WindowDriver::PressKey(const char* bytes, int32 modifiers, int32 rawKey)
{
    native::Event event;
    event.kind = native::kKeyDown;
    event.modifiers = modifiers;
    event.key = rawKey;
    strncpy(event.bytes, bytes, sizeof(event.bytes) - 1);
    fWindow->PostInput(event);
    event.kind = native::kKeyUp;
    fWindow->PostInput(event);
    Settle();
}

void WindowDriver::Type(const std::string& text)
{
    for (char byte : text) {
        char bytes[2] = {byte, '\0'};
        PressKey(bytes);
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
