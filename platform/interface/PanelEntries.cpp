#include "PanelEntries.h"

#include "BNode.h"
#include "BNodeInfo.h"
#include "BRefFilter.h"
#include "FileTypes.h"
#include "StorageDefs.h"

#include <algorithm>
#include <dirent.h>
#include <memory>
#include <strings.h>
#include <sys/stat.h>

namespace {

entry_ref RefOf(const std::string& path, const struct stat& folder)
{
    size_t slash = path.find_last_of('/');
    std::string parent = slash == 0 ? "/" : path.substr(0, slash);
    return entry_ref(folder.st_dev, folder.st_ino, path.substr(slash + 1).c_str(), parent);
}

bool IsMountPoint(const std::string& path, const struct stat& info)
{
    if (!S_ISDIR(info.st_mode))
        return false;
    struct stat above;
    return path == "/"
        || (stat((path + "/..").c_str(), &above) == 0 && above.st_dev != info.st_dev);
}

} // namespace

std::string panel_mime_type(const std::string& path, const struct stat& info)
{
    if (IsMountPoint(path, info))
        return kVolumeMimeType;
    if (S_ISDIR(info.st_mode))
        return kDirectoryMimeType;
    if (S_ISLNK(info.st_mode))
        return kSymLinkMimeType;
    BNode node(path.c_str());
    BNodeInfo nodeInfo(&node);
    char type[B_MIME_TYPE_LENGTH] = {};
    if (nodeInfo.GetType(type) == B_OK)
        return type;
    return detect_mime_type(path.c_str());
}

PanelEntries::PanelEntries(uint32 nodeFlavors, BRefFilter* filter)
    : fFlavors(nodeFlavors == 0 ? B_FILE_NODE | B_DIRECTORY_NODE | B_SYMLINK_NODE : nodeFlavors)
    , fFilter(filter)
{ }

// Folders are always listed (they are the way elsewhere) unless the filter
// says no; other entries when their flavor is asked for (`followed`: the
// caller has settled the flavor).
bool PanelEntries::Judge(const std::string& path, const struct stat& info, bool followed) const
{
    bool folder = S_ISDIR(info.st_mode);
    if (!folder && !followed && !(fFlavors & B_FILE_NODE))
        return false;
    if (fFilter == nullptr)
        return true;
    size_t slash = path.find_last_of('/');
    struct stat parent;
    std::string parentPath = slash == 0 ? "/" : path.substr(0, slash);
    if (stat(parentPath.c_str(), &parent) != 0)
        return false;
    entry_ref ref = RefOf(path, parent);
    BNode node(path.c_str());
    struct stat copy = info;
    std::string type = panel_mime_type(path, info);
    return fFilter->Filter(&ref, &node, &copy, type.c_str());
}

bool PanelEntries::Admit(const std::string& path, PanelEntry& entry) const
{
    struct stat own;
    if (lstat(path.c_str(), &own) != 0)
        return false;
    entry.path = path;
    entry.name = path.substr(path.find_last_of('/') + 1);
    entry.link = S_ISLNK(own.st_mode);
    struct stat parent;
    size_t slash = path.find_last_of('/');
    std::string parentPath = slash == 0 ? "/" : path.substr(0, slash);
    if (stat(parentPath.c_str(), &parent) != 0)
        return false;
    entry.ref = RefOf(path, parent);
    if (!entry.link) {
        entry.folder = S_ISDIR(own.st_mode);
        return Judge(path, own, false);
    }
    // A link is judged as itself, and what it leads to must pass as well.
    char resolved[4096];
    struct stat target;
    if (realpath(path.c_str(), resolved) == nullptr || stat(resolved, &target) != 0)
        return false;
    entry.folder = S_ISDIR(target.st_mode);
    if (!entry.folder && !(fFlavors & (B_FILE_NODE | B_SYMLINK_NODE)))
        return false;
    return Judge(path, own, true) && Judge(resolved, target, true);
}

std::vector<PanelEntry> PanelEntries::List(const std::string& folder) const
{
    std::vector<PanelEntry> entries;
    std::unique_ptr<DIR, int (*)(DIR*)> directory(opendir(folder.c_str()), closedir);
    if (!directory)
        return entries;
    std::string prefix = folder == "/" ? "/" : folder + "/";
    while (dirent* item = readdir(directory.get())) {
        std::string name = item->d_name;
        if (name == "." || name == "..")
            continue;
        PanelEntry entry;
        if (Admit(prefix + name, entry))
            entries.push_back(std::move(entry));
    }
    std::sort(entries.begin(), entries.end(), [](const PanelEntry& a, const PanelEntry& b) {
        if (a.folder != b.folder)
            return a.folder;
        return strcasecmp(a.name.c_str(), b.name.c_str()) < 0;
    });
    return entries;
}
