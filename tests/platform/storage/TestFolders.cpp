#include "BPath.h"
#include "BVolume.h"
#include "BVolumeRoster.h"
#include "FindDirectory.h"
#include "TestSupport.h"

#include <gtest/gtest.h>
#include <set>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using stowtest::ScopedEnv;
using stowtest::TempDir;

namespace {

std::string Find(directory_which which)
{
    BPath path;
    EXPECT_EQ(find_directory(which, &path), B_OK) << which;
    return path.Path() ? path.Path() : "";
}

// A controlled environment: no trial root, a made-up home, no XDG overrides.
struct PlainEnvironment {
    ScopedEnv root {"STOW_ROOT", ""};
    ScopedEnv home {"HOME", "/home/tester"};
    ScopedEnv config {"XDG_CONFIG_HOME", ""};
    ScopedEnv data {"XDG_DATA_HOME", ""};
    ScopedEnv desktop {"XDG_DESKTOP_DIR", ""};
    ScopedEnv tmp {"TMPDIR", "/var/tmp/x"};
};

} // namespace

TEST(Folders, TableHoldsEveryValueOnceWithItsName)
{
    auto folders = standard_folders();
    EXPECT_EQ(folders.size(), 51u);
    std::set<int32> values;
    std::set<std::string> names;
    for (const auto& folder : folders) {
        values.insert(folder.which);
        names.insert(folder.name);
    }
    EXPECT_EQ(values.size(), folders.size());
    EXPECT_EQ(names.size(), folders.size());
    // Groups count up by one from their first value.
    for (int32 first : {0, 1000, 2000, 3000, 4000}) {
        int32 last = first;
        while (values.count(last + 1))
            ++last;
        EXPECT_TRUE(values.count(first));
        EXPECT_EQ(last,
            first == 0          ? 1
                : first == 1000 ? 1014
                : first == 2000 ? 2018
                : first == 3000 ? 3011
                                : 4002);
    }
    EXPECT_EQ(B_COMMON_DOCUMENTATION_DIRECTORY, 2009);
    EXPECT_EQ(B_COMMON_TEMP_DIRECTORY, 2014);
    EXPECT_EQ(B_USER_BOOT_DIRECTORY, 3003);
    EXPECT_EQ(B_USER_SETTINGS_DIRECTORY, 3006);
    EXPECT_STREQ(standard_folder(B_USER_BOOT_DIRECTORY)->name, "User Boot");
    EXPECT_EQ(standard_folder_named("User Boot")->which, B_USER_BOOT_DIRECTORY);
    EXPECT_EQ(standard_folder_named("user boot"), nullptr);
    EXPECT_EQ(standard_folder(directory_which(999)), nullptr);
    BPath path;
    EXPECT_EQ(find_directory(directory_which(999), &path), B_BAD_VALUE);
    EXPECT_EQ(find_directory(B_USER_DIRECTORY, nullptr), B_BAD_VALUE);
}

TEST(Folders, MapOntoLinuxPlaces)
{
    PlainEnvironment env;
    EXPECT_EQ(Find(B_USER_DIRECTORY), "/home/tester");
    EXPECT_EQ(Find(B_DESKTOP_DIRECTORY), "/home/tester/Desktop");
    EXPECT_EQ(Find(B_TRASH_DIRECTORY), "/home/tester/.local/share/Trash");
    EXPECT_EQ(Find(B_USER_SETTINGS_DIRECTORY), "/home/tester/.config");
    EXPECT_EQ(Find(B_USER_BOOT_DIRECTORY), "/home/tester/.config/boot");
    EXPECT_EQ(Find(B_USER_DESKBAR_DIRECTORY), "/home/tester/.local/share/applications");
    EXPECT_EQ(Find(B_COMMON_TEMP_DIRECTORY), "/var/tmp/x");
    EXPECT_EQ(Find(B_COMMON_DOCUMENTATION_DIRECTORY), "/usr/local/share/doc");
    EXPECT_EQ(Find(B_COMMON_LOG_DIRECTORY), "/var/log");
    EXPECT_EQ(Find(B_BEOS_BIN_DIRECTORY), "/usr/bin");
    EXPECT_EQ(Find(B_BEOS_ETC_DIRECTORY), "/etc");
    EXPECT_EQ(Find(B_APPS_DIRECTORY), "/opt");

    // XDG base directories count when absolute; relative ones are ignored.
    ScopedEnv config("XDG_CONFIG_HOME", "/elsewhere/conf");
    ScopedEnv data("XDG_DATA_HOME", "relative/data");
    EXPECT_EQ(Find(B_USER_BOOT_DIRECTORY), "/elsewhere/conf/boot");
    EXPECT_EQ(Find(B_TRASH_DIRECTORY), "/home/tester/.local/share/Trash");
    ScopedEnv tmp("TMPDIR", "");
    EXPECT_EQ(Find(B_COMMON_TEMP_DIRECTORY), "/tmp");
}

