// The removal: files first, then emptied folders, into the Trash or a chosen
// folder; collisions asked, kept or replaced without losing anything the
// user did not choose to lose; entries changed since the search left alone;
// the product's script sections removed.
#include "AlertService.h"
#include "BPath.h"
#include "BVolumeRoster.h"
#include "DeinstallHelpers.h"
#include "DeinstallProgress.h"
#include "DeinstallRemoval.h"
#include "EditScriptFile.h"
#include "ReplaceAlert.h"
#include "ScriptedPresenter.h"
#include "SubtreeSurvey.h"

#include <cstdio>
#include <set>
#include <tuple>

using namespace stowtest;
namespace fs = std::filesystem;

namespace {

class DeinstallRemovalTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        AlertService::Default().ClearAnswers();
        AlertService::Default().SetMode(AlertMode::Interactive);
    }

    // Searches the trial root and removes what it found (all selected
    // unless `deselect` names some) into `to`, or the Trash.
    RemovalCounts SearchAndRemove(
        const std::string& to = "", const std::vector<fs::path>& deselect = {})
    {
        BVolume volume;
        BVolumeRoster().GetBootVolume(&volume);
        DeinstallSearch search(volume);
        search.SetKey(kKey.c_str());
        EXPECT_EQ(search.Go("search", nullptr, 10, true), B_OK);
        changeAfterSearch();
        DeinstallRemoval removal {BMessenger(inbox.get())};
        removal.SetPaths(search.Found(), search.FoundNodes());
        removal.SetKey(kKey.c_str());
        removal.SetUserScripts(scriptTag, scriptTag, scriptTag);
        removal.SetMovePath(to.c_str());
        for (int32 i = 0; i < removal.CountItems(); ++i) {
            for (const fs::path& path : deselect) {
                if (path == removal.PathAt(i))
                    removal.SetSelected(i, false);
            }
        }
        if (stopAfter >= 0) {
            removal.SetStopCheck([this] { return stopAfter-- == 0; });
        }
        RemovalCounts counts = removal.DeinstallFiles();
        inbox->Drain();
        return counts;
    }

    Sandbox box;
    ScopedPresenter alerts;
    std::shared_ptr<ScriptedPresenter> answers = alerts.presenter;
    InboxPtr inbox = MakeInbox(1000);
    std::function<void()> changeAfterSearch = [] {};
    LibString scriptTag {""};
    int stopAfter = -1; // entries moved before the stop check says stop
};

} // namespace

TEST_F(DeinstallRemovalTest, WholeFoldersThenFilesThenEmptiedFoldersGoToTheTrash)
{
    for (const char* folder : {"opt/demo", "opt/demo/doc", "opt/demo/doc/deep", "usr/shared"})
        Tag(box.Folder(folder));
    for (const char* file : {"opt/demo/bin", "opt/demo/doc/a", "opt/demo/doc/deep/b",
             "usr/shared/lib", "usr/kept/skipped"})
        Tag(box.Make(file));
    box.Make("usr/shared/notes.txt", "the user's"); // never installed
    Tag(box.Folder("usr/kept"));
    fs::create_symlink("../opt/demo/bin", box.temp / "usr/demo-link");
    Tag(box.temp / "usr/demo-link");

    RemovalCounts counts = SearchAndRemove("", {box.temp / "usr/kept/skipped"});
    EXPECT_EQ(counts.moved, 8); // the six entries of opt/demo together
    EXPECT_EQ(counts.kept, 2);  // usr/shared and usr/kept still hold files
    EXPECT_EQ(counts.failed, 0);
    EXPECT_FALSE(fs::exists(box.temp / "opt/demo"));
    EXPECT_FALSE(fs::exists(fs::symlink_status(box.temp / "usr/demo-link")));
    EXPECT_EQ(ReadFile(box.temp / "usr/shared/notes.txt"), "the user's");
    EXPECT_FALSE(fs::exists(box.temp / "usr/shared/lib"));
    EXPECT_TRUE(fs::exists(box.temp / "usr/kept/skipped"));
    // opt/demo is one entry of the Trash, the others went on their own,
    // each with the file desktop tools restore from.
    std::set<std::string> trashed;
    for (const fs::directory_entry& entry : fs::directory_iterator(box.Trash() / "info"))
        trashed.insert(entry.path().filename().string());
    EXPECT_EQ(trashed,
        (std::set<std::string> {"demo.trashinfo", "lib.trashinfo", "demo-link.trashinfo"}));
    EXPECT_TRUE(fs::exists(box.Trash() / "files/demo/doc/deep/b"));
    EXPECT_EQ(TagOf(box.Trash() / "files/demo/doc/deep/b"), kKey);
    EXPECT_TRUE(fs::is_symlink(box.Trash() / "files/demo-link"));

    // 'slmt' with the selected count, then one 'snfi' per move counting
    // down, the folder's six entries counted together: a status bar moved
    // by each "size" stays in step with the count.
    std::vector<BMessage>& got = inbox->received;
    ASSERT_EQ(got.size(), 4u);
    EXPECT_EQ(got[0].what, kRemovalLimitMessage);
    EXPECT_EQ(got[0].FindInt32("size"), 10);
    for (size_t i = 1; i < got.size(); ++i)
        EXPECT_EQ(got[i].what, kSearchProgressMessage);
    EXPECT_EQ(std::string(got[1].FindString("folder")), "demo");
    EXPECT_EQ(got[1].FindFloat("size"), -6.0f);
    EXPECT_EQ(std::string(got[1].FindString("found")), "5");
    EXPECT_EQ(got[2].FindFloat("size"), -1.0f);
    EXPECT_EQ(std::string(got[2].FindString("found")), "4");
    EXPECT_EQ(std::string(got[3].FindString("found")), "3");
}

