// From installer to Trash: the demo product built with stowpack, installed
// with Stowfast into a trial root, then removed by the deinstaller the run
// placed beside it, alone and beside a second product.
#include "DeinstallHelpers.h"

#include <fcntl.h>
#include <map>
#include <set>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

using namespace stowtest;
namespace fs = std::filesystem;

namespace {

const std::string kDemoKey
    = "Stowdemo;1.0;8 December 2026;Stowfast Samples;support@stowdemo.example;";
const std::string kOtherKey
    = "Otherdemo;1.0;8 December 2026;Stowfast Samples;support@otherdemo.example;";

// The user's start-up files as they were before any installation.
const std::map<std::string, std::string> kScripts = {
    {"home/demo/.config/boot/UserBootscript", "#!/bin/sh\n# started at login\n"},
    {"home/demo/.config/boot/UserSetupEnvironment", "export MINE=1\n"},
    {"home/demo/.profile", "# my profile\nexport EDITOR=vi\n"},
};

std::string FindProgram(const std::string& name)
{
    for (const char* folder : {"/usr/bin", "/bin", "/usr/local/bin"}) {
        std::string path = std::string(folder) + "/" + name;
        if (access(path.c_str(), X_OK) == 0)
            return path;
    }
    return "";
}

// The text without the section tagged `tag` (markers included).
std::string WithoutSection(const std::string& text, const std::string& tag)
{
    size_t begin = text.find("#BEGIN_" + tag + "\n");
    size_t end = text.find("#END_" + tag + "\n");
    if (begin == std::string::npos || end == std::string::npos)
        return text;
    return text.substr(0, begin) + text.substr(end + tag.size() + 6);
}

class DeinstallEndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::create_directories(root / "home/demo");
        fs::create_directories(root / "opt");
        fs::create_directories(work);
        LinkSystemCLibrary(root);
        for (const auto& [path, text] : kScripts) {
            fs::create_directories((root / path).parent_path());
            WriteFile(root / path, text);
        }
    }

    std::map<std::string, std::string> Environment() const
    {
        return {{"STOW_ROOT", root.string()}, {"HOME", "/home/demo"}, {"XDG_DATA_HOME", ""},
            {"XDG_CONFIG_HOME", ""}};
    }

    // Builds the demo product, or a copy of it renamed to Otherdemo, and
    // installs everything it offers.
    void Install(bool other = false)
    {
        fs::path source = SourcePath("samples/demo");
        fs::path product = source / "product.json";
        if (other) {
            fs::path copy = work / "other";
            fs::copy(source, copy, fs::copy_options::recursive);
            for (const char* leaf : {"stowdemo", "stowdemo.conf", "start-stowdemo.sh"}) {
                std::string renamed = leaf;
                renamed.replace(renamed.find("stowdemo"), 8, "otherdemo");
                fs::rename(copy / "payload" / leaf, copy / "payload" / renamed);
            }
            std::string text = ReadFile(copy / "product.json");
            for (auto [from, to] :
                std::vector<std::pair<std::string, std::string>> {{"Stowdemo", "Otherdemo"},
                    {"STOWDEMO", "OTHERDEMO"}, {"stowdemo", "otherdemo"}}) {
                for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at))
                    text.replace(at, from.size(), to);
            }
            product = copy / "product.json";
            WriteFile(product, text);
        }
        InstallFrom(product, other ? "other-installer" : "demo-installer");
    }

    void InstallFrom(const fs::path& product, const std::string& name)
    {
        std::string installer = (work / name).string();
        RunResult built = stowtest::Run({BinPath("stowpack"), "build", product.string(), "-o",
            installer, "--deinstaller", BinPath("Stowclear")});
        ASSERT_EQ(built.exitCode, 0) << built.err;
        RunResult installed = stowtest::Run(
            {installer, "--unattended", "--accept-license", "--all"}, {}, Environment());
        ASSERT_EQ(installed.exitCode, 0) << installed.err;
    }

    // gio with the trial root's home and a session bus of its own; false
    // when gio, dbus-run-session or the trash backend is missing.
    bool GioAvailable() const
    {
        return !FindProgram("gio").empty() && !FindProgram("dbus-run-session").empty()
            && access("/usr/libexec/gvfsd-trash", X_OK) == 0;
    }
    RunResult Gio(const std::vector<std::string>& arguments) const
    {
        fs::create_directories(temp / "run");
        chmod((temp / "run").c_str(), 0700);
        std::vector<std::string> argv {FindProgram("dbus-run-session"), "--", FindProgram("gio")};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        return stowtest::Run(argv, {},
            {{"HOME", (root / "home/demo").string()},
                {"XDG_DATA_HOME", (root / "home/demo/.local/share").string()},
                {"XDG_RUNTIME_DIR", (temp / "run").string()}, {"STOW_ROOT", ""}});
    }

    RunResult Deinstall(const std::string& product)
    {
        fs::path program = root / "opt" / product / (product + " 1.0 Deinstaller");
        EXPECT_TRUE(fs::exists(program)) << program;
        return stowtest::Run({program.string(), "--unattended"}, {}, Environment());
    }

    // Every entry of the trial root but the Trash, the attribute store, the
    // start-up files and their companions: path -> kind, tag and content.
    std::map<std::string, std::string> Snapshot() const
    {
        std::map<std::string, std::string> entries;
        auto skipped = [](const std::string& relative) {
            for (const char* prefix :
                {"home/demo/.local/share/Trash", "home/demo/.local/share/Stowfast",
                    "home/demo/.config/boot/User", "home/demo/.profile", "usr/lib"}) {
                if (relative.rfind(prefix, 0) == 0)
                    return true;
            }
            return false;
        };
        for (auto it = fs::recursive_directory_iterator(root); it != fs::end(it); ++it) {
            std::string relative = it->path().lexically_relative(root).string();
            if (skipped(relative)) {
                if (it->is_directory() && !it->is_symlink())
                    it.disable_recursion_pending();
                continue;
            }
            std::string tag = "[" + TagOf(it->path()) + "] ";
            if (it->is_symlink())
                entries[relative] = tag + "link " + fs::read_symlink(it->path()).string();
            else if (it->is_directory())
                entries[relative] = tag + "folder";
            else
                entries[relative] = tag + "file " + ReadFile(it->path());
        }
        return entries;
    }

    // The original paths of what the Trash holds, from its .trashinfo files.
    std::set<std::string> TrashedOriginals() const
    {
        std::set<std::string> originals;
        fs::path info = root / "home/demo/.local/share/Trash/info";
        if (!fs::exists(info))
            return originals;
        for (const fs::directory_entry& entry : fs::directory_iterator(info)) {
            std::string text = ReadFile(entry.path());
            size_t at = text.find("\nPath=");
            EXPECT_NE(at, std::string::npos) << entry.path();
            std::string encoded = text.substr(at + 6, text.find('\n', at + 6) - at - 6);
            std::string path;
            for (size_t i = 0; i < encoded.size(); ++i) {
                if (encoded[i] == '%' && i + 2 < encoded.size()) {
                    path += char(std::stoi(encoded.substr(i + 1, 2), nullptr, 16));
                    i += 2;
                } else {
                    path += encoded[i];
                }
            }
            EXPECT_TRUE(fs::exists(fs::symlink_status(
                root / "home/demo/.local/share/Trash/files" / entry.path().stem())))
                << entry.path();
            originals.insert(fs::path(path).lexically_relative(root).string());
        }
        return originals;
    }

    TempDir temp;
    fs::path root = temp / "root";
    fs::path work = temp / "work";
    // This process reads tags the way the programs do, links' tags from
    // the trial root's attribute store included.
    ScopedEnv stowRoot {"STOW_ROOT", root.string()};
    ScopedEnv home {"HOME", "/home/demo"};
    ScopedEnv data {"XDG_DATA_HOME", ""};
    ScopedEnv config {"XDG_CONFIG_HOME", ""};
};

