#include "BNode.h"
#include "Inbox.h"
#include "InstallConfig.h"
#include "Sandbox.h"

#include <gtest/gtest.h>

#include <memory>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace stowtest;
namespace fs = std::filesystem;

namespace {

// The tag attribute's text and how many attributes carry its name.
std::string TagOf(const fs::path& path, int* count = nullptr)
{
    BNode node(path.c_str());
    char name[B_ATTR_NAME_LENGTH];
    int found = 0;
    while (node.GetNextAttrName(name) == B_OK)
        found += std::string(name) == kInstallByAttr;
    if (count != nullptr)
        *count = found;
    attr_info info;
    if (node.GetAttrInfo(kInstallByAttr, &info) != B_OK || info.type != B_STRING_TYPE)
        return "<none>";
    std::string value(size_t(info.size), '\0');
    node.ReadAttr(kInstallByAttr, B_STRING_TYPE, 0, value.data(), value.size());
    return value;
}

class StatusRun : public InstallConfig {
public:
    ~StatusRun() override { StopThread(); }
    int32 Action() override
    {
        UpdateStatus("Installing %d of %d (%s)", 1, 2, "STK_about");
        UpdateStatus("Creating deinstaller...");
        std::string longText;
        for (int i = 0; i < 60; ++i)
            longText += "\xc3\xa9"; // 120 bytes of two-byte characters
        UpdateStatus("%s", ("xy" + longText).c_str());
        return 0;
    }
};

} // namespace

TEST(InstallRecordKeeping, TagsFilesFoldersAndLinks)
{
    Sandbox box;
    InstallConfig config;
    config.AddString("app_name", "Stowsmith");
    config.AddString("version", "1.3.1");
    config.AddString("release_date", "21 June 2001");
    config.AddString("company", "Tarnwick");
    config.AddString("support_email", "help@example.org");
    const std::string tag = "Stowsmith;1.3.1;21 June 2001;Tarnwick;help@example.org;";
    ASSERT_STREQ(config.DeinstallTag(), tag.c_str());

    fs::path work = box.Work();
    Put(work / "outside.txt", "not ours");
    Put(work / "Images/a.png", "a");
    Put(work / "Images/Deep/b.png", "b");
    fs::create_directory_symlink(work, work / "Images/Deep/up");
    fs::create_symlink(work / "outside.txt", work / "Images/outside link");
    Put(work / "readme", "text");
    fs::create_symlink(work / "readme", work / "readme link");

    config.AddDeinstallTag((work / "Images").c_str(), tag.c_str());
    config.AddDeinstallTag((work / "readme").c_str(), "old;tag;");
    config.AddDeinstallTag((work / "readme").c_str(), tag.c_str());
    config.AddDeinstallTag((work / "readme link").c_str(), tag.c_str());
    config.AddDeinstallTag((work / "missing").c_str(), tag.c_str());

    for (const char* path : {"Images", "Images/a.png", "Images/Deep", "Images/Deep/b.png",
             "Images/Deep/up", "Images/outside link", "readme", "readme link"})
        EXPECT_EQ(TagOf(work / path), tag) << path;
    // Links are tagged themselves; what they point to is not.
    EXPECT_EQ(TagOf(work / "outside.txt"), "<none>");
    EXPECT_EQ(TagOf(work), "<none>");
    EXPECT_FALSE(Exists(work / "missing"));
    int count = 0;
    TagOf(work / "readme", &count);
    EXPECT_EQ(count, 1);

    RunResult shown = stowtest::Run({"/usr/bin/getfattr", "--only-values", "-n", "user.InstallBy",
        (work / "Images/Deep/b.png").string()});
    if (shown.exitCode == 0) {
        EXPECT_EQ(shown.out, tag);
    }
}

