#include "TestSupport.h"
#include "ZipTestSupport.h"
#include "ZipWriter.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace ziptest;

namespace {

ZipAttribute Attribute(const std::string& name, type_code type, const std::string& data)
{
    return ZipAttribute {name, type, std::vector<uint8>(data.begin(), data.end())};
}

// A folder item with everything an archive must carry: nested and empty
// folders, a link, odd names, modes, times and typed attributes.
fs::path MakeItem(const fs::path& parent, ZipAttributeStore& store)
{
    fs::path item = parent / "Product Ünïcode";
    fs::create_directories(item / "docs" / "empty");
    stowtest::WriteFile(item / "README", "read me\n");
    stowtest::WriteFile(item / "docs" / "big.bin", RandomBytes(700 * 1024, 1));
    stowtest::WriteFile(item / "docs" / "zeros", std::string(600 * 1024, '\0'));
    stowtest::WriteFile(item / "run.sh", "#!/bin/sh\necho hi\n");
    const char* odd[] = {"quote\"s 'and' `back`ticks", "dollar $HOME and \\back\\slash",
        "new\nline", "spaces  at end ", "émigré 日本"};
    for (const char* name : odd)
        stowtest::WriteFile(item / "docs" / name, name);
    stowtest::WriteFile(item / "docs" / "empty file", "");
    fs::create_symlink("../run.sh", item / "docs" / "link to run");
    chmod((item / "run.sh").c_str(), 0750);
    chmod((item / "README").c_str(), 0444);
    chmod((item / "docs" / "empty").c_str(), 0700);

    std::string compressible(100000, 'a');
    ZipAttributeList fileAttributes {Attribute("BEOS:TYPE", B_MIME_TYPE, "text/plain"),
        Attribute("InstallBy", B_STRING_TYPE, "Product;1.0;"),
        Attribute("count", B_INT32_TYPE, std::string("\x01\x00\x00\x00", 4)),
        Attribute("flag", B_BOOL_TYPE, std::string(1, '\1')),
        Attribute("raw", B_RAW_TYPE, compressible), Attribute("zero", B_RAW_TYPE, "")};
    EXPECT_EQ(store.WriteAttributes((item / "run.sh").c_str(), fileAttributes), B_OK);
    EXPECT_EQ(store.WriteAttributes(
                  (item / "docs" / "new\nline").c_str(), {Attribute("note", B_STRING_TYPE, "odd")}),
        B_OK);
    EXPECT_EQ(
        store.WriteAttributes((item / "docs").c_str(), {Attribute("folder", B_STRING_TYPE, "yes")}),
        B_OK);
    EXPECT_EQ(store.WriteAttributes((item / "docs" / "link to run").c_str(),
                  {Attribute("on link", B_STRING_TYPE, "tag")}),
        B_OK);

    int64_t base = 1600000000;
    int64_t step = 0;
    for (const auto& entry : fs::recursive_directory_iterator(item)) {
        SetTimes(entry.path(), base + 500000 + step, base + step * 1000);
        ++step;
    }
    SetTimes(item, base + 900000, base - 1000);
    chmod((item / "docs").c_str(), 0555);
    return item;
}

struct Archived {
    stowtest::TempDir root;
    stowtest::ScopedEnv stowRoot {"STOW_ROOT", root.Str()};
    stowtest::TempDir dir;
    ZipNodeAttributeStore store;
    fs::path item;
    fs::path archive;
};

void Archive(Archived& result, int level)
{
    result.item = MakeItem(result.dir / "source", result.store);
    result.archive = result.dir / "item.zip";
    ZipWriteOptions options;
    options.level = level;
    options.attributes = &result.store;
    ZipWriter writer(options);
    ASSERT_EQ(writer.Write(result.item.c_str(), result.archive.c_str()), B_OK)
        << writer.ErrorMessage();
}

} // namespace

