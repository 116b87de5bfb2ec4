// A run stopped with SIGINT the moment a folder item of 2,000 files appears
// at its place: everything the run placed carries its tag by then, so the
// placed deinstaller finds and removes all of it; the log says the run was
// stopped. A script the run launches and waits for keeps the run going
// until the stop ends it.
#include "InstallRunSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fcntl.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace stowtest;

namespace {

constexpr int kFiles = 2000;

constexpr char kProduct[] = R"({
  "app_name": "Stops", "version": "1", "opt_compression": 0,
  "install_instructions": [
    {"file_name": "payload/tree", "install_meta": {"destination": "StopDocs"}},
    {"file_name": "payload/local"},
    {"file_name": "payload/hold.sh", "install_meta": {"auto_launch": "True"}}
  ],
  "custom_folder": [{"custom_folder_name": "StopDocs",
    "custom_root_dir": "Common Documentation", "custom_sub_dir": "stops"}],
  "opt_log": true, "opt_created_folder": "Stops", "opt_default_folder": "User"
})";

// kFiles empty files and a link among them, whose tag only the attribute
// store can keep.
void MakeTree(const fs::path& folder)
{
    fs::create_directories(folder);
    for (int i = 0; i < kFiles; ++i) {
        std::string name = (folder / ("f" + std::to_string(i))).string();
        int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        ASSERT_GE(fd, 0) << name;
        close(fd);
    }
    fs::create_symlink("f0", folder / "latest");
}

class InstallRunStops : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        sTrial = new InstallTrial;
        for (const char* item : {"tree", "local"})
            MakeTree(sTrial->Work() / "stops/payload" / item);
        WriteFile(sTrial->Work() / "stops/payload/hold.sh", "exec sleep 120\n");
        sInstaller = new std::string(sTrial->Build("stops", kProduct, BinPath("Stowclear")));
        fs::remove_all(sTrial->Work() / "stops/payload");
    }

    static void TearDownTestSuite()
    {
        delete sInstaller;
        delete sTrial;
    }

    void SetUp() override
    {
        fs::remove_all(sTrial->Root());
        fs::create_directories(sTrial->Home());
    }

    static fs::path Product() { return sTrial->Home() / "Stops"; }
    static fs::path Docs() { return sTrial->Root() / "usr/local/share/doc/stops"; }

    // Stops a run of `item` once it exists at `place`, then removes the
    // product with its own deinstaller.
    static void StopWhenPlacedThenRemove(const char* item, const fs::path& place)
    {
        fs::path placed = place / item;
        ChildRun run = RunChild({*sInstaller, "--unattended", "--file", item, "--file", "hold.sh"},
            TrialEnvironment(sTrial->Root()), sTrial->Work() / "run.log",
            [&placed] { return Exists(placed); });
        ASSERT_EQ(run.exitCode, 130) << ReadFile(sTrial->Work() / "run.log");
        ASSERT_TRUE(Exists(placed));
        // The log lists what was placed and ends saying the run was stopped.
        std::vector<std::string> log = Lines(ReadFile(Product() / "Log"));
        EXPECT_NE(
            std::find(log.begin(), log.end(), std::string("\t\tInstalling : ") + item), log.end());
        ASSERT_FALSE(log.empty());
        EXPECT_EQ(log.back().rfind("\tInstallation Stopped: ", 0), 0u) << log.back();

        RunResult removed
            = stowtest::Run({(Product() / "Stops 1 Deinstaller").string(), "--unattended"}, {},
                TrialEnvironment(sTrial->Root()));
        EXPECT_EQ(removed.exitCode, 0) << removed.err;
        EXPECT_FALSE(Exists(placed));
        // Nothing of any item is left at the places the run uses.
        std::vector<std::string> left;
        for (const fs::path& place : {Product(), Docs()}) {
            std::error_code error;
            for (const auto& entry : fs::recursive_directory_iterator(place, error)) {
                std::string leaf = entry.path().filename().string();
                if (leaf == "latest" || leaf[0] == 'f' || leaf == "hold.sh")
                    left.push_back(entry.path().string());
            }
        }
        EXPECT_TRUE(left.empty()) << left.size() << " left, such as " << left.front();
    }

    static bool Exists(const fs::path& path) { return fs::exists(fs::symlink_status(path)); }

    static InstallTrial* sTrial;
    static std::string* sInstaller;
};

InstallTrial* InstallRunStops::sTrial = nullptr;
std::string* InstallRunStops::sInstaller = nullptr;

TEST_F(InstallRunStops, StoppedAsACustomFolderItemArrivesLeavesNothingUntagged)
{
    StopWhenPlacedThenRemove("tree", Docs());
}

TEST_F(InstallRunStops, StoppedAsAProductFolderItemArrivesLeavesNothingUntagged)
{
    StopWhenPlacedThenRemove("local", Product());
}

} // namespace
