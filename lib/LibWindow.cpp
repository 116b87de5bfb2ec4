#include "LibWindow.h"

#include "AppDefs.h"
#include "BApplication.h"
#include "BScreen.h"

namespace {

// Room left above a window for the title bar that the desktop adds.
constexpr float kTitleHeight = 30;

float Column(int32 position, float left, float center, float right)
{
    int32 column = position % 3;
    return column == 0 ? left : column == 1 ? center : right;
}

float Row(int32 position, float top, float middle, float bottom)
{
    int32 row = position / 3;
    return row == 0 ? top : row == 1 ? middle : bottom;
}

} // namespace

LibWindow::LibWindow(BRect frame, const char* title, window_look look, window_feel feel,
    unsigned long flags, unsigned long workspaces)
    : BWindow(frame, title, look, feel, uint32(flags), uint32(workspaces))
    , fScreenFrame(BScreen().Frame())
{ }

LibWindow::~LibWindow() = default;

BPoint LibWindow::PlaceOnScreen(
    const LibWindow::ScreenPosition& position, BRect screen, BPoint size, float titleHeight)
{
    float cx = (screen.left + screen.right) / 2;
    float cy = (screen.top + screen.bottom) / 2;
    return BPoint(Column(position, 10, cx - size.x / 2, screen.right - size.x - 10),
        Row(position, titleHeight, cy - size.y / 2, screen.bottom - size.y - 10));
}

BPoint LibWindow::PlaceAround(const LibWindow::ScreenPosition& position, BRect parent, BRect screen,
    BPoint size, float titleHeight)
{
    float cx = (parent.left + parent.right) / 2;
    float cy = (parent.top + parent.bottom) / 2;
    BPoint where(Column(position, parent.left - size.x - 20, cx - size.x / 2, parent.right + 20),
        Row(position, parent.top - size.y - titleHeight, cy - size.y / 2,
            parent.bottom + titleHeight + 10));
    // Kept on the screen, below the title bar of a window at the very top.
    if (where.y < 0)
        where.y = 25;
    else if (where.y > screen.bottom - size.y)
        where.y = screen.bottom - size.y - 5;
    if (where.x < 0)
        where.x = 2;
    else if (where.x > screen.right - size.x)
        where.x = screen.right - size.x - 5;
    return where;
}

void LibWindow::SetPosition(const LibWindow::ScreenPosition& position, BWindow* parent)
{
    if (position < kTopLeft || position > kBottomRight)
        return;
    BRect bounds = Bounds();
    BPoint size(bounds.Width(), bounds.Height());
    bool titled = Look() == B_TITLED_WINDOW_LOOK || Look() == B_DOCUMENT_WINDOW_LOOK;
    float titleHeight = titled ? kTitleHeight : 0;
    BRect screen = BScreen().Frame();
    if (parent == nullptr)
        MoveTo(PlaceOnScreen(position, screen, size, titleHeight));
    else
        MoveTo(PlaceAround(position, parent->Frame(), screen, size, titleHeight));
}

void LibWindow::Show()
{
    if (!Lock())
        return;
    if (IsHidden())
        BWindow::Show();
    Unlock();
}

void LibWindow::Hide()
{
    if (!Lock())
        return;
    if (!IsHidden())
        BWindow::Hide();
    Unlock();
}

void LibWindow::Pop()
{
    if (!Lock())
        return;
    SetWorkspaces(B_CURRENT_WORKSPACE);
    if (IsHidden())
        Show();
    if (!IsFront())
        Activate(true);
    Unlock();
}

void LibWindow::ScreenChanged(BRect screenFrame, color_space space)
{
    BWindow::ScreenChanged(screenFrame, space);
    if (screenFrame == fScreenFrame)
        return;
    float oldWidth = fScreenFrame.Width();
    float oldHeight = fScreenFrame.Height();
    if (oldWidth > 0 && oldHeight > 0) {
        BRect frame = Frame();
        MoveTo(frame.left / oldWidth * screenFrame.Width(),
            frame.top / oldHeight * screenFrame.Height());
    }
    fScreenFrame = screenFrame;
}

// Shift+F1 asks for help wherever the keyboard focus is, so the key comes
// here instead of going to the focus view.
void LibWindow::DispatchMessage(BMessage* message, BHandler* handler)
{
    if (handler == this && IsHelpKey(message)) {
        MessageReceived(message);
        return;
    }
    BWindow::DispatchMessage(message, handler);
}

void LibWindow::MessageReceived(BMessage* message)
{
    if (IsHelpKey(message))
        PostHelpRequest();
    BWindow::MessageReceived(message);
}

bool LibWindow::InsertHelpRequest(BView*, BMessage&)
{
    return false;
}

bool LibWindow::IsHelpKey(BMessage* message)
{
    return message->what == B_KEY_DOWN && (message->FindInt32("modifiers") & B_SHIFT_KEY) != 0
        && message->FindInt32("key") == B_F1_KEY;
}

void LibWindow::PostHelpRequest()
{
    if (!Lock())
        return;
    BView* view = LastMouseMovedView();
    if (view != nullptr && be_app != nullptr) {
        BMessage request(kHelpRequest);
        request.AddString("window", Name());
        request.AddString("view", view->Name());
        BMessage inserts;
        if (InsertHelpRequest(view, inserts))
            request.AddMessage("inserts", &inserts);
        // The window's own root view is the kit's, not the program's.
        for (BView* parent = view->Parent(); parent != nullptr && parent->Parent() != nullptr;
             parent = parent->Parent())
            request.AddString("view", parent->Name());
        be_app->PostMessage(&request);
    }
    Unlock();
}
