// stowpack build: what a description and its items become in the record,
// and the payload in the installer.
#include "BuildFixture.h"
#include "MessageJson.h"

#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>

using namespace buildtest;

namespace {

const char* const kTypedProduct = R"({
  "app_name": "Typed", "version": "2.0", "opt_created_folder": "Typed",
  "license": {"file": "texts/license.txt"},
  "groups": [{"group_name": "Typical", "group_description": "All"}, {"group_name": "Docs"}],
  "opt_log": true, "opt_include_deinstall": true,
  "req_ram_needed": true, "req_ram_amount": 32,
  "req_disk_space_amount": {"value": 2359296, "value_type": "kb  ", "value_conversion": 1024},
  "req_shared_library": {"req_shared_librry_req": false, "req_shared_library_name": ["libc.so.6", "libm.so.6"]},
  "custom_folder": [{"custom_folder_name": "Docs", "custom_root_dir": "Common Documentation", "custom_sub_dir": "Typed"}],
  "install_instructions": [
    {"file_name": "items/readme", "groups": ["Typical", "Docs"],
     "install_meta": {"destination": "Docs", "link": "User Settings", "auto_launch_reason": "why"}}
  ]
})";

} // namespace

TEST(BuildRecord, DescriptionTypesReachTheRecordAndDumpPrintsIt)
{
    ProductFolder product;
    product.Write("texts/license.txt", "Use it well.\n");
    product.Write("items/readme", "read me");
    stowtest::RunResult built = product.Build(kTypedProduct);
    ASSERT_EQ(built.exitCode, 0) << built.err;
    EXPECT_EQ(built.err, "");
    BMessage record = product.Record();

    EXPECT_EQ(TypeOf(record, "req_ram_amount"), B_INT32_TYPE);
    EXPECT_EQ(record.FindInt32("req_ram_amount"), 32);
    EXPECT_EQ(TypeOf(record, "opt_log"), B_BOOL_TYPE);
    EXPECT_EQ(record.FindInt32("opt_compression"), 6); // written though not given
    EXPECT_STREQ(record.FindString("license"), "Use it well.\n");
    BMessage disk = Sub(record, "req_disk_space_amount");
    EXPECT_EQ(TypeOf(disk, "value"), B_DOUBLE_TYPE);
    EXPECT_EQ(disk.FindDouble("value"), 2359296.0);
    EXPECT_EQ(disk.FindInt32("value_type"), int32('kb  '));
    EXPECT_EQ(TypeOf(disk, "value_conversion"), B_FLOAT_TYPE);
    BMessage libraries = Sub(record, "req_shared_library");
    EXPECT_EQ(TypeOf(libraries, "req_shared_librry_req"), B_BOOL_TYPE);
    EXPECT_STREQ(libraries.FindString("req_shared_library_name", 1), "libm.so.6");

    BMessage groups = Sub(record, "groups");
    EXPECT_STREQ(groups.FindString("group_name", 1), "Docs");
    EXPECT_STREQ(groups.FindString("group_description", 1), ""); // kept parallel
    BMessage folder = Sub(Sub(record, "custom_folder"), "custom_folder");
    EXPECT_EQ(folder.FindInt32("custom_root_dir"), 2009);
    EXPECT_EQ(TypeOf(folder, "custom_replace_existing"), B_BOOL_TYPE);
    EXPECT_FALSE(folder.FindBool("custom_replace_existing"));

    BMessage entry = Entry(record, 0);
    EXPECT_EQ(TypeOf(entry, "file_type"), B_INT8_TYPE);
    EXPECT_EQ(TypeOf(entry, "file_creation"), B_INT64_TYPE);
    EXPECT_STREQ(entry.FindString("groups"), "Typical;Docs;");
    BMessage meta = Sub(entry, "install_meta");
    EXPECT_STREQ(meta.FindString("destination"), "Docs");
    EXPECT_STREQ(meta.FindString("destination_exists"), "Prompt");
    EXPECT_STREQ(meta.FindString("link"), "User Settings");
    EXPECT_STREQ(meta.FindString("deinstallable"), "True");
    EXPECT_FALSE(meta.HasString("auto_launch"));
    EXPECT_STREQ(meta.FindString("auto_launch_reason"), "why");

    // Keys follow the record's order, not the description's.
    const auto& fields = record.Fields();
    ASSERT_GE(fields.size(), 3u);
    EXPECT_EQ(fields[0].name, "groups");
    EXPECT_EQ(fields[1].name, "app_name");
    EXPECT_EQ(fields.back().name, "STK:deinstaller_size");

    stowtest::RunResult dump = Stowpack({"dump", "--full", product.output});
    ASSERT_EQ(dump.exitCode, 0) << dump.err;
    EXPECT_EQ(dump.out, MessageJson::Write(record));
}

