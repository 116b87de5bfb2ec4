// Resources whose bytes come from other files: copied at Sync() without
// being held in memory, checksummed then, and handed-over files deleted.
#include "BResources.h"
#include "TestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;
using stowtest::TempDir;

namespace {

std::string Pattern(size_t size, int seed)
{
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = char((i * 131 + size_t(seed) * 17 + i / 509) & 0xff);
    return bytes;
}

std::string Load(BResources& resources, type_code type, int32 id)
{
    size_t size = 0;
    const void* data = resources.LoadResource(type, id, &size);
    return data ? std::string(static_cast<const char*>(data), size) : "<none>";
}

} // namespace

TEST(ResourceSources, FilesAndRangesAreCopiedAtSyncAndHandedOverFilesGo)
{
    TempDir dir;
    std::string target = (dir / "target").string();
    std::string big = Pattern(3 * 1024 * 1024 + 17, 1);
    std::string kept = (dir / "kept").string();
    std::string handed = (dir / "handed").string();
    std::string ranged = (dir / "ranged").string();
    stowtest::WriteFile(target, "program bytes");
    stowtest::WriteFile(kept, "kept source");
    stowtest::WriteFile(handed, big);
    stowtest::WriteFile(ranged, "0123456789");
    {
        BResources resources(target.c_str());
        ASSERT_EQ(resources.InitCheck(), B_OK);
        EXPECT_EQ(resources.AddResourceFromPath(
                      'RAWT', 2100, kept.c_str(), BResources::SourceFile::Keep, "kept"),
            B_OK);
        EXPECT_EQ(resources.AddResourceFromPath(
                      'RAWT', 2101, handed.c_str(), BResources::SourceFile::HandOver, "big"),
            B_OK);
        BFile file(ranged.c_str(), B_READ_ONLY);
        EXPECT_EQ(resources.AddResourceFromFile('RAWT', 2102, file, 3, 4, "range"), B_OK);
        EXPECT_EQ(resources.AddResourceFromFile('RAWT', 2103, file, 8, 3), B_BAD_VALUE);
        EXPECT_EQ(resources.AddResourceFromFile('RAWT', 2103, file, -1, 2), B_BAD_VALUE);
        // Pending bytes read through from their sources.
        EXPECT_EQ(Load(resources, 'RAWT', 2102), "3456");
        char piece[5] = {};
        EXPECT_EQ(resources.ReadResource('RAWT', 2101, piece, 1000, 4), B_OK);
        EXPECT_EQ(std::string(piece, 4), big.substr(1000, 4));
        EXPECT_EQ(resources.GetResourceRange('RAWT', 2101, nullptr, nullptr), B_BUSY);
        EXPECT_TRUE(fs::exists(handed)); // needed until written
        ASSERT_EQ(resources.Sync(), B_OK);
        EXPECT_FALSE(fs::exists(handed));
        EXPECT_TRUE(fs::exists(kept));
        EXPECT_EQ(resources.VerifyResource('RAWT', 2101), B_OK);
    }
    BResources resources(target.c_str());
    EXPECT_EQ(Load(resources, 'RAWT', 2100), "kept source");
    EXPECT_EQ(Load(resources, 'RAWT', 2101), big);
    EXPECT_EQ(Load(resources, 'RAWT', 2102), "3456");
    const char* name = nullptr;
    ASSERT_TRUE(resources.GetResourceInfo('RAWT', 2101, &name, nullptr));
    EXPECT_STREQ(name, "big");
    for (int32 id : {2100, 2101, 2102})
        EXPECT_EQ(resources.VerifyResource('RAWT', id), B_OK) << id;
}

TEST(ResourceSources, HandedOverFilesGoWhenReplacedRemovedRefusedOrUnsynced)
{
    TempDir dir;
    std::string target = (dir / "target").string();
    stowtest::WriteFile(target, "x");
    std::string a = (dir / "a").string(), b = (dir / "b").string(), c = (dir / "c").string();
    stowtest::WriteFile(a, "a");
    stowtest::WriteFile(b, "b");
    stowtest::WriteFile(c, "c");
    BResources resources(target.c_str());
    auto handOver = BResources::SourceFile::HandOver;
    ASSERT_EQ(resources.AddResourceFromPath('RAWT', 1, a.c_str(), handOver), B_OK);
    EXPECT_EQ(resources.AddResource('RAWT', 1, "new", 3), B_OK);
    EXPECT_FALSE(fs::exists(a));
    ASSERT_EQ(resources.AddResourceFromPath('RAWT', 2, b.c_str(), handOver), B_OK);
    EXPECT_EQ(resources.RemoveResource('RAWT', 2), B_OK);
    EXPECT_FALSE(fs::exists(b));
    // Refused (the name is too long): handed over all the same.
    std::string longName(2000, 'n');
    EXPECT_EQ(resources.AddResourceFromPath('RAWT', 3, c.c_str(), handOver, longName.c_str()),
        B_NAME_TOO_LONG);
    EXPECT_FALSE(fs::exists(c));
    EXPECT_EQ(resources.AddResourceFromPath('RAWT', 4, (dir / "none").c_str()), B_ENTRY_NOT_FOUND);
    EXPECT_FALSE(resources.HasResource('RAWT', 4));
}

TEST(ResourceSources, CopiesKeepNameAndChecksumSoDamageStaysVisible)
{
    TempDir dir;
    std::string from = (dir / "from").string();
    std::string to = (dir / "to").string();
    stowtest::WriteFile(from, "head");
    stowtest::WriteFile(to, "other head");
    {
        BResources source(from.c_str());
        ASSERT_EQ(source.AddResource('RAWT', 7, "payload bytes", 13, "item"), B_OK);
        ASSERT_EQ(source.AddResource('CSTR', 8, "text", 4, "words"), B_OK);
        ASSERT_EQ(source.Sync(), B_OK);
    }
    // Damage one byte of the payload in the source file.
    std::string bytes = stowtest::ReadFile(from);
    size_t at = bytes.find("payload bytes");
    ASSERT_NE(at, std::string::npos);
    bytes[at] ^= 0x20;
    stowtest::WriteFile(from, bytes);
    {
        BResources source(from.c_str());
        BResources target(to.c_str());
        ASSERT_EQ(target.AddResource('RAWT', 7, "old", 3), B_OK);
        EXPECT_EQ(target.CopyResourceFrom(source, 'RAWT', 7), B_OK);
        EXPECT_EQ(target.CopyResourceFrom(source, 'CSTR', 8), B_OK);
        EXPECT_EQ(target.CopyResourceFrom(source, 'CSTR', 9), B_ENTRY_NOT_FOUND);
        EXPECT_EQ(target.VerifyResource('RAWT', 7), B_BAD_DATA);
        ASSERT_EQ(target.Sync(), B_OK);
    }
    BResources target(to.c_str());
    EXPECT_EQ(target.VerifyResource('RAWT', 7), B_BAD_DATA);
    EXPECT_EQ(target.VerifyResource('CSTR', 8), B_OK);
    EXPECT_EQ(Load(target, 'CSTR', 8), "text");
    const char* name = nullptr;
    ASSERT_TRUE(target.GetResourceInfo('RAWT', 7, &name, nullptr));
    EXPECT_STREQ(name, "item");
    size_t size = 0;
    EXPECT_EQ(target.LoadResource('RAWT', 7, &size), nullptr); // damaged bytes are not handed out
}
