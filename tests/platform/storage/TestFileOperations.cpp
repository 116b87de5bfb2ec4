#include "BNode.h"
#include "FileOperations.h"
#include "TestSupport.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

using stowtest::ReadFile;
using stowtest::TempDir;
using stowtest::WriteFile;
namespace fs = std::filesystem;

namespace {

const std::vector<std::string> kUnusualNames
    = {"with space", "quote\"d", "single'q", "$HOME", "back`tick`", "back\\slash", "new\nline",
        "caf\xc3\xa9 \xe6\x97\xa5\xe6\x9c\xac", "-dash", "*glob?", "semi;colon&amp"};

constexpr time_t kFileTime = 1000000000;
constexpr time_t kFolderTime = 1100000000;
constexpr time_t kLinkTime = 1200000000;

void SetTimes(const fs::path& path, time_t seconds)
{
    struct timespec times[2] = {{seconds + 7, 123456789}, {seconds, 987654321}};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0) << path;
}

void ExpectTimes(const fs::path& path, time_t seconds)
{
    struct stat st;
    ASSERT_EQ(lstat(path.c_str(), &st), 0) << path;
    EXPECT_EQ(st.st_mtim.tv_sec, seconds) << path;
    EXPECT_EQ(st.st_mtim.tv_nsec, 987654321) << path;
    EXPECT_EQ(st.st_atim.tv_sec, seconds + 7) << path;
}

bool AttributesWork(const fs::path& folder)
{
    fs::path probe = folder / ".probe";
    WriteFile(probe, "");
    bool works = setxattr(probe.c_str(), "user.probe", "1", 1, 0) == 0;
    fs::remove(probe);
    return works;
}

std::string Attribute(const fs::path& path, const char* name)
{
    char value[256];
    ssize_t length = lgetxattr(path.c_str(), name, value, sizeof(value));
    return length < 0 ? "<none>" : std::string(value, size_t(length));
}

// A small tree of every kind of entry, with modes, times and (where the file
// system keeps them) attributes of its own.
void MakeTree(const fs::path& root, bool withAttributes)
{
    fs::create_directories(root / "sub/empty");
    WriteFile(root / "file", "file contents");
    WriteFile(root / "sub/data", std::string(3 << 20, 'd') + "end");
    symlink("../file", (root / "sub/link").c_str());
    symlink("/nowhere/at/all", (root / "dangling").c_str());
    mkfifo((root / "pipe").c_str(), 0640);
    chmod((root / "file").c_str(), 0751);
    chmod((root / "sub").c_str(), 0750);
    if (withAttributes) {
        setxattr((root / "file").c_str(), "user.InstallBy", "App;1.0;", 8, 0);
        setxattr((root / "sub").c_str(), "user.mime_type", "application/x-vnd.Be-directory", 30, 0);
        setxattr((root / "sub/data").c_str(), "user.empty", "", 0, 0);
    }
    // Links and pipes keep theirs in the attribute store.
    int32 number = 42;
    BNode link((root / "sub/link").c_str());
    ASSERT_EQ(link.WriteAttr("InstallBy", B_STRING_TYPE, 0, "link tag", 8), 8);
    BNode pipe((root / "pipe").c_str());
    ASSERT_EQ(pipe.WriteAttr("number", B_INT32_TYPE, 0, &number, 4), 4);
    SetTimes(root / "file", kFileTime);
    SetTimes(root / "sub/data", kFileTime);
    SetTimes(root / "sub/link", kLinkTime);
    SetTimes(root / "sub/empty", kFolderTime);
    SetTimes(root / "sub", kFolderTime);
    SetTimes(root, kFolderTime);
}

