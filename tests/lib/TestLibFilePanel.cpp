#include "BEntry.h"
#include "BListView.h"
#include "BNode.h"
#include "BPath.h"
#include "BTextView.h"
#include "BWindow.h"
#include "FileTypes.h"
#include "Inbox.h"
#include "LibFilePanel.h"
#include "LibRefFilter.h"
#include "PanelEntryItem.h"
#include "TestApplication.h"
#include "TestSupport.h"
#include "WindowDriver.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

using stowtest::TempDir;

// What the panel would ask the filter about the entry at `path`.
bool Shows(LibRefFilter& filter, const std::string& path)
{
    struct stat info;
    if (lstat(path.c_str(), &info) != 0)
        return false;
    BEntry entry(path.c_str());
    entry_ref ref;
    entry.GetRef(&ref);
    BNode node(path.c_str());
    std::string type = S_ISLNK(info.st_mode) ? kSymLinkMimeType : detect_mime_type(path.c_str());
    return filter.Filter(&ref, &node, &info, type.c_str());
}

struct Tree {
    TempDir temp;
    std::string folder = temp.Str() + "/folder";
    std::string file = temp.Str() + "/file.txt";
    std::string toFolder = temp.Str() + "/to-folder";
    std::string toFile = temp.Str() + "/to-file";
    std::string dangling = temp.Str() + "/dangling";

    Tree()
    {
        std::filesystem::create_directory(folder);
        stowtest::WriteFile(file, "text");
        symlink(folder.c_str(), toFolder.c_str());
        symlink(file.c_str(), toFile.c_str());
        symlink((temp.Str() + "/gone").c_str(), dangling.c_str());
    }
};

} // namespace

TEST(LibRefFilter, TheThreeRules)
{
    Tree tree;
    LibRefFilter files;
    files.AllowAllFiles(true);
    EXPECT_TRUE(Shows(files, tree.file));
    EXPECT_FALSE(Shows(files, tree.folder)) << "plain files only";
    EXPECT_FALSE(Shows(files, tree.toFile)) << "links by their own type";

    LibRefFilter folders;
    folders.AddType(kDirectoryMimeType);
    folders.AddType(kVolumeMimeType);
    EXPECT_TRUE(Shows(folders, tree.folder));
    EXPECT_FALSE(Shows(folders, tree.file));
    EXPECT_TRUE(Shows(folders, "/"));
    EXPECT_TRUE(Shows(folders, tree.toFolder)) << "a link by its target's type";
    EXPECT_FALSE(Shows(folders, tree.toFile));
    EXPECT_FALSE(Shows(folders, tree.dangling));
    folders.AllowSoftLinks(false);
    EXPECT_FALSE(Shows(folders, tree.toFolder));
    folders.AddType(kSymLinkMimeType);
    EXPECT_TRUE(Shows(folders, tree.toFile)) << "the link type itself listed";

    LibRefFilter exact;
    exact.AddType("Application/x-vnd.Be-directory");
    exact.AddType("application/x-vnd.Be-dir");
    EXPECT_FALSE(Shows(exact, tree.folder)) << "whole, case-sensitive types";
}

namespace {

std::vector<std::string> Rows(stowtest::WindowDriver& driver)
{
    std::vector<std::string> rows;
    driver.Read([&](BWindow* window) {
        auto* list = static_cast<BListView*>(window->FindView("entries"));
        for (int32 i = 0; i < list->CountItems(); ++i)
            rows.push_back(static_cast<PanelEntryItem*>(list->ItemAt(i))->Entry().name);
    });
    return rows;
}

std::string PanelFolder(LibFilePanel& panel)
{
    entry_ref ref;
    panel.GetPanelDirectory(&ref);
    return BPath(&ref).Path();
}

void SetPathText(stowtest::WindowDriver& driver, const std::string& path)
{
    driver.Read([&](BWindow* window) {
        window->FindView("path")->MakeFocus(true);
        static_cast<BTextView*>(window->FindView("path"))->SetText(path.c_str());
    });
}

} // namespace

// A folder panel as both programs make theirs: folders and volumes only,
// links judged by where they lead, the marked format along with the choice.
TEST(LibFilePanel, ChoosesAdmittedFoldersWithTheMarkedFormat)
{
    std::string problem;
    ASSERT_TRUE(stowtest::TestApplication::Start(true, &problem)) << problem;
    Tree tree;
    std::string root = std::filesystem::canonical(tree.temp.Path()).string();
    stowtest::InboxPtr inbox = stowtest::MakeInbox();
    BMessenger target(inbox.get());
    LibFilePanel panel(B_OPEN_PANEL, &target, 'dest', B_DIRECTORY_NODE, false);
    panel.Filter().AddType(kDirectoryMimeType);
    panel.Filter().AddType(kVolumeMimeType);
    panel.AddFormatMenuItem("Plain", false);
    panel.AddFormatMenuItem("Zip", true);
    panel.SetPanelDirectory((root + "/file.txt").c_str(), true);
    panel.Show();
    stowtest::WindowDriver driver(panel.Window());
    driver.Settle();
    EXPECT_EQ(Rows(driver), (std::vector<std::string> {"folder", "to-folder"}));

    // A typed link to a file leads out of what the panel admits: nothing.
    SetPathText(driver, root + "/to-file");
    driver.PressKey("\n");
    EXPECT_EQ(inbox->Drain(), 0u);

    SetPathText(driver, root);
    ASSERT_TRUE(driver.SelectRow("entries", 0));
    ASSERT_TRUE(driver.Click("open"));
    ASSERT_EQ(inbox->Drain(), 1u);
    const BMessage& chosen = inbox->received[0];
    EXPECT_EQ(chosen.what, uint32('dest'));
    EXPECT_STREQ(chosen.FindString("marked"), "Zip");
    entry_ref ref;
    ASSERT_EQ(chosen.FindRef("refs", &ref), B_OK);
    EXPECT_EQ(std::string(BPath(&ref).Path()), root + "/folder");
    EXPECT_TRUE(panel.IsShowing()) << "the panel stays up when done";

    // Another panel without formats sends no "marked"; it reopens where
    // the first one was, at its place and size.
    panel.SetPanelDirectory((root + "/folder").c_str(), false);
    lib_panel_state state;
    panel.GetState(state);
    LibFilePanel other(B_OPEN_PANEL, &target, 'dest', B_DIRECTORY_NODE, false);
    other.SetState(state);
    EXPECT_EQ(PanelFolder(other), root + "/folder");
    EXPECT_EQ(other.Window()->Frame(), state.frame);
    other.SetToParentDirectory();
    EXPECT_EQ(PanelFolder(other), root);
    BMessage plain('dest');
    other.SendMessage(&target, &plain);
    inbox->Drain();
    EXPECT_FALSE(inbox->received.back().HasString("marked"));
}
