// The kernel's mount table (/proc/self/mountinfo) read into plain records,
// and the rules that decide which mounts count as volumes.
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

struct MountEntry {
    dev_t device = 0;         // from the table's major:minor field
    std::string root;         // the folder of the file system mounted here
    std::string mountPoint;   // absolute, unescaped
    std::string mountOptions; // per-mount options ("rw,nosuid,...")
    std::string fileSystem;   // "ext4", "tmpfs", "fuse.sshfs", ...
    std::string source;       // "/dev/sda1", "server:/export", ...
    std::string superOptions; // options of the file system itself
};

// Parses the text of a mountinfo file; malformed lines are skipped.
std::vector<MountEntry> parse_mount_table(const std::string& text);
// Reads and parses a mountinfo file; empty when it cannot be read.
std::vector<MountEntry> read_mount_table(const char* file = "/proc/self/mountinfo");

// Kernel interfaces and other file systems that hold no user files.
bool is_pseudo_mount(const MountEntry& entry);
// The mounts that count as volumes, in table order: no pseudo file systems,
// one entry per mount point (the last one mounted there, which hides the
// others) and one per device (its mount at "/" if any, else its first mount
// of the file system's own root).
std::vector<MountEntry> volume_mounts(const std::vector<MountEntry>& table);

// Whether an option list ("rw,relatime") holds `option`.
bool has_mount_option(const std::string& options, const char* option);
// File systems reached over a network.
bool is_network_file_system(const std::string& fileSystem);
// File systems whose contents vanish at a restart.
bool is_memory_file_system(const std::string& fileSystem);

// Whether the block device is removable, from sysfs under `sysRoot`: its own
// or its parent disk's "removable" flag, or a device behind USB.
bool is_removable_device(dev_t device, const std::string& sysRoot = "/sys");
// The file system label of `source` from the udev links in `byLabelFolder`
// (escapes such as "\x20" decoded); empty when it has none.
std::string label_for_source(
    const std::string& source, const std::string& byLabelFolder = "/dev/disk/by-label");
