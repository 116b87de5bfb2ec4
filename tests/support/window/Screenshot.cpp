#include "Screenshot.h"

#include "BWindow.h"
#include "NativeModule.h"
#include "TestApplication.h"
#include "UiDisplay.h"
#include "UiScale.h"

#include <cmath>
#include <cstring>

namespace stowtest {

namespace {

void Receive(void* context, const uint8_t* rgba, int width, int height, int stride)
{
    auto* pixels = static_cast<Pixels*>(context);
    pixels->width = width;
    pixels->height = height;
    pixels->rgba.resize(size_t(width) * size_t(height) * 4);
    for (int row = 0; row < height; ++row)
        memcpy(&pixels->rgba[size_t(row) * size_t(width) * 4], rgba + size_t(row) * size_t(stride),
            size_t(width) * 4);
}

Pixels Capture(const native::Rect& area)
{
    Pixels pixels;
    TestApplication::Settle();
    if (native::Module* module = NativeModule::Get())
        module->Capture(area, Receive, &pixels);
    return pixels;
}

} // namespace

Pixels CaptureWindow(BWindow* window)
{
    BRect frame;
    TestApplication::Call([&] {
        if (window->Lock()) {
            frame = window->Frame();
            window->Unlock();
        }
    });
    float scale = ui_scale();
    native::Rect area {int(std::lround(frame.left * scale)), int(std::lround(frame.top * scale)),
        int(std::lround((frame.Width() + 1) * scale)),
        int(std::lround((frame.Height() + 1) * scale))};
    return Capture(area);
}

Pixels CaptureScreen()
{
    native::ScreenFacts facts = UiDisplay::Screen();
    return Capture(facts.frame);
}

bool SaveWindow(BWindow* window, const std::string& path)
{
    Pixels pixels = CaptureWindow(window);
    return WritePng(path, pixels);
}

} // namespace stowtest
