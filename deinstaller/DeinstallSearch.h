// The volume search: walks one volume on a worker thread ("search") and
// collects the full path of every entry whose InstallBy attribute equals the
// product's key, depth first in directory order and without duplicates, so
// that a tagged folder always comes before the tagged entries inside it.
// Progress goes to the window as 'snfi' messages through the thread's
// messenger.
#pragma once

#include "BVolume.h"
#include "LibString.h"
#include "LibStringList.h"
#include "LibThread.h"
#include "RecordKeys.h"
#include "VolumeWalk.h"

#include <chrono>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

// Progress of the search and of the removal: float "size", string "folder",
// string "found"; the search adds int64 "entries", the entries visited.
constexpr uint32 kSearchProgressMessage = 'snfi';

// Which node a found path named when the search met it.
struct FoundNode {
    dev_t device = 0;
    ino_t inode = 0;
};

class DeinstallSearch : public LibThread, private VolumeWalkVisitor {
public:
    explicit DeinstallSearch(const BVolume& volume);
    ~DeinstallSearch() override;

    // The product's key: "app_name", "version", "release_date", "company"
    // and "support_email" of the record, each followed by ";".
    void SetKey(const char* key) { fKey = key; }
    const LibString& Key() const { return fKey; }
    // Without sizes the walk looks at each node once instead of twice;
    // "size" is then 0 in every progress message.
    void SetSizes(WalkSizes sizes) { fSizes = sizes; }

    // Read after the completion message, or after Stop().
    LibStringList& Found() { return fFound; }
    // Parallel to Found(): the node each path named.
    const std::vector<FoundNode>& FoundNodes() const { return fFoundNodes; }
    int64 VisitedEntries() const { return fVisited; }

    // The walk; starts afresh each time. Returns 0.
    int32 Action() override;
    // Kills the thread and waits until it has stopped; then the search may
    // be started again.
    void Stop() { StopThread(); }

    // Sends one progress message synchronously.
    void UpdateParent(const char* folderName, const long long& size);

    // A message at most this often (and at most one per folder): one per
    // entry would cost more than the walk itself.
    static constexpr std::chrono::milliseconds kProgressInterval {50};

private:
    void Progress(const WalkProgress& progress) override;
    void VisitEntry(const WalkEntry& entry) override;
    void ReportProgress(const char* folderName, bool force);

    BVolume fVolume;
    LibString fKey;
    LibStringList fFound;
    std::vector<FoundNode> fFoundNodes;
    std::unordered_set<std::string_view> fSeen; // views of fFound's texts
    WalkSizes fSizes = WalkSizes::Measure;

    int64 fVisited = 0;
    int64 fFoundSoFar = 0; // counted by the walk before it hands them over
    int64 fPendingBytes = 0;
    std::string fFolderName;
    bool fFolderReported = false;
    std::chrono::steady_clock::time_point fLastReport;
};
