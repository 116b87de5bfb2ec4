// A window: a looper whose messages the UI thread dispatches (MainLoop), the
// root of a view tree, and, when a display is connected, a native window
// that the UI thread creates, moves and redraws from the state kept here.
// Any thread may call its methods with the window locked (Show, Hide and the
// frame calls lock it themselves); views are touched under the lock only.
// Without a display a window still works: its views, its messages and the
// input a test hands it, nothing is drawn.
//
// Input arrives from the display (or a test) as events that the window turns
// into B_MOUSE_DOWN, B_KEY_DOWN, ... messages and dispatches at the start of
// the next turn, ahead of the queued messages, so that a flood of messages
// cannot hold input back.
#pragma once

#include "BLooper.h"
#include "BRect.h"
#include "BView.h"
#include "InterfaceDefs.h"
#include "NativeInterface.h"

#include <atomic>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class BButton;
class BMenuBar;
class WindowLink;

class BWindow : public BLooper {
public:
    BWindow(BRect frame, const char* title, window_type type, uint32 flags,
        uint32 workspaces = B_CURRENT_WORKSPACE);
    BWindow(BRect frame, const char* title, window_look look, window_feel feel, uint32 flags,
        uint32 workspaces = B_CURRENT_WORKSPACE);
    ~BWindow() override;

    thread_id Run() override;
    void Quit() override;
    bool QuitRequested() override;
    void DispatchMessage(BMessage* message, BHandler* handler) override;
    void MessageReceived(BMessage* message) override;

    virtual void FrameMoved(BPoint newPosition);
    virtual void FrameResized(float newWidth, float newHeight);
    virtual void WindowActivated(bool active);
    virtual void ScreenChanged(BRect screenFrame, color_space space);
    virtual void MenusBeginning();
    virtual void MenusEnded();

    // The first Show() also starts the window's loop.
    virtual void Show();
    virtual void Hide();
    bool IsHidden() const;
    void Minimize(bool minimize);
    bool IsMinimized() const { return false; }
    void Activate(bool active = true);
    bool IsActive() const;
    // The program's frontmost window.
    bool IsFront() const;

    // The frame is the content area on the screen, in points.
    void MoveTo(BPoint where);
    void MoveTo(float x, float y) { MoveTo(BPoint(x, y)); }
    void MoveBy(float dx, float dy);
    void ResizeTo(float width, float height);
    void ResizeBy(float dw, float dh);
    BRect Frame() const;
    BRect Bounds() const;
    void SetSizeLimits(float minWidth, float maxWidth, float minHeight, float maxHeight);
    void SetTitle(const char* title);
    const char* Title() const { return fTitle.c_str(); }

    window_look Look() const { return fLook; }
    window_feel Feel() const { return fFeel; }
    uint32 Flags() const { return fFlags; }
    status_t SetLook(window_look look);
    status_t SetFeel(window_feel feel);
    status_t SetFlags(uint32 flags);
    uint32 Workspaces() const { return fWorkspaces; }
    void SetWorkspaces(uint32 workspaces) { fWorkspaces = workspaces; }
    bool IsModal() const;
    bool IsFloating() const;

    void AddChild(BView* child, BView* before = nullptr);
    bool RemoveChild(BView* child);
    int32 CountChildren() const;
    BView* ChildAt(int32 index) const;
    BView* FindView(const char* name) const;
    BView* FindView(BPoint point) const;
    BView* CurrentFocus() const { return fFocus; }
    BView* LastMouseMovedView() const { return fLastMouseView; }

    // Command-key shortcuts (Ctrl here); `key` is matched without regard to
    // case.
    void AddShortcut(uint32 key, uint32 modifiers, BMessage* message);
    void AddShortcut(uint32 key, uint32 modifiers, BMessage* message, BHandler* target);
    void RemoveShortcut(uint32 key, uint32 modifiers);
    bool HasShortcut(uint32 key, uint32 modifiers) const;

    // Return presses the default button.
    void SetDefaultButton(BButton* button);
    BButton* DefaultButton() const { return fDefaultButton; }
    void SetKeyMenuBar(BMenuBar* bar) { fKeyMenuBar = bar; }
    BMenuBar* KeyMenuBar() const { return fKeyMenuBar; }

    // Views with B_PULSE_NEEDED get Pulse() this often (0: never).
    void SetPulseRate(bigtime_t rate);
    bigtime_t PulseRate() const { return fPulseRate; }

