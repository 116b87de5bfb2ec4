// A folder item of 70,000 files: more members than a zip archive counts
// without its Zip64 end records. Built, checked, installed and removed with
// the programs as a user runs them; the files are empty, so that the test is
// about the count alone and stays quick.
#include "InstallRunSupport.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace stowtest;

namespace {

constexpr int kFiles = 70000;

size_t CountEntries(const fs::path& folder)
{
    std::error_code error;
    size_t count = 0;
    for (auto it = fs::directory_iterator(folder, error); !error && it != fs::directory_iterator();
         it.increment(error))
        ++count;
    return count;
}

} // namespace

TEST(InstallRunManyFiles, SeventyThousandFilesBuildCheckInstallAndGo)
{
    InstallTrial trial;
    fs::path folder = trial.Work() / "many";
    fs::create_directories(folder / "item");
    for (int i = 0; i < kFiles; ++i) {
        std::string name = (folder / "item" / ("f" + std::to_string(i))).string();
        int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        ASSERT_GE(fd, 0) << name;
        close(fd);
    }
    WriteFile(folder / "product.json", R"({
      "app_name": "Many", "version": "1", "opt_compression": 1,
      "install_instructions": [{"file_name": "item"}],
      "opt_log": true, "opt_created_folder": "Many", "opt_default_folder": "User"
    })");
    std::string installer = (trial.Work() / "many-installer").string();
    RunResult built
        = stowtest::Run({BinPath("stowpack"), "build", (folder / "product.json").string(), "-o",
            installer, "--deinstaller", BinPath("Stowclear")});
    ASSERT_EQ(built.exitCode, 0) << built.err;
    fs::remove_all(folder / "item");

    // Info-ZIP's unzip reads the archive whole, through its Zip64 end records.
    fs::path archive = trial.Work() / "item.zip";
    ASSERT_EQ(
        stowtest::Run({BinPath("stowpack"), "extract", installer, "RAWT", "2100", archive.string()})
            .exitCode,
        0);
    RunResult tested = stowtest::Run({"/usr/bin/unzip", "-t", archive.string()});
    EXPECT_EQ(tested.exitCode, 0) << tested.err;
    EXPECT_NE(tested.out.find("No errors detected"), std::string::npos);
    RunResult listed = stowtest::Run({"/usr/bin/unzip", "-l", archive.string()});
    EXPECT_NE(listed.out.find(std::to_string(kFiles + 1) + " files"), std::string::npos);
    fs::remove(archive);

    RunResult check = trial.Install(installer, {"--check"});
    EXPECT_EQ(check.exitCode, 0) << check.out << check.err;
    RunResult run = trial.Install(installer, {"--unattended", "--all"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    fs::path product = trial.Home() / "Many";
    EXPECT_EQ(CountEntries(product / "item"), size_t(kFiles));

    RunResult removed = stowtest::Run({(product / "Many 1 Deinstaller").string(), "--unattended"},
        {}, TrialEnvironment(trial.Root()));
    EXPECT_EQ(removed.exitCode, 0) << removed.err;
    EXPECT_FALSE(fs::exists(product / "item"));
    // The folder went whole: one entry of the Trash, with every file in it.
    EXPECT_EQ(CountEntries(trial.Home() / ".local/share/Trash/files"), 1u);
    EXPECT_EQ(CountEntries(trial.Home() / ".local/share/Trash/files/item"), size_t(kFiles));
}
