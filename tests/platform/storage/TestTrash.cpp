#include "FindDirectory.h"
#include "TestSupport.h"
#include "Trash.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using stowtest::ReadFile;
using stowtest::ScopedEnv;
using stowtest::TempDir;
using stowtest::WriteFile;
namespace fs = std::filesystem;

namespace {

// Trash tests work in a home folder of their own.
struct TrashHome {
    TempDir temp;
    ScopedEnv root {"STOW_ROOT", ""};
    ScopedEnv home {"HOME", temp.Str() + "/home"};
    ScopedEnv data {"XDG_DATA_HOME", temp.Str() + "/home/.local/share"};
    fs::path Trash() const { return temp / "home/.local/share/Trash"; }
};

std::string InfoOf(const fs::path& trash, const std::string& name)
{
    return ReadFile(trash / "info" / (name + ".trashinfo"));
}

std::string FindProgram(const char* name)
{
    for (const char* folder : {"/usr/bin", "/bin", "/usr/local/bin"}) {
        std::string path = std::string(folder) + "/" + name;
        if (access(path.c_str(), X_OK) == 0)
            return path;
    }
    return {};
}

} // namespace

TEST(Trash, ClashNamesAndPathEscapes)
{
    EXPECT_EQ(trash_clash_name("a", 0), "a");
    EXPECT_EQ(trash_clash_name("a", 1), "a copy");
    EXPECT_EQ(trash_clash_name("a", 2), "a copy 1");
    EXPECT_EQ(trash_clash_name("a", 3), "a copy 2");
    EXPECT_EQ(
        trash_info_escape("/home/u/My File%\n\xc3\xa9-_.~"), "/home/u/My%20File%25%0A%C3%A9-_.~");
}

TEST(Trash, EntriesGoWithInfoFilesAndClashingNamesGetCopies)
{
    TrashHome home;
    fs::create_directories(home.temp / "work/folder/inner");
    WriteFile(home.temp / "work/folder/inner/f", "in folder");
    for (int i = 0; i < 3; ++i)
        WriteFile(home.temp / ("work/a" + std::to_string(i)), "a" + std::to_string(i));

    std::string trashed;
    ASSERT_EQ(
        move_to_trash((home.temp / "work/folder").c_str(), TrashClash::KeepBoth, &trashed), B_OK);
    EXPECT_EQ(trashed, (home.Trash() / "files/folder").string());
    EXPECT_EQ(ReadFile(home.Trash() / "files/folder/inner/f"), "in folder");
    EXPECT_FALSE(fs::exists(home.temp / "work/folder"));
    std::string info = InfoOf(home.Trash(), "folder");
    EXPECT_EQ(
        info.find("[Trash Info]\nPath=" + home.temp.Str() + "/work/folder\nDeletionDate="), 0u)
        << info;
    EXPECT_EQ(info.size(), info.find("DeletionDate=") + 13 + 19 + 1); // YYYY-MM-DDThh:mm:ss

    // Three files called "a" in turn: a, a copy, a copy 1.
    std::vector<std::string> expected = {"a", "a copy", "a copy 1"};
    for (int i = 0; i < 3; ++i) {
        fs::rename(home.temp / ("work/a" + std::to_string(i)), home.temp / "work/a");
        ASSERT_EQ(
            move_to_trash((home.temp / "work/a").c_str(), TrashClash::KeepBoth, &trashed), B_OK);
        EXPECT_EQ(fs::path(trashed).filename(), expected[size_t(i)]);
        EXPECT_EQ(ReadFile(trashed), "a" + std::to_string(i));
        EXPECT_TRUE(fs::exists(home.Trash() / "info" / (expected[size_t(i)] + ".trashinfo")));
    }

    // Replacing keeps the plain name and drops what was there.
    WriteFile(home.temp / "work/a", "replacement");
    ASSERT_EQ(move_to_trash((home.temp / "work/a").c_str(), TrashClash::Replace, &trashed), B_OK);
    EXPECT_EQ(ReadFile(home.Trash() / "files/a"), "replacement");
    EXPECT_TRUE(fs::exists(home.Trash() / "files/a copy 1"));

    // A name taken only by an info file left behind is skipped as well.
    WriteFile(home.Trash() / "info/orphan.trashinfo", "[Trash Info]\n");
    WriteFile(home.temp / "work/orphan", "o");
    ASSERT_EQ(
        move_to_trash((home.temp / "work/orphan").c_str(), TrashClash::KeepBoth, &trashed), B_OK);
    EXPECT_EQ(fs::path(trashed).filename(), "orphan copy");

    EXPECT_EQ(move_to_trash((home.temp / "work/gone").c_str()), B_ENTRY_NOT_FOUND);
    EXPECT_EQ(move_to_trash(home.Trash().c_str()), B_NOT_ALLOWED);
    EXPECT_EQ(move_to_trash((home.temp / "home").c_str()), B_NOT_ALLOWED);
}

