#include "TestSupport.h"
#include "ZipTestSupport.h"
#include "ZipWriter.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace fs = std::filesystem;
using namespace ziptest;

namespace {

// A destination inside a folder that also holds a bystander, so that
// anything written outside the destination shows.
struct Playground {
    stowtest::TempDir root;
    stowtest::ScopedEnv stowRoot {"STOW_ROOT", root.Str()};
    stowtest::TempDir dir;
    fs::path destination = dir / "root" / "dest";
    fs::path bystander = dir / "root" / "outside";

    Playground()
    {
        fs::create_directories(destination);
        fs::create_directories(bystander);
        stowtest::WriteFile(bystander / "keep", "keep");
    }

    // Extracts, expecting refusal with `status` and no trace anywhere.
    void ExpectRefused(
        const std::vector<RawMember>& members, status_t status, const std::string& reasonPart)
    {
        WriteRawArchive(dir / "hostile.zip", members);
        std::string error;
        EXPECT_EQ(ExtractFile(dir / "hostile.zip", destination, &error), status) << error;
        EXPECT_NE(error.find(reasonPart), std::string::npos) << error;
        EXPECT_TRUE(ListTree(destination).empty());
        EXPECT_EQ(
            ListTree(dir / "root"), (std::vector<std::string> {"dest", "outside", "outside/keep"}));
        EXPECT_EQ(ListTree(dir.Path()).size(), 5u); // and hostile.zip
    }
};

RawMember Folder(const std::string& name)
{
    return RawMember {name, "", 040755, false};
}

RawMember Link(const std::string& name, const std::string& target)
{
    return RawMember {name, target, 0120777, false};
}

RawMember File(const std::string& name, const std::string& data, bool deflate = true)
{
    return RawMember {name, data, 0100644, deflate};
}

} // namespace

TEST(ZipHostile, RefusesNamesThatLeaveTheDestination)
{
    Playground ground;
    ground.ExpectRefused({File("/tmp/absolute", "x")}, B_NOT_ALLOWED, "absolute");
    ground.ExpectRefused(
        {Folder("item/"), File("item/../../outside/evil", "x")}, B_NOT_ALLOWED, "\"..\"");
    ground.ExpectRefused({File("../evil", "x")}, B_NOT_ALLOWED, "\"..\"");
    ground.ExpectRefused({File("item/./x", "x")}, B_NOT_ALLOWED, "component");
    ground.ExpectRefused({File("item//x", "x")}, B_NOT_ALLOWED, "component");
}

TEST(ZipHostile, RefusesLinksThatLeadOutAndFilesWrittenThroughThem)
{
    Playground ground;
    ground.ExpectRefused(
        {Folder("item/"), Link("item/out", "../../outside"), File("item/out/evil", "x")},
        B_NOT_ALLOWED, "");
    ground.ExpectRefused({Folder("item/"), Link("item/out", "/tmp")}, B_NOT_ALLOWED, "absolute");
    ground.ExpectRefused(
        {Folder("item/"), Link("item/up", "..")}, B_NOT_ALLOWED, "outside the item");
    // Each link alone stays inside; followed one through the other, they
    // lead out.
    ground.ExpectRefused({Folder("item/a/"), Link("item/a/l1", ".."), Link("item/a/l2", "l1/..")},
        B_NOT_ALLOWED, "outside the item");
    ground.ExpectRefused({Link("item/loop1", "loop2/x"), Link("item/loop2", "loop1/x")},
        B_NOT_ALLOWED, "too many links");
    // A link inside, then a member beneath it.
    ground.ExpectRefused({Folder("item/sub/"), Link("item/in", "sub"), File("item/in/file", "x")},
        B_NOT_ALLOWED, "beneath a symbolic link");
    ground.ExpectRefused({Link("top-link", "anything")}, B_NOT_ALLOWED, "item itself");
}

TEST(ZipHostile, AcceptsLinksThatStayInside)
{
    Playground ground;
    WriteRawArchive(ground.dir / "fine.zip",
        {Folder("item/bin/"), Folder("item/lib/"), File("item/lib/tool", "tool"),
            Link("item/bin/tool", "../lib/tool"), Link("item/bin/self", "."),
            Link("item/bin/via", "tool/../../lib/./tool")});
    std::string error;
    ASSERT_EQ(ExtractFile(ground.dir / "fine.zip", ground.destination, &error), B_OK) << error;
    EXPECT_EQ(stowtest::ReadFile(ground.destination / "item" / "bin" / "tool"), "tool");
    EXPECT_EQ(
        fs::read_symlink(ground.destination / "item" / "bin" / "via"), "tool/../../lib/./tool");
}

