// A member over 4 GiB, whose sizes need Zip64 fields. The file is sparse and
// deflates to a few megabytes, so that the disk holds little more than the
// archive; reading it back decompresses every byte without writing any.
// STOW_SKIP_LARGE_TESTS=1 skips it where that is too slow.
#include "TestSupport.h"
#include "ZipReader.h"
#include "ZipWriter.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

constexpr uint64_t kBigSize = (uint64_t(1) << 32) + 4096;

bool LargeTestsSkipped()
{
    const char* skip = getenv("STOW_SKIP_LARGE_TESTS");
    return skip != nullptr && *skip != '\0' && std::string(skip) != "0";
}

} // namespace

TEST(ZipLarge, AMemberOver4GiBRoundTripsThroughZip64)
{
    if (LargeTestsSkipped())
        GTEST_SKIP() << "STOW_SKIP_LARGE_TESTS is set";
    stowtest::TempDir dir;
    fs::path item = dir / "item";
    fs::create_directories(item);
    // Data after the 4 GiB mark, so that a size cut to 32 bits loses it.
    stowtest::WriteFile(item / "big", "");
    fs::resize_file(item / "big", kBigSize - 4);
    {
        std::FILE* file = std::fopen((item / "big").c_str(), "ab");
        ASSERT_NE(file, nullptr);
        std::fputs("tail", file);
        std::fclose(file);
    }
    chmod((item / "big").c_str(), 0640);
    stowtest::WriteFile(item / "small", "after the big one");

    fs::path archive = dir / "item.zip";
    ZipWriteOptions options;
    options.level = 1;
    options.attributes = nullptr;
    ZipWriter writer(options);
    ASSERT_EQ(writer.Write(item.c_str(), archive.c_str()), B_OK) << writer.ErrorMessage();
    fs::remove_all(item);

    ZipReader reader;
    ASSERT_EQ(reader.Open(archive.c_str()), B_OK);
    ZipListing listing;
    ASSERT_EQ(reader.List(listing), B_OK) << reader.ErrorMessage();
    ASSERT_EQ(listing.members.size(), 3u);
    EXPECT_EQ(listing.members[1].name, "item/big");
    EXPECT_EQ(listing.members[1].size, kBigSize);
    EXPECT_TRUE(listing.members[1].hasMode);
    EXPECT_EQ(listing.members[1].mode, 0640u);
    EXPECT_EQ(listing.totalSize, kBigSize + 17);
    EXPECT_EQ(reader.Test(), B_OK) << reader.ErrorMessage();

    stowtest::RunResult tested = stowtest::Run({"/usr/bin/unzip", "-tq", archive.string()});
    EXPECT_EQ(tested.exitCode, 0) << tested.out << tested.err;
}