TEST(ZipArchive, FolderItemComesBackIdenticalDeflatedAndStored)
{
    for (int level : {9, 0}) {
        SCOPED_TRACE(level);
        Archived archived;
        fs::create_directories(archived.dir / "source");
        Archive(archived, level);
        auto before = Snapshot(archived.item, &archived.store);

        fs::create_directory(archived.dir / "out");
        ZipExtractOptions options;
        options.attributes = &archived.store;
        uint64 lastDone = 0;
        uint64 lastTotal = 0;
        options.progress = [&](uint64 done, uint64 total) {
            EXPECT_GE(done, lastDone);
            lastDone = done;
            lastTotal = total;
        };
        std::string error;
        ASSERT_EQ(ExtractFile(archived.archive, archived.dir / "out", &error, options), B_OK)
            << error;
        auto after = Snapshot(archived.dir / "out" / archived.item.filename(), &archived.store);
        EXPECT_EQ(after, before);
        EXPECT_EQ(ListTree(archived.dir / "out").size(), before.size());
        EXPECT_EQ(lastDone, lastTotal);
        EXPECT_GT(lastTotal, 1300u * 1024);
    }
}

TEST(ZipArchive, ListingNamesTheItemAndItsMembers)
{
    Archived archived;
    fs::create_directories(archived.dir / "source");
    Archive(archived, 6);
    ZipReader reader;
    ASSERT_EQ(reader.Open(archived.archive.c_str()), B_OK);
    ZipListing listing;
    ASSERT_EQ(reader.List(listing), B_OK) << reader.ErrorMessage();
    EXPECT_EQ(listing.itemName, "Product Ünïcode");
    EXPECT_EQ(listing.itemKind, ZipMemberKind::Folder);
    EXPECT_EQ(listing.members.size(), 14u);
    uint64 expected = std::string("../run.sh").size();
    for (const auto& entry : fs::recursive_directory_iterator(archived.item)) {
        if (!entry.is_symlink() && entry.is_regular_file())
            expected += entry.file_size();
    }
    EXPECT_EQ(listing.totalSize, expected);
    bool sawLink = false;
    for (const ZipMember& member : listing.members) {
        if (member.name == "Product Ünïcode/docs/link to run") {
            sawLink = true;
            EXPECT_EQ(member.kind, ZipMemberKind::Link);
            EXPECT_EQ(member.linkTarget, "../run.sh");
        }
        if (member.name == "Product Ünïcode/docs/empty") {
            EXPECT_EQ(member.kind, ZipMemberKind::Folder);
        }
    }
    EXPECT_TRUE(sawLink);

    // A single file is an item too.
    stowtest::WriteFile(archived.dir / "single.txt", "one");
    ZipWriter writer;
    ASSERT_EQ(
        writer.Write((archived.dir / "single.txt").c_str(), (archived.dir / "single.zip").c_str()),
        B_OK);
    ASSERT_EQ(reader.Open((archived.dir / "single.zip").c_str()), B_OK);
    ASSERT_EQ(reader.List(listing), B_OK);
    EXPECT_EQ(listing.itemName, "single.txt");
    EXPECT_EQ(listing.itemKind, ZipMemberKind::File);
    EXPECT_EQ(listing.totalSize, 3u);
}

