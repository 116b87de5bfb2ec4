#include "InstallFlow.h"

#include "FillIn.h"
#include "InstallCommand.h"
#include "InstallFlowTexts.h"
#include "InstallProgress.h"
#include "InstallSession.h"
#include "InstallTexts.h"
#include "LibAppInfo.h"
#include "TerminalDialog.h"
#include "TerminalInfo.h"
#include "TextAlertPresenter.h"
#include "oLocalize.h"

#include <cstdio>
#include <memory>

namespace {

struct ProgressCloser {
    void operator()(InstallProgress* progress) const
    {
        progress->Lock();
        progress->Quit();
    }
};

// While an alert is on the terminal the bar makes way for it.
void PauseProgress(InstallProgress& progress, bool paused)
{
    if (!progress.Lock())
        return;
    progress.Pause(paused);
    progress.Unlock();
}

} // namespace

InstallFlow::InstallFlow(const InstallOptions& options)
    : fOptions(options)
{ }

bool InstallFlow::Accepts(const InstallOptions& options, std::string& problem)
{
    const std::pair<bool, const char*> answering[] = {
        {!options.groups.empty(), "--group"},
        {!options.files.empty(), "--file"},
        {options.all, "--all"},
        {options.acceptLicense, "--accept-license"},
        {options.collision != InstallOptions::Collision::Keep, "--on-collision"},
        {options.launch, "--launch"},
        {options.restart, "--restart"},
        {!options.saveRecord.empty(), "--save-record"},
    };
    for (const auto& [given, name] : answering) {
        if (given) {
            problem = std::string(name) + " goes with --unattended; without it the installer asks";
            return false;
        }
    }
    return true;
}

int InstallFlow::Run()
{
    if (!fOptions.language.empty() && !oLocalize().SetLanguage(fOptions.language.c_str()))
        fprintf(stderr, "Stowfast: the language cannot be kept on the installer\n");
    // The build attached this identity, so nothing is written.
    LibSetAppVersion(1, 3, 1, "Installer", "V1.3.1 Install BeOS applications", 5, 0);
    TerminalDialog dialog;
    if (dialog.InitCheck() != B_OK) {
        fprintf(stderr, "Stowfast: cannot watch for Ctrl-C; use --unattended\n");
        return kExitUsage;
    }
    std::unique_ptr<InstallProgress, ProgressCloser> progress(
        new InstallProgress(stdout, InstallProgress::Display::Bar, terminal_columns(1)));
    progress->SetWords(
        {FlowString(kFlowOfTotal), FlowString(kFlowTimeLeft), FlowString(kFlowDone)});
    InstallSession session {BMessenger(nullptr, progress.get())};
    fDialog = &dialog;
    fSession = &session;
    if (!session.Load())
        return kExitDamaged;
    ShowAbout();
    for (Step (InstallFlow::*step)() : {&InstallFlow::AcceptLicense, &InstallFlow::ChooseGroup,
             &InstallFlow::ChooseFiles, &InstallFlow::ChooseDestination, &InstallFlow::Confirm}) {
        Step result = (this->*step)();
        if (result != Step::Next)
            return NothingInstalled();
    }
    return Install(*progress);
}

void InstallFlow::ShowAbout()
{
    const InstallConfig& record = fSession->Record();
    fDialog->PrintLine(
        std::string(record.FindString(kAppNameKey)) + " " + record.FindString(kVersionKey));
    for (const char* key : {kReleaseDateKey, kCompanyKey, kSupportEmailKey}) {
        const char* text = record.FindString(key);
        if (*text != '\0')
            fDialog->PrintLine(text);
    }
}

InstallFlow::Step InstallFlow::AcceptLicense()
{
    std::string license = fSession->License();
    // As in the window, a product without a license has no license page.
    if (license.empty())
        return Step::Next;
    fDialog->PrintLine();
    fDialog->PrintLine(FlowString(kTextLicense));
    std::string typed;
    if (!fDialog->Page(license, FlowString(kFlowMore) + ": ", typed))
        return Step::Cancelled;
    std::vector<std::string> labels = {FlowString(kTextAgree), FlowString(kTextCancel)};
    AlertRequest choice;
    choice.buttons = labels;
    int32 answer = TextAlertPresenter::MatchButton(choice, typed);
    if (answer < 0 && !typed.empty())
        fDialog->NotUnderstood(typed);
    if (answer < 0) {
        fDialog->PrintLine(FlowString(kFlowAgreeQuestion));
        // Only an answer typed out agrees: an empty line asks again.
        answer = fDialog->Choose(labels, -1);
    }
    if (answer < 0)
        return Step::Cancelled;
    if (answer == 1) {
        fDialog->PrintLine(FlowString(kFlowNotAccepted));
        return Step::Refused;
    }
    return Step::Next;
}

int InstallFlow::NothingInstalled()
{
    fDialog->PrintLine(FlowString(kFlowNothingInstalled));
    return kExitInterrupted;
}

int InstallFlow::Install(InstallProgress& progress)
{
    fDialog->PrintLine(FlowString(kFlowStopHint));
    progress.SetDispatchThread(find_thread(nullptr), [this] { fDialog->Wake(); });
    progress.Run();
    AlertsAfterProgress inOrder(progress);
    fDialog->SetAlertHooks([&progress] { PauseProgress(progress, true); },
        [&progress] { PauseProgress(progress, false); });
    if (fSession->Start() != B_OK) {
        fprintf(stderr, "Stowfast: the install thread cannot be started\n");
        return kExitDestinationUnusable;
    }
    bool ended = fDialog->WaitUntil([&progress] {
        progress.DispatchMessages();
        return progress.Finished();
    });
    if (!ended) {
        progress.EndLine();
        fSession->Stop();
        fDialog->SetAlertHooks({}, {});
        return kExitInterrupted;
    }
    fDialog->SetAlertHooks({}, {});
    return InstallCommand::ExitCode(*fSession, fSession->Finish(progress.EndMessage()));
}
