#include "WindowAlertPresenter.h"

#include "AlertService.h"
#include "AlertWindow.h"
#include "BApplication.h"
#include "KernelThreads.h"
#include "MainLoop.h"
#include "UiDisplay.h"

#include <mutex>

namespace {

// How often a UI thread that waits for its turn looks again.
constexpr bigtime_t kTurnPoll = 10000;

// Closes a dialog nobody waits for any more (its worker was killed). A
// killed thread may send nothing, so the UI thread is asked to do it.
class CloseUnanswered {
public:
    CloseUnanswered(BMessenger window, std::shared_ptr<AlertState> state)
        : fWindow(window)
        , fState(std::move(state))
    { }
    ~CloseUnanswered()
    {
        std::lock_guard<std::mutex> hold(fState->lock);
        if (!fState->done) {
            MainLoop::Get().Post([window = fWindow] {
                BMessage cancel(AlertWindow::kCancelled);
                window.SendMessage(&cancel, static_cast<BHandler*>(nullptr), 0);
            });
        }
    }
    CloseUnanswered(const CloseUnanswered&) = delete;
    CloseUnanswered& operator=(const CloseUnanswered&) = delete;

private:
    BMessenger fWindow;
    std::shared_ptr<AlertState> fState;
};

} // namespace

WindowAlertPresenter::WindowAlertPresenter(std::shared_ptr<AlertPresenter> fallback)
    : fFallback(std::move(fallback))
{ }

void WindowAlertPresenter::Install()
{
    static std::once_flag once;
    std::call_once(once, [] {
        AlertService& service = AlertService::Default();
        std::shared_ptr<AlertPresenter> text = service.CurrentPresenter();
        service.SetPresenter(std::make_shared<WindowAlertPresenter>(text));
    });
}

bool WindowAlertPresenter::CanShow() const
{
    return UiDisplay::IsConnected() && be_app != nullptr && MainLoop::Get().IsRunning();
}

bool WindowAlertPresenter::KeepsServing() const
{
    MainLoop& loop = MainLoop::Get();
    return loop.IsLoopThread() && loop.IsRunning();
}

void WindowAlertPresenter::ServeUntil(const std::function<bool()>& ready)
{
    MainLoop& loop = MainLoop::Get();
    int32 poll = loop.AddTimer(kTurnPoll, [] {});
    AlertService::NestedScope nested;
    loop.RunUntil(ready);
    loop.RemoveTimer(poll);
}

AlertAnswer WindowAlertPresenter::Ask(const AlertRequest& request)
{
    if (!CanShow())
        return fFallback != nullptr ? fFallback->Ask(request) : alert_default_answer(request);
    auto state = std::make_shared<AlertState>();
    auto* window = new AlertWindow(request, state);
    BMessenger messenger(window);
    window->Show();
    MainLoop& loop = MainLoop::Get();
    if (loop.IsLoopThread()) {
        AlertService::NestedScope nested;
        loop.RunUntil([&] {
            std::lock_guard<std::mutex> hold(state->lock);
            return state->done;
        });
    } else {
        CloseUnanswered closer(messenger, state);
        std::unique_lock<std::mutex> hold(state->lock);
        thread_block(state->answered, hold, B_INFINITE_TIMEOUT, [&] { return state->done; });
    }
    std::lock_guard<std::mutex> hold(state->lock);
    return state->done ? state->answer : alert_default_answer(request);
}

void WindowAlertPresenter::Show(const AlertRequest& request)
{
    if (!CanShow()) {
        if (fFallback != nullptr)
            fFallback->Show(request);
        return;
    }
    auto* window = new AlertWindow(request, nullptr);
    window->Show();
}
