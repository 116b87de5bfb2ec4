// End-to-end helpers for the install run: product descriptions built into
// real installers with the built stowpack, and the built Stowfast run in a
// trial root (STOW_ROOT, with the home folder inside it) as a user would.
#pragma once

#include "TestSupport.h"

#include <filesystem>
#include <string>
#include <vector>

namespace stowtest {

class InstallTrial {
public:
    InstallTrial();

    const std::filesystem::path& Root() const { return fRoot; }
    std::filesystem::path Home() const { return fRoot / "home/tester"; }
    // Where products are made; outside the root.
    std::filesystem::path Work() const { return fTemp / "work"; }

    // Writes `json` as Work()/name/product.json and builds it into an
    // installer; the build's failure fails the test. Without `deinstaller`
    // a small stand-in is placed instead of Stowclear.
    std::string Build(
        const std::string& name, const std::string& json, const std::string& deinstaller = {});
    // Runs the installer with `args` in the trial root.
    RunResult Install(const std::string& installer, const std::vector<std::string>& args) const;
    // Every path below the root (relative, sorted), for "nothing changed".
    std::vector<std::string> RootListing() const;

private:
    TempDir fTemp;
    std::filesystem::path fRoot;
};

// A payload file of the product, with a fixed modification time.
void PutPayload(const std::filesystem::path& path, const std::string& contents, int64_t modified);
int64_t ModifiedTime(const std::filesystem::path& path);

// The "InstallBy" tag as getfattr prints it; empty when the file has none.
std::string TagOf(const std::filesystem::path& path);

// Lines of a text.
std::vector<std::string> Lines(const std::string& text);

// What a child run costs: its exit code, its peak resident memory (from
// wait4) and how long it took after `signalAfter` sent a signal, if any.
struct ChildRun {
    int exitCode = -1;
    long peakKilobytes = 0;
    double secondsAfterSignal = -1;
};
// Runs `argv` with `env` added, output to `logPath`; when `stopWhen` is
// given, SIGINT goes to the child as soon as it holds.
ChildRun RunChild(const std::vector<std::string>& argv,
    const std::map<std::string, std::string>& env, const std::filesystem::path& logPath,
    const std::function<bool()>& stopWhen = {});

// The environment of a run in `root`.
std::map<std::string, std::string> TrialEnvironment(const std::filesystem::path& root);

} // namespace stowtest
