#include "AlertService.h"
#include "BLooper.h"
#include "InstallConfig.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

BMessage BitmapArchive(const char* className, float width, float height)
{
    BMessage bitmap;
    bitmap.AddString("class", className);
    bitmap.AddRect("_frame", BRect(0, 0, width - 1, height - 1));
    bitmap.AddInt32("_cspace", 0x0008); // 32-bit colour
    bitmap.AddInt32("_bmflags", 0);
    bitmap.AddInt32("_rowbytes", int32(width) * 4);
    std::string pixels(size_t(width * height * 4), '\0');
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = char(i * 7);
    bitmap.AddData("_data", B_RAW_TYPE, pixels.data(), ssize_t(pixels.size()));
    return bitmap;
}

BMessage InstallFile(const char* path, int8 type, int32 size, const char* groups,
    const char* destination, bool autoLaunch)
{
    BMessage meta;
    meta.AddString("destination", destination);
    meta.AddString("destination_exists", "Prompt");
    meta.AddString("link", "None");
    meta.AddString("link_exists", "Rename");
    meta.AddString("deinstallable", "True");
    if (autoLaunch) {
        meta.AddString("auto_launch", "True");
        meta.AddString("auto_launch_reason", "Start it now");
    }
    BMessage entry;
    entry.AddString("file_name", path);
    entry.AddInt8("file_type", type);
    entry.AddInt32("file_size", size);
    entry.AddInt32("file_size", size + 512); // the builder's row may differ
    entry.AddInt64("file_creation", 993081600);
    entry.AddInt64("file_modified", 993168000);
    entry.AddInt64("file_accessed", 993254400);
    BMessage icon = BitmapArchive("LibBitmap", 16, 16);
    entry.AddMessage("file_icon", &icon);
    entry.AddString("groups", groups);
    entry.AddMessage("install_meta", &meta);
    return entry;
}

// A record holding every key an installer's configuration can carry.
void FillRecord(BMessage& record)
{
    record.AddString("install_folder_name", "Stowsmith-1.3.1");
    BMessage groups;
    groups.AddString("group_name", "Typical");
    groups.AddString("group_name", "Documents");
    groups.AddString("group_description", "Everything you need");
    groups.AddString("group_description", "");
    record.AddMessage("groups", &groups);
    record.AddString("app_name", "Stowsmith");
    record.AddString("version", "1.3.1");
    record.AddString("release_date", "21 June 2001");
    record.AddString("company", "Tarnwick");
    record.AddString("support_email", "help@example.org");
    BMessage about = BitmapArchive("BBitmap", 150, 200);
    record.AddMessage("about_image", &about);
    record.AddString("audio_file", "welcome.raw");
    BMessage audio;
    std::string samples(3001, '\x7f');
    ASSERT_EQ(audio.AddData("data", B_ANY_TYPE, samples.data(), ssize_t(samples.size())), B_OK);
    audio.AddFloat("frame_rate", 44100.0f);
    audio.AddInt32("channel_count", 2);
    audio.AddInt32("format", 2);
    audio.AddInt32("byte_order", 2);
    audio.AddInt32("buffer_size", 4096);
    record.AddMessage("audio_data", &audio);
    record.AddString("license", std::string(700, 'L'));

    BMessage instructions;
    BMessage file
        = InstallFile("/boot/home/stow/Stowsmith", 1, 411644, "Typical;", "User Selected", true);
    instructions.AddMessage("install_file", &file);
    file = InstallFile("/boot/home/stow/Docs", 2, 90000, "Typical;Documents;", "SmithDocs", false);
    instructions.AddMessage("install_file", &file);
    file = InstallFile("/boot/home/stow/ReadMe", 0, 3, "", "B_USER_DIRECTORY", false);
    instructions.AddMessage("install_file", &file);
    record.AddMessage("install_instructions", &instructions);

    BMessage folders;
    for (const char* name : {"SmithDocs", "SmithLib"}) {
        BMessage folder;
        folder.AddString("custom_folder_name", name);
        folder.AddInt32("custom_root_dir", 2009);
        folder.AddString("custom_sub_dir", "Stowsmith");
        folder.AddBool("custom_replace_existing", name[5] == 'L');
        folders.AddMessage("custom_folder", &folder);
    }
    record.AddMessage("custom_folder", &folders);

    record.AddBool("opt_log", true);
    record.AddBool("opt_create_startup", false);
    record.AddBool("opt_save_replaced", true);
    record.AddBool("opt_include_deinstall", true);
    record.AddString("opt_default_folder", "Current");
    record.AddString("opt_created_folder", "Stowsmith");
    record.AddBool("opt_show_beos_folders", true);
    record.AddInt32("opt_compression", 6);
    record.AddBool("req_disk_space_needed", true);
    record.AddBool("req_disk_space_required", false);
    BMessage amount;
    amount.AddDouble("value", 5242880.0);
    amount.AddInt32("value_type", 'kb  ');
    amount.AddFloat("value_conversion", 1024.0f);
    record.AddMessage("req_disk_space_amount", &amount);
    record.AddBool("req_boot_vol_only", false);
    record.AddBool("req_removable_vol_ok", true);
    record.AddBool("req_shared_vol_ok", false);
    record.AddBool("req_ram_needed", true);
    record.AddBool("req_ram_required", true);
    record.AddInt32("req_ram_amount", 32);
    BMessage libraries;
    libraries.AddBool("req_shared_librry_req", true);
    libraries.AddString("req_shared_library_name", "libsmith.so");
    libraries.AddString("req_shared_library_name", "libstow.so");
    record.AddMessage("req_shared_library", &libraries);
    BMessage apps;
    apps.AddBool("req_app_req", false);
    apps.AddString("req_app_name", "StyledEdit");
    record.AddMessage("req_apps", &apps);
    const char* edits[] = {"edit_bootscript", "edit_setup_env", "edit_profile"};
    for (const char* edit : edits) {
        record.AddBool(edit, true);
        record.AddString((std::string(edit) + "_tag").c_str(), "TARNWICK_STOWSMITH");
        record.AddString((std::string(edit) + "_contents").c_str(), "export SMITH=1\n");
    }
    record.AddString("complete_comments", "Thank you.");
    record.AddBool("complete_restart", false);
    record.AddBool("complete_display_folder", true);
    record.AddInt32("STK:deinstaller_size", 411644);
}

