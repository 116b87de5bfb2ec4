#include "InstallCommand.h"

#include "AlertService.h"
#include "BEntry.h"
#include "BPath.h"
#include "FileOperations.h"
#include "InstallConfig.h"
#include "InstallProgress.h"
#include "InstallRun.h"
#include "InstallTexts.h"
#include "InstallerLoader.h"
#include "LibAppInfo.h"
#include "LibMessageBox.h"
#include "LibPaths.h"
#include "LibShutdown.h"
#include "StopSignals.h"
#include "TerminalInfo.h"
#include "WorkingDirectory.h"
#include "oLocalize.h"

#include <cstdio>
#include <cstring>

namespace {

// Buttons of the questions the options answer (docs/alerts.md).
constexpr int32 kKeepButton = 0;    // "Don't Replace"
constexpr int32 kReplaceButton = 1; // "Replace"
constexpr int32 kLaterButton = 0;
constexpr int32 kRunButton = 1;
constexpr int32 kRestartLaterButton = 0;
constexpr int32 kRestartNowButton = 1;

constexpr int32 kInstallPriority = 10;

int Problem(int code, const std::string& text)
{
    fprintf(stderr, "Stowfast: %s\n", text.c_str());
    return code;
}

std::string Leaf(const char* path)
{
    BPath named(path);
    return named.InitCheck() == B_OK && named.Leaf() != nullptr ? named.Leaf() : "";
}

} // namespace

InstallCommand::InstallCommand(const InstallOptions& options)
    : fOptions(options)
{ }

