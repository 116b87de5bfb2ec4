// The volume search: what it finds and in which order, what it leaves out
// (the Trash, other mounts, near-miss tags, what links point to), its
// progress messages, and stopping it anywhere.
#include "BVolumeRoster.h"
#include "DeinstallHelpers.h"

#include <fcntl.h>
#include <random>
#include <sched.h>
#include <set>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace stowtest;
namespace fs = std::filesystem;

namespace {

BVolume BootVolume()
{
    BVolume volume;
    BVolumeRoster().GetBootVolume(&volume);
    return volume;
}

std::vector<std::string> Search(const BVolume& volume, const std::string& key = kKey)
{
    DeinstallSearch search(volume);
    search.SetKey(key.c_str());
    EXPECT_EQ(search.Go("search", nullptr, 10, true), B_OK);
    return Paths(search.Found());
}

// Every path below `folder` in the order a depth-first walk in directory
// order meets it, links not followed.
void WalkOrder(const fs::path& folder, std::vector<std::string>& order)
{
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        order.push_back(entry.path().string());
        if (entry.is_directory() && !entry.is_symlink())
            WalkOrder(entry.path(), order);
    }
}

} // namespace

TEST(DeinstallSearch, FindsExactlyTheTaggedEntriesInWalkOrder)
{
    Sandbox box;
    std::set<std::string> wanted;
    auto want = [&](const fs::path& path) {
        Tag(path);
        wanted.insert(path.string());
    };
    want(box.Folder("usr/share/demo"));
    want(box.Make("usr/share/demo/readme"));
    box.Make("usr/share/demo/notes.txt"); // the user's own file
    want(box.Folder("usr/share/demo/sub"));
    want(box.Make("usr/share/demo/sub/inner"));
    want(box.Make("opt/bin/demo"));
    for (int i = 0; i < 40; ++i) {
        fs::path path = box.Make("opt/many/f" + std::to_string(i));
        if (i % 7 == 0)
            want(path);
    }
    // Links are found as themselves; what they point to is not walked.
    fs::create_directory_symlink(box.temp / "usr/share/demo", box.temp / "opt/link-to-folder");
    want(box.temp / "opt/link-to-folder");
    fs::create_symlink(box.temp / "opt/bin/demo", box.temp / "opt/link-to-file");
    want(box.temp / "opt/link-to-file");
    fs::create_symlink("nowhere", box.temp / "opt/dangling");
    // Near misses.
    std::string upper = kKey;
    upper[0] = 'd';
    Tag(box.Make("opt/case"), upper);
    Tag(box.Make("opt/longer"), kKey + "x");
    Tag(box.Make("opt/shorter"), kKey.substr(0, kKey.size() - 1));
    Tag(box.Make("opt/empty"), "");
    // The boot volume's Trash is left out, even what is tagged there.
    Tag(box.Make("home/tester/.local/share/Trash/files/old"));
    Tag(box.temp / "home/tester/.local/share/Trash/files");

    std::vector<std::string> order;
    WalkOrder(box.temp.Path(), order);
    std::vector<std::string> expected;
    for (const std::string& path : order) {
        if (wanted.count(path))
            expected.push_back(path);
    }
    EXPECT_EQ(Search(BootVolume()), expected);
}

TEST(DeinstallSearch, ComparesTheWholeValueOfLongTags)
{
    Sandbox box;
    std::string key(254, 'k');
    key += ';'; // 255 bytes, the longest value the kit read whole
    Tag(box.Make("a/exact"), key);
    Tag(box.Make("a/one-more"), key + "x"); // 256 bytes: never this key
    Tag(box.Make("a/one-less"), key.substr(1));
    EXPECT_EQ(
        Search(BootVolume(), key), std::vector<std::string> {(box.temp / "a/exact").string()});

    // A key beyond 255 bytes is still found whole, never by a prefix.
    std::string longKey(400, 'L');
    Tag(box.Make("b/long"), longKey);
    Tag(box.Make("b/prefix"), longKey.substr(0, 255));
    Tag(box.Make("b/more"), longKey + "L");
    EXPECT_EQ(
        Search(BootVolume(), longKey), std::vector<std::string> {(box.temp / "b/long").string()});
}