BMessage FullRecord()
{
    BMessage record;
    FillRecord(record);
    EXPECT_EQ(record.CountNames(B_ANY_TYPE), 45); // every top-level key
    return record;
}

std::vector<std::string> FieldNames(const BMessage& message)
{
    std::vector<std::string> names;
    for (const auto& field : message.Fields())
        names.push_back(field.name);
    return names;
}

} // namespace

TEST(InstallConfig, StartsEmpty)
{
    InstallConfig config;
    EXPECT_TRUE(config.IsEmpty());
    EXPECT_EQ(config.what, 0u);
    EXPECT_EQ(config.LogFile(), nullptr);
    EXPECT_FALSE(config.RestartRequested());
    EXPECT_FALSE(config.Destination().IsSet());
    EXPECT_EQ(config.Status(), 0); // no thread yet
}

TEST(InstallConfig, FullRecordRoundTripsThroughItsFlattenedForm)
{
    BMessage original = FullRecord();
    std::string bytes = original.Flatten();
    InstallConfig config;
    ASSERT_EQ(config.Load(bytes.data(), bytes.size()), B_OK);
    EXPECT_EQ(config.Flatten(), bytes);
    EXPECT_EQ(FieldNames(config), FieldNames(original));
    for (const auto& field : original.Fields()) {
        type_code type = 0;
        int32 count = 0;
        ASSERT_EQ(config.GetInfo(field.name.c_str(), &type, &count), B_OK) << field.name;
        EXPECT_EQ(type, field.type) << field.name;
        EXPECT_EQ(count, int32(field.items.size())) << field.name;
    }

    EXPECT_STREQ(config.FindString("release_date"), "21 June 2001");
    EXPECT_EQ(config.FindInt32("req_ram_amount"), 32);
    EXPECT_TRUE(config.FindBool("opt_log"));
    EXPECT_FALSE(config.FindBool("req_boot_vol_only"));
    EXPECT_EQ(config.FindString("license"), std::string(700, 'L'));

    BMessage instructions;
    ASSERT_EQ(config.FindMessage("install_instructions", &instructions), B_OK);
    BMessage entry;
    ASSERT_EQ(instructions.FindMessage("install_file", 1, &entry), B_OK);
    EXPECT_STREQ(entry.FindString("file_name"), "/boot/home/stow/Docs");
    EXPECT_EQ(entry.FindInt8("file_type"), 2);
    EXPECT_EQ(entry.FindInt32("file_size", 0), 90000);
    EXPECT_EQ(entry.FindInt32("file_size", 1), 90512);
    EXPECT_EQ(entry.FindInt64("file_modified"), 993168000);
    EXPECT_STREQ(entry.FindString("groups"), "Typical;Documents;");
    EXPECT_FALSE(entry.HasBool("install_to_system"));
    BMessage meta;
    ASSERT_EQ(entry.FindMessage("install_meta", &meta), B_OK);
    EXPECT_STREQ(meta.FindString("destination"), "SmithDocs");
    EXPECT_FALSE(meta.HasString("auto_launch"));
    ASSERT_EQ(instructions.FindMessage("install_file", 0, &entry), B_OK);
    ASSERT_EQ(entry.FindMessage("install_meta", &meta), B_OK);
    EXPECT_STREQ(meta.FindString("auto_launch_reason"), "Start it now");

    BMessage about;
    ASSERT_EQ(config.FindMessage("about_image", &about), B_OK);
    EXPECT_EQ(about.FindRect("_frame"), BRect(0, 0, 149, 199));
    const void* pixels;
    ssize_t size;
    ASSERT_EQ(about.FindData("_data", B_RAW_TYPE, &pixels, &size), B_OK);
    ASSERT_EQ(size, 150 * 200 * 4);
    EXPECT_EQ(static_cast<const char*>(pixels)[1001], char(1001 * 7));

    BMessage audio;
    ASSERT_EQ(config.FindMessage("audio_data", &audio), B_OK);
    ASSERT_EQ(audio.FindData("data", B_ANY_TYPE, &pixels, &size), B_OK);
    EXPECT_EQ(size, 3001);
    EXPECT_EQ(audio.FindFloat("frame_rate"), 44100.0f);

    BMessage folders, folder;
    ASSERT_EQ(config.FindMessage("custom_folder", &folders), B_OK);
    ASSERT_EQ(folders.FindMessage("custom_folder", 1, &folder), B_OK);
    EXPECT_STREQ(folder.FindString("custom_folder_name"), "SmithLib");
    EXPECT_EQ(folder.FindInt32("custom_root_dir"), 2009);
    EXPECT_TRUE(folder.FindBool("custom_replace_existing"));

    BMessage amount;
    ASSERT_EQ(config.FindMessage("req_disk_space_amount", &amount), B_OK);
    EXPECT_EQ(amount.FindDouble("value"), 5242880.0);
    EXPECT_EQ(amount.FindInt32("value_type"), int32('kb  '));
}

