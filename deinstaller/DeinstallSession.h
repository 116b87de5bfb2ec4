// The steps of one deinstallation, for any front end (the command line, the
// windows, a guided flow in a terminal): the record from the deinstaller's
// own resources, the volume to search, the search on the "search" thread,
// the found entries and which of them go, where they go (the Trash or a
// folder), and the removal on the "remove" thread. The session never
// prints: progress and ends reach the front end's messenger ('snfi',
// 'slmt', 'srpb', and 'LThC' named "search" or "remove"), and questions and
// failures go through the alert service.
#pragma once

#include "BMessage.h"
#include "BMessenger.h"
#include "BVolume.h"
#include "DeinstallRemoval.h"
#include "DeinstallSearch.h"
#include "ExclusiveLock.h"
#include "LibString.h"

#include <memory>
#include <vector>

class BResources;
class RemovalThread;

class DeinstallSession {
public:
    // `frontEnd` receives the search's and the removal's messages.
    explicit DeinstallSession(const BMessenger& frontEnd);
    ~DeinstallSession();
    DeinstallSession(const DeinstallSession&) = delete;
    DeinstallSession& operator=(const DeinstallSession&) = delete;

    // Reads the record of the running program (or of `resources`). Without
    // one: "Does not have resource 2002" or "Unable to read resource 2002"
    // on standard error, the alert that the deinstaller was not configured,
    // and false. False while a search or a removal goes.
    bool Load();
    bool Load(BResources& resources);
    const BMessage& Record() const { return fRecord; }
    // What every InstallBy tag of the product holds.
    const LibString& Key() const { return fKey; }

    // The mounted volumes, the boot volume among them.
    static std::vector<BVolume> Volumes();
    // The volume to search; the boot volume until another is chosen.
    void SetVolume(const BVolume& volume) { fVolume = volume; }
    // The volume that holds `path` (a mount point or any path on it); false
    // when nothing is there.
    bool SetVolumeOf(const char* path);
    const BVolume& Volume();

    // Without sizes the walk looks at each node once instead of twice; the
    // progress then carries no bytes.
    void SetSearchSizes(WalkSizes sizes) { fSizes = sizes; }
    // Starts a fresh search of the volume. B_BUSY while one goes.
    status_t StartSearch();
    bool IsSearching() const { return fSearch != nullptr; }
    // Stops a search that goes and forgets it.
    void StopSearch();
    // After the search's 'LThC': takes over what it found, every entry
    // selected, and answers how many. With nothing found, the alert that
    // nothing was found on this volume.
    int32 FinishSearch();

    // What the last finished search found, in the order found.
    int32 CountFound() const { return fRemoval.CountItems(); }
    const char* FoundAt(int32 index) const { return fRemoval.PathAt(index); }
    bool IsSelected(int32 index) const { return fRemoval.IsSelected(index); }
    void SetSelected(int32 index, bool selected) { fRemoval.SetSelected(index, selected); }
    void SelectAll(bool selected);
    int32 CountSelected() const { return fRemoval.CountSelected(); }

    // Where the entries go: a folder, or the Trash for null or "". False,
    // and nothing changed, when `folder` is no folder.
    bool SetMovePath(const char* folder);
    const char* MovePath() const { return fRemoval.MovePath(); }
    bool MovesToTrash() const { return fRemoval.MovesToTrash(); }

    // Starts the removal of the selected entries and then of the product's
    // script sections. B_BUSY while a search or a removal goes here;
    // B_NOT_ALLOWED, after the alert saying so, while an installation or a
    // removal of the product goes in another program: the removal holds the
    // product's lock (ExclusiveLock) until it has ended.
    status_t StartRemoval();
    bool IsRemoving() const;
    // Asks the removal to stop before its next entry and returns at once
    // (a removal waiting for an answer to the collision question goes on
    // when it has it). It then ends as usual, with its 'LThC', and leaves
    // the script sections as they are.
    void StopRemoval();
    // After the removal's 'LThC': what it did. Waits for its thread.
    RemovalCounts FinishRemoval();

private:
    BMessenger fFrontEnd;
    BMessage fRecord;
    LibString fKey;
    BVolume fVolume;
    WalkSizes fSizes = WalkSizes::Measure;
    std::unique_ptr<DeinstallSearch> fSearch;
    DeinstallRemoval fRemoval;
    // Let go of only once the removal's thread has ended.
    ExclusiveLock fProductLock;
    std::unique_ptr<RemovalThread> fRemovalThread;
};
