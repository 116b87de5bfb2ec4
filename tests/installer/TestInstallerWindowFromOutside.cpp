// The demo installer's window worked from outside as a user works it: the
// built installer started on a private X server, found by its title, and
// clicked and typed into with xdotool (real X input). What it places is
// compared with the unattended install of the same choice; a window closed
// while the run waits on a question leaves nothing half-written.
#include "TestSupport.h"
#include "TrialSnapshot.h"
#include "XvfbServer.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace stowtest;
namespace fs = std::filesystem;

namespace {

RunResult Xdotool(const std::vector<std::string>& arguments)
{
    std::vector<std::string> argv = {"/usr/bin/timeout", "20", "xdotool"};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    return stowtest::Run(argv);
}

std::vector<std::string> VisibleWindows(const std::string& name)
{
    RunResult found = Xdotool({"search", "--onlyvisible", "--name", name});
    std::vector<std::string> windows;
    std::string line;
    for (char c : found.out) {
        if (c != '\n') {
            line += c;
        } else if (!line.empty()) {
            windows.push_back(line);
            line.clear();
        }
    }
    return windows;
}

// Points of the installer's window at scale 1 (docs/installer-window.md).
struct Point {
    int x, y;
};
constexpr Point kMainButton = {377, 236};
constexpr Point kTypicalRow = {200, 46};
constexpr Point kDocumentsRow = {200, 64};
constexpr Point kFolderButton = {422, 179};
constexpr Point kPanelPath = {240, 37};

class Installer {
public:
    Installer(const std::string& program, const fs::path& root)
    {
        fPid = fork();
        if (fPid != 0)
            return;
        setenv("STOW_ROOT", root.c_str(), 1);
        setenv("HOME", "/home/demo", 1);
        setenv("XDG_CONFIG_HOME", "", 1);
        setenv("XDG_DATA_HOME", "", 1);
        setenv("STOW_SCALE", "1", 1);
        // It loads the window module it carries.
        unsetenv("STOW_INTERFACE_MODULE");
        int null = open("/dev/null", O_RDWR);
        dup2(null, 0);
        execl(program.c_str(), program.c_str(), nullptr);
        _exit(127);
    }
    ~Installer()
    {
        if (fPid > 0 && waitpid(fPid, nullptr, WNOHANG) == 0) {
            kill(fPid, SIGKILL);
            waitpid(fPid, nullptr, 0);
        }
    }
    // The exit status, or -1 when it did not end within 30 s.
    int Wait()
    {
        int status = 0;
        bool ended = WaitFor(
            [&] { return waitpid(fPid, &status, WNOHANG) == fPid; }, std::chrono::seconds(30));
        if (!ended)
            return -1;
        fPid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t fPid = -1;
};

class WindowFromOutside : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string problem;
        ASSERT_TRUE(XvfbServer::Start(&problem)) << problem;
        ASSERT_EQ(stowtest::Run({"/bin/sh", "-c", "command -v xdotool"}).exitCode, 0)
            << "xdotool is missing (scripts/install-deps installs it)";
        for (const fs::path& root : {fRoot, fOtherRoot}) {
            fs::create_directories(root / "home/demo/Apps");
            fs::create_directories(root / "opt");
            LinkSystemCLibrary(root);
        }
        RunResult built
            = stowtest::Run({BinPath("stowpack"), "build", SourcePath("samples/demo/product.json"),
                "-o", fInstaller, "--deinstaller", BinPath("Stowclear")});
        ASSERT_EQ(built.exitCode, 0) << built.err;
    }

    // The installer's window, once it shows.
    std::string FindWindow()
    {
        RunResult found = Xdotool({"search", "--sync", "--onlyvisible", "--name", kTitle});
        EXPECT_EQ(found.exitCode, 0) << found.err;
        std::string window = found.out.substr(0, found.out.find('\n'));
        fSeen.insert(window);
        return window;
    }

    // The window of a second installer of the same title, once it shows.
    std::string FindSecondWindow()
    {
        std::string second;
        WaitFor([&] {
            for (const std::string& window : VisibleWindows(kTitle)) {
                if (fSeen.count(window) == 0)
                    second = window;
            }
            return !second.empty();
        });
        fSeen.insert(second);
        return second;
    }

    void Click(const std::string& window, Point point)
    {
        // Without --sync, which waits for a motion that a pointer already
        // there never makes.
        EXPECT_EQ(Xdotool({"mousemove", "--window", window, std::to_string(point.x),
                              std::to_string(point.y), "click", "1"})
                      .exitCode,
            0);
    }

    // Keys as a keyboard types them, into the window that has the focus.
    void Keys(const std::string& window, const std::vector<std::string>& keys)
    {
        std::vector<std::string> arguments = {"windowfocus", "--sync", window, "key"};
        arguments.insert(arguments.end(), keys.begin(), keys.end());
        EXPECT_EQ(Xdotool(arguments).exitCode, 0);
    }

    // An alert is any window not seen before that shows (the screen's own
    // window aside); X gives each a new number.
    std::string WaitForAlert()
    {
        std::string screen = Xdotool({"getdisplaygeometry"}).out;
        screen = "Geometry: " + screen.substr(0, screen.find(' ')) + "x";
        std::string alert;
        WaitFor([&] {
            for (const std::string& window : VisibleWindows(".*")) {
                if (fSeen.count(window) != 0)
                    continue;
                if (Xdotool({"getwindowgeometry", window}).out.find(screen) == std::string::npos)
                    alert = window;
            }
            return !alert.empty();
        });
        fSeen.insert(alert);
        return alert;
    }

