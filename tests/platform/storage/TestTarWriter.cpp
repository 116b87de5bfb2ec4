#include "TarWriter.h"
#include "TestSupport.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using stowtest::ReadFile;
using stowtest::TempDir;
using stowtest::WriteFile;
namespace fs = std::filesystem;

namespace {

std::string Tar()
{
    return access("/usr/bin/tar", X_OK) == 0 ? "/usr/bin/tar"
        : access("/bin/tar", X_OK) == 0      ? "/bin/tar"
                                             : "";
}

} // namespace

TEST(TarWriter, MemberNamesLoseLeadingSlashesAndParentSteps)
{
    EXPECT_EQ(tar_member_name("item"), "item");
    EXPECT_EQ(tar_member_name("/abs/item/"), "abs/item");
    EXPECT_EQ(tar_member_name("//../../x/../y"), "x/../y");
    EXPECT_EQ(tar_member_name("./here"), "./here");
    EXPECT_EQ(tar_member_name(".."), ".");
    EXPECT_EQ(tar_member_name("/"), ".");
}

TEST(TarWriter, ArchivesReadBackWithTar)
{
    std::string tar = Tar();
    if (tar.empty())
        GTEST_SKIP() << "no tar program to read the archive back";
    TempDir temp;
    fs::path item = temp / "item";
    std::string odd = "q\"uote $x `y` back\\slash\nline caf\xc3\xa9";
    std::string deep = std::string(90, 'd') + "/" + std::string(90, 'e');
    std::string huge
        = std::string(120, 'h') + "/" + std::string(120, 'i') + "/" + std::string(120, 'j');
    fs::create_directories(item / "empty");
    fs::create_directories(item / deep);
    fs::create_directories(item / huge);
    WriteFile(item / odd, "odd");
    WriteFile(item / deep / "file", "deep");
    WriteFile(item / huge / "file", std::string(3000, 'z'));
    fs::create_symlink(std::string(150, 't'), item / "long link");
    fs::create_symlink(odd, item / "link");
    chmod((item / odd).c_str(), 0751);
    struct timespec times[2] = {{1000000000, 0}, {1000000000, 0}};
    utimensat(AT_FDCWD, (item / odd).c_str(), times, 0);

    // The archive lies inside the folder it archives, as a second run finds it.
    fs::path archive = item / "item.tar";
    ASSERT_EQ(write_tar_archive(archive.c_str(), temp.Str().c_str(), "item"), B_OK);
    ASSERT_EQ(write_tar_archive(archive.c_str(), temp.Str().c_str(), "item"), B_OK);
    EXPECT_EQ(fs::file_size(archive) % 10240, 0u);

    auto listed = stowtest::Run({tar, "-tf", archive.string()});
    ASSERT_EQ(listed.exitCode, 0) << listed.err;
    EXPECT_EQ(listed.out.find("item.tar"), std::string::npos) << listed.out;
    EXPECT_NE(listed.out.find("item/" + huge + "/file\n"), std::string::npos) << listed.out;

    fs::create_directories(temp / "out");
    auto extracted = stowtest::Run({tar, "-xf", archive.string(), "-C", (temp / "out").string()});
    ASSERT_EQ(extracted.exitCode, 0) << extracted.err;
    fs::path back = temp / "out/item";
    EXPECT_EQ(ReadFile(back / odd), "odd");
    EXPECT_EQ(ReadFile(back / deep / "file"), "deep");
    EXPECT_EQ(ReadFile(back / huge / "file"), std::string(3000, 'z'));
    EXPECT_TRUE(fs::is_directory(back / "empty"));
    EXPECT_EQ(fs::read_symlink(back / "long link"), std::string(150, 't'));
    EXPECT_EQ(fs::read_symlink(back / "link"), odd);
    struct stat st;
    ASSERT_EQ(stat((back / odd).c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0751u);
    EXPECT_EQ(st.st_mtime, 1000000000);
    EXPECT_FALSE(fs::exists(back / "item.tar"));
}

TEST(TarWriter, FailuresLeaveNoArchive)
{
    TempDir temp;
    fs::path archive = temp / "out.tar";
    EXPECT_EQ(write_tar_archive(archive.c_str(), temp.Str().c_str(), "missing"), B_ENTRY_NOT_FOUND);
    EXPECT_EQ(write_tar_archive(archive.c_str(), temp.Str().c_str(), ""), B_BAD_VALUE);
    WriteFile(temp / "file", "f");
    EXPECT_NE(
        write_tar_archive((temp / "no/folder/out.tar").c_str(), temp.Str().c_str(), "file"), B_OK);
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(temp.Path()))
        left.push_back(entry.path().filename());
    EXPECT_EQ(left, std::vector<std::string> {"file"});
}
