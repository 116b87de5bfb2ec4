#include "BDirectory.h"
#include "BEntry.h"
#include "BFile.h"
#include "BPath.h"
#include "BSymLink.h"
#include "TestSupport.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using stowtest::TempDir;
using stowtest::WriteFile;

namespace {

std::vector<std::string> ReaddirOrder(const std::string& folder)
{
    std::vector<std::string> names;
    DIR* dir = opendir(folder.c_str());
    while (struct dirent* item = readdir(dir)) {
        std::string name = item->d_name;
        if (name != "." && name != "..")
            names.push_back(name);
    }
    closedir(dir);
    return names;
}

const std::vector<std::string> kUnusualNames
    = {"with space", "quote\"d", "single'q", "$HOME", "back`tick`", "back\\slash", "new\nline",
        "caf\xc3\xa9 \xe6\x97\xa5\xe6\x9c\xac", "-dash", " leading"};

} // namespace

TEST(Path, FoldsTextAndMakesItAbsolute)
{
    BPath path("/a//b/./c/../d/");
    ASSERT_EQ(path.InitCheck(), B_OK);
    EXPECT_STREQ(path.Path(), "/a/b/d");
    EXPECT_STREQ(path.Leaf(), "d");
    EXPECT_EQ(BPath("/x", "../y").Path(), std::string("/y"));
    EXPECT_EQ(BPath("/..").Path(), std::string("/"));
    EXPECT_STREQ(BPath("/").Leaf(), "");

    char cwd[PATH_MAX];
    ASSERT_NE(getcwd(cwd, sizeof(cwd)), nullptr);
    EXPECT_EQ(BPath("rel/leaf").Path(), BPath::Clean(std::string(cwd) + "/rel/leaf"));

    BPath parent;
    ASSERT_EQ(path.GetParent(&parent), B_OK);
    EXPECT_STREQ(parent.Path(), "/a/b");
    EXPECT_EQ(BPath("/").GetParent(&parent), B_ENTRY_NOT_FOUND);
    ASSERT_EQ(parent.Append("e/f"), B_OK);
    EXPECT_STREQ(parent.Path(), "/a/b/e/f");
    EXPECT_EQ(parent.Append("/abs"), B_BAD_VALUE);

    EXPECT_EQ(BPath("/a", "/b").InitCheck(), B_BAD_VALUE);
    EXPECT_EQ(BPath("").InitCheck(), B_BAD_VALUE);
    EXPECT_EQ(BPath().Path(), nullptr);
    EXPECT_EQ(BPath(std::string(PATH_MAX + 10, 'x').c_str()).InitCheck(), B_NAME_TOO_LONG);
}

TEST(Path, NormalizeResolvesLinksInTheFolderPart)
{
    TempDir temp;
    std::filesystem::create_directory(temp / "real");
    std::filesystem::create_directory_symlink(temp / "real", temp / "link");
    BPath plain((temp.Str() + "/link").c_str(), "file");
    EXPECT_EQ(std::string(plain.Path()), temp.Str() + "/link/file");
    BPath normalized((temp.Str() + "/link").c_str(), "file", true);
    char real[PATH_MAX];
    ASSERT_NE(realpath((temp / "real").c_str(), real), nullptr);
    EXPECT_EQ(std::string(normalized.Path()), std::string(real) + "/file");
}

TEST(Entry, LinksAreEntriesOfTheirOwnUnlessTraversed)
{
    TempDir temp;
    WriteFile(temp / "target", "data");
    symlink("target", (temp / "link").c_str());
    symlink("missing", (temp / "dangling").c_str());

    BEntry link((temp / "link").c_str());
    ASSERT_EQ(link.InitCheck(), B_OK);
    EXPECT_TRUE(link.IsSymLink());
    EXPECT_FALSE(link.IsFile());
    EXPECT_STREQ(link.Name(), "link");

    BEntry followed((temp / "link").c_str(), true);
    ASSERT_EQ(followed.InitCheck(), B_OK);
    EXPECT_TRUE(followed.IsFile());
    EXPECT_STREQ(followed.Name(), "target");

    BEntry dangling((temp / "dangling").c_str());
    EXPECT_TRUE(dangling.Exists());
    EXPECT_EQ(BEntry((temp / "dangling").c_str(), true).InitCheck(), B_ENTRY_NOT_FOUND);

    // An entry that does not exist yet is fine while its folder exists.
    BEntry absent((temp / "absent").c_str());
    EXPECT_EQ(absent.InitCheck(), B_OK);
    EXPECT_FALSE(absent.Exists());
    EXPECT_EQ(BEntry((temp / "no/such").c_str()).InitCheck(), B_ENTRY_NOT_FOUND);
    EXPECT_EQ(BEntry((temp / "target/x").c_str()).InitCheck(), B_NOT_A_DIRECTORY);
    EXPECT_EQ(BEntry("").InitCheck(), B_BAD_VALUE);
}

