// The guided flows on a terminal, driven through a pseudo-terminal as a user
// would: the demo product installed by answering Stowfast's prompts, then
// removed by answering the prompts of the deinstaller it placed; a cancel at
// a prompt that leaves everything as it was; and no terminal at all.
#include "BNode.h"
#include "RecordKeys.h"
#include "TestSupport.h"
#include "TrialSnapshot.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <regex>
#include <set>
#include <sys/mount.h>

using namespace stowtest;
namespace fs = std::filesystem;

namespace {

// A trial root standing for a small Linux system, with the demo product's
// installer built beside it.
class TerminalFlows : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const fs::path& root : {fRoot, fOtherRoot}) {
            fs::create_directories(root / "home/demo/Apps");
            fs::create_directories(root / "opt");
            LinkSystemCLibrary(root);
        }
        RunResult built
            = stowtest::Run({BinPath("stowpack"), "build", SourcePath("samples/demo/product.json"),
                "-o", fInstaller, "--deinstaller", BinPath("Stowclear")});
        ASSERT_EQ(built.exitCode, 0) << built.err;
    }

    // No display, so that a terminal is what the programs have.
    std::map<std::string, std::string> Environment(const fs::path& root) const
    {
        return {{"STOW_ROOT", root.string()}, {"HOME", "/home/demo"}, {"XDG_DATA_HOME", ""},
            {"XDG_CONFIG_HOME", ""}, {"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}};
    }

    fs::path Deinstaller(const fs::path& root, const std::string& folder) const
    {
        return root / folder / "Stowdemo" / "Stowdemo 1.0 Deinstaller";
    }

    TempDir fTemp;
    fs::path fRoot = fTemp / "root";
    fs::path fOtherRoot = fTemp / "other";
    std::string fInstaller = (fTemp / "stowdemo").string();
};

// Where the entries in the Trash came from, after their .trashinfo files.
std::set<std::string> TrashedOriginals(const fs::path& root)
{
    std::set<std::string> originals;
    fs::path info = root / "home/demo/.local/share/Trash/info";
    for (const fs::directory_entry& entry : fs::directory_iterator(info)) {
        std::string text = ReadFile(entry.path());
        std::smatch path;
        EXPECT_TRUE(std::regex_search(text, path, std::regex("\nPath=([^\n]*)\n"))) << text;
        std::string decoded;
        std::string encoded = path[1];
        for (size_t i = 0; i < encoded.size(); ++i) {
            bool escaped = encoded[i] == '%' && i + 2 < encoded.size();
            decoded
                += escaped ? char(std::stoi(encoded.substr(i + 1, 2), nullptr, 16)) : encoded[i];
            i += escaped ? 2 : 0;
        }
        originals.insert(fs::path(decoded).lexically_relative(root).string());
    }
    return originals;
}

// The number the deinstaller's list gives `path`, or "" when it lists it not.
std::string NumberOf(const std::string& listing, const fs::path& path)
{
    std::smatch found;
    std::regex row("(\\d+) \\[x\\] "
        + std::regex_replace(path.string(), std::regex(R"([.^$|()\[\]{}*+?\\])"), R"(\$&)")
        + "\r\n");
    return std::regex_search(listing, found, row) ? found[1].str() : "";
}

} // namespace

