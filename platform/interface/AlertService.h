// The one place every alert of the process goes through. Callers on any
// thread block until their alert is answered; alerts asked at the same time
// are shown one after the other. Answers come, in this order, from the
// answers set by purpose (command-line options such as --launch), from the
// default button in unattended mode, or from the presenter.
#pragma once

#include "AlertPresenter.h"

#include <functional>
#include <iosfwd>
#include <map>
#include <memory>
#include <mutex>

enum class AlertMode {
    Interactive, // the presenter asks the user
    Unattended,  // every alert takes its default answer
};

class AlertService {
public:
    // Reports answers given without the user on `report`.
    explicit AlertService(std::shared_ptr<AlertPresenter> presenter, std::ostream& report);

    // The process's service: a text presenter on standard input and error.
    static AlertService& Default();

    AlertAnswer Ask(const AlertRequest& request);
    // Shows an alert nobody waits for; answered ones (by purpose or
    // unattended) are only reported.
    void Show(const AlertRequest& request);

    void SetMode(AlertMode mode);
    AlertMode Mode() const;
    // Installs a presenter; answers the one it replaces.
    std::shared_ptr<AlertPresenter> SetPresenter(std::shared_ptr<AlertPresenter> presenter);
    std::shared_ptr<AlertPresenter> CurrentPresenter() const;

    // Called on the asking thread before every alert is shown or reported,
    // so that a front end can first show what the asker sent it before
    // (status lines on the same terminal, in the order they were sent).
    void SetBeforeAlert(std::function<void()> hook);

    // Every later alert with this purpose gets `answer` without asking
    // (ignored for an alert whose buttons do not include answer.button).
    void SetAnswer(const std::string& purpose, const AlertAnswer& answer);
    void RemoveAnswer(const std::string& purpose);
    void ClearAnswers();

    // While one exists, the calling thread may ask alerts although it is
    // inside a presenter: a windowed presenter's nested loop runs other
    // windows' handlers, which may ask alerts of their own (shown over it).
    class NestedScope {
    public:
        NestedScope();
        ~NestedScope();
        NestedScope(const NestedScope&) = delete;
        NestedScope& operator=(const NestedScope&) = delete;

    private:
        bool fWasPresenting;
    };

private:
    bool PresetAnswer(const AlertRequest& request, AlertAnswer& answer) const;
    void BeforeAlert();
    // Settles the alert by a preset answer (reported) or hands back the
    // presenter that must ask. Called with fShowLock held.
    bool AnsweredWithoutUser(const AlertRequest& request, AlertAnswer& answer,
        std::shared_ptr<AlertPresenter>& presenter);

    mutable std::mutex fSettingsLock;
    std::shared_ptr<AlertPresenter> fPresenter;
    std::function<void()> fBeforeAlert;
    AlertMode fMode = AlertMode::Interactive;
    std::map<std::string, AlertAnswer> fAnswers;

    // Alerts come one at a time; the thread showing one may nest more.
    void AcquireShowLock(const std::shared_ptr<AlertPresenter>& presenter);
    void ReleaseShowLock();
    class ShowTurn;

    std::mutex fShowLock; // held while one alert is shown or reported
    std::ostream& fReport;
};