TEST_F(DeinstallRemovalTest, AFolderLeavesWholeOnlyWhenAllOfItIsStillTheProducts)
{
    WriteFile(box.temp / "outside", "the user's");
    for (const char* folder :
        {"opt/a", "opt/a/sub", "opt/b", "opt/b/sub", "opt/b/whole", "opt/c", "opt/d", "opt/e"})
        Tag(box.Folder(folder));
    for (const char* file : {"opt/a/f1", "opt/a/sub/f2", "opt/b/sub/bf", "opt/b/whole/wf",
             "opt/c/x", "opt/c/y", "opt/d/df", "opt/e/retagged"})
        Tag(box.Make(file));
    fs::create_symlink(box.temp / "outside", box.temp / "opt/a/link");
    Tag(box.temp / "opt/a/link");
    changeAfterSearch = [&] {
        box.Make("opt/b/sub/mine.txt", "mine"); // the user's, untagged
        Tag(box.Make("opt/d/late"));            // tagged, but not what the search found
        Tag(box.temp / "opt/e/retagged", "Other;");
    };
    RemovalCounts counts = SearchAndRemove("", {box.temp / "opt/c/x"});
    EXPECT_EQ(counts.moved, 10);  // a (5 entries), b/whole (2), bf, y, df
    EXPECT_EQ(counts.kept, 5);    // b, b/sub, c, d, e
    EXPECT_EQ(counts.changed, 1); // e/retagged
    EXPECT_EQ(counts.failed, 0);

    std::set<std::string> trashed;
    for (const fs::directory_entry& entry : fs::directory_iterator(box.Trash() / "files"))
        trashed.insert(entry.path().filename().string());
    EXPECT_EQ(trashed, (std::set<std::string> {"a", "whole", "bf", "y", "df"}));
    EXPECT_TRUE(fs::is_symlink(box.Trash() / "files/a/link")); // moved as a link
    EXPECT_EQ(ReadFile(box.temp / "outside"), "the user's");
    EXPECT_EQ(TagOf(box.Trash() / "files/a/sub/f2"), kKey);
    EXPECT_EQ(ReadFile(box.temp / "opt/b/sub/mine.txt"), "mine");
    EXPECT_TRUE(fs::exists(box.temp / "opt/c/x"));
    EXPECT_TRUE(fs::exists(box.temp / "opt/d/late"));
}

TEST_F(DeinstallRemovalTest, FoldersTooDeepToSurveyGoEntryByEntryInnerFirst)
{
    std::string folder = "opt";
    size_t levels = SubtreeSurvey::kMaxDepth + 2;
    for (size_t level = 0; level < levels; ++level)
        Tag(box.Folder(folder += "/l" + std::to_string(level)));
    Tag(box.Make(folder + "/file"));
    RemovalCounts counts = SearchAndRemove();
    EXPECT_EQ(counts.moved, int32(levels + 1));
    EXPECT_TRUE(fs::is_empty(box.temp / "opt"));
    // The file, then each folder once emptied, the innermost first.
    std::vector<BMessage>& got = inbox->received;
    ASSERT_EQ(got.size(), levels + 2);
    EXPECT_EQ(std::string(got[1].FindString("folder")), "file");
    for (size_t i = 2; i < got.size(); ++i)
        EXPECT_EQ(std::string(got[i].FindString("folder")), "l" + std::to_string(levels + 1 - i));
}