TEST(Entry, ReferencesPathsAndParents)
{
    TempDir temp;
    std::filesystem::create_directories(temp / "folder/sub");
    WriteFile(temp / "folder/sub/file", "x");
    // The folder part is canonical even when reached through "..".
    BEntry entry((temp.Str() + "/folder/sub/../sub/file").c_str());
    ASSERT_EQ(entry.InitCheck(), B_OK);

    entry_ref ref;
    ASSERT_EQ(entry.GetRef(&ref), B_OK);
    EXPECT_EQ(ref.name, "file");
    struct stat folder;
    ASSERT_EQ(stat((temp / "folder/sub").c_str(), &folder), 0);
    EXPECT_EQ(ref.device, folder.st_dev);
    EXPECT_EQ(ref.directory, folder.st_ino);

    BEntry again(&ref);
    EXPECT_EQ(again, entry);
    BPath path;
    ASSERT_EQ(entry.GetPath(&path), B_OK);
    EXPECT_EQ(BPath(&ref), path);
    char name[B_FILE_NAME_LENGTH];
    ASSERT_EQ(entry.GetName(name), B_OK);
    EXPECT_STREQ(name, "file");

    BEntry parent;
    ASSERT_EQ(entry.GetParent(&parent), B_OK);
    EXPECT_STREQ(parent.Name(), "sub");
    BDirectory parentDir;
    ASSERT_EQ(entry.GetParent(&parentDir), B_OK);
    EXPECT_STREQ(parentDir.Path(), parent.Path());

    BEntry root("/");
    EXPECT_STREQ(root.Name(), "/");
    EXPECT_EQ(root.GetParent(&parent), B_ENTRY_NOT_FOUND);
    ASSERT_EQ(root.GetRef(&ref), B_OK);
    EXPECT_EQ(BEntry(&ref), root);

    // A reference whose folder was replaced no longer names anything.
    ASSERT_EQ(entry.GetRef(&ref), B_OK);
    std::filesystem::rename(temp / "folder/sub", temp / "folder/old");
    std::filesystem::create_directory(temp / "folder/sub");
    EXPECT_EQ(BEntry(&ref).InitCheck(), B_ENTRY_NOT_FOUND);
}

TEST(Entry, RenameMoveAndRemove)
{
    TempDir temp;
    WriteFile(temp / "a", "A");
    WriteFile(temp / "b", "B");
    std::filesystem::create_directories(temp / "dir/inner");

    BEntry a((temp / "a").c_str());
    EXPECT_EQ(a.Rename("b"), B_FILE_EXISTS);
    EXPECT_EQ(stowtest::ReadFile(temp / "b"), "B");
    ASSERT_EQ(a.Rename("c"), B_OK);
    EXPECT_STREQ(a.Name(), "c");
    EXPECT_FALSE(std::filesystem::exists(temp / "a"));
    ASSERT_EQ(a.Rename("b", true), B_OK);
    EXPECT_EQ(stowtest::ReadFile(temp / "b"), "A");

    BDirectory dir((temp / "dir").c_str());
    ASSERT_EQ(a.MoveTo(&dir), B_OK);
    EXPECT_EQ(stowtest::ReadFile(temp / "dir/b"), "A");
    ASSERT_EQ(a.MoveTo(&dir, "renamed"), B_OK);
    EXPECT_TRUE(std::filesystem::exists(temp / "dir/renamed"));

    BEntry full((temp / "dir").c_str());
    EXPECT_EQ(full.Remove(), B_DIRECTORY_NOT_EMPTY);
    ASSERT_EQ(a.Remove(), B_OK);
    EXPECT_FALSE(a.Exists());
    BEntry inner((temp / "dir/inner").c_str());
    EXPECT_EQ(inner.Remove(), B_OK);
    EXPECT_EQ(inner.Remove(), B_ENTRY_NOT_FOUND);
}

