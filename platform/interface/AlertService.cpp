#include "AlertService.h"

#include "TextAlertPresenter.h"

#include <iostream>

namespace {

// Set while this thread is inside a presenter: an alert asked from there
// would wait for itself.
thread_local bool sPresenting = false;
// How many alerts this thread is showing, one inside the other.
thread_local int sShowing = 0;

class PresentingScope {
public:
    PresentingScope() { sPresenting = true; }
    ~PresentingScope() { sPresenting = false; }
};

bool ValidButton(const AlertRequest& request, int32 button)
{
    return button >= 0 && size_t(button) < request.buttons.size();
}

} // namespace

AlertService::NestedScope::NestedScope()
    : fWasPresenting(sPresenting)
{
    sPresenting = false;
}

AlertService::NestedScope::~NestedScope()
{
    sPresenting = fWasPresenting;
}

// Holds the turn for one alert (and releases it however the asking ends).
class AlertService::ShowTurn {
public:
    ShowTurn(AlertService& service, const std::shared_ptr<AlertPresenter>& presenter)
        : fService(service)
    {
        fService.AcquireShowLock(presenter);
    }
    ~ShowTurn() { fService.ReleaseShowLock(); }
    ShowTurn(const ShowTurn&) = delete;
    ShowTurn& operator=(const ShowTurn&) = delete;

private:
    AlertService& fService;
};

// A thread that must go on serving (the UI thread) waits for its turn by
// serving, not by blocking: the alert before it is answered there.
void AlertService::AcquireShowLock(const std::shared_ptr<AlertPresenter>& presenter)
{
    if (sShowing > 0) {
        ++sShowing;
        return;
    }
    if (presenter != nullptr && presenter->KeepsServing())
        presenter->ServeUntil([this] { return fShowLock.try_lock(); });
    else
        fShowLock.lock();
    sShowing = 1;
}

void AlertService::ReleaseShowLock()
{
    if (--sShowing == 0)
        fShowLock.unlock();
}

AlertService::AlertService(std::shared_ptr<AlertPresenter> presenter, std::ostream& report)
    : fPresenter(std::move(presenter))
    , fReport(report)
{ }

AlertService& AlertService::Default()
{
    // Never destroyed: alerts shown while the program exits still find it.
    static AlertService* service
        = new AlertService(std::make_shared<TextAlertPresenter>(), std::cerr);
    return *service;
}

bool AlertService::PresetAnswer(const AlertRequest& request, AlertAnswer& answer) const
{
    std::lock_guard<std::mutex> lock(fSettingsLock);
    auto found = fAnswers.find(request.purpose);
    if (found != fAnswers.end() && ValidButton(request, found->second.button)) {
        answer = found->second;
        answer.checked = request.checkBox.has_value() && answer.checked;
        return true;
    }
    if (fMode == AlertMode::Unattended) {
        answer = alert_default_answer(request);
        return true;
    }
    return false;
}

bool AlertService::AnsweredWithoutUser(
    const AlertRequest& request, AlertAnswer& answer, std::shared_ptr<AlertPresenter>& presenter)
{
    bool preset = PresetAnswer(request, answer);
    {
        std::lock_guard<std::mutex> lock(fSettingsLock);
        presenter = fPresenter;
    }
    if (!preset && presenter != nullptr)
        return false;
    if (!preset)
        answer = alert_default_answer(request);
    fReport << alert_answer_report(request, answer) << std::flush;
    return true;
}

AlertAnswer AlertService::Ask(const AlertRequest& request)
{
    if (sPresenting) {
        std::cerr << "alert asked while another is shown on this thread: not shown\n";
        return AlertAnswer();
    }
    if (request.buttons.empty())
        return AlertAnswer();
    BeforeAlert();
    ShowTurn turn(*this, CurrentPresenter());
    AlertAnswer answer;
    std::shared_ptr<AlertPresenter> presenter;
    if (AnsweredWithoutUser(request, answer, presenter))
        return answer;
    PresentingScope scope;
    answer = presenter->Ask(request);
    if (!ValidButton(request, answer.button))
        answer.button = request.DefaultAnswer();
    answer.checked = request.checkBox.has_value() && answer.checked;
    return answer;
}

void AlertService::Show(const AlertRequest& request)
{
    if (sPresenting || request.buttons.empty())
        return;
    BeforeAlert();
    ShowTurn turn(*this, CurrentPresenter());
    AlertAnswer answer;
    std::shared_ptr<AlertPresenter> presenter;
    if (AnsweredWithoutUser(request, answer, presenter))
        return;
    PresentingScope scope;
    presenter->Show(request);
}

void AlertService::SetBeforeAlert(std::function<void()> hook)
{
    std::lock_guard<std::mutex> lock(fSettingsLock);
    fBeforeAlert = std::move(hook);
}

void AlertService::BeforeAlert()
{
    std::function<void()> hook;
    {
        std::lock_guard<std::mutex> lock(fSettingsLock);
        hook = fBeforeAlert;
    }
    if (hook)
        hook();
}

void AlertService::SetMode(AlertMode mode)
{
    std::lock_guard<std::mutex> lock(fSettingsLock);
    fMode = mode;
}

AlertMode AlertService::Mode() const
{
    std::lock_guard<std::mutex> lock(fSettingsLock);
    return fMode;
}

std::shared_ptr<AlertPresenter> AlertService::CurrentPresenter() const
{
    std::lock_guard<std::mutex> lock(fSettingsLock);
    return fPresenter;
}

std::shared_ptr<AlertPresenter> AlertService::SetPresenter(
    std::shared_ptr<AlertPresenter> presenter)
{
    std::lock_guard<std::mutex> lock(fSettingsLock);
    std::swap(fPresenter, presenter);
    return presenter;
}

void AlertService::SetAnswer(const std::string& purpose, const AlertAnswer& answer)
{
    std::lock_guard<std::mutex> lock(fSettingsLock);
    fAnswers[purpose] = answer;
}

void AlertService::RemoveAnswer(const std::string& purpose)
{
    std::lock_guard<std::mutex> lock(fSettingsLock);
    fAnswers.erase(purpose);
}

void AlertService::ClearAnswers()
{
    std::lock_guard<std::mutex> lock(fSettingsLock);
    fAnswers.clear();
}
