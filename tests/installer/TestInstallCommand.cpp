// Stowfast's command line: reading the options, and what each way of
// calling the built installer answers (exit codes, texts, what is left).
#include "InstallCommandLine.h"
#include "InstallProgress.h"
#include "InstallRunSupport.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace stowtest;

namespace {

bool Parses(const std::vector<std::string>& args, InstallOptions& options, std::string& problem)
{
    return InstallCommandLine::Parse(args, options, problem);
}

TEST(InstallCommandLine, ReadsEveryOptionInBothForms)
{
    InstallOptions options;
    std::string problem;
    ASSERT_TRUE(Parses({"--unattended", "--dest", "/d", "--group=A", "--group", "B", "--file", "f",
                           "--accept-license", "--language=de", "--on-collision", "replace",
                           "--launch", "--restart", "--save-record", "r"},
        options, problem))
        << problem;
    EXPECT_TRUE(options.unattended && options.acceptLicense && options.launch && options.restart);
    EXPECT_EQ(options.destination, "/d");
    EXPECT_EQ(options.groups, (std::vector<std::string> {"A", "B"}));
    EXPECT_EQ(options.files, std::vector<std::string> {"f"});
    EXPECT_EQ(options.language, "de");
    EXPECT_EQ(options.collision, InstallOptions::Collision::Replace);
    EXPECT_EQ(options.saveRecord, "r");
    EXPECT_EQ(options.task, InstallOptions::Task::Install);

    ASSERT_TRUE(Parses({"--list"}, options, problem));
    EXPECT_EQ(options.task, InstallOptions::Task::List);
    EXPECT_EQ(options.collision, InstallOptions::Collision::Keep);
}

TEST(InstallCommandLine, RefusesWhatItCannotRead)
{
    const std::vector<std::vector<std::string>> wrong = {
        {"--dest"},
        {"--dest="},
        {"--language", "xx"},
        {"--on-collision", "ask"},
        {"--all", "--group", "A"},
        {"--list", "--check"},
        {"--unattended=yes"},
        {"--frobnicate"},
        {"stray"},
    };
    for (const auto& args : wrong) {
        InstallOptions options;
        std::string problem;
        EXPECT_FALSE(Parses(args, options, problem)) << testing::PrintToString(args);
        EXPECT_FALSE(problem.empty());
    }
}

TEST(InstallProgressBar, FitsItsWidthAndEstimatesTheRest)
{
    using std::chrono::milliseconds;
    std::string half = InstallProgress::BarText(50 << 20, 100 << 20, milliseconds(2000), 79);
    EXPECT_LE(half.size(), 79u);
    EXPECT_NE(half.find(" 50%  50.0 MB of 100.0 MB  0:02 left"), std::string::npos) << half;
    EXPECT_EQ(half.front(), '[');
    std::string early = InstallProgress::BarText(1, 100, milliseconds(10), 79);
    EXPECT_EQ(early.find("left"), std::string::npos);
    EXPECT_NE(InstallProgress::BarText(7, 7, milliseconds(10), 79).find("100%"), std::string::npos);
    EXPECT_LE(InstallProgress::BarText(1, 3, milliseconds(5000), 20).size(), 20u);

    // The guided flow's words in the user's language; a line too narrow for
    // the bar never ends inside a character.
    ProgressBarWords danish {"%s af %s", "%s tilbage", "færdig"};
    EXPECT_NE(InstallProgress::BarText(7, 7, milliseconds(10), 79, danish)
                  .find("7.0 bytes af 7.0 bytes  færdig"),
        std::string::npos);
    std::string narrow = InstallProgress::BarText(7, 7, milliseconds(10), 32, danish);
    EXPECT_EQ(narrow, "100%  7.0 bytes af 7.0 bytes  f");
}

constexpr char kProduct[] = R"({
  "app_name": "Calls", "version": "1", "license": "Be nice.",
  "groups": [{"group_name": "Main", "group_description": "The main file."}],
  "install_instructions": [{"file_name": "payload/main.txt", "groups": ["Main"]},
                           {"file_name": "payload/other.txt"}],
  "opt_created_folder": "Calls", "opt_default_folder": "User", "complete_restart": true
})";

class InstallCommandTest : public testing::Test {
protected:
    void SetUp() override
    {
        PutPayload(trial.Work() / "calls/payload/main.txt", "main", 1);
        PutPayload(trial.Work() / "calls/payload/other.txt", "other", 1);
        installer = trial.Build("calls", kProduct);
    }

    RunResult Install(std::vector<std::string> args)
    {
        before = trial.RootListing();
        return trial.Install(installer, args);
    }
    bool NothingWritten() const { return trial.RootListing() == before; }

    InstallTrial trial;
    std::string installer;
    std::vector<std::string> before;
};

