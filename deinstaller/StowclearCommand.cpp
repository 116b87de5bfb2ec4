#include "StowclearCommand.h"

#include "AlertService.h"
#include "DeinstallProgress.h"
#include "DeinstallSession.h"
#include "StopSignals.h"
#include "StowclearStart.h"
#include "TerminalInfo.h"

#include <cstdio>
#include <memory>

namespace {

constexpr int kStandardError = 2;

int Usage(const char* message)
{
    fprintf(stderr, "Stowclear: %s\n%s", message, stowclear_usage().c_str());
    return kExitUsage;
}

struct ProgressCloser {
    void operator()(DeinstallProgress* progress) const
    {
        progress->Lock();
        progress->Quit();
    }
};
using ProgressPtr = std::unique_ptr<DeinstallProgress, ProgressCloser>;

ProgressPtr StartProgress()
{
    ProgressStyle style
        = is_terminal(kStandardError) ? ProgressStyle::Terminal : ProgressStyle::Lines;
    ProgressPtr progress(new DeinstallProgress(style, stderr, terminal_columns(kStandardError)));
    progress->Run();
    return progress;
}

int Interrupted(DeinstallProgress& progress)
{
    progress.Flush();
    fputs("Stowclear: stopped\n", stderr);
    return kExitInterrupted;
}

// Waits until the worker `name` has ended; false when a stop signal came
// first.
bool WaitForEnd(DeinstallProgress& progress, StopSignals& signals, const char* name)
{
    while (!progress.Ended(name)) {
        if (signals.Wait(-1) == StopSignals::Event::Interrupted)
            return false;
    }
    return true;
}

int Remove(DeinstallSession& session, DeinstallProgress& progress, StopSignals& signals)
{
    status_t started = session.StartRemoval();
    if (started != B_OK) {
        // The session has said why it refused when the product was busy.
        if (started != B_NOT_ALLOWED)
            fputs("Stowclear: the removal could not be started\n", stderr);
        return kExitFailed;
    }
    // A stop ends the removal before its next entry; its end comes as usual.
    if (!WaitForEnd(progress, signals, "remove"))
        session.StopRemoval();
    RemovalCounts counts = session.FinishRemoval();
    if (counts.stopped)
        return Interrupted(progress);
    progress.Flush();
    fprintf(stderr, "Moved %ld of %ld entries to %s", long(counts.moved),
        long(session.CountFound()), session.MovePath());
    if (counts.kept > 0)
        fprintf(stderr, "; %ld folders still hold other files and stay", long(counts.kept));
    if (counts.changed > 0)
        fprintf(stderr, "; %ld entries changed since the search and stay", long(counts.changed));
    if (counts.failed > 0)
        fprintf(stderr, "; %ld could not be moved", long(counts.failed));
    fputs(".\n", stderr);
    return counts.failed > 0 ? kExitFailed : kExitRemoved;
}

} // namespace

int RunStowclear(const StowclearOptions& options)
{
    if (options.help) {
        fputs(stowclear_usage().c_str(), stdout);
        fputs(kStowclearHelp, stdout);
        return kExitRemoved;
    }
    if (options.version) {
        printf("Stowclear %s\n", kStowclearVersion);
        return kExitRemoved;
    }
    if (options.unattended)
        AlertService::Default().SetMode(AlertMode::Unattended);
    apply_stowclear_start(options);

    ProgressPtr progress = StartProgress();
    DeinstallSession session {BMessenger(progress.get())};
    if (!session.Load())
        return kExitNotConfigured;
    if (!options.unattended && !options.list)
        return Usage("removing needs --unattended when no terminal can ask (or --list to see "
                     "what would go)");
    if (!session.SetMovePath(options.to.c_str()))
        return Usage(("--to: '" + options.to + "' is not a folder").c_str());
    if (!options.volume.empty() && !session.SetVolumeOf(options.volume.c_str()))
        return Usage(("--volume: no volume holds '" + options.volume + "'").c_str());

    StopSignals signals;
    progress->SetEndHook([&signals] { signals.Wake(); });
    session.SetSearchSizes(WalkSizes::Skip); // nothing here shows bytes
    if (signals.InitCheck() != B_OK || session.Volume().InitCheck() != B_OK
        || session.StartSearch() != B_OK) {
        fputs("Stowclear: the search could not be started\n", stderr);
        return kExitFailed;
    }
    if (!WaitForEnd(*progress, signals, "search")) {
        session.StopSearch();
        return Interrupted(*progress);
    }
    progress->Flush();
    fprintf(stderr, "Searched %lld entries in %s: %s found.\n", (long long)progress->Entries(),
        session.Volume().RootPath(), progress->Found().c_str());
    int32 found = session.FinishSearch();
    if (found == 0)
        return kExitNothingFound;
    if (options.list) {
        for (int32 i = 0; i < found; ++i)
            printf("%s\n", session.FoundAt(i));
        return kExitRemoved;
    }
    return Remove(session, *progress, signals);
}