    // Presses the alert's default button (its first here: Later, OK).
    void AnswerAlert()
    {
        std::string alert = WaitForAlert();
        ASSERT_FALSE(alert.empty()) << "no alert showed";
        Keys(alert, {"Return"});
    }

    static constexpr const char* kTitle = "Stowdemo Installer";
    TempDir fTemp;
    fs::path fRoot = fTemp / "root";
    fs::path fOtherRoot = fTemp / "other";
    std::string fInstaller = (fTemp / kTitle).string();
    std::set<std::string> fSeen;
};

} // namespace

// Agree, a group, a destination typed into the folder panel, Install, the
// run's questions answered: then everything is placed, tagged and logged
// as the unattended install of the same group into the same folder.
TEST_F(WindowFromOutside, InstalledAsTheUnattendedInstallWould)
{
    Installer installer(fInstaller, fRoot);
    std::string window = FindWindow();
    ASSERT_FALSE(window.empty());
    Click(window, kMainButton); // Agree
    Click(window, kDocumentsRow);
    Click(window, kTypicalRow);
    Click(window, kFolderButton);
    RunResult panel = Xdotool({"search", "--sync", "--onlyvisible", "--name", "^Open$"});
    ASSERT_EQ(panel.exitCode, 0) << panel.err;
    std::string panelWindow = panel.out.substr(0, panel.out.find('\n'));
    Click(panelWindow, kPanelPath);
    Keys(panelWindow, {"End", "shift+Home"});
    EXPECT_EQ(Xdotool({"type", (fRoot / "home/demo/Apps").string()}).exitCode, 0);
    // Into the folder, then Open takes the folder shown.
    Keys(panelWindow, {"Return"});
    Keys(panelWindow, {"Return"});
    EXPECT_TRUE(WaitFor([&] { return VisibleWindows("^Open$").empty(); })) << "the panel stays";
    Click(window, kMainButton); // Install
    AnswerAlert();              // run the welcome script later
    AnswerAlert();              // the completion
    ASSERT_EQ(installer.Wait(), 0);

    RunResult unattended
        = stowtest::Run({fInstaller, "--unattended", "--accept-license", "--group", "Typical",
                            "--dest", (fOtherRoot / "home/demo/Apps").string()},
            {},
            {{"STOW_ROOT", fOtherRoot.string()}, {"HOME", "/home/demo"}, {"XDG_CONFIG_HOME", ""},
                {"XDG_DATA_HOME", ""}, {"DISPLAY", ""}});
    ASSERT_EQ(unattended.exitCode, 0) << unattended.err;
    std::map<std::string, std::string> installed = RootSnapshot(fRoot);
    EXPECT_EQ(installed, RootSnapshot(fOtherRoot));
    std::set<std::string> tagged = TaggedPaths(installed);
    EXPECT_TRUE(tagged.count("home/demo/Apps/Stowdemo/welcome.sh"));
    EXPECT_TRUE(tagged.count("home/demo/.local/share/stowdemo/bin/stowdemo"));
    EXPECT_NE(installed["home/demo/Apps/Stowdemo/Log"].find("Installing : welcome.sh"),
        std::string::npos);
}

// While the run asks whether to replace the user's settings file, a second
// start of the installer cannot run beside it. Closed then, the run stops,
// the user is told, and what had not arrived left nothing behind; the
// settings file is the user's own still.
TEST_F(WindowFromOutside, ClosedWhileTheRunAsksLeavesNothingHalfWritten)
{
    fs::path settings = fRoot / "home/demo/.config/stowdemo.conf";
    fs::create_directories(settings.parent_path());
    WriteFile(settings, "greeting = mine\n");
    Installer installer(fInstaller, fRoot);
    std::string window = FindWindow();
    ASSERT_FALSE(window.empty());
    Click(window, kMainButton); // Agree
    Click(window, kMainButton); // Install
    std::string question = WaitForAlert();
    ASSERT_FALSE(question.empty()) << "the collision question";

    // A second start of the same installer meanwhile: its run refuses to
    // start beside the first one's and says so; the window stays.
    {
        Installer second(fInstaller, fRoot);
        std::string secondWindow = FindSecondWindow();
        ASSERT_FALSE(secondWindow.empty());
        Click(secondWindow, kMainButton); // Agree
        AnswerAlert();                    // the product folder exists
        Click(secondWindow, kMainButton); // Install
        AnswerAlert();                    // an installation runs there
        Keys(secondWindow, {"ctrl+q"});
        EXPECT_EQ(second.Wait(), 0);
    }
    // Ctrl+Q closes the window as its close box does.
    Keys(window, {"ctrl+q"});
    AnswerAlert(); // "Installation was stopped before it could complete."
    ASSERT_EQ(installer.Wait(), 0);
    EXPECT_EQ(ReadFile(settings), "greeting = mine\n");
    for (auto it = fs::recursive_directory_iterator(fRoot); it != fs::end(it); ++it)
        EXPECT_NE(it->path().filename().string().rfind(".stow-", 0), 0u) << it->path();
    EXPECT_TRUE(fs::exists(fRoot / "opt/Stowdemo/README.txt")) << "placed before the question";
    EXPECT_FALSE(fs::exists(fRoot / "opt/Stowdemo/welcome.sh")) << "after it";
}

// The installer program without a product: the window says it was
// improperly built, and the program ends with status 5.
TEST_F(WindowFromOutside, WithoutARecordTheInstallerSaysSoAndEnds)
{
    fs::path bare = fTemp / "Bare";
    fs::copy_file(BinPath("Stowfast"), bare);
    Installer installer(bare.string(), fRoot);
    AnswerAlert(); // "Error obtaining configuration in installer. ..."
    EXPECT_EQ(installer.Wait(), 5);
}
