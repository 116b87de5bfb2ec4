// A real installer built with stowpack and installed unattended into a trial
// root: places, times, tags, links, the log, the record and the deinstaller.
#include "InstallRunSupport.h"

#include <gtest/gtest.h>

#include <regex>

namespace fs = std::filesystem;
using namespace stowtest;

namespace {

constexpr char kProduct[] = R"({
  "app_name": "Trial", "version": "2.5", "release_date": "1 May 2026",
  "company": "Tests", "support_email": "t@trial.example",
  "groups": [{"group_name": "Typical"}, {"group_name": "Extras"}],
  "install_instructions": [
    {"file_name": "payload/readme.txt", "groups": ["Typical"],
     "install_meta": {"destination": "User Selected", "link": "Desktop"}},
    {"file_name": "payload/docs", "groups": ["Typical"],
     "install_meta": {"destination": "TrialDocs", "link": "User Selected"}},
    {"file_name": "payload/trial.conf", "groups": ["Typical"],
     "install_meta": {"destination": "User Settings", "deinstallable": "False"}},
    {"file_name": "payload/extra.txt", "groups": ["Extras"],
     "install_meta": {"destination": "User Selected"}}
  ],
  "custom_folder": [{"custom_folder_name": "TrialDocs",
    "custom_root_dir": "Common Documentation", "custom_sub_dir": "trial"}],
  "opt_log": true, "opt_save_replaced": true, "opt_created_folder": "Trial",
  "opt_default_folder": "User",
  "edit_profile": true, "edit_profile_tag": "TRIAL", "edit_profile_contents": "export TRIAL=1",
  "complete_comments": "100% done"
})";

constexpr char kTag[] = "Trial;2.5;1 May 2026;Tests;t@trial.example;";
constexpr int64_t kTime = 1600000000;

// Expected lines: literal text, or "re:" and a pattern for what the machine
// decides (the system, free space, times).
void ExpectLines(const std::vector<std::string>& actual, const std::vector<std::string>& expected)
{
    ASSERT_EQ(actual.size(), expected.size()) << testing::PrintToString(actual);
    for (size_t i = 0; i < expected.size(); ++i) {
        if (expected[i].rfind("re:", 0) == 0)
            EXPECT_TRUE(std::regex_match(actual[i], std::regex(expected[i].substr(3))))
                << "line " << i << ": " << actual[i];
        else
            EXPECT_EQ(actual[i], expected[i]) << "line " << i;
    }
}

class InstallRunTest : public testing::Test {
protected:
    void SetUp() override
    {
        fs::path payload = trial.Work() / "trial/payload";
        PutPayload(payload / "readme.txt", "read me\n", kTime);
        PutPayload(payload / "docs/guide.txt", "the guide\n", kTime + 1);
        PutPayload(payload / "docs/more/notes.txt", "notes\n", kTime + 2);
        PutPayload(payload / "trial.conf", "setting=1\n", kTime + 3);
        PutPayload(payload / "extra.txt", "extra\n", kTime + 4);
        installer = trial.Build("trial", kProduct);
    }

    fs::path Product() const { return trial.Home() / "Trial"; }

    InstallTrial trial;
    std::string installer;
};

