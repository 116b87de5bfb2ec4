// A mounted volume: device, root folder, name, size and the flags the volume
// menus filter on. Read from the kernel's mount table each time it is set.
// The boot volume is the one holding "/"; under a trial root (STOW_ROOT) it is
// the one holding that root, and its root directory is the trial root itself.
#pragma once

#include "MountTable.h"
#include "StorageDefs.h"
#include "SupportDefs.h"

#include <string>

class BDirectory;

class BVolume {
public:
    BVolume() = default;
    explicit BVolume(dev_t device);
    BVolume(const BVolume& other) = default;
    BVolume& operator=(const BVolume& other) = default;
    virtual ~BVolume() = default;

    status_t InitCheck() const { return fStatus; }
    status_t SetTo(dev_t device);
    // The volume that holds `path` (links followed).
    status_t SetToVolumeOf(const char* path);
    void Unset();

    dev_t Device() const { return fMount.device; }
    status_t GetRootDirectory(BDirectory* directory) const;
    const char* RootPath() const { return fStatus == B_OK ? fRoot.c_str() : nullptr; }
    const char* MountPoint() const { return fStatus == B_OK ? fMount.mountPoint.c_str() : nullptr; }
    const char* FileSystemName() const
    {
        return fStatus == B_OK ? fMount.fileSystem.c_str() : nullptr;
    }

    // In bytes, 64-bit; the free count is what an ordinary user may fill.
    off_t Capacity() const;
    off_t FreeBytes() const;
    off_t BlockSize() const;

    // The file system's label, else its mount point.
    status_t GetName(char* name) const;
    const char* Name() const { return fStatus == B_OK ? fName.c_str() : nullptr; }

    bool IsRemovable() const;
    bool IsReadOnly() const;
    bool IsPersistent() const;
    bool IsShared() const;
    bool IsBoot() const { return fStatus == B_OK && fBoot; }
    // Whether the file system keeps user attributes (and so file types).
    bool KnowsAttr() const;
    bool KnowsMime() const { return KnowsAttr(); }
    bool KnowsQuery() const { return false; }

    bool operator==(const BVolume& other) const;
    bool operator!=(const BVolume& other) const { return !(*this == other); }

private:
    friend class BVolumeRoster;
    status_t SetToMount(const MountEntry& mount);

    MountEntry fMount;
    std::string fRoot;
    std::string fName;
    bool fBoot = false;
    status_t fStatus = B_NO_INIT;
};

// The device of the boot volume.
status_t boot_volume_device(dev_t* device);
// The mount holding `path`: by device, else the mount point that is the
// longest prefix of its canonical path. False when none is found.
bool mount_of_path(const char* path, MountEntry* mount);
