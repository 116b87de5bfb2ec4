#include "BMenu.h"
#include "BMenuItem.h"
#include "BVolume.h"
#include "BVolumeRoster.h"
#include "LibMenuButton.h"
#include "LibMenuField.h"
#include "LibVolumeMenu.h"
#include "LibWindow.h"
#include "TestApplication.h"
#include "TestSupport.h"
#include "WindowDriver.h"
#include "oMenuItem.h"

#include <gtest/gtest.h>
#include <memory>
#include <mutex>
#include <sched.h>
#include <sys/mount.h>

namespace {

using stowtest::TestApplication;

constexpr uint32 kChosen = 'chos';

std::vector<std::string> Labels(const LibMenuField& field)
{
    std::vector<std::string> labels;
    for (long i = 0; i < field.CountItems(); ++i)
        labels.push_back(field.ItemAt(i)->Label());
    return labels;
}

// A window holding one menu field "field" that keeps what its items send.
class FieldWindow : public LibWindow {
public:
    FieldWindow()
        : LibWindow(BRect(100, 100, 399, 199), "menus", B_TITLED_WINDOW_LOOK, B_NORMAL_WINDOW_FEEL,
            B_NOT_RESIZABLE, B_CURRENT_WORKSPACE)
        , field(new LibMenuField(BRect(10, 10, 200, 35), "field", 0, true))
    {
        AddChild(field);
    }
    void MessageReceived(BMessage* message) override
    {
        if (message->what == kChosen) {
            std::lock_guard<std::mutex> hold(lock);
            chosen.push_back(message->FindString("label"));
            return;
        }
        LibWindow::MessageReceived(message);
    }
    std::vector<std::string> Chosen()
    {
        std::lock_guard<std::mutex> hold(lock);
        std::vector<std::string> taken;
        taken.swap(chosen);
        return taken;
    }

    LibMenuField* field;
    std::mutex lock;
    std::vector<std::string> chosen;
};

BMessage* Chosen(const char* label)
{
    auto* message = new BMessage(kChosen);
    message->AddString("label", label);
    return message;
}

} // namespace

TEST(LibMenuField, ItemsMarksAndLookups)
{
    LibMenuField radio(BRect(0, 0, 100, 20), "radio", 0, true);
    radio.Add("one", nullptr, -1);
    radio.Add("zero", nullptr, 0);
    radio.AddSeparatorItem();
    radio.Add("two", nullptr, 99);
    EXPECT_EQ(Labels(radio), (std::vector<std::string> {"zero", "one", "", "two"}));
    EXPECT_STREQ(radio.Text(), "one") << "the first item added to a radio menu is marked";
    radio.SetText("two");
    EXPECT_EQ(radio.CurrentSelection(), 3);
    EXPECT_FALSE(radio.IsMarked("one"));
    radio.SetText("none");
    EXPECT_STREQ(radio.Text(), "two");
    EXPECT_EQ(radio.IndexOf("one"), 1);
    EXPECT_EQ(radio.IndexOf("three"), -1);
    EXPECT_EQ(radio.ItemAt(7), nullptr);

    radio.Replace("one", "uno");
    EXPECT_TRUE(radio.InMenu("uno"));
    std::unique_ptr<BMenuItem> removed(radio.RemoveItem("uno"));
    ASSERT_NE(removed, nullptr);
    EXPECT_EQ(radio.CountItems(), 3);
    EXPECT_EQ(radio.RemoveItem(10L), nullptr);

    BMessage strings;
    radio.SetTo(strings, "volume", kChosen);
    EXPECT_EQ(radio.CountItems(), 3) << "no such field: no change";
    strings.AddString("volume", "a");
    strings.AddString("volume", "two");
    strings.AddString("volume", "c");
    radio.SetTo(strings, "volume", kChosen);
    EXPECT_EQ(Labels(radio), (std::vector<std::string> {"a", "two", "c"}));
    EXPECT_STREQ(radio.Text(), "two");
    EXPECT_EQ(radio.ItemAt(2L)->Message()->what, kChosen);
    radio.SetTo(strings, "volume", 0);
    EXPECT_EQ(radio.ItemAt(0L)->Message(), nullptr);

    radio.SetEnableItem(0L, false);
    radio.SetEnableItem("two", false);
    radio.SetItem(0L);
    radio.MarkFirstEnabled();
    EXPECT_STREQ(radio.Text(), "c");
    radio.SetEnableAll(true);
    EXPECT_TRUE(radio.IsItemEnabled("a") && radio.IsItemEnabled(1L));

    LibMenuField plain(BRect(0, 0, 100, 20), "plain", 12, false);
    plain.Add("x", nullptr, -1);
    plain.Add("y", nullptr, -1);
    EXPECT_STREQ(plain.Text(), "") << "nothing is marked outside radio mode";
    plain.ToggleMarked("y");
    plain.SetMarked("x", true);
    EXPECT_TRUE(plain.IsMarked("x") && plain.IsMarked("y"));
    plain.Clear();
    EXPECT_EQ(plain.CountItems(), 0);
}

