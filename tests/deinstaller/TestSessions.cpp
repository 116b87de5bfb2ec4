// The install and deinstall sessions driven directly, as a window or a
// terminal flow drives them, with no front end in between: the demo product
// installed, searched for with its placed deinstaller's record, and removed
// but for the entry the user kept.
#include "AlertService.h"
#include "DeinstallHelpers.h"
#include "DeinstallSession.h"
#include "InstallSession.h"
#include "ReplaceAlert.h"
#include "RunningExecutable.h"

#include <condition_variable>
#include <mutex>

using namespace stowtest;
namespace fs = std::filesystem;

namespace {

const std::string kDemoKey
    = "Stowdemo;1.0;8 December 2026;Stowfast Samples;support@stowdemo.example;";

// Points the running program's resources at `path` for the test's span.
class RunningAs {
public:
    explicit RunningAs(const fs::path& path) { set_running_executable_path(path.c_str()); }
    ~RunningAs() { set_running_executable_path(nullptr); }
};

// Dispatches the inbox until a worker's 'LThC' arrives; it is the last
// message received then.
const BMessage& WaitForEnd(Inbox& inbox, const char* name)
{
    size_t seen = inbox.received.size();
    bool ended = WaitFor([&] {
        inbox.Drain();
        for (size_t i = seen; i < inbox.received.size(); ++i) {
            if (inbox.received[i].what == kLibThreadCompleted
                && std::string(inbox.received[i].FindString("name")) == name)
                return true;
        }
        return false;
    });
    EXPECT_TRUE(ended) << name;
    return inbox.received.back();
}

size_t Count(const std::vector<BMessage>& messages, uint32 what)
{
    size_t count = 0;
    for (const BMessage& message : messages)
        count += message.what == what ? 1 : 0;
    return count;
}

// Holds the collision question until the test lets it go, then keeps what
// is there.
class HeldPresenter : public AlertPresenter {
public:
    AlertAnswer Ask(const AlertRequest&) override
    {
        std::unique_lock<std::mutex> lock(fLock);
        fAsked = true;
        fChanged.notify_all();
        fChanged.wait(lock, [this] { return fReleased; });
        return {ReplaceAlert::kDontReplaceButton, false};
    }
    void Show(const AlertRequest&) override { }
    bool WaitUntilAsked()
    {
        std::unique_lock<std::mutex> lock(fLock);
        return fChanged.wait_for(lock, std::chrono::seconds(20), [this] { return fAsked; });
    }
    void Release()
    {
        std::lock_guard<std::mutex> lock(fLock);
        fReleased = true;
        fChanged.notify_all();
    }

private:
    std::mutex fLock;
    std::condition_variable fChanged;
    bool fAsked = false;
    bool fReleased = false;
};

class SessionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        AlertService::Default().ClearAnswers();
        AlertService::Default().SetMode(AlertMode::Unattended);
        // The demo product requires the C library.
        fs::create_directories(box.temp / "usr/lib");
        for (const char* libc : {"/lib/x86_64-linux-gnu/libc.so.6",
                 "/usr/lib/x86_64-linux-gnu/libc.so.6", "/lib64/libc.so.6", "/usr/lib/libc.so.6"}) {
            if (fs::exists(libc)) {
                fs::create_symlink(libc, box.temp / "usr/lib/libc.so.6");
                break;
            }
        }
        installer = work / "demo-installer";
        RunResult built
            = stowtest::Run({BinPath("stowpack"), "build", SourcePath("samples/demo/product.json"),
                "-o", installer.string(), "--deinstaller", BinPath("Stowclear")});
        ASSERT_EQ(built.exitCode, 0) << built.err;
    }
    void TearDown() override { AlertService::Default().SetMode(AlertMode::Interactive); }

    Sandbox box;
    TempDir work;
    fs::path installer;
    InboxPtr inbox = MakeInbox(1000);
};

} // namespace