TEST(ZipHostile, RefusesSizesAndChecksumsThatLie)
{
    Playground ground;
    std::string data = RandomBytes(300 * 1024, 5) + std::string(300 * 1024, 'z');
    for (bool deflate : {true, false}) {
        SCOPED_TRACE(deflate);
        RawMember shorter = File("item", data, deflate);
        shorter.declaredSize = 1000;
        // A stored member's two sizes must agree; a deflated one's data must
        // fill its declared size exactly.
        ground.ExpectRefused({shorter}, B_BAD_DATA,
            deflate ? "more data than the archive declares" : "stored size and its size differ");
        RawMember longer = File("item", data, deflate);
        longer.declaredSize = int64_t(data.size()) + 1;
        ground.ExpectRefused(
            {longer}, B_BAD_DATA, deflate ? "less data" : "stored size and its size differ");
        RawMember badCrc = File("dir/bad", data, deflate);
        badCrc.declaredCrc = 1234;
        ground.ExpectRefused({Folder("dir/"), File("dir/ok", "ok"), badCrc}, B_BAD_DATA, "CRC");
    }
}

TEST(ZipHostile, RefusesDamagedAndTruncatedArchives)
{
    Playground ground;
    WriteRawArchive(ground.dir / "good.zip",
        {Folder("item/"), File("item/a", RandomBytes(200000, 6)), File("item/b", "bbb")});
    std::string good = stowtest::ReadFile(ground.dir / "good.zip");
    for (size_t cut : {size_t(0), size_t(10), good.size() / 2, good.size() - 10}) {
        stowtest::WriteFile(ground.dir / "cut.zip", good.substr(0, cut));
        std::string error;
        EXPECT_EQ(ExtractFile(ground.dir / "cut.zip", ground.destination, &error), B_BAD_DATA)
            << cut;
        EXPECT_TRUE(ListTree(ground.destination).empty());
    }
    // Compressed data damaged in the middle.
    std::string damaged = good;
    for (size_t i = 1000; i < 1100; ++i)
        damaged[i] = char(~damaged[i]);
    stowtest::WriteFile(ground.dir / "damaged.zip", damaged);
    EXPECT_EQ(ExtractFile(ground.dir / "damaged.zip", ground.destination), B_BAD_DATA);
    EXPECT_TRUE(ListTree(ground.destination).empty());
}

TEST(ZipHostile, RefusesArchivesThatAreNotOneItem)
{
    Playground ground;
    ground.ExpectRefused({File("one", "1"), File("two", "2")}, B_NOT_ALLOWED, "more than one item");
    ground.ExpectRefused(
        {Folder("item/"), File("item/x", "1"), File("item/x", "2")}, B_FILE_EXISTS, "twice");
    ground.ExpectRefused({File("item/x", "1"), Folder("item/x/")}, B_FILE_EXISTS, "twice");
    ground.ExpectRefused(
        {File("item/file", "1"), File("item/file/inner", "2")}, B_NOT_ALLOWED, "beneath a file");
    ground.ExpectRefused({}, B_BAD_DATA, "");
    RawMember device = File("item/dev", "");
    device.unixMode = 020644;
    ground.ExpectRefused({device}, B_UNSUPPORTED, "neither");
}

TEST(ZipHostile, RefusesANulInAName)
{
    Playground ground;
    WriteRawArchive(ground.dir / "nul.zip", {File("item/evilXname", "x")});
    std::string bytes = stowtest::ReadFile(ground.dir / "nul.zip");
    for (size_t at = bytes.find("evilX"); at != std::string::npos; at = bytes.find("evilX", at))
        bytes[at + 4] = '\0';
    stowtest::WriteFile(ground.dir / "nul.zip", bytes);
    std::string error;
    EXPECT_EQ(ExtractFile(ground.dir / "nul.zip", ground.destination, &error), B_NOT_ALLOWED);
    EXPECT_NE(error.find("NUL"), std::string::npos) << error;
    EXPECT_TRUE(ListTree(ground.destination).empty());
}

TEST(ZipHostile, ArchivesWithoutUnixModesGetSafeDefaults)
{
    Playground ground;
    RawMember dosFile = File("item/readonly.txt", "r");
    dosFile.host = 0;
    dosFile.unixMode = 0;
    RawMember setuid = File("item/setuid", "s");
    setuid.unixMode = 0104755;
    WriteRawArchive(ground.dir / "dos.zip", {dosFile, File("item/sub/implicit", "i"), setuid});
    ASSERT_EQ(ExtractFile(ground.dir / "dos.zip", ground.destination), B_OK);
    struct stat info;
    ASSERT_EQ(stat((ground.destination / "item" / "readonly.txt").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0644u);
    ASSERT_EQ(stat((ground.destination / "item" / "sub").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0755u);
    ASSERT_EQ(stat((ground.destination / "item" / "setuid").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0755u);
}