TEST(LibMenuField, StandardFoldersAndEncodings)
{
    LibMenuField folders(BRect(0, 0, 100, 20), "folders", 0, true);
    folders.AddStdFolders(false, 'fold');
    std::vector<std::string> labels = Labels(folders);
    ASSERT_EQ(labels.size(), 5u + 1 + 19 + 1 + 12);
    EXPECT_EQ(labels[0], "Desktop");
    EXPECT_EQ(labels[1], "Trash");
    EXPECT_EQ(labels[5], "");
    EXPECT_EQ(labels[6], "Common");
    EXPECT_EQ(labels[25], "");
    EXPECT_EQ(labels[26], "User");
    LibMenuField all(BRect(0, 0, 100, 20), "all", 0, true);
    all.AddStdFolders(true, 'fold');
    EXPECT_EQ(all.CountItems(), 5 + 1 + 15 + 1 + 19 + 1 + 12);
    EXPECT_STREQ(all.ItemAt(6L)->Label(), "BeOS");

    LibMenuField encodings(BRect(0, 0, 100, 20), "encodings", 0, false);
    encodings.AddEncodingChoices('enco');
    ASSERT_EQ(encodings.CountItems(), 21);
    EXPECT_STREQ(encodings.ItemAt(20L)->Label(), "(Latin 9)");
    EXPECT_EQ(encodings.CurrentEncodingSelected(), 0) << "nothing marked reads as Latin 1";
    encodings.SetEncodingSelection(13);
    EXPECT_STREQ(encodings.Text(), "Japanese Industrial Standard");
    EXPECT_EQ(encodings.CurrentSelection(), 11);
    EXPECT_EQ(encodings.CurrentEncodingSelected(), 13);
}

TEST(LibMenuField, ArrowKeysWrapRoundPassSeparatorsAndSend)
{
    std::string problem;
    ASSERT_TRUE(TestApplication::Start(true, &problem)) << problem;
    auto* window = new FieldWindow;
    LibMenuField* field = window->field;
    field->AddSeparatorItem();
    for (const char* label : {"first", "second"})
        field->Add(label, Chosen(label), -1);
    field->AddSeparatorItem();
    field->Add("last", Chosen("last"), -1);
    field->SetText("last");
    window->Show();
    stowtest::WindowDriver driver(window);
    driver.Read([&](BWindow*) { field->MakeFocus(true); });

    const char down[] = {char(B_DOWN_ARROW), 0}, up[] = {char(B_UP_ARROW), 0};
    const char home[] = {char(B_HOME), 0}, end[] = {char(B_END), 0};
    driver.PressKey(down);
    driver.Read([&](BWindow*) { EXPECT_STREQ(field->Text(), "first"); });
    driver.PressKey(up);
    driver.PressKey(up);
    driver.PressKey(end);
    driver.PressKey(home);
    driver.PressKey(down);
    driver.Settle();
    EXPECT_EQ(window->Chosen(),
        (std::vector<std::string> {"first", "last", "second", "last", "first", "second"}));

    field->Add("silent", nullptr, -1);
    driver.PressKey(end);
    driver.Read([&](BWindow*) { EXPECT_STREQ(field->Text(), "silent"); });
    EXPECT_TRUE(window->Chosen().empty()) << "an item without a message sends nothing";
    window->Lock();
    window->Quit();
}

