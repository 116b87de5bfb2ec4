#include "BWindow.h"

#include "AppDefs.h"
#include "BApplication.h"
#include "BButton.h"
#include "MainLoop.h"
#include "UiDisplay.h"
#include "WindowLink.h"
#include "WindowList.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace {

// The root of a window's views: keys no view took come back to the window.
class TopView final : public BView {
public:
    explicit TopView(BRect frame)
        : BView(frame, "top view", B_FOLLOW_ALL_SIDES, B_WILL_DRAW)
    {
        SetViewColor(ui_color(B_PANEL_BACKGROUND_COLOR));
    }

    void KeyDown(const char*, int32) override { }
};

window_look LookOf(window_type type)
{
    switch (type) {
    case B_MODAL_WINDOW:
        return B_MODAL_WINDOW_LOOK;
    case B_DOCUMENT_WINDOW:
        return B_DOCUMENT_WINDOW_LOOK;
    case B_BORDERED_WINDOW:
        return B_BORDERED_WINDOW_LOOK;
    case B_FLOATING_WINDOW:
        return B_FLOATING_WINDOW_LOOK;
    case B_UNTYPED_WINDOW:
    case B_TITLED_WINDOW:
    default:
        return B_TITLED_WINDOW_LOOK;
    }
}

window_feel FeelOf(window_type type)
{
    switch (type) {
    case B_MODAL_WINDOW:
        return B_MODAL_APP_WINDOW_FEEL;
    case B_FLOATING_WINDOW:
        return B_FLOATING_APP_WINDOW_FEEL;
    default:
        return B_NORMAL_WINDOW_FEEL;
    }
}

constexpr uint32 kShortcutModifiers = B_SHIFT_KEY | B_COMMAND_KEY | B_OPTION_KEY;

uint32 Lower(uint32 key)
{
    return key < 0x80 ? uint32(tolower(int(key))) : key;
}

} // namespace

BWindow::BWindow(BRect frame, const char* title, window_type type, uint32 flags, uint32 workspaces)
    : BLooper(title)
{
    Init(frame, title, LookOf(type), FeelOf(type), flags, workspaces);
}

BWindow::BWindow(BRect frame, const char* title, window_look look, window_feel feel, uint32 flags,
    uint32 workspaces)
    : BLooper(title)
{
    Init(frame, title, look, feel, flags, workspaces);
}

void BWindow::Init(BRect frame, const char* title, window_look look, window_feel feel, uint32 flags,
    uint32 workspaces)
{
    fTitle = title != nullptr ? title : "";
    fFrame = frame;
    fLook = look;
    fFeel = feel;
    fFlags = flags;
    fWorkspaces = workspaces;
    fTopView = new TopView(Bounds());
    fTopView->SetOwner(this, nullptr);
    AddDefaultShortcuts();
    WindowList::Add(this);
}

BWindow::~BWindow()
{
    WindowList::Remove(this);
    MainLoop& loop = MainLoop::Get();
    if (fPulseTimer != 0)
        loop.RemoveTimer(fPulseTimer);
    DestroyNative();
    delete fTopView;
    fTopView = nullptr;
    loop.Detach(this);
}

void BWindow::AddDefaultShortcuts()
{
    if (!(fFlags & B_NOT_CLOSABLE))
        AddShortcut('w', B_COMMAND_KEY, new BMessage(B_QUIT_REQUESTED));
}

thread_id BWindow::Run()
{
    if (fStarted)
        return Thread();
    if (be_app == nullptr) {
        fprintf(stderr, "BWindow::Run(): \"%s\" has no application to run it\n", Title());
        return B_NO_INIT;
    }
    MainLoop& loop = MainLoop::Get();
    status_t status = loop.Attach(this);
    if (status != B_OK)
        return status;
    fStarted = true;
    // The first window connects the display, on the UI thread.
    loop.Post([] { UiDisplay::Connect(); });
    SetPulseRate(fPulseRate);
    Changed(kChangedVisibility);
    return BLooper::Run();
}

void BWindow::Quit()
{
    if (!fStarted) {
        delete this;
        return;
    }
    BLooper::Quit();
}