TEST(DeinstallSearch, ReportsProgressAndItsEnd)
{
    Sandbox box;
    for (int i = 0; i < 30; ++i)
        Tag(box.Make("d" + std::to_string(i % 3) + "/f" + std::to_string(i)), "other;");
    Tag(box.Make("d1/mine"));
    InboxPtr inbox = MakeInbox();
    DeinstallSearch search(BootVolume());
    search.SetKey(kKey.c_str());
    ASSERT_EQ(search.Go("search", new BMessenger(inbox.get()), 10, false), B_OK);
    ASSERT_TRUE(WaitFor([&] {
        inbox->Drain();
        return !inbox->received.empty() && inbox->received.back().what == kLibThreadCompleted;
    }));
    std::vector<BMessage>& got = inbox->received;
    ASSERT_GE(got.size(), 2u);
    EXPECT_STREQ(got.back().FindString("name"), "search");
    EXPECT_EQ(got.back().FindInt32("status"), 0);
    double bytes = 0;
    for (size_t i = 0; i + 1 < got.size(); ++i) {
        ASSERT_EQ(got[i].what, kSearchProgressMessage);
        float size = -1;
        ASSERT_EQ(got[i].FindFloat("size", &size), B_OK);
        EXPECT_GE(size, 0);
        bytes += size;
        EXPECT_NE(got[i].FindString("folder"), nullptr);
    }
    // The first message names the root folder; the last one counts all.
    EXPECT_EQ(got.front().FindString("folder"), box.temp.Path().filename().string());
    EXPECT_STREQ(got[got.size() - 2].FindString("found"), "1");
    EXPECT_EQ(got[got.size() - 2].FindInt64("entries"), search.VisitedEntries());
    EXPECT_GE(bytes, 30 * 1.0); // every file's byte counted at least
}

TEST(DeinstallSearch, StopsAnywhereAndStartsAgain)
{
    Sandbox box;
    for (int folder = 0; folder < 40; ++folder) {
        for (int file = 0; file < 40; ++file) {
            fs::path path = box.Make("t/" + std::to_string(folder) + "/" + std::to_string(file));
            if (file % 9 == 0)
                Tag(path);
        }
    }
    std::vector<std::string> complete = Search(BootVolume());
    ASSERT_EQ(complete.size(), 200u);

    DeinstallSearch search(BootVolume());
    search.SetKey(kKey.c_str());
    std::mt19937 random(7);
    for (int round = 0; round < 15; ++round) {
        ASSERT_EQ(search.Go("search", nullptr, 10, false), B_OK);
        snooze(bigtime_t(random() % 4000));
        search.Stop();
    }
    // Blocked on a window that takes no messages: the stop still ends it.
    InboxPtr full = MakeInbox(1);
    ASSERT_EQ(search.Go("search", new BMessenger(full.get()), 10, false), B_OK);
    ASSERT_TRUE(WaitFor([&] { return search.Status() == B_THREAD_WAITING; }));
    search.Stop();
    EXPECT_EQ(search.Status(), 0);

    ASSERT_EQ(search.Go("search", nullptr, 10, true), B_OK);
    EXPECT_EQ(Paths(search.Found()), complete);
    EXPECT_EQ(search.FoundNodes().size(), complete.size());
}

// Other mounts inside the scanned volume are not entered; scanning the
// mounted volume itself finds what is tagged there. Needs a private mount
// namespace (root, or an unprivileged user namespace).
TEST(DeinstallSearch, StaysOnItsVolume)
{
    Sandbox box;
    Tag(box.Make("here"));
    fs::path point = box.Folder("mnt");
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        uid_t uid = getuid();
        gid_t gid = getgid();
        if (unshare(CLONE_NEWNS) != 0) {
            if (unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0)
                _exit(77);
            WriteFile("/proc/self/setgroups", "deny");
            WriteFile("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1");
            WriteFile("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1");
        }
        if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0
            || mount("stowtest", point.c_str(), "tmpfs", 0, "size=1m") != 0)
            _exit(77);
        fs::path inside = box.Make("mnt/there");
        // What an earlier removal put into the volume's own trash stays there.
        fs::path trashed = box.Make("mnt/.Trash-" + std::to_string(getuid()) + "/files/there");
        for (const fs::path& path : {inside, trashed}) {
            BNode node(path.c_str());
            if (node.WriteAttr(kInstallByAttr, B_STRING_TYPE, 0, kKey.data(), kKey.size()) < 0)
                _exit(77);
        }
        std::vector<std::string> boot = Search(BootVolume());
        if (boot != std::vector<std::string> {(box.temp / "here").string()})
            _exit(2);
        BVolume mounted;
        if (mounted.SetToVolumeOf(point.c_str()) != B_OK)
            _exit(3);
        if (Search(mounted) != std::vector<std::string> {inside.string()})
            _exit(4);
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 77)
        GTEST_SKIP() << "no private mount namespace here (unshare refused)";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "2: crossed into the mount, 3: no volume, 4: not found";
}
