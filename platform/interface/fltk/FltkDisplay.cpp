#include "FltkDisplay.h"

#include "FltkWindow.h"
#include "XResources.h"

#include <FL/Fl.H>
#include <FL/fl_ask.H>
#include <FL/x.H>
#include <X11/Xatom.h>

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace fltk_module {

namespace {

FltkDisplay* gDisplay = nullptr;

} // namespace

FltkDisplay* FltkDisplay::Open(char* error, int errorSize)
{
    ::Display* connection = XOpenDisplay(nullptr);
    if (connection == nullptr) {
        const char* name = getenv("DISPLAY");
        snprintf(error, size_t(errorSize), "cannot open the display \"%s\"",
            name != nullptr ? name : "");
        return nullptr;
    }
    // Handing the toolkit an open connection keeps it from ending the
    // process when there is none.
    fl_open_display(connection);
    Fl::visual(FL_RGB);
    auto* display = new FltkDisplay;
    if (!display->StartWakePipe()) {
        snprintf(error, size_t(errorSize), "cannot make the wake-up pipe");
        delete display;
        return nullptr;
    }
    Fl::add_handler(GlobalEvent);
    gDisplay = display;
    return display;
}

bool FltkDisplay::StartWakePipe()
{
    if (pipe2(fWakePipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    Fl::add_fd(fWakePipe[0], FL_READ, WakeReadable, this);
    return true;
}

native::Window* FltkDisplay::CreateWindow(native::Sink* sink, const native::WindowLayout& layout)
{
    return new FltkWindow(*this, sink, layout);
}

void FltkDisplay::Wait(double seconds)
{
    Fl::wait(seconds > 0 ? seconds : 0);
}

void FltkDisplay::Wake()
{
    if (fWakePending.exchange(true))
        return;
    char byte = 1;
    ssize_t written = write(fWakePipe[1], &byte, 1);
    (void)written; // a full pipe already wakes the loop
}

// Cleared after draining: a Wake() cleared first could write its byte before
// the drain took it, leaving the flag set over an empty pipe, and every
// later Wake() would then write nothing. A Wake() that finds the flag still
// set here needs no byte, as the loop takes a turn after this handler.
void FltkDisplay::WakeReadable(int fd, void* data)
{
    char buffer[64];
    while (read(fd, buffer, sizeof(buffer)) > 0) { }
    static_cast<FltkDisplay*>(data)->fWakePending = false;
}

void FltkDisplay::Sync()
{
    XSync(fl_display, False);
}

native::ScreenFacts FltkDisplay::Screen()
{
    native::ScreenFacts facts;
    Fl::screen_xywh(facts.frame.x, facts.frame.y, facts.frame.w, facts.frame.h, 0);
    facts.depth = fl_visual != nullptr ? fl_visual->depth : 24;
    facts.dpi = XftDpi(fl_display);
    return facts;
}

void FltkDisplay::GetMouse(int* rootX, int* rootY, int* buttons)
{
    ::Window root = 0, child = 0;
    int x = 0, y = 0, windowX = 0, windowY = 0;
    unsigned mask = 0;
    XQueryPointer(fl_display, RootWindow(fl_display, fl_screen), &root, &child, &x, &y, &windowX,
        &windowY, &mask);
    if (rootX != nullptr)
        *rootX = x;
    if (rootY != nullptr)
        *rootY = y;
    if (buttons != nullptr)
        *buttons = ((mask & Button1Mask) ? 1 : 0) | ((mask & Button3Mask) ? 2 : 0)
            | ((mask & Button2Mask) ? 4 : 0);
}

void FltkDisplay::Beep()
{
    fl_beep();
}

bool FltkDisplay::HasWindowManager() const
{
    static Atom check = XInternAtom(fl_display, "_NET_SUPPORTING_WM_CHECK", False);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    int status = XGetWindowProperty(fl_display, RootWindow(fl_display, fl_screen), check, 0, 1,
        False, XA_WINDOW, &type, &format, &count, &after, &data);
    bool found = status == Success && type == XA_WINDOW && count == 1;
    if (data != nullptr)
        XFree(data);
    return found;
}

// Screen changes reach every window: the kit then tells its windows.
int FltkDisplay::GlobalEvent(int event)
{
    if (event != FL_SCREEN_CONFIGURATION_CHANGED || gDisplay == nullptr)
        return 0;
    for (Fl_Window* window = Fl::first_window(); window != nullptr;
         window = Fl::next_window(window)) {
        if (auto* ours = dynamic_cast<FltkWindow*>(window))
            ours->ScreenChanged();
    }
    return 0;
}

} // namespace fltk_module
