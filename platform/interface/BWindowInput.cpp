// How a window takes input: events from the display (or a test) become the
// kit's input messages, which go to the view under the pointer, the view that
// holds the mouse, or the focus view.
#include "AppDefs.h"
#include "BApplication.h"
#include "BButton.h"
#include "BControl.h"
#include "BWindow.h"
#include "KernelThreads.h"
#include "MainLoop.h"
#include "UiDisplay.h"
#include "UiScale.h"
#include "WindowList.h"

#include <cmath>
#include <cstring>

namespace {

BPoint PointOf(const native::Event& event)
{
    float scale = ui_scale();
    return BPoint(std::floor(float(event.x) / scale), std::floor(float(event.y) / scale));
}

BMessage* MouseMessage(uint32 what, const native::Event& event)
{
    auto* message = new BMessage(what);
    message->AddInt64("when", system_time());
    message->AddPoint("where", PointOf(event));
    message->AddInt32("modifiers", event.modifiers);
    message->AddInt32("buttons", event.buttons);
    if (what == B_MOUSE_DOWN)
        message->AddInt32("clicks", event.clicks);
    return message;
}

BMessage* KeyMessage(uint32 what, const native::Event& event)
{
    auto* message = new BMessage(what);
    message->AddInt64("when", system_time());
    message->AddInt32("modifiers", event.modifiers);
    message->AddInt32("key", event.key);
    message->AddInt8("byte", int8(event.bytes[0]));
    message->AddString("bytes", event.bytes);
    message->AddInt32("raw_char", uint8(event.bytes[0]));
    return message;
}

bool Contains(const BView* root, const BView* view)
{
    for (; view != nullptr; view = view->Parent()) {
        if (view == root)
            return true;
    }
    return false;
}

} // namespace

void BWindow::PostInput(const native::Event& event)
{
    {
        std::lock_guard<std::mutex> hold(fInputLock);
        fInput.push_back(event);
    }
    MainLoop::Get().Wake();
}

bool BWindow::HasPendingInput() const
{
    std::lock_guard<std::mutex> hold(fInputLock);
    return !fInput.empty();
}

// One event at a time: a handler may quit the window (the close box) or run
// a nested loop that takes more input meanwhile.
void BWindow::TakeInput()
{
    while (!IsTerminating()) {
        native::Event event;
        {
            std::lock_guard<std::mutex> hold(fInputLock);
            if (fInput.empty())
                return;
            event = fInput.front();
            fInput.pop_front();
        }
        HandleEvent(event);
    }
}

void BWindow::HandleEvent(const native::Event& event)
{
    float scale = ui_scale();
    switch (event.kind) {
    case native::kMouseDown:
        DispatchDirect(MouseMessage(B_MOUSE_DOWN, event), this);
        break;
    case native::kMouseUp:
        DispatchDirect(MouseMessage(B_MOUSE_UP, event), this);
        break;
    case native::kMouseMoved:
        DispatchDirect(MouseMessage(B_MOUSE_MOVED, event), this);
        break;
    case native::kMouseLeft: {
        BMessage* message = MouseMessage(B_MOUSE_MOVED, event);
        message->AddBool("be:left", true);
        DispatchDirect(message, this);
        break;
    }
    case native::kWheel: {
        BMessage* message = MouseMessage(B_MOUSE_WHEEL_CHANGED, event);
        message->AddFloat("be:wheel_delta_x", event.wheelX);
        message->AddFloat("be:wheel_delta_y", event.wheelY);
        DispatchDirect(message, this);
        break;
    }
    case native::kKeyDown:
        DispatchDirect(KeyMessage(B_KEY_DOWN, event), this);
        break;
    case native::kKeyUp:
        DispatchDirect(KeyMessage(B_KEY_UP, event), this);
        break;
    case native::kFocusIn:
    case native::kFocusOut:
        SetActive(event.kind == native::kFocusIn);
        if (event.kind == native::kFocusIn)
            WindowList::SetFront(this);
        break;
    case native::kMoved:
        fFrame.OffsetTo(std::round(float(event.x) / scale), std::round(float(event.y) / scale));
        FrameMoved(fFrame.LeftTop());
        break;
    case native::kResized:
        ApplyResize(std::round(float(event.width) / scale) - 1,
            std::round(float(event.height) / scale) - 1);
        break;
    case native::kCloseRequested:
        DispatchDirect(new BMessage(B_QUIT_REQUESTED), this);
        break;
    case native::kScreenChanged: {
        UiDisplay::ScreenChanged();
        native::ScreenFacts facts = UiDisplay::Screen();
        BRect frame(0, 0, std::floor(float(facts.frame.w) / scale) - 1,
            std::floor(float(facts.frame.h) / scale) - 1);
        ScreenChanged(frame, facts.depth <= 8 ? B_CMAP8 : B_RGB32);
        break;
    }
    default:
        break;
    }
}

