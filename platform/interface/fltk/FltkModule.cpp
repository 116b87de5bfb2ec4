// The module's entry point: the one symbol it exports.
#include "FltkDisplay.h"
#include "NativeInterface.h"
#include "PngReader.h"
#include "ScreenAccess.h"

#include <cstdio>
#include <mutex>

namespace fltk_module {

namespace {

class FltkModule final : public native::Module {
public:
    int AbiVersion() const override { return native::kAbiVersion; }

    native::Display* OpenDisplay(char* error, int errorSize) override
    {
        std::lock_guard<std::mutex> hold(fLock);
        if (fTried) {
            if (fDisplay == nullptr)
                snprintf(error, size_t(errorSize), "%s", fError);
            return fDisplay;
        }
        fTried = true;
        fDisplay = FltkDisplay::Open(fError, int(sizeof(fError)));
        if (fDisplay == nullptr)
            snprintf(error, size_t(errorSize), "%s", fError);
        return fDisplay;
    }

    bool ProbeScreen(native::ScreenFacts* facts) override
    {
        return fltk_module::ProbeScreen(facts);
    }

    bool Capture(const native::Rect& area, native::PixelSink sink, void* context) override
    {
        return CaptureScreen(area, sink, context);
    }

    bool ReadPng(const char* path, int maxSide, native::PixelSink sink, void* context) override
    {
        return fltk_module::ReadPng(path, maxSide, sink, context);
    }

private:
    std::mutex fLock;
    bool fTried = false;
    FltkDisplay* fDisplay = nullptr;
    char fError[256] = {};
};

} // namespace

} // namespace fltk_module

extern "C" __attribute__((visibility("default"))) native::Module* stow_interface_module(
    int abiVersion)
{
    static fltk_module::FltkModule module;
    return abiVersion == native::kAbiVersion ? &module : nullptr;
}