int InstallCommand::Run()
{
    using Task = InstallOptions::Task;
    if (fOptions.task == Task::Help) {
        fputs(InstallCommandLine::HelpText(), stdout);
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
    InstallConfig config;
    if (!InstallerLoader::LoadRecord(config)) {
        LibError("%s", kImproperlyBuiltText);
        return kExitDamaged;
    }
    if (fOptions.task == Task::List)
        return List(config);
    if (fOptions.task == Task::Check)
        return Check(config);
    if (!fOptions.unattended) {
        return Problem(kExitUsage,
            "installing needs --unattended; windows come in a later version of Stowfast");
    }
    return Install(config);
}

int InstallCommand::Install(InstallConfig& config)
{
    if (*config.FindString("license") != '\0' && !fOptions.acceptLicense) {
        printf("%s\n", config.FindString("license"));
        return Problem(kExitUsage,
            "the product's license (above) must be accepted: run again with --accept-license");
    }
    std::vector<bool> selected;
    if (!Selection(config, selected))
        return kExitUsage;
    BMessage instructions;
    config.FindMessage("install_instructions", &instructions);
    BMessage entry;
    for (int32 i = 0; instructions.FindMessage("install_file", i, &entry) == B_OK; ++i) {
        if (entry.ReplaceBool("install_to_system", selected[size_t(i)]) != B_OK)
            entry.AddBool("install_to_system", selected[size_t(i)]);
        instructions.ReplaceMessage("install_file", i, &entry);
    }
    config.ReplaceMessage("install_instructions", &instructions);
    if (!SetDestination(config))
        return kExitDestinationUnusable;
    SetAnswers();
    int code = RunAndWait(config);
    if (code != kExitInterrupted)
        SaveRecord(config);
    return code;
}

bool InstallCommand::Selection(const InstallConfig& config, std::vector<bool>& selected)
{
    selected = InstallerLoader::DefaultSelection(config);
    bool chosen = fOptions.all || !fOptions.groups.empty() || !fOptions.files.empty();
    BMessage groups;
    config.FindMessage("groups", &groups);
    for (const std::string& group : fOptions.groups) {
        bool known = false;
        const char* name;
        for (int32 i = 0; groups.FindString("group_name", i, &name) == B_OK; ++i)
            known = known || group == name;
        if (!known) {
            Problem(kExitUsage, "the product has no group '" + group + "' (see --list)");
            return false;
        }
    }
    std::vector<bool> fileNamed(fOptions.files.size(), false);
    BMessage instructions;
    config.FindMessage("install_instructions", &instructions);
    BMessage entry;
    for (int32 i = 0; chosen && instructions.FindMessage("install_file", i, &entry) == B_OK; ++i) {
        bool pick = fOptions.all;
        for (const std::string& group : fOptions.groups)
            pick = pick || InstallConfig::IsInGroup(entry.FindString("groups"), group.c_str());
        std::string leaf = Leaf(entry.FindString("file_name"));
        for (size_t f = 0; f < fOptions.files.size(); ++f) {
            if (fOptions.files[f] == leaf) {
                pick = true;
                fileNamed[f] = true;
            }
        }
        selected[size_t(i)] = pick;
    }
    for (size_t f = 0; f < fOptions.files.size(); ++f) {
        if (!fileNamed[f]) {
            Problem(kExitUsage, "the product has no file '" + fOptions.files[f] + "' (see --list)");
            return false;
        }
    }
    for (bool pick : selected) {
        if (pick)
            return true;
    }
    Problem(kExitUsage, "nothing is selected: name files with --group, --file or --all");
    return false;
}

bool InstallCommand::SetDestination(InstallConfig& config)
{
    BPath folder;
    if (fOptions.destination.empty()) {
        if (!InstallerLoader::DefaultFolder(config, folder)) {
            Problem(kExitDestinationUnusable, "the installer names no usable default folder");
            return false;
        }
    } else {
        std::string path = fOptions.destination;
        if (path[0] != '/')
            path = working_directory() + "/" + path;
        folder.SetTo(path.c_str());
    }
    // A window only offers existing folders; the run would otherwise first
    // find no volume to check the space on.
    BEntry entry(folder.Path(), true);
    entry_ref ref;
    if (folder.InitCheck() != B_OK || !entry.IsDirectory() || !LibGetEntryRef(folder.Path(), ref)) {
        LibError("%s", static_cast<const char*>(InstallString(kTextNoFolder)));
        return false;
    }
    config.SetDestination(ref);
    return true;
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

int InstallCommand::RunAndWait(InstallConfig& config)
{
    StopSignals signals;
    if (signals.InitCheck() != B_OK)
        return Problem(kExitDestinationUnusable, "cannot watch for stop signals");
    auto display = is_terminal(2) ? InstallProgress::Display::Bar : InstallProgress::Display::Lines;
    auto* progress = new InstallProgress(stderr, display, terminal_columns(2));
    progress->SetDispatchThread(find_thread(nullptr), [&signals] { signals.Wake(); });
    progress->Run();
    status_t started
        = config.Go("install", new BMessenger(nullptr, progress), kInstallPriority, false);
    bool interrupted = started != B_OK;
    while (!interrupted && !progress->Finished()) {
        interrupted = signals.Wait(-1) == StopSignals::Event::Interrupted;
        progress->DispatchMessages();
    }
    int32 status = progress->RunStatus();
    if (interrupted) {
        // The run ends at its next cancellation point; whatever it was
        // building beside its final place goes as it unwinds.
        config.StopRun();
        progress->EndLine();
    }
    progress->Lock();
    progress->Quit();
    if (started != B_OK)
        return Problem(kExitDestinationUnusable, "the install thread cannot be started");
    if (interrupted) {
        LibError("%s", static_cast<const char*>(InstallString(kTextStopped)));
        return kExitInterrupted;
    }
    return ExitCode(config, status);
}

int InstallCommand::ExitCode(const InstallConfig& config, int32 status)
{
    switch (status) {
    case kRunFinished:
        if (config.RequirementVerdict() == kRequirementsAbort)
            return Problem(kExitRequirement, "stopped by a requirement of the product");
        if (config.RestartRequested() && !LibShutdown(true))
            fprintf(stderr, "Stowfast: the restart command cannot be started\n");
        return kExitInstalled;
    case kRunNotEnoughSpace:
        return Problem(kExitNotEnoughSpace, config.RunProblem());
    case kRunDamaged:
        return Problem(
            kExitDamaged, std::string("the installer is damaged: ") + config.RunProblem());
    default:
        return Problem(kExitDestinationUnusable,
            *config.RunProblem() != '\0' ? config.RunProblem() : "the destination cannot be used");
    }
}

void InstallCommand::SaveRecord(const InstallConfig& config)
{
    if (fOptions.saveRecord.empty())
        return;
    std::string bytes = config.Flatten();
    if (write_file_atomically(fOptions.saveRecord.c_str(), bytes.data(), bytes.size(), 0644)
        != B_OK)
        fprintf(stderr, "Stowfast: cannot write %s\n", fOptions.saveRecord.c_str());
}
