#include "BDirectory.h"
#include "BVolume.h"
#include "BVolumeRoster.h"
#include "MountTable.h"
#include "MountWatcher.h"
#include "TestSupport.h"

#include <condition_variable>
#include <gtest/gtest.h>
#include <mutex>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

using stowtest::TempDir;
using stowtest::WriteFile;

namespace {

const char kTable[] = "22 27 0:21 / /proc rw,relatime - proc proc rw\n"
                      "24 27 0:6 / /dev rw,relatime - devtmpfs devtmpfs rw,size=10k\n"
                      "25 24 0:23 / /dev/shm rw,relatime - tmpfs tmpfs rw\n"
                      "27 1 254:0 / / rw,relatime shared:1 master:2 - ext4 /dev/vda rw,discard\n"
                      "30 25 0:27 / /dev/shm rw,relatime - tmpfs tmpfs rw\n"
                      "31 27 254:0 /srv/data /mnt/bind rw - ext4 /dev/vda rw\n"
                      "32 27 8:17 / /media/My\\040Disk ro,nosuid - vfat /dev/sdb1 rw,uid=1000\n"
                      "33 27 0:40 / /mnt/net rw - nfs4 server:/export rw\n"
                      "34 27 0:41 / /run/user/1000 rw - tmpfs tmpfs rw\n"
                      "this line is not a mount\n"
                      "35 27 0:42 / /mnt/half rw nothing-after-here\n";

std::vector<std::string> MountPoints(const std::vector<MountEntry>& entries)
{
    std::vector<std::string> result;
    for (const auto& entry : entries)
        result.push_back(entry.mountPoint);
    return result;
}

} // namespace

TEST(MountTable, ParsesFieldsAndEscapes)
{
    auto table = parse_mount_table(kTable);
    ASSERT_EQ(table.size(), 9u);
    const MountEntry& root = table[3];
    EXPECT_EQ(root.device, makedev(254, 0));
    EXPECT_EQ(root.mountPoint, "/");
    EXPECT_EQ(root.fileSystem, "ext4"); // after the optional fields
    EXPECT_EQ(root.source, "/dev/vda");
    EXPECT_EQ(root.superOptions, "rw,discard");
    EXPECT_EQ(table[6].mountPoint, "/media/My Disk");
    EXPECT_TRUE(has_mount_option(table[6].mountOptions, "ro"));
    EXPECT_FALSE(has_mount_option(table[6].mountOptions, "r"));
    EXPECT_EQ(table[5].root, "/srv/data");
}

TEST(MountTable, VolumesLeaveOutPseudoHiddenAndRepeatedMounts)
{
    auto volumes = volume_mounts(parse_mount_table(kTable));
    // /proc, /dev and /run/user are the system's; the first /dev/shm is
    // hidden by the second; the bind mount repeats the root device.
    EXPECT_EQ(MountPoints(volumes),
        (std::vector<std::string> {"/", "/dev/shm", "/media/My Disk", "/mnt/net"}));
    EXPECT_EQ(volumes[1].device, makedev(0, 27));

    EXPECT_TRUE(is_network_file_system("nfs4"));
    EXPECT_TRUE(is_network_file_system("fuse.sshfs"));
    EXPECT_FALSE(is_network_file_system("ext4"));
    EXPECT_TRUE(is_memory_file_system("tmpfs"));
    EXPECT_FALSE(is_memory_file_system("vfat"));
}

TEST(MountTable, RemovableFlagAndLabelFromSysfsAndUdev)
{
    TempDir temp;
    namespace fs = std::filesystem;
    fs::create_directories(temp / "sys/dev/block");
    fs::create_directories(temp / "sys/devices/pci0/block/sda/sda1");
    fs::create_directories(temp / "sys/devices/pci0/usb1/block/sdb");
    fs::create_directories(temp / "sys/devices/pci0/block/vda");
    WriteFile(temp / "sys/devices/pci0/block/sda/removable", "1\n");
    WriteFile(temp / "sys/devices/pci0/block/sda/sda1/partition", "1\n");
    WriteFile(temp / "sys/devices/pci0/block/vda/removable", "0\n");
    fs::create_directory_symlink("../../devices/pci0/block/sda/sda1", temp / "sys/dev/block/8:1");
    fs::create_directory_symlink("../../devices/pci0/usb1/block/sdb", temp / "sys/dev/block/8:16");
    fs::create_directory_symlink("../../devices/pci0/block/vda", temp / "sys/dev/block/254:0");
    std::string sys = temp.Str() + "/sys";
    EXPECT_TRUE(is_removable_device(makedev(8, 1), sys));
    EXPECT_TRUE(is_removable_device(makedev(8, 16), sys));
    EXPECT_FALSE(is_removable_device(makedev(254, 0), sys));
    EXPECT_FALSE(is_removable_device(makedev(9, 9), sys));

    fs::create_directories(temp / "dev/disk/by-label");
    WriteFile(temp / "dev/sdb1", "");
    fs::create_symlink("../../sdb1", temp / "dev/disk/by-label/My\\x20Disk");
    std::string labels = temp.Str() + "/dev/disk/by-label";
    EXPECT_EQ(label_for_source(temp.Str() + "/dev/sdb1", labels), "My Disk");
    EXPECT_EQ(label_for_source(temp.Str() + "/dev/other", labels), "");
    EXPECT_EQ(label_for_source("server:/export", labels), "");
}

