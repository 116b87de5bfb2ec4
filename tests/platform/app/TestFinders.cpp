// Finding what a product requires: shared libraries where the dynamic linker
// looks (environment folders, its cache, its default folders) and
// applications by their signature resource, all inside a trial root.
#include "TestSupport.h"

#include "BResources.h"
#include "BRoster.h"
#include "SharedLibraries.h"

#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>

using stowtest::ScopedEnv;
using stowtest::TempDir;
using stowtest::WriteFile;
namespace fs = std::filesystem;

namespace {

// A linker cache of (name, path) pairs in the "glibc-ld.so.cache1.1" layout.
std::string Cache(const std::vector<std::pair<std::string, std::string>>& libraries)
{
    std::string header(48, '\0');
    memcpy(header.data(), "glibc-ld.so.cache1.1", 20);
    uint32_t count = uint32_t(libraries.size());
    memcpy(header.data() + 20, &count, 4);
    std::string entries;
    std::string strings;
    uint32_t stringStart = uint32_t(48 + 24 * libraries.size());
    for (const auto& [name, path] : libraries) {
        std::string entry(24, '\0');
        uint32_t key = stringStart + uint32_t(strings.size());
        strings += name + '\0';
        uint32_t value = stringStart + uint32_t(strings.size());
        strings += path + '\0';
        memcpy(entry.data() + 4, &key, 4);
        memcpy(entry.data() + 8, &value, 4);
        entries += entry;
    }
    return header + entries + strings;
}

void Touch(const fs::path& path)
{
    fs::create_directories(path.parent_path());
    WriteFile(path.string(), "lib");
}

// A program file carrying `signature` as its application signature.
void App(const fs::path& path, const std::string& signature, fs::perms mode = fs::perms::owner_all)
{
    fs::create_directories(path.parent_path());
    WriteFile(path.string(), "#!/bin/sh\nexit 0\n");
    {
        BResources resources(path.c_str());
        ASSERT_EQ(resources.AddResource(
                      B_MIME_TYPE, 1, signature.c_str(), signature.size() + 1, "BEOS:APP_SIG"),
            B_OK);
        ASSERT_EQ(resources.Sync(), B_OK);
    }
    fs::permissions(path, mode);
}

} // namespace

TEST(SharedLibraries, EnvironmentFoldersThenCacheThenDefaults)
{
    TempDir root;
    ScopedEnv rooted("STOW_ROOT", root.Str());
    ScopedEnv libraryPath("LIBRARY_PATH", "::relative:/first:/second");
    ScopedEnv loaderPath("LD_LIBRARY_PATH", "/loader");
    Touch(root / "second/liba.so.1");
    Touch(root / "loader/liba.so.1");
    Touch(root / "loader/libb.so");
    Touch(root / "usr/lib/libc-default.so");
    Touch(root / "relative/libr.so");

    std::string path;
    EXPECT_TRUE(find_shared_library("liba.so.1", &path));
    EXPECT_EQ(path, (root / "second/liba.so.1").string());
    EXPECT_TRUE(find_shared_library("libb.so", &path));
    EXPECT_EQ(path, (root / "loader/libb.so").string());
    EXPECT_TRUE(find_shared_library("libc-default.so", &path));
    EXPECT_FALSE(find_shared_library("libr.so", &path)); // relative folders are not searched
    EXPECT_FALSE(find_shared_library("libnone.so", &path));
    EXPECT_FALSE(find_shared_library("", &path));
    EXPECT_FALSE(find_shared_library("../usr/lib/libc-default.so", &path));
    fs::create_directories(root / "usr/lib/libdir.so");
    EXPECT_FALSE(find_shared_library("libdir.so", &path)); // a folder is no library

    // The cache names places outside the default folders; a stale entry
    // whose file is gone does not count.
    Touch(root / "opt/vendor/lib/libv.so.2");
    fs::create_directories(root / "etc");
    WriteFile((root / "etc/ld.so.cache").string(),
        Cache(
            {{"libgone.so", "/opt/gone/libgone.so"}, {"libv.so.2", "/opt/vendor/lib/libv.so.2"}}));
    EXPECT_TRUE(find_shared_library("libv.so.2", &path));
    EXPECT_EQ(path, (root / "opt/vendor/lib/libv.so.2").string());
    EXPECT_FALSE(find_shared_library("libgone.so", &path));
}