TEST(ZipArchive, InfoZipTestsAndExtractsOurArchives)
{
    Archived archived;
    fs::create_directories(archived.dir / "source");
    Archive(archived, 9);
    auto tested = stowtest::Run({"/usr/bin/unzip", "-t", archived.archive.string()});
    EXPECT_EQ(tested.exitCode, 0) << tested.out << tested.err;
    EXPECT_NE(tested.out.find("No errors detected"), std::string::npos) << tested.out;

    // Unix as creator system: Info-ZIP restores the modes and the link.
    fs::create_directory(archived.dir / "unzipped");
    auto unzipped = stowtest::Run({"/usr/bin/unzip", "-q", archived.archive.string(), "-d",
        (archived.dir / "unzipped").string()});
    EXPECT_EQ(unzipped.exitCode, 0) << unzipped.err;
    fs::path item = archived.dir / "unzipped" / archived.item.filename();
    EXPECT_EQ(fs::read_symlink(item / "docs" / "link to run"), "../run.sh");
    struct stat info;
    ASSERT_EQ(stat((item / "run.sh").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0750u);
    struct stat original;
    ASSERT_EQ(stat((archived.item / "run.sh").c_str(), &original), 0);
    EXPECT_EQ(info.st_mtim.tv_sec, original.st_mtim.tv_sec);
    EXPECT_EQ(stowtest::ReadFile(item / "docs" / "dollar $HOME and \\back\\slash"),
        "dollar $HOME and \\back\\slash");
}

TEST(ZipArchive, ExtractsWhatInfoZipWrites)
{
    stowtest::TempDir dir;
    fs::path item = dir / "tool kit";
    fs::create_directories(item / "bin");
    fs::create_directories(item / "share" / "empty");
    stowtest::WriteFile(
        item / "bin" / "tool", RandomBytes(300 * 1024, 2) + std::string(300000, 'x'));
    stowtest::WriteFile(item / "share" / "it's \"odd\" $x `y`", "odd");
    fs::create_symlink("../bin/tool", item / "share" / "tool link");
    chmod((item / "bin" / "tool").c_str(), 0755);
    chmod((item / "share" / "empty").c_str(), 0750);
    int64_t step = 0;
    for (const auto& entry : fs::recursive_directory_iterator(item)) {
        SetTimes(entry.path(), 1500000000 + 90000 + step, 1500000000 + step * 60);
        ++step;
    }
    SetTimes(item, 1500000000 + 90000, 1500000000 - 60);

    // "-fz" gives every member Zip64 fields, as a large archive has them.
    for (std::string zip64 : {"", "-fz"}) {
        // Zipping reads the files, which may change their access times.
        auto before = Snapshot(item, nullptr);
        std::string name = "infozip" + zip64;
        auto zipped = stowtest::Run({"/usr/bin/env", "-C", dir.Str(), "/usr/bin/zip", "-r", "-y",
            "-q", zip64.empty() ? "-q" : zip64, (dir / (name + ".zip")).string(), "tool kit"});
        ASSERT_EQ(zipped.exitCode, 0) << zipped.err;
        fs::create_directory(dir / name);
        std::string error;
        ASSERT_EQ(ExtractFile(dir / (name + ".zip"), dir / name, &error), B_OK) << error;
        EXPECT_EQ(Snapshot(dir / name / "tool kit", nullptr), before) << name;
    }
}

TEST(ZipArchive, ExtractsFromAByteRangeOfALargerFile)
{
    stowtest::TempDir dir;
    stowtest::WriteFile(dir / "payload.txt", RandomBytes(400 * 1024, 3));
    ZipWriter writer;
    ASSERT_EQ(writer.Write((dir / "payload.txt").c_str(), (dir / "payload.zip").c_str()), B_OK);
    std::string archive = stowtest::ReadFile(dir / "payload.zip");
    // Another archive before it, so that a reader looking beyond the range
    // would find the wrong one.
    ASSERT_EQ(writer.Write((dir / "payload.zip").c_str(), (dir / "decoy.zip").c_str()), B_OK);
    std::string before = stowtest::ReadFile(dir / "decoy.zip") + "junk";
    stowtest::WriteFile(dir / "carrier", before + archive + "trailing bytes");

    ZipReader reader;
    ASSERT_EQ(reader.Open((dir / "carrier").c_str(), before.size(), archive.size()), B_OK);
    fs::create_directory(dir / "a");
    ZipExtractor extractor;
    std::string itemPath;
    ASSERT_EQ(extractor.Extract(reader, (dir / "a").c_str(), &itemPath), B_OK)
        << extractor.ErrorMessage();
    EXPECT_EQ(itemPath, (dir / "a" / "payload.txt").string());
    EXPECT_EQ(stowtest::ReadFile(itemPath), stowtest::ReadFile(dir / "payload.txt"));

    int fd = open((dir / "carrier").c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(reader.Open(fd, before.size(), archive.size()), B_OK);
    fs::create_directory(dir / "b");
    EXPECT_EQ(extractor.Extract(reader, (dir / "b").c_str()), B_OK);
    reader.Close();
    close(fd);
    EXPECT_EQ(
        stowtest::ReadFile(dir / "b" / "payload.txt"), stowtest::ReadFile(dir / "payload.txt"));

    EXPECT_NE(reader.Open((dir / "carrier").c_str(), before.size(), archive.size() + 1000), B_OK);
    EXPECT_NE(reader.Open((dir / "carrier").c_str(), before.size() + 1, archive.size() - 1), B_OK);
}

TEST(ZipArchive, StopMidMemberLeavesNothingBehind)
{
    stowtest::TempDir dir;
    fs::create_directories(dir / "item" / "sub");
    stowtest::WriteFile(dir / "item" / "first", "small");
    stowtest::WriteFile(dir / "item" / "sub" / "large", RandomBytes(4 << 20, 4));
    ZipWriter writer;
    ASSERT_EQ(writer.Write((dir / "item").c_str(), (dir / "item.zip").c_str()), B_OK);

    fs::create_directory(dir / "out");
    ZipExtractOptions options;
    uint64 seen = 0;
    int asked = 0;
    options.progress = [&](uint64 done, uint64) { seen = done; };
    options.shouldStop = [&]() {
        ++asked;
        return seen > (1 << 20);
    };
    std::string error;
    EXPECT_EQ(ExtractFile(dir / "item.zip", dir / "out", &error, options), B_CANCELED);
    EXPECT_LT(seen, uint64(3) << 20); // stopped within the member, not after it
    EXPECT_GT(asked, 4);
    EXPECT_TRUE(ListTree(dir / "out").empty());

    // Stopping the writer leaves no archive and no partial file.
    ZipWriteOptions writeOptions;
    writeOptions.shouldStop = [&]() { return true; };
    ZipWriter stopped(writeOptions);
    EXPECT_EQ(stopped.Write((dir / "item").c_str(), (dir / "out" / "new.zip").c_str()), B_CANCELED);
    EXPECT_TRUE(ListTree(dir / "out").empty());
}

TEST(ZipArchive, RefusesToOverwriteAnExistingItem)
{
    stowtest::TempDir dir;
    stowtest::WriteFile(dir / "data", "new");
    ZipWriter writer;
    ASSERT_EQ(writer.Write((dir / "data").c_str(), (dir / "data.zip").c_str()), B_OK);
    fs::create_directory(dir / "out");
    stowtest::WriteFile(dir / "out" / "data", "old");
    std::string error;
    EXPECT_EQ(ExtractFile(dir / "data.zip", dir / "out", &error), B_FILE_EXISTS);
    EXPECT_NE(error.find("already exists"), std::string::npos) << error;
    EXPECT_EQ(stowtest::ReadFile(dir / "out" / "data"), "old");
    EXPECT_EQ(ListTree(dir / "out").size(), 1u);
}

TEST(ZipArchive, WriterSkipsTheArchiveInsideItsItemAndFollowsAnItemLink)
{
    stowtest::TempDir dir;
    fs::create_directories(dir / "item");
    stowtest::WriteFile(dir / "item" / "file", "x");
    ZipWriter writer;
    ASSERT_EQ(writer.Write((dir / "item").c_str(), (dir / "item" / "self.zip").c_str()), B_OK);
    ASSERT_EQ(writer.Write((dir / "item").c_str(), (dir / "item" / "self.zip").c_str()), B_OK);
    ZipReader reader;
    ZipListing listing;
    ASSERT_EQ(reader.Open((dir / "item" / "self.zip").c_str()), B_OK);
    ASSERT_EQ(reader.List(listing), B_OK);
    ASSERT_EQ(listing.members.size(), 2u);
    EXPECT_EQ(listing.members[1].name, "item/file");

    fs::create_symlink("item", dir / "alias");
    ASSERT_EQ(writer.Write((dir / "alias").c_str(), (dir / "alias.zip").c_str()), B_OK);
    ASSERT_EQ(reader.Open((dir / "alias.zip").c_str()), B_OK);
    ASSERT_EQ(reader.List(listing), B_OK);
    EXPECT_EQ(listing.itemName, "alias");
    EXPECT_EQ(listing.itemKind, ZipMemberKind::Folder);
}