TEST_F(InstallCommandTest, UsageErrorsInstallNothing)
{
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--accept-license"}, "needs --unattended"},
        {{"--unattended"}, "--accept-license"},
        {{"--unattended", "--accept-license", "--group", "Nope"}, "no group 'Nope'"},
        {{"--unattended", "--accept-license", "--file", "nope.txt"}, "no file 'nope.txt'"},
        {{"--unattended", "--frob"}, "unknown option"},
    };
    for (const auto& [args, message] : cases) {
        RunResult run = Install(args);
        EXPECT_EQ(run.exitCode, 2) << run.err;
        EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
        EXPECT_TRUE(NothingWritten());
    }
    EXPECT_NE(Install({"--unattended"}).out.find("Be nice."), std::string::npos);
}

TEST_F(InstallCommandTest, ListsAndTellsItsVersion)
{
    RunResult list = Install({"--list"});
    EXPECT_EQ(list.exitCode, 0);
    EXPECT_NE(list.out.find("Main: The main file."), std::string::npos) << list.out;
    EXPECT_NE(list.out.find("main.txt"), std::string::npos);
    EXPECT_NE(list.out.find("4.0 bytes"), std::string::npos);
    EXPECT_TRUE(NothingWritten());
    EXPECT_EQ(Install({"--version"}).out, "Stowfast 1.3.1\n");
    // The help names the installer as it was started, not its base.
    RunResult help = Install({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    const std::string name = fs::path(installer).filename().string();
    EXPECT_EQ(help.out.rfind("Usage: " + name + " [--dest DIR]", 0), 0u) << help.out;
    EXPECT_NE(help.out.find("\n       " + name + " --unattended"), std::string::npos) << help.out;
    EXPECT_NE(Install({"--frobnicate"}).err.find("Try '" + name + " --help'."), std::string::npos);
}

TEST_F(InstallCommandTest, UnusableDestinationExitsOne)
{
    RunResult run = Install(
        {"--unattended", "--accept-license", "--dest", (trial.Root() / "missing/folder").string()});
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_NE(run.err.find("Failure to find selected installation folder."), std::string::npos);
    EXPECT_TRUE(NothingWritten());
}

TEST_F(InstallCommandTest, RestartAnswerRunsTheRootsShutdownCommand)
{
    // Under STOW_ROOT the system command folder lies inside the root.
    fs::path command = trial.Root() / "usr/bin/shutdown";
    fs::path called = trial.Work() / "shutdown-called";
    fs::create_directories(command.parent_path());
    WriteFile(command, "#!/bin/sh\necho \"$@\" > '" + called.string() + "'\n");
    fs::permissions(command, fs::perms::owner_all);

    RunResult later = Install({"--unattended", "--accept-license"});
    ASSERT_EQ(later.exitCode, 0) << later.err;
    EXPECT_NE(later.err.find("-> Restart Later"), std::string::npos) << later.err;
    EXPECT_FALSE(fs::exists(called));
    EXPECT_EQ(ReadFile(trial.Home() / "Calls/main.txt"), "main");
    EXPECT_FALSE(fs::exists(trial.Home() / "Calls/other.txt"));

    RunResult now = Install({"--unattended", "--accept-license", "--restart"});
    ASSERT_EQ(now.exitCode, 0) << now.err;
    EXPECT_TRUE(WaitFor([&] { return ReadFile(called) == "-r now\n"; }));
}

constexpr char kDemanding[] = R"({
  "app_name": "Demanding", "version": "1",
  "install_instructions": [{"file_name": "payload/main.txt"}],
  "opt_created_folder": "Demanding", "opt_default_folder": "User",
  %s
})";

std::string Demanding(const char* requirement)
{
    char text[1024];
    snprintf(text, sizeof text, kDemanding, requirement);
    return text;
}

TEST_F(InstallCommandTest, RequirementsDecideTheExitCode)
{
    PutPayload(trial.Work() / "space/payload/main.txt", "main", 1);
    std::string space = trial.Build(
        "space", Demanding(R"("req_disk_space_needed": true, "req_disk_space_required": true,
                     "req_disk_space_amount": {"value": 1e18})"));
    RunResult full = trial.Install(space, {"--unattended", "--all"});
    EXPECT_EQ(full.exitCode, 3) << full.err;
    EXPECT_NE(full.err.find("Installation requires"), std::string::npos) << full.err;

    PutPayload(trial.Work() / "library/payload/main.txt", "main", 1);
    std::string library
        = trial.Build("library", Demanding(R"("req_shared_library": {"req_shared_librry_req": true,
                     "req_shared_library_name": ["libstow-absent.so.9"]})"));
    before = trial.RootListing();
    RunResult missing = trial.Install(library, {"--unattended", "--all"});
    EXPECT_EQ(missing.exitCode, 4) << missing.err;
    EXPECT_NE(missing.err.find("libstow-absent.so.9"), std::string::npos);
    EXPECT_TRUE(NothingWritten());
}

} // namespace