void BWindow::DispatchMessage(BMessage* message, BHandler* handler)
{
    if (handler != this) {
        BLooper::DispatchMessage(message, handler);
        return;
    }
    switch (message->what) {
    case B_MOUSE_DOWN:
        MouseDown(message);
        return;
    case B_MOUSE_UP:
        MouseUp(message);
        return;
    case B_MOUSE_MOVED:
        MouseMoved(message);
        return;
    case B_MOUSE_WHEEL_CHANGED:
        MouseWheel(message);
        return;
    case B_KEY_DOWN:
        KeyDown(message);
        return;
    case B_KEY_UP:
        if (fFocus != nullptr) {
            const char* bytes = message->FindString("bytes");
            fFocus->KeyUp(bytes, int32(strlen(bytes)));
        }
        return;
    case B_PULSE:
        fPulsePending = false;
        PulseViews(fTopView);
        return;
    case B_WINDOW_ACTIVATED: {
        bool active = message->FindBool("active");
        WindowActivated(active);
        ActivateViews(fTopView, active);
        return;
    }
    case B_WINDOW_MOVED:
        FrameMoved(message->FindPoint("where"));
        return;
    case B_WINDOW_RESIZED:
        FrameResized(message->FindFloat("width"), message->FindFloat("height"));
        return;
    default:
        BLooper::DispatchMessage(message, handler);
        return;
    }
}

void BWindow::MessageReceived(BMessage* message)
{
    BLooper::MessageReceived(message);
}

void BWindow::MouseDown(BMessage* message)
{
    BPoint where = message->FindPoint("where");
    fMouse = where;
    fMouseButtons = uint32(message->FindInt32("buttons"));
    BView* view = FindView(where);
    if (view == nullptr || view == fTopView)
        return;
    fCapture = nullptr;
    view->MouseDown(view->ConvertFromWindow(where));
}

void BWindow::MouseUp(BMessage* message)
{
    BPoint where = message->FindPoint("where");
    fMouse = where;
    fMouseButtons = uint32(message->FindInt32("buttons"));
    BView* view = fCapture != nullptr ? fCapture : FindView(where);
    if (fMouseButtons == 0)
        fCapture = nullptr;
    if (view != nullptr && view != fTopView)
        view->MouseUp(view->ConvertFromWindow(where));
}

void BWindow::SendMouseTransit(BView* view, BPoint windowPoint, uint32 transit, BMessage* message)
{
    if (view == nullptr || view == fTopView)
        return;
    view->MouseMoved(view->ConvertFromWindow(windowPoint), transit, nullptr);
    (void)message;
}

// The view under the pointer hears it enter, move inside and leave; the view
// holding the mouse also hears it move outside.
void BWindow::MouseMoved(BMessage* message)
{
    BPoint where = message->FindPoint("where");
    fMouse = where;
    fMouseButtons = uint32(message->FindInt32("buttons"));
    bool left = message->FindBool("be:left");
    BView* view = left ? nullptr : FindView(where);
    if (view == fTopView)
        view = nullptr;
    if (view != fLastMouseView) {
        BView* old = fLastMouseView;
        fLastMouseView = view;
        SendMouseTransit(old, where, B_EXITED_VIEW, message);
        SendMouseTransit(view, where, B_ENTERED_VIEW, message);
    } else {
        SendMouseTransit(view, where, B_INSIDE_VIEW, message);
    }
    if (fCapture != nullptr && fCapture != view && !Contains(fCapture, view))
        SendMouseTransit(fCapture, where, B_OUTSIDE_VIEW, message);
}

void BWindow::MouseWheel(BMessage* message)
{
    BPoint where = message->FindPoint("where");
    for (BView* view = FindView(where); view != nullptr; view = view->Parent()) {
        if (view->ScrollBar(B_VERTICAL) != nullptr || view->ScrollBar(B_HORIZONTAL) != nullptr) {
            view->MessageReceived(message);
            return;
        }
    }
}

