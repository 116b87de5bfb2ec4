// Helpers shared by every test program: temporary folders, running the built
// programs as a user would, and small file utilities.
#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace stowtest {

// A fresh folder under $TMPDIR (or /tmp), removed with everything in it when
// the object goes away.
class TempDir {
public:
    TempDir();
    // A fresh folder inside `base` (another file system, such as /dev/shm).
    explicit TempDir(const std::string& base);
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return fPath; }
    std::string Str() const { return fPath.string(); }
    std::filesystem::path operator/(const std::string& leaf) const { return fPath / leaf; }

private:
    std::filesystem::path fPath;
};

// Sets an environment variable for the lifetime of the object.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string fName;
    bool fHadValue;
    std::string fOldValue;
};

struct RunResult {
    int exitCode = -1; // the exit status, or 128 + signal number
    std::string out;
    std::string err;
};

// Runs `argv` (argv[0] is a path) without a shell, with `stdinText` as its
// input and `env` added to (or replacing in) the current environment.
RunResult Run(const std::vector<std::string>& argv, const std::string& stdinText = {},
    const std::map<std::string, std::string>& env = {});

// A program run on a pseudo-terminal of its own, driven as a user at a
// terminal would drive it: wait until a text appears, type a line, press
// Ctrl-C or Ctrl-D. The terminal's size is fixed, so what pages is known.
class TerminalRun {
public:
    TerminalRun(const std::vector<std::string>& argv,
        const std::map<std::string, std::string>& env = {}, int rows = 24, int columns = 80);
    // Kills the program if it still runs.
    ~TerminalRun();
    TerminalRun(const TerminalRun&) = delete;
    TerminalRun& operator=(const TerminalRun&) = delete;

    // Waits until `text` appears after the text waited for last, and moves
    // past it; false when it did not appear within `limit` (a "did not hang"
    // bound) or the program ended without showing it.
    bool WaitForText(
        const std::string& text, std::chrono::milliseconds limit = std::chrono::seconds(60));
    // Types `line` and Return.
    void Type(const std::string& line);
    // Ctrl-C or Ctrl-D at the terminal.
    void PressControl(char letter);
    // The program's exit status (or 128 + signal number), -1 when it did not
    // end within `limit`.
    int Wait(std::chrono::milliseconds limit = std::chrono::seconds(60));
    // Everything the program wrote so far.
    const std::string& Output() const { return fOutput; }
    // The output after the text waited for last.
    std::string Unread() const { return fOutput.substr(fMark); }

private:
    bool ReadSome(int timeoutMs);

    int fMaster = -1;
    int fPid = -1;
    int fStatus = -1;
    std::string fOutput;
    size_t fMark = 0;
};

// Path of a program built into build/bin.
std::string BinPath(const std::string& program);

// Path of a file or folder in the source tree.
std::string SourcePath(const std::string& relative);

std::string ReadFile(const std::filesystem::path& path);
void WriteFile(const std::filesystem::path& path, const std::string& contents);

// Links root/usr/lib/libc.so.6 to this system's C library, which the demo
// product requires.
void LinkSystemCLibrary(const std::filesystem::path& root);

// The paths of `paths` that lie inside no other one of them: what a removal
// that moves whole folders puts into the Trash as entries of their own.
std::set<std::string> OutermostPaths(const std::set<std::string>& paths);

// Runs `body` in a child process with a mount namespace of its own (an
// unprivileged user namespace where needed), so that what it mounts is seen
// only by it and the programs it starts. Answers what `body` returned (the
// problems it found, empty when all held), or nullopt where no such
// namespace can be had: the caller then skips.
std::optional<std::string> InPrivateMounts(const std::function<std::string()>& body);
// Inside InPrivateMounts: a fresh tmpfs of `bytes` at the folder `point`.
bool MountTmpfs(const std::filesystem::path& point, uintmax_t bytes, bool readOnly = false);

// Checks `condition` again and again until it holds; false when it still
// does not after `limit` (a "did not hang" bound, not a timing assertion).
bool WaitFor(const std::function<bool()>& condition,
    std::chrono::milliseconds limit = std::chrono::seconds(20));

} // namespace stowtest
