// A trial root for tests that touch files: STOW_ROOT and the home folder lie
// in a fresh temporary folder, so every standard folder, the Trash, the
// shell scripts and the attribute store are inside it and nothing outside
// is touched.
#pragma once

#include "TestSupport.h"

#include <filesystem>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace stowtest {

struct Sandbox {
    TempDir temp;
    ScopedEnv root {"STOW_ROOT", temp.Str()};
    ScopedEnv home {"HOME", "/home/tester"};
    ScopedEnv data {"XDG_DATA_HOME", ""};
    ScopedEnv config {"XDG_CONFIG_HOME", ""};

    // A folder for the test's own files, inside the root.
    std::filesystem::path Work() const
    {
        std::filesystem::create_directories(temp / "work");
        return temp / "work";
    }
    // The home folder as the programs see it under the trial root.
    std::filesystem::path Home() const { return temp / "home/tester"; }
    std::filesystem::path Trash() const { return Home() / ".local/share/Trash"; }
    // A file at `relative` below the root, its folders made first.
    std::filesystem::path Make(const std::string& relative, const std::string& contents = "x")
    {
        std::filesystem::path path = temp / relative;
        std::filesystem::create_directories(path.parent_path());
        WriteFile(path, contents);
        return path;
    }
    std::filesystem::path Folder(const std::string& relative)
    {
        std::filesystem::create_directories(temp / relative);
        return temp / relative;
    }
};

// Writes a file, making its folders first.
inline void Put(const std::filesystem::path& path, const std::string& contents)
{
    std::filesystem::create_directories(path.parent_path());
    WriteFile(path, contents);
}

// Whether anything is at `path`, a dangling link included.
inline bool Exists(const std::filesystem::path& path)
{
    return std::filesystem::exists(std::filesystem::symlink_status(path));
}

// A folder on another file system than the temporary folder (a tmpfs at
// /dev/shm), or null when the machine has none.
inline std::unique_ptr<TempDir> OtherVolumeThan(const TempDir& disk)
{
    struct stat shm;
    struct stat here;
    if (stat("/dev/shm", &shm) != 0 || access("/dev/shm", W_OK) != 0
        || stat(disk.Str().c_str(), &here) != 0 || shm.st_dev == here.st_dev)
        return nullptr;
    return std::make_unique<TempDir>("/dev/shm");
}

// A name holding what a shell would interpret, and text beyond ASCII.
inline const std::string kOddName = "it's \"q\" $HOME `id` back\\slash  two\nlines caf\xc3\xa9";

} // namespace stowtest
