// The boundary between the interface kit and the module that talks to the
// display (FLTK, X11, Xft). The programs never link the module: the kit loads
// it when a display is wanted (NativeModule) and reaches it only through
// these classes. Only plain types cross: numbers, const char*, arrays and
// the structs below; no std:: types, no exceptions, no ownership beyond what
// each call says. Both sides are built from this header in one build, so a
// change here changes kAbiVersion.
//
// Coordinates are device pixels. Colours are straight (not premultiplied)
// red, green, blue, alpha.
#pragma once

#include <cstdint>

namespace native {

constexpr int kAbiVersion = 1;

struct Rect {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
};

// Receives pixels: `rgba` holds `height` rows of `stride` bytes, four bytes
// (red, green, blue, alpha) a pixel; valid only during the call.
using PixelSink = void (*)(void* context, const uint8_t* rgba, int width, int height, int stride);

enum EventKind : int {
    kMouseDown,
    kMouseUp,
    kMouseMoved,
    kMouseLeft, // the pointer left the window
    kWheel,
    kKeyDown,
    kKeyUp,
    kFocusIn,
    kFocusOut,
    kMoved,   // x, y: the window's new position on the screen
    kResized, // width, height: its new size
    kCloseRequested,
    kScreenChanged,
};

// Modifier and key values are the kit's own (InterfaceDefs.h): the module
// translates the toolkit's.
struct Event {
    int kind = kMouseMoved;
    int x = 0; // pointer in window pixels; or the window's position (kMoved)
    int y = 0;
    int rootX = 0;
    int rootY = 0;
    int width = 0; // kResized
    int height = 0;
    int buttons = 0; // mouse buttons held after the event: 1 primary, 2 secondary, 4 tertiary
    int modifiers = 0;
    int clicks = 1;
    int key = 0;      // the physical key (the kit's raw key number), 0 when unknown
    char bytes[8] {}; // what the key types, UTF-8, zero-terminated
    float wheelX = 0;
    float wheelY = 0;
};

// A run of characters placed by the kit: character i is drawn with its
// origin (on the baseline) at xs[i], ys[i]. The kit measures every advance,
// so what is drawn is exactly what was measured.
struct TextRun {
    const char* fontFile = nullptr; // null or "": the desktop's sans-serif
    int faceIndex = 0;
    double pixelSize = 10;
    int angle = 0; // degrees counter-clockwise: 0 or 90
    const uint32_t* codes = nullptr;
    const float* xs = nullptr;
    const float* ys = nullptr;
    int count = 0;
};

// Pixels to draw. `id` and `version` name the picture for the module's
// cache: the same id and version promise the same pixels.
struct Image {
    const uint8_t* rgba = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0;
    uint64_t id = 0;
    uint32_t version = 0;
    bool opaque = false; // every alpha is 255: no blending needed
};

// Drawing into a window, valid only inside Sink::Draw on the UI thread.
class Painter {
public:
    virtual void SetColor(uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha) = 0;
    // Alpha below 255 blends the colour over what is there.
    virtual void FillRect(int x, int y, int width, int height) = 0;
    virtual void StrokeLine(float x0, float y0, float x1, float y1, float width) = 0;
    // `xy` holds `count` points as x, y pairs.
    virtual void FillPolygon(const float* xy, int count) = 0;
    virtual void StrokePolygon(const float* xy, int count, bool closed, float width) = 0;
    virtual void FillEllipse(float x, float y, float width, float height) = 0;
    virtual void StrokeEllipse(float x, float y, float width, float height, float lineWidth) = 0;
    virtual void DrawText(const TextRun& run) = 0;
    // Scales the image to the destination rectangle; blends unless opaque.
    virtual void DrawImage(const Image& image, int x, int y, int width, int height) = 0;
    // Clips to the intersection with the current clip.
    virtual void PushClip(int x, int y, int width, int height) = 0;
    virtual void PopClip() = 0;

protected:
    ~Painter() = default;
};

// What the kit gives each native window: called on the UI thread only.
class Sink {
public:
    // Redraw `area` (window pixels); the painter is clipped to it.
    virtual void Draw(Painter& painter, const Rect& area) = 0;
    virtual void HandleEvent(const Event& event) = 0;

protected:
    ~Sink() = default;
};

enum WindowKind : int {
    kNormalWindow,
    kModalWindow,    // stays above the program's other windows
    kFloatingWindow, // stays above, never the main window
    kPopupWindow,    // menus: no frame, not managed, takes the pointer
    kTipWindow,      // tips: no frame, not managed, never takes input focus
};

struct WindowLayout {
    const char* title = "";
    Rect frame; // the content area on the screen
    int kind = kNormalWindow;
    bool bordered = true; // the desktop's frame and title bar
    bool resizable = false;
    bool avoidFocus = false;
};

// A top-level window. Every call is for the UI thread.
class Window {
public:
    virtual void SetTitle(const char* title) = 0;
    virtual void SetFrame(const Rect& frame) = 0;
    virtual void Show() = 0;
    virtual void Hide() = 0;
    // Raises the window and gives it the keyboard.
    virtual void Activate() = 0;
    // Marks an area for redrawing; the next Display::Wait draws it.
    virtual void Invalidate(const Rect& area) = 0;
    // Closes the window and deletes this object; the sink is not called again.
    virtual void Destroy() = 0;

protected:
    ~Window() = default;
};

struct ScreenFacts {
    Rect frame; // the main screen
    int depth = 0;
    float dpi = 0; // the desktop's Xft.dpi, 0 when not set
};

// The display connection and the event loop, for the UI thread, except
// where a call says otherwise.
class Display {
public:
    virtual Window* CreateWindow(Sink* sink, const WindowLayout& layout) = 0;
    // Draws what was invalidated, then waits up to `seconds` (0: not at
    // all) for events or a Wake() and handles the events that came.
    virtual void Wait(double seconds) = 0;
    // Any thread: makes a Wait return soon.
    virtual void Wake() = 0;
    // Waits until the display has carried out every request sent so far.
    virtual void Sync() = 0;
    virtual ScreenFacts Screen() = 0;
    // The pointer on the screen and the mouse buttons held.
    virtual void GetMouse(int* rootX, int* rootY, int* buttons) = 0;
    virtual void Beep() = 0;

protected:
    ~Display() = default;
};

// What the loaded module offers; every call may come from any thread.
class Module {
public:
    virtual int AbiVersion() const = 0;
    // Connects to the display named by DISPLAY, once: null (with a reason
    // in `error`) when there is none or it refuses. The calling thread
    // becomes the UI thread.
    virtual Display* OpenDisplay(char* error, int errorSize) = 0;
    // The main screen, asked over a connection of its own.
    virtual bool ProbeScreen(ScreenFacts* facts) = 0;
    // The screen's pixels in an area, over a connection of its own.
    virtual bool Capture(const Rect& area, PixelSink sink, void* context) = 0;
    // Decodes a PNG file of at most `maxSide` pixels a side.
    virtual bool ReadPng(const char* path, int maxSide, PixelSink sink, void* context) = 0;

protected:
    ~Module() = default;
};

} // namespace native

// The module's one exported symbol: its Module, or null when it was built
// for another version of this header.
extern "C" {
typedef native::Module* (*stow_interface_module_entry)(int abiVersion);
}
constexpr const char* kInterfaceModuleEntry = "stow_interface_module";
