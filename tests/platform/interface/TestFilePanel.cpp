// The file panel worked as a user works it: going into folders, typing a
// path, choosing; its filter decides what shows and where links may lead.
#include "BFilePanel.h"
#include "BListView.h"
#include "BPath.h"
#include "BRefFilter.h"
#include "BTextView.h"
#include "FileTypes.h"
#include "PanelEntryItem.h"
#include "WindowDriver.h"
#include "WindowTestSupport.h"

#include <cstring>
#include <filesystem>

using namespace stowtest;
namespace fs = std::filesystem;

namespace {

// Folders inside one tree only.
class TreeFilter : public BRefFilter {
public:
    explicit TreeFilter(std::string root)
        : fRoot(std::move(root))
    { }
    bool Filter(const entry_ref* ref, BNode*, struct stat* info, const char* type) override
    {
        BPath path(ref);
        bool inside = std::string(path.Path()).rfind(fRoot, 0) == 0;
        bool folder = strcmp(type, kDirectoryMimeType) == 0 || strcmp(type, kSymLinkMimeType) == 0;
        return inside && folder && info != nullptr;
    }

private:
    std::string fRoot;
};

std::vector<std::string> Rows(WindowDriver& driver)
{
    std::vector<std::string> rows;
    driver.Read([&](BWindow* window) {
        auto* list = static_cast<BListView*>(window->FindView("entries"));
        for (int32 i = 0; i < list->CountItems(); ++i)
            rows.push_back(static_cast<PanelEntryItem*>(list->ItemAt(i))->Entry().name);
    });
    return rows;
}

} // namespace

TEST(FilePanel, ChoosesFoldersTheFilterAdmitsAndNothingElse)
{
    StartWithDisplay();
    TempDir temp;
    std::string root = fs::canonical(temp.Path()).string();
    fs::create_directories(root + "/alpha/deeper");
    WriteFile(root + "/beta.txt", "text");
    fs::create_directory_symlink(root + "/alpha", root + "/inside");
    fs::create_directory_symlink("/usr", root + "/outside");

    auto* owner = new RecordingWindow(BRect(20, 20, 119, 69), "Owner");
    owner->Run();
    TreeFilter filter(root);
    BMessenger target(owner);
    BMessage pick('pick');
    BFilePanel panel(B_OPEN_PANEL, &target, nullptr, B_DIRECTORY_NODE, false, &pick, &filter);
    panel.SetPanelDirectory(root.c_str());
    panel.Show();
    WindowDriver driver(panel.Window());
    driver.Settle();
    EXPECT_TRUE(panel.IsShowing());

    // The file and the link out of the tree are not listed.
    EXPECT_EQ(Rows(driver), std::vector<std::string>({"alpha", "inside"}));

    // A typed path through the outside link leads nowhere; a typed folder
    // of the tree is gone into.
    driver.Read([&](BWindow* w) { w->FindView("path")->MakeFocus(true); });
    driver.Read([&](BWindow* w) {
        static_cast<BTextView*>(w->FindView("path"))->SetText((root + "/outside").c_str());
    });
    driver.PressKey("\n");
    EXPECT_EQ(owner->Count('pick'), 0);
    EXPECT_EQ(Rows(driver), std::vector<std::string>({"alpha", "inside"}));
    driver.Read([&](BWindow* w) {
        static_cast<BTextView*>(w->FindView("path"))->SetText((root + "/alpha").c_str());
    });
    driver.PressKey("\n");
    EXPECT_EQ(driver.Text("path"), root + "/alpha");
    EXPECT_EQ(Rows(driver), std::vector<std::string>({"deeper"}));

    // Open with no row chosen picks the folder shown.
    EXPECT_TRUE(driver.Click("open"));
    EXPECT_EQ(owner->Count('pick'), 1);
    entry_ref ref;
    ASSERT_EQ(owner->Last('pick').FindRef("refs", &ref), B_OK);
    EXPECT_EQ(std::string(BPath(&ref).Path()), root + "/alpha");
    panel.Rewind();
    ASSERT_EQ(panel.GetNextSelectedRef(&ref), B_OK);
    EXPECT_EQ(std::string(BPath(&ref).Path()), root + "/alpha");
    EXPECT_EQ(panel.GetNextSelectedRef(&ref), B_ENTRY_NOT_FOUND);
    EXPECT_FALSE(panel.IsShowing());

    // A double click goes into a folder; Cancel says so to the target.
    panel.SetPanelDirectory(root.c_str());
    panel.Show();
    EXPECT_TRUE(driver.SelectRow("entries", 1));
    EXPECT_TRUE(driver.Click("entries", BPoint(30, 27), 2));
    EXPECT_EQ(Rows(driver), std::vector<std::string>({"deeper"}));
    EXPECT_TRUE(driver.Click("cancel"));
    EXPECT_EQ(owner->Count(B_CANCEL), 1);
    EXPECT_EQ(owner->Last(B_CANCEL).FindInt32("old_what"), int32('pick'));
    owner->Lock();
    owner->Quit();
}
