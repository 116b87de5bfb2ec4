#include "InstallRunSupport.h"

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace fs = std::filesystem;

namespace stowtest {

InstallTrial::InstallTrial()
    : fRoot(fTemp.Path() / "root")
{
    fs::create_directories(Home());
    fs::create_directories(Work());
}

std::map<std::string, std::string> TrialEnvironment(const fs::path& root)
{
    // No display: the programs run from their command line, never in a window.
    return {{"STOW_ROOT", root.string()}, {"HOME", "/home/tester"}, {"XDG_CONFIG_HOME", ""},
        {"XDG_DATA_HOME", ""}, {"XDG_DESKTOP_DIR", ""}, {"LIBRARY_PATH", ""},
        {"LD_LIBRARY_PATH", ""}, {"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}};
}

std::string InstallTrial::Build(
    const std::string& name, const std::string& json, const std::string& deinstaller)
{
    fs::path folder = Work() / name;
    fs::create_directories(folder);
    WriteFile(folder / "product.json", json);
    std::string installer = (Work() / (name + "-installer")).string();
    // A small program with the deinstaller's string tables stands in for
    // it: the run only places it and writes the record into it.
    const fs::path standIn = Work() / "stand-in-deinstaller";
    if (!fs::exists(standIn)) {
        fs::copy_file("/bin/true", standIn);
        Run({BinPath("stowres"), "strings", standIn.string(), SourcePath("deinstaller/strings")});
    }
    RunResult built = Run({BinPath("stowpack"), "build", (folder / "product.json").string(), "-o",
        installer, "--deinstaller", deinstaller.empty() ? standIn.string() : deinstaller});
    EXPECT_EQ(built.exitCode, 0) << built.err;
    return installer;
}

RunResult InstallTrial::Install(
    const std::string& installer, const std::vector<std::string>& args) const
{
    std::vector<std::string> argv {installer};
    argv.insert(argv.end(), args.begin(), args.end());
    return Run(argv, {}, TrialEnvironment(fRoot));
}

std::vector<std::string> InstallTrial::RootListing() const
{
    std::vector<std::string> paths;
    for (const auto& entry : fs::recursive_directory_iterator(fRoot))
        paths.push_back(fs::relative(entry.path(), fRoot).string());
    std::sort(paths.begin(), paths.end());
    return paths;
}

void PutPayload(const fs::path& path, const std::string& contents, int64_t modified)
{
    fs::create_directories(path.parent_path());
    WriteFile(path, contents);
    struct timespec times[2] = {{modified, 0}, {modified, 0}};
    utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW);
}

int64_t ModifiedTime(const fs::path& path)
{
    struct stat info;
    return lstat(path.c_str(), &info) == 0 ? int64_t(info.st_mtim.tv_sec) : -1;
}

std::string TagOf(const fs::path& path)
{
    RunResult got = Run({"/usr/bin/getfattr", "--only-values", "-n", "user.InstallBy", path});
    return got.exitCode == 0 ? got.out : "";
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

ChildRun RunChild(const std::vector<std::string>& argv,
    const std::map<std::string, std::string>& env, const fs::path& logPath,
    const std::function<bool()>& stopWhen)
{
    std::vector<std::string> environment;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        std::string text = *entry;
        if (env.count(text.substr(0, text.find('='))) == 0)
            environment.push_back(text);
    }
    for (const auto& [name, value] : env)
        environment.push_back(name + "=" + value);
    std::vector<char*> args, envp;
    std::vector<std::string> argvCopy = argv;
    for (std::string& arg : argvCopy)
        args.push_back(arg.data());
    args.push_back(nullptr);
    for (std::string& entry : environment)
        envp.push_back(entry.data());
    envp.push_back(nullptr);

    ChildRun result;
    pid_t child = fork();
    if (child == 0) {
        int log = open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int none = open("/dev/null", O_RDONLY);
        dup2(none, 0);
        dup2(log, 1);
        dup2(log, 2);
        execve(args[0], args.data(), envp.data());
        _exit(127);
    }
    auto signalled = std::chrono::steady_clock::time_point();
    if (stopWhen) {
        auto ended = [child] {
            siginfo_t info = {};
            return waitid(P_PID, id_t(child), &info, WEXITED | WNOHANG | WNOWAIT) == 0
                && info.si_pid != 0;
        };
        bool ready = WaitFor([&] { return stopWhen() || ended(); });
        EXPECT_TRUE(ready) << "the run never reached the point to stop it";
        signalled = std::chrono::steady_clock::now();
        kill(child, SIGINT);
    }
    int status = 0;
    struct rusage usage = {};
    wait4(child, &status, 0, &usage);
    if (stopWhen) {
        result.secondsAfterSignal
            = std::chrono::duration<double>(std::chrono::steady_clock::now() - signalled).count();
    }
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.peakKilobytes = usage.ru_maxrss;
    return result;
}

} // namespace stowtest