bool BWindow::QuitRequested()
{
    return true;
}

void BWindow::FrameMoved(BPoint) { }
void BWindow::FrameResized(float, float) { }
void BWindow::WindowActivated(bool) { }
void BWindow::ScreenChanged(BRect, color_space) { }
void BWindow::MenusBeginning() { }
void BWindow::MenusEnded() { }

void BWindow::Changed(uint32 what)
{
    fChanges |= what;
    MainLoop::Get().Wake();
}

void BWindow::Show()
{
    if (!fStarted)
        Run();
    if (!Lock())
        return;
    if (--fShowLevel == 0) {
        Changed(kChangedVisibility);
        if (!(fFlags & B_AVOID_FOCUS))
            SetActive(true);
        WindowList::SetFront(this);
    }
    Unlock();
}

void BWindow::Hide()
{
    if (!Lock())
        return;
    if (fShowLevel++ == 0) {
        Changed(kChangedVisibility);
        if (fActive)
            SetActive(false);
    }
    Unlock();
}

bool BWindow::IsHidden() const
{
    return fShowLevel > 0;
}

void BWindow::Minimize(bool minimize)
{
    if (minimize)
        Hide();
    else
        Show();
}

void BWindow::Activate(bool active)
{
    if (!Lock())
        return;
    if (active && !IsHidden()) {
        WindowList::SetFront(this);
        Changed(kChangedActivation);
        if (!(fFlags & B_AVOID_FOCUS))
            SetActive(true);
    } else if (!active && fActive) {
        SetActive(false);
    }
    Unlock();
}

bool BWindow::IsActive() const
{
    return fActive;
}

bool BWindow::IsFront() const
{
    return WindowList::Front() == this;
}

// Activating one window of the program deactivates the others; each hears
// of it through B_WINDOW_ACTIVATED.
void BWindow::SetActive(bool active)
{
    if (active == fActive)
        return;
    fActive = active;
    BMessage message(B_WINDOW_ACTIVATED);
    message.AddBool("active", active);
    PostMessage(&message);
    if (!active)
        return;
    for (BWindow* other : WindowList::Snapshot()) {
        if (other != this && other->fActive) {
            other->fActive = false;
            BMessage off(B_WINDOW_ACTIVATED);
            off.AddBool("active", false);
            other->PostMessage(&off);
        }
    }
}

void BWindow::MoveTo(BPoint where)
{
    if (!Lock())
        return;
    if (where != fFrame.LeftTop()) {
        fFrame.OffsetTo(where.x, where.y);
        Changed(kChangedFrame);
        BMessage moved(B_WINDOW_MOVED);
        moved.AddPoint("where", where);
        PostMessage(&moved);
    }
    Unlock();
}

void BWindow::MoveBy(float dx, float dy)
{
    MoveTo(BPoint(fFrame.left + dx, fFrame.top + dy));
}

void BWindow::ResizeTo(float width, float height)
{
    if (!Lock())
        return;
    width = std::clamp(width, fMinWidth, fMaxWidth);
    height = std::clamp(height, fMinHeight, fMaxHeight);
    if (width != fFrame.Width() || height != fFrame.Height()) {
        ApplyResize(width, height);
        Changed(kChangedFrame);
    }
    Unlock();
}

void BWindow::ResizeBy(float dw, float dh)
{
    ResizeTo(fFrame.Width() + dw, fFrame.Height() + dh);
}

void BWindow::ApplyResize(float width, float height)
{
    fFrame.right = fFrame.left + width;
    fFrame.bottom = fFrame.top + height;
    fTopView->ResizeTo(width, height);
    BMessage resized(B_WINDOW_RESIZED);
    resized.AddFloat("width", width);
    resized.AddFloat("height", height);
    PostMessage(&resized);
}

BRect BWindow::Frame() const
{
    return fFrame;
}

BRect BWindow::Bounds() const
{
    return BRect(0, 0, fFrame.Width(), fFrame.Height());
}

