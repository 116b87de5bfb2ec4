// The window base of both programs: placements on the screen or around
// another window, show and hide that do not stack, bringing a window
// forward, keeping its place in proportion when the screen changes, and the
// Shift+F1 help request to the application.
#pragma once

#include "BWindow.h"

// The code of the help request posted to the application: string "window",
// strings "view" (the view under the pointer, then its ancestors, innermost
// first) and, when the window adds some, the message "inserts".
constexpr uint32 kHelpRequest = FourCC('h', 'e', 'l', 'p');

class LibWindow : public BWindow {
public:
    // A 3 by 3 grid, row by row from the top left.
    enum ScreenPosition : int32 {
        kTopLeft = 0,
        kTopCenter,
        kTopRight,
        kMiddleLeft,
        kCenter,
        kMiddleRight,
        kBottomLeft,
        kBottomCenter,
        kBottomRight,
    };

    LibWindow(BRect frame, const char* title, window_look look, window_feel feel,
        unsigned long flags, unsigned long workspaces);
    ~LibWindow() override;

    // On the main screen without a parent; around the parent's frame,
    // outside it, with one (and then kept on the screen).
    void SetPosition(const LibWindow::ScreenPosition& position, BWindow* parent);
    // Act only when the window is hidden, or shown, respectively.
    void Show() override;
    void Hide() override;
    // Shows the window if hidden and activates it unless it is in front.
    void Pop();

    void ScreenChanged(BRect screenFrame, color_space space) override;
    void DispatchMessage(BMessage* message, BHandler* handler) override;
    void MessageReceived(BMessage* message) override;
    // A derived window fills `inserts` and answers true to attach them to a
    // help request about `view`.
    virtual bool InsertHelpRequest(BView* view, BMessage& inserts);

    // Where SetPosition puts a window of `size` (width and height as
    // Bounds() gives them) with title bar allowance `titleHeight`.
    static BPoint PlaceOnScreen(
        const LibWindow::ScreenPosition& position, BRect screen, BPoint size, float titleHeight);
    static BPoint PlaceAround(const LibWindow::ScreenPosition& position, BRect parent, BRect screen,
        BPoint size, float titleHeight);

private:
    static bool IsHelpKey(BMessage* message);
    void PostHelpRequest();

    BRect fScreenFrame;
};