std::set<std::string> TaggedBy(
    const std::map<std::string, std::string>& snapshot, const std::string& key)
{
    std::set<std::string> tagged;
    for (const auto& [path, entry] : snapshot) {
        if (entry.rfind("[" + key + "]", 0) == 0)
            tagged.insert(path);
    }
    return tagged;
}

// A product of one folder item, "bulk", of `files` files in twenty folders
// with several modes and times, and a link; its description's path.
fs::path MakeBulkProduct(const fs::path& folder, int files)
{
    fs::path bulk = folder / "payload/bulk";
    for (int i = 0; i < files; ++i) {
        char name[32];
        snprintf(name, sizeof name, "part-%02d/file-%04d", i % 20, i);
        fs::path file = bulk / name;
        fs::create_directories(file.parent_path());
        WriteFile(file, "file " + std::to_string(i) + "\n");
        chmod(file.c_str(), i % 3 == 0 ? 0755 : i % 3 == 1 ? 0644 : 0600);
        struct timespec times[2] = {{1600000000 + i, 0}, {1500000000 + i * 7, 0}};
        utimensat(AT_FDCWD, file.c_str(), times, 0);
    }
    fs::create_symlink("part-00/file-0000", bulk / "latest");
    WriteFile(folder / "product.json", R"({
  "app_name": "Stowbulk", "version": "1.0", "release_date": "8 December 2026",
  "company": "Stowfast Samples", "support_email": "support@stowbulk.example",
  "install_folder_name": "Stowbulk",
  "groups": [{"group_name": "Typical", "group_description": "Everything."}],
  "install_instructions": [{"file_name": "payload/bulk", "groups": ["Typical"],
    "install_meta": {"destination": "User Selected", "destination_exists": "Replace",
      "link": "None", "link_exists": "Prompt", "deinstallable": "True"}}],
  "opt_include_deinstall": true, "opt_default_folder": "Applications",
  "opt_created_folder": "Stowbulk"
})");
    return folder / "product.json";
}