void BWindow::SetSizeLimits(float minWidth, float maxWidth, float minHeight, float maxHeight)
{
    fMinWidth = minWidth;
    fMaxWidth = std::max(minWidth, maxWidth);
    fMinHeight = minHeight;
    fMaxHeight = std::max(minHeight, maxHeight);
}

void BWindow::SetTitle(const char* title)
{
    fTitle = title != nullptr ? title : "";
    SetName(fTitle.c_str());
    Changed(kChangedTitle);
}

status_t BWindow::SetLook(window_look look)
{
    fLook = look;
    Changed(kChangedKind);
    return B_OK;
}

status_t BWindow::SetFeel(window_feel feel)
{
    fFeel = feel;
    Changed(kChangedKind);
    return B_OK;
}

status_t BWindow::SetFlags(uint32 flags)
{
    fFlags = flags;
    Changed(kChangedKind);
    return B_OK;
}

bool BWindow::IsModal() const
{
    return fFeel == B_MODAL_APP_WINDOW_FEEL || fFeel == B_MODAL_SUBSET_WINDOW_FEEL
        || fFeel == B_MODAL_ALL_WINDOW_FEEL;
}

bool BWindow::IsFloating() const
{
    return fFeel == B_FLOATING_APP_WINDOW_FEEL || fFeel == B_FLOATING_SUBSET_WINDOW_FEEL
        || fFeel == B_FLOATING_ALL_WINDOW_FEEL;
}

void BWindow::AddChild(BView* child, BView* before)
{
    fTopView->AddChild(child, before);
}

bool BWindow::RemoveChild(BView* child)
{
    return fTopView->RemoveChild(child);
}

int32 BWindow::CountChildren() const
{
    return fTopView->CountChildren();
}

BView* BWindow::ChildAt(int32 index) const
{
    return fTopView->ChildAt(index);
}

BView* BWindow::FindView(const char* name) const
{
    return fTopView->FindView(name);
}

BView* BWindow::FindView(BPoint point) const
{
    BView* view = fTopView;
    BPoint local = point;
    while (BView* child = view->ChildUnder(local)) {
        local = child->ConvertFromParent(local);
        view = child;
    }
    return view;
}

void BWindow::SetFocusView(BView* view, bool focus)
{
    BView* old = fFocus;
    if (focus)
        fFocus = view;
    else if (fFocus == view)
        fFocus = nullptr;
    if (old != fFocus) {
        if (old != nullptr)
            old->Invalidate();
        if (fFocus != nullptr)
            fFocus->Invalidate();
    }
}

namespace {

bool Within(const BView* view, const BView* root)
{
    for (; view != nullptr; view = view->Parent()) {
        if (view == root)
            return true;
    }
    return false;
}

} // namespace

void BWindow::ViewRemoved(BView* view)
{
    if (Within(fFocus, view))
        fFocus = nullptr;
    if (Within(fLastMouseView, view))
        fLastMouseView = nullptr;
    if (Within(fCapture, view))
        fCapture = nullptr;
    if (Within(fDefaultButton, view))
        fDefaultButton = nullptr;
}

void BWindow::ViewHidden(BView* view)
{
    if (Within(fFocus, view))
        fFocus = nullptr;
    if (Within(fCapture, view))
        fCapture = nullptr;
}

void BWindow::SetMouseCapture(BView* view, bool capture)
{
    if (capture)
        fCapture = view;
    else if (fCapture == view)
        fCapture = nullptr;
}

void BWindow::AddShortcut(uint32 key, uint32 modifiers, BMessage* message)
{
    AddShortcut(key, modifiers, message, this);
}

void BWindow::AddShortcut(uint32 key, uint32 modifiers, BMessage* message, BHandler* target)
{
    if (message == nullptr)
        return;
    RemoveShortcut(key, modifiers);
    Shortcut shortcut {
        Lower(key), (modifiers | B_COMMAND_KEY) & kShortcutModifiers, *message, BMessenger()};
    if (target != nullptr && target->Looper() == this)
        shortcut.target = BMessenger(target);
    fShortcuts.push_back(std::move(shortcut));
    delete message;
}

