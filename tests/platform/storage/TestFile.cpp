#include "BFile.h"
#include "TestSupport.h"

#include <gtest/gtest.h>
#include <unistd.h>

namespace fs = std::filesystem;
using stowtest::TempDir;

TEST(File, OpenModesCreateEraseAppendAndRefuse)
{
    TempDir dir;
    std::string path = (dir / "data").string();
    EXPECT_EQ(BFile(path.c_str(), B_READ_ONLY).InitCheck(), B_ENTRY_NOT_FOUND);

    BFile created(path.c_str(), B_WRITE_ONLY | B_CREATE_FILE | B_FAIL_IF_EXISTS);
    ASSERT_EQ(created.InitCheck(), B_OK);
    EXPECT_TRUE(created.IsWritable());
    EXPECT_FALSE(created.IsReadable());
    EXPECT_EQ(created.Write("hello world", 11), 11);
    char byte;
    EXPECT_LT(created.Read(&byte, 1), 0);
    EXPECT_EQ(BFile(path.c_str(), B_READ_WRITE | B_CREATE_FILE | B_FAIL_IF_EXISTS).InitCheck(),
        B_FILE_EXISTS);

    BFile appending(path.c_str(), B_WRITE_ONLY | B_OPEN_AT_END);
    EXPECT_EQ(appending.Write("!", 1), 1);
    EXPECT_EQ(stowtest::ReadFile(path), "hello world!");

    BFile erased(path.c_str(), B_READ_WRITE | B_ERASE_FILE);
    off_t size = -1;
    ASSERT_EQ(erased.GetSize(&size), B_OK);
    EXPECT_EQ(size, 0);
    EXPECT_EQ(BFile(dir.Str().c_str(), B_READ_ONLY).InitCheck(), B_IS_A_DIRECTORY);
}

TEST(File, ReadsWritesSeeksAndSizes)
{
    TempDir dir;
    std::string path = (dir / "data").string();
    BFile file(path.c_str(), B_READ_WRITE | B_CREATE_FILE);
    ASSERT_EQ(file.InitCheck(), B_OK);
    EXPECT_TRUE(file.IsReadable() && file.IsWritable());
    EXPECT_EQ(file.Write("0123456789", 10), 10);
    EXPECT_EQ(file.Position(), 10);
    EXPECT_EQ(file.WriteAt(2, "ab", 2), 2);
    EXPECT_EQ(file.Position(), 10); // positioned writes leave the position alone
    EXPECT_EQ(file.Seek(-3, SEEK_END), 7);
    char buffer[8] = {};
    EXPECT_EQ(file.Read(buffer, sizeof buffer), 3);
    EXPECT_STREQ(buffer, "789");
    EXPECT_EQ(file.ReadAt(0, buffer, 4), 4);
    EXPECT_EQ(std::string(buffer, 4), "01ab");
    EXPECT_EQ(file.ReadAt(-1, buffer, 1), B_BAD_VALUE);
    ASSERT_EQ(file.SetSize(4), B_OK);
    off_t size;
    file.GetSize(&size);
    EXPECT_EQ(size, 4);
    EXPECT_EQ(BFile(path.c_str(), B_READ_ONLY).SetSize(0), B_NOT_ALLOWED);

    BFile copy(file);
    EXPECT_EQ(copy.ReadAt(0, buffer, 4), 4);
    file.Unset();
    EXPECT_EQ(file.InitCheck(), B_NO_INIT);
    EXPECT_EQ(file.Read(buffer, 1), B_NO_INIT);
    EXPECT_EQ(copy.ReadAt(0, buffer, 2), 2); // the copy has its own descriptor
}

TEST(File, OpeningThroughALinkReachesTheFileAndItsAttributes)
{
    TempDir dir;
    TempDir root;
    stowtest::ScopedEnv stowRoot("STOW_ROOT", root.Str());
    stowtest::WriteFile(dir / "real", "x");
    fs::create_symlink("real", dir / "link");
    BFile file((dir / "link").c_str(), B_READ_WRITE);
    ASSERT_EQ(file.InitCheck(), B_OK);
    EXPECT_EQ(std::string(file.Path()), (dir / "real").string());
    ASSERT_EQ(file.WriteAttr("InstallBy", B_STRING_TYPE, 0, "tag", 3), 3);
    char text[4] = {};
    EXPECT_EQ(BNode((dir / "real").c_str()).ReadAttr("InstallBy", 0, 0, text, 3), 3);
    EXPECT_STREQ(text, "tag");
    EXPECT_EQ(
        BNode((dir / "link").c_str()).ReadAttr("InstallBy", 0, 0, text, 3), B_ENTRY_NOT_FOUND);
}

TEST(File, TheRunningExecutableCannotBeOpenedForWriting)
{
    char self[4096];
    ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    ASSERT_GT(length, 0);
    self[length] = '\0';
    EXPECT_EQ(BFile(self, B_READ_WRITE).InitCheck(), B_BUSY);
    EXPECT_EQ(BFile(self, B_READ_ONLY).InitCheck(), B_OK);
}
