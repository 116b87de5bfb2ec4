// One-item zip archives made and unpacked in-process, and fresh temporary
// names.
#include "FindDirectory.h"
#include "LibNode.h"
#include "LibUniqueName.h"
#include "LibZip.h"
#include "Teams.h"
#include "TestSupport.h"
#include "TreeSnapshot.h"

#include <ctime>
#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;
using stowtest::TempDir;

namespace {

class ZipTest : public ::testing::Test {
protected:
    TempDir fRoot;
    stowtest::ScopedEnv fStowRoot {"STOW_ROOT", fRoot.Str()};
    stowtest::ScopedEnv fHome {"HOME", (fRoot / "home").string()};
    TempDir fDir;

    // "Docs" with a file of an awkward name, an empty folder and a link.
    std::string MakeFolder()
    {
        fs::path root = fDir / "Docs";
        fs::create_directories(root / "empty");
        stowtest::WriteFile(root / "it's \"$HOME\" `x` \\ \n.txt", "awkward");
        stowtest::WriteFile(root / "plain", "plain");
        fs::create_symlink("plain", root / "link");
        EXPECT_GT(LibNode((root / "plain").c_str()).WriteStringAttr("InstallBy", "tag"), 0);
        return root.string();
    }
};

} // namespace

TEST_F(ZipTest, ArchivesUnzipAcceptsComeBackWhole)
{
    std::string folder = MakeFolder();
    stowtest::TreeSnapshot before = stowtest::Snapshot(folder);
    std::string archive = (fDir / "docs.zip").string();
    ASSERT_TRUE(LibZip(archive.c_str(), BPath(folder.c_str()), 6));
    auto test = stowtest::Run({"/usr/bin/unzip", "-tq", archive});
    EXPECT_EQ(test.exitCode, 0) << test.out << test.err;
    auto list = stowtest::Run({"/usr/bin/unzip", "-Z1", archive});
    EXPECT_NE(list.out.find("Docs/empty/"), std::string::npos) << list.out;

    fs::rename(folder, fDir / "original");
    ASSERT_TRUE(LibUnzip(archive.c_str()));
    std::string differences = stowtest::Differences(before, stowtest::Snapshot(folder));
    EXPECT_TRUE(differences.empty()) << differences;
    EXPECT_TRUE(stowtest::Leftovers(fDir.Str()).empty());

    // A second archive of another item replaces the first whole.
    stowtest::WriteFile(fDir / "single", "single");
    ASSERT_TRUE(LibZip(archive.c_str(), BPath((fDir / "single").c_str()), 0));
    list = stowtest::Run({"/usr/bin/unzip", "-Z1", archive});
    EXPECT_EQ(list.out, "single\n");

    EXPECT_FALSE(LibZip(archive.c_str(), BPath((fDir / "single").c_str()), 10));
    EXPECT_FALSE(LibZip(archive.c_str(), BPath((fDir / "missing").c_str()), 9));
    EXPECT_EQ(stowtest::Run({"/usr/bin/unzip", "-Z1", archive}).out, "single\n");
}

TEST_F(ZipTest, UnzipOverwritesFilesMergesFoldersAndRefusesDamage)
{
    std::string folder = MakeFolder();
    std::string archive = (fDir / "docs.zip").string();
    ASSERT_TRUE(LibZip(archive.c_str(), BPath(folder.c_str()), 9));
    // Like unzip -o: same names replaced, other files kept.
    stowtest::WriteFile(fs::path(folder) / "plain", "changed");
    stowtest::WriteFile(fs::path(folder) / "extra", "extra");
    ASSERT_TRUE(LibUnzip(archive.c_str()));
    EXPECT_EQ(stowtest::ReadFile(fs::path(folder) / "plain"), "plain");
    EXPECT_EQ(stowtest::ReadFile(fs::path(folder) / "extra"), "extra");

    stowtest::WriteFile(fDir / "note", "first");
    std::string noteArchive = (fDir / "note.zip").string();
    ASSERT_TRUE(LibZip(noteArchive.c_str(), BPath((fDir / "note").c_str()), 9));
    stowtest::WriteFile(fDir / "note", "second");
    ASSERT_TRUE(LibUnzip(noteArchive.c_str()));
    EXPECT_EQ(stowtest::ReadFile(fDir / "note"), "first");

    std::string bytes = stowtest::ReadFile(noteArchive);
    stowtest::WriteFile(noteArchive, bytes.substr(0, bytes.size() - 30));
    stowtest::WriteFile(fDir / "note", "kept");
    EXPECT_FALSE(LibUnzip(noteArchive.c_str()));
    EXPECT_EQ(stowtest::ReadFile(fDir / "note"), "kept");
    EXPECT_FALSE(LibUnzip((fDir / "missing.zip").c_str()));
    EXPECT_TRUE(stowtest::Leftovers(fDir.Str()).empty());
}

