// The demo product builds into an installer that carries every key of the
// record, and whose resources are whole.
#include "BuildFixture.h"

using namespace buildtest;

TEST(BuildDemo, TheDemoProductBuildsWithEveryKey)
{
    ProductFolder product;
    stowtest::RunResult built
        = Stowpack({"build", stowtest::SourcePath("samples/demo/product.json"), "-o",
            product.output, "--base", product.base, "--deinstaller", product.deinstaller});
    ASSERT_EQ(built.exitCode, 0) << built.err;
    EXPECT_EQ(built.err, ""); // not even a warning

    stowtest::RunResult dump = Stowpack({"dump", product.output});
    ASSERT_EQ(dump.exitCode, 0) << dump.err;
    const char* keys[] = {"install_folder_name", "groups", "app_name", "version", "release_date",
        "company", "support_email", "about_image", "audio_file", "audio_data", "license",
        "install_instructions", "custom_folder", "opt_log", "opt_create_startup",
        "opt_save_replaced", "opt_include_deinstall", "opt_default_folder", "opt_created_folder",
        "opt_show_beos_folders", "opt_compression", "req_disk_space_needed",
        "req_disk_space_required", "req_disk_space_amount", "req_boot_vol_only",
        "req_removable_vol_ok", "req_shared_vol_ok", "req_ram_needed", "req_ram_required",
        "req_ram_amount", "req_shared_library", "req_apps", "edit_bootscript",
        "edit_bootscript_tag", "edit_bootscript_contents", "edit_setup_env", "edit_setup_env_tag",
        "edit_setup_env_contents", "edit_profile", "edit_profile_tag", "edit_profile_contents",
        "complete_comments", "complete_restart", "complete_display_folder", "STK:deinstaller_size",
        "auto_launch_reason", "custom_replace_existing"};
    for (const char* key : keys)
        EXPECT_TRUE(Contains(dump.out, "{\"name\": \"" + std::string(key) + "\"")) << key;

    stowtest::RunResult verify = Stowpack({"verify", product.output});
    EXPECT_EQ(verify.exitCode, 0) << verify.err;
    stowtest::RunResult list = Stowpack({"resources", product.output});
    for (const char* id : {" 2001 ", " 2002 ", " 2100 ", " 2107 "})
        EXPECT_TRUE(Contains(list.out, id)) << id << list.out;
    EXPECT_FALSE(Contains(list.out, " 2108 "));

    // The picture shows its size; --full gives every byte, the form that
    // `message encode` takes back to the very record.
    EXPECT_TRUE(
        Contains(dump.out, R"({"name": "_data", "type": "RAWT", "values": [{"bytes": 120000}]})"))
        << dump.out.substr(0, 2000);
    stowtest::RunResult full = Stowpack({"dump", "--full", product.output});
    ASSERT_EQ(full.exitCode, 0) << full.err;
    EXPECT_GT(full.out.size(), 160000u);
    stowtest::WriteFile(product.Path("record.json"), full.out);
    ASSERT_EQ(
        Stowpack({"message", "encode", product.Path("record.json"), product.Path("record.bin")})
            .exitCode,
        0);
    BMessage record = product.Record();
    EXPECT_EQ(stowtest::ReadFile(product.Path("record.bin")), record.Flatten());
    EXPECT_EQ(Sub(record, "about_image").FindRect("_frame"), BRect(0, 0, 149, 199));
    EXPECT_EQ(Entry(record, 2).FindInt8("file_type"), 2); // the manual folder
}