TEST_F(DeinstallRemovalTest, AFolderArrivesWholeInAChosenFolder)
{
    TempDir elsewhere;
    fs::path to = elsewhere / "chosen";
    WriteFile((fs::create_directories(to / "pkg"), to / "pkg/theirs"), "kept");
    Tag(box.Folder("opt/pkg/sub"));
    Tag(box.Folder("opt/pkg"));
    Tag(box.Make("opt/pkg/sub/g", "product"));
    answers->reply = {ReplaceAlert::kDontReplaceButton, false};
    EXPECT_EQ(SearchAndRemove(to.string()).moved, 3);
    ASSERT_EQ(answers->asked.size(), 1u); // for the folder's name, once
    EXPECT_EQ(ReadFile(to / "pkg/theirs"), "kept");
    EXPECT_EQ(ReadFile(to / "pkg copy/sub/g"), "product");
    EXPECT_EQ(TagOf(to / "pkg copy/sub/g"), kKey);
    EXPECT_FALSE(fs::exists(box.temp / "opt/pkg"));
}

TEST(DeinstallRemovalProgress, TheBarDropsByEveryEntryAWholeFolderTookAndEndsEmpty)
{
    FILE* out = tmpfile();
    ASSERT_NE(out, nullptr);
    DeinstallProgress progress(ProgressStyle::StatusBar, out, 200);
    BMessage limit(kRemovalLimitMessage);
    limit.AddInt32("size", 10);
    progress.MessageReceived(&limit);
    for (auto [leaf, size, found] : {std::tuple {"demo", -6.0f, "5"}, {"last", -4.0f, "1"}}) {
        BMessage moved(kSearchProgressMessage);
        moved.AddFloat("size", size);
        moved.AddString("folder", leaf);
        moved.AddString("found", found);
        progress.MessageReceived(&moved);
    }
    fflush(out);
    rewind(out);
    std::string shown;
    for (int c = fgetc(out); c != EOF; c = fgetc(out))
        shown += char(c);
    fclose(out);
    EXPECT_NE(shown.find("[========            ] 5  demo"), std::string::npos) << shown;
    EXPECT_NE(shown.find("[                    ] 1  last"), std::string::npos) << shown;
}

TEST_F(DeinstallRemovalTest, TheTrashKeepsWhatItHolds)
{
    box.Make("home/tester/.local/share/Trash/files/bin", "trashed before");
    box.Make("home/tester/.local/share/Trash/info/bin.trashinfo", "[Trash Info]\n");
    Tag(box.Make("opt/bin", "new"));
    EXPECT_EQ(SearchAndRemove().moved, 1);
    EXPECT_EQ(ReadFile(box.Trash() / "files/bin"), "trashed before");
    EXPECT_EQ(ReadFile(box.Trash() / "files/bin copy"), "new");
    EXPECT_TRUE(answers->asked.empty()); // the Trash names clashes itself
}

TEST_F(DeinstallRemovalTest, CollisionsInAChosenFolder)
{
    TempDir elsewhere;
    fs::path to = elsewhere / "chosen";
    fs::create_directory(to);
    WriteFile(to / "a", "old a");
    WriteFile(to / "b", "old b");
    WriteFile(box.temp / "outside", "not in the chosen folder");
    fs::create_symlink(box.temp / "outside", to / "c");
    for (const char* leaf : {"a", "b", "c"})
        Tag(box.Make(std::string("opt/") + leaf, std::string("new ") + leaf));

    // Don't Replace: what is there stays, the entry comes in beside it.
    answers->reply = {ReplaceAlert::kDontReplaceButton, false};
    EXPECT_EQ(SearchAndRemove(to.string()).moved, 3);
    EXPECT_EQ(answers->asked.size(), 3u);
    EXPECT_EQ(answers->asked[0].purpose, ReplaceAlert::kPurpose);
    EXPECT_EQ(answers->asked[0].buttons[1], "Replace"); // always in English
    EXPECT_EQ(ReadFile(to / "a"), "old a");
    EXPECT_EQ(ReadFile(to / "a copy"), "new a");

    // Replace, for all: asked once; a link there goes, never its target.
    for (const char* leaf : {"a", "b", "c"})
        Tag(box.Make(std::string("opt/") + leaf, std::string("newer ") + leaf));
    answers->asked.clear();
    answers->reply = {ReplaceAlert::kReplaceButton, true};
    EXPECT_EQ(SearchAndRemove(to.string()).moved, 3);
    EXPECT_EQ(answers->asked.size(), 1u);
    EXPECT_EQ(ReadFile(to / "a"), "newer a");
    EXPECT_EQ(ReadFile(to / "a copy"), "new a");
    EXPECT_FALSE(fs::is_symlink(to / "c"));
    EXPECT_EQ(ReadFile(to / "c"), "newer c");
    EXPECT_EQ(ReadFile(box.temp / "outside"), "not in the chosen folder");

    // An entry already in the chosen folder stays as it is.
    fs::path inside = box.Folder("inside");
    Tag(box.Make("inside/x", "mine"));
    answers->asked.clear();
    AlertService::Default().SetAnswer(ReplaceAlert::kPurpose, {ReplaceAlert::kReplaceButton, true});
    SearchAndRemove(inside.string());
    AlertService::Default().ClearAnswers();
    EXPECT_EQ(ReadFile(inside / "x"), "mine");
    EXPECT_EQ(std::distance(fs::directory_iterator(inside), fs::directory_iterator()), 1);
}

