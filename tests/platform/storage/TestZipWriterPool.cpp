#include "TestSupport.h"
#include "ZipTestSupport.h"
#include "ZipWriter.h"
#include "ZipWriterPool.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <sys/stat.h>

namespace fs = std::filesystem;
using namespace ziptest;

namespace {

ZipAttribute Attribute(const std::string& name, const std::string& data)
{
    return ZipAttribute {name, B_STRING_TYPE, std::vector<uint8>(data.begin(), data.end())};
}

RawMember File(const std::string& name, const std::string& data)
{
    return RawMember {name, data, 0100644, true};
}

// Many files of many sizes in nested folders, some read-only, some with
// attributes of their own, with their times set.
fs::path MakeItem(const fs::path& parent, ZipAttributeStore& store)
{
    fs::path item = parent / "many";
    for (int i = 0; i < 120; ++i) {
        fs::path folder = item / ("part " + std::to_string(i % 7)) / std::to_string(i % 3);
        fs::create_directories(folder);
        fs::path file = folder / ("file " + std::to_string(i));
        stowtest::WriteFile(file, RandomBytes(size_t(i * i * 37 % 300000), unsigned(i)));
        if (i % 5 == 0) {
            EXPECT_EQ(
                store.WriteAttributes(file.c_str(), {Attribute("note", std::to_string(i))}), B_OK);
        }
        if (i % 4 == 0)
            chmod(file.c_str(), 0444);
        SetTimes(file, 1600000000 + i, 1500000000 + i * 60);
    }
    return item;
}

} // namespace

// The writers' threads produce exactly what the calling thread alone does:
// contents, modes, times, the archive's attributes and the ones every node
// gets; progress ends at the total.
TEST(ZipWriterPool, WritesTheSameItemOnAnyNumberOfThreads)
{
    stowtest::TempDir root;
    stowtest::ScopedEnv stowRoot {"STOW_ROOT", root.Str()};
    stowtest::TempDir dir;
    ZipNodeAttributeStore store;
    fs::path item = MakeItem(dir / "source", store);
    ZipWriteOptions writeOptions;
    writeOptions.attributes = &store;
    ZipWriter writer(writeOptions);
    ASSERT_EQ(writer.Write(item.c_str(), (dir / "item.zip").c_str()), B_OK);
    const ZipAttribute tag = Attribute("InstallBy", "Product;1.0;");

    std::map<std::string, EntryState> serial;
    for (int threads : {0, 1, 2, 5}) {
        SCOPED_TRACE(threads);
        fs::path out = dir / ("out" + std::to_string(threads));
        fs::create_directory(out);
        std::unique_ptr<ZipWriterPool> pool;
        if (threads > 0)
            pool = std::make_unique<ZipWriterPool>(threads);
        ZipExtractOptions options;
        options.attributes = &store;
        options.everyNode = {tag};
        options.writers = pool.get();
        uint64 done = 0;
        uint64 total = 0;
        options.progress = [&](uint64 now, uint64 all) {
            EXPECT_GE(now, done);
            done = now;
            total = all;
        };
        std::string error;
        ASSERT_EQ(ExtractFile(dir / "item.zip", out, &error, options), B_OK) << error;
        EXPECT_EQ(done, total);
        auto state = Snapshot(out / "many", &store);
        for (auto& [path, entry] : state) {
            EXPECT_NE(std::find(entry.attributes.begin(), entry.attributes.end(), tag),
                entry.attributes.end())
                << path;
        }
        if (threads == 0)
            serial = state;
        else
            EXPECT_EQ(state, serial);
    }
    EXPECT_EQ(serial.size(), Snapshot(item, &store).size());
}

// With two damaged members the one earliest in the archive is told, and
// a failure or a stop leaves nothing of the item.
TEST(ZipWriterPool, TellsTheEarliestFailureAndLeavesNothing)
{
    stowtest::TempDir root;
    stowtest::ScopedEnv stowRoot {"STOW_ROOT", root.Str()};
    stowtest::TempDir dir;
    fs::create_directory(dir / "out");
    std::vector<RawMember> members {RawMember {"item/", "", 040755, false}};
    for (int i = 0; i < 60; ++i) {
        members.push_back(File("item/f" + std::to_string(i), RandomBytes(50000, unsigned(i))));
        if (i == 25 || i == 50)
            members.back().declaredCrc = 1234;
    }
    WriteRawArchive(dir / "damaged.zip", members);
    ZipWriterPool pool(3);
    for (int round = 0; round < 5; ++round) {
        ZipExtractOptions options;
        options.writers = &pool;
        std::string error;
        EXPECT_EQ(ExtractFile(dir / "damaged.zip", dir / "out", &error, options), B_BAD_DATA);
        EXPECT_NE(error.find("f25"), std::string::npos) << error;
        EXPECT_TRUE(ListTree(dir / "out").empty());
    }

    fs::create_directories(dir / "big");
    stowtest::WriteFile(dir / "big" / "large", RandomBytes(24 << 20, 9));
    for (int i = 0; i < 40; ++i)
        stowtest::WriteFile(dir / "big" / ("small " + std::to_string(i)), RandomBytes(70000, 1));
    ZipWriter writer;
    ASSERT_EQ(writer.Write((dir / "big").c_str(), (dir / "big.zip").c_str()), B_OK);
    ZipExtractOptions options;
    options.writers = &pool;
    uint64 seen = 0;
    uint64 total = 0;
    options.progress = [&](uint64 done, uint64 all) {
        seen = done;
        total = all;
    };
    options.shouldStop = [&] { return seen > (2 << 20); };
    std::string error;
    EXPECT_EQ(ExtractFile(dir / "big.zip", dir / "out", &error, options), B_CANCELED);
    // Within the write-ahead of what was seen when the stop was asked for.
    EXPECT_LT(seen, (2 << 20) + 3 * ZipWriterPool::kWriteAhead);
    EXPECT_LT(seen, total);
    EXPECT_TRUE(ListTree(dir / "out").empty());
}
