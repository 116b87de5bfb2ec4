// stowpack build and dump on bad input: every problem named with its place,
// no installer written, no temporary file left behind.
#include "BuildFixture.h"

#include <fstream>

using namespace buildtest;

namespace {

// A valid description with `extra` added at the top level and `item` as
// its only item.
std::string Description(
    const std::string& extra, const std::string& item = R"({"file_name": "item"})")
{
    return R"({"app_name": "E", "version": "1", "opt_created_folder": "E",
      "groups": [{"group_name": "Typical"}],
      "custom_folder": [{"custom_folder_name": "Docs", "custom_root_dir": 2009, "custom_sub_dir": "E"}],
      "install_instructions": [)"
        + item + "]" + (extra.empty() ? "" : ", " + extra) + "}";
}

} // namespace

TEST(BuildErrors, MalformedDescriptionsAreRefusedWithoutOutput)
{
    struct Case {
        std::string description;
        const char* error;
    } cases[] = {
        {"{\"app_name\": ", "not valid JSON"},
        {"[1, 2]", "a product description is a JSON object"},
        {Description(R"("opt_lgo": true)"), "opt_lgo: unknown key"},
        {Description(R"("req_ram_amount": "32")"), "req_ram_amount: must be a whole number"},
        {Description(R"("req_ram_amount": 4294967296)"), "req_ram_amount: must be a whole number"},
        {Description(R"("opt_log": "yes")"), "opt_log: must be true or false, not a string"},
        {Description(R"("opt_compression": 10)"), "opt_compression: the compression level"},
        {Description(R"("app_name": "again")"), "app_name: is given twice"},
        {Description(R"("STK:deinstaller_size": 5)"), "STK:deinstaller_size: is measured"},
        {Description(R"("opt_default_folder": "Home")"), "\"Home\" is neither \"Current\""},
        {Description(R"("opt_create_startup": true)"), "needs a custom folder named \"StartUp\""},
        {Description(R"("edit_profile": true)"), "edit_profile_tag: is required"},
        {Description(R"("license": {"file": "missing.txt"})"), "license.file: no text file"},
        {Description(R"("about_image": "item")"), "about_image: "},
        {Description(R"("req_shared_library": {"req_shared_library_req": true})"),
            "spelled \"req_shared_librry_req\""},
        {Description("", R"({"file_name": "missing"})"),
            "install_instructions[0].file_name: no file"},
        {Description("", R"({"file_name": "item", "file_size": 3})"), "file_size: is measured"},
        {Description("", R"({"file_name": "item", "install_meta": {"destination": "Docz"}})"),
            "install_meta.destination: \"Docz\" is neither"},
        {Description("", R"({"file_name": "item", "install_meta": {"destination": "None"}})"),
            "install_meta.destination: \"None\" is neither"},
        {Description("", R"({"file_name": "item", "install_meta": {"link": "Nowhere"}})"),
            "install_meta.link: \"Nowhere\" is neither"},
        {Description("", R"({"file_name": "item", "groups": "Typical"})"), "ends with \";\""},
        {R"({"app_name": "E", "version": "1", "opt_created_folder": "a/b",
            "install_instructions": [{"file_name": "item"}]})",
            "opt_created_folder: must be a single folder name"},
        {R"({"version": "1", "opt_created_folder": "E", "install_instructions": []})",
            "app_name: is required"},
        {R"({"app_name": "E", "version": "1", "opt_created_folder": "E", "install_instructions": [],
            "custom_folder": [{"custom_folder_name": "Up", "custom_root_dir": 3000, "custom_sub_dir": "../.."}]})",
            "must not leave the root folder"},
        {R"({"app_name": "E", "version": "1", "opt_created_folder": "E", "install_instructions": [{"file_name": "item"}],
            "custom_folder": [{"custom_folder_name": "Home", "custom_root_dir": 3000, "custom_replace_existing": true}]})",
            "would replace the whole root folder"},
        {R"({"app_name": "E", "version": "1", "opt_created_folder": "E", "install_instructions": [{"file_name": "item"}],
            "custom_folder": [{"custom_folder_name": "X", "custom_root_dir": 2999}]})",
            "2999 is not the value of a standard folder"},
    };
    for (const Case& c : cases) {
        ProductFolder product;
        product.Write("item", "payload");
        const std::vector<std::string> before = product.Listing();
        stowtest::RunResult built = product.Build(c.description);
        SCOPED_TRACE(c.description);
        EXPECT_EQ(built.exitCode, 1);
        EXPECT_TRUE(Contains(built.err, c.error)) << built.err;
        EXPECT_TRUE(Contains(built.err, "no installer was written")) << built.err;
        EXPECT_FALSE(fs::exists(product.output));
        std::vector<std::string> after = product.Listing();
        after.erase(std::remove(after.begin(), after.end(), "product.json"), after.end());
        EXPECT_EQ(after, before);
    }
}