TEST_F(DeinstallRemovalTest, EntriesChangedSinceTheSearchAreLeftAlone)
{
    Tag(box.Make("victim/file", "not the product's"));
    Tag(box.Folder("victim"));
    Tag(box.Make("opt/demo/swapped"));
    Tag(box.Folder("opt/demo/folder"));
    Tag(box.Make("opt/demo/retagged"));
    Tag(box.Make("opt/demo/stays"));
    changeAfterSearch = [&] {
        // A found file and a found folder become links to what the user
        // keeps; another found file loses its tag.
        fs::remove(box.temp / "opt/demo/swapped");
        fs::create_symlink(box.temp / "victim/file", box.temp / "opt/demo/swapped");
        fs::remove(box.temp / "opt/demo/folder");
        fs::create_directory_symlink(box.temp / "victim", box.temp / "opt/demo/folder");
        Tag(box.temp / "opt/demo/retagged", "Other;");
        // The victim's own entries leave the search's reach but keep tags.
        fs::rename(box.temp / "victim", box.temp / "kept");
        fs::create_directory(box.temp / "victim");
        fs::copy_file(box.temp / "kept/file", box.temp / "victim/file");
        Tag(box.temp / "victim/file");
    };
    RemovalCounts counts = SearchAndRemove();
    // swapped, folder, retagged, and the victim folder and file
    EXPECT_EQ(counts.changed, 5);
    EXPECT_EQ(counts.moved, 1); // stays
    EXPECT_TRUE(fs::is_symlink(box.temp / "opt/demo/swapped"));
    EXPECT_TRUE(fs::is_symlink(box.temp / "opt/demo/folder"));
    EXPECT_EQ(ReadFile(box.temp / "kept/file"), "not the product's");
    EXPECT_TRUE(fs::exists(box.temp / "opt/demo/retagged"));
    EXPECT_FALSE(fs::exists(box.temp / "opt/demo/stays"));
}

TEST_F(DeinstallRemovalTest, RemovesOnlyTheProductsScriptSections)
{
    BPath boot;
    BPath user;
    ASSERT_EQ(find_directory(B_USER_BOOT_DIRECTORY, &boot, true), B_OK);
    ASSERT_EQ(find_directory(B_USER_DIRECTORY, &user, true), B_OK);
    fs::path profile = fs::path(user.Path()) / ".profile";
    fs::path bootScript = fs::path(boot.Path()) / "UserBootscript";
    std::string before = "# mine\nexport A=1\n";
    WriteFile(profile, before);
    WriteFile(bootScript, before);
    EditScriptFile(B_USER_DIRECTORY, ".profile", "DEMO", "export DEMO=1");
    EditScriptFile(B_USER_DIRECTORY, ".profile", "DEMO_TOO", "export OTHER=1");
    EditScriptFile(B_USER_BOOT_DIRECTORY, "UserBootscript", "StartUpFolder", "run startup");
    std::string withStartup = ReadFile(bootScript);
    EditScriptFile(B_USER_BOOT_DIRECTORY, "UserBootscript", "DEMO", "start demo");
    Tag(box.Make("opt/demo"));

    scriptTag = "DEMO";
    SearchAndRemove();
    std::string profileText = ReadFile(profile);
    EXPECT_EQ(profileText.find("DEMO=1"), std::string::npos);
    EXPECT_NE(
        profileText.find("#BEGIN_DEMO_TOO\nexport OTHER=1\n#END_DEMO_TOO\n"), std::string::npos);
    EXPECT_EQ(profileText.rfind(before, 0), 0u);
    EXPECT_EQ(ReadFile(bootScript), withStartup); // the start-up section stays
}

TEST_F(DeinstallRemovalTest, AStopEndsTheRemovalBetweenEntries)
{
    for (int i = 0; i < 5; ++i)
        Tag(box.Make("opt/f" + std::to_string(i)));
    BPath user;
    ASSERT_EQ(find_directory(B_USER_DIRECTORY, &user, true), B_OK);
    fs::path profile = fs::path(user.Path()) / ".profile";
    WriteFile(profile, "#BEGIN_DEMO\nexport DEMO=1\n#END_DEMO\n");
    scriptTag = "DEMO";
    stopAfter = 2;
    RemovalCounts counts = SearchAndRemove();
    EXPECT_TRUE(counts.stopped);
    EXPECT_EQ(counts.moved, 2);
    EXPECT_EQ(std::distance(fs::directory_iterator(box.temp / "opt"), fs::directory_iterator()), 3);
    EXPECT_EQ(ReadFile(profile), "#BEGIN_DEMO\nexport DEMO=1\n#END_DEMO\n"); // left as it was
}