TEST(BuildRecord, SizesTimesAndKindsAreMeasured)
{
    ProductFolder product;
    const time_t start = time(nullptr);
    product.Write("doc.txt", std::string(1234, 'd'));
    const timespec times[2] = {{1100000000, 0}, {1000000000, 0}}; // accessed, modified
    ASSERT_EQ(utimensat(AT_FDCWD, product.Path("doc.txt").c_str(), times, 0), 0);
    fs::copy_file("/bin/true", product.Path("program"));
    product.Write("script.sh", "#!/bin/sh\necho\n");
    fs::permissions(product.Path("script.sh"), fs::perms::owner_exec, fs::perm_options::add);
    product.Write("plain.sh", "#!/bin/sh\n"); // not executable: a document
    product.Write("empty", "");
    product.Write("tree/a/b/c.txt", "0123456789");
    product.Write("tree/a/d.txt", "01234");
    fs::create_directories(product.Path("tree/empty"));
    fs::create_symlink("a/b/c.txt", product.Path("tree/link")); // counts its 9-byte target
    stowtest::RunResult built = product.Build(R"({
      "app_name": "M", "version": "1", "opt_created_folder": "M",
      "install_instructions": [{"file_name": "doc.txt"}, {"file_name": "program"},
        {"file_name": "script.sh"}, {"file_name": "plain.sh"}, {"file_name": "empty"},
        {"file_name": "tree/"}]})");
    ASSERT_EQ(built.exitCode, 0) << built.err;
    BMessage record = product.Record();

    struct Expected {
        int8 kind;
        int64 size;
    } expected[]
        = {{0, 1234}, {1, int64(fs::file_size("/bin/true"))}, {1, 15}, {0, 10}, {0, 0}, {2, 24}};
    for (int32 i = 0; i < 6; ++i) {
        BMessage entry = Entry(record, i);
        SCOPED_TRACE(entry.FindString("file_name"));
        EXPECT_EQ(entry.FindInt8("file_type"), expected[i].kind);
        EXPECT_EQ(entry.FindInt32("file_size", 0), expected[i].size);
        EXPECT_EQ(entry.FindInt32("file_size", 1), expected[i].size);
        BMessage icon = Sub(entry, "file_icon");
        EXPECT_STREQ(icon.FindString("class"), "LibBitmap");
        EXPECT_EQ(icon.FindRect("_frame"), BRect(0, 0, 15, 15));
        const void* pixels;
        ssize_t bytes = 0;
        icon.FindData("_data", B_RAW_TYPE, &pixels, &bytes);
        EXPECT_EQ(bytes, icon.FindInt32("_rowbytes") * 16);
    }
    EXPECT_EQ(Entry(record, 5).FindString("file_name"), product.Path("tree"));
    BMessage doc = Entry(record, 0);
    EXPECT_EQ(doc.FindInt64("file_modified"), 1000000000);
    EXPECT_EQ(doc.FindInt64("file_accessed"), 1100000000);
    // The birth time where the file system keeps one, else the modification time.
    int64 created = doc.FindInt64("file_creation");
    EXPECT_TRUE(created == 1000000000 || (created >= start - 5 && created <= time(nullptr) + 5))
        << created;

    // The three kinds have icons of their own.
    auto iconBytes = [&](int32 i) {
        const void* data;
        ssize_t size;
        BMessage icon = Sub(Entry(record, i), "file_icon");
        icon.FindData("_data", B_RAW_TYPE, &data, &size);
        return std::string(static_cast<const char*>(data), size);
    };
    EXPECT_NE(iconBytes(0), iconBytes(1));
    EXPECT_NE(iconBytes(1), iconBytes(5));
    EXPECT_EQ(iconBytes(0), iconBytes(4));
}

