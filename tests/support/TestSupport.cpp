#include "TestSupport.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <pty.h>
#include <sched.h>
#include <signal.h>
#include <sstream>
#include <stdexcept>
#include <sys/mount.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace stowtest {

TempDir::TempDir()
    : TempDir([] {
        const char* base = getenv("TMPDIR");
        return std::string(base && *base ? base : "/tmp");
    }())
{ }

TempDir::TempDir(const std::string& base)
{
    std::string pattern = base + "/stowtest-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (mkdtemp(buffer.data()) == nullptr)
        throw std::runtime_error("mkdtemp failed");
    fPath = buffer.data();
}

TempDir::~TempDir()
{
    std::error_code ignored;
    // Tests may leave read-only folders behind; make them writable first.
    for (auto it = std::filesystem::recursive_directory_iterator(fPath, ignored);
         it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
        if (it->is_directory(ignored) && !it->is_symlink(ignored))
            std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                std::filesystem::perm_options::add, ignored);
    }
    std::filesystem::remove_all(fPath, ignored);
}

ScopedEnv::ScopedEnv(const char* name, const std::string& value)
    : fName(name)
{
    const char* old = getenv(name);
    fHadValue = old != nullptr;
    if (old)
        fOldValue = old;
    setenv(name, value.c_str(), 1);
}

ScopedEnv::~ScopedEnv()
{
    if (fHadValue)
        setenv(fName.c_str(), fOldValue.c_str(), 1);
    else
        unsetenv(fName.c_str());
}

namespace {

std::vector<std::string> MergedEnvironment(const std::map<std::string, std::string>& extra)
{
    std::map<std::string, std::string> merged;
    for (char** entry = environ; *entry; ++entry) {
        std::string text = *entry;
        size_t equal = text.find('=');
        if (equal != std::string::npos)
            merged[text.substr(0, equal)] = text.substr(equal + 1);
    }
    for (const auto& [name, value] : extra)
        merged[name] = value;
    std::vector<std::string> result;
    for (const auto& [name, value] : merged)
        result.push_back(name + "=" + value);
    return result;
}

std::vector<char*> Pointers(std::vector<std::string>& strings)
{
    std::vector<char*> result;
    for (auto& s : strings)
        result.push_back(s.data());
    result.push_back(nullptr);
    return result;
}

// Feeds stdin and drains stdout and stderr together so that no pipe fills up.
void Pump(int in, const std::string& input, int out, int err, RunResult& result)
{
    size_t written = 0;
    if (input.empty()) {
        close(in);
        in = -1;
    }
    while (out >= 0 || err >= 0) {
        pollfd fds[3] = {{out, POLLIN, 0}, {err, POLLIN, 0}, {in, POLLOUT, 0}};
        if (poll(fds, 3, -1) < 0)
            break;
        char buffer[65536];
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR)))
                continue;
            ssize_t got = read(fds[i].fd, buffer, sizeof buffer);
            if (got <= 0) {
                close(fds[i].fd);
                (i == 0 ? out : err) = -1;
            } else {
                (i == 0 ? result.out : result.err).append(buffer, size_t(got));
            }
        }
        if (in >= 0 && (fds[2].revents & (POLLOUT | POLLERR | POLLHUP))) {
            ssize_t put = write(in, input.data() + written, input.size() - written);
            if (put > 0)
                written += size_t(put);
            if (put <= 0 || written == input.size()) {
                close(in);
                in = -1;
            }
        }
    }
    if (in >= 0)
        close(in);
}

} // namespace

RunResult Run(const std::vector<std::string>& argv, const std::string& stdinText,
    const std::map<std::string, std::string>& env)
{
    RunResult result;
    int inPipe[2], outPipe[2], errPipe[2];
    if (pipe2(inPipe, O_CLOEXEC) || pipe2(outPipe, O_CLOEXEC) || pipe2(errPipe, O_CLOEXEC))
        throw std::runtime_error("pipe failed");
    std::vector<std::string> args = argv;
    std::vector<std::string> environment = MergedEnvironment(env);
    std::vector<char*> argp = Pointers(args);
    std::vector<char*> envp = Pointers(environment);

    pid_t child = fork();
    if (child == 0) {
        dup2(inPipe[0], 0);
        dup2(outPipe[1], 1);
        dup2(errPipe[1], 2);
        execve(argp[0], argp.data(), envp.data());
        _exit(127);
    }
    close(inPipe[0]);
    close(outPipe[1]);
    close(errPipe[1]);
    signal(SIGPIPE, SIG_IGN);
    Pump(inPipe[1], stdinText, outPipe[0], errPipe[0], result);
    int status = 0;
    waitpid(child, &status, 0);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return result;
}

TerminalRun::TerminalRun(const std::vector<std::string>& argv,
    const std::map<std::string, std::string>& env, int rows, int columns)
{
    std::vector<std::string> args = argv;
    std::vector<std::string> environment = MergedEnvironment(env);
    std::vector<char*> argp = Pointers(args);
    std::vector<char*> envp = Pointers(environment);
    struct winsize size = {};
    size.ws_row = (unsigned short)rows;
    size.ws_col = (unsigned short)columns;
    pid_t child = forkpty(&fMaster, nullptr, nullptr, &size);
    if (child < 0)
        throw std::runtime_error("forkpty failed");
    if (child == 0) {
        execve(argp[0], argp.data(), envp.data());
        _exit(127);
    }
    fPid = child;
    fcntl(fMaster, F_SETFL, fcntl(fMaster, F_GETFL) | O_NONBLOCK);
}

