#include "BPath.h"
#include "BVolume.h"
#include "FindDirectory.h"
#include "InstallConfig.h"
#include "LibPaths.h"
#include "Sandbox.h"

#include <gtest/gtest.h>

#include <memory>

using namespace stowtest;
namespace fs = std::filesystem;

namespace {

BMessage CustomFolderEntry(const char* name, directory_which root, const char* sub, bool replace)
{
    BMessage folder;
    folder.AddString("custom_folder_name", name);
    folder.AddInt32("custom_root_dir", root);
    folder.AddString("custom_sub_dir", sub);
    folder.AddBool("custom_replace_existing", replace);
    return folder;
}

BMessage Folders(std::initializer_list<BMessage> entries)
{
    BMessage folders;
    for (const BMessage& entry : entries)
        folders.AddMessage("custom_folder", &entry);
    return folders;
}

BVolume BootVolume(const TempDir& root)
{
    BVolume volume;
    volume.SetToVolumeOf(root.Str().c_str());
    return volume;
}

} // namespace

TEST(InstallPlaces, CustomFolderIsReplacedOncePerRunOrSaved)
{
    Sandbox box;
    InstallConfig config;
    BMessage folders = Folders(
        {CustomFolderEntry("Docs", B_COMMON_DOCUMENTATION_DIRECTORY, "Stowsmith/Docs", true),
            CustomFolderEntry("Docs", B_COMMON_BIN_DIRECTORY, "Other", false),
            CustomFolderEntry("Whole", B_COMMON_SOUNDS_DIRECTORY, "", true)});
    config.AddMessage("custom_folder", &folders);
    BVolume volume = BootVolume(box.temp);
    fs::path docs = box.temp / "usr/local/share/doc/Stowsmith/Docs";
    Put(docs / "old.txt", "old");

    // The first definition of the name wins; the old folder goes, once.
    LibString result;
    config.GetNewPath("Docs", folders, volume, "", result);
    EXPECT_EQ(std::string(result), docs.string());
    EXPECT_FALSE(Exists(docs / "old.txt"));
    Put(docs / "first.txt", "first");
    config.GetNewPath("Docs", folders, volume, "", result);
    EXPECT_TRUE(Exists(docs / "first.txt"));

    // A new run copies the record's definitions afresh; saving keeps an
    // earlier save of the same name and takes the next free name.
    config.AddBool("opt_save_replaced", true);
    fs::path saved = box.Work() / "Saved Files";
    Put(saved / "Docs/earlier.txt", "earlier");
    BMessage again;
    ASSERT_EQ(config.FindMessage("custom_folder", &again), B_OK);
    config.GetNewPath("Docs", again, volume, saved.c_str(), result);
    EXPECT_FALSE(Exists(docs / "first.txt"));
    EXPECT_TRUE(fs::is_directory(docs));
    EXPECT_EQ(ReadFile(saved / "Docs/earlier.txt"), "earlier");
    EXPECT_EQ(ReadFile(saved / "Docs copy/first.txt"), "first");

    // An empty sub-folder names the standard folder itself: never replaced.
    fs::path sounds = box.temp / "usr/local/share/sounds";
    Put(sounds / "system.wav", "keep");
    config.GetNewPath("Whole", folders, volume, saved.c_str(), result);
    EXPECT_EQ(std::string(result), sounds.string());
    EXPECT_TRUE(Exists(sounds / "system.wav"));
}

