// The deinstaller's two windows under a private X server, driven by their
// views' names as a user would: searching, stopping and searching again, the
// removal window filled and refilled, the selection buttons, what stays when
// a folder still holds a kept file, the count-down in the main window, the
// collision question, and a window closed during the removal.
#include "AlertService.h"
#include "AppDefs.h"
#include "BButton.h"
#include "BResources.h"
#include "BStatusBar.h"
#include "BTextView.h"
#include "DeinstallFilesWin.h"
#include "DeinstallHelpers.h"
#include "DeinstallerWin.h"
#include "LibVolumeMenu.h"
#include "ReplaceAlert.h"
#include "RunningExecutable.h"
#include "ScriptedPresenter.h"
#include "TestApplication.h"
#include "WindowDriver.h"

#include <sched.h>
#include <sys/mount.h>

using namespace stowtest;
namespace fs = std::filesystem;

namespace {

// Stands in for the application: keeps the request to end the program
// (with its exit status) instead of quitting.
class QuitCatcher : public Inbox {
public:
    bool QuitRequested() override
    {
        received.push_back(*CurrentMessage());
        return false;
    }
};

class DeinstallerWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string problem;
        ASSERT_TRUE(TestApplication::Start(true, &problem)) << problem;
        AlertService::Default().ClearAnswers();
        program = MakeDeinstaller(work.Path());
        set_running_executable_path(program.c_str());
        profile = box.Make("home/tester/.profile", "#BEGIN_DEMO\nexport DEMO=1\n#END_DEMO\n");
        bool loaded = false;
        TestApplication::Call([&] {
            window = new DeinstallerWin;
            window->SetQuitTarget(BMessenger(inbox.get()));
            window->Run();
            loaded = window->Load();
            window->Show();
        });
        ASSERT_TRUE(loaded);
        main = std::make_unique<WindowDriver>(window);
        main->Settle();
    }
    void TearDown() override
    {
        if (window != nullptr) {
            window->Lock();
            window->Quit();
        }
        set_running_executable_path(nullptr);
    }

    // Presses Search and waits until the search has ended: the removal
    // window shows its rows, or the alert that nothing was found is up.
    void Search()
    {
        ASSERT_TRUE(main->Click("search_btn"));
        ASSERT_TRUE(WaitFor([&] {
            main->Settle();
            return main->Text("search_btn") == "Search"
                && (WindowDriver::FindAlert() != nullptr
                    || (window->FilesWindow() != nullptr && !window->FilesWindow()->IsHidden()));
        }));
        files = std::make_unique<WindowDriver>(window->FilesWindow());
    }
    // The rows of the removal window, by their paths.
    int32 Row(const fs::path& path)
    {
        int32 row = -1;
        TestApplication::Call([&] {
            for (int32 i = 0; i < window->Session().CountFound(); ++i) {
                if (path == window->Session().FoundAt(i))
                    row = i;
            }
        });
        return row;
    }
    // Presses Deinstall and waits for the program's end; its exit status.
    int32 Deinstall()
    {
        EXPECT_TRUE(files->Click("deinstall"));
        EXPECT_TRUE(WaitFor([&] { return inbox->Drain() > 0; }));
        main->Settle();
        return inbox->received.empty() ? -1 : inbox->received.back().FindInt32("exit");
    }

    Sandbox box;
    TempDir work;
    fs::path program;
    fs::path profile;
    std::unique_ptr<QuitCatcher, InboxCloser> inbox {new QuitCatcher};
    DeinstallerWin* window = nullptr;
    std::unique_ptr<WindowDriver> main;
    std::unique_ptr<WindowDriver> files;
};

} // namespace

