// The module's display: the toolkit's connection to the X server, its event
// loop with a wake-up pipe that any thread may write to, and what the
// windows share (the Xft surface, the image cache).
#pragma once

#include "ImageCache.h"
#include "NativeInterface.h"
#include "XftSurface.h"

#include <atomic>

namespace fltk_module {

class FltkDisplay final : public native::Display {
public:
    // Connects, or answers null with the reason.
    static FltkDisplay* Open(char* error, int errorSize);

    native::Window* CreateWindow(native::Sink* sink, const native::WindowLayout& layout) override;
    void Wait(double seconds) override;
    void Wake() override;
    void Sync() override;
    native::ScreenFacts Screen() override;
    void GetMouse(int* rootX, int* rootY, int* buttons) override;
    void Beep() override;

    // Whether a window manager runs (it then places and activates windows).
    bool HasWindowManager() const;
    XftSurface& Surface() { return fSurface; }
    ImageCache& Images() { return fImages; }

private:
    FltkDisplay() = default;
    bool StartWakePipe();
    static void WakeReadable(int fd, void* data);
    static int GlobalEvent(int event);

    int fWakePipe[2] = {-1, -1};
    std::atomic<bool> fWakePending {false};
    XftSurface fSurface;
    ImageCache fImages;
};

} // namespace fltk_module