TEST_F(ZipTest, InfoZipArchivesUnpack)
{
    std::string folder = MakeFolder();
    fs::permissions(fs::path(folder) / "plain", fs::perms(0751));
    auto zip
        = stowtest::Run({"/usr/bin/sh", "-c", "cd \"$0\" && zip -qry info.zip Docs", fDir.Str()});
    ASSERT_EQ(zip.exitCode, 0) << zip.err;
    fs::rename(folder, fDir / "original");
    ASSERT_TRUE(LibUnzip((fDir / "info.zip").c_str()));
    EXPECT_EQ(stowtest::ReadFile(fs::path(folder) / "it's \"$HOME\" `x` \\ \n.txt"), "awkward");
    EXPECT_EQ(fs::read_symlink(fs::path(folder) / "link"), "plain");
    EXPECT_EQ(fs::status(fs::path(folder) / "plain").permissions(), fs::perms(0751));
    EXPECT_TRUE(fs::is_directory(fs::path(folder) / "empty"));
}

TEST_F(ZipTest, UniqueNamesCountUpAndWrap)
{
    BPath temp;
    ASSERT_EQ(find_directory(B_COMMON_TEMP_DIRECTORY, &temp), B_OK);
    EXPECT_EQ(std::string(temp.Path()).rfind(fRoot.Str(), 0), 0u); // inside STOW_ROOT

    // The leaf is the prefix, the counter, the process id and the time.
    auto counterOf = [](const BPath& path) {
        std::string leaf = path.Leaf();
        EXPECT_EQ(leaf.rfind("zip", 0), 0u) << leaf;
        std::string pid = std::to_string(current_team());
        for (time_t now = time(nullptr), t = now - 2; t <= now; ++t) {
            std::string tail = pid + std::to_string(long(t));
            if (leaf.size() > 3 + tail.size()
                && leaf.compare(leaf.size() - tail.size(), tail.size(), tail) == 0)
                return std::stol(leaf.substr(3, leaf.size() - 3 - tail.size()));
        }
        ADD_FAILURE() << "unexpected name " << leaf;
        return -1L;
    };
    BPath first;
    LibUniqueName(first, "zip");
    BPath parent;
    ASSERT_EQ(first.GetParent(&parent), B_OK);
    EXPECT_STREQ(parent.Path(), temp.Path());
    EXPECT_FALSE(fs::exists(first.Path())); // nothing is created
    long counter = counterOf(first);
    ASSERT_GE(counter, 1);
    ASSERT_LE(counter, 10000);

    BPath given(fDir.Str().c_str());
    LibUniqueName(given, "zip");
    EXPECT_EQ(fs::path(given.Path()).parent_path(), fDir.Path());
    EXPECT_EQ(counterOf(given), counter == 10000 ? 1 : counter + 1);

    // Round the counter until it wraps from 10000 to 1.
    long previous = counterOf(given);
    for (int i = 0; i < 10000 && previous != 10000; ++i) {
        BPath next;
        LibUniqueName(next, "zip");
        long value = counterOf(next);
        ASSERT_EQ(value, previous + 1);
        previous = value;
    }
    ASSERT_EQ(previous, 10000);
    BPath wrapped;
    LibUniqueName(wrapped, "zip");
    EXPECT_EQ(counterOf(wrapped), 1);
}