TEST_F(TerminalFlows, InstalledByAnsweringThePromptsAndRemovedTheSameWay)
{
    // Three lines a screen, so that the demo's four-line license pages.
    TerminalRun install({fInstaller}, Environment(fRoot), 3, 80);
    ASSERT_TRUE(install.WaitForText("Stowfast Samples")) << install.Output();
    ASSERT_TRUE(install.WaitForText("Press Return for more: ")) << install.Output();
    install.Type("");
    ASSERT_TRUE(install.WaitForText("Agree / Cancel: ")) << install.Output();
    install.Type(""); // only an answer typed out agrees
    ASSERT_TRUE(install.WaitForText("Agree / Cancel: ")) << install.Output();
    install.Type("agree");
    ASSERT_TRUE(install.WaitForText("Number of the group to install [1]: ")) << install.Output();
    // A description longer than the row goes on in its own column.
    EXPECT_NE(install.Output().find("its settings and\r\n" + std::string(37, ' ') + "the scripts."),
        std::string::npos)
        << install.Output();
    install.Type("2"); // Documents: README.txt and the manual
    ASSERT_TRUE(install.WaitForText("done: ")) << install.Output();
    install.Type("1"); // and the program itself
    ASSERT_TRUE(install.WaitForText("   1 [x] stowdemo")) << install.Output();
    ASSERT_TRUE(install.WaitForText("done: ")) << install.Output();
    install.Type("");
    ASSERT_TRUE(install.WaitForText("Destination folder [" + (fRoot / "opt").string() + "]: "))
        << install.Output();
    install.Type("~/Apps");
    ASSERT_TRUE(install.WaitForText("3 files")) << install.Output();
    ASSERT_TRUE(install.WaitForText("Install / Cancel [Install]: ")) << install.Output();
    install.Type("");
    ASSERT_TRUE(install.WaitForText("Installation successfully completed.")) << install.Output();
    ASSERT_TRUE(install.WaitForText("OK [OK]: ")) << install.Output();
    install.Type("");
    ASSERT_EQ(install.Wait(), 0) << install.Output();

    // Placed, tagged and logged as the same choice unattended would have.
    RunResult unattended = stowtest::Run(
        {fInstaller, "--unattended", "--accept-license", "--group", "Documents", "--file",
            "stowdemo", "--dest", (fOtherRoot / "home/demo/Apps").string()},
        {}, Environment(fOtherRoot));
    ASSERT_EQ(unattended.exitCode, 0) << unattended.err;
    std::map<std::string, std::string> installed = RootSnapshot(fRoot);
    EXPECT_EQ(installed, RootSnapshot(fOtherRoot));
    std::set<std::string> tagged = TaggedPaths(installed);
    ASSERT_GE(tagged.size(), 5u);
    EXPECT_TRUE(tagged.count("home/demo/Apps/Stowdemo/README.txt"));
    EXPECT_TRUE(tagged.count("home/demo/.local/share/stowdemo/bin/stowdemo"));
    EXPECT_NE(ReadFile(fRoot / "home/demo/.profile").find("#BEGIN_STOWDEMO"), std::string::npos);

    // Its deinstaller: the boot volume, every entry but one kept, the Trash.
    fs::path kept = fRoot / "home/demo/Apps/Stowdemo/README.txt";
    TerminalRun remove(
        {Deinstaller(fRoot, "home/demo/Apps").string()}, Environment(fRoot), 24, 200);
    ASSERT_TRUE(remove.WaitForText("Stowdemo 1.0")) << remove.Output();
    ASSERT_TRUE(remove.WaitForText("Number of the disk to search [")) << remove.Output();
    remove.Type("");
    ASSERT_TRUE(remove.WaitForText(" found")) << remove.Output();
    ASSERT_TRUE(remove.WaitForText("done: ")) << remove.Output();
    std::string number = NumberOf(remove.Output(), kept);
    ASSERT_FALSE(number.empty()) << remove.Output();
    remove.Type(number);
    ASSERT_TRUE(remove.WaitForText("[ ] " + kept.string())) << remove.Output();
    ASSERT_TRUE(remove.WaitForText("done: ")) << remove.Output();
    remove.Type("");
    ASSERT_TRUE(remove.WaitForText("[Trash]: ")) << remove.Output();
    remove.Type("");
    ASSERT_TRUE(remove.WaitForText("Deinstall / Cancel [Deinstall]: ")) << remove.Output();
    remove.Type("");
    ASSERT_EQ(remove.Wait(), 0) << remove.Output();

    std::set<std::string> gone = tagged;
    gone.erase("home/demo/Apps/Stowdemo/README.txt");
    EXPECT_EQ(TrashedOriginals(fRoot), OutermostPaths(gone)); // the manual went whole
    for (const std::string& path : gone)
        EXPECT_FALSE(fs::exists(fs::symlink_status(fRoot / path))) << path;
    EXPECT_EQ(InstallTagOf(kept), InstallTagOf(fOtherRoot / "home/demo/Apps/Stowdemo/README.txt"));
    for (const char* script : {"home/demo/.profile", "home/demo/.config/boot/UserBootscript",
             "home/demo/.config/boot/UserSetupEnvironment"})
        EXPECT_EQ(ReadFile(fRoot / script).find("STOWDEMO"), std::string::npos) << script;
}