TEST_F(DeinstallerWindowTest, SearchStopSearchAgainAndTheSameRemovalWindowRefilled)
{
    EXPECT_EQ(main->Text("search_btn"), "Search");
    EXPECT_TRUE(main->Status("status_bar").label.empty()) << "no labels before a search";
    Search();
    ASSERT_TRUE(WindowDriver::AnswerAlert("OK")) << "nothing was found";
    EXPECT_EQ(window->FilesWindow(), nullptr);

    Tag(box.Make("opt/demo/one"));
    Tag(box.Make("opt/demo/two"));

    // Search then Stop in one go: the button and the disk menu come back,
    // and the bar keeps what it showed; a new search resets it.
    TestApplication::Call([&] {
        window->Lock();
        window->ButtonPressed();
        EXPECT_TRUE(window->Session().IsSearching());
        EXPECT_EQ(
            std::string(dynamic_cast<BButton*>(window->FindView("search_btn"))->Label()), "Stop");
        EXPECT_FALSE(
            dynamic_cast<LibVolumeMenu*>(window->FindView("volume"))->MenuField()->IsEnabled());
        auto* bar = dynamic_cast<BStatusBar*>(window->FindView("status_bar"));
        EXPECT_STREQ(bar->Label(), ".../");
        EXPECT_STREQ(bar->TrailingLabel(), " found");
        EXPECT_EQ(bar->CurrentValue(), 0.0f);
        bar->Update(5, "opt", "1");
        window->ButtonPressed();
        EXPECT_FALSE(window->Session().IsSearching());
        EXPECT_EQ(bar->CurrentValue(), 5.0f);
        window->ButtonPressed();
        EXPECT_EQ(bar->CurrentValue(), 0.0f);
        EXPECT_STREQ(bar->Text(), "");
        window->ButtonPressed();
        window->Unlock();
    });
    main->Settle();
    EXPECT_EQ(main->Text("search_btn"), "Search");
    TestApplication::Call([&] {
        EXPECT_TRUE(
            dynamic_cast<LibVolumeMenu*>(window->FindView("volume"))->MenuField()->IsEnabled());
    });
    EXPECT_EQ(window->FilesWindow(), nullptr) << "a stopped search shows nothing";

    Search();
    WindowDriver::StatusValues status = main->Status("status_bar");
    EXPECT_EQ(status.value, status.max) << "the bar is full at the end";
    EXPECT_EQ(status.trailingText, "2");
    DeinstallFilesWin* first = window->FilesWindow();
    EXPECT_EQ(files->Selection("list"), (std::vector<int32> {0, 1}));
    // The Trash by default, its path shortened at the start to fit.
    std::string shown = files->Text("destination_path");
    EXPECT_EQ(shown.rfind("\xe2\x80\xa6", 0), 0u) << shown;
    EXPECT_TRUE(box.Trash().string().ends_with(shown.substr(3))) << shown;

    Tag(box.Make("opt/demo/three"));
    Search();
    EXPECT_EQ(window->FilesWindow(), first);
    EXPECT_EQ(files->Selection("list"), (std::vector<int32> {0, 1, 2}));
}

TEST_F(DeinstallerWindowTest, SelectionButtonsAndAFolderThatStillHoldsAKeptFile)
{
    fs::path folder = box.Folder("opt/demo");
    Tag(folder);
    Tag(box.Make("opt/demo/gone"));
    fs::path kept = box.Make("opt/demo/kept");
    Tag(kept);
    Search();
    ASSERT_EQ(files->Selection("list").size(), 3u);

    ASSERT_TRUE(files->Click("none"));
    EXPECT_TRUE(files->Selection("list").empty());
    EXPECT_FALSE(files->IsEnabled("deinstall"));
    ASSERT_TRUE(files->Click("all"));
    EXPECT_EQ(files->Selection("list").size(), 3u);
    EXPECT_TRUE(files->IsEnabled("deinstall"));

    ASSERT_TRUE(files->SelectRow("list", Row(kept), true));
    EXPECT_EQ(files->Selection("list").size(), 2u);
    EXPECT_EQ(Deinstall(), 0);
    EXPECT_TRUE(window->FilesWindow()->IsHidden());
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_TRUE(fs::exists(kept));
    EXPECT_FALSE(fs::exists(folder / "gone"));
    EXPECT_TRUE(fs::exists(box.Trash() / "files/gone"));
    EXPECT_EQ(ReadFile(profile).find("DEMO"), std::string::npos);
}

TEST_F(DeinstallerWindowTest, TheBarCountsTheSelectedEntriesDownToEmpty)
{
    for (const char* name : {"opt/a", "opt/b", "opt/c", "opt/d"})
        Tag(box.Make(name));
    Search();
    int32 keptRow = Row(box.temp / "opt/b");
    ASSERT_TRUE(files->SelectRow("list", keptRow, true));
    // The removal works from the last row to the first.
    fs::path last = window->Session().FoundAt(keptRow == 0 ? 1 : 0);
    EXPECT_EQ(Deinstall(), 0);
    WindowDriver::StatusValues status = main->Status("status_bar");
    EXPECT_EQ(status.max, 3.0f) << "'slmt' carried the selected count";
    EXPECT_EQ(status.value, 0.0f);
    EXPECT_EQ(status.trailingText, "1");
    EXPECT_EQ(status.text, last.filename().string());
    EXPECT_TRUE(fs::exists(box.temp / "opt/b"));
}