TEST(Trash, LinksAndLongOrUnusualNames)
{
    TrashHome home;
    fs::create_directories(home.temp / "work/target");
    WriteFile(home.temp / "work/target/file", "t");
    symlink((home.temp / "work/target").c_str(), (home.temp / "work/link").c_str());
    std::string trashed;
    ASSERT_EQ(
        move_to_trash((home.temp / "work/link").c_str(), TrashClash::KeepBoth, &trashed), B_OK);
    EXPECT_TRUE(fs::is_symlink(trashed));
    EXPECT_TRUE(fs::exists(home.temp / "work/target/file"));

    std::string odd = "odd \"name\" $x `y` \\ \n caf\xc3\xa9";
    WriteFile(home.temp / "work" / odd, "odd");
    ASSERT_EQ(
        move_to_trash((home.temp / "work" / odd).c_str(), TrashClash::KeepBoth, &trashed), B_OK);
    EXPECT_EQ(fs::path(trashed).filename(), odd);
    EXPECT_NE(
        InfoOf(home.Trash(), odd).find("odd%20%22name%22%20%24x%20%60y%60%20%5C%20%0A%20caf%C3%A9"),
        std::string::npos);

    // A name that leaves no room for the info suffix is shortened; the
    // info file and the trashed entry still match.
    std::string longName(250, 'L');
    WriteFile(home.temp / "work" / longName, "long");
    ASSERT_EQ(
        move_to_trash((home.temp / "work" / longName).c_str(), TrashClash::KeepBoth, &trashed),
        B_OK);
    std::string leaf = fs::path(trashed).filename();
    EXPECT_LE(leaf.size() + 10, 255u);
    EXPECT_TRUE(fs::exists(home.Trash() / "info" / (leaf + ".trashinfo")));
}

TEST(Trash, TrialRootKeepsTheTrashInside)
{
    TempDir root;
    ScopedEnv trial("STOW_ROOT", root.Str());
    ScopedEnv home("HOME", "/home/tester");
    ScopedEnv data("XDG_DATA_HOME", "");
    fs::create_directories(root / "work");
    WriteFile(root / "work/file", "x");
    std::string folder;
    ASSERT_EQ(trash_folder_for((root / "work/file").c_str(), &folder), B_OK);
    EXPECT_EQ(folder, root.Str() + "/home/tester/.local/share/Trash");
    std::string trashed;
    ASSERT_EQ(move_to_trash((root / "work/file").c_str(), TrashClash::KeepBoth, &trashed), B_OK);
    EXPECT_EQ(trashed, folder + "/files/file");
}

TEST(Trash, DesktopToolsListWhatWasTrashed)
{
    std::string gio = FindProgram("gio");
    std::string session = FindProgram("dbus-run-session");
    if (gio.empty() || session.empty() || access("/usr/libexec/gvfsd-trash", X_OK) != 0)
        GTEST_SKIP() << "gio, dbus-run-session or the gvfs trash backend is not installed";
    TrashHome home;
    fs::create_directories(home.temp / "run");
    chmod((home.temp / "run").c_str(), 0700);
    fs::create_directories(home.temp / "work/folder");
    WriteFile(home.temp / "work/folder/x", "x");
    WriteFile(home.temp / "work/a", "1");
    ASSERT_EQ(move_to_trash((home.temp / "work/folder").c_str()), B_OK);
    ASSERT_EQ(move_to_trash((home.temp / "work/a").c_str()), B_OK);
    WriteFile(home.temp / "work/a", "2");
    ASSERT_EQ(move_to_trash((home.temp / "work/a").c_str()), B_OK);
    std::string spaced = "with  space";
    WriteFile(home.temp / "work" / spaced, "3");
    ASSERT_EQ(move_to_trash((home.temp / "work" / spaced).c_str()), B_OK);

    auto result = stowtest::Run({session, "--", gio, "trash", "--list"}, {},
        {{"HOME", home.temp.Str() + "/home"},
            {"XDG_DATA_HOME", home.temp.Str() + "/home/.local/share"},
            {"XDG_RUNTIME_DIR", home.temp.Str() + "/run"}, {"STOW_ROOT", ""}});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    // Each line: the trash URI, a tab, the original path.
    std::string work = home.temp.Str() + "/work/";
    EXPECT_NE(result.out.find("trash:///folder\t" + work + "folder\n"), std::string::npos)
        << result.out;
    EXPECT_NE(result.out.find("trash:///a\t" + work + "a\n"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("trash:///a%20copy\t" + work + "a\n"), std::string::npos)
        << result.out;
    EXPECT_NE(result.out.find("\t" + work + spaced + "\n"), std::string::npos) << result.out;
}

TEST(Trash, AnUnfinishedMoveLeavesNoInfoFile)
{
    TrashHome home;
    fs::create_directories(home.temp / "work");
    WriteFile(home.temp / "work/file", "stays");
    // Cancelled before the move: the entry stays and so does nothing else.
    EXPECT_EQ(move_to_trash((home.temp / "work/file").c_str(), TrashClash::KeepBoth, nullptr,
                  [] { return true; }),
        B_CANCELED);
    EXPECT_EQ(ReadFile(home.temp / "work/file"), "stays");
    EXPECT_TRUE(fs::is_empty(home.Trash() / "info"));
    EXPECT_TRUE(fs::is_empty(home.Trash() / "files"));
}