TEST(Entry, TimesAndPermissions)
{
    TempDir temp;
    WriteFile(temp / "file", "x");
    symlink("file", (temp / "link").c_str());
    BEntry file((temp / "file").c_str());
    ASSERT_EQ(file.SetModificationTime(1000000000), B_OK);
    ASSERT_EQ(file.SetAccessTime(1100000000), B_OK);
    time_t value = 0;
    ASSERT_EQ(file.GetModificationTime(&value), B_OK);
    EXPECT_EQ(value, 1000000000);
    ASSERT_EQ(file.GetAccessTime(&value), B_OK);
    EXPECT_EQ(value, 1100000000);
    ASSERT_EQ(file.GetCreationTime(&value), B_OK);
    EXPECT_GT(value, 1500000000); // birth or change time: now, not what was set
    EXPECT_EQ(file.SetCreationTime(5), B_UNSUPPORTED);

    // A link's own times change; its target's do not.
    BEntry link((temp / "link").c_str());
    ASSERT_EQ(link.SetModificationTime(1200000000), B_OK);
    ASSERT_EQ(link.GetModificationTime(&value), B_OK);
    EXPECT_EQ(value, 1200000000);
    ASSERT_EQ(file.GetModificationTime(&value), B_OK);
    EXPECT_EQ(value, 1000000000);

    ASSERT_EQ(file.SetPermissions(0640), B_OK);
    mode_t mode = 0;
    ASSERT_EQ(file.GetPermissions(&mode), B_OK);
    EXPECT_EQ(mode, mode_t(0640));
    off_t size = 0;
    ASSERT_EQ(file.GetSize(&size), B_OK);
    EXPECT_EQ(size, 1);
    EXPECT_EQ(BEntry().GetSize(&size), B_NO_INIT);
}

TEST(Directory, WalksInFolderOrderWithoutFollowingLinks)
{
    TempDir temp;
    std::filesystem::create_directory(temp / "walk");
    std::filesystem::create_directory(temp / "elsewhere");
    WriteFile(temp / "elsewhere/hidden", "x");
    for (int i = 0; i < 20; ++i)
        WriteFile(temp / ("walk/file" + std::to_string(i)), "x");
    std::filesystem::create_directory(temp / "walk/sub");
    symlink((temp / "elsewhere").c_str(), (temp / "walk/folderlink").c_str());

    BDirectory dir((temp / "walk").c_str());
    ASSERT_EQ(dir.InitCheck(), B_OK);
    std::vector<std::string> seen;
    BEntry entry;
    while (dir.GetNextEntry(&entry) == B_OK) {
        seen.push_back(entry.Name());
        if (seen.back() == "folderlink") {
            EXPECT_TRUE(entry.IsSymLink());
            EXPECT_FALSE(entry.IsDirectory());
        }
        if (seen.back() == "sub") {
            EXPECT_TRUE(entry.IsDirectory());
        }
    }
    EXPECT_EQ(seen, ReaddirOrder((temp / "walk").string()));
    EXPECT_EQ(dir.CountEntries(), 22);

    // Rewound, the same order again; refs name the same entries.
    ASSERT_EQ(dir.Rewind(), B_OK);
    entry_ref ref;
    std::vector<std::string> refs;
    while (dir.GetNextRef(&ref) == B_OK) {
        refs.push_back(ref.name);
        EXPECT_TRUE(BEntry(&ref).Exists());
    }
    EXPECT_EQ(refs, seen);

    // Traversal is only on request.
    dir.Rewind();
    bool sawResolved = false;
    while (dir.GetNextEntry(&entry, true) == B_OK)
        sawResolved |= std::string(entry.Name()) == "elsewhere" && entry.IsDirectory();
    EXPECT_TRUE(sawResolved);

    BEntry found;
    ASSERT_EQ(dir.FindEntry("sub", &found), B_OK);
    EXPECT_TRUE(found.IsDirectory());
    EXPECT_EQ(dir.FindEntry("nothing", &found), B_ENTRY_NOT_FOUND);
    EXPECT_TRUE(dir.Contains("file3", B_FILE_NODE));
    EXPECT_FALSE(dir.Contains("file3", B_DIRECTORY_NODE));
    EXPECT_TRUE(dir.Contains("folderlink", B_SYMLINK_NODE));
    EXPECT_FALSE(dir.Contains((temp / "elsewhere/hidden").c_str()));
}