TEST_F(SessionTest, InstallSearchAndRemoveWithoutAFrontEnd)
{
    fs::path product;
    {
        RunningAs running(installer);
        InstallSession install {BMessenger(inbox.get())};
        ASSERT_TRUE(install.Load());
        // Loading selects the first group; another group replaces it.
        ASSERT_EQ(install.CountGroups(), 3);
        EXPECT_EQ(install.GroupAt(0)->name, "Typical");
        EXPECT_EQ(install.CountSelected(), 6);
        install.SelectGroup(install.FindGroup("Documents"));
        EXPECT_EQ(install.CountSelected(), 2);
        install.SelectAll(true);
        EXPECT_EQ(install.SelectionTotal(),
            install.SelectedBytes() + install.Record().FindInt32(kDeinstallerSizeKey));
        EXPECT_FALSE(install.SetDestination((box.temp / "no/such/folder").c_str()));
        ASSERT_TRUE(install.SetDestination(install.DefaultDestination().c_str()));
        EXPECT_TRUE(install.CheckDestinationFolder(true));
        product = fs::path(install.Destination()) / "Stowdemo";

        ASSERT_EQ(install.Start(), B_OK);
        EXPECT_EQ(install.Start(), B_BUSY);
        InstallOutcome outcome = install.Finish(WaitForEnd(*inbox, "install"));
        EXPECT_EQ(outcome.result, InstallResult::Installed) << outcome.problem;
        EXPECT_TRUE(outcome.notices.empty());
        // The front end saw the status lines and the byte progress.
        EXPECT_GE(Count(inbox->received, kInstallStatusMessage), 9u);
        EXPECT_GE(Count(inbox->received, kInstallProgressMessage), 1u);
        // A second look at the same destination now meets the product folder.
        EXPECT_TRUE(install.ProductFolderExists());
        EXPECT_FALSE(install.CheckDestinationFolder(false));
    }
    fs::path kept = product / "README.txt";
    ASSERT_TRUE(fs::exists(kept));
    fs::path deinstaller = product / "Stowdemo 1.0 Deinstaller";
    ASSERT_TRUE(fs::exists(deinstaller));

    RunningAs running(deinstaller);
    DeinstallSession deinstall {BMessenger(inbox.get())};
    ASSERT_TRUE(deinstall.Load());
    EXPECT_STREQ(deinstall.Key(), kDemoKey.c_str());
    ASSERT_EQ(deinstall.StartSearch(), B_OK);
    WaitForEnd(*inbox, "search");
    int32 found = deinstall.FinishSearch();
    ASSERT_GE(found, 10);
    EXPECT_EQ(deinstall.CountSelected(), found);
    for (int32 i = 0; i < found; ++i) {
        if (kept == deinstall.FoundAt(i))
            deinstall.SetSelected(i, false);
    }
    ASSERT_EQ(deinstall.CountSelected(), found - 1);
    ASSERT_TRUE(deinstall.SetMovePath(nullptr));
    EXPECT_FALSE(deinstall.SetMovePath((box.temp / "no/such/folder").c_str()));

    size_t before = inbox->received.size();
    ASSERT_EQ(deinstall.StartRemoval(), B_OK);
    WaitForEnd(*inbox, "remove");
    RemovalCounts counts = deinstall.FinishRemoval();
    EXPECT_FALSE(counts.stopped);
    EXPECT_EQ(counts.failed + counts.changed, 0);
    EXPECT_EQ(counts.moved + counts.kept, found - 1);
    std::vector<BMessage> removal(inbox->received.begin() + long(before), inbox->received.end());
    EXPECT_EQ(removal.front().what, kRemovalLimitMessage);
    EXPECT_EQ(removal.front().FindInt32("size"), found - 1);

    // What the user kept stays; a fresh search finds only that.
    EXPECT_FALSE(ReadFile(kept).empty());
    EXPECT_TRUE(fs::exists(box.Trash() / "files/start-stowdemo.sh"));
    EXPECT_EQ(ReadFile(box.Home() / ".profile").find("STOWDEMO"), std::string::npos);
    ASSERT_EQ(deinstall.StartSearch(), B_OK);
    WaitForEnd(*inbox, "search");
    ASSERT_EQ(deinstall.FinishSearch(), 1);
    EXPECT_EQ(kept, deinstall.FoundAt(0));
}

TEST_F(SessionTest, AStopEndsTheRemovalBeforeItsNextEntry)
{
    // A deinstaller carrying a record of the test key, with a profile section.
    fs::path program = MakeDeinstaller(work.Path());
    fs::path profile = box.Make("home/tester/.profile", "#BEGIN_DEMO\nexport DEMO=1\n#END_DEMO\n");
    Tag(box.Make("opt/one", "1"));
    Tag(box.Make("opt/two", "2"));
    fs::path to = box.Folder("kept");
    box.Make("kept/one", "mine");
    box.Make("kept/two", "mine");

    RunningAs running(program);
    DeinstallSession deinstall {BMessenger(inbox.get())};
    ASSERT_TRUE(deinstall.Load());
    ASSERT_EQ(deinstall.StartSearch(), B_OK);
    WaitForEnd(*inbox, "search");
    ASSERT_EQ(deinstall.FinishSearch(), 2);
    ASSERT_TRUE(deinstall.SetMovePath(to.c_str()));

    auto held = std::make_shared<HeldPresenter>();
    std::shared_ptr<AlertPresenter> previous = AlertService::Default().SetPresenter(held);
    AlertService::Default().SetMode(AlertMode::Interactive);
    ASSERT_EQ(deinstall.StartRemoval(), B_OK);
    ASSERT_TRUE(held->WaitUntilAsked());
    // Asked while the removal waits for its answer: it must not wait for
    // the removal in turn.
    deinstall.StopRemoval();
    held->Release();
    WaitForEnd(*inbox, "remove");
    RemovalCounts counts = deinstall.FinishRemoval();
    AlertService::Default().SetPresenter(previous);

    // The entry asked about went whole; the next one and the scripts stay.
    EXPECT_TRUE(counts.stopped);
    EXPECT_EQ(counts.moved, 1);
    EXPECT_EQ(int(fs::exists(box.temp / "opt/one")) + int(fs::exists(box.temp / "opt/two")), 1);
    EXPECT_EQ(ReadFile(to / "one"), "mine");
    EXPECT_EQ(ReadFile(to / "two"), "mine");
    EXPECT_NE(ReadFile(profile).find("#BEGIN_DEMO"), std::string::npos);
}
