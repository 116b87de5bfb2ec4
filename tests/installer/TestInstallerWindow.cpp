// The installer's window driven as a user drives it, on the test display:
// the license page, groups and their files, the totals, tips, the language
// menu, the folder panel and its check, volumes coming and going, and runs
// that end in either way.
#include "BApplication.h"
#include "BListView.h"
#include "BMenu.h"
#include "BMenuItem.h"
#include "BTextView.h"
#include "ByteProgressBar.h"
#include "InstallSession.h"
#include "InstallerWindowTrial.h"
#include "LibFilePanel.h"
#include "LibMenuField.h"
#include "LibVolumeMenu.h"
#include "TestApplication.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <thread>

using namespace stowtest;
namespace fs = std::filesystem;

namespace {

// Group descriptions of 10 and 8 bytes; a group without one. The file
// "manual" names its group in lower case, which is another group.
constexpr char kProduct[] = R"({
  "app_name": "Trial", "version": "2.5", "release_date": "1 May 2026",
  "company": "Tests", "support_email": "t@trial.example",
  "license": "Use it well.",
  "groups": [{"group_name": "Typical", "group_description": "0123456789"},
             {"group_name": "Documents", "group_description": "01234567"},
             {"group_name": "Bare"}],
  "install_instructions": [
    {"file_name": "payload/readme", "groups": ["Typical", "Documents"],
     "install_meta": {"destination": "User Selected"}},
    {"file_name": "payload/manual", "groups": ["typical"],
     "install_meta": {"destination": "User Selected"}},
    {"file_name": "payload/extra", "groups": ["Documents"],
     "install_meta": {"destination": "User Selected"}}
  ],
  "opt_created_folder": "Trial", "opt_default_folder": "User",
  "complete_comments": "Done."
})";
const std::vector<std::string> kPayload = {"readme", "manual", "extra"};

std::string Product(const std::string& changes)
{
    std::string json = kProduct;
    return json.insert(json.size() - 2, ",\n" + changes);
}

// The language menu's marked item.
std::string MarkedLanguage(WindowDriver& driver)
{
    std::string label;
    driver.Read([&](BWindow* window) {
        auto* field = static_cast<LibMenuField*>(window->FindView("options"));
        if (BMenuItem* marked = field->Menu()->FindMarked())
            label = marked->Label();
    });
    return label;
}

// What the window asked the application to play.
std::vector<BMessage> Sounds(InstallerWindowTrial& trial)
{
    trial.Application().Drain();
    std::vector<BMessage> sounds;
    for (const BMessage& message : trial.Application().received) {
        if (message.what == InstallerWin::kPlaySound)
            sounds.push_back(message);
    }
    return sounds;
}

const BMessage* Find(const std::vector<BMessage>& tips, bool show)
{
    for (const BMessage& tip : tips) {
        if (tip.HasBool("show") && tip.FindBool("show") == show)
            return &tip;
    }
    return nullptr;
}

} // namespace

