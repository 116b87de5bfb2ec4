// Names already taken at an item's destination, settled by the item's mode
// and the command line's answer, with and without a "Saved Files" folder.
#include "InstallRunSupport.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace stowtest;

namespace {

std::string Product(bool saveReplaced)
{
    return std::string(R"({
  "app_name": "Clash", "version": "1",
  "install_instructions": [
    {"file_name": "payload/a.txt",
     "install_meta": {"destination": "User Settings", "destination_exists": "Prompt"}},
    {"file_name": "payload/b.txt",
     "install_meta": {"destination": "User Settings", "destination_exists": "Rename"}},
    {"file_name": "payload/c.txt",
     "install_meta": {"destination": "User Settings", "destination_exists": "Replace"}}
  ],
  "opt_log": true, "opt_created_folder": "Clash", "opt_save_replaced": )")
        + (saveReplaced ? "true" : "false") + "}";
}

class CollisionTest : public testing::Test {
protected:
    std::string Prepare(bool saveReplaced)
    {
        for (const char* name : {"a.txt", "b.txt", "c.txt"}) {
            PutPayload(trial.Work() / "clash/payload" / name, std::string("new ") + name, 1);
            PutPayload(Config() / name, std::string("old ") + name, 2);
        }
        return trial.Build("clash", Product(saveReplaced));
    }

    fs::path Config() const { return trial.Home() / ".config"; }
    fs::path Folder() const { return trial.Home() / "Clash"; }
    std::string Log() const { return ReadFile(Folder() / "Log"); }

    InstallTrial trial;
};

TEST_F(CollisionTest, ReplaceAnswerWithSavedFiles)
{
    std::string installer = Prepare(true);
    RunResult run = trial.Install(
        installer, {"--unattended", "--all", "--dest", trial.Home(), "--on-collision=replace"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    for (const char* name : {"a.txt", "b.txt", "c.txt"})
        EXPECT_EQ(ReadFile(Config() / name), std::string("new ") + name);
    EXPECT_EQ(ReadFile(Folder() / "Saved Files/a.txt"), "old a.txt");
    EXPECT_EQ(ReadFile(Config() / "b.txt copy"), "old b.txt");
    EXPECT_EQ(ReadFile(Folder() / "Saved Files/c.txt"), "old c.txt");
    EXPECT_NE(Log().find("\t\tInstalling : a.txt\n\t\t\tExisting file saved.\n\t\t\tPlaced in "),
        std::string::npos)
        << Log();
}

TEST_F(CollisionTest, KeepAnswerWithoutSavedFiles)
{
    std::string installer = Prepare(false);
    RunResult run = trial.Install(installer, {"--unattended", "--all", "--dest", trial.Home()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    // Prompt answered "Don't Replace": the old file stays, the new one stays
    // in the product folder, and the record says where it is.
    EXPECT_EQ(ReadFile(Config() / "a.txt"), "old a.txt");
    EXPECT_EQ(ReadFile(Folder() / "a.txt"), "new a.txt");
    EXPECT_NE(Log().find("\t\t\tUser desired not to place item in " + Config().string() + "\n"),
        std::string::npos)
        << Log();
    EXPECT_EQ(ReadFile(Config() / "b.txt copy"), "old b.txt");
    EXPECT_EQ(ReadFile(Config() / "c.txt"), "new c.txt");
    EXPECT_NE(Log().find("\t\t\tExisting file removed.\n"), std::string::npos);
    EXPECT_FALSE(fs::exists(Folder() / "Saved Files"));
}

} // namespace