void BWindow::KeyDown(BMessage* message)
{
    const char* bytes = message->FindString("bytes");
    int32 length = int32(strlen(bytes));
    if (HandleShortcut(message))
        return;
    uint32 modifiers = uint32(message->FindInt32("modifiers"));
    if (length == 1 && bytes[0] == B_TAB && !(modifiers & B_COMMAND_KEY)) {
        Navigate((modifiers & B_SHIFT_KEY) != 0);
        return;
    }
    bool focusIsButton = dynamic_cast<BButton*>(fFocus) != nullptr;
    if (length == 1 && bytes[0] == B_RETURN && fDefaultButton != nullptr && !focusIsButton) {
        if (fDefaultButton->IsEnabled() && !fDefaultButton->IsHidden())
            fDefaultButton->KeyDown(bytes, length);
        return;
    }
    if (fFocus != nullptr)
        fFocus->KeyDown(bytes, length);
}

bool BWindow::HandleShortcut(BMessage* message)
{
    uint32 modifiers = uint32(message->FindInt32("modifiers"));
    const char* bytes = message->FindString("bytes");
    if (!(modifiers & B_COMMAND_KEY) || bytes[0] == '\0')
        return false;
    uint32 key = uint8(bytes[0]) < 0x80 ? uint32(tolower(bytes[0])) : uint8(bytes[0]);
    uint32 pressed = modifiers & (B_SHIFT_KEY | B_COMMAND_KEY | B_OPTION_KEY);
    for (Shortcut& shortcut : fShortcuts) {
        if (shortcut.key != key || shortcut.modifiers != pressed)
            continue;
        BMessage copy(shortcut.message);
        if (shortcut.target.IsValid())
            shortcut.target.SendMessage(&copy);
        else
            PostMessage(&copy);
        return true;
    }
    // Ctrl+Q asks the whole program to quit, as desktop programs do.
    if (key == 'q' && pressed == B_COMMAND_KEY && be_app != nullptr) {
        be_app->PostMessage(B_QUIT_REQUESTED);
        return true;
    }
    return false;
}

namespace {

void CollectNavigable(BView* view, std::vector<BView*>& views)
{
    if (view->IsHidden(nullptr))
        return;
    auto* control = dynamic_cast<BControl*>(view);
    if ((view->Flags() & (B_NAVIGABLE | B_NAVIGABLE_JUMP))
        && (control == nullptr || control->IsEnabled()))
        views.push_back(view);
    for (int32 i = 0; i < view->CountChildren(); ++i)
        CollectNavigable(view->ChildAt(i), views);
}

} // namespace

void BWindow::Navigate(bool backward)
{
    std::vector<BView*> views;
    CollectNavigable(fTopView, views);
    if (views.empty())
        return;
    auto at = std::find(views.begin(), views.end(), fFocus);
    size_t index = at == views.end() ? (backward ? views.size() - 1 : 0)
        : backward ? (size_t(at - views.begin()) + views.size() - 1) % views.size()
                   : (size_t(at - views.begin()) + 1) % views.size();
    views[index]->MakeFocus(true);
}

void BWindow::PulseViews(BView* view)
{
    if (view->Flags() & B_PULSE_NEEDED)
        view->Pulse();
    for (int32 i = 0; i < view->CountChildren(); ++i)
        PulseViews(view->ChildAt(i));
}

void BWindow::ActivateViews(BView* view, bool active)
{
    view->WindowActivated(active);
    for (int32 i = 0; i < view->CountChildren(); ++i)
        ActivateViews(view->ChildAt(i), active);
}

// Where the mouse is and which buttons are down: as last handled, brought
// up to date with the input still waiting (taken from the display first
// when on the UI thread), so that a loop tracking a drag sees the release.
void BWindow::CurrentMouse(BPoint* where, uint32* buttons, bool)
{
    if (MainLoop::Get().IsLoopThread()) {
        if (native::Display* display = UiDisplay::Native())
            display->Wait(0);
    }
    BPoint point = fMouse;
    uint32 held = fMouseButtons;
    {
        std::lock_guard<std::mutex> hold(fInputLock);
        for (const native::Event& event : fInput) {
            if (event.kind == native::kMouseDown || event.kind == native::kMouseUp
                || event.kind == native::kMouseMoved) {
                point = PointOf(event);
                held = uint32(event.buttons);
            }
        }
    }
    *where = point;
    *buttons = held;
}