TEST(BuildErrors, WarningsDoNotStopTheBuild)
{
    ProductFolder product;
    product.Write("one/same", "1");
    product.Write("two/same", "2");
    stowtest::RunResult built = product.Build(Description("",
        R"({"file_name": "one/same", "groups": ["Typical", "Extra"]},
           {"file_name": "two/same", "install_meta": {"destination_exists": "Overwrite", "deinstallable": "true"}})"));
    ASSERT_EQ(built.exitCode, 0) << built.err;
    EXPECT_TRUE(Contains(built.err, "items 0 and 1 are both named \"same\""));
    EXPECT_TRUE(Contains(built.err, "the group \"Extra\" is not defined"));
    EXPECT_TRUE(Contains(built.err, "\"Overwrite\" is not \"Prompt\", \"Rename\" or \"Replace\""));
    EXPECT_TRUE(Contains(built.err, "\"true\" counts as \"False\""));
    EXPECT_TRUE(fs::exists(product.output));
}

TEST(BuildErrors, AnItemTooLargeForTheRecordIsRefused)
{
    ProductFolder product;
    product.Write("huge/small", "x");
    product.Write("huge/sparse", "");
    fs::resize_file(product.Path("huge/sparse"), uint64(INT32_MAX)); // with "x": one byte over
    stowtest::RunResult built = product.Build(Description("", R"({"file_name": "huge"})"));
    EXPECT_EQ(built.exitCode, 1);
    EXPECT_TRUE(Contains(built.err, "holds 2147483648 bytes")) << built.err;
    EXPECT_FALSE(fs::exists(product.output));
}

TEST(BuildErrors, MissingProgramsAndBadOptions)
{
    ProductFolder product;
    product.Write("item", "x");
    product.Write("product.json", Description(""));
    std::string description = product.Path("product.json");
    stowtest::RunResult run = Stowpack({"build", description, "-o", product.output, "--base",
        product.Path("nothing"), "--deinstaller", product.deinstaller});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(Contains(run.err, "no base program at")) << run.err;
    run = Stowpack({"build", description, "-o", product.output, "--base", product.base,
        "--deinstaller", product.Path("nothing")});
    EXPECT_TRUE(Contains(run.err, "no deinstaller at")) << run.err;
    run = Stowpack({"build", description, "-o", product.dir.Str(), "--base", product.base,
        "--deinstaller", product.deinstaller});
    EXPECT_TRUE(Contains(run.err, "is a folder")) << run.err;
    EXPECT_EQ(Stowpack({"build", description}).exitCode, 2);
    EXPECT_EQ(Stowpack({"build", description, "-o"}).exitCode, 2);
    EXPECT_EQ(Stowpack({"build", description, "-o", "x", "--fast"}).exitCode, 2);
    EXPECT_FALSE(fs::exists(product.output));
}

TEST(BuildErrors, DumpRefusesDamagedInstallersAndThoseWithoutARecord)
{
    ProductFolder product;
    product.Write("item", std::string(5000, 'i'));
    ASSERT_EQ(product.Build(Description("")).exitCode, 0);
    const std::string whole = stowtest::ReadFile(product.output);

    stowtest::RunResult dump = Stowpack({"dump", product.base});
    EXPECT_EQ(dump.exitCode, 1);
    EXPECT_TRUE(Contains(dump.err, "no configuration record ('CSTR' 2002)")) << dump.err;

    BFile file(product.output.c_str(), B_READ_ONLY);
    BResources resources(&file);
    off_t offset = 0;
    size_t size = 0;
    ASSERT_EQ(resources.GetResourceRange(B_STRING_TYPE, 2002, &offset, &size), B_OK);
    std::string flipped = whole;
    flipped[size_t(offset) + size / 2] ^= 0x01;
    stowtest::WriteFile(product.output, flipped);
    dump = Stowpack({"dump", product.output});
    EXPECT_EQ(dump.exitCode, 1);
    EXPECT_TRUE(Contains(dump.err, "configuration record is damaged")) << dump.err;
    EXPECT_EQ(dump.out, "");

    stowtest::WriteFile(product.output, whole.substr(0, whole.size() - 100));
    dump = Stowpack({"dump", product.output});
    EXPECT_EQ(dump.exitCode, 1);
    EXPECT_TRUE(Contains(dump.err, "damaged resource container")) << dump.err;

    stowtest::WriteFile(product.output, whole);
    product.Write("garbage", "not a flattened message");
    ASSERT_EQ(Stowpack({"add", product.output, "CSTR", "2002", "STK:configuration",
                           product.Path("garbage")})
                  .exitCode,
        0);
    dump = Stowpack({"dump", product.output});
    EXPECT_EQ(dump.exitCode, 1);
    EXPECT_TRUE(Contains(dump.err, "not a valid message")) << dump.err;
    EXPECT_EQ(Stowpack({"dump"}).exitCode, 2);
}

// The installer's rules for links apply to every item when it is built:
// each link it would refuse is named and nothing is written, and what the
// builder accepts passes the installer's own --check.
TEST(BuildErrors, LinksTheInstallerRefusesAreEachNamed)
{
    ProductFolder product;
    product.Write("item/file", "x");
    product.Write("item/sub/deep", "y");
    fs::create_symlink("b", product.Path("item/a"));
    fs::create_symlink("a", product.Path("item/b"));
    fs::create_symlink("/etc/passwd", product.Path("item/pw"));
    fs::create_symlink("../../../../etc/passwd", product.Path("item/sub/up"));
    // Inside the item: accepted by the installer, and so by the builder.
    fs::create_symlink("../file", product.Path("item/sub/fine"));
    fs::create_symlink(".", product.Path("item/self"));
    product.Write("product.json", Description(""));
    auto build = [&] {
        return Stowpack({"build", product.Path("product.json"), "-o", product.output, "--base",
            stowtest::BinPath("Stowfast"), "--deinstaller", product.deinstaller});
    };

    stowtest::RunResult built = build();
    EXPECT_EQ(built.exitCode, 1);
    for (const char* refused : {"item/a -> b", "item/b -> a", "item/pw -> /etc/passwd",
             "item/sub/up -> ../../../../etc/passwd"})
        EXPECT_TRUE(Contains(built.err, product.Path(refused))) << refused << "\n" << built.err;
    EXPECT_TRUE(Contains(built.err, "its target is an absolute path")) << built.err;
    EXPECT_TRUE(Contains(built.err, "its target leads outside the item")) << built.err;
    EXPECT_FALSE(Contains(built.err, "fine")) << built.err;
    EXPECT_FALSE(Contains(built.err, "self")) << built.err;
    EXPECT_TRUE(Contains(built.err, "no installer was written")) << built.err;
    EXPECT_FALSE(fs::exists(product.output));

    for (const char* link : {"item/a", "item/b", "item/pw", "item/sub/up"})
        fs::remove(product.Path(link));
    built = build();
    ASSERT_EQ(built.exitCode, 0) << built.err;
    stowtest::RunResult check
        = stowtest::Run({product.output, "--check"}, {}, {{"STOW_ROOT", product.Path("root")}});
    EXPECT_EQ(check.exitCode, 0) << check.out << check.err;
}
