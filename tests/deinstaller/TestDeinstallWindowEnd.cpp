// The deinstaller's windows from the outside, as a user meets them: the demo
// product installed into a trial root, its placed deinstaller started on a
// private X server and worked with xdotool (Search, one file kept, Deinstall),
// then the Trash, the kept file and the start-up files looked at; and the
// base deinstaller, which carries no record, showing no window of its own.
#include "DeinstallHelpers.h"
#include "XvfbServer.h"

#include <set>
#include <sstream>
#include <unistd.h>

using namespace stowtest;
namespace fs = std::filesystem;

namespace {

// Where the windows' controls are, in points (the test runs at scale 1).
constexpr int kSearchX = 83 + 40, kSearchY = 276 + 10;
constexpr int kDeinstallX = 490 - 73 + 30, kDeinstallY = 230 - 37 + 10;
constexpr int kListTop = 10, kRowPitch = 19, kVisibleRows = 9;

bool Have(const char* program)
{
    return stowtest::Run({"/bin/sh", "-c", std::string("command -v ") + program}).exitCode == 0;
}

RunResult Xdotool(const std::vector<std::string>& arguments)
{
    std::vector<std::string> argv {"/usr/bin/timeout", "30", "xdotool"};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    return Run(argv);
}

// The window with this title once it shows, or "".
std::string WindowNamed(const std::string& title)
{
    RunResult found = Xdotool({"search", "--sync", "--onlyvisible", "--name", "^" + title + "$"});
    std::istringstream lines(found.out);
    std::string id;
    std::getline(lines, id);
    return found.exitCode == 0 ? id : "";
}

bool ClickAt(const std::string& window, int x, int y, bool control = false)
{
    std::vector<std::string> arguments {
        "mousemove", "--window", window, std::to_string(x), std::to_string(y)};
    if (control)
        arguments.insert(arguments.end(), {"keydown", "ctrl", "click", "1", "keyup", "ctrl"});
    else
        arguments.insert(arguments.end(), {"click", "1"});
    return Xdotool(arguments).exitCode == 0;
}

class DeinstallWindowEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string problem;
        if (!XvfbServer::Start(&problem) || !Have("xdotool"))
            GTEST_SKIP() << "needs Xvfb and xdotool: " << problem;
        fs::create_directories(root / "home/demo");
        fs::create_directories(root / "usr/lib");
        for (const char* libc : {"/lib/x86_64-linux-gnu/libc.so.6",
                 "/usr/lib/x86_64-linux-gnu/libc.so.6", "/lib64/libc.so.6", "/usr/lib/libc.so.6"}) {
            if (fs::exists(libc)) {
                fs::create_symlink(libc, root / "usr/lib/libc.so.6");
                break;
            }
        }
    }

    std::map<std::string, std::string> Environment() const
    {
        return {{"STOW_ROOT", root.string()}, {"HOME", "/home/demo"}, {"XDG_DATA_HOME", ""},
            {"XDG_CONFIG_HOME", ""}, {"STOW_SCALE", "1"}};
    }

    // Every entry of the trial root tagged by the demo product.
    std::set<std::string> Tagged() const
    {
        std::set<std::string> tagged;
        for (auto it = fs::recursive_directory_iterator(root); it != fs::end(it); ++it) {
            std::string relative = it->path().lexically_relative(root).string();
            if (relative.rfind("home/demo/.local/share/Trash", 0) == 0) {
                it.disable_recursion_pending();
                continue;
            }
            if (!TagOf(it->path()).empty())
                tagged.insert(relative);
        }
        return tagged;
    }

    TempDir temp;
    fs::path root = temp / "root";
    ScopedEnv stowRoot {"STOW_ROOT", root.string()};
    ScopedEnv home {"HOME", "/home/demo"};
    ScopedEnv data {"XDG_DATA_HOME", ""};
};

} // namespace

