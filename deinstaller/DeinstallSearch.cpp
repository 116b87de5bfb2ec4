#include "DeinstallSearch.h"

#include "BEntry.h"
#include "BMessage.h"
#include "BPath.h"
#include "FindDirectory.h"
#include "Trash.h"

#include <algorithm>
#include <cstring>
#include <sys/stat.h>

namespace {

// Every value of the tag is read whole up to this length, as the kit read
// it; a longer key raises it, so that any tag the installer wrote is found.
constexpr size_t kTagReadLength = 255;

} // namespace

DeinstallSearch::DeinstallSearch(const BVolume& volume)
    : fVolume(volume)
{ }

DeinstallSearch::~DeinstallSearch()
{
    // The walk uses this object's members: it must stop before they go.
    StopThread();
}

int32 DeinstallSearch::Action()
{
    fFound.Clear();
    fFoundNodes.clear();
    fSeen.clear();
    fVisited = 0;
    fFoundSoFar = 0;
    fPendingBytes = 0;
    fFolderName.clear();
    fLastReport = {};

    const char* root = fVolume.RootPath();
    if (root == nullptr)
        return 0;
    VolumeWalkOptions options;
    options.attribute = kInstallByAttr;
    // The whole value against the whole key, letter case included; an
    // empty value never equals it.
    options.wantedValue = static_cast<const char*>(fKey);
    options.maxValueSize = std::max(kTagReadLength, size_t(fKey.Length()));
    options.sizes = fSizes;
    // The Trash is left out: the boot volume's, and the volume's own trash
    // folders, where the removal puts what it takes from this volume.
    std::vector<std::string> trashFolders = existing_volume_trash_folders(root);
    if (fVolume.MountPoint() != nullptr) {
        for (const std::string& folder : existing_volume_trash_folders(fVolume.MountPoint()))
            trashFolders.push_back(folder);
    }
    BPath trash;
    if (find_directory(B_TRASH_DIRECTORY, &trash) == B_OK)
        trashFolders.push_back(trash.Path());
    for (const std::string& folder : trashFolders) {
        BEntry entry(folder.c_str());
        struct stat st;
        if (entry.GetStat(&st) == B_OK)
            options.skipFolders.emplace_back(st.st_dev, st.st_ino);
    }
    walk_volume(root, options, *this);
    ReportProgress(fFolderName.c_str(), true);
    return 0;
}

void DeinstallSearch::Progress(const WalkProgress& progress)
{
    CheckCancel();
    fVisited += progress.entries;
    fPendingBytes += progress.bytes;
    fFoundSoFar += progress.found;
    if (fFolderName != progress.folder) {
        fFolderName = progress.folder;
        fFolderReported = false;
    }
    ReportProgress(fFolderName.c_str(), false);
}

void DeinstallSearch::VisitEntry(const WalkEntry& entry)
{
    CheckCancel();
    if (fSeen.count(*entry.path) != 0)
        return;
    auto* path = new LibString(entry.path->c_str());
    if (!fFound.Insert(path)) {
        delete path;
        return;
    }
    // The set looks at the list's own copy, which stays where it is.
    fSeen.insert(std::string_view(*path, size_t(path->Length())));
    fFoundNodes.push_back({entry.device, entry.inode});
}

void DeinstallSearch::ReportProgress(const char* folderName, bool force)
{
    auto now = std::chrono::steady_clock::now();
    if (!force && (fFolderReported || now - fLastReport < kProgressInterval))
        return;
    fLastReport = now;
    fFolderReported = true;
    long long bytes = fPendingBytes;
    fPendingBytes = 0;
    UpdateParent(folderName, bytes);
}

void DeinstallSearch::UpdateParent(const char* folderName, const long long& size)
{
    if (Messenger() == nullptr)
        return;
    BMessage progress(kSearchProgressMessage);
    progress.AddFloat("size", float(size));
    progress.AddString("folder", folderName);
    LibString found;
    found.Formatted("%lld", static_cast<long long>(std::max<int64>(fFound.Size(), fFoundSoFar)));
    progress.AddString("found", found);
    progress.AddInt64("entries", fVisited);
    Messenger()->SendMessage(&progress, nullptr, B_INFINITE_TIMEOUT);
}
