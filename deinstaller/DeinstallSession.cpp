#include "DeinstallSession.h"

#include "BEntry.h"
#include "BVolumeRoster.h"
#include "DeinstallRecord.h"
#include "LibAppResource.h"
#include "LibMessageBox.h"
#include "LibThread.h"
#include "RecordReader.h"
#include "oLocalize.h"

#include <atomic>

namespace {

constexpr int32 kWorkerPriority = 10;
constexpr long kNothingFoundText = 1005;
constexpr long kProductBusyText = 1150;

} // namespace

// The removal on a thread of its own, so that a window stays live while
// thousands of entries move. A stop is asked, not forced: the removal ends
// before its next entry, so that no entry is ever half moved.
class RemovalThread : public LibThread {
public:
    explicit RemovalThread(DeinstallRemoval& removal)
        : fRemoval(removal)
    {
        fRemoval.SetStopCheck([this] { return fStopAsked.load(); });
    }
    ~RemovalThread() override
    {
        // Asked first, so that a removal between two entries ends there; one
        // waiting for an answer is killed.
        AskToStop();
        StopThread();
        fRemoval.SetStopCheck({});
    }

    int32 Action() override
    {
        fCounts = fRemoval.DeinstallFiles();
        return fCounts.failed > 0 ? 1 : 0;
    }
    void AskToStop() { fStopAsked.store(true); }
    // Waits until Action() has returned.
    void Wait()
    {
        status_t value;
        wait_for_thread(Thread(), &value);
    }
    const RemovalCounts& Counts() const { return fCounts; }

private:
    DeinstallRemoval& fRemoval;
    std::atomic<bool> fStopAsked {false};
    RemovalCounts fCounts;
};

DeinstallSession::DeinstallSession(const BMessenger& frontEnd)
    : fFrontEnd(frontEnd)
    , fRemoval(frontEnd)
{ }

DeinstallSession::~DeinstallSession()
{
    StopRemoval();
    StopSearch();
}

bool DeinstallSession::Load()
{
    LibAppResource resources(B_READ_ONLY);
    return Load(resources);
}

bool DeinstallSession::Load(BResources& resources)
{
    if (fSearch != nullptr || IsRemoving())
        return false;
    if (!RecordReader::Load(resources, fRecord)) {
        LibError("%s", kNotConfiguredText);
        return false;
    }
    fKey = DeinstallKey(fRecord);
    ScriptTags tags = DeinstallScriptTags(fRecord);
    fRemoval.SetUserScripts(tags.bootScript, tags.setupEnv, tags.profile);
    fRemoval.SetKey(fKey);
    return true;
}

std::vector<BVolume> DeinstallSession::Volumes()
{
    std::vector<BVolume> volumes;
    BVolumeRoster roster;
    BVolume volume;
    while (roster.GetNextVolume(&volume) == B_OK)
        volumes.push_back(volume);
    return volumes;
}

bool DeinstallSession::SetVolumeOf(const char* path)
{
    BVolume volume;
    if (path == nullptr || !BEntry(path).Exists() || volume.SetToVolumeOf(path) != B_OK)
        return false;
    fVolume = volume;
    return true;
}

const BVolume& DeinstallSession::Volume()
{
    if (fVolume.InitCheck() != B_OK)
        BVolumeRoster().GetBootVolume(&fVolume);
    return fVolume;
}

status_t DeinstallSession::StartSearch()
{
    if (fSearch != nullptr || IsRemoving())
        return B_BUSY;
    auto search = std::make_unique<DeinstallSearch>(Volume());
    search->SetKey(fKey);
    search->SetSizes(fSizes);
    status_t status = search->Go("search", new BMessenger(fFrontEnd), kWorkerPriority, false);
    if (status == B_OK)
        fSearch = std::move(search);
    return status;
}

void DeinstallSession::StopSearch()
{
    if (fSearch != nullptr)
        fSearch->Stop();
    fSearch.reset();
}

int32 DeinstallSession::FinishSearch()
{
    if (fSearch == nullptr)
        return 0;
    // The completion message came after the walk's last touch of its list.
    fSearch->Stop();
    fRemoval.SetPaths(fSearch->Found(), fSearch->FoundNodes());
    fSearch.reset();
    if (CountFound() == 0) {
        LibError("%s", static_cast<const char*>(oLocalize().GetString(kNothingFoundText)));
        return 0;
    }
    return CountFound();
}

void DeinstallSession::SelectAll(bool selected)
{
    for (int32 i = 0; i < CountFound(); ++i)
        fRemoval.SetSelected(i, selected);
}

bool DeinstallSession::SetMovePath(const char* folder)
{
    if (IsRemoving())
        return false;
    if (folder != nullptr && *folder != '\0' && !BEntry(folder, true).IsDirectory())
        return false;
    fRemoval.SetMovePath(folder);
    return true;
}

status_t DeinstallSession::StartRemoval()
{
    if (fSearch != nullptr || IsRemoving())
        return B_BUSY;
    // The old thread object lets go of the removal's stop check first.
    fRemovalThread.reset();
    // A lock folder that cannot be written keeps no one from removing; only
    // a lock that an installation or another removal holds does.
    if (fProductLock.Lock(ProductLockName(fKey)) == B_BUSY) {
        LibError("%s", static_cast<const char*>(oLocalize().GetString(kProductBusyText)));
        return B_NOT_ALLOWED;
    }
    fRemovalThread = std::make_unique<RemovalThread>(fRemoval);
    status_t status
        = fRemovalThread->Go("remove", new BMessenger(fFrontEnd), kWorkerPriority, false);
    if (status != B_OK) {
        fRemovalThread.reset();
        fProductLock.Unlock();
    }
    return status;
}

bool DeinstallSession::IsRemoving() const
{
    return fRemovalThread != nullptr && fRemovalThread->Status() != 0;
}

void DeinstallSession::StopRemoval()
{
    if (fRemovalThread != nullptr)
        fRemovalThread->AskToStop();
}

RemovalCounts DeinstallSession::FinishRemoval()
{
    if (fRemovalThread == nullptr)
        return {};
    fRemovalThread->Wait();
    RemovalCounts counts = fRemovalThread->Counts();
    fRemovalThread.reset();
    fProductLock.Unlock();
    return counts;
}
