#include "BEntry.h"
#include "BMessage.h"
#include "BPath.h"
#include "LibPaths.h"
#include "LibStdDirNames.h"
#include "LibString.h"
#include "RunningExecutable.h"
#include "Sandbox.h"

#include <cstring>
#include <gtest/gtest.h>

using stowtest::kOddName;
using stowtest::Sandbox;
using stowtest::WriteFile;
namespace fs = std::filesystem;

TEST(LibPaths, ReferencesPathsAndNamesTranslate)
{
    Sandbox box;
    fs::path work = box.Work();
    fs::create_directories(work / kOddName);
    WriteFile(work / kOddName / "leaf", "x");
    std::string file = (work / kOddName / "leaf").string();

    entry_ref ref;
    ASSERT_TRUE(LibGetEntryRef(file.c_str(), ref));
    EXPECT_EQ(ref.name, "leaf");
    LibString full;
    ASSERT_TRUE(LibGetFullPath(ref, full));
    EXPECT_STREQ(full, file.c_str());

    // The entry need not exist; its folder must.
    entry_ref future;
    ASSERT_TRUE(LibGetEntryRef((work / "not yet").c_str(), future));
    BPath futurePath;
    ASSERT_TRUE(LibGetFullPath(future, futurePath));
    EXPECT_EQ(std::string(futurePath.Path()), (work / "not yet").string());
    EXPECT_FALSE(LibGetEntryRef((work / "no/such/thing").c_str(), future));

    entry_ref parent = LibGetParentRef(ref);
    EXPECT_EQ(parent.name, kOddName);
    BPath joined;
    ASSERT_TRUE(LibGetPath(parent, "other", joined));
    EXPECT_EQ(std::string(joined.Path()), (work / kOddName / "other").string());
    EXPECT_FALSE(LibGetParentRef(entry_ref()).IsSet());
    EXPECT_FALSE(LibGetFullPath(entry_ref(), full));
    EXPECT_STREQ(full, "");

    LibString folder;
    ASSERT_TRUE(LibGetParentPath(file.c_str(), folder));
    EXPECT_STREQ(folder, (work / kOddName).c_str());
}

TEST(LibPaths, ChildNamesNeverOverflowTheirBuffer)
{
    char leaf[B_FILE_NAME_LENGTH];
    ASSERT_TRUE(LibGetChildName("/a/b/name with space", leaf));
    EXPECT_STREQ(leaf, "name with space");
    ASSERT_TRUE(LibGetChildName("/a/b/trailing/", leaf));
    EXPECT_STREQ(leaf, "trailing");

    char small[8];
    memset(small, 'z', sizeof small);
    EXPECT_FALSE(LibGetChildName("/a/caf\xc3\xa9-long", small, sizeof small));
    EXPECT_STREQ(small, "");
    ASSERT_TRUE(LibGetChildName("/a/caf\xc3\xa9", small, sizeof small));
    EXPECT_STREQ(small, "caf\xc3\xa9");
    EXPECT_FALSE(LibGetChildName("/a/b", small, 0));

    // The fixed-size form cuts a name too long for it at a character start.
    std::string longName = "/x/" + std::string(254, 'n') + "\xc3\xa9\xc3\xa9";
    ASSERT_TRUE(LibGetChildName(longName.c_str(), leaf));
    EXPECT_EQ(std::string(leaf), std::string(254, 'n'));
}

TEST(LibPaths, SavePanelChoicesBecomePaths)
{
    Sandbox box;
    entry_ref folder;
    ASSERT_TRUE(LibGetEntryRef(box.Work().c_str(), folder));
    BMessage message('SAVE');
    message.AddRef("directory", &folder);
    message.AddString("name", "  my file.txt  ");
    BPath path;
    EXPECT_EQ(LibGetFilePath(&message, path), 11);
    EXPECT_EQ(std::string(path.Path()), (box.Work() / "my file.txt").string());

    BMessage noName('SAVE');
    noName.AddRef("directory", &folder);
    EXPECT_EQ(LibGetFilePath(&noName, path), 0);
    EXPECT_EQ(std::string(path.Path()), box.Work().string());

    // A name that is no leaf cannot lead out of the chosen folder.
    for (const char* bad : {"../escape", "..", "a/b", "   "}) {
        BMessage message2('SAVE');
        message2.AddRef("directory", &folder);
        message2.AddString("name", bad);
        EXPECT_EQ(LibGetFilePath(&message2, path), 0) << bad;
        EXPECT_EQ(std::string(path.Path()), box.Work().string()) << bad;
    }
    EXPECT_EQ(LibGetFilePath(nullptr, path), 0);
}

