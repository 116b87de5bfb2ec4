// A trial root for the install engine tests: STOW_ROOT, the home folder and
// the attribute store in a fresh temporary folder, and small helpers to
// build a record and look at what the engine left on disk.
#pragma once

#include "FindDirectory.h"
#include "InstallConfig.h"
#include "TestSupport.h"

#include <filesystem>
#include <string>

namespace stowtest {

struct InstallSandbox {
    TempDir temp;
    ScopedEnv root {"STOW_ROOT", temp.Str()};
    ScopedEnv home {"HOME", "/home/tester"};
    ScopedEnv data {"XDG_DATA_HOME", ""};
    ScopedEnv config {"XDG_CONFIG_HOME", ""};

    std::filesystem::path Work() const
    {
        std::filesystem::create_directories(temp / "work");
        return temp / "work";
    }
};

inline BMessage CustomFolderEntry(
    const char* name, directory_which root, const char* sub, bool replace)
{
    BMessage folder;
    folder.AddString("custom_folder_name", name);
    folder.AddInt32("custom_root_dir", root);
    folder.AddString("custom_sub_dir", sub);
    folder.AddBool("custom_replace_existing", replace);
    return folder;
}

// Writes a file, making its folders first.
inline void Put(const std::filesystem::path& path, const std::string& contents)
{
    std::filesystem::create_directories(path.parent_path());
    WriteFile(path, contents);
}

inline bool Exists(const std::filesystem::path& path)
{
    return std::filesystem::exists(std::filesystem::symlink_status(path));
}

} // namespace stowtest
