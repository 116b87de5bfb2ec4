// One run per product at a time: while an installation goes, a second start
// of the same installer and the product's deinstaller are refused without
// changing anything, and the first run ends as if alone.
#include "InstallRunSupport.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace stowtest;

namespace {

constexpr char kProduct[] = R"({
  "app_name": "Twice", "version": "1",
  "install_instructions": [
    {"file_name": "payload/readme.txt"},
    {"file_name": "payload/hold.sh", "install_meta": {"auto_launch": "True"}}
  ],
  "opt_log": true, "opt_created_folder": "Twice", "opt_default_folder": "User"
})";

// Launched by the run, which waits for it: it holds the first run (the one
// given RELEASE) until the test lets it go.
constexpr char kHold[] = "[ -n \"$RELEASE\" ] || exit 0\necho holding\n"
                         "while [ ! -e \"$RELEASE\" ]; do sleep 0.05; done\n";

} // namespace

TEST(InstallRunTogether, ASecondRunAndTheDeinstallerWaitTheirTurn)
{
    InstallTrial trial;
    fs::create_directories(trial.Work() / "twice/payload");
    WriteFile(trial.Work() / "twice/payload/readme.txt", "read me\n");
    WriteFile(trial.Work() / "twice/payload/hold.sh", kHold);
    std::string installer = trial.Build("twice", kProduct, BinPath("Stowclear"));
    fs::path release = trial.Work() / "release";
    auto env = TrialEnvironment(trial.Root());
    env["RELEASE"] = release.string();
    fs::path product = trial.Home() / "Twice";

    TerminalRun first({installer, "--unattended", "--all"}, env);
    ASSERT_TRUE(first.WaitForText("holding")) << first.Output();
    std::vector<std::string> before = trial.RootListing();

    RunResult second = trial.Install(installer, {"--unattended", "--all"});
    EXPECT_EQ(second.exitCode, 1) << second.err;
    EXPECT_NE(second.err.find("An installation of this product is already running in '"
                  + trial.Home().string()),
        std::string::npos)
        << second.err;
    EXPECT_EQ(trial.RootListing(), before);

    RunResult removal = stowtest::Run({(product / "Twice 1 Deinstaller").string(), "--unattended"},
        {}, TrialEnvironment(trial.Root()));
    EXPECT_EQ(removal.exitCode, 1) << removal.err;
    EXPECT_NE(removal.err.find("This product is being installed or removed right now."),
        std::string::npos)
        << removal.err;
    EXPECT_EQ(trial.RootListing(), before);

    WriteFile(release, "");
    EXPECT_EQ(first.Wait(), 0) << first.Output();
    EXPECT_EQ(ReadFile(product / "readme.txt"), "read me\n");
    EXPECT_FALSE(fs::exists(trial.Home() / ".local/share/Trash/files"));
}
