#include "InstallCommand.h"

#include "AlertService.h"
#include "FileOperations.h"
#include "InstallProgress.h"
#include "LibAppInfo.h"
#include "StatusText.h"
#include "StopSignals.h"
#include "TerminalInfo.h"
#include "oLocalize.h"

#include <cstdio>
#include <memory>

namespace {

// Buttons of the questions the options answer (docs/alerts.md).
constexpr int32 kKeepButton = 0;    // "Don't Replace"
constexpr int32 kReplaceButton = 1; // "Replace"
constexpr int32 kLaterButton = 0;
constexpr int32 kRunButton = 1;
constexpr int32 kRestartLaterButton = 0;
constexpr int32 kRestartNowButton = 1;

int Problem(int code, const std::string& text)
{
    fprintf(stderr, "Stowfast: %s\n", text.c_str());
    return code;
}

struct ProgressCloser {
    void operator()(InstallProgress* progress) const
    {
        progress->Lock();
        progress->Quit();
    }
};

} // namespace

InstallCommand::InstallCommand(const InstallOptions& options)
    : fOptions(options)
{ }

int InstallCommand::Run()
{
    using Task = InstallOptions::Task;
    if (fOptions.task == Task::Help) {
        fputs(InstallCommandLine::HelpText().c_str(), stdout);
        return kExitInstalled;
    }
    // The build attached this identity, so nothing is written; Linux would
    // refuse to change the running program anyway, and the start goes on.
    LibSetAppVersion(1, 3, 1, "Installer", "V1.3.1 Install BeOS applications", 5, 0);
    if (fOptions.task == Task::Version) {
        LibString version = LibGetAppVersion(nullptr);
        printf("Stowfast %s\n", static_cast<const char*>(version));
        return kExitInstalled;
    }
    // No windows yet: every alert is answered on the command line.
    AlertService::Default().SetMode(AlertMode::Unattended);
    if (!fOptions.language.empty()) {
        oLocalize texts;
        if (!texts.SetLanguage(fOptions.language.c_str()))
            fprintf(stderr, "Stowfast: the language cannot be kept on the installer\n");
    }
    std::unique_ptr<InstallProgress, ProgressCloser> progress(new InstallProgress(stderr,
        is_terminal(2) ? InstallProgress::Display::Bar : InstallProgress::Display::Lines,
        terminal_columns(2)));
    InstallSession session {BMessenger(nullptr, progress.get())};
    if (!session.Load())
        return kExitDamaged;
    if (fOptions.task == Task::List)
        return List(session);
    if (fOptions.task == Task::Check)
        return Check(session);
    if (!fOptions.unattended) {
        return Problem(kExitUsage,
            "installing needs --unattended when no terminal can ask (started in a terminal, "
            "the installer guides you through the installation)");
    }
    if (*session.License() != '\0' && !fOptions.acceptLicense) {
        printf("%s\n", session.License());
        return Problem(kExitUsage,
            "the product's license (above) must be accepted: run again with --accept-license");
    }
    if (!Choose(session))
        return kExitUsage;
    if (!ChooseDestination(session))
        return kExitDestinationUnusable;
    SetAnswers();
    int code = RunAndWait(session, *progress);
    if (code != kExitInterrupted)
        SaveRecord(session);
    return code;
}

bool InstallCommand::Choose(InstallSession& session)
{
    for (const std::string& group : fOptions.groups) {
        if (session.FindGroup(group.c_str()) < 0) {
            Problem(kExitUsage, "the product has no group '" + group + "' (see --list)");
            return false;
        }
    }
    // Without a choice the first group stays selected, as loading left it.
    if (fOptions.all || !fOptions.groups.empty() || !fOptions.files.empty()) {
        session.SelectAll(fOptions.all);
        for (const std::string& group : fOptions.groups)
            session.AddGroup(session.FindGroup(group.c_str()));
        for (const std::string& file : fOptions.files) {
            if (session.SelectFiles(file.c_str(), true) == 0) {
                Problem(kExitUsage, "the product has no file '" + file + "' (see --list)");
                return false;
            }
        }
    }
    if (session.CountSelected() > 0)
        return true;
    Problem(kExitUsage, "nothing is selected: name files with --group, --file or --all");
    return false;
}

bool InstallCommand::ChooseDestination(InstallSession& session)
{
    std::string folder = fOptions.destination;
    if (folder.empty()) {
        folder = session.DefaultDestination();
        if (folder.empty()) {
            Problem(kExitDestinationUnusable, "the installer names no usable default folder");
            return false;
        }
    }
    return session.SetDestination(folder.c_str());
}

void InstallCommand::SetAnswers()
{
    AlertService& alerts = AlertService::Default();
    bool replace = fOptions.collision == InstallOptions::Collision::Replace;
    alerts.SetAnswer("collision", {replace ? kReplaceButton : kKeepButton, false});
    alerts.SetAnswer("run", {fOptions.launch ? kRunButton : kLaterButton, false});
    alerts.SetAnswer(
        "restart", {fOptions.restart ? kRestartNowButton : kRestartLaterButton, false});
}

int InstallCommand::RunAndWait(InstallSession& session, InstallProgress& progress)
{
    StopSignals signals;
    if (signals.InitCheck() != B_OK)
        return Problem(kExitDestinationUnusable, "cannot watch for stop signals");
    progress.SetDispatchThread(find_thread(nullptr), [&signals] { signals.Wake(); });
    progress.Run();
    AlertsAfterProgress inOrder(progress);
    if (session.Start() != B_OK) {
        if (status_t writable = session.DestinationWritable(); writable != B_OK)
            return Problem(kExitDestinationUnusable,
                std::string("cannot write in ") + session.Destination() + ": "
                    + status_text(writable) + "; choose a folder you can write with --dest DIR");
        return Problem(kExitDestinationUnusable, "the install thread cannot be started");
    }
    bool interrupted = false;
    while (!interrupted && !progress.Finished()) {
        interrupted = signals.Wait(-1) == StopSignals::Event::Interrupted;
        progress.DispatchMessages();
    }
    if (interrupted) {
        progress.EndLine();
        session.Stop();
        return kExitInterrupted;
    }
    return ExitCode(session, session.Finish(progress.EndMessage()));
}

int InstallCommand::ExitCode(InstallSession& session, const InstallOutcome& outcome)
{
    switch (outcome.result) {
    case InstallResult::Installed:
        if (outcome.restartRequested && !session.Restart())
            fprintf(stderr, "Stowfast: the restart command cannot be started\n");
        return kExitInstalled;
    case InstallResult::EndedByRequirement:
        return Problem(kExitRequirement, "stopped by a requirement of the product");
    case InstallResult::NotEnoughSpace:
        return Problem(kExitNotEnoughSpace, outcome.problem);
    case InstallResult::Damaged:
        return Problem(kExitDamaged, "the installer is damaged: " + outcome.problem);
    case InstallResult::DestinationUnusable:
        break;
    }
    return Problem(kExitDestinationUnusable,
        outcome.problem.empty() ? "the destination cannot be used" : outcome.problem);
}

void InstallCommand::SaveRecord(const InstallSession& session)
{
    if (fOptions.saveRecord.empty())
        return;
    std::string bytes = session.Record().Flatten();
    if (write_file_atomically(fOptions.saveRecord.c_str(), bytes.data(), bytes.size(), 0644)
        != B_OK)
        fprintf(stderr, "Stowfast: cannot write %s\n", fOptions.saveRecord.c_str());
}
