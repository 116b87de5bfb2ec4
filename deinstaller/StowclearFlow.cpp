#include "StowclearFlow.h"

#include "DeinstallProgress.h"
#include "DeinstallSession.h"
#include "ExitCodes.h"
#include "FillIn.h"
#include "StowclearFlowTexts.h"
#include "StowclearStart.h"
#include "TerminalDialog.h"
#include "TerminalInfo.h"

#include <cstdio>
#include <memory>

namespace {

struct ProgressCloser {
    void operator()(DeinstallProgress* progress) const
    {
        progress->Lock();
        progress->Quit();
    }
};

void PauseProgress(DeinstallProgress& progress, bool paused)
{
    if (!progress.Lock())
        return;
    progress.Pause(paused);
    progress.Unlock();
}

int Usage(const std::string& problem)
{
    fprintf(stderr, "Stowclear: %s\n%s", problem.c_str(), stowclear_usage().c_str());
    return kExitUsage;
}

} // namespace

StowclearFlow::StowclearFlow(const StowclearOptions& options)
    : fOptions(options)
{ }

int StowclearFlow::Run()
{
    apply_stowclear_start(fOptions);
    TerminalDialog dialog;
    if (dialog.InitCheck() != B_OK)
        return Usage("cannot watch for Ctrl-C; use --unattended");
    std::unique_ptr<DeinstallProgress, ProgressCloser> progress(
        new DeinstallProgress(ProgressStyle::StatusBar, stdout, terminal_columns(1)));
    progress->SetFoundWord(StowclearString(kTextFound));
    progress->SetEndHook([&dialog] { dialog.Wake(); });
    progress->Run();
    DeinstallSession session {BMessenger(progress.get())};
    fDialog = &dialog;
    fSession = &session;
    fProgress = progress.get();
    int code = Prepare();
    if (code >= 0)
        return code;
    ShowProduct();
    if (ChooseVolume() != Step::Next)
        return NothingRemoved();
    if ((code = Search()) >= 0)
        return code;
    for (Step (StowclearFlow::*step)() : {&StowclearFlow::ChooseEntries,
             &StowclearFlow::ChooseDestination, &StowclearFlow::Confirm}) {
        if ((this->*step)() != Step::Next)
            return NothingRemoved();
    }
    return Remove();
}

int StowclearFlow::Prepare()
{
    if (!fSession->Load())
        return kExitNotConfigured;
    if (!fSession->SetMovePath(fOptions.to.c_str()))
        return Usage("--to: '" + fOptions.to + "' is not a folder");
    if (!fOptions.volume.empty() && !fSession->SetVolumeOf(fOptions.volume.c_str()))
        return Usage("--volume: no volume holds '" + fOptions.volume + "'");
    return -1;
}

void StowclearFlow::ShowProduct()
{
    const BMessage& record = fSession->Record();
    fDialog->PrintLine(
        std::string(record.FindString(kAppNameKey)) + " " + record.FindString(kVersionKey));
}

int StowclearFlow::NothingRemoved()
{
    fDialog->PrintLine(StowclearString(kFlowNothingRemoved));
    return kExitInterrupted;
}

int StowclearFlow::Search()
{
    const BVolume& volume = fSession->Volume();
    if (fProgress->Lock()) {
        fProgress->SetSearchMaximum(volume.Capacity() - volume.FreeBytes());
        fProgress->Unlock();
    }
    fDialog->PrintLine(fill_in(StowclearString(kFlowSearching), {volume.RootPath()}));
    if (fSession->StartSearch() != B_OK) {
        fputs("Stowclear: the search could not be started\n", stderr);
        return kExitFailed;
    }
    if (!fDialog->WaitUntil([this] { return fProgress->Ended("search"); })) {
        fSession->StopSearch();
        fProgress->Flush();
        return NothingRemoved();
    }
    fProgress->Flush();
    int32 found = fSession->FinishSearch();
    if (found == 0)
        return kExitNothingFound; // the alert said so
    fDialog->PrintLine(std::to_string(found) + " " + StowclearString(kTextFound));
    return -1;
}

int StowclearFlow::Remove()
{
    fDialog->PrintLine(StowclearString(kFlowStopHint));
    fDialog->SetAlertHooks(
        [this] { PauseProgress(*fProgress, true); }, [this] { PauseProgress(*fProgress, false); });
    status_t started = fSession->StartRemoval();
    if (started != B_OK) {
        // The session has said why it refused when the product was busy.
        if (started != B_NOT_ALLOWED)
            fputs("Stowclear: the removal could not be started\n", stderr);
        return kExitFailed;
    }
    if (!fDialog->WaitUntil([this] { return fProgress->Ended("remove"); }))
        fSession->StopRemoval();
    RemovalCounts counts = fSession->FinishRemoval();
    fProgress->Flush();
    fDialog->SetAlertHooks({}, {});
    if (counts.stopped) {
        fDialog->PrintLine(StowclearString(kFlowStopped));
        return kExitInterrupted;
    }
    fDialog->PrintLine(fill_in(StowclearString(kFlowMoved),
        {std::to_string(counts.moved), std::to_string(fSession->CountSelected()),
            DestinationText()}));
    if (counts.kept > 0)
        fDialog->PrintLine(
            fill_in(StowclearString(kFlowFoldersKept), {std::to_string(counts.kept)}));
    return counts.failed > 0 ? kExitFailed : kExitRemoved;
}
