// Shows alerts as dialog windows (AlertWindow) while the program has a
// display and its application loop runs; otherwise the presenter it took
// over (the terminal's) answers. Asked from a worker, the worker waits while
// every window goes on drawing and answering; asked on the UI thread, a
// nested loop runs until the answer, so nothing deadlocks. A worker killed
// while it waits unwinds and its dialog closes.
#pragma once

#include "AlertPresenter.h"

#include <memory>

class WindowAlertPresenter : public AlertPresenter {
public:
    explicit WindowAlertPresenter(std::shared_ptr<AlertPresenter> fallback);

    AlertAnswer Ask(const AlertRequest& request) override;
    void Show(const AlertRequest& request) override;
    bool KeepsServing() const override;
    void ServeUntil(const std::function<bool()>& ready) override;

    // Puts a windowed presenter in front of the process's alert service
    // (once).
    static void Install();

private:
    bool CanShow() const;

    std::shared_ptr<AlertPresenter> fFallback;
};