// Every entry below `top`: relative path -> kind, mode, modification time,
// tag, and content or link target.
std::map<std::string, std::string> Entries(const fs::path& top)
{
    std::map<std::string, std::string> entries;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(top)) {
        struct stat st;
        EXPECT_EQ(lstat(entry.path().c_str(), &st), 0) << entry.path();
        std::string text = std::to_string(st.st_mode) + " " + std::to_string(st.st_mtim.tv_sec)
            + "." + std::to_string(st.st_mtim.tv_nsec) + " [" + TagOf(entry.path()) + "] ";
        if (S_ISLNK(st.st_mode))
            text += "link " + fs::read_symlink(entry.path()).string();
        else if (S_ISREG(st.st_mode))
            text += "file " + ReadFile(entry.path());
        entries[entry.path().lexically_relative(top).string()] = text;
    }
    return entries;
}

} // namespace

TEST_F(DeinstallEndToEnd, ThePlacedDeinstallerRemovesTheDemoProduct)
{
    Install();
    if (HasFatalFailure())
        return;
    std::map<std::string, std::string> installed = Snapshot();
    std::set<std::string> tagged = TaggedBy(installed, kDemoKey);
    ASSERT_GE(tagged.size(), 10u);
    // Links and folders of the product are tagged too.
    EXPECT_TRUE(tagged.count("home/demo/Desktop/manual"));
    EXPECT_TRUE(tagged.count("opt/Stowdemo/examples"));
    // A file of the user's own in one of the product's folders.
    WriteFile(root / "opt/Stowdemo/examples/my-notes.txt", "mine");
    installed = Snapshot();

    RunResult removed = Deinstall("Stowdemo");
    ASSERT_EQ(removed.exitCode, 0) << removed.err;

    // Every tagged entry went to the Trash, except the folder that holds
    // the user's file; a folder of nothing but the product's went whole
    // (the manual); everything else is exactly as it was.
    std::set<std::string> expectedGone = tagged;
    expectedGone.erase("opt/Stowdemo/examples");
    std::set<std::string> trashed = OutermostPaths(expectedGone);
    EXPECT_EQ(TrashedOriginals(), trashed);
    EXPECT_TRUE(trashed.count("usr/local/share/doc/Stowdemo/manual"));
    EXPECT_FALSE(trashed.count("usr/local/share/doc/Stowdemo/manual/index.txt"));
    std::map<std::string, std::string> after = Snapshot();
    for (const auto& [path, entry] : installed) {
        if (expectedGone.count(path))
            EXPECT_EQ(after.count(path), 0u) << path;
        else
            EXPECT_EQ(after[path], entry) << path;
    }
    EXPECT_EQ(ReadFile(root / "opt/Stowdemo/examples/my-notes.txt"), "mine");
    EXPECT_TRUE(fs::exists(root / "home/demo/.config/stowdemo.conf")); // not deinstallable

    // The scripts are as the user had them, but for the start-up folder
    // section the deinstaller never removes.
    for (const auto& [path, text] : kScripts)
        EXPECT_EQ(WithoutSection(ReadFile(root / path), "StartUpFolder"), text) << path;

    // Desktop tools list what the deinstaller trashed.
    if (!GioAvailable())
        GTEST_SKIP() << "gio, dbus-run-session or the gvfs trash backend is not installed";
    RunResult listed = Gio({"trash", "--list"});
    ASSERT_EQ(listed.exitCode, 0) << listed.err;
    for (const std::string& path : trashed)
        EXPECT_NE(listed.out.find("\t" + (root / path).string() + "\n"), std::string::npos) << path;
}