TEST(BuildRecord, PayloadFollowsEntryOrderAndTheDeinstallerIsNamed)
{
    ProductFolder product;
    product.Write("z-first", "first");
    product.Write("folder/inner/deep.txt", "deep");
    product.Write("a-last", "last");
    stowtest::RunResult built = product.Build(R"({
      "app_name": "P", "version": "1", "opt_created_folder": "P", "opt_compression": 0,
      "install_instructions": [{"file_name": "z-first"}, {"file_name": "folder"},
        {"file_name": "a-last"}]})");
    ASSERT_EQ(built.exitCode, 0) << built.err;
    EXPECT_EQ(fs::status(product.output).permissions() & fs::perms::all, fs::perms(0755));
    EXPECT_EQ(stowtest::Run({product.output}).exitCode, 0); // still the base program

    auto members = [&](const std::string& id) {
        std::string zip = product.Path("entry-" + id + ".zip");
        EXPECT_EQ(Stowpack({"extract", product.output, "RAWT", id, zip}).exitCode, 0);
        return stowtest::Run({"/usr/bin/unzip", "-Z1", zip}).out;
    };
    EXPECT_EQ(members("2100"), "z-first\n");
    EXPECT_EQ(members("2101"), "folder/\nfolder/inner/\nfolder/inner/deep.txt\n");
    EXPECT_EQ(members("2102"), "a-last\n");
    EXPECT_EQ(members("2001"), "Stowclear\n");

    BFile file(product.output.c_str(), B_READ_ONLY);
    BResources resources(&file);
    const char* name;
    size_t size;
    ASSERT_TRUE(resources.GetResourceInfo(B_RAW_TYPE, 2101, &name, &size));
    EXPECT_STREQ(name, "folder");
    ASSERT_TRUE(resources.GetResourceInfo(B_RAW_TYPE, 2001, &name, &size));
    EXPECT_STREQ(name, "Stowclear");
    EXPECT_EQ(product.Record().FindInt32("STK:deinstaller_size"), int32(size));
    EXPECT_EQ(Stowpack({"verify", product.output}).exitCode, 0);

    // Built again on top of that installer, with one item and no
    // deinstaller: the old payload goes, the base's own resources stay.
    ASSERT_EQ(
        Stowpack({"add", product.output, "CSTR", "1", "en:1001", product.Path("a-last")}).exitCode,
        0);
    fs::copy_file(product.output, product.base, fs::copy_options::overwrite_existing);
    built = product.Build(R"({"app_name": "P", "version": "2", "opt_created_folder": "P",
      "opt_include_deinstall": false, "install_instructions": [{"file_name": "a-last"}]})");
    ASSERT_EQ(built.exitCode, 0) << built.err;
    BFile again(product.output.c_str(), B_READ_ONLY);
    BResources rebuilt(&again);
    EXPECT_TRUE(rebuilt.HasResource(B_RAW_TYPE, 2100));
    EXPECT_FALSE(rebuilt.HasResource(B_RAW_TYPE, 2101));
    EXPECT_FALSE(rebuilt.HasResource(B_RAW_TYPE, 2001));
    EXPECT_TRUE(rebuilt.HasResource(B_STRING_TYPE, 1));
    EXPECT_EQ(product.Record().FindInt32("STK:deinstaller_size"), 0);
}

// stowpack runs with 64 MiB of address space, half the item: holding the
// item (or its archive) in memory would fail the build. A limit on address
// space, unlike peak resident memory, does not depend on how the machine
// counts cached file pages. Sanitized programs reserve terabytes of shadow
// memory, so there the build only has to succeed.
TEST(BuildRecord, LargeItemsKeepMemoryFlatAndReportProgress)
{
    ProductFolder product;
    const uint64 size = 128 * 1024 * 1024;
    product.Write("big", "");
    fs::resize_file(product.Path("big"), size); // sparse; stored, so the archive is as large
    product.Write("product.json", R"({"app_name": "B", "version": "1", "opt_created_folder": "B",
      "opt_compression": 0, "install_instructions": [{"file_name": "big"}]})");
#if defined(__SANITIZE_ADDRESS__)
    const char* limit = "unlimited";
#else
    const char* limit = "65536";
#endif
    stowtest::RunResult built = stowtest::Run({"/bin/sh", "-c", "ulimit -v $0 && exec \"$@\"",
        limit, stowtest::BinPath("stowpack"), "build", product.Path("product.json"), "-o",
        product.output, "--base", product.base, "--deinstaller", product.deinstaller});
    ASSERT_EQ(built.exitCode, 0) << built.err;
    EXPECT_TRUE(Contains(built.err, "adding item 1 of 1: big (128.0 MB)")) << built.err;
    EXPECT_GT(fs::file_size(product.output), size);
    EXPECT_EQ(Entry(product.Record(), 0).FindInt32("file_size"), int32(size));
}
