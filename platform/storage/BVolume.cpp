#include "BVolume.h"

#include "BDirectory.h"
#include "BPath.h"
#include "StowRoot.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/xattr.h>

namespace {

// The nearest existing folder at or above `path`, canonical.
std::string ExistingAncestor(const std::string& path)
{
    std::string current = BPath::Clean(path);
    char resolved[PATH_MAX];
    while (realpath(current.c_str(), resolved) == nullptr) {
        if (current == "/")
            return "/";
        size_t slash = current.rfind('/');
        current = slash == 0 ? "/" : current.substr(0, slash);
    }
    return resolved;
}

bool IsPrefixFolder(const std::string& folder, const std::string& path)
{
    if (folder == "/")
        return true;
    return path == folder || path.compare(0, folder.size() + 1, folder + "/") == 0;
}

} // namespace

bool mount_of_path(const char* path, MountEntry* mount)
{
    if (path == nullptr || *path == '\0')
        return false;
    std::string existing = ExistingAncestor(path);
    std::vector<MountEntry> table = read_mount_table();
    std::vector<MountEntry> volumes = volume_mounts(table);
    struct stat st;
    if (stat(existing.c_str(), &st) == 0) {
        for (const auto* list : {&volumes, &table}) {
            for (const auto& entry : *list) {
                if (entry.device == st.st_dev) {
                    *mount = entry;
                    return true;
                }
            }
        }
    }
    // Some file systems (btrfs subvolumes) report devices of their own.
    const MountEntry* best = nullptr;
    for (const auto& entry : table) {
        if (IsPrefixFolder(entry.mountPoint, existing)
            && (best == nullptr || entry.mountPoint.size() >= best->mountPoint.size()))
            best = &entry;
    }
    if (best == nullptr)
        return false;
    *mount = *best;
    return true;
}

status_t boot_volume_device(dev_t* device)
{
    std::string root = stow_root();
    MountEntry mount;
    if (!mount_of_path(root.empty() ? "/" : root.c_str(), &mount))
        return B_ENTRY_NOT_FOUND;
    *device = mount.device;
    return B_OK;
}

BVolume::BVolume(dev_t device)
{
    SetTo(device);
}

status_t BVolume::SetTo(dev_t device)
{
    Unset();
    std::vector<MountEntry> table = read_mount_table();
    std::vector<MountEntry> volumes = volume_mounts(table);
    for (const auto* list : {&volumes, &table}) {
        for (const auto& entry : *list) {
            if (entry.device == device)
                return SetToMount(entry);
        }
    }
    return fStatus = B_BAD_VALUE;
}

status_t BVolume::SetToVolumeOf(const char* path)
{
    Unset();
    MountEntry mount;
    if (!mount_of_path(path, &mount))
        return fStatus = B_ENTRY_NOT_FOUND;
    return SetToMount(mount);
}

status_t BVolume::SetToMount(const MountEntry& mount)
{
    fMount = mount;
    fRoot = mount.mountPoint;
    dev_t bootDevice = 0;
    fBoot = boot_volume_device(&bootDevice) == B_OK && bootDevice == mount.device;
    std::string trialRoot = stow_root();
    if (fBoot && !trialRoot.empty())
        fRoot = trialRoot;
    fName = label_for_source(mount.source);
    if (fName.empty())
        fName = mount.mountPoint;
    return fStatus = B_OK;
}

void BVolume::Unset()
{
    fMount = MountEntry();
    fRoot.clear();
    fName.clear();
    fBoot = false;
    fStatus = B_NO_INIT;
}

status_t BVolume::GetRootDirectory(BDirectory* directory) const
{
    if (directory == nullptr)
        return B_BAD_VALUE;
    if (fStatus != B_OK)
        return B_NO_INIT;
    return directory->SetTo(fRoot.c_str());
}

off_t BVolume::Capacity() const
{
    struct statvfs info;
    if (fStatus != B_OK || statvfs(fRoot.c_str(), &info) != 0)
        return 0;
    return off_t(uint64(info.f_blocks) * uint64(info.f_frsize));
}

off_t BVolume::FreeBytes() const
{
    struct statvfs info;
    if (fStatus != B_OK || statvfs(fRoot.c_str(), &info) != 0)
        return 0;
    return off_t(uint64(info.f_bavail) * uint64(info.f_frsize));
}

off_t BVolume::BlockSize() const
{
    struct statvfs info;
    if (fStatus != B_OK || statvfs(fRoot.c_str(), &info) != 0)
        return 0;
    return off_t(info.f_frsize);
}

status_t BVolume::GetName(char* name) const
{
    if (name == nullptr)
        return B_BAD_VALUE;
    if (fStatus != B_OK)
        return B_NO_INIT;
    snprintf(name, B_FILE_NAME_LENGTH, "%s", fName.c_str());
    return B_OK;
}

bool BVolume::IsRemovable() const
{
    return fStatus == B_OK && is_removable_device(fMount.device);
}

bool BVolume::IsReadOnly() const
{
    return fStatus == B_OK
        && (has_mount_option(fMount.mountOptions, "ro")
            || has_mount_option(fMount.superOptions, "ro"));
}

bool BVolume::IsPersistent() const
{
    return fStatus == B_OK && !is_memory_file_system(fMount.fileSystem);
}

bool BVolume::IsShared() const
{
    return fStatus == B_OK && is_network_file_system(fMount.fileSystem);
}

bool BVolume::KnowsAttr() const
{
    if (fStatus != B_OK)
        return false;
    // Asking for an attribute nobody sets tells whether the namespace exists:
    // "no such attribute" means yes, "not supported" means no.
    if (lgetxattr(fRoot.c_str(), "user.stowfast.probe", nullptr, 0) >= 0 || errno == ENODATA)
        return true;
    if (errno == ENOTSUP)
        return false;
    static const char* const kWithAttributes[]
        = {"ext2", "ext3", "ext4", "xfs", "btrfs", "f2fs", "jfs", "reiserfs", "zfs", "bcachefs"};
    for (const char* fileSystem : kWithAttributes) {
        if (fMount.fileSystem == fileSystem)
            return true;
    }
    return false;
}

bool BVolume::operator==(const BVolume& other) const
{
    if (fStatus != B_OK || other.fStatus != B_OK)
        return fStatus != B_OK && other.fStatus != B_OK;
    return fMount.device == other.fMount.device;
}