TEST_F(DeinstallEndToEnd, RemovingOneProductLeavesTheOther)
{
    Install();
    Install(true);
    if (HasFatalFailure())
        return;
    std::map<std::string, std::string> installed = Snapshot();
    std::set<std::string> first = TaggedBy(installed, kDemoKey);
    ASSERT_GE(first.size(), 10u);
    ASSERT_GE(TaggedBy(installed, kOtherKey).size(), 10u);
    std::map<std::string, std::string> scripts;
    for (const auto& [path, text] : kScripts)
        scripts[path] = ReadFile(root / path);

    RunResult removed = Deinstall("Stowdemo");
    ASSERT_EQ(removed.exitCode, 0) << removed.err;
    std::map<std::string, std::string> after = Snapshot();
    for (const auto& [path, entry] : installed) {
        if (first.count(path))
            EXPECT_EQ(after.count(path), 0u) << path;
        else
            EXPECT_EQ(after[path], entry) << path; // the other product included
    }
    for (const auto& [path, text] : scripts) {
        std::string now = ReadFile(root / path);
        EXPECT_EQ(now, WithoutSection(text, "STOWDEMO")) << path;
        EXPECT_NE(now.find("#BEGIN_OTHERDEMO\n"), std::string::npos) << path;
    }

    // And the other one goes too, leaving the user's scripts as they were.
    ASSERT_EQ(Deinstall("Otherdemo").exitCode, 0);
    EXPECT_TRUE(TaggedBy(Snapshot(), kOtherKey).empty());
    for (const auto& [path, text] : kScripts)
        EXPECT_EQ(WithoutSection(ReadFile(root / path), "StartUpFolder"), text) << path;
}

TEST_F(DeinstallEndToEnd, AFolderItemGoesToTheTrashAsOneEntryAndComesBackWhole)
{
    constexpr int kFiles = 2000;
    Install();
    InstallFrom(MakeBulkProduct(work / "bulk", kFiles), "bulk-installer");
    if (HasFatalFailure())
        return;
    fs::path item = root / "opt/Stowbulk/bulk";
    std::map<std::string, std::string> installed = Entries(item);
    ASSERT_EQ(installed.size(), size_t(kFiles + 20 + 1));
    ASSERT_NE(installed["latest"].find("[Stowbulk;1.0;"), std::string::npos); // tagged link

    ASSERT_EQ(Deinstall("Stowdemo").exitCode, 0);
    RunResult removed = Deinstall("Stowbulk");
    ASSERT_EQ(removed.exitCode, 0) << removed.err;
    EXPECT_FALSE(fs::exists(item));
    std::set<std::string> trashed = TrashedOriginals();
    EXPECT_TRUE(trashed.count("opt/Stowbulk/bulk"));
    EXPECT_TRUE(trashed.count("usr/local/share/doc/Stowdemo/manual")); // the demo's, whole too
    for (const std::string& path : trashed)
        EXPECT_NE(path.rfind("opt/Stowbulk/bulk/", 0), 0u) << path;

    // The desktop's Trash lists the item once and restores all of it.
    if (!GioAvailable())
        GTEST_SKIP() << "gio, dbus-run-session or the gvfs trash backend is not installed";
    RunResult listed = Gio({"trash", "--list"});
    ASSERT_EQ(listed.exitCode, 0) << listed.err;
    std::string uri;
    std::istringstream lines(listed.out);
    for (std::string line; std::getline(lines, line);) {
        size_t tab = line.find('\t');
        if (tab != std::string::npos && line.find(item.string(), tab) == tab + 1) {
            EXPECT_TRUE(uri.empty()) << listed.out; // one entry, not one per file
            EXPECT_EQ(line.substr(tab + 1), item.string());
            uri = line.substr(0, tab);
        }
    }
    ASSERT_FALSE(uri.empty()) << listed.out;
    RunResult restored = Gio({"trash", "--restore", uri});
    ASSERT_EQ(restored.exitCode, 0) << restored.err;
    EXPECT_EQ(Entries(item), installed);
}