TEST(InstallRecordKeeping, LogKeepsExactLinesOnlyWhenAsked)
{
    Sandbox box;
    InstallConfig config;
    fs::path log = box.Work() / "Log";
    config.AddBool("opt_log", false);
    config.OpenLog(log.c_str());
    config.Log("\t\tInstalling : %s\n", "tada.wav");
    config.CloseLog();
    EXPECT_FALSE(Exists(log));

    Put(log, "an earlier run\n");
    config.ReplaceBool("opt_log", true);
    config.OpenLog(log.c_str());
    config.Log("\t\tInstalling : %s\n", "tada.wav");
    config.Log("\t\t\tExisting file saved.\n");
    config.Log("\t\t\tPlaced in %s\n", "/boot/home/config/sounds");
    config.Log("\tFree Disk Space : %s\n", "1.5 KB");
    config.CloseLog();
    config.Log("after closing\n");
    EXPECT_EQ(ReadFile(log),
        "\t\tInstalling : tada.wav\n\t\t\tExisting file saved.\n"
        "\t\t\tPlaced in /boot/home/config/sounds\n"
        "\tFree Disk Space : 1.5 KB\n");
}

TEST(InstallRecordKeeping, StatusMessagesReachTheWindowInOrder)
{
    InboxPtr inbox = MakeInbox(50);
    StatusRun run;
    // Without a messenger there is nobody to tell; nothing happens.
    run.UpdateStatus("nobody listens");
    ASSERT_EQ(run.Go("install", new BMessenger(nullptr, inbox.get()), 10, false), B_OK);
    ASSERT_TRUE(WaitFor([&] {
        inbox->DispatchMessages();
        return !inbox->received.empty() && inbox->received.back().what == kLibThreadCompleted;
    }));
    ASSERT_EQ(inbox->received.size(), 4u);
    for (size_t i = 0; i < 3; ++i)
        EXPECT_EQ(inbox->received[i].what, kInstallStatusMessage);
    EXPECT_STREQ(inbox->received[0].FindString("message"), "Installing 1 of 2 (STK_about)");
    EXPECT_STREQ(inbox->received[1].FindString("message"), "Creating deinstaller...");
    // Cut to fit the status buffer, never inside a character: 2 + 2 * 48.
    std::string cut = inbox->received[2].FindString("message");
    EXPECT_EQ(cut.size(), 98u);
    EXPECT_EQ(cut.substr(96), "\xc3\xa9");
}

// Installed items may be read-only. Their owner still gets them tagged, and
// their protection back. Root ignores permissions, so as root the check runs
// in a child that becomes an ordinary user.
TEST(InstallRecordKeeping, ReadOnlyItemsAreTaggedForTheirOwner)
{
    TempDir work;
    fs::path home = work / "owner";
    fs::create_directory(home);
    const uid_t nobody = 65534;
    if (geteuid() == 0) {
        ASSERT_EQ(chmod(work.Path().c_str(), 0755), 0); // let the child reach its folder
        ASSERT_EQ(chown(home.c_str(), nobody, nobody), 0);
    }

    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (geteuid() == 0 && (setgid(nobody) != 0 || setuid(nobody) != 0))
            _exit(10);
        WriteFile(home / "readonly.txt", "text");
        fs::create_directory(home / "sealed");
        WriteFile(home / "sealed/inner.txt", "inner");
        chmod((home / "readonly.txt").c_str(), 0444);
        chmod((home / "sealed").c_str(), 0555);
        InstallConfig config;
        config.AddDeinstallTag((home / "readonly.txt").c_str(), "a;b;c;d;e;");
        config.AddDeinstallTag((home / "sealed").c_str(), "a;b;c;d;e;");
        int failures = 0;
        for (const char* leaf : {"readonly.txt", "sealed", "sealed/inner.txt"})
            failures += TagOf(home / leaf) != "a;b;c;d;e;";
        struct stat st;
        stat((home / "readonly.txt").c_str(), &st);
        failures += (st.st_mode & 07777) != 0444;
        stat((home / "sealed").c_str(), &st);
        failures += (st.st_mode & 07777) != 0555;
        chmod((home / "sealed").c_str(), 0755);
        _exit(failures == 0 ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}