// From the license page through the groups: what each state shows, the
// files a group selects (exactly by name), the tips of the groups and the
// language menu, which keeps the state's label.
TEST(InstallerWindow, LicensePageGroupsTipsAndLanguages)
{
    InstallerWindowTrial trial;
    trial.Build(kProduct, kPayload);
    trial.SetRecordInt32("STK:deinstaller_size", 411644);
    ASSERT_TRUE(trial.Show());
    WindowDriver& driver = trial.Driver();
    EXPECT_EQ(driver.Window()->Title(), std::string("Trial Installer"));
    EXPECT_TRUE(Sounds(trial).empty()) << "no sound to play";
    EXPECT_EQ(driver.Text("button"), "Agree");
    EXPECT_TRUE(driver.IsEnabled("button"));
    EXPECT_EQ(driver.Text("instruction"), "Read license and select the Agree button");
    EXPECT_EQ(driver.Text("license_text"), "Use it well.");
    EXPECT_TRUE(driver.IsHidden("install_box"));
    EXPECT_EQ(MarkedLanguage(driver), "English");

    // German has no text 1002: its box goes without a label.
    ASSERT_TRUE(driver.ChooseMenuItem("options", "German"));
    EXPECT_EQ(driver.Text("button"), "Zustimmen");
    EXPECT_EQ(driver.Text("install_box"), "");
    EXPECT_EQ(MarkedLanguage(driver), "Deutsch");
    ASSERT_TRUE(driver.ChooseMenuItem("options", "Englisch"));
    EXPECT_EQ(driver.Text("install_box"), "Installation");

    EXPECT_TRUE(driver.Click("button"));
    EXPECT_EQ(trial.Window()->State(), InstallerWin::kReady);
    EXPECT_FALSE(driver.IsHidden("install_box"));
    EXPECT_TRUE(driver.IsHidden("license_box"));
    EXPECT_EQ(driver.Text("button"), "Install");
    EXPECT_EQ(driver.Text("instruction"), "Select destination folder and press Install");
    EXPECT_EQ(trial.SelectedFiles(), std::vector<int32>({0}));
    // 411644 bytes of deinstaller and the readme's few.
    EXPECT_EQ(driver.Text("install_size"), "402.0 KB");

    EXPECT_TRUE(driver.SelectRow("install_type", 1));
    EXPECT_EQ(trial.SelectedFiles(), std::vector<int32>({0, 2}));
    driver.Read([](BWindow* window) {
        static_cast<BListView*>(window->FindView("custom_list"))->DeselectAll();
    });
    driver.Settle();
    EXPECT_EQ(driver.Text("install_size"), "402.0 KB");
    EXPECT_FALSE(driver.IsEnabled("button")) << "nothing to install";
    EXPECT_TRUE(driver.SelectRow("custom_list", 1));
    EXPECT_TRUE(driver.IsEnabled("button"));

    // Entering the list tells nothing yet; resting on a row does, in the
    // active window (the language menu had the focus last).
    trial.Window()->Activate();
    EXPECT_TRUE(WaitFor([&] {
        bool active = false;
        driver.Read([&](BWindow* window) { active = window->IsActive(); });
        return active;
    }));
    EXPECT_TRUE(driver.HoverRow("install_type", 0));
    trial.Tips();
    EXPECT_TRUE(driver.HoverRow("install_type", 0));
    std::vector<BMessage> tips = trial.Tips();
    const BMessage* shown = Find(tips, true);
    ASSERT_NE(shown, nullptr);
    EXPECT_STREQ(shown->FindString("tip"), "0123456789");
    EXPECT_EQ(shown->FindInt16("sdelay"), 0);
    EXPECT_EQ(shown->FindInt16("edelay"), 3);
    EXPECT_EQ(shown->FindInt32("width"), 160);
    EXPECT_TRUE(driver.HoverRow("install_type", 1));
    shown = Find(tips = trial.Tips(), true);
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->FindInt16("edelay"), 2);
    // A group without a description hides the tip: a message without fields.
    EXPECT_TRUE(driver.HoverRow("install_type", 2));
    tips = trial.Tips();
    ASSERT_EQ(tips.size(), 1u);
    EXPECT_TRUE(tips[0].IsEmpty());
    driver.MoveMouseOut();
    EXPECT_NE(Find(trial.Tips(), false), nullptr);
}

// Without a license the window opens ready; without groups nothing is
// selected and there is nothing to install. The record's sound goes to the
// application to be played.
TEST(InstallerWindow, NoLicenseAndNoGroups)
{
    InstallerWindowTrial trial;
    fs::create_directories(trial.Trial().Work() / "window");
    fs::copy_file(
        SourcePath("samples/demo/welcome.wav"), trial.Trial().Work() / "window/hello.wav");
    ASSERT_TRUE(trial.Open(R"({
      "app_name": "Bare", "version": "1", "release_date": "", "company": "", "support_email": "",
      "audio_file": "hello.wav",
      "install_instructions": [{"file_name": "payload/readme",
        "install_meta": {"destination": "User Selected"}}],
      "opt_created_folder": "Bare"
    })",
        {"readme"}));
    std::vector<BMessage> sounds = Sounds(trial);
    ASSERT_EQ(sounds.size(), 1u);
    BMessage sound;
    ASSERT_EQ(trial.Window()->Session().Record().FindMessage("audio_data", &sound), B_OK);
    sound.what = InstallerWin::kPlaySound;
    EXPECT_EQ(sounds[0].Flatten(), sound.Flatten());
    WindowDriver& driver = trial.Driver();
    EXPECT_EQ(trial.Window()->State(), InstallerWin::kReady);
    EXPECT_EQ(driver.Text("button"), "Install");
    EXPECT_EQ(driver.Text("instruction"), "Select destination folder and press Install");
    driver.Read([](BWindow* window) {
        EXPECT_EQ(static_cast<BListView*>(window->FindView("install_type"))->CountItems(), 0);
    });
    EXPECT_TRUE(trial.SelectedFiles().empty());
    EXPECT_FALSE(driver.IsEnabled("button"));
}

