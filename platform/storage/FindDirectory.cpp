#include "FindDirectory.h"

#include "BDirectory.h"
#include "BPath.h"
#include "BVolume.h"
#include "StowRoot.h"

#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

using B = FolderBase;

// The one table of standard folders. Values count up by one within a group.
// A system folder names its per-user counterpart, used by a user who cannot
// write the system one (the XDG base directories and the ~/.local layout).
const StandardFolder kFolders[] = {
    {B_DESKTOP_DIRECTORY, "Desktop", B::Desktop, ""},
    {B_TRASH_DIRECTORY, "Trash", B::DataHome, "Trash"},

    {B_BEOS_DIRECTORY, "BeOS", B::Absolute, "/usr", B::Home, ".local"},
    {B_BEOS_SYSTEM_DIRECTORY, "BeOS System", B::Absolute, "/usr/lib", B::Home, ".local/lib"},
    {B_BEOS_ADDONS_DIRECTORY, "BeOS Add-Ons", B::Absolute, "/usr/lib", B::Home, ".local/lib"},
    {B_BEOS_BOOT_DIRECTORY, "BeOS Boot", B::Absolute, "/etc/init.d", B::ConfigHome, "boot"},
    {B_BEOS_FONTS_DIRECTORY, "BeOS Fonts", B::Absolute, "/usr/share/fonts", B::DataHome, "fonts"},
    {B_BEOS_LIB_DIRECTORY, "BeOS Libraries", B::Absolute, "/usr/lib", B::Home, ".local/lib"},
    {B_BEOS_SERVERS_DIRECTORY, "BeOS Servers", B::Absolute, "/usr/sbin", B::Home, ".local/bin"},
    {B_BEOS_APPS_DIRECTORY, "BeOS Applications", B::Absolute, "/usr/bin", B::Home, ".local/bin"},
    {B_BEOS_BIN_DIRECTORY, "BeOS Bin", B::Absolute, "/usr/bin", B::Home, ".local/bin"},
    {B_BEOS_ETC_DIRECTORY, "BeOS Etc", B::Absolute, "/etc", B::ConfigHome, ""},
    {B_BEOS_DOCUMENTATION_DIRECTORY, "BeOS Documentation", B::Absolute, "/usr/share/doc",
        B::DataHome, "doc"},
    {B_BEOS_PREFERENCES_DIRECTORY, "BeOS Preferences", B::Absolute, "/usr/bin", B::Home,
        ".local/bin"},
    {B_BEOS_TRANSLATORS_DIRECTORY, "BeOS Translators", B::Absolute, "/usr/lib", B::Home,
        ".local/lib"},
    {B_BEOS_MEDIA_NODES_DIRECTORY, "BeOS Media Nodes", B::Absolute, "/usr/lib", B::Home,
        ".local/lib"},
    {B_BEOS_SOUNDS_DIRECTORY, "BeOS Sounds", B::Absolute, "/usr/share/sounds", B::DataHome,
        "sounds"},

    {B_COMMON_DIRECTORY, "Common", B::Absolute, "/usr/local", B::Home, ".local"},
    {B_COMMON_SYSTEM_DIRECTORY, "Common System", B::Absolute, "/usr/local/lib", B::Home,
        ".local/lib"},
    {B_COMMON_ADDONS_DIRECTORY, "Common Add-Ons", B::Absolute, "/usr/local/lib", B::Home,
        ".local/lib"},
    {B_COMMON_BOOT_DIRECTORY, "Common Boot", B::Absolute, "/usr/local/etc/init.d", B::ConfigHome,
        "boot"},
    {B_COMMON_FONTS_DIRECTORY, "Common Fonts", B::Absolute, "/usr/local/share/fonts", B::DataHome,
        "fonts"},
    {B_COMMON_LIB_DIRECTORY, "Common Libraries", B::Absolute, "/usr/local/lib", B::Home,
        ".local/lib"},
    {B_COMMON_SERVERS_DIRECTORY, "Common Servers", B::Absolute, "/usr/local/sbin", B::Home,
        ".local/bin"},
    {B_COMMON_BIN_DIRECTORY, "Common Bin", B::Absolute, "/usr/local/bin", B::Home, ".local/bin"},
    {B_COMMON_ETC_DIRECTORY, "Common Etc", B::Absolute, "/usr/local/etc", B::ConfigHome, ""},
    {B_COMMON_DOCUMENTATION_DIRECTORY, "Common Documentation", B::Absolute, "/usr/local/share/doc",
        B::DataHome, "doc"},
    {B_COMMON_SETTINGS_DIRECTORY, "Common Settings", B::Absolute, "/usr/local/etc", B::ConfigHome,
        ""},
    {B_COMMON_DEVELOP_DIRECTORY, "Common Develop", B::Absolute, "/usr/local/include", B::Home,
        ".local/include"},
    {B_COMMON_LOG_DIRECTORY, "Common Log", B::Absolute, "/var/log", B::StateHome, "log"},
    {B_COMMON_SPOOL_DIRECTORY, "Common Spool", B::Absolute, "/var/spool", B::StateHome, "spool"},
    {B_COMMON_TEMP_DIRECTORY, "Common Temporary", B::Temporary, ""},
    {B_COMMON_VAR_DIRECTORY, "Common Var", B::Absolute, "/var", B::StateHome, ""},
    {B_COMMON_TRANSLATORS_DIRECTORY, "Common Translators", B::Absolute, "/usr/local/lib", B::Home,
        ".local/lib"},
    {B_COMMON_MEDIA_NODES_DIRECTORY, "Common Media Nodes", B::Absolute, "/usr/local/lib", B::Home,
        ".local/lib"},
    {B_COMMON_SOUNDS_DIRECTORY, "Common Sounds", B::Absolute, "/usr/local/share/sounds",
        B::DataHome, "sounds"},

    {B_USER_DIRECTORY, "User", B::Home, ""},
    {B_USER_CONFIG_DIRECTORY, "User Configuration", B::ConfigHome, ""},
    {B_USER_ADDONS_DIRECTORY, "User Add-Ons", B::Home, ".local/lib"},
    {B_USER_BOOT_DIRECTORY, "User Boot", B::ConfigHome, "boot"},
    {B_USER_FONTS_DIRECTORY, "User Fonts", B::DataHome, "fonts"},
    {B_USER_LIB_DIRECTORY, "User Libraries", B::Home, ".local/lib"},
    {B_USER_SETTINGS_DIRECTORY, "User Settings", B::ConfigHome, ""},
    {B_USER_DESKBAR_DIRECTORY, "User Deskbar", B::DataHome, "applications"},
    {B_USER_PRINTERS_DIRECTORY, "User Printers", B::ConfigHome, "printers"},
    {B_USER_TRANSLATORS_DIRECTORY, "User Translators", B::Home, ".local/lib"},
    {B_USER_MEDIA_NODES_DIRECTORY, "User Media Nodes", B::Home, ".local/lib"},
    {B_USER_SOUNDS_DIRECTORY, "User Sounds", B::DataHome, "sounds"},

    {B_APPS_DIRECTORY, "Applications", B::Absolute, "/opt", B::Home, "Applications"},
    {B_PREFERENCES_DIRECTORY, "Preferences", B::Absolute, "/opt", B::Home, "Applications"},
    {B_UTILITIES_DIRECTORY, "Utilities", B::Absolute, "/opt", B::Home, "Applications"},
};