TEST(LibPaths, SettingsAndProgramFolders)
{
    Sandbox box;
    LibString settings;
    ASSERT_TRUE(LibGetSettingsPath(settings));
    EXPECT_STREQ(settings, (box.Home() / ".config").c_str());

    std::vector<char> buffer(size_t(settings.Length()) + 1, 'z');
    ASSERT_TRUE(LibGetSettingsPath(buffer.data(), int(buffer.size())));
    EXPECT_STREQ(buffer.data(), settings);
    std::vector<char> tooSmall(size_t(settings.Length()), 'z');
    EXPECT_FALSE(LibGetSettingsPath(tooSmall.data(), int(tooSmall.size())));
    EXPECT_EQ(tooSmall[0], '\0');
    EXPECT_EQ(tooSmall[1], 'z') << "nothing written beyond the terminator";

    // The running program's folder, not the working folder.
    BPath program;
    ASSERT_TRUE(LibGetWorkingDirectory(program));
    EXPECT_EQ(std::string(program.Path()), fs::read_symlink("/proc/self/exe").parent_path());
    WriteFile(box.Work() / "Stowfast", "");
    set_running_executable_path((box.Work() / "Stowfast").c_str());
    ASSERT_TRUE(LibGetWorkingDirectory(program));
    set_running_executable_path(nullptr);
    EXPECT_EQ(std::string(program.Path()), box.Work().string());
}

TEST(LibStdDirNames, TableMatchesTheStandardFolders)
{
    ASSERT_EQ(standard_folders().size(), size_t(kLibDirNameCount));
    for (int32 i = 0; i < kLibDirNameCount; ++i) {
        const StandardFolder& folder = standard_folders()[size_t(i)];
        EXPECT_EQ(lib_be_dir_names[i].which, folder.which) << i;
        EXPECT_STREQ(lib_be_dir_names[i].name, folder.name) << i;
    }
    EXPECT_EQ(lib_be_dir_names[kLibDirNameCount].which, directory_which(0));
    EXPECT_EQ(lib_be_dir_names[kLibDirNameCount].name, nullptr);

    // Groups count up by one from their first value.
    EXPECT_EQ(lib_be_dir_names[2].which, 1000);
    EXPECT_STREQ(lib_be_dir_names[16].name, "BeOS Sounds");
    EXPECT_EQ(lib_be_dir_names[16].which, 1014);
    EXPECT_EQ(lib_be_dir_names[35].which, 2018);
    EXPECT_STREQ(lib_be_dir_names[47].name, "User Sounds");
    EXPECT_EQ(lib_be_dir_names[47].which, 3011);
    EXPECT_EQ(lib_be_dir_names[50].which, 4002);
}

TEST(LibStdDirNames, LookupsAreExact)
{
    directory_which which = B_DESKTOP_DIRECTORY;
    ASSERT_TRUE(LibGetStdDirName("User Boot", which));
    EXPECT_EQ(which, B_USER_BOOT_DIRECTORY);
    which = B_TRASH_DIRECTORY;
    EXPECT_FALSE(LibGetStdDirName("user boot", which));
    EXPECT_FALSE(LibGetStdDirName("User Boot ", which));
    EXPECT_FALSE(LibGetStdDirName("", which));
    EXPECT_FALSE(LibGetStdDirName(static_cast<const char*>(nullptr), which));
    EXPECT_EQ(which, B_TRASH_DIRECTORY);
    EXPECT_TRUE(LibStdDirNameExists("Common Documentation"));
    EXPECT_FALSE(LibStdDirNameExists("User Selected"));

    LibString name;
    ASSERT_TRUE(LibGetStdDirName(B_DESKTOP_DIRECTORY, name));
    EXPECT_STREQ(name, "Desktop");
    ASSERT_TRUE(LibGetStdDirName(B_COMMON_TEMP_DIRECTORY, name));
    EXPECT_STREQ(name, "Common Temporary");
    EXPECT_FALSE(LibGetStdDirName(directory_which(1015), name));
    EXPECT_FALSE(LibGetStdDirName(directory_which(-1), name));
}
