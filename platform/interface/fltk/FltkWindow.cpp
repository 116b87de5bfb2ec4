#include "FltkWindow.h"

#include "FltkDisplay.h"
#include "FltkEvents.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>
#include <FL/x.H>

namespace fltk_module {

FltkWindow::FltkWindow(FltkDisplay& display, native::Sink* sink, const native::WindowLayout& layout)
    : Fl_Double_Window(layout.frame.x, layout.frame.y, layout.frame.w > 0 ? layout.frame.w : 1,
        layout.frame.h > 0 ? layout.frame.h : 1)
    , fDisplay(display)
    , fSink(sink)
    , fKind(layout.kind)
    , fAvoidFocus(layout.avoidFocus || layout.kind == native::kTipWindow)
    , fResizable(layout.resizable)
    , fPainter(display)
{
    end(); // no FLTK widgets go inside
    copy_label(layout.title != nullptr ? layout.title : "");
    xclass("Stowfast");
    force_position(1);
    callback(CloseCallback, this);
    switch (fKind) {
    case native::kModalWindow:
    case native::kFloatingWindow:
        set_non_modal();
        break;
    case native::kPopupWindow:
    case native::kTipWindow:
        set_override();
        break;
    default:
        break;
    }
    if (!layout.bordered)
        clear_border();
    if (layout.resizable)
        size_range(1, 1);
    else
        size_range(w(), h(), w(), h());
}

FltkWindow::~FltkWindow()
{
    if (Fl::grab() == this)
        Fl::grab(nullptr);
}

void FltkWindow::SetTitle(const char* title)
{
    copy_label(title != nullptr ? title : "");
}

void FltkWindow::SetFrame(const native::Rect& frame)
{
    int width = frame.w > 0 ? frame.w : 1;
    int height = frame.h > 0 ? frame.h : 1;
    if (frame.x == x() && frame.y == y() && width == w() && height == h())
        return;
    fApplyingFrame = true;
    if (!fResizable)
        size_range(width, height, width, height);
    resize(frame.x, frame.y, width, height);
    fApplyingFrame = false;
}

void FltkWindow::Show()
{
    if (shown() && visible())
        return;
    show();
    // Without a window manager the toolkit moves a titled window down to
    // keep a title bar in view that nobody draws; it goes where it was put.
    if (!fDisplay.HasWindowManager())
        XMoveWindow(fl_display, fl_xid(this), x(), y());
    if (fKind == native::kPopupWindow)
        Fl::grab(this);
    if (!fAvoidFocus)
        TakeFocus();
}

void FltkWindow::Hide()
{
    if (Fl::grab() == this)
        Fl::grab(nullptr);
    hide();
}

void FltkWindow::Activate()
{
    if (!shown())
        return;
    show(); // raises a shown window and asks the desktop to activate it
    if (!fAvoidFocus)
        TakeFocus();
}

// A desktop's window manager gives the keyboard to the window it activates;
// without one (a bare X server), the window takes it itself.
void FltkWindow::TakeFocus()
{
    if (fDisplay.HasWindowManager() || !shown())
        return;
    XSetInputFocus(fl_display, fl_xid(this), RevertToParent, CurrentTime);
}

void FltkWindow::Invalidate(const native::Rect& area)
{
    if (area.w > 0 && area.h > 0)
        damage(FL_DAMAGE_ALL, area.x, area.y, area.w, area.h);
}

void FltkWindow::Destroy()
{
    fSink = nullptr;
    Hide();
    Fl::delete_widget(this);
}

void FltkWindow::draw()
{
    int x = 0, y = 0, width = 0, height = 0;
    fl_clip_box(0, 0, w(), h(), x, y, width, height);
    if (fSink == nullptr || width <= 0 || height <= 0)
        return;
    fPainter.Begin();
    fSink->Draw(fPainter, native::Rect {x, y, width, height});
    fPainter.End();
}

int FltkWindow::handle(int flEvent)
{
    native::Event event;
    if (!TranslateEvent(flEvent, event))
        return Fl_Double_Window::handle(flEvent);
    // Only the window with the keyboard takes keys: the toolkit offers
    // unhandled keys to other windows as shortcuts.
    if (flEvent == FL_SHORTCUT && Fl::focus() != this)
        return 0;
    Deliver(event);
    return 1;
}

void FltkWindow::resize(int x, int y, int width, int height)
{
    bool moved = x != this->x() || y != this->y();
    bool resized = width != w() || height != h();
    Fl_Double_Window::resize(x, y, width, height);
    if (fApplyingFrame)
        return;
    if (moved) {
        native::Event event;
        event.kind = native::kMoved;
        event.x = x;
        event.y = y;
        Deliver(event);
    }
    if (resized) {
        native::Event event;
        event.kind = native::kResized;
        event.width = width;
        event.height = height;
        Deliver(event);
    }
}

void FltkWindow::ScreenChanged()
{
    native::Event event;
    event.kind = native::kScreenChanged;
    Deliver(event);
}

void FltkWindow::CloseCallback(Fl_Widget*, void* data)
{
    // The kit decides whether the window closes (QuitRequested).
    native::Event event;
    event.kind = native::kCloseRequested;
    static_cast<FltkWindow*>(data)->Deliver(event);
}

void FltkWindow::Deliver(const native::Event& event)
{
    if (fSink != nullptr)
        fSink->HandleEvent(event);
}

} // namespace fltk_module