TEST(InstallConfig, FailedLoadLeavesTheRecordEmpty)
{
    std::string bytes = FullRecord().Flatten();
    InstallConfig config;
    ASSERT_EQ(config.Load(bytes.data(), bytes.size()), B_OK);
    EXPECT_NE(config.Load(bytes.data(), bytes.size() / 2), B_OK);
    EXPECT_TRUE(config.IsEmpty());

    ASSERT_EQ(config.Load(bytes.data(), bytes.size()), B_OK);
    std::string damaged = bytes;
    damaged[5] ^= 0x10; // the header checksum
    EXPECT_NE(config.Load(damaged.data(), damaged.size()), B_OK);
    EXPECT_TRUE(config.IsEmpty());
    EXPECT_NE(config.Load(nullptr, 0), B_OK);
    EXPECT_TRUE(config.IsEmpty());
}

TEST(InstallConfig, DeinstallerRecordKeepsTheKeysInTheirOrder)
{
    for (int withImage = 0; withImage < 2; ++withImage) {
        for (int flags = 0; flags < 8; ++flags) {
            SCOPED_TRACE("image " + std::to_string(withImage) + " flags " + std::to_string(flags));
            BMessage source = FullRecord();
            const char* edits[] = {"edit_bootscript", "edit_setup_env", "edit_profile"};
            for (int i = 0; i < 3; ++i)
                source.ReplaceBool(edits[i], (flags >> i) & 1);
            if (!withImage)
                source.RemoveName("about_image");
            InstallConfig config;
            std::string bytes = source.Flatten();
            ASSERT_EQ(config.Load(bytes.data(), bytes.size()), B_OK);

            BMessage record = config.DeinstallerRecord();
            std::vector<std::string> expected
                = {"app_name", "version", "release_date", "company", "support_email"};
            if (withImage)
                expected.push_back("about_image");
            for (int i = 0; i < 3; ++i) {
                expected.push_back(edits[i]);
                if ((flags >> i) & 1)
                    expected.push_back(std::string(edits[i]) + "_tag");
            }
            EXPECT_EQ(FieldNames(record), expected);
            EXPECT_EQ(record.what, 0u);
            EXPECT_STREQ(record.FindString("support_email"), "help@example.org");
            for (int i = 0; i < 3; ++i) {
                EXPECT_TRUE(record.HasBool(edits[i]));
                EXPECT_EQ(record.FindBool(edits[i]), bool((flags >> i) & 1));
            }
            if ((flags & 1) != 0) {
                EXPECT_STREQ(record.FindString("edit_bootscript_tag"), "TARNWICK_STOWSMITH");
            }
            if (withImage) {
                BMessage copied, original;
                ASSERT_EQ(record.FindMessage("about_image", &copied), B_OK);
                ASSERT_EQ(source.FindMessage("about_image", &original), B_OK);
                EXPECT_EQ(copied.Flatten(), original.Flatten());
            }
        }
    }
}