TEST(Directory, CreatesEntriesAndFolders)
{
    TempDir temp;
    BDirectory dir(temp.Str().c_str());
    BDirectory created;
    ASSERT_EQ(dir.CreateDirectory("new", &created), B_OK);
    EXPECT_TRUE(std::filesystem::is_directory(temp / "new"));
    EXPECT_EQ(dir.CreateDirectory("new", nullptr), B_FILE_EXISTS);
    BSymLink link;
    ASSERT_EQ(created.CreateSymLink("link", "../target", &link), B_OK);
    EXPECT_EQ(std::filesystem::read_symlink(temp / "new/link"), "../target");

    ASSERT_EQ(create_directory((temp / "deep/er/est").c_str(), 0755), B_OK);
    EXPECT_TRUE(std::filesystem::is_directory(temp / "deep/er/est"));
    EXPECT_EQ(create_directory((temp / "deep").c_str(), 0755), B_OK);
    WriteFile(temp / "plain", "x");
    EXPECT_EQ(create_directory((temp / "plain").c_str(), 0755), B_NOT_A_DIRECTORY);
    EXPECT_EQ(create_directory((temp / "plain/below").c_str(), 0755), B_NOT_A_DIRECTORY);

    EXPECT_FALSE(dir.IsRootDirectory());
    EXPECT_TRUE(BDirectory("/").IsRootDirectory());
    EXPECT_EQ(BDirectory((temp / "plain").c_str()).InitCheck(), B_NOT_A_DIRECTORY);
}

TEST(SymLink, ReadsTargetsAsText)
{
    TempDir temp;
    std::filesystem::create_directory(temp / "folder");
    symlink("../other/./x", (temp / "folder/relative").c_str());
    symlink("/abs/target", (temp / "folder/absolute").c_str());
    WriteFile(temp / "file", "x");

    BSymLink relative((temp / "folder/relative").c_str());
    char buffer[8];
    EXPECT_EQ(relative.ReadLink(buffer, sizeof(buffer)), 12);
    EXPECT_STREQ(buffer, "../othe"); // cut to the buffer, still terminated
    EXPECT_FALSE(relative.IsAbsolute());
    BPath linked;
    EXPECT_GT(relative.MakeLinkedPath("/base/dir", &linked), 0);
    EXPECT_STREQ(linked.Path(), "/base/other/x");

    BSymLink absolute((temp / "folder/absolute").c_str());
    EXPECT_TRUE(absolute.IsAbsolute());
    absolute.MakeLinkedPath("/ignored", &linked);
    EXPECT_STREQ(linked.Path(), "/abs/target");

    BSymLink notLink((temp / "file").c_str());
    EXPECT_EQ(notLink.ReadLink(buffer, sizeof(buffer)), B_BAD_VALUE);
    EXPECT_EQ(BSymLink((temp / "missing").c_str()).InitCheck(), B_ENTRY_NOT_FOUND);
}

TEST(Entry, UnusualNamesAreOrdinary)
{
    TempDir temp;
    BDirectory dir(temp.Str().c_str());
    for (const auto& name : kUnusualNames) {
        BDirectory created;
        ASSERT_EQ(dir.CreateDirectory(name.c_str(), &created), B_OK) << name;
        BEntry entry(&dir, name.c_str());
        ASSERT_EQ(entry.InitCheck(), B_OK) << name;
        EXPECT_STREQ(entry.Name(), name.c_str());
        EXPECT_TRUE(entry.IsDirectory());
        ASSERT_EQ(entry.Rename((name + " renamed").c_str()), B_OK);
        EXPECT_TRUE(std::filesystem::is_directory(temp / (name + " renamed")));
    }
    EXPECT_EQ(dir.CountEntries(), int32(kUnusualNames.size()));
}

TEST(Directory, CreatesFilesEmptyingOrRefusingExistingOnes)
{
    TempDir temp;
    BDirectory dir(temp.Str().c_str());
    BFile file;
    ASSERT_EQ(dir.CreateFile("new", &file), B_OK);
    EXPECT_EQ(file.Write("abc", 3), 3);
    EXPECT_EQ(stowtest::ReadFile(temp / "new"), "abc");
    EXPECT_EQ(dir.CreateFile("new", nullptr, true), B_FILE_EXISTS);
    EXPECT_EQ(stowtest::ReadFile(temp / "new"), "abc");
    ASSERT_EQ(dir.CreateFile("new", nullptr), B_OK);
    EXPECT_EQ(stowtest::ReadFile(temp / "new"), "");
    std::filesystem::create_directory(temp / "folder");
    EXPECT_NE(dir.CreateFile("folder", nullptr), B_OK);
}
