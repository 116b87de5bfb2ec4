#include "StowclearCommand.h"

#include "AlertService.h"
#include "BEntry.h"
#include "BPath.h"
#include "BVolume.h"
#include "BVolumeRoster.h"
#include "DeinstallProgress.h"
#include "DeinstallRecord.h"
#include "DeinstallRemoval.h"
#include "DeinstallSearch.h"
#include "LibAppInfo.h"
#include "LibMessageBox.h"
#include "RecordReader.h"
#include "ReplaceAlert.h"
#include "StopSignals.h"
#include "TerminalInfo.h"
#include "oLocalize.h"

#include <cstdio>
#include <memory>

namespace {

constexpr int32 kNothingFoundText = 1005;
constexpr int kStandardError = 2;

int Usage(const char* message)
{
    fprintf(stderr, "Stowclear: %s\n%s", message, kStowclearUsage);
    return kExitUsage;
}

void SetUpAlerts(const StowclearOptions& options)
{
    AlertService& alerts = AlertService::Default();
    if (options.unattended)
        alerts.SetMode(AlertMode::Unattended);
    if (options.onCollision != CollisionAnswer::Ask) {
        int32 button = options.onCollision == CollisionAnswer::Replace
            ? ReplaceAlert::kReplaceButton
            : ReplaceAlert::kDontReplaceButton;
        alerts.SetAnswer(ReplaceAlert::kPurpose, {button, true});
    }
}

bool ChooseVolume(const StowclearOptions& options, BVolume& volume)
{
    if (options.volume.empty())
        return BVolumeRoster().GetBootVolume(&volume) == B_OK;
    BEntry entry(options.volume.c_str());
    return entry.Exists() && volume.SetToVolumeOf(options.volume.c_str()) == B_OK;
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

int Remove(const StowclearOptions& options, const BMessage& record, DeinstallSearch& search,
    DeinstallProgress& progress, StopSignals& signals)
{
    DeinstallRemoval removal {BMessenger(&progress)};
    removal.SetStopCheck([&signals] { return signals.Wait(0) == StopSignals::Event::Interrupted; });
    removal.SetPaths(search.Found(), search.FoundNodes());
    removal.SetKey(search.Key());
    ScriptTags tags = DeinstallScriptTags(record);
    removal.SetUserScripts(tags.bootScript, tags.setupEnv, tags.profile);
    removal.SetMovePath(options.to.c_str());
    RemovalCounts counts = removal.DeinstallFiles();
    if (counts.stopped)
        return Interrupted(progress);
    progress.Flush();
    fprintf(stderr, "Moved %ld of %ld entries to %s", long(counts.moved),
        long(removal.CountItems()), removal.MovePath());
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
        fputs(kStowclearUsage, stdout);
        fputs(kStowclearHelp, stdout);
        return kExitRemoved;
    }
    if (options.version) {
        printf("Stowclear %s\n", kStowclearVersion);
        return kExitRemoved;
    }
    if (!options.language.empty() && !oLocalize().SetLanguage(options.language.c_str()))
        fprintf(stderr, "Stowclear: the language could not be kept on this program's file\n");
    SetUpAlerts(options);
    // The build gave the program its version already; this only writes
    // when a copy lost it (and fails quietly on the running file).
    LibSetAppVersion(1, 3, 1, "Deinstaller", "Deinstall BeOS applications", 5, 0);

    BMessage record;
    if (!RecordReader::LoadOwn(record)) {
        LibError("%s", kNotConfiguredText);
        return kExitNotConfigured;
    }
    if (!options.unattended && !options.list)
        return Usage("removing needs --unattended for now (or --list to see what would go)");
    if (!options.to.empty() && !BEntry(options.to.c_str(), true).IsDirectory())
        return Usage(("--to: '" + options.to + "' is not a folder").c_str());
    BVolume volume;
    if (!ChooseVolume(options, volume))
        return Usage(("--volume: no volume holds '" + options.volume + "'").c_str());

    StopSignals signals;
    ProgressPtr progress = StartProgress();
    progress->SetSearchEndHook([&signals] { signals.Wake(); });
    DeinstallSearch search(volume);
    search.SetKey(DeinstallKey(record));
    search.SetSizes(WalkSizes::Skip); // nothing here shows bytes
    if (signals.InitCheck() != B_OK
        || search.Go("search", new BMessenger(progress.get()), 10, false) != B_OK) {
        fputs("Stowclear: the search could not be started\n", stderr);
        return kExitFailed;
    }
    while (!progress->SearchEnded()) {
        if (signals.Wait(-1) == StopSignals::Event::Interrupted) {
            search.Stop();
            return Interrupted(*progress);
        }
    }
    progress->Flush();
    fprintf(stderr, "Searched %lld entries in %s: %ld found.\n", (long long)search.VisitedEntries(),
        volume.RootPath(), long(search.Found().Size()));
    if (search.Found().Size() == 0) {
        LibError("%s", static_cast<const char*>(oLocalize().GetString(kNothingFoundText)));
        return kExitNothingFound;
    }
    if (options.list) {
        for (LibString* path = search.Found().First(); path != nullptr;
             path = search.Found().Next())
            printf("%s\n", static_cast<const char*>(*path));
        return kExitRemoved;
    }
    return Remove(options, record, search, *progress, signals);
}