TEST_F(TerminalFlows, ACancelAtAPromptLeavesEverythingAsItWas)
{
    // Ctrl-C while the installer asks for the group: nothing is written.
    std::map<std::string, std::string> before = RootSnapshot(fRoot);
    TerminalRun install({fInstaller}, Environment(fRoot));
    ASSERT_TRUE(install.WaitForText("Agree / Cancel: ")) << install.Output();
    install.Type("Agree");
    ASSERT_TRUE(install.WaitForText("Number of the group to install [1]: ")) << install.Output();
    install.PressControl('c');
    EXPECT_EQ(install.Wait(), 130) << install.Output();
    EXPECT_NE(install.Unread().find("Nothing was installed."), std::string::npos);
    EXPECT_EQ(RootSnapshot(fRoot), before);

    // The end of the input where the deinstaller asks to confirm: nothing
    // is removed and the start-up files keep the product's sections.
    RunResult installed = stowtest::Run(
        {fInstaller, "--unattended", "--accept-license", "--all"}, {}, Environment(fRoot));
    ASSERT_EQ(installed.exitCode, 0) << installed.err;
    before = RootSnapshot(fRoot);
    TerminalRun remove({Deinstaller(fRoot, "opt").string()}, Environment(fRoot));
    for (const char* prompt : {"Number of the disk to search [",
             "done: ", "[Trash]: ", "Deinstall / Cancel [Deinstall]: "}) {
        ASSERT_TRUE(remove.WaitForText(prompt)) << remove.Output();
        if (std::string(prompt).rfind("Deinstall", 0) != 0)
            remove.Type("");
    }
    remove.PressControl('d');
    EXPECT_EQ(remove.Wait(), 130) << remove.Output();
    EXPECT_NE(remove.Unread().find("Nothing was removed."), std::string::npos);
    EXPECT_EQ(RootSnapshot(fRoot), before);
}

TEST_F(TerminalFlows, WithoutATerminalBothProgramsNeedUnattended)
{
    RunResult install = stowtest::Run({fInstaller}, {}, Environment(fRoot));
    EXPECT_EQ(install.exitCode, 2);
    EXPECT_NE(install.err.find("installing needs --unattended"), std::string::npos) << install.err;
    RunResult installed = stowtest::Run(
        {fInstaller, "--unattended", "--accept-license", "--all"}, {}, Environment(fRoot));
    ASSERT_EQ(installed.exitCode, 0) << installed.err;
    RunResult remove = stowtest::Run({Deinstaller(fRoot, "opt").string()}, {}, Environment(fRoot));
    EXPECT_EQ(remove.exitCode, 2);
    EXPECT_NE(remove.err.find("removing needs --unattended"), std::string::npos) << remove.err;
}

// On a machine without any window library (a server, a small container),
// a display named in the environment changes nothing: the unattended
// install, the guided flow and the deinstaller's command line all work.
TEST_F(TerminalFlows, WorkWhereNoWindowLibraryIsInstalled)
{
    std::vector<fs::path> hidden;
    const std::regex windowLibrary(
        "lib(X11|X11-xcb|Xft|Xrender|Xext|Xfixes|Xcursor|Xinerama|xcb|fontconfig|freetype)\\.so.*");
    for (const char* folder : {"/usr/lib/x86_64-linux-gnu", "/lib/x86_64-linux-gnu"}) {
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(folder, error)) {
            if (std::regex_match(entry.path().filename().string(), windowLibrary)
                && entry.is_regular_file() && !entry.is_symlink())
                hidden.push_back(entry.path());
        }
    }
    ASSERT_FALSE(hidden.empty());
    auto environment = Environment(fRoot);
    environment["DISPLAY"] = ":0";
    const auto problems = InPrivateMounts([&]() -> std::string {
        for (const fs::path& library : hidden) {
            if (mount("/dev/null", library.c_str(), nullptr, MS_BIND, nullptr) != 0)
                return "cannot hide " + library.string();
        }
        std::string found;
        RunResult unattended = stowtest::Run(
            {fInstaller, "--unattended", "--accept-license", "--dest", (fRoot / "opt").string()},
            {}, environment);
        if (unattended.exitCode != 0)
            found += "unattended install: " + unattended.err;
        RunResult listed
            = stowtest::Run({Deinstaller(fRoot, "opt").string(), "--list"}, {}, environment);
        if (listed.exitCode != 0 || listed.out.find("README.txt") == std::string::npos)
            found += "deinstaller --list: " + listed.err;
        RunResult removed
            = stowtest::Run({Deinstaller(fRoot, "opt").string(), "--unattended"}, {}, environment);
        if (removed.exitCode != 0)
            found += "deinstaller --unattended: " + removed.err;
        TerminalRun flow({fInstaller}, environment);
        if (!flow.WaitForText("Agree / Cancel: "))
            found += "guided flow: " + flow.Output();
        flow.PressControl('c');
        flow.Wait();
        return found;
    });
    if (!problems)
        GTEST_SKIP() << "no private mount namespace here";
    EXPECT_EQ(*problems, "");
}
