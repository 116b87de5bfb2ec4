// A program the product links into the applications menu folder arrives as a
// desktop entry that menus show (not a bare link), tagged, and leaves with
// the product.
#include "InstallRunSupport.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace stowtest;

namespace {

constexpr char kProduct[] = R"({
  "app_name": "Menu", "version": "1", "company": "Tests", "opt_created_folder": "Menu",
  "opt_default_folder": "User",
  "groups": [{"group_name": "Typical"}],
  "install_instructions": [
    {"file_name": "payload/Menu Tool", "groups": ["Typical"],
     "install_meta": {"destination": "User Selected", "link": "User Deskbar"}}
  ]
})";

} // namespace

TEST(InstallMenuEntry, AProgramLinkedIntoTheMenuBecomesAnEntryTheDeinstallerTakesBack)
{
    InstallTrial trial;
    const fs::path tool = trial.Work() / "menu/payload/Menu Tool";
    PutPayload(tool, "#!/bin/sh\necho hello\n", 1600000000);
    fs::permissions(tool, fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
    const std::string installer = trial.Build("menu", kProduct, BinPath("Stowclear"));
    RunResult run = trial.Install(installer, {"--unattended"});
    ASSERT_EQ(run.exitCode, 0) << run.err;

    const fs::path entry = trial.Home() / ".local/share/applications/Menu-Tool.desktop";
    ASSERT_TRUE(fs::is_regular_file(fs::symlink_status(entry))) << entry;
    EXPECT_FALSE(fs::exists(trial.Home() / ".local/share/applications/Menu Tool"));
    const std::string text = ReadFile(entry);
    EXPECT_NE(text.find("Type=Application\nName=Menu Tool\nExec=\""
                  + (trial.Home() / "Menu").string() + "/Menu Tool\"\n"),
        std::string::npos)
        << text;
    EXPECT_EQ(TagOf(entry), TagOf(trial.Home() / "Menu/Menu Tool"));
    EXPECT_FALSE(TagOf(entry).empty());
    if (fs::exists("/usr/bin/desktop-file-validate")) {
        RunResult valid = stowtest::Run({"/usr/bin/desktop-file-validate", entry.string()});
        EXPECT_EQ(valid.exitCode, 0) << valid.out << valid.err;
    }

    RunResult removed
        = stowtest::Run({(trial.Home() / "Menu/Menu 1 Deinstaller").string(), "--unattended"}, {},
            TrialEnvironment(trial.Root()));
    EXPECT_EQ(removed.exitCode, 0) << removed.err;
    EXPECT_FALSE(fs::exists(fs::symlink_status(entry)));
}