TEST_F(DeinstallWindowEnd, SearchKeepOneFileAndDeinstallIntoTheTrash)
{
    std::string installer = (temp / "stowdemo").string();
    ASSERT_EQ(stowtest::Run({BinPath("stowpack"), "build", SourcePath("samples/demo/product.json"),
                                "-o", installer, "--deinstaller", BinPath("Stowclear")})
                  .exitCode,
        0);
    RunResult installed = stowtest::Run(
        {installer, "--unattended", "--accept-license", "--all"}, {}, Environment());
    ASSERT_EQ(installed.exitCode, 0) << installed.err;
    std::set<std::string> tagged = Tagged();
    fs::path deinstaller = root / "opt/Stowdemo/Stowdemo 1.0 Deinstaller";
    ASSERT_TRUE(fs::exists(deinstaller));

    // The window lists what --list does, in the same order: keep the first
    // file among the rows in view.
    RunResult listed = stowtest::Run({deinstaller.string(), "--list"}, {}, Environment());
    ASSERT_EQ(listed.exitCode, 0) << listed.err;
    std::vector<std::string> rows;
    std::istringstream lines(listed.out);
    for (std::string line; std::getline(lines, line);)
        rows.push_back(line);
    int keptRow = -1;
    for (int i = 0; i < int(rows.size()) && i < kVisibleRows && keptRow < 0; ++i) {
        if (fs::is_regular_file(fs::symlink_status(rows[size_t(i)])))
            keptRow = i;
    }
    ASSERT_GE(keptRow, 0) << listed.out;
    fs::path kept = rows[size_t(keptRow)];

    TerminalRun program({deinstaller.string()}, Environment());
    std::string main = WindowNamed("Stowclear");
    ASSERT_FALSE(main.empty()) << program.Output();
    ASSERT_TRUE(ClickAt(main, kSearchX, kSearchY));
    std::string files = WindowNamed("Deinstall Items");
    ASSERT_FALSE(files.empty()) << program.Output();
    ASSERT_TRUE(ClickAt(files, 40, kListTop + kRowPitch * keptRow + kRowPitch / 2, true));
    ASSERT_TRUE(ClickAt(files, kDeinstallX, kDeinstallY));
    ASSERT_EQ(program.Wait(), 0) << program.Output();

    // Everything else went to the Trash, as entries a desktop restores.
    std::set<std::string> gone = tagged;
    std::string keptRelative = kept.lexically_relative(root).string();
    gone.erase(keptRelative);
    for (fs::path up = fs::path(keptRelative).parent_path(); !up.empty(); up = up.parent_path())
        gone.erase(up.string()); // a folder holding the kept file stays
    EXPECT_EQ(TrashedOriginals(root / "home/demo/.local/share/Trash", root), OutermostPaths(gone));
    EXPECT_TRUE(fs::exists(kept));
    EXPECT_EQ(TagOf(kept).empty(), false);
    for (const char* script : {"home/demo/.profile", "home/demo/.config/boot/UserBootscript",
             "home/demo/.config/boot/UserSetupEnvironment"}) {
        if (fs::exists(root / script)) {
            EXPECT_EQ(ReadFile(root / script).find("STOWDEMO"), std::string::npos) << script;
        }
    }
    if (Have("gio") && Have("dbus-run-session") && access("/usr/libexec/gvfsd-trash", X_OK) == 0) {
        fs::create_directories(temp / "run");
        fs::permissions(temp / "run", fs::perms::owner_all);
        RunResult trash
            = stowtest::Run({"/usr/bin/dbus-run-session", "--", "gio", "trash", "--list"}, {},
                {{"HOME", (root / "home/demo").string()},
                    {"XDG_DATA_HOME", (root / "home/demo/.local/share").string()},
                    {"XDG_RUNTIME_DIR", (temp / "run").string()}, {"STOW_ROOT", ""}});
        EXPECT_EQ(trash.exitCode, 0) << trash.err;
        for (const std::string& path : OutermostPaths(gone))
            EXPECT_NE(trash.out.find((root / path).string()), std::string::npos) << path;
    }
}

TEST_F(DeinstallWindowEnd, WithoutItsRecordOnlyTheAlertShows)
{
    TerminalRun program({BinPath("Stowclear")}, Environment());
    // The alert is the one window that shows; it has no title.
    RunResult shown = Xdotool({"search", "--sync", "--onlyvisible", "--class", "Stowfast"});
    ASSERT_EQ(shown.exitCode, 0);
    std::istringstream lines(shown.out);
    std::string alert;
    std::getline(lines, alert);
    EXPECT_EQ(Xdotool({"getwindowname", alert}).out, "\n");
    EXPECT_NE(Xdotool({"search", "--onlyvisible", "--name", "^Stowclear$"}).exitCode, 0);
    Xdotool({"windowfocus", "--sync", alert, "key", "Return"});
    EXPECT_EQ(program.Wait(), 5) << program.Output();
    EXPECT_NE(program.Output().find("Does not have resource 2002"), std::string::npos);
}