TEST(InstallPlaces, StandardFoldersOnTheBootVolumeCustomOnesOnTheDestination)
{
    Sandbox box;
    // The home folder is named after a fresh folder on another volume, so
    // the user folder of that volume lies inside it.
    std::unique_ptr<TempDir> other;
    struct stat shm;
    struct stat here;
    if (stat("/dev/shm", &shm) == 0 && stat(box.temp.Str().c_str(), &here) == 0
        && shm.st_dev != here.st_dev && access("/dev/shm", W_OK) == 0)
        other = std::make_unique<TempDir>("/dev/shm");
    if (!other)
        GTEST_SKIP() << "no writable /dev/shm apart from the temporary folder's file system";
    std::string homeName = "/" + other->Path().filename().string();
    ScopedEnv home("HOME", homeName);

    InstallConfig config;
    BMessage folders = Folders({CustomFolderEntry("Product", B_USER_DIRECTORY, "Product", false),
        CustomFolderEntry("User Boot", B_USER_DIRECTORY, "Boot Place", false)});
    BVolume destination;
    ASSERT_EQ(destination.SetToVolumeOf(other->Str().c_str()), B_OK);
    ASSERT_FALSE(destination.IsBoot());

    LibString result;
    config.GetNewPath("Product", folders, destination, "", result);
    EXPECT_EQ(std::string(result), (other->Path() / "Product").string());
    EXPECT_TRUE(fs::is_directory(other->Path() / "Product"));

    // A standard name resolves on the boot volume, made when missing.
    config.GetNewPath("Common Sounds", folders, destination, "", result);
    EXPECT_EQ(std::string(result), (box.temp / "usr/local/share/sounds").string());
    EXPECT_TRUE(fs::is_directory(std::string(result)));
    config.GetNewPath("User", folders, destination, "", result);
    EXPECT_EQ(std::string(result), box.temp.Str() + homeName);

    // A custom name wins over the standard name; names match exactly.
    config.GetNewPath("User Boot", folders, destination, "", result);
    EXPECT_EQ(std::string(result), (other->Path() / "Boot Place").string());
    for (const char* unknown : {"user boot", "Nowhere", "", "User Selected"}) {
        config.GetNewPath(unknown, folders, destination, "", result);
        EXPECT_STREQ(result, "") << unknown;
    }
}

TEST(InstallPlaces, MarksByLeafNameAndGroupMembership)
{
    InstallConfig config;
    BMessage instructions;
    for (const char* name : {"/boot/build/Images", "/elsewhere/Images", "/b/chimes.wav"}) {
        BMessage entry;
        entry.AddString("file_name", name);
        instructions.AddMessage("install_file", &entry);
    }
    config.AddMessage("install_instructions", &instructions);
    config.MarkInstallFile("chimes.wav", true);
    config.MarkInstallFile("chimes.wav", false);
    config.MarkInstallFile("Images", true);
    config.MarkInstallFile("images", true);
    ASSERT_EQ(config.FindMessage("install_instructions", &instructions), B_OK);
    BMessage entry;
    instructions.FindMessage("install_file", 2, &entry);
    EXPECT_FALSE(entry.FindBool("install_to_system"));
    EXPECT_FALSE(entry.HasBool("install_to_system", 1)); // replaced, not added
    instructions.FindMessage("install_file", 0, &entry);
    EXPECT_TRUE(entry.FindBool("install_to_system"));
    instructions.FindMessage("install_file", 1, &entry);
    EXPECT_FALSE(entry.HasBool("install_to_system"));

    EXPECT_TRUE(InstallConfig::IsInGroup("Typical;Documents;", "Documents"));
    for (const char* other : {"typical", "Doc", "Typical;", ""})
        EXPECT_FALSE(InstallConfig::IsInGroup("Typical;Documents;;", other)) << other;
}

TEST(InstallPlaces, ProductFolderExistence)
{
    Sandbox box;
    InstallConfig config;
    fs::create_directories(box.Work() / "Stowsmith");
    entry_ref destination;
    ASSERT_TRUE(LibGetEntryRef(box.Work().c_str(), destination));
    config.SetDestination(destination);
    config.AddString("opt_created_folder", "Stowsmith");
    EXPECT_TRUE(config.DoesDestinationExist());
    config.ReplaceString("opt_created_folder", "Stowsmith 2");
    EXPECT_FALSE(config.DoesDestinationExist());
    // Names that would make the destination, or a folder above it, the
    // product folder never count as an existing product.
    for (const char* name : {"", ".", "..", "../work", "/tmp"}) {
        config.ReplaceString("opt_created_folder", name);
        EXPECT_FALSE(config.DoesDestinationExist()) << name;
    }
}
