// A destination that is itself a mount point (a 2 MiB tmpfs): the space check
// and the log look at that volume, not at the one holding the mount point,
// and the deinstaller the run places counts in the space needed. Mounting
// needs a private mount namespace, made in a child process.
#include "InstallRunSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace stowtest;

namespace {

constexpr uintmax_t kVolumeSize = 2 << 20;
constexpr int kNoNamespace = 77;

constexpr char kProduct[] = R"({
  "app_name": "Roomy", "version": "1", "opt_compression": 9,
  "install_instructions": [
    {"file_name": "payload/big.bin"}, {"file_name": "payload/tight.bin"},
    {"file_name": "payload/small.txt"}
  ],
  "opt_log": true, "opt_created_folder": "Roomy", "opt_default_folder": "User"
})";

// Mounts a fresh tmpfs of kVolumeSize at `point` in a namespace of its own.
bool MountPrivately(const fs::path& point)
{
    uid_t uid = getuid();
    gid_t gid = getgid();
    if (unshare(CLONE_NEWNS) != 0) {
        if (unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0)
            return false;
        WriteFile("/proc/self/setgroups", "deny");
        WriteFile("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1");
        WriteFile("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1");
    }
    std::string size = "size=" + std::to_string(kVolumeSize);
    return mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0
        && mount("stowtest", point.c_str(), "tmpfs", 0, size.c_str()) == 0;
}

// What went wrong in the child, one line per problem; empty when all held.
std::string Problems(const InstallTrial& trial, const std::string& installer, const fs::path& mnt)
{
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
    fs::path report = trial.Work() / "report.txt";

    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (!MountPrivately(mnt))
            _exit(kNoNamespace);
        WriteFile(report, Problems(trial, installer, mnt));
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == kNoNamespace)
        GTEST_SKIP() << "no private mount namespace here (unshare refused)";
    ASSERT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(ReadFile(report), "");
}
