#include "InstallConfig.h"

#include "BEntry.h"
#include "BPath.h"
#include "BVolume.h"
#include "FindDirectory.h"
#include "LibFileOperations.h"
#include "LibPaths.h"
#include "LibStdDirNames.h"
#include "Trash.h"

#include <cstring>
#include <string>

namespace {

constexpr int kMaxSaveAttempts = 10000;

// A name that stays below the folder it is joined to: not empty, not
// absolute, and no "." or ".." component.
bool StaysInside(const char* name)
{
    if (name == nullptr || *name == '\0' || *name == '/')
        return false;
    std::string rest(name);
    size_t start = 0;
    while (start <= rest.size()) {
        size_t end = rest.find('/', start);
        if (end == std::string::npos)
            end = rest.size();
        std::string part = rest.substr(start, end - start);
        if (part == "." || part == "..")
            return false;
        start = end + 1;
    }
    return true;
}

bool EntryExists(const char* path)
{
    BEntry entry(path);
    return entry.InitCheck() == B_OK && entry.Exists();
}

bool IsFolder(const char* path)
{
    BEntry entry(path, true);
    return entry.InitCheck() == B_OK && entry.IsDirectory();
}

// Whether `path` lies strictly inside the folder `root`.
bool IsBelow(const BPath& path, const BPath& root)
{
    std::string inner(path.Path());
    std::string outer(root.Path());
    if (outer != "/")
        outer += '/';
    return inner.size() > outer.size() && inner.compare(0, outer.size(), outer) == 0;
}

} // namespace

status_t InstallConfig::FolderVolume(const entry_ref& folder, BVolume& volume)
{
    BPath path;
    if (LibGetFullPath(folder, path) && volume.SetToVolumeOf(path.Path()) == B_OK)
        return B_OK;
    return volume.SetTo(folder.device);
}

bool InstallConfig::DoesDestinationExist()
{
    // An unusable name would make the product folder the destination itself
    // or a folder above it, which the run would then move to the Trash.
    const char* created = FindString("opt_created_folder");
    if (!StaysInside(created))
        return false;
    BPath destination;
    if (!LibGetFullPath(fDestination, destination))
        return false;
    BPath product(destination.Path(), created);
    return product.InitCheck() == B_OK && EntryExists(product.Path());
}

void InstallConfig::GetNewPath(const char* name, BMessage& customFolders, BVolume& volume,
    const char* savedFolder, LibString& result)
{
    result = "";
    if (name == nullptr)
        return;
    BMessage folder;
    for (int32 i = 0; customFolders.FindMessage("custom_folder", i, &folder) == B_OK; ++i) {
        if (strcmp(folder.FindString("custom_folder_name"), name) != 0)
            continue;
        BPath root;
        auto which = directory_which(folder.FindInt32("custom_root_dir"));
        if (find_directory(which, &root, false, &volume) != B_OK)
            return;
        BPath path(root);
        const char* sub = folder.FindString("custom_sub_dir");
        while (*sub == '/')
            sub++;
        if (*sub != '\0' && path.Append(sub) != B_OK)
            return;
        bool replace = folder.FindBool("custom_replace_existing");
        if (replace && EntryExists(path.Path()))
            ReplaceCustomFolder(path, root, savedFolder);
        if (!LibExists(path.Path()))
            Libmkdir(path.Path());
        if (replace) {
            // Later items of this run find the folder in place.
            folder.ReplaceBool("custom_replace_existing", false);
            customFolders.ReplaceMessage("custom_folder", i, &folder);
        }
        if (IsFolder(path.Path()))
            result = path.Path();
        return;
    }
    // Linux makes many standard folders only when first used; a missing one
    // is made here, since a move into a missing folder would give the item
    // the folder's name instead.
    directory_which which;
    BPath path;
    if (LibGetStdDirName(name, which) && find_directory(which, &path, true) == B_OK
        && IsFolder(path.Path()))
        result = path.Path();
}

void InstallConfig::ReplaceCustomFolder(
    const BPath& folder, const BPath& root, const char* savedFolder)
{
    // Only a folder below the standard folder is the product's to replace:
    // an empty or climbing sub-folder never takes a system folder away.
    if (!IsBelow(folder, root))
        return;
    if (FindBool("opt_save_replaced"))
        SaveReplaced(folder.Path(), savedFolder);
    else
        LibUnlink(folder.Path());
}

bool InstallConfig::SaveReplaced(const char* path, const char* savedFolder)
{
    if (path == nullptr || savedFolder == nullptr || *savedFolder == '\0')
        return false;
    BPath existing(path);
    if (existing.InitCheck() != B_OK)
        return false;
    // An earlier save of the same name stays: the new one takes a free name.
    for (int attempt = 0; attempt < kMaxSaveAttempts; ++attempt) {
        BPath target(savedFolder, trash_clash_name(existing.Leaf(), attempt).c_str());
        if (target.InitCheck() != B_OK)
            return false;
        if (EntryExists(target.Path()))
            continue;
        return LibMove(path, target.Path());
    }
    return false;
}