TEST(Folders, TrialRootPrefixesEveryFolderAndCreatesInside)
{
    TempDir root;
    PlainEnvironment env;
    ScopedEnv trial("STOW_ROOT", root.Str());
    for (const auto& folder : standard_folders()) {
        std::string path = Find(folder.which);
        EXPECT_EQ(path.compare(0, root.Str().size() + 1, root.Str() + "/"), 0) << path;
    }
    EXPECT_EQ(Find(B_USER_DIRECTORY), root.Str() + "/home/tester");
    EXPECT_EQ(Find(B_BEOS_ETC_DIRECTORY), root.Str() + "/etc");
    EXPECT_EQ(Find(B_COMMON_TEMP_DIRECTORY), root.Str() + "/var/tmp/x");
    {
        // A home already inside the root is taken as it is.
        ScopedEnv home("HOME", root.Str() + "/home/inside");
        EXPECT_EQ(Find(B_USER_CONFIG_DIRECTORY), root.Str() + "/home/inside/.config");
    }

    BPath created;
    ASSERT_EQ(find_directory(B_COMMON_DOCUMENTATION_DIRECTORY, &created, true), B_OK);
    EXPECT_TRUE(std::filesystem::is_directory(created.Path()));
    ASSERT_EQ(find_directory(B_TRASH_DIRECTORY, &created, true), B_OK);
    EXPECT_TRUE(std::filesystem::is_directory(std::string(created.Path()) + "/files"));
    EXPECT_TRUE(std::filesystem::is_directory(std::string(created.Path()) + "/info"));
    struct stat st;
    ASSERT_EQ(stat(created.Path(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);

    // The user's desktop folder comes from user-dirs.dirs inside the root.
    std::filesystem::create_directories(root / "home/tester/.config");
    stowtest::WriteFile(root / "home/tester/.config/user-dirs.dirs",
        "# written by xdg-user-dirs-update\nXDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n");
    EXPECT_EQ(Find(B_DESKTOP_DIRECTORY), root.Str() + "/home/tester/Schreibtisch");

    // The boot volume's root directory is the trial root.
    BVolumeRoster roster;
    BVolume boot;
    ASSERT_EQ(roster.GetBootVolume(&boot), B_OK);
    EXPECT_TRUE(boot.IsBoot());
    EXPECT_EQ(std::string(boot.RootPath()), root.Str());
}

TEST(Folders, OtherVolumesKeepTheLayoutBelowTheirRoot)
{
    PlainEnvironment env;
    struct stat shm;
    struct stat rootStat;
    if (stat("/dev/shm", &shm) != 0 || stat("/", &rootStat) != 0 || shm.st_dev == rootStat.st_dev)
        GTEST_SKIP() << "no /dev/shm file system apart from the root file system";
    BVolume volume;
    ASSERT_EQ(volume.SetToVolumeOf("/dev/shm"), B_OK);
    ASSERT_FALSE(volume.IsBoot());
    BPath path;
    ASSERT_EQ(find_directory(B_COMMON_DOCUMENTATION_DIRECTORY, &path, false, &volume), B_OK);
    EXPECT_STREQ(path.Path(), "/dev/shm/usr/local/share/doc");
    ASSERT_EQ(find_directory(B_TRASH_DIRECTORY, &path, false, &volume), B_OK);
    EXPECT_EQ(std::string(path.Path()), "/dev/shm/.Trash-" + std::to_string(getuid()));
    BVolume unset;
    EXPECT_EQ(find_directory(B_USER_DIRECTORY, &path, false, &unset), B_BAD_VALUE);
}

// Run by an ordinary user, the system folders it cannot write become its
// own; one it can write stays; root keeps the system folders.
TEST(Folders, AnOrdinaryUserGetsPerUserPlacesForSystemFoldersItCannotWrite)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to act as another user";
    TempDir root;
    chmod(root.Path().c_str(), 0755);
    PlainEnvironment plain;
    ScopedEnv trial("STOW_ROOT", root.Str());
    std::filesystem::create_directories(root / "usr/local/share/doc");
    std::filesystem::create_directories(root / "home/tester");
    // A system folder this user was given.
    std::filesystem::create_directories(root / "usr/local/bin");
    chown((root / "usr/local/bin").c_str(), 65534, 65534);

    EXPECT_EQ(Find(B_APPS_DIRECTORY), root.Str() + "/opt");

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (setegid(65534) != 0 || seteuid(65534) != 0)
            _exit(2);
        const bool ok = folder_scope() == FolderScope::User
            && Find(B_APPS_DIRECTORY) == root.Str() + "/home/tester/Applications"
            && Find(B_COMMON_DOCUMENTATION_DIRECTORY)
                == root.Str() + "/home/tester/.local/share/doc"
            && Find(B_COMMON_LOG_DIRECTORY) == root.Str() + "/home/tester/.local/state/log"
            && Find(B_COMMON_BIN_DIRECTORY) == root.Str() + "/usr/local/bin"
            && resolves_per_user(*standard_folder(B_APPS_DIRECTORY))
            && !resolves_per_user(*standard_folder(B_COMMON_BIN_DIRECTORY));
        _exit(ok ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}
