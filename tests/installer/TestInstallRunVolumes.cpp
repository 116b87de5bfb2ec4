// A destination that is itself a mount point (a 2 MiB tmpfs): the space check
// and the log look at that volume, not at the one holding the mount point,
// and the deinstaller the run places counts in the space needed; on a
// read-only one the run says why it cannot make the product folder.
// Mounting needs a private mount namespace, made in a child process.
#include "InstallRunSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>

namespace fs = std::filesystem;
using namespace stowtest;

namespace {

constexpr uintmax_t kVolumeSize = 2 << 20;

constexpr char kProduct[] = R"({
  "app_name": "Roomy", "version": "1", "opt_compression": 9,
  "install_instructions": [
    {"file_name": "payload/big.bin"}, {"file_name": "payload/tight.bin"},
    {"file_name": "payload/small.txt"}
  ],
  "opt_log": true, "opt_created_folder": "Roomy", "opt_default_folder": "User"
})";

// What went wrong, one line per problem; empty when all held.
std::string Problems(const InstallTrial& trial, const std::string& installer, const fs::path& mnt)
{
    if (!MountTmpfs(mnt, kVolumeSize))
        return "no tmpfs";
    std::string problems;
    auto install = [&](const char* file) {
        return trial.Install(installer, {"--unattended", "--file", file, "--dest", mnt.string()});
    };
    // Larger than the volume, and then just too large once the deinstaller
    // counts: refused before anything is written.
    for (const char* file : {"big.bin", "tight.bin"}) {
        RunResult run = install(file);
        if (run.exitCode != 3)
            problems += std::string(file) + ": exit " + std::to_string(run.exitCode) + ": "
                + run.err + "\n";
        if (!fs::is_empty(mnt))
            problems += std::string(file) + ": something was written\n";
    }
    RunResult run = install("small.txt");
    if (run.exitCode != 0)
        return problems + "small.txt: exit " + std::to_string(run.exitCode) + ": " + run.err;
    std::string log = ReadFile(mnt / "Roomy/Log");
    if (log.find("\tOn volume " + mnt.string() + ".\n") == std::string::npos)
        problems += "the log names another volume:\n" + log;
    if (!std::regex_search(log, std::regex("\tFree Disk Space : (1\\.\\d|2\\.0) MB\n")))
        problems += "the log gives the free space of another volume:\n" + log;

    // A destination that cannot be written is refused before the run, naming
    // the folder and why.
    fs::path readOnly = mnt.parent_path() / "ro";
    fs::create_directories(readOnly);
    if (!MountTmpfs(readOnly, kVolumeSize, true))
        return problems + "no read-only tmpfs";
    run = trial.Install(
        installer, {"--unattended", "--file", "small.txt", "--dest", readOnly.string()});
    std::string why = "cannot write in " + readOnly.string() + ": read-only volume";
    if (run.exitCode != 1 || run.err.find(why) == std::string::npos)
        problems += "read-only: exit " + std::to_string(run.exitCode) + ": " + run.err;
    return problems;
}

} // namespace

TEST(InstallRunVolumes, AMountPointAsDestinationIsTheVolumeChecked)
{
    InstallTrial trial;
    fs::path payload = trial.Work() / "roomy/payload";
    // Random bytes, so that the zipped payload is as large as the files.
    std::ifstream random("/dev/urandom", std::ios::binary);
    std::string bytes(3 << 20, '\0');
    random.read(bytes.data(), std::streamsize(bytes.size()));
    fs::create_directories(payload);
    WriteFile(payload / "big.bin", bytes);
    // Fits the empty volume by one page, but not with the deinstaller.
    WriteFile(payload / "tight.bin", bytes.substr(0, kVolumeSize - 4096));
    WriteFile(payload / "small.txt", "small\n");
    std::string installer = trial.Build("roomy", kProduct);
    fs::path mnt = trial.Root() / "mnt";
    fs::create_directories(mnt);
    std::optional<std::string> problems
        = InPrivateMounts([&] { return Problems(trial, installer, mnt); });
    if (!problems)
        GTEST_SKIP() << "no private mount namespace here (unshare refused)";
    EXPECT_EQ(*problems, "");
}
