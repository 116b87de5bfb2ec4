// Stowclear as a user runs it: a copy of the built program given a record
// with stowpack, run in a trial root; its exit codes and texts.
#include "DeinstallHelpers.h"
#include "DeinstallRecord.h"

using namespace stowtest;
namespace fs = std::filesystem;

namespace {

const char kRecord[] = R"({"what": 0, "fields": [
 {"name": "app_name", "type": "CSTR", "values": ["Demo"]},
 {"name": "version", "type": "CSTR", "values": ["1.0"]},
 {"name": "release_date", "type": "CSTR", "values": ["2024-01-01"]},
 {"name": "company", "type": "CSTR", "values": ["Tarnwick"]},
 {"name": "support_email", "type": "CSTR", "values": ["help@example.com"]},
 {"name": "edit_profile", "type": "BOOL", "values": [true]},
 {"name": "edit_profile_tag", "type": "CSTR", "values": ["DEMO"]},
 {"name": "edit_bootscript", "type": "BOOL", "values": [false]},
 {"name": "edit_bootscript_tag", "type": "CSTR", "values": ["DEMO"]}
]})";

class StowclearTest : public ::testing::Test {
protected:
    // A copy of Stowclear carrying `record` (JSON) as resource 2002, or
    // `raw` bytes there when given.
    std::string Configured(const std::string& record = kRecord, const std::string& raw = "")
    {
        std::string program = (tools / "Stowclear").string();
        fs::copy_file(BinPath("Stowclear"), program, fs::copy_options::overwrite_existing);
        WriteFile(tools / "record.json", record);
        if (raw.empty()) {
            EXPECT_EQ(stowtest::Run(
                          {BinPath("stowpack"), "message", "encode",
                              (tools / "record.json").string(), (tools / "record.bin").string()})
                          .exitCode,
                0);
        } else {
            WriteFile(tools / "record.bin", raw);
        }
        RunResult added = stowtest::Run({BinPath("stowpack"), "add", program, "CSTR", "2002",
            "STK:configuration", (tools / "record.bin").string()});
        EXPECT_EQ(added.exitCode, 0) << added.err;
        return program;
    }
    RunResult Stowclear(const std::string& program, std::vector<std::string> arguments)
    {
        arguments.insert(arguments.begin(), program);
        return stowtest::Run(arguments, {},
            {{"STOW_ROOT", box.temp.Str()}, {"HOME", "/home/tester"}, {"XDG_DATA_HOME", ""},
                {"XDG_CONFIG_HOME", ""}, {"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}});
    }

    Sandbox box;
    TempDir tools;
};

} // namespace

TEST_F(StowclearTest, WithoutItsRecordItIsNotConfigured)
{
    std::string base = BinPath("Stowclear");
    RunResult result = Stowclear(base, {"--unattended"});
    EXPECT_EQ(result.exitCode, 5);
    EXPECT_NE(result.err.find("Does not have resource 2002\n"), std::string::npos) << result.err;
    EXPECT_NE(result.err.find(kNotConfiguredText), std::string::npos) << result.err;

    result = Stowclear(Configured(kRecord, "not a message"), {"--list"});
    EXPECT_EQ(result.exitCode, 5);
    EXPECT_NE(result.err.find("Unable to read resource 2002\n"), std::string::npos) << result.err;

    // Help and version need no record.
    EXPECT_EQ(Stowclear(base, {"--version"}).out, "Stowclear 1.3.1\n");
    EXPECT_EQ(Stowclear(base, {"--help"}).exitCode, 0);

    // A placed deinstaller's usage names it as it is called, in quotes, and
    // keeps its continuation lines in line.
    const fs::path placed = tools / "Demo 1.0 Deinstaller";
    fs::copy_file(base, placed);
    const std::string usage = Stowclear(placed.string(), {"--help"}).out;
    EXPECT_EQ(usage.rfind("Usage: \"Demo 1.0 Deinstaller\" [--volume PATH]", 0), 0u) << usage;
    EXPECT_NE(usage.find("\n" + std::string(30, ' ') + "[--language CODE]\n"), std::string::npos)
        << usage;
}

TEST_F(StowclearTest, ListsRemovesAndReportsNothingFound)
{
    std::string program = Configured();
    fs::path profile = box.Make("home/tester/.profile");
    WriteFile(profile, "export A=1\n#BEGIN_DEMO\nexport DEMO=1\n#END_DEMO\n");
    Tag(box.Folder("opt/demo"));
    Tag(box.Make("opt/demo/bin"));

    RunResult listed = Stowclear(program, {"--list"});
    EXPECT_EQ(listed.exitCode, 0) << listed.err;
    EXPECT_EQ(listed.out,
        (box.temp / "opt/demo").string() + "\n" + (box.temp / "opt/demo/bin").string() + "\n");
    EXPECT_TRUE(fs::exists(box.temp / "opt/demo/bin"));

    // Without a display or a terminal, removing asks for --unattended.
    EXPECT_EQ(Stowclear(program, {}).exitCode, 2);
    RunResult removed = Stowclear(program, {"--unattended"});
    EXPECT_EQ(removed.exitCode, 0) << removed.err;
    EXPECT_FALSE(fs::exists(box.temp / "opt/demo"));
    EXPECT_TRUE(fs::exists(box.Trash() / "files/demo/bin")); // one entry, whole
    EXPECT_EQ(ReadFile(profile), "export A=1\n");

    RunResult nothing = Stowclear(program, {"--unattended", "--language", "de"});
    EXPECT_EQ(nothing.exitCode, 3);
    EXPECT_EQ(nothing.err.find("No files or folders were found"), std::string::npos);
    EXPECT_NE(Stowclear(program, {"--list", "--language=en"})
                  .err.find("No files or folders were found to deinstall on this volume."),
        std::string::npos);
}

TEST_F(StowclearTest, ChosenFolderAndCollisionAnswers)
{
    std::string program = Configured();
    TempDir to;
    WriteFile(to / "bin", "kept");
    Tag(box.Make("opt/bin", "product"));
    RunResult kept = Stowclear(program, {"--unattended", "--to", to.Str()});
    EXPECT_EQ(kept.exitCode, 0) << kept.err;
    EXPECT_EQ(ReadFile(to / "bin"), "kept"); // the default answer keeps
    EXPECT_EQ(ReadFile(to / "bin copy"), "product");

    Tag(box.Make("opt/bin", "again"));
    RunResult replaced
        = Stowclear(program, {"--unattended", "--to=" + to.Str(), "--on-collision", "replace"});
    EXPECT_EQ(replaced.exitCode, 0) << replaced.err;
    EXPECT_EQ(ReadFile(to / "bin"), "again");
}

TEST_F(StowclearTest, UsageErrorsExitTwo)
{
    std::string program = Configured();
    EXPECT_EQ(Stowclear(program, {"--unattended", "--volume", "/no/such/place"}).exitCode, 2);
    EXPECT_EQ(Stowclear(program, {"--unattended", "--to", "/no/such/folder"}).exitCode, 2);
    for (std::vector<std::string> wrong :
        std::vector<std::vector<std::string>> {{"--on-collision", "both"}, {"--to"},
            {"--language", "xx"}, {"--list", "--to", "/"}, {"--unknown"}})
        EXPECT_EQ(Stowclear(program, wrong).exitCode, 2) << wrong[0];
}

// A chosen folder on a full volume: the entry that does not fit is reported
// with the system's reason and not announced as removed; the one that fits
// goes.
TEST_F(StowclearTest, AFullDestinationSaysWhyAndAnnouncesOnlyWhatMoved)
{
    std::string program = Configured();
    fs::path big = box.Make("opt/big.bin", std::string(2 << 20, 'b'));
    fs::path small = box.Make("opt/small.txt", "small");
    Tag(big);
    Tag(small);
    fs::path full = box.Folder("full");
    std::optional<std::string> problems = InPrivateMounts([&]() -> std::string {
        if (!MountTmpfs(full, 1 << 20))
            return "no tmpfs";
        RunResult removed = Stowclear(program, {"--unattended", "--to", full.string()});
        std::string problems;
        if (removed.exitCode != 1)
            problems += "exit " + std::to_string(removed.exitCode) + "\n";
        if (removed.err.find("Could not move " + big.string() + " to " + full.string()
                + ": No space left on device\n")
            == std::string::npos)
            problems += "no reason given\n";
        if (removed.err.find("Removing big.bin") != std::string::npos)
            problems += "announced as removed\n";
        if (removed.err.find("Removing small.txt") == std::string::npos || fs::exists(small)
            || !fs::exists(big))
            problems += "the wrong entries moved\n";
        return problems.empty() ? "" : problems + removed.err;
    });
    if (!problems)
        GTEST_SKIP() << "no private mount namespace here (unshare refused)";
    EXPECT_EQ(*problems, "");
}