// The folder panel opens on the destination's folder; choosing a folder
// that holds the product folder asks, Cancel keeps the old destination and
// the panel, Replace takes the new one.
TEST(InstallerWindow, ChoosingAFolderThatHoldsTheProduct)
{
    InstallerWindowTrial trial;
    ASSERT_TRUE(trial.Open(kProduct, kPayload));
    WindowDriver& driver = trial.Driver();
    driver.Click("button");
    std::string before = trial.Window()->DestinationFolder();
    EXPECT_EQ(before, (trial.Trial().Home()).string());
    // The path is shortened at its start to fit.
    auto shows = [&](const std::string& path) {
        std::string text = driver.Text("destination");
        std::string tail = text.substr(text.find_last_of("\xa6") + 1);
        return !tail.empty() && path.size() >= tail.size()
            && path.compare(path.size() - tail.size(), tail.size(), tail) == 0;
    };
    EXPECT_TRUE(shows(before));
    fs::path chosen = trial.Trial().Root() / "Programs";
    fs::create_directories(chosen / "Trial");

    EXPECT_TRUE(driver.Click("folder"));
    LibFilePanel* panel = trial.Window()->FolderPanel();
    ASSERT_NE(panel, nullptr);
    WindowDriver inPanel(panel->Window());
    EXPECT_EQ(inPanel.Text("path"), (trial.Trial().Home().parent_path()).string());
    inPanel.Read([&](BWindow* window) {
        window->FindView("path")->MakeFocus(true);
        static_cast<BTextView*>(window->FindView("path"))->SetText(chosen.c_str());
    });
    inPanel.PressKey("\n");
    EXPECT_TRUE(inPanel.Click("open"));
    ASSERT_NE(WindowDriver::WaitForAlert(), nullptr);
    EXPECT_TRUE(WindowDriver::AnswerAlert("Cancel"));
    driver.Settle();
    EXPECT_EQ(std::string(trial.Window()->DestinationFolder()), before);
    EXPECT_TRUE(shows(before));
    EXPECT_TRUE(panel->IsShowing());

    EXPECT_TRUE(inPanel.Click("open"));
    EXPECT_TRUE(WindowDriver::AnswerAlert("Replace"));
    driver.Settle();
    EXPECT_EQ(std::string(trial.Window()->DestinationFolder()), chosen.string());
    EXPECT_TRUE(shows(chosen.string()));
    EXPECT_FALSE(shows(before));
    EXPECT_FALSE(panel->IsShowing());
}

// A run the requirements end with another status than 0 brings the window
// back to Install with the selection as it was, and says why; while it
// waits for its alert the language changes and Stop stays.
TEST(InstallerWindow, ARunThatFailsReturnsToInstall)
{
    InstallerWindowTrial trial;
    ASSERT_TRUE(
        trial.Open(Product(R"("req_disk_space_needed": true, "req_disk_space_required": true,
      "req_disk_space_amount": {"value": 1.0e15, "value_type": "kb  ", "value_conversion": 1024})"),
            kPayload));
    WindowDriver& driver = trial.Driver();
    driver.Click("button");
    EXPECT_TRUE(driver.SelectRow("install_type", 1));
    std::vector<int32> selection = trial.SelectedFiles();
    EXPECT_TRUE(driver.Click("button"));
    ASSERT_NE(WindowDriver::WaitForAlert(), nullptr) << "too little space";
    EXPECT_EQ(trial.Window()->State(), InstallerWin::kInstalling);
    EXPECT_FALSE(driver.IsEnabled("folder"));
    ASSERT_TRUE(driver.ChooseMenuItem("options", "German"));
    EXPECT_EQ(driver.Text("button"), "Stopp");
    ASSERT_TRUE(driver.ChooseMenuItem("options", "Englisch"));
    EXPECT_EQ(driver.Text("button"), "Stop");
    EXPECT_TRUE(WindowDriver::AnswerAlert("OK"));
    EXPECT_TRUE(WaitFor([&] {
        driver.Settle();
        return trial.Window()->State() == InstallerWin::kReady;
    }));
    EXPECT_EQ(driver.Text("button"), "Install");
    EXPECT_TRUE(driver.IsEnabled("folder"));
    EXPECT_EQ(trial.SelectedFiles(), selection);
    EXPECT_EQ(driver.Text("instruction"), "the destination volume has too little free space");
    EXPECT_EQ(trial.Application().quitRequests, 0);
}

