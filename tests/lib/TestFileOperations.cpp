#include "BNode.h"
#include "BNodeInfo.h"
#include "BPath.h"
#include "LibFileOperations.h"
#include "Sandbox.h"
#include "WorkingDirectory.h"

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using stowtest::kOddName;
using stowtest::ReadFile;
using stowtest::Sandbox;
using stowtest::ScopedEnv;
using stowtest::TempDir;
using stowtest::WriteFile;
namespace fs = std::filesystem;

namespace {

constexpr time_t kModified = 1000000000; // 2001-09-09
constexpr time_t kAccessed = 1100000000;

std::string Tag(const fs::path& path)
{
    BNode node(path.c_str());
    char buffer[256] = {};
    ssize_t length = node.ReadAttr("InstallBy", B_STRING_TYPE, 0, buffer, sizeof buffer - 1);
    return length < 0 ? "" : std::string(buffer, size_t(length));
}

void SetTag(const fs::path& path, const std::string& text)
{
    BNode node(path.c_str());
    ASSERT_EQ(node.WriteAttr("InstallBy", B_STRING_TYPE, 0, text.data(), text.size()),
        ssize_t(text.size()));
}

void SetTimes(const fs::path& path)
{
    struct timespec times[2] = {{kAccessed, 0}, {kModified, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0);
}

void ExpectTimes(const fs::path& path)
{
    struct stat st;
    ASSERT_EQ(lstat(path.c_str(), &st), 0) << path;
    EXPECT_EQ(st.st_mtime, kModified) << path;
    // Reading a link's target is an access of the link itself.
    if (!S_ISLNK(st.st_mode)) {
        EXPECT_EQ(st.st_atime, kAccessed) << path;
    }
}

// A product item: a folder with a tagged file, a tagged link and a sub-folder,
// every time stamp set.
void MakeItem(const fs::path& item)
{
    fs::create_directories(item / "sub");
    WriteFile(item / "sub/data", "payload");
    WriteFile(item / kOddName, "odd");
    fs::create_symlink("sub/data", item / "link");
    SetTag(item / "sub/data", "Product;1.0;");
    SetTag(item / "link", "Product;link;");
    SetTag(item, "Product;folder;");
    for (const char* leaf : {"sub/data", "link", "sub", ""})
        SetTimes(item / leaf);
    SetTimes(item / kOddName);
}

// Reads without touching the access time, which the checks look at.
std::string ReadQuietly(const fs::path& path)
{
    int fd = open(path.c_str(), O_RDONLY | O_NOATIME);
    if (fd < 0)
        return "(unreadable)";
    std::string content;
    char buffer[4096];
    for (ssize_t got; (got = read(fd, buffer, sizeof buffer)) > 0;)
        content.append(buffer, size_t(got));
    close(fd);
    return content;
}

void ExpectItem(const fs::path& item)
{
    for (const char* leaf : {"sub/data", "link", "sub", ""})
        ExpectTimes(item / leaf);
    ExpectTimes(item / kOddName);
    EXPECT_EQ(ReadQuietly(item / "sub/data"), "payload");
    EXPECT_EQ(ReadQuietly(item / kOddName), "odd");
    EXPECT_EQ(fs::read_symlink(item / "link"), "sub/data");
    EXPECT_EQ(Tag(item / "sub/data"), "Product;1.0;");
    EXPECT_EQ(Tag(item / "link"), "Product;link;");
    EXPECT_EQ(Tag(item), "Product;folder;");
}

std::vector<std::string> Listing(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const auto& item : fs::directory_iterator(folder))
        names.push_back(item.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

TEST(LibFileOperations, TrashKeepsEveryNameAndReplacesOnlyWhenAsked)
{
    Sandbox box;
    fs::path trashFiles = box.Trash() / "files";
    for (const char* content : {"first", "second", "third"}) {
        WriteFile(box.Work() / "a", content);
        EXPECT_TRUE(LibTrash(BPath((box.Work() / "a").c_str()), false));
    }
    // The third "a" meets "a" and "a copy" and becomes "a copy 1".
    EXPECT_EQ(ReadFile(trashFiles / "a"), "first");
    EXPECT_EQ(ReadFile(trashFiles / "a copy"), "second");
    EXPECT_EQ(ReadFile(trashFiles / "a copy 1"), "third");
    EXPECT_TRUE(fs::exists(box.Trash() / "info/a copy 1.trashinfo"));

    // Overwriting keeps the plain name; a folder trashed earlier under it is
    // replaced, not entered.
    fs::create_directories(box.Work() / "f/inner");
    EXPECT_TRUE(LibTrash(BPath((box.Work() / "f").c_str()), false));
    WriteFile(box.Work() / "f", "file now");
    EXPECT_TRUE(LibTrash(BPath((box.Work() / "f").c_str()), true));
    EXPECT_EQ(ReadFile(trashFiles / "f"), "file now");
    EXPECT_FALSE(fs::exists(trashFiles / "f copy"));

    EXPECT_FALSE(LibTrash(BPath((box.Work() / "missing").c_str()), false));
    EXPECT_FALSE(LibTrash(BPath(), false));
}

TEST(LibFileOperations, TrashedEntriesAreListedByDesktopTools)
{
    if (access("/usr/bin/gio", X_OK) != 0 || access("/usr/bin/dbus-run-session", X_OK) != 0
        || access("/usr/libexec/gvfsd-trash", X_OK) != 0)
        GTEST_SKIP() << "gio, dbus-run-session or the gvfs trash backend is not installed";
    Sandbox box;
    fs::create_directories(box.Work() / "folder/inner");
    WriteFile(box.Work() / "folder/inner/x", "x");
    WriteFile(box.Work() / "file", "1");
    WriteFile(box.Work() / kOddName, "2");
    ASSERT_TRUE(LibTrash(BPath((box.Work() / "folder").c_str()), false));
    ASSERT_TRUE(LibTrash(BPath((box.Work() / "file").c_str()), false));
    ASSERT_TRUE(LibTrash(BPath((box.Work() / kOddName).c_str()), false));
    fs::create_directories(box.temp / "run");
    fs::permissions(box.temp / "run", fs::perms::owner_all);

    auto listed = stowtest::Run(
        {"/usr/bin/dbus-run-session", "--", "/usr/bin/gio", "trash", "--list"}, {},
        {{"HOME", box.Home().string()}, {"XDG_DATA_HOME", (box.Home() / ".local/share").string()},
            {"XDG_RUNTIME_DIR", (box.temp / "run").string()}, {"STOW_ROOT", ""}});
    ASSERT_EQ(listed.exitCode, 0) << listed.err;
    std::string work = box.Work().string() + "/";
    EXPECT_NE(listed.out.find("trash:///folder\t" + work + "folder\n"), std::string::npos)
        << listed.out;
    EXPECT_NE(listed.out.find("trash:///file\t" + work + "file\n"), std::string::npos)
        << listed.out;
    // gio writes the bytes a terminal would not show as escapes.
    EXPECT_NE(listed.out.find("\t" + work + "it's \"q\" $HOME `id` back"), std::string::npos)
        << listed.out;
}

TEST(LibFileOperations, DuplicateRenamesAsideToTheFirstFreeName)
{
    Sandbox box;
    fs::path work = box.Work();
    WriteFile(work / "a", "original");
    WriteFile(work / "a copy", "older copy");
    fs::create_symlink("nowhere", work / "a copy 1"); // dangling, but taken
    EXPECT_TRUE(LibDuplicate((work / "a").c_str()));
    EXPECT_FALSE(fs::exists(work / "a"));
    EXPECT_EQ(ReadFile(work / "a copy"), "older copy");
    EXPECT_TRUE(fs::is_symlink(work / "a copy 1"));
    EXPECT_EQ(ReadFile(work / "a copy 2"), "original");

    fs::create_directories(work / kOddName);
    EXPECT_TRUE(LibDuplicate((work / kOddName).c_str()));
    EXPECT_TRUE(fs::is_directory(work / (kOddName + " copy")));

    std::vector<std::string> before = Listing(work);
    EXPECT_FALSE(LibDuplicate((work / "missing").c_str()));
    EXPECT_FALSE(LibDuplicate(""));
    EXPECT_FALSE(LibDuplicate(nullptr));
    EXPECT_EQ(Listing(work), before);
}

TEST(LibFileOperations, MkdirReportsWhetherItMadeTheFolder)
{
    Sandbox box;
    fs::path work = box.Work();
    EXPECT_TRUE(Libmkdir((work / "p/q/r").c_str()));
    EXPECT_TRUE(fs::is_directory(work / "p/q/r"));
    EXPECT_EQ(fs::status(work / "p/q/r").permissions() & fs::perms::others_write, fs::perms::none);

    WriteFile(work / "p/q/r/kept", "k");
    EXPECT_FALSE(Libmkdir((work / "p/q/r").c_str()));
    EXPECT_EQ(ReadFile(work / "p/q/r/kept"), "k");
    WriteFile(work / "file", "f");
    EXPECT_FALSE(Libmkdir((work / "file").c_str()));
    // Creation that fails is no success: a file stands where a parent would go.
    EXPECT_FALSE(Libmkdir((work / "file/below").c_str()));
    EXPECT_FALSE(Libmkdir(""));
    EXPECT_TRUE(Libmkdir((work / kOddName).c_str()));
    EXPECT_TRUE(fs::is_directory(work / kOddName));
}

TEST(LibFileOperations, FindEnvFileSearchesEveryFolderInOrder)
{
    Sandbox box;
    fs::path work = box.Work();
    for (const char* folder : {"one", "two", "empty"})
        fs::create_directories(work / folder);
    WriteFile(work / "one/first", "1");
    WriteFile(work / "two/second", "2");
    WriteFile(work / "one/both", "1");
    WriteFile(work / "two/both", "2");
    ScopedEnv list("STOW_TEST_FOLDERS",
        ":" + (work / "empty").string() + "::" + (work / "one").string() + ":"
            + (work / "two").string() + ":");

    BPath found;
    ASSERT_TRUE(LibFindEnvFile("STOW_TEST_FOLDERS", "second", found));
    EXPECT_EQ(std::string(found.Path()), (work / "two/second").string());
    // The first folder counts too, and the earlier folder wins.
    ASSERT_TRUE(LibFindEnvFile("STOW_TEST_FOLDERS", "first", found));
    EXPECT_EQ(std::string(found.Path()), (work / "one/first").string());
    ASSERT_TRUE(LibFindEnvFile("STOW_TEST_FOLDERS", "both", found));
    EXPECT_EQ(std::string(found.Path()), (work / "one/both").string());

    ScopedEnv single("STOW_TEST_SINGLE", (work / "one").string());
    EXPECT_TRUE(LibFindEnvFile("STOW_TEST_SINGLE", "first", found));

    // Nothing found leaves the location as it was.
    BPath kept("/kept");
    EXPECT_FALSE(LibFindEnvFile("STOW_TEST_FOLDERS", "nowhere", kept));
    EXPECT_FALSE(LibFindEnvFile("STOW_TEST_UNSET_VARIABLE", "first", kept));
    EXPECT_FALSE(LibFindEnvFile("STOW_TEST_FOLDERS", "", kept));
    EXPECT_STREQ(kept.Path(), "/kept");
}

TEST(LibFileOperations, MovesAndCopiesBetweenVolumesKeepAttributesAndTimes)
{
    Sandbox box;
    auto other = stowtest::OtherVolumeThan(box.temp);
    if (!other)
        GTEST_SKIP() << "no second file system (a tmpfs at /dev/shm) to move across";

    MakeItem(box.Work() / "item");
    ASSERT_TRUE(LibCopy((box.Work() / "item").c_str(), other->Str().c_str()));
    ExpectItem(other->Path() / "item");
    ExpectItem(box.Work() / "item");

    // Back onto the disk by moving: a copy, then the source goes.
    fs::create_directories(box.Work() / "back");
    ASSERT_TRUE(LibMove((other->Path() / "item").c_str(), (box.Work() / "back").c_str()));
    EXPECT_FALSE(fs::exists(other->Path() / "item"));
    ExpectItem(box.Work() / "back/item");

    // A single file, renamed on the way, onto the tmpfs.
    ASSERT_TRUE(
        LibMove((box.Work() / "back/item/sub/data").c_str(), (other->Path() / "renamed").c_str()));
    ExpectTimes(other->Path() / "renamed");
    EXPECT_EQ(ReadQuietly(other->Path() / "renamed"), "payload");
    EXPECT_EQ(Tag(other->Path() / "renamed"), "Product;1.0;");
    EXPECT_FALSE(fs::exists(box.Work() / "back/item/sub/data"));
}

TEST(LibFileOperations, MoveBetweenVolumesWhoseCopyFailsLeavesTheSource)
{
    Sandbox box;
    auto other = stowtest::OtherVolumeThan(box.temp);
    if (!other)
        GTEST_SKIP() << "no second file system (a tmpfs at /dev/shm) to move across";
    std::string content(256 * 1024, 'x');
    WriteFile(box.Work() / "big", content);

    // Files may not grow beyond 4 KiB for a moment, so the copy's writes fail.
    struct rlimit saved;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    struct sigaction ignore = {};
    struct sigaction previous;
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGXFSZ, &ignore, &previous);
    struct rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    bool moved = LibMove((box.Work() / "big").c_str(), (other->Path() / "big").c_str());
    setrlimit(RLIMIT_FSIZE, &saved);
    sigaction(SIGXFSZ, &previous, nullptr);

    EXPECT_FALSE(moved);
    EXPECT_EQ(ReadFile(box.Work() / "big"), content);
    EXPECT_TRUE(Listing(other->Path()).empty()) << "nothing half-copied is left";
}

TEST(LibFileOperations, OddNamesAreHandledLikeAnyOther)
{
    Sandbox box;
    fs::path work = box.Work();
    fs::create_directories(work / "into");
    WriteFile(work / kOddName, "odd content");

    ASSERT_TRUE(LibCopy((work / kOddName).c_str(), (work / "into").c_str()));
    EXPECT_EQ(ReadFile(work / "into" / kOddName), "odd content");
    ASSERT_TRUE(LibSymLink(kOddName.c_str(), (work / "link").c_str()));
    EXPECT_EQ(ReadFile(work / "link"), "odd content");
    ASSERT_TRUE(LibMove((work / kOddName).c_str(), (work / (kOddName + " moved")).c_str()));
    EXPECT_FALSE(LibExists((work / kOddName).c_str()));
    EXPECT_FALSE(LibExists((work / "link").c_str())) << "the link now dangles";
    EXPECT_TRUE(LibExists((work / (kOddName + " moved")).c_str()));
    ASSERT_TRUE(LibUnlink((work / "into").c_str()));
    EXPECT_FALSE(fs::exists(work / "into"));
    EXPECT_EQ(Listing(work), (std::vector<std::string> {kOddName + " moved", "link"}));
}

TEST(LibFileOperations, CopyMoveLinkAndRemoveLikeTheirCommandLines)
{
    Sandbox box;
    fs::path work = box.Work();
    fs::create_directories(work / "folder");
    WriteFile(work / "file", "new");
    SetTag(work / "file", "typed");
    BNode node((work / "file").c_str());
    BNodeInfo(&node).SetType("text/x-sfast");

    // A folder destination receives the copy; the folder itself keeps its
    // own type.
    ASSERT_TRUE(LibCopy((work / "file").c_str(), (work / "folder").c_str()));
    char type[B_MIME_TYPE_LENGTH] = "";
    BNode copied((work / "folder/file").c_str());
    EXPECT_EQ(BNodeInfo(&copied).GetType(type), B_OK);
    EXPECT_STREQ(type, "text/x-sfast");
    BNode folder((work / "folder").c_str());
    EXPECT_NE(BNodeInfo(&folder).GetType(type), B_OK);
    EXPECT_FALSE(LibCopy((work / "missing").c_str(), (work / "folder").c_str()));

    // A file of the same name in a folder destination is replaced by a move.
    WriteFile(work / "file", "newer");
    ASSERT_TRUE(LibMove((work / "file").c_str(), (work / "folder").c_str()));
    EXPECT_EQ(ReadFile(work / "folder/file"), "newer");
    EXPECT_FALSE(LibMove((work / "file").c_str(), (work / "folder").c_str()));

    // Links replace what is there and report a failure as one.
    WriteFile(work / "old", "old");
    ASSERT_TRUE(LibSymLink("folder/file", (work / "old").c_str()));
    EXPECT_EQ(ReadFile(work / "old"), "newer");
    EXPECT_FALSE(LibSymLink("folder/file", (work / "no/such/folder/link").c_str()));
    EXPECT_FALSE(LibSymLink("", (work / "empty").c_str()));

    // Removing never follows a link out of the tree.
    fs::create_directories(work / "tree");
    fs::create_symlink(work / "folder", work / "tree/out");
    ASSERT_TRUE(LibUnlink((work / "tree").c_str()));
    EXPECT_FALSE(fs::exists(work / "tree"));
    EXPECT_EQ(ReadFile(work / "folder/file"), "newer");
    EXPECT_TRUE(LibUnlink((work / "tree").c_str())) << "nothing there is success";

    WriteFile(work / "script", "#!/bin/sh\necho hi\n");
    ASSERT_TRUE(Libmimeset((work / "script").c_str()));
    BNode script((work / "script").c_str());
    ASSERT_EQ(BNodeInfo(&script).GetType(type), B_OK);
    EXPECT_STREQ(type, "application/x-shellscript");
    EXPECT_FALSE(Libmimeset((work / "missing").c_str()));
}

TEST(LibFileOperations, ChangeDirectoryOnlyWhereSomethingIs)
{
    Sandbox box;
    std::string before = working_directory();
    fs::create_directories(box.Work() / kOddName);
    WriteFile(box.Work() / "file", "f");

    EXPECT_EQ(LibChangeDirectory((box.Work() / "missing").c_str()), 0);
    EXPECT_EQ(working_directory(), before);
    EXPECT_NE(LibChangeDirectory((box.Work() / "file").c_str()), 0);
    EXPECT_EQ(working_directory(), before);
    EXPECT_EQ(LibChangeDirectory((box.Work() / kOddName).c_str()), 0);
    EXPECT_EQ(working_directory(), (box.Work() / kOddName).string());
    ASSERT_EQ(LibChangeDirectory(before.c_str()), 0);
}

TEST(LibFileOperations, EntrySizeCountsInSixtyFourBitsAndNeverWraps)
{
    Sandbox box;
    fs::path work = box.Work();
    fs::create_directories(work / "tree/sub");
    WriteFile(work / "tree/a", std::string(1000, 'a'));
    WriteFile(work / "tree/sub/b", std::string(24, 'b'));
    fs::create_symlink("..", work / "tree/sub/up"); // must not be walked round
    SetTag(work / "tree/a", "12345");

    struct stat tree;
    struct stat sub;
    ASSERT_EQ(stat((work / "tree").c_str(), &tree), 0);
    ASSERT_EQ(stat((work / "tree/sub").c_str(), &sub), 0);
    int64 plain = tree.st_size + sub.st_size + 1000 + 24 + 2; // the link holds ".."
    EXPECT_EQ(LibEntrySize64((work / "tree").c_str(), false), plain);
    EXPECT_EQ(LibEntrySize((work / "tree").c_str(), false), int32(plain));
    EXPECT_EQ(LibEntrySize64((work / "tree").c_str(), true), plain + 5);
    EXPECT_EQ(LibEntrySize((work / "tree/a").c_str(), true), 1005);

    // A link given by name is followed.
    fs::create_symlink(work / "tree/a", work / "to-a");
    EXPECT_EQ(LibEntrySize((work / "to-a").c_str(), false), 1000);
    EXPECT_EQ(LibEntrySize((work / "missing").c_str(), false), 0);

    // A sparse file of 5 GiB: the 32-bit form stops at its largest value.
    int fd = open((work / "sparse").c_str(), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(fd, 0);
    int64 fiveGiB = int64(5) << 30;
    ASSERT_EQ(ftruncate(fd, fiveGiB), 0);
    close(fd);
    EXPECT_EQ(LibEntrySize64((work / "sparse").c_str(), false), fiveGiB);
    EXPECT_EQ(LibEntrySize((work / "sparse").c_str(), false), INT32_MAX);
}

TEST(LibFileOperations, ExistsFollowsLinks)
{
    Sandbox box;
    WriteFile(box.Work() / "file", "");
    fs::create_symlink("file", box.Work() / "good");
    fs::create_symlink("gone", box.Work() / "dangling");
    EXPECT_TRUE(LibExists((box.Work() / "file").c_str()));
    EXPECT_TRUE(LibExists((box.Work() / "good").c_str()));
    EXPECT_FALSE(LibExists((box.Work() / "dangling").c_str()));
    EXPECT_FALSE(LibExists((box.Work() / "nothing/below").c_str()));
    EXPECT_FALSE(LibExists(""));
    EXPECT_FALSE(LibExists(nullptr));
}

TEST(LibFileOperations, TarWritesBesideTheArchiveAndKeepsTheWorkingFolder)
{
    if (access("/usr/bin/tar", X_OK) != 0)
        GTEST_SKIP() << "no tar program to read the archive back";
    Sandbox box;
    fs::path work = box.Work();
    fs::create_directories(work / "pack" / kOddName);
    WriteFile(work / "pack" / kOddName / "f", "inside");
    std::string before = working_directory();

    // The input is taken relative to the archive's folder.
    ASSERT_TRUE(LibTar(kOddName.c_str(), (work / "pack/archive.tar").c_str()));
    EXPECT_EQ(working_directory(), before);
    auto listed = stowtest::Run(
        {"/usr/bin/tar", "--quoting-style=literal", "-tf", (work / "pack/archive.tar").string()});
    ASSERT_EQ(listed.exitCode, 0) << listed.err;
    EXPECT_EQ(listed.out, kOddName + "/\n" + kOddName + "/f\n");

    // An absolute input is stored without its leading slash.
    ASSERT_TRUE(LibTar((work / "pack" / kOddName / "f").c_str(), (work / "abs.tar").c_str()));
    listed = stowtest::Run(
        {"/usr/bin/tar", "--quoting-style=literal", "-tf", (work / "abs.tar").string()});
    EXPECT_EQ(listed.out, (work / "pack" / kOddName / "f").relative_path().string() + "\n");

    EXPECT_FALSE(LibTar("missing", (work / "none.tar").c_str()));
    EXPECT_FALSE(fs::exists(work / "none.tar"));
}