TEST(LibMenuButton, LabelMenuAndBitmaps)
{
    LibMenuButton button(BPoint(10, 20), "volume", "Disk", 40, 130, B_FOLLOW_NONE, 0, true);
    EXPECT_EQ(button.Frame(), BRect(10, 20, 180, 45));
    LibMenuField* field = button.MenuField();
    ASSERT_EQ(button.FindView("menu"), field);
    EXPECT_EQ(field->Frame(), BRect(37, 0, 167, 25));
    button.AddItem("one");
    button.AddItem(LibString("two"));
    button.SetText(LibString("two"));
    EXPECT_STREQ(button.Text(), "two");
    EXPECT_EQ(button.CountItems(), 2);
    button.SetEnabled(false);
    EXPECT_FALSE(field->IsEnabled());
    EXPECT_FALSE(button.IsItemEnabled(0L));
    button.SetEnabled(true);

    field->SetBitmap("two", "folder");
    auto* item = dynamic_cast<oMenuItem*>(field->ItemAt(1L));
    ASSERT_NE(item, nullptr);
    ASSERT_NE(item->Bitmap(), nullptr);
    field->SetBitmap("two", nullptr);
    EXPECT_EQ(item->Bitmap(), nullptr);
    field->SetBitmap("one", "no such bitmap");
    EXPECT_EQ(dynamic_cast<oMenuItem*>(field->ItemAt(0L))->Bitmap(), nullptr);
}

// Mounting a volume rebuilds the menu and the choice stays marked. The
// mounts happen in a private mount namespace of a child run of this test.
TEST(LibVolumeMenu, KeepsItsChoiceAcrossAMount)
{
    if (getenv("STOW_VOLUME_MENU_CHILD") == nullptr) {
        stowtest::RunResult run = stowtest::Run(
            {"/proc/self/exe", "--gtest_filter=LibVolumeMenu.KeepsItsChoiceAcrossAMount"}, {},
            {{"STOW_VOLUME_MENU_CHILD", "1"}});
        if (run.exitCode == 0 && run.out.find("[  SKIPPED ]") != std::string::npos)
            GTEST_SKIP() << "no permission to mount in a private namespace";
        EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
        return;
    }
    if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr))
        GTEST_SKIP();
    stowtest::TempDir temp;
    std::string first = (temp / "first").string(), second = (temp / "second").string();
    std::filesystem::create_directory(first);
    std::filesystem::create_directory(second);
    if (mount("stowtest", first.c_str(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP();

    LibVolumeMenu menu(BPoint(0, 0), "volume", 'vol ', 40);
    menu.Update();
    BVolume boot;
    BVolumeRoster().GetBootVolume(&boot);
    ASSERT_GE(menu.CountItems(), 2);
    EXPECT_STREQ(menu.MenuField()->ItemAt(0L)->Label(), boot.Name());
    EXPECT_STREQ(menu.Text(), boot.Name());
    ASSERT_TRUE(menu.InMenu(first.c_str()));
    menu.SetText(first.c_str());

    ASSERT_EQ(mount("stowtest", second.c_str(), "tmpfs", MS_RDONLY, "size=64k"), 0);
    menu.Update();
    EXPECT_STREQ(menu.Text(), first.c_str());
    EXPECT_TRUE(menu.IsItemEnabled(first.c_str()) || !BVolume().KnowsAttr());
    ASSERT_TRUE(menu.InMenu(second.c_str()));
    EXPECT_FALSE(menu.IsItemEnabled(second.c_str())) << "read-only volumes are not allowed";
    menu.AllowReadOnly(true);
    menu.OnlyBeOS(false);
    menu.Update();
    EXPECT_TRUE(menu.IsItemEnabled(second.c_str()));
    BVolume current;
    ASSERT_TRUE(menu.GetCurrentVolume(current));
    EXPECT_STREQ(current.MountPoint(), first.c_str());

    ASSERT_EQ(umount(first.c_str()), 0);
    menu.Update();
    EXPECT_FALSE(menu.InMenu(first.c_str()));
    EXPECT_STREQ(menu.Text(), boot.Name()) << "a choice that went leaves the boot volume marked";
    EXPECT_TRUE(menu.IsItemEnabled(0L));
    umount(second.c_str());
}