// An environment variable holding an absolute path; relative values are
// ignored, as the XDG base directories ask.
std::string AbsoluteVariable(const char* name)
{
    const char* value = getenv(name);
    return value != nullptr && value[0] == '/' ? BPath::Clean(value) : std::string();
}

std::string HomeFolder()
{
    std::string home = AbsoluteVariable("HOME");
    if (!home.empty())
        return home;
    struct passwd entry;
    struct passwd* found = nullptr;
    std::vector<char> buffer(16384);
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found
        && found->pw_dir[0] == '/')
        return BPath::Clean(found->pw_dir);
    return "/";
}

std::string ConfigHome()
{
    std::string value = AbsoluteVariable("XDG_CONFIG_HOME");
    return value.empty() ? HomeFolder() + "/.config" : value;
}

std::string DataHome()
{
    std::string value = AbsoluteVariable("XDG_DATA_HOME");
    return value.empty() ? HomeFolder() + "/.local/share" : value;
}

// XDG_DESKTOP_DIR="$HOME/Desktop" as the user-dirs file writes it.
std::string DesktopFromUserDirs()
{
    std::ifstream in(stow_rooted(ConfigHome() + "/user-dirs.dirs"));
    std::string line;
    const std::string key = "XDG_DESKTOP_DIR=";
    while (std::getline(in, line)) {
        if (line.compare(0, key.size(), key) != 0)
            continue;
        std::string value = line.substr(key.size());
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        std::string unescaped;
        for (size_t i = 0; i < value.size(); ++i) {
            if (value[i] == '\\' && i + 1 < value.size())
                ++i;
            unescaped += value[i];
        }
        if (unescaped == "$HOME" || unescaped.compare(0, 6, "$HOME/") == 0)
            return BPath::Clean(HomeFolder() + unescaped.substr(5));
        if (!unescaped.empty() && unescaped[0] == '/')
            return BPath::Clean(unescaped);
    }
    return {};
}

std::string DesktopFolder()
{
    std::string value = AbsoluteVariable("XDG_DESKTOP_DIR");
    if (value.empty())
        value = DesktopFromUserDirs();
    return value.empty() ? HomeFolder() + "/Desktop" : value;
}

