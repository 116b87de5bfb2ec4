// An alert presenter for tests: answers every question with `reply`,
// remembers what it was asked and shown, and is put into the process's
// alert service for the lifetime of a ScopedPresenter.
#pragma once

#include "AlertService.h"

#include <memory>
#include <vector>

namespace stowtest {

class ScriptedPresenter : public AlertPresenter {
public:
    AlertAnswer Ask(const AlertRequest& request) override
    {
        asked.push_back(request);
        return reply;
    }
    void Show(const AlertRequest& request) override { shown.push_back(request); }

    AlertAnswer reply;
    std::vector<AlertRequest> asked;
    std::vector<AlertRequest> shown;
};

class ScopedPresenter {
public:
    ScopedPresenter()
        : presenter(std::make_shared<ScriptedPresenter>())
        , fPrevious(AlertService::Default().SetPresenter(presenter))
    { }
    ~ScopedPresenter() { AlertService::Default().SetPresenter(fPrevious); }
    ScopedPresenter(const ScopedPresenter&) = delete;
    ScopedPresenter& operator=(const ScopedPresenter&) = delete;

    std::shared_ptr<ScriptedPresenter> presenter;

private:
    std::shared_ptr<AlertPresenter> fPrevious;
};

} // namespace stowtest