TerminalRun::~TerminalRun()
{
    if (fPid > 0 && fStatus < 0) {
        kill(fPid, SIGKILL);
        waitpid(fPid, nullptr, 0);
    }
    if (fMaster >= 0)
        close(fMaster);
}

bool TerminalRun::ReadSome(int timeoutMs)
{
    pollfd poller = {fMaster, POLLIN, 0};
    if (poll(&poller, 1, timeoutMs) <= 0)
        return true; // nothing yet
    char buffer[4096];
    ssize_t got = read(fMaster, buffer, sizeof buffer);
    if (got > 0) {
        fOutput.append(buffer, size_t(got));
        return true;
    }
    // EIO: the program closed its side of the terminal.
    return got < 0 && errno == EAGAIN;
}

bool TerminalRun::WaitForText(const std::string& text, std::chrono::milliseconds limit)
{
    auto deadline = std::chrono::steady_clock::now() + limit;
    while (true) {
        size_t at = fOutput.find(text, fMark);
        if (at != std::string::npos) {
            fMark = at + text.size();
            return true;
        }
        if (std::chrono::steady_clock::now() > deadline || !ReadSome(50))
            return false;
    }
}

void TerminalRun::Type(const std::string& line)
{
    std::string keys = line + "\r";
    (void)!write(fMaster, keys.data(), keys.size());
}

void TerminalRun::PressControl(char letter)
{
    char key = char(letter & 0x1f);
    (void)!write(fMaster, &key, 1);
}

int TerminalRun::Wait(std::chrono::milliseconds limit)
{
    auto deadline = std::chrono::steady_clock::now() + limit;
    while (fStatus < 0) {
        int status = 0;
        pid_t done = waitpid(fPid, &status, WNOHANG);
        if (done == fPid) {
            fStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            break;
        }
        if (std::chrono::steady_clock::now() > deadline)
            return -1;
        // Drain the terminal meanwhile, so that the program never blocks on it.
        if (!ReadSome(50))
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    // What it wrote last may still wait in the terminal.
    size_t before;
    do {
        before = fOutput.size();
    } while (ReadSome(0) && fOutput.size() != before);
    return fStatus;
}

std::string BinPath(const std::string& program)
{
    const char* dir = getenv("STOW_BIN_DIR");
    return std::string(dir && *dir ? dir : STOW_BIN_DIR) + "/" + program;
}

std::string SourcePath(const std::string& relative)
{
    return std::string(STOW_SOURCE_DIR) + "/" + relative;
}

std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream contents;
    contents << in.rdbuf();
    return contents.str();
}

void WriteFile(const std::filesystem::path& path, const std::string& contents)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << contents;
}

void LinkSystemCLibrary(const std::filesystem::path& root)
{
    std::filesystem::create_directories(root / "usr/lib");
    for (const char* libc : {"/lib/x86_64-linux-gnu/libc.so.6",
             "/usr/lib/x86_64-linux-gnu/libc.so.6", "/lib64/libc.so.6", "/usr/lib/libc.so.6"}) {
        if (std::filesystem::exists(libc)) {
            std::filesystem::create_symlink(libc, root / "usr/lib/libc.so.6");
            return;
        }
    }
}

std::set<std::string> OutermostPaths(const std::set<std::string>& paths)
{
    std::set<std::string> outermost;
    for (const std::string& path : paths) {
        bool inside = false;
        for (size_t slash = path.find('/'); slash != std::string::npos && !inside;
             slash = path.find('/', slash + 1))
            inside = slash > 0 && paths.count(path.substr(0, slash)) != 0;
        if (!inside)
            outermost.insert(path);
    }
    return outermost;
}

std::optional<std::string> InPrivateMounts(const std::function<std::string()>& body)
{
    constexpr int kNoNamespace = 77;
    int answer[2];
    if (pipe2(answer, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe failed");
    pid_t child = fork();
    if (child < 0)
        throw std::runtime_error("fork failed");
    if (child == 0) {
        close(answer[0]);
        uid_t uid = getuid();
        gid_t gid = getgid();
        if (unshare(CLONE_NEWNS) != 0) {
            if (unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0)
                _exit(kNoNamespace);
            WriteFile("/proc/self/setgroups", "deny");
            WriteFile("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1");
            WriteFile("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1");
        }
        if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            _exit(kNoNamespace);
        std::string problems = body();
        (void)!write(answer[1], problems.data(), problems.size());
        _exit(0);
    }
    close(answer[1]);
    std::string problems;
    char buffer[4096];
    for (ssize_t got; (got = read(answer[0], buffer, sizeof buffer)) != 0;) {
        if (got > 0)
            problems.append(buffer, size_t(got));
        else if (errno != EINTR)
            break;
    }
    close(answer[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (WIFEXITED(status) && WEXITSTATUS(status) == kNoNamespace)
        return std::nullopt;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        problems += "the child with the private mounts ended abnormally";
    return problems;
}

bool MountTmpfs(const std::filesystem::path& point, uintmax_t bytes, bool readOnly)
{
    std::string size = "size=" + std::to_string(bytes);
    return mount("stowtest", point.c_str(), "tmpfs", readOnly ? MS_RDONLY : 0, size.c_str()) == 0;
}

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds limit)
{
    auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return true;
}

} // namespace stowtest
