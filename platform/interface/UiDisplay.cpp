#include "UiDisplay.h"

#include "DisplayLoopBackend.h"
#include "MainLoop.h"
#include "NativeModule.h"
#include "UiScale.h"
#include "WindowAlertPresenter.h"

#include <atomic>
#include <cstdlib>
#include <mutex>

namespace {

struct State {
    std::mutex lock;
    bool tried = false;
    std::atomic<native::Display*> display {nullptr};
    native::ScreenFacts screen;
    std::string problem;
};

State& Shared()
{
    static State state;
    return state;
}

} // namespace

bool UiDisplay::Connect()
{
    State& state = Shared();
    std::lock_guard<std::mutex> hold(state.lock);
    if (state.tried)
        return state.display != nullptr;
    MainLoop& loop = MainLoop::Get();
    if (loop.Thread() >= 0 && !loop.IsLoopThread()) {
        state.problem = "the display is connected on the UI thread only";
        return false;
    }
    state.tried = true;
    native::Module* module = NativeModule::Get();
    if (module == nullptr) {
        state.problem = NativeModule::Problem();
        return false;
    }
    char error[256] = {};
    native::Display* display = module->OpenDisplay(error, int(sizeof(error)));
    if (display == nullptr) {
        state.problem = error;
        return false;
    }
    state.screen = display->Screen();
    set_ui_scale(ui_scale_from(getenv("STOW_SCALE"), getenv("GDK_SCALE"), state.screen.dpi));
    loop.SetBackend(std::make_unique<DisplayLoopBackend>(display));
    state.display = display;
    WindowAlertPresenter::Install();
    return true;
}

bool UiDisplay::IsConnected()
{
    return Shared().display != nullptr;
}

native::Display* UiDisplay::Native()
{
    return Shared().display;
}

native::ScreenFacts UiDisplay::Screen()
{
    State& state = Shared();
    {
        std::lock_guard<std::mutex> hold(state.lock);
        if (state.display != nullptr)
            return state.screen;
    }
    native::ScreenFacts facts;
    if (native::Module* module = NativeModule::Get())
        module->ProbeScreen(&facts);
    return facts;
}

std::string UiDisplay::Problem()
{
    State& state = Shared();
    std::lock_guard<std::mutex> hold(state.lock);
    return state.display != nullptr ? "" : state.problem;
}

void UiDisplay::ScreenChanged()
{
    State& state = Shared();
    std::lock_guard<std::mutex> hold(state.lock);
    if (state.display != nullptr)
        state.screen = state.display.load()->Screen();
}