TEST(SharedLibraries, DamagedCachesAreRefused)
{
    std::vector<std::string> paths;
    std::string good
        = Cache({{"libz.so.1", "/lib/libz.so.1"}, {"libz.so.1", "/usr/lib/libz.so.1"}});
    ASSERT_TRUE(ld_cache_paths(good, "libz.so.1", paths));
    EXPECT_EQ(paths, (std::vector<std::string> {"/lib/libz.so.1", "/usr/lib/libz.so.1"}));

    std::string hugeCount = good;
    uint32_t count = 0x10000000;
    memcpy(hugeCount.data() + 20, &count, 4);
    EXPECT_FALSE(ld_cache_paths(hugeCount, "libz.so.1", paths));
    std::string badOffset = good;
    uint32_t far = uint32_t(good.size() + 5);
    memcpy(badOffset.data() + 48 + 8, &far, 4);
    EXPECT_FALSE(ld_cache_paths(badOffset, "libz.so.1", paths));
    EXPECT_FALSE(ld_cache_paths(good.substr(0, good.size() - 1), "libz.so.1", paths));
    EXPECT_FALSE(ld_cache_paths("ld.so-1.7.0", "libz.so.1", paths));
    EXPECT_FALSE(ld_cache_paths(good.substr(0, 30), "libz.so.1", paths));

    // The machine's own cache reads, when it has one in this layout.
    std::string real = stowtest::ReadFile("/etc/ld.so.cache");
    if (real.compare(0, 20, "glibc-ld.so.cache1.1") == 0) {
        EXPECT_TRUE(ld_cache_paths(real, "libc.so.6", paths));
        EXPECT_FALSE(paths.empty());
    }
}

TEST(Roster, FindsApplicationsBySignatureInTheirFolders)
{
    TempDir root;
    ScopedEnv rooted("STOW_ROOT", root.Str());
    ScopedEnv home("HOME", "/home/user");
    ScopedEnv path("PATH", "/custom/bin:relative");
    App(root / "opt/Product/Product", "application/x-vnd.Test-Product");
    App(root / "opt/Suite/bin/Tool", "application/x-vnd.Test-Tool");
    App(root / "home/user/.local/bin/mine", "application/x-vnd.Test-Mine");
    App(root / "custom/bin/along-path", "application/x-vnd.Test-Path");
    App(root / "usr/bin/not-executable", "application/x-vnd.Test-NoExec",
        fs::perms::owner_read | fs::perms::owner_write);
    App(root / "opt/a/b/c/too-deep", "application/x-vnd.Test-Deep");
    WriteFile((root / "usr/bin/damaged").string(), std::string(100, 'x') + "STOWREND");
    fs::permissions(root / "usr/bin/damaged", fs::perms::owner_all);
    fs::create_directory_symlink(root / "opt", root / "opt/Product/loop");

    entry_ref ref;
    EXPECT_EQ(be_roster->FindApp("application/x-vnd.Test-Product", &ref), B_OK);
    EXPECT_EQ(ref.name, "Product");
    EXPECT_EQ(ref.directoryPath, (root / "opt/Product").string());
    EXPECT_EQ(be_roster->FindApp("application/x-vnd.Test-Tool", &ref), B_OK);
    EXPECT_EQ(be_roster->FindApp("application/x-vnd.Test-Mine", &ref), B_OK);
    EXPECT_EQ(be_roster->FindApp("application/x-vnd.Test-Path", &ref), B_OK);
    EXPECT_EQ(ref.name, "along-path");
    EXPECT_EQ(be_roster->FindApp("application/x-vnd.Test-NoExec", &ref), B_ENTRY_NOT_FOUND);
    EXPECT_EQ(be_roster->FindApp("application/x-vnd.Test-Deep", &ref), B_ENTRY_NOT_FOUND);
    EXPECT_EQ(be_roster->FindApp("application/x-vnd.Test", &ref), B_ENTRY_NOT_FOUND);
    EXPECT_EQ(be_roster->FindApp("", &ref), B_BAD_VALUE);
    EXPECT_EQ(BRoster::SignatureOf((root / "opt/Product/Product").c_str()),
        "application/x-vnd.Test-Product");
}