// A completed run fills the byte bar and asks the application to quit.
TEST(InstallerWindow, ACompletedRunQuits)
{
    InstallerWindowTrial trial;
    ASSERT_TRUE(trial.Open(kProduct, kPayload));
    WindowDriver& driver = trial.Driver();
    driver.Click("button");
    EXPECT_TRUE(driver.Click("button"));
    EXPECT_FALSE(driver.IsHidden("progress"));
    EXPECT_TRUE(WindowDriver::AnswerAlert("OK")) << "the completion";
    EXPECT_TRUE(WaitFor([&] {
        trial.Application().Drain();
        return trial.Application().quitRequests == 1;
    }));
    float filled = 0;
    driver.Read([&](BWindow* window) {
        filled = static_cast<ByteProgressBar*>(window->FindView("progress"))->Fraction();
    });
    EXPECT_EQ(filled, 1);
    EXPECT_TRUE(fs::exists(trial.Trial().Home() / "Trial/readme"));
    EXPECT_FALSE(trial.Window()->Session().IsRunning());
}

// A volume mounted while the window is open joins the volume menu, and
// leaves it when unmounted.
TEST(InstallerWindow, AMountRefreshesTheVolumeMenu)
{
    if (be_app != nullptr)
        GTEST_SKIP() << "needs a process of its own (ctest runs each test alone)";
    TempDir temp;
    fs::path point = temp / "mnt";
    fs::create_directory(point);
    std::optional<std::string> problems = InPrivateMounts([&]() -> std::string {
        InstallerWindowTrial trial;
        if (!trial.Open(kProduct, kPayload))
            return "no window";
        auto count = [&] {
            long items = 0;
            trial.Driver().Read([&](BWindow* window) {
                items = static_cast<LibVolumeMenu*>(window->FindView("volume"))->CountItems();
            });
            return items;
        };
        long before = count();
        if (!MountTmpfs(point, 1 << 20))
            return "cannot mount";
        if (!WaitFor([&] { return count() == before + 1; }))
            return "the mount did not reach the menu";
        if (umount(point.c_str()) != 0)
            return "cannot unmount";
        if (!WaitFor([&] { return count() == before; }))
            return "the unmount did not reach the menu";
        return "";
    });
    if (!problems)
        GTEST_SKIP() << "no private mount namespace here";
    EXPECT_EQ(*problems, "");
}

// While the run asks whether to replace the user's file, the byte bar
// shows that file's bytes as arrived. Quitting then stops the run, says so, and leaves the
// user's file as it was and nothing half-written.
TEST(InstallerWindow, QuittingDuringARunStopsItAndSaysSo)
{
    InstallerWindowTrial trial;
    fs::path settings = trial.Trial().Home() / ".config/trial.conf";
    fs::create_directories(settings.parent_path());
    WriteFile(settings, "mine\n");
    ASSERT_TRUE(trial.Open(R"({
      "app_name": "Trial", "version": "2.5", "release_date": "", "company": "", "support_email": "",
      "groups": [{"group_name": "All"}],
      "install_instructions": [
        {"file_name": "payload/trial.conf", "groups": ["All"],
         "install_meta": {"destination": "User Settings", "destination_exists": "Prompt"}},
        {"file_name": "payload/readme", "groups": ["All"],
         "install_meta": {"destination": "User Selected"}}],
      "opt_created_folder": "Trial"
    })",
        {"trial.conf", "readme"}));
    WindowDriver& driver = trial.Driver();
    EXPECT_TRUE(driver.Click("button"));
    BWindow* question = WindowDriver::WaitForAlert();
    ASSERT_NE(question, nullptr) << "whether to replace the file";
    float filled = 0;
    EXPECT_TRUE(WaitFor([&] {
        driver.Read([&](BWindow* window) {
            filled = static_cast<ByteProgressBar*>(window->FindView("progress"))->Fraction();
        });
        return filled > 0;
    })) << "the bytes of the file in question";
    EXPECT_LT(filled, 1);
    std::thread quitting([&] { trial.Window()->QuitRunning(); });
    std::string text;
    EXPECT_TRUE(WaitFor([&] {
        BWindow* alert = WindowDriver::FindAlert();
        text = alert != nullptr && alert != question ? WindowDriver(alert).Text("alert_text") : "";
        return !text.empty();
    }));
    EXPECT_EQ(text, "Installation was stopped before it could complete.");
    EXPECT_TRUE(WindowDriver::AnswerAlert("OK"));
    quitting.join();
    EXPECT_FALSE(trial.Window()->Session().IsRunning());
    EXPECT_EQ(ReadFile(settings), "mine\n");
    for (auto it = fs::recursive_directory_iterator(trial.Trial().Root()); it != fs::end(it); ++it)
        EXPECT_NE(it->path().filename().string().rfind(".stow-", 0), 0u) << it->path();
}