TEST(Volumes, BootVolumeHoldsTheRootFolder)
{
    stowtest::ScopedEnv noRoot("STOW_ROOT", "");
    BVolumeRoster roster;
    BVolume boot;
    ASSERT_EQ(roster.GetBootVolume(&boot), B_OK);
    EXPECT_TRUE(boot.IsBoot());
    EXPECT_STREQ(boot.RootPath(), "/");
    struct stat st;
    ASSERT_EQ(stat("/", &st), 0);
    EXPECT_GT(boot.Capacity(), 0);
    EXPECT_LE(boot.FreeBytes(), boot.Capacity());
    EXPECT_GT(boot.BlockSize(), 0);
    char name[B_FILE_NAME_LENGTH];
    ASSERT_EQ(boot.GetName(name), B_OK);
    EXPECT_STRNE(name, "");
    BDirectory rootDir;
    ASSERT_EQ(boot.GetRootDirectory(&rootDir), B_OK);
    EXPECT_STREQ(rootDir.Path(), "/");
    EXPECT_TRUE(rootDir.IsRootDirectory());

    // The roster lists it, and nothing of the kernel's own.
    bool listed = false;
    BVolume volume;
    while (roster.GetNextVolume(&volume) == B_OK) {
        listed |= volume == boot;
        std::string point = volume.MountPoint();
        EXPECT_NE(point, "/proc");
        EXPECT_NE(point.compare(0, 5, "/sys/"), 0) << point;
        EXPECT_NE(std::string(volume.FileSystemName()), "devpts");
    }
    EXPECT_TRUE(listed);
    EXPECT_EQ(BVolume(makedev(4095, 4095)).InitCheck(), B_BAD_VALUE);
}

TEST(Volumes, AttributeSupportMatchesWhatTheFileSystemDoes)
{
    TempDir temp;
    BVolume volume;
    ASSERT_EQ(volume.SetToVolumeOf(temp.Str().c_str()), B_OK);
    WriteFile(temp / "probe", "x");
    bool works = setxattr((temp / "probe").c_str(), "user.test", "1", 1, 0) == 0;
    EXPECT_EQ(volume.KnowsAttr(), works);
    EXPECT_EQ(volume.KnowsMime(), works);
    EXPECT_FALSE(volume.KnowsQuery());
}

TEST(Volumes, MemoryFileSystemIsASecondVolume)
{
    struct stat shm;
    struct stat root;
    if (stat("/dev/shm", &shm) != 0 || stat("/", &root) != 0 || shm.st_dev == root.st_dev)
        GTEST_SKIP() << "no /dev/shm file system apart from the root file system";
    BVolume volume;
    ASSERT_EQ(volume.SetToVolumeOf("/dev/shm"), B_OK);
    EXPECT_EQ(volume.Device(), shm.st_dev);
    EXPECT_STREQ(volume.FileSystemName(), "tmpfs");
    EXPECT_FALSE(volume.IsPersistent());
    EXPECT_FALSE(volume.IsShared());
    EXPECT_FALSE(volume.IsRemovable());
    EXPECT_FALSE(volume.IsBoot());
    EXPECT_STREQ(volume.Name(), "/dev/shm");
    EXPECT_EQ(BVolume(shm.st_dev), volume);
    BVolumeRoster roster;
    BVolume listed;
    bool found = false;
    while (roster.GetNextVolume(&listed) == B_OK)
        found |= listed == volume;
    EXPECT_TRUE(found);
}

// Mounting needs a private mount namespace, made in a child process so that
// nobody else sees the mount.
TEST(Volumes, MountAndUnmountAreNoticed)
{
    TempDir temp;
    std::string point = temp.Str() + "/mnt";
    std::filesystem::create_directory(point);
    pid_t child = fork();
    if (child == 0) {
        if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr))
            _exit(77);
        std::mutex lock;
        std::condition_variable changed;
        std::vector<std::pair<int32, dev_t>> notices;
        MountWatcher watcher([&](int32 opcode, dev_t device) {
            std::lock_guard<std::mutex> guard(lock);
            notices.emplace_back(opcode, device);
            changed.notify_all();
        });
        if (watcher.Start() != B_OK)
            _exit(2);
        auto waitFor = [&](size_t count) {
            std::unique_lock<std::mutex> guard(lock);
            return changed.wait_for(
                guard, std::chrono::seconds(30), [&] { return notices.size() >= count; });
        };
        if (mount("stowtest", point.c_str(), "tmpfs", MS_RDONLY, "size=64k") != 0)
            _exit(77);
        struct stat st;
        stat(point.c_str(), &st);
        if (!waitFor(1) || notices[0] != std::make_pair(int32(B_DEVICE_MOUNTED), st.st_dev))
            _exit(3);
        BVolume volume(st.st_dev);
        if (volume.InitCheck() != B_OK || !volume.IsReadOnly() || volume.IsPersistent()
            || std::string(volume.MountPoint()) != point)
            _exit(4);
        if (umount(point.c_str()) != 0)
            _exit(5);
        if (!waitFor(2) || notices[1] != std::make_pair(int32(B_DEVICE_UNMOUNTED), st.st_dev))
            _exit(6);
        watcher.Stop();
        _exit(0);
    }
    ASSERT_GT(child, 0);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 77)
        GTEST_SKIP() << "no permission to mount in a private namespace";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "step that failed in the child";
}

TEST(Volumes, WatcherStopsPromptlyWithoutChanges)
{
    int calls = 0;
    MountWatcher watcher([&](int32, dev_t) { ++calls; });
    ASSERT_EQ(watcher.Start(), B_OK);
    EXPECT_TRUE(watcher.IsRunning());
    watcher.Stop();
    EXPECT_FALSE(watcher.IsRunning());
    EXPECT_EQ(calls, 0);
    MountWatcher broken([](int32, dev_t) {}, "/no/such/table");
    EXPECT_EQ(broken.Start(), B_ENTRY_NOT_FOUND);
}