TEST(InstallConfig, AbsentAndFalseDeinstallOptionsDiffer)
{
    BMessage source = FullRecord();
    source.RemoveName("opt_include_deinstall");
    std::string bytes = source.Flatten();
    InstallConfig absent;
    ASSERT_EQ(absent.Load(bytes.data(), bytes.size()), B_OK);
    EXPECT_FALSE(absent.HasBool("opt_include_deinstall"));

    source.AddBool("opt_include_deinstall", false);
    bytes = source.Flatten();
    InstallConfig refused;
    ASSERT_EQ(refused.Load(bytes.data(), bytes.size()), B_OK);
    EXPECT_TRUE(refused.HasBool("opt_include_deinstall"));
    EXPECT_FALSE(refused.FindBool("opt_include_deinstall"));
}

TEST(InstallConfig, PrintsItsThreadStateThenEveryInstallFile)
{
    std::string bytes = FullRecord().Flatten();
    InstallConfig config;
    ASSERT_EQ(config.Load(bytes.data(), bytes.size()), B_OK);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    config.PrintToStream();
    std::string err = testing::internal::GetCapturedStderr();
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(err, "Unknown\n");
    size_t first = out.find("/boot/home/stow/Stowsmith");
    size_t second = out.find("/boot/home/stow/Docs");
    size_t third = out.find("/boot/home/stow/ReadMe");
    ASSERT_NE(first, std::string::npos);
    ASSERT_NE(second, std::string::npos);
    ASSERT_NE(third, std::string::npos);
    EXPECT_LT(first, second);
    EXPECT_LT(second, third);
    EXPECT_EQ(out.find("Stowsmith-1.3.1"), std::string::npos); // top-level keys are not printed
}

TEST(InstallConfig, RecordRunsAsItsOwnWorkerThread)
{
    auto* window = new BLooper("window");
    window->SetDispatchThread(find_thread(nullptr), [] {});
    window->Run();
    struct Catcher : BHandler {
        std::vector<BMessage> seen;
        void MessageReceived(BMessage* message) override { seen.push_back(*message); }
    } catcher;
    window->AddHandler(&catcher);

    // A record without a destination: the run reports its first status
    // line, finds no folder to install into and ends with status 1.
    AlertService::Default().SetMode(AlertMode::Unattended);
    InstallConfig config;
    config.AddString("app_name", "Stowsmith");
    ASSERT_EQ(config.Go("install", new BMessenger(&catcher), B_NORMAL_PRIORITY, true), B_OK);
    EXPECT_EQ(window->DispatchMessages(), 2);
    ASSERT_EQ(catcher.seen.size(), 2u);
    EXPECT_EQ(catcher.seen[0].what, kInstallStatusMessage);
    EXPECT_EQ(catcher.seen[1].what, kLibThreadCompleted);
    EXPECT_STREQ(catcher.seen[1].FindString("name"), "install");
    EXPECT_EQ(catcher.seen[1].FindInt32("status"), 1);
    EXPECT_STREQ(config.FindString("app_name"), "Stowsmith");

    window->RemoveHandler(&catcher);
    window->Lock();
    window->Quit();
}