std::string StateHome()
{
    std::string value = AbsoluteVariable("XDG_STATE_HOME");
    return value.empty() ? HomeFolder() + "/.local/state" : value;
}

std::string BaseFolder(FolderBase base)
{
    switch (base) {
    case FolderBase::StateHome:
        return StateHome();
    case FolderBase::Home:
        return HomeFolder();
    case FolderBase::ConfigHome:
        return ConfigHome();
    case FolderBase::DataHome:
        return DataHome();
    case FolderBase::Desktop:
        return DesktopFolder();
    case FolderBase::Temporary: {
        std::string value = AbsoluteVariable("TMPDIR");
        return value.empty() ? "/tmp" : value;
    }
    case FolderBase::Absolute:
        break;
    }
    return "/";
}

std::string Unrooted(FolderBase base, const char* subPath)
{
    if (base == FolderBase::Absolute)
        return subPath;
    std::string folder = BaseFolder(base);
    return *subPath ? BPath::Clean(folder + "/" + subPath) : folder;
}

// A folder the effective user can create entries in: the folder itself, or
// where it does not exist yet, the nearest existing folder above it.
bool IsWritable(std::string path)
{
    for (;;) {
        struct stat info;
        if (stat(path.c_str(), &info) == 0)
            return S_ISDIR(info.st_mode)
                && faccessat(AT_FDCWD, path.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
        if (path.empty() || path == "/")
            return false;
        size_t slash = path.rfind('/');
        path = slash == 0 || slash == std::string::npos ? "/" : path.substr(0, slash);
    }
}

// The folder's path, `place` putting a path as it would be on a plain
// system where it really is (inside the trial root, or below a volume).
// `perUser` tells whether the per-user counterpart was taken.
std::string Resolve(const StandardFolder& folder,
    const std::function<std::string(const std::string&)>& place, bool& perUser)
{
    const std::string system = place(Unrooted(folder.base, folder.subPath));
    perUser = folder.userSubPath != nullptr && folder_scope() == FolderScope::User
        && !IsWritable(system);
    return perUser ? place(Unrooted(folder.userBase, folder.userSubPath)) : system;
}

std::string OnBootVolume(const std::string& path)
{
    return stow_rooted(path);
}

bool IsUserFolder(const StandardFolder& folder)
{
    return folder.base != FolderBase::Absolute && folder.base != FolderBase::Temporary;
}

} // namespace

std::span<const StandardFolder> standard_folders()
{
    return kFolders;
}

const StandardFolder* standard_folder(directory_which which)
{
    for (const auto& folder : kFolders) {
        if (folder.which == which)
            return &folder;
    }
    return nullptr;
}

const StandardFolder* standard_folder_named(const char* name)
{
    if (name == nullptr)
        return nullptr;
    for (const auto& folder : kFolders) {
        if (strcmp(folder.name, name) == 0)
            return &folder;
    }
    return nullptr;
}

FolderScope folder_scope()
{
    return geteuid() == 0 ? FolderScope::System : FolderScope::User;
}

bool resolves_per_user(const StandardFolder& folder)
{
    bool perUser = false;
    Resolve(folder, OnBootVolume, perUser);
    return perUser;
}

std::string standard_base_folder(FolderBase base)
{
    return stow_rooted(BaseFolder(base));
}

status_t find_directory(directory_which which, BPath* path, bool createIt, BVolume* volume)
{
    const StandardFolder* folder = standard_folder(which);
    if (folder == nullptr || path == nullptr)
        return B_BAD_VALUE;
    std::string result;
    bool perUser = false;
    if (volume == nullptr || volume->IsBoot()) {
        result = Resolve(*folder, OnBootVolume, perUser);
    } else {
        if (volume->InitCheck() != B_OK)
            return B_BAD_VALUE;
        // Another volume keeps the same layout below its own root; its
        // trash is the per-volume one of the freedesktop layout.
        std::string root = volume->RootPath();
        if (which == B_TRASH_DIRECTORY)
            result = BPath::Clean(root + "/.Trash-" + std::to_string(getuid()));
        else
            result = Resolve(
                *folder,
                [&root](const std::string& path) { return BPath::Clean(root + "/" + path); },
                perUser);
    }
    status_t status = path->SetTo(result.c_str());
    if (status != B_OK || !createIt)
        return status;
    mode_t mode = IsUserFolder(*folder) || perUser || which == B_TRASH_DIRECTORY ? 0700 : 0755;
    status = create_directory(result.c_str(), mode);
    if (status == B_OK && which == B_TRASH_DIRECTORY) {
        status = create_directory((result + "/files").c_str(), 0700);
        if (status == B_OK)
            status = create_directory((result + "/info").c_str(), 0700);
    }
    return status;
}