    void ConvertToScreen(BPoint* point) const;
    BPoint ConvertToScreen(BPoint point) const;
    void ConvertToScreen(BRect* rect) const;
    BRect ConvertToScreen(BRect rect) const;
    void ConvertFromScreen(BPoint* point) const;
    BPoint ConvertFromScreen(BPoint point) const;
    void ConvertFromScreen(BRect* rect) const;
    BRect ConvertFromScreen(BRect rect) const;

    // Drawing happens on the UI thread's turns; these ask for it sooner.
    void UpdateIfNeeded();
    bool NeedsUpdate() const;
    void DisableUpdates() { ++fUpdatesDisabled; }
    void EnableUpdates();

    // Hands the window an input event as the display does (device pixels,
    // InterfaceDefs.h values), from any thread; it is handled on the UI
    // thread's next turn. Tests drive windows through this.
    void PostInput(const native::Event& event);
    // Input handed over but not yet handled.
    bool HasPendingInput() const;

protected:
    // What kind of native window this is; menus and tips say so.
    void SetNativeKind(int kind) { fNativeKind = kind; }

private:
    friend class BView;
    friend class WindowLink;
    friend class WindowList;

    void Init(BRect frame, const char* title, window_look look, window_feel feel, uint32 flags,
        uint32 workspaces);
    void AddDefaultShortcuts();
    void Changed(uint32 what);

    // Called by views.
    void SetFocusView(BView* view, bool focus);
    void ViewRemoved(BView* view);
    void ViewHidden(BView* view);
    void SetMouseCapture(BView* view, bool capture);
    void CurrentMouse(BPoint* where, uint32* buttons, bool checkQueue);
    void SetTrackingRect(BRect rect, bool show);
    void InvalidateArea(BRect rect);

    // The UI thread, with the window locked.
    void TakeInput();
    void HandleEvent(const native::Event& event);
    void SyncNative();
    void CreateNative();
    void DestroyNative();
    void DrawNative(native::Painter& painter, const native::Rect& area);
    void DrawDecorations(native::Painter& painter, float scale);

    // Input messages to views.
    void MouseDown(BMessage* message);
    void MouseUp(BMessage* message);
    void MouseMoved(BMessage* message);
    void MouseWheel(BMessage* message);
    void KeyDown(BMessage* message);
    bool HandleShortcut(BMessage* message);
    void Navigate(bool backward);
    void PulseViews(BView* view);
    void ActivateViews(BView* view, bool active);
    void SetActive(bool active);
    void ApplyResize(float width, float height);
    void SendMouseTransit(BView* view, BPoint windowPoint, uint32 transit, BMessage* message);

    struct Shortcut {
        uint32 key;
        uint32 modifiers;
        BMessage message;
        BMessenger target;
    };

    // Changes waiting for the UI thread to bring the native window along.
    enum : uint32 {
        kChangedFrame = 0x01,
        kChangedTitle = 0x02,
        kChangedVisibility = 0x04,
        kChangedActivation = 0x08,
        kChangedKind = 0x10,
    };

    std::string fTitle;
    BRect fFrame;
    window_look fLook = B_TITLED_WINDOW_LOOK;
    window_feel fFeel = B_NORMAL_WINDOW_FEEL;
    uint32 fFlags = 0;
    uint32 fWorkspaces = B_CURRENT_WORKSPACE;
    int32 fShowLevel = 1;
    bool fActive = false;
    bool fStarted = false;
    int fNativeKind = -1;
    float fMinWidth = 0, fMaxWidth = 32768, fMinHeight = 0, fMaxHeight = 32768;

    BView* fTopView = nullptr;
    BView* fFocus = nullptr;
    BView* fLastMouseView = nullptr;
    BView* fCapture = nullptr;
    BButton* fDefaultButton = nullptr;
    BMenuBar* fKeyMenuBar = nullptr;
    std::vector<Shortcut> fShortcuts;
    BPoint fMouse; // window coordinates, as last handled
    uint32 fMouseButtons = 0;
    BRect fTrackingRect;
    bool fTracking = false;

    bigtime_t fPulseRate = 500000;
    int32 fPulseTimer = 0;
    bool fPulsePending = false;
    int32 fUpdatesDisabled = 0;

    mutable std::mutex fInputLock;
    std::deque<native::Event> fInput;

    uint32 fChanges = 0;
    std::atomic<bool> fRedrawAll {false}; // a draw found the window locked
    std::vector<BRect> fInvalid;
    std::unique_ptr<WindowLink> fLink;
    native::Window* fNative = nullptr;
};
