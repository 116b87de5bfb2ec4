#include "Trash.h"

#include "BDirectory.h"
#include "BEntry.h"
#include "BPath.h"
#include "BVolume.h"
#include "FindDirectory.h"
#include "PathText.h"
#include "ScopedResources.h"
#include "StowRoot.h"
#include "WriteAll.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kMaxAttempts = 100000;
constexpr size_t kMaxNameBytes = 255;
const char kInfoSuffix[] = ".trashinfo";

status_t MakeTrashFolders(const std::string& folder)
{
    status_t status = create_directory(folder.c_str(), 0700);
    if (status == B_OK)
        status = create_directory(join_path(folder, "files").c_str(), 0700);
    if (status == B_OK)
        status = create_directory(join_path(folder, "info").c_str(), 0700);
    return status;
}

bool IsRealFolder(const std::string& path, struct stat* st)
{
    return lstat(path.c_str(), st) == 0 && S_ISDIR(st->st_mode);
}

// The per-volume trash below `topdir`, or empty when it cannot be used.
std::string VolumeTrash(const std::string& topdir)
{
    std::string uid = std::to_string(getuid());
    struct stat st;
    std::string shared = join_path(topdir, ".Trash");
    if (IsRealFolder(shared, &st) && (st.st_mode & S_ISVTX) != 0) {
        std::string own = join_path(shared, uid);
        if (MakeTrashFolders(own) == B_OK && IsRealFolder(own, &st) && st.st_uid == getuid())
            return own;
    }
    std::string own = join_path(topdir, ".Trash-" + uid);
    if (MakeTrashFolders(own) == B_OK && IsRealFolder(own, &st) && st.st_uid == getuid())
        return own;
    return {};
}

dev_t DeviceOf(const std::string& path)
{
    MountEntry mount;
    return mount_of_path(path.c_str(), &mount) ? mount.device : dev_t(-1);
}

// Cuts `leaf` so that `leaf + suffix + ".trashinfo"` fits a name, without
// splitting a UTF-8 sequence.
std::string FitName(const std::string& leaf, const std::string& suffix)
{
    size_t room = kMaxNameBytes - (sizeof(kInfoSuffix) - 1) - suffix.size();
    if (leaf.size() <= room)
        return leaf + suffix;
    size_t cut = room;
    while (cut > 0 && (uint8(leaf[cut]) & 0xc0) == 0x80)
        --cut;
    return leaf.substr(0, cut) + suffix;
}

std::string InfoText(const std::string& pathValue)
{
    time_t now = time(nullptr);
    struct tm local;
    localtime_r(&now, &local);
    char date[32];
    strftime(date, sizeof(date), "%Y-%m-%dT%H:%M:%S", &local);
    return "[Trash Info]\nPath=" + trash_info_escape(pathValue) + "\nDeletionDate=" + date + "\n";
}

// Claims a free name in the trash by creating its info file exclusively.
status_t ClaimName(
    const std::string& trash, const std::string& leaf, const std::string& info, std::string* name)
{
    for (int attempt = 0; attempt < kMaxAttempts; ++attempt) {
        std::string candidate = FitName(leaf, trash_clash_name("", attempt));
        std::string infoPath = join_path(join_path(trash, "info"), candidate + kInfoSuffix);
        struct stat st;
        if (lstat(join_path(join_path(trash, "files"), candidate).c_str(), &st) == 0)
            continue;
        ScopedFd fd(
            open(infoPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
        if (!fd.IsValid()) {
            if (errno == EEXIST)
                continue;
            return status_from_errno(errno);
        }
        status_t status = write_all(fd.Get(), info.data(), info.size());
        status_t closed = fd.Close();
        if (status == B_OK)
            status = closed;
        if (status != B_OK) {
            unlink(infoPath.c_str());
            return status;
        }
        *name = candidate;
        return B_OK;
    }
    return B_FILE_EXISTS;
}

} // namespace

std::string trash_clash_name(const std::string& leaf, int attempt)
{
    if (attempt <= 0)
        return leaf;
    if (attempt == 1)
        return leaf + " copy";
    return leaf + " copy " + std::to_string(attempt - 1);
}

std::string trash_info_escape(const std::string& path)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string result;
    for (char c : path) {
        uint8 byte = uint8(c);
        if (isalnum(byte) || strchr("-_.!~*'()/", c) != nullptr) {
            result += c;
        } else {
            result += '%';
            result += kHex[byte >> 4];
            result += kHex[byte & 15];
        }
    }
    return result;
}