TEST_F(DeinstallerWindowTest, ReplaceForAllFutureCollisionsIsAskedOnce)
{
    Tag(box.Make("opt/one", "new 1"));
    Tag(box.Make("opt/two", "new 2"));
    fs::path to = box.Folder("old");
    box.Make("old/one", "mine 1");
    box.Make("old/two", "mine 2");
    Search();
    // The folder chosen in the panel the folder button opens.
    ASSERT_TRUE(files->Click("folder"));
    BWindow* chooser = WindowDriver::FindWindow("Open");
    ASSERT_NE(chooser, nullptr);
    WindowDriver panel(chooser);
    panel.Read([&](BWindow* w) {
        auto* path = static_cast<BTextView*>(w->FindView("path"));
        path->MakeFocus(true);
        path->SetText(to.c_str());
    });
    panel.PressKey("\n");
    ASSERT_TRUE(panel.Click("open"));
    files->Settle();
    EXPECT_STREQ(window->Session().MovePath(), to.c_str());
    std::string shown = files->Text("destination_path");
    EXPECT_TRUE(to.string().ends_with(shown.substr(shown.rfind("\xe2\x80\xa6", 0) == 0 ? 3 : 0)))
        << shown;

    ScopedPresenter alerts;
    alerts.presenter->reply = {ReplaceAlert::kReplaceButton, true};
    EXPECT_EQ(Deinstall(), 0);
    ASSERT_EQ(alerts.presenter->asked.size(), 1u);
    EXPECT_EQ(alerts.presenter->asked[0].purpose, ReplaceAlert::kPurpose);
    EXPECT_EQ(ReadFile(to / "one"), "new 1");
    EXPECT_EQ(ReadFile(to / "two"), "new 2");
}

TEST_F(DeinstallerWindowTest, ClosingTheWindowDuringTheRemovalStopsItAndKeepsTheScripts)
{
    Tag(box.Make("opt/one", "new 1"));
    Tag(box.Make("opt/two", "new 2"));
    fs::path to = box.Folder("old");
    box.Make("old/one", "mine 1");
    box.Make("old/two", "mine 2");
    Search();
    TestApplication::Call([&] { ASSERT_TRUE(window->Session().SetMovePath(to.c_str())); });

    // The collision question holds the removal on its first entry; the
    // close box is pressed meanwhile.
    ASSERT_TRUE(files->Click("deinstall"));
    ASSERT_NE(WindowDriver::WaitForAlert(), nullptr);
    window->PostMessage(B_QUIT_REQUESTED);
    main->Settle();
    EXPECT_FALSE(window->IsHidden()) << "the window waits for the removal to stop";
    ASSERT_TRUE(WindowDriver::AnswerAlert("Don't Replace"));
    ASSERT_TRUE(WaitFor([&] { return inbox->Drain() > 0; }));
    EXPECT_EQ(inbox->received.back().FindInt32("exit"), 130);
    EXPECT_EQ(int(fs::exists(box.temp / "opt/one")) + int(fs::exists(box.temp / "opt/two")), 1);
    EXPECT_NE(ReadFile(profile).find("#BEGIN_DEMO"), std::string::npos);
}

TEST(DeinstallerWindow, WithoutItsRecordTheWindowNeverShows)
{
    std::string problem;
    ASSERT_TRUE(TestApplication::Start(true, &problem)) << problem;
    ScopedPresenter alerts;
    DeinstallerWin* window = nullptr;
    bool loaded = true;
    TestApplication::Call([&] {
        window = new DeinstallerWin;
        window->Run();
        BResources none;
        loaded = window->Load(none);
    });
    EXPECT_FALSE(loaded);
    ASSERT_EQ(alerts.presenter->asked.size(), 1u);
    EXPECT_NE(alerts.presenter->asked[0].text.find("not been configured"), std::string::npos);
    EXPECT_TRUE(window->IsHidden());
    window->Lock();
    window->Quit();
}

// The mount happens in a private mount namespace of a child run of this
// test, while the window is open.
TEST(DeinstallerWindow, AVolumeMountedMeanwhileJoinsTheDiskMenu)
{
    if (getenv("STOW_DEINSTALL_MOUNT_CHILD") == nullptr) {
        RunResult run = stowtest::Run(
            {"/proc/self/exe",
                "--gtest_filter=DeinstallerWindow.AVolumeMountedMeanwhileJoinsTheDiskMenu"},
            {}, {{"STOW_DEINSTALL_MOUNT_CHILD", "1"}});
        if (run.exitCode == 0 && run.out.find("[  SKIPPED ]") != std::string::npos)
            GTEST_SKIP() << "no permission to mount in a private namespace";
        EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
        return;
    }
    if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr))
        GTEST_SKIP();
    std::string problem;
    ASSERT_TRUE(TestApplication::Start(true, &problem)) << problem;
    TempDir temp;
    std::string point = (temp / "stick").string();
    fs::create_directory(point);
    DeinstallerWin* window = nullptr;
    TestApplication::Call([&] {
        window = new DeinstallerWin;
        window->Run();
    });
    auto listed = [&] {
        bool in = false;
        TestApplication::Call([&] {
            in = dynamic_cast<LibVolumeMenu*>(window->FindView("volume"))->InMenu(point.c_str());
        });
        return in;
    };
    EXPECT_FALSE(listed());
    if (mount("stowtest", point.c_str(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP();
    EXPECT_TRUE(WaitFor(listed));
    umount(point.c_str());
    EXPECT_TRUE(WaitFor([&] { return !listed(); }));
    window->Lock();
    window->Quit();
}