// Times first: reading contents and links may touch the access times.
void ExpectTree(const fs::path& root, bool withAttributes)
{
    ExpectTimes(root / "file", kFileTime);
    ExpectTimes(root / "sub/data", kFileTime);
    ExpectTimes(root / "sub/link", kLinkTime);
    ExpectTimes(root / "sub/empty", kFolderTime);
    ExpectTimes(root / "sub", kFolderTime);
    ExpectTimes(root, kFolderTime);
    EXPECT_EQ(ReadFile(root / "file"), "file contents");
    EXPECT_EQ(fs::file_size(root / "sub/data"), (3u << 20) + 3);
    EXPECT_TRUE(fs::is_directory(root / "sub/empty"));
    EXPECT_EQ(fs::read_symlink(root / "sub/link"), "../file");
    EXPECT_EQ(fs::read_symlink(root / "dangling"), "/nowhere/at/all");
    EXPECT_TRUE(fs::is_fifo(fs::symlink_status(root / "pipe")));
    struct stat st;
    ASSERT_EQ(stat((root / "file").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0751u);
    ASSERT_EQ(stat((root / "sub").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0750u);
    ASSERT_EQ(stat((root / "pipe").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    char text[16] = {};
    EXPECT_EQ(
        BNode((root / "sub/link").c_str()).ReadAttr("InstallBy", B_STRING_TYPE, 0, text, 15), 8);
    EXPECT_STREQ(text, "link tag");
    int32 number = 0;
    EXPECT_EQ(BNode((root / "pipe").c_str()).ReadAttr("number", B_INT32_TYPE, 0, &number, 4), 4);
    EXPECT_EQ(number, 42);
    if (withAttributes) {
        EXPECT_EQ(Attribute(root / "file", "user.InstallBy"), "App;1.0;");
        EXPECT_EQ(Attribute(root / "sub", "user.mime_type"), "application/x-vnd.Be-directory");
        EXPECT_EQ(Attribute(root / "sub/data", "user.empty"), "");
    }
}

// Nothing half-made is left beside the results.
void ExpectNoLeftovers(const fs::path& folder)
{
    for (const auto& item : fs::directory_iterator(folder))
        EXPECT_NE(item.path().filename().string().compare(0, 6, ".stow-"), 0) << item.path();
}

// A second file system for moves between volumes, when the machine has one.
std::unique_ptr<TempDir> OtherVolume(const TempDir& disk)
{
    struct stat shm;
    struct stat here;
    if (stat("/dev/shm", &shm) != 0 || access("/dev/shm", W_OK) != 0
        || stat(disk.Str().c_str(), &here) != 0 || shm.st_dev == here.st_dev)
        return nullptr;
    return std::make_unique<TempDir>("/dev/shm");
}

// The attribute store (for links and special files) lives inside a
// temporary trial root, never in the real home folder.
class FileOperations : public testing::Test {
    TempDir fRoot;
    stowtest::ScopedEnv fRootVariable {"STOW_ROOT", fRoot.Str()};
};

} // namespace

TEST_F(FileOperations, CopyKeepsContentsModesTimesAndAttributes)
{
    TempDir temp;
    bool attributes = AttributesWork(temp.Path());
    MakeTree(temp / "source", attributes);
    ASSERT_EQ(copy_entry((temp / "source").c_str(), (temp / "copy").c_str()), B_OK);
    ExpectTree(temp / "copy", attributes);
    ExpectNoLeftovers(temp.Path());
    if (!attributes)
        GTEST_SKIP() << "the temporary folder's file system keeps no user attributes";
}

TEST_F(FileOperations, CopyPlacesLikeTheCommandLine)
{
    TempDir temp;
    fs::create_directories(temp / "src/inner");
    WriteFile(temp / "src/inner/a", "new a");
    WriteFile(temp / "src/b", "new b");
    fs::create_directories(temp / "dest/src/inner");
    WriteFile(temp / "dest/src/inner/a", "old a");
    WriteFile(temp / "dest/src/inner/kept", "kept");

    // An existing folder receives the source inside it and merges.
    ASSERT_EQ(copy_entry((temp / "src").c_str(), (temp / "dest").c_str()), B_OK);
    EXPECT_EQ(ReadFile(temp / "dest/src/inner/a"), "new a");
    EXPECT_EQ(ReadFile(temp / "dest/src/inner/kept"), "kept");
    EXPECT_EQ(ReadFile(temp / "dest/src/b"), "new b");
    // The exact mode names the result.
    ASSERT_EQ(
        copy_entry((temp / "src/b").c_str(), (temp / "dest/named").c_str(), TargetMode::ExactPath),
        B_OK);
    EXPECT_EQ(ReadFile(temp / "dest/named"), "new b");

    EXPECT_EQ(
        copy_entry((temp / "src/b").c_str(), (temp / "dest/src").c_str(), TargetMode::ExactPath),
        B_IS_A_DIRECTORY);
    EXPECT_EQ(copy_entry((temp / "src").c_str(), (temp / "dest/named").c_str()), B_NOT_A_DIRECTORY);
    EXPECT_EQ(copy_entry((temp / "src").c_str(), (temp / "src/inner").c_str()), B_BAD_VALUE);
    EXPECT_EQ(copy_entry((temp / "src").c_str(), (temp / "src").c_str(), TargetMode::ExactPath),
        B_BAD_VALUE);
    EXPECT_FALSE(fs::exists(temp / "src/inner/src"));
    EXPECT_EQ(copy_entry((temp / "missing").c_str(), (temp / "x").c_str()), B_ENTRY_NOT_FOUND);
    EXPECT_EQ(copy_entry("", (temp / "x").c_str()), B_BAD_VALUE);
    ExpectNoLeftovers(temp / "dest");
}

TEST_F(FileOperations, ReplacementIsNeverHalfWritten)
{
    TempDir temp;
    WriteFile(temp / "new", std::string(100000, 'n'));
    WriteFile(temp / "target", "old contents");
    // A second name for the old file shows it was never written into.
    ASSERT_EQ(link((temp / "target").c_str(), (temp / "witness").c_str()), 0);
    ASSERT_EQ(copy_entry((temp / "new").c_str(), (temp / "target").c_str()), B_OK);
    EXPECT_EQ(ReadFile(temp / "target"), std::string(100000, 'n'));
    EXPECT_EQ(ReadFile(temp / "witness"), "old contents");

    ASSERT_EQ(write_file_atomically((temp / "witness").c_str(), "abc", 3, 0640), B_OK);
    EXPECT_EQ(ReadFile(temp / "witness"), "abc");
    struct stat st;
    ASSERT_EQ(stat((temp / "witness").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    fs::create_directory(temp / "folder");
    EXPECT_EQ(write_file_atomically((temp / "folder").c_str(), "x", 1, 0644), B_IS_A_DIRECTORY);
    EXPECT_EQ(
        write_file_atomically((temp / "no/such/file").c_str(), "x", 1, 0644), B_ENTRY_NOT_FOUND);
    ExpectNoLeftovers(temp.Path());
}

TEST_F(FileOperations, CancellingStopsAndCleansUp)
{
    TempDir temp;
    WriteFile(temp / "big", std::string(8 << 20, 'b'));
    fs::create_directories(temp / "tree/a/b");
    for (int i = 0; i < 30; ++i)
        WriteFile(temp / ("tree/a/file" + std::to_string(i)), "x");

    // Checked per chunk: the third check stops an 8-chunk copy.
    int checks = 0;
    auto stopSoon = [&] { return ++checks > 3; };
    EXPECT_EQ(copy_entry((temp / "big").c_str(), (temp / "copy").c_str(), TargetMode::IntoFolder,
                  stopSoon),
        B_CANCELED);
    EXPECT_LT(checks, 8);
    EXPECT_FALSE(fs::exists(temp / "copy"));

    // Checked per file: a tree stops part way and leaves nothing.
    checks = 0;
    auto stopAfterTen = [&] { return ++checks > 10; };
    EXPECT_EQ(copy_entry((temp / "tree").c_str(), (temp / "treecopy").c_str(),
                  TargetMode::IntoFolder, stopAfterTen),
        B_CANCELED);
    EXPECT_FALSE(fs::exists(temp / "treecopy"));
    ExpectNoLeftovers(temp.Path());

    checks = 0;
    EXPECT_EQ(remove_entry((temp / "tree").c_str(), stopAfterTen), B_CANCELED);
    EXPECT_TRUE(fs::exists(temp / "tree"));
}

TEST_F(FileOperations, MoveWithinAVolumeRenames)
{
    TempDir temp;
    fs::create_directories(temp / "dest");
    fs::create_directories(temp / "folder/inner");
    WriteFile(temp / "file", "f");
    symlink("folder", (temp / "link").c_str());
    struct stat before;
    ASSERT_EQ(stat((temp / "file").c_str(), &before), 0);

    ASSERT_EQ(move_entry((temp / "file").c_str(), (temp / "dest").c_str()), B_OK);
    struct stat after;
    ASSERT_EQ(stat((temp / "dest/file").c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_FALSE(fs::exists(temp / "file"));

    // The link is what moves, not the folder it points to.
    ASSERT_EQ(move_entry((temp / "link").c_str(), (temp / "dest").c_str()), B_OK);
    EXPECT_TRUE(fs::is_symlink(temp / "dest/link"));
    EXPECT_TRUE(fs::is_directory(temp / "folder/inner"));

    // An existing file is replaced; a folder replaces only an empty folder.
    WriteFile(temp / "other", "o");
    ASSERT_EQ(move_entry((temp / "other").c_str(), (temp / "dest/file").c_str()), B_OK);
    EXPECT_EQ(ReadFile(temp / "dest/file"), "o");
    fs::create_directories(temp / "full/x");
    EXPECT_EQ(move_entry((temp / "folder").c_str(), (temp / "full").c_str(), TargetMode::ExactPath),
        B_DIRECTORY_NOT_EMPTY);
    EXPECT_TRUE(fs::exists(temp / "folder/inner"));
    EXPECT_EQ(move_entry((temp / "missing").c_str(), (temp / "dest").c_str()), B_ENTRY_NOT_FOUND);
    EXPECT_EQ(move_entry((temp / "dest/file").c_str(), (temp / "dest").c_str()), B_OK);
}

TEST_F(FileOperations, MovesAndCopiesBetweenVolumesKeepEverything)
{
    TempDir disk;
    auto memory = OtherVolume(disk);
    if (!memory)
        GTEST_SKIP() << "no writable /dev/shm on a file system apart from the temporary folder";
    bool attributes = AttributesWork(disk.Path()) && AttributesWork(memory->Path());

    std::vector<std::pair<TempDir*, TempDir*>> directions
        = {{&disk, memory.get()}, {memory.get(), &disk}};
    for (size_t i = 0; i < directions.size(); ++i) {
        auto [from, to] = directions[i];
        SCOPED_TRACE(from->Str() + " to " + to->Str());
        std::string item = "item" + std::to_string(i);
        std::string copied = "copied" + std::to_string(i);
        MakeTree(*from / copied, attributes);
        ASSERT_EQ(copy_entry((*from / copied).c_str(), to->Str().c_str()), B_OK);
        ExpectTree(*to / copied, attributes);
        EXPECT_TRUE(fs::exists(*from / copied));
        MakeTree(*from / item, attributes);
        ASSERT_EQ(move_entry((*from / item).c_str(), to->Str().c_str()), B_OK);
        EXPECT_FALSE(fs::exists(*from / item));
        ExpectTree(*to / item, attributes);
        ExpectNoLeftovers(to->Path());

        // A link moved across keeps being a link with its own time.
        std::string link = "lone link" + std::to_string(i);
        symlink("somewhere", (*from / link).c_str());
        SetTimes(*from / link, kLinkTime);
        ASSERT_EQ(move_entry((*from / link).c_str(), (*to / link).c_str()), B_OK);
        ExpectTimes(*to / link, kLinkTime);
        EXPECT_EQ(fs::read_symlink(*to / link), "somewhere");
        EXPECT_FALSE(fs::is_symlink(*from / link));
    }

    // A copy that does not complete leaves the source where it was.
    WriteFile(disk / "stays", std::string(4 << 20, 's'));
    int checks = 0;
    EXPECT_EQ(move_entry((disk / "stays").c_str(), memory->Str().c_str(), TargetMode::IntoFolder,
                  [&] { return ++checks > 2; }),
        B_CANCELED);
    EXPECT_EQ(fs::file_size(disk / "stays"), 4u << 20);
    EXPECT_FALSE(fs::exists(*memory / "stays"));
    // Across volumes a folder still refuses to replace a non-empty one.
    fs::create_directories(disk / "folder");
    fs::create_directories(*memory / "folder/full");
    EXPECT_EQ(
        move_entry((disk / "folder").c_str(), (*memory / "folder").c_str(), TargetMode::ExactPath),
        B_DIRECTORY_NOT_EMPTY);
    EXPECT_TRUE(fs::exists(disk / "folder"));
    if (!attributes)
        GTEST_SKIP() << "one of the file systems keeps no user attributes";
}

TEST_F(FileOperations, RemovalNeverFollowsLinks)
{
    TempDir temp;
    fs::create_directories(temp / "outside/deep");
    WriteFile(temp / "outside/deep/precious", "keep me");
    WriteFile(temp / "outside/file", "keep me too");
    fs::create_directories(temp / "tree/sub");
    WriteFile(temp / "tree/sub/junk", "x");
    symlink((temp / "outside").c_str(), (temp / "tree/folderlink").c_str());
    symlink((temp / "outside/file").c_str(), (temp / "tree/sub/filelink").c_str());
    fs::create_directories(temp / "tree/locked/in");
    WriteFile(temp / "tree/locked/in/x", "x");
    chmod((temp / "tree/locked/in").c_str(), 0500);
    chmod((temp / "tree/locked").c_str(), 0500);

    ASSERT_EQ(remove_entry((temp / "tree").c_str()), B_OK);
    EXPECT_FALSE(fs::exists(fs::symlink_status(temp / "tree")));
    EXPECT_EQ(ReadFile(temp / "outside/deep/precious"), "keep me");
    EXPECT_EQ(ReadFile(temp / "outside/file"), "keep me too");

    // A link to a folder given directly: the link goes, the folder stays.
    symlink((temp / "outside").c_str(), (temp / "direct").c_str());
    ASSERT_EQ(remove_entry((temp / "direct").c_str()), B_OK);
    EXPECT_FALSE(fs::exists(fs::symlink_status(temp / "direct")));
    EXPECT_TRUE(fs::exists(temp / "outside/deep/precious"));

    EXPECT_EQ(remove_entry((temp / "nothing").c_str()), B_OK);
    EXPECT_EQ(remove_entry((temp / "no/such/folder").c_str()), B_OK);
    EXPECT_EQ(remove_entry("/"), B_NOT_ALLOWED);
    EXPECT_EQ(remove_entry((temp / "outside/..").c_str()), B_NOT_ALLOWED);
    EXPECT_EQ(remove_entry(""), B_BAD_VALUE);
}

TEST_F(FileOperations, SymbolicLinksReplaceButNeverEnterLinkedFolders)
{
    TempDir temp;
    fs::create_directories(temp / "folder");
    fs::create_directories(temp / "places");
    WriteFile(temp / "file", "f");

    ASSERT_EQ(make_symlink("file", (temp / "link").c_str()), B_OK);
    EXPECT_EQ(fs::read_symlink(temp / "link"), "file");
    ASSERT_EQ(make_symlink("other", (temp / "link").c_str()), B_OK);
    EXPECT_EQ(fs::read_symlink(temp / "link"), "other");
    ASSERT_EQ(make_symlink("x", (temp / "file").c_str()), B_OK);
    EXPECT_TRUE(fs::is_symlink(temp / "file"));

    // A link pointing at a folder is replaced, not entered.
    ASSERT_EQ(make_symlink((temp / "folder").c_str(), (temp / "dirlink").c_str()), B_OK);
    ASSERT_EQ(make_symlink("new", (temp / "dirlink").c_str()), B_OK);
    EXPECT_EQ(fs::read_symlink(temp / "dirlink"), "new");
    EXPECT_TRUE(fs::is_empty(temp / "folder"));

    // A real folder receives the link inside, named after the target.
    ASSERT_EQ(make_symlink((temp / "folder").c_str(), (temp / "places").c_str()), B_OK);
    EXPECT_EQ(fs::read_symlink(temp / "places/folder"), temp / "folder");
    fs::create_directories(temp / "places/taken");
    EXPECT_EQ(make_symlink("/x/taken", (temp / "places").c_str()), B_IS_A_DIRECTORY);
    EXPECT_EQ(make_symlink("", (temp / "l").c_str()), B_BAD_VALUE);
    ExpectNoLeftovers(temp.Path());
    ExpectNoLeftovers(temp / "places");
}

TEST_F(FileOperations, UnusualNamesAreHandledLikeAnyOther)
{
    TempDir temp;
    fs::create_directories(temp / "copies");
    fs::create_directories(temp / "moved");
    for (const auto& name : kUnusualNames) {
        SCOPED_TRACE(name);
        fs::create_directories(temp / name / name);
        WriteFile(temp / name / name / name, name);
        ASSERT_EQ(copy_entry((temp / name).c_str(), (temp / "copies").c_str()), B_OK);
        EXPECT_EQ(ReadFile(temp / "copies" / name / name / name), name);
        ASSERT_EQ(make_symlink(name.c_str(), (temp / "copies" / (name + " link")).c_str()), B_OK);
        EXPECT_EQ(fs::read_symlink(temp / "copies" / (name + " link")), name);
        ASSERT_EQ(move_entry((temp / name).c_str(), (temp / "moved").c_str()), B_OK);
        EXPECT_EQ(ReadFile(temp / "moved" / name / name / name), name);
        ASSERT_EQ(remove_entry((temp / "moved" / name).c_str()), B_OK);
        EXPECT_FALSE(fs::exists(temp / "moved" / name));
    }
    EXPECT_TRUE(fs::is_empty(temp / "moved"));
}

// A cancellation point unwinds out of the operation instead of answering:
// what was half-built is removed and no descriptor stays open.
TEST_F(FileOperations, UnwindingCancellationLeavesNothingBehind)
{
    struct Unwind { };
    auto openDescriptors = [] {
        size_t count = 0;
        for (const auto& item : fs::directory_iterator("/proc/self/fd")) {
            (void)item;
            ++count;
        }
        return count;
    };
    TempDir temp;
    fs::create_directories(temp / "tree/a/b");
    WriteFile(temp / "tree/a/b/big", std::string(4 << 20, 'x'));
    for (int i = 0; i < 10; ++i)
        WriteFile(temp / ("tree/a/f" + std::to_string(i)), "x");
    size_t before = openDescriptors();
    for (int stopAt = 1; stopAt < 20; stopAt += 3) {
        int checks = 0;
        auto unwind = [&] {
            if (++checks >= stopAt)
                throw Unwind();
            return false;
        };
        EXPECT_THROW(copy_entry((temp / "tree").c_str(), (temp / "copy").c_str(),
                         TargetMode::IntoFolder, unwind),
            Unwind);
        EXPECT_FALSE(fs::exists(temp / "copy"));
        ExpectNoLeftovers(temp.Path());
        EXPECT_EQ(openDescriptors(), before) << stopAt;
    }
    int checks = 0;
    EXPECT_THROW(remove_entry((temp / "tree").c_str(),
                     [&] {
                         if (++checks >= 4)
                             throw Unwind();
                         return false;
                     }),
        Unwind);
    EXPECT_EQ(openDescriptors(), before);
}