status_t trash_folder_for(const char* path, std::string* trashFolder)
{
    if (path == nullptr || *path == '\0' || trashFolder == nullptr)
        return B_BAD_VALUE;
    BPath home;
    status_t status = find_directory(B_TRASH_DIRECTORY, &home);
    if (status != B_OK)
        return status;
    std::string folder = parent_path(BPath::Clean(path));
    if (stow_root().empty() && DeviceOf(folder) != DeviceOf(home.Path())) {
        MountEntry mount;
        if (mount_of_path(folder.c_str(), &mount)) {
            std::string volumeTrash = VolumeTrash(mount.mountPoint);
            if (!volumeTrash.empty()) {
                *trashFolder = volumeTrash;
                return B_OK;
            }
        }
    }
    status = MakeTrashFolders(home.Path());
    if (status == B_OK)
        *trashFolder = home.Path();
    return status;
}

status_t move_to_trash(
    const char* path, TrashClash clash, std::string* trashedPath, const CancelCheck& cancel)
{
    BEntry entry(path);
    if (entry.InitCheck() != B_OK)
        return entry.InitCheck();
    if (!entry.Exists())
        return B_ENTRY_NOT_FOUND;
    std::string original = entry.Path();
    if (original == "/")
        return B_NOT_ALLOWED;
    std::string trash;
    status_t status = trash_folder_for(original.c_str(), &trash);
    if (status != B_OK)
        return status;
    std::string trashParent = parent_path(trash);
    if (original == trash || trash.compare(0, original.size() + 1, original + "/") == 0)
        return B_NOT_ALLOWED;

    // A volume trash records paths relative to the volume's top folder.
    std::string pathValue = original;
    BPath home;
    find_directory(B_TRASH_DIRECTORY, &home);
    if (trash != home.Path()) {
        std::string topdir
            = leaf_name(trashParent) == ".Trash" ? parent_path(trashParent) : trashParent;
        if (topdir != "/" && original.compare(0, topdir.size() + 1, topdir + "/") == 0)
            pathValue = original.substr(topdir.size() + 1);
        else if (topdir == "/")
            pathValue = original.substr(1);
    }

    std::string info = InfoText(pathValue);
    std::string leaf = entry.Name();
    std::string name;
    if (clash == TrashClash::Replace) {
        name = FitName(leaf, "");
        status = remove_entry(join_path(join_path(trash, "files"), name).c_str());
        if (status == B_OK) {
            std::string infoPath = join_path(join_path(trash, "info"), name + kInfoSuffix);
            status = write_file_atomically(infoPath.c_str(), info.data(), info.size(), 0600);
        }
    } else {
        status = ClaimName(trash, leaf, info, &name);
    }
    if (status != B_OK)
        return status;
    // Without the entry the info file would describe nothing.
    ScopedRemoval infoCleanup(join_path(join_path(trash, "info"), name + kInfoSuffix));
    std::string target = join_path(join_path(trash, "files"), name);
    status = move_entry(original.c_str(), target.c_str(), TargetMode::ExactPath, cancel);
    struct stat arrived;
    if (status != B_OK && (status == B_CANCELED || lstat(target.c_str(), &arrived) != 0))
        return status;
    // Also a copy from another volume whose original could not be removed
    // entirely keeps its info file: it is listed and can be restored.
    infoCleanup.Keep();
    if (trashedPath != nullptr)
        *trashedPath = target;
    return status;
}

std::vector<std::string> existing_volume_trash_folders(const std::string& topdir)
{
    std::string uid = std::to_string(getuid());
    std::vector<std::string> folders;
    struct stat st;
    for (const std::string& folder :
        {join_path(join_path(topdir, ".Trash"), uid), join_path(topdir, ".Trash-" + uid)}) {
        if (IsRealFolder(folder, &st))
            folders.push_back(folder);
    }
    return folders;
}
