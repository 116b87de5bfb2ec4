// The standard folders by `directory_which` value, each with its display name
// and its Linux place. The one table lives in FindDirectory.cpp; docs/folders.md
// lists every row.
#pragma once

#include "SupportDefs.h"

#include <span>
#include <string>

class BPath;
class BVolume;

enum directory_which : int32 {
    B_DESKTOP_DIRECTORY = 0,
    B_TRASH_DIRECTORY = 1,

    B_BEOS_DIRECTORY = 1000,
    B_BEOS_SYSTEM_DIRECTORY,
    B_BEOS_ADDONS_DIRECTORY,
    B_BEOS_BOOT_DIRECTORY,
    B_BEOS_FONTS_DIRECTORY,
    B_BEOS_LIB_DIRECTORY,
    B_BEOS_SERVERS_DIRECTORY,
    B_BEOS_APPS_DIRECTORY,
    B_BEOS_BIN_DIRECTORY,
    B_BEOS_ETC_DIRECTORY,
    B_BEOS_DOCUMENTATION_DIRECTORY,
    B_BEOS_PREFERENCES_DIRECTORY,
    B_BEOS_TRANSLATORS_DIRECTORY,
    B_BEOS_MEDIA_NODES_DIRECTORY,
    B_BEOS_SOUNDS_DIRECTORY,

    B_COMMON_DIRECTORY = 2000,
    B_COMMON_SYSTEM_DIRECTORY,
    B_COMMON_ADDONS_DIRECTORY,
    B_COMMON_BOOT_DIRECTORY,
    B_COMMON_FONTS_DIRECTORY,
    B_COMMON_LIB_DIRECTORY,
    B_COMMON_SERVERS_DIRECTORY,
    B_COMMON_BIN_DIRECTORY,
    B_COMMON_ETC_DIRECTORY,
    B_COMMON_DOCUMENTATION_DIRECTORY,
    B_COMMON_SETTINGS_DIRECTORY,
    B_COMMON_DEVELOP_DIRECTORY,
    B_COMMON_LOG_DIRECTORY,
    B_COMMON_SPOOL_DIRECTORY,
    B_COMMON_TEMP_DIRECTORY,
    B_COMMON_VAR_DIRECTORY,
    B_COMMON_TRANSLATORS_DIRECTORY,
    B_COMMON_MEDIA_NODES_DIRECTORY,
    B_COMMON_SOUNDS_DIRECTORY,

    B_USER_DIRECTORY = 3000,
    B_USER_CONFIG_DIRECTORY,
    B_USER_ADDONS_DIRECTORY,
    B_USER_BOOT_DIRECTORY,
    B_USER_FONTS_DIRECTORY,
    B_USER_LIB_DIRECTORY,
    B_USER_SETTINGS_DIRECTORY,
    B_USER_DESKBAR_DIRECTORY,
    B_USER_PRINTERS_DIRECTORY,
    B_USER_TRANSLATORS_DIRECTORY,
    B_USER_MEDIA_NODES_DIRECTORY,
    B_USER_SOUNDS_DIRECTORY,

    B_APPS_DIRECTORY = 4000,
    B_PREFERENCES_DIRECTORY,
    B_UTILITIES_DIRECTORY,
};

// Where a standard folder starts from.
enum class FolderBase {
    Absolute,   // a fixed system place
    Home,       // the home folder ($HOME, else the password entry)
    ConfigHome, // $XDG_CONFIG_HOME, else ~/.config
    DataHome,   // $XDG_DATA_HOME, else ~/.local/share
    Desktop,    // XDG_DESKTOP_DIR (environment or user-dirs.dirs), else ~/Desktop
    Temporary,  // $TMPDIR, else /tmp
    StateHome,  // $XDG_STATE_HOME, else ~/.local/state
};

struct StandardFolder {
    directory_which which;
    const char* name; // the display name standard places are known by
    FolderBase base;
    const char* subPath; // below the base; for Absolute the whole path
    // A system folder's per-user counterpart (null for the others).
    FolderBase userBase = FolderBase::Absolute;
    const char* userSubPath = nullptr;
};

// Whose folders the standard folders are. Run as root, the system folders;
// run by an ordinary user, a system folder that the user cannot write (the
// folder, or where it does not exist yet, the nearest folder above it)
// resolves to its per-user counterpart.
enum class FolderScope {
    System,
    User,
};
FolderScope folder_scope();

// Every standard folder, by value.
std::span<const StandardFolder> standard_folders();
const StandardFolder* standard_folder(directory_which which);
const StandardFolder* standard_folder_named(const char* name);

// The folder a base stands for on the boot volume ("/" for Absolute),
// resolved as the table's rows are: without "." or ".." components and
// inside STOW_ROOT when set. Places of the platform's own that are not
// standard folders (the attribute store) start from here.
std::string standard_base_folder(FolderBase base);

// Whether the folder resolves to its per-user counterpart now.
bool resolves_per_user(const StandardFolder& folder);

// The folder's path (on the boot volume unless another volume is given;
// inside STOW_ROOT when set), created with its parents when `createIt`.
// B_BAD_VALUE for an unknown value or an unusable volume.
status_t find_directory(
    directory_which which, BPath* path, bool createIt = false, BVolume* volume = nullptr);