TEST_F(InstallRunTest, PlacesTheFirstGroupWithTimesTagsLinksAndLog)
{
    fs::path record = trial.Work() / "record.bin";
    RunResult run = trial.Install(installer, {"--unattended", "--save-record", record.string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;

    fs::path root = trial.Root();
    fs::path docs = root / "usr/local/share/doc/trial/docs";
    fs::path conf = trial.Home() / ".config/trial.conf";
    EXPECT_EQ(ReadFile(Product() / "readme.txt"), "read me\n");
    EXPECT_EQ(ReadFile(docs / "more/notes.txt"), "notes\n");
    EXPECT_EQ(ReadFile(conf), "setting=1\n");
    EXPECT_EQ(ModifiedTime(Product() / "readme.txt"), kTime);
    EXPECT_EQ(ModifiedTime(docs / "guide.txt"), kTime + 1);
    EXPECT_EQ(ModifiedTime(conf), kTime + 3);

    EXPECT_EQ(TagOf(Product() / "readme.txt"), kTag);
    EXPECT_EQ(TagOf(docs), kTag);
    EXPECT_EQ(TagOf(docs / "more/notes.txt"), kTag);
    EXPECT_EQ(TagOf(conf), "");
    EXPECT_EQ(TagOf(Product() / "Log"), "");

    EXPECT_EQ(fs::read_symlink(trial.Home() / "Desktop/readme.txt"), Product() / "readme.txt");
    EXPECT_EQ(fs::read_symlink(Product() / "docs"), docs);

    // The entry of another group is nowhere.
    for (const std::string& path : trial.RootListing())
        EXPECT_EQ(path.find("extra"), std::string::npos) << path;

    std::string rootText = root.string();
    ExpectLines(Lines(ReadFile(Product() / "Log")),
        {"STOWFAST", "\tVersion 1.3.1", "\thttps://www.tarnwick.example/stowfast",
            "\tsupport@tarnwick.example", "", "APPLICATION", "\tApplication : Trial",
            "\tVersion : 2.5", "\tRelease Date : 1 May 2026", "\tCompany : Tests",
            "\tSupport Email : t@trial.example", "", "ABOUT THIS SYSTEM", "re:\t.+",
            R"(re:	Free Disk Space : [0-9]+\.[0-9] (MB|KB|bytes))", "",
            "INSTALLER REQUIREMENTS", "\tDisk Space Needed: No", "\tPhysical RAM Needed: No",
            "\tBoot Volume Only: No", "\tRemovable Volume Allowed: No",
            "\tShared Volume Allowed: No", "\tShared Libraries:", "\tDependent Applications:", "",
            "INSTALLATION", R"(re:	On volume .+\.)", "\tIn folder " + Product().string() + ".",
            "\tReplaced files moved to " + (Product() / "Saved Files").string(), "",
            R"(re:	Installation Started: \d{1,2} \w{3} \d{4} \d{1,2}:\d\d:\d\d (AM|PM))",
            "\t\tInstalling : readme.txt",
            "\t\t\tPlaced a link in " + rootText + "/home/tester/Desktop", "\t\tInstalling : docs",
            "\t\t\tPlaced in " + rootText + "/usr/local/share/doc/trial",
            "\t\t\tPlaced a link in " + Product().string(), "\t\tInstalling : trial.conf",
            "\t\t\tPlaced in " + rootText + "/home/tester/.config",
            "\t\t\tThis file will not be removed by the de-installer",
            "\tAdded script tab TRIAL to " + rootText + "/home/tester/.profile",
            R"(re:	Installation Complete: \d{1,2} \w{3} \d{4} \d{1,2}:\d\d:\d\d (AM|PM))"});
    EXPECT_NE(ReadFile(trial.Home() / ".profile").find("export TRIAL=1"), std::string::npos);

    // The record the run keeps holds the installed paths and the marks.
    RunResult decoded = stowtest::Run({BinPath("stowpack"), "message", "decode", record.string()});
    ASSERT_EQ(decoded.exitCode, 0) << decoded.err;
    for (const fs::path& placed : {Product() / "readme.txt", docs, conf})
        EXPECT_NE(decoded.out.find("[\"" + placed.string() + "\"]"), std::string::npos) << placed;
    EXPECT_NE(decoded.out.find("payload/extra.txt\"]"), std::string::npos);

    // The status lines and the completion, with its percent sign kept.
    EXPECT_NE(run.err.find("Installing 3 of 3 (trial.conf)"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("Installation successfully completed.\n\n100% done"), std::string::npos);
    // in the order the run sent them: the last status line, then the alert.
    EXPECT_LT(run.err.find("Installation Complete\n"),
        run.err.find("Installation successfully completed."))
        << run.err;
}

TEST_F(InstallRunTest, PlacesTheDeinstallerWithItsRecordAndLanguage)
{
    RunResult run = trial.Install(installer, {"--unattended", "--all", "--language", "de"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.err.find("Installiere 4 von 4 (extra.txt)"), std::string::npos) << run.err;
    EXPECT_TRUE(fs::exists(Product() / "extra.txt"));

    fs::path deinstaller = Product() / "Trial 2.5 Deinstaller";
    RunResult language
        = stowtest::Run({"/usr/bin/getfattr", "--only-values", "-n", "user.language", deinstaller});
    EXPECT_EQ(language.out, "de");
    EXPECT_EQ(TagOf(deinstaller), "");

    RunResult dump = stowtest::Run({BinPath("stowpack"), "dump", deinstaller.string()});
    ASSERT_EQ(dump.exitCode, 0) << dump.err;
    std::vector<std::string> names;
    std::regex field(R"re(\{"name": "([^"]+)")re");
    for (std::sregex_iterator it(dump.out.begin(), dump.out.end(), field), end; it != end; ++it)
        names.push_back((*it)[1]);
    EXPECT_EQ(names,
        (std::vector<std::string> {"app_name", "version", "release_date", "company",
            "support_email", "edit_bootscript", "edit_setup_env", "edit_profile",
            "edit_profile_tag"}));
    EXPECT_NE(dump.out.find("[\"t@trial.example\"]"), std::string::npos);
}

TEST_F(InstallRunTest, SecondRunTrashesTheOldProductFolder)
{
    ASSERT_EQ(trial.Install(installer, {"--unattended", "--file", "readme.txt"}).exitCode, 0);
    WriteFile(Product() / "left-behind", "mine");
    RunResult again = trial.Install(installer, {"--unattended", "--file", "extra.txt"});
    ASSERT_EQ(again.exitCode, 0) << again.err;
    EXPECT_FALSE(fs::exists(Product() / "left-behind"));
    EXPECT_FALSE(fs::exists(Product() / "readme.txt"));
    EXPECT_EQ(ReadFile(Product() / "extra.txt"), "extra\n");
    EXPECT_EQ(ReadFile(trial.Home() / ".local/share/Trash/files/Trial/left-behind"), "mine");
    // The user learns where their files went, on the terminal and in the log.
    std::string moved = "The existing " + Product().string() + " was moved to the Trash";
    EXPECT_NE(again.err.find(moved), std::string::npos) << again.err;
    EXPECT_NE(ReadFile(Product() / "Log").find("\t" + moved + ".\n"), std::string::npos);
}

} // namespace