// Root stays the owner of the trial root's system folders; an ordinary user
// who owns only the home folder installs with the default folders, which
// become the home's, and removes the product again. A destination the user
// cannot write is refused before anything is written, naming it and why.
TEST_F(DeinstallEndToEnd, AnOrdinaryUserInstallsIntoTheHomeFolderAndRemovesItAgain)
{
    const std::string setpriv = FindProgram("setpriv");
    if (geteuid() != 0 || setpriv.empty())
        GTEST_SKIP() << "needs root and setpriv to run the programs as another user";
    const uid_t nobody = 65534;
    for (const fs::path& folder : {temp.Path(), root, work})
        chmod(folder.c_str(), 0755);
    for (const auto& entry : fs::recursive_directory_iterator(root / "home/demo"))
        lchown(entry.path().c_str(), nobody, nobody);
    lchown((root / "home/demo").c_str(), nobody, nobody);
    const std::string installer = (work / "demo-installer").string();
    RunResult built
        = stowtest::Run({BinPath("stowpack"), "build", SourcePath("samples/demo/product.json"),
            "-o", installer, "--deinstaller", BinPath("Stowclear")});
    ASSERT_EQ(built.exitCode, 0) << built.err;
    auto asNobody = [&](std::vector<std::string> argv) {
        argv.insert(argv.begin(), {setpriv, "--reuid=65534", "--regid=65534", "--clear-groups"});
        std::map<std::string, std::string> environment = Environment();
        environment["DISPLAY"] = "";
        return stowtest::Run(argv, {}, environment);
    };

    RunResult refused = asNobody({installer, "--unattended", "--accept-license", "--all", "--dest",
        (root / "opt").string()});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(
        refused.err.find("cannot write in " + (root / "opt").string() + ": permission denied"),
        std::string::npos)
        << refused.err;
    EXPECT_TRUE(fs::is_empty(root / "opt"));

    RunResult installed = asNobody({installer, "--unattended", "--accept-license", "--all"});
    ASSERT_EQ(installed.exitCode, 0) << installed.err;
    EXPECT_TRUE(fs::is_empty(root / "opt"));
    std::set<std::string> tagged = TaggedBy(Snapshot(), kDemoKey);
    ASSERT_GE(tagged.size(), 10u);
    for (const std::string& path : tagged)
        EXPECT_EQ(path.rfind("home/demo/", 0), 0u) << path;
    const fs::path deinstaller = root / "home/demo/Applications/Stowdemo/Stowdemo 1.0 Deinstaller";
    ASSERT_TRUE(fs::exists(deinstaller));

    RunResult removed = asNobody({deinstaller.string(), "--unattended"});
    ASSERT_EQ(removed.exitCode, 0) << removed.err;
    EXPECT_TRUE(TaggedBy(Snapshot(), kDemoKey).empty());
    EXPECT_EQ(TrashedOriginals(), OutermostPaths(tagged));
    EXPECT_TRUE(fs::exists(root / "home/demo/.config/stowdemo.conf")); // not deinstallable
}