void BWindow::RemoveShortcut(uint32 key, uint32 modifiers)
{
    uint32 wanted = (modifiers | B_COMMAND_KEY) & kShortcutModifiers;
    std::erase_if(fShortcuts, [&](const Shortcut& shortcut) {
        return shortcut.key == Lower(key) && shortcut.modifiers == wanted;
    });
}

bool BWindow::HasShortcut(uint32 key, uint32 modifiers) const
{
    uint32 wanted = (modifiers | B_COMMAND_KEY) & kShortcutModifiers;
    return std::any_of(fShortcuts.begin(), fShortcuts.end(), [&](const Shortcut& shortcut) {
        return shortcut.key == Lower(key) && shortcut.modifiers == wanted;
    });
}

void BWindow::SetDefaultButton(BButton* button)
{
    if (button == fDefaultButton)
        return;
    BButton* old = fDefaultButton;
    fDefaultButton = button;
    if (old != nullptr)
        old->Invalidate();
    if (button != nullptr)
        button->Invalidate();
}

// A pulse waits in the queue at most once, so a slow window is not flooded.
void BWindow::SetPulseRate(bigtime_t rate)
{
    MainLoop& loop = MainLoop::Get();
    fPulseRate = rate > 0 ? rate : 0;
    if (!fStarted)
        return;
    if (fPulseRate == 0) {
        if (fPulseTimer != 0)
            loop.RemoveTimer(fPulseTimer);
        fPulseTimer = 0;
        return;
    }
    if (fPulseTimer != 0) {
        loop.SetTimerInterval(fPulseTimer, fPulseRate);
        return;
    }
    fPulseTimer = loop.AddTimer(fPulseRate, [this] {
        if (fPulsePending)
            return;
        fPulsePending = PostMessage(B_PULSE) == B_OK;
    });
}

void BWindow::ConvertToScreen(BPoint* point) const
{
    if (point != nullptr)
        *point = ConvertToScreen(*point);
}

BPoint BWindow::ConvertToScreen(BPoint point) const
{
    return BPoint(point.x + fFrame.left, point.y + fFrame.top);
}

void BWindow::ConvertToScreen(BRect* rect) const
{
    if (rect != nullptr)
        *rect = ConvertToScreen(*rect);
}

BRect BWindow::ConvertToScreen(BRect rect) const
{
    return rect.OffsetBy(fFrame.left, fFrame.top);
}

void BWindow::ConvertFromScreen(BPoint* point) const
{
    if (point != nullptr)
        *point = ConvertFromScreen(*point);
}

BPoint BWindow::ConvertFromScreen(BPoint point) const
{
    return BPoint(point.x - fFrame.left, point.y - fFrame.top);
}

void BWindow::ConvertFromScreen(BRect* rect) const
{
    if (rect != nullptr)
        *rect = ConvertFromScreen(*rect);
}

BRect BWindow::ConvertFromScreen(BRect rect) const
{
    return rect.OffsetBy(-fFrame.left, -fFrame.top);
}

void BWindow::InvalidateArea(BRect rect)
{
    if (!rect.IsValid())
        return;
    if (fInvalid.size() >= 16) {
        BRect all = fInvalid.front();
        for (const BRect& area : fInvalid)
            all = all | area;
        fInvalid.assign(1, all);
    }
    fInvalid.push_back(rect);
    MainLoop::Get().Wake();
}

bool BWindow::NeedsUpdate() const
{
    return !fInvalid.empty();
}

void BWindow::EnableUpdates()
{
    if (fUpdatesDisabled > 0 && --fUpdatesDisabled == 0)
        MainLoop::Get().Wake();
}

void BWindow::UpdateIfNeeded()
{
    MainLoop& loop = MainLoop::Get();
    if (!loop.IsLoopThread() || !IsLocked())
        return;
    SyncNative();
    if (native::Display* display = UiDisplay::Native())
        display->Wait(0);
}

void BWindow::SetTrackingRect(BRect rect, bool show)
{
    if (fTracking)
        InvalidateArea(fTrackingRect);
    fTracking = show;
    fTrackingRect = rect;
    if (show)
        InvalidateArea(rect);
}
