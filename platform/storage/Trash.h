// The freedesktop.org Trash: entries moved there with a .trashinfo file
// (original path and deletion date) so that desktop file managers can list
// and restore them.
#pragma once

#include "FileOperations.h"
#include "SupportDefs.h"

#include <string>
#include <vector>

enum class TrashClash {
    KeepBoth, // a taken name becomes "name copy", "name copy 1", ...
    Replace,  // the trashed entry of that name is removed first
};

// The trash that receives `path`: the home trash when `path` lies on the
// home trash's volume (always under STOW_ROOT), else the volume's own
// $topdir/.Trash/$uid (when an administrator prepared $topdir/.Trash) or
// $topdir/.Trash-$uid, falling back to the home trash when that cannot be
// made. The folder is created with its "files" and "info" folders.
status_t trash_folder_for(const char* path, std::string* trashFolder);

// Moves `path` (a link is moved as a link) into its trash. The .trashinfo
// file is created first, exclusively, which also settles name clashes
// between programs trashing at once. `trashedPath` receives the new place,
// also when the entry was copied there from another volume but could not
// be removed entirely at its old place (the error is then returned).
status_t move_to_trash(const char* path, TrashClash clash = TrashClash::KeepBoth,
    std::string* trashedPath = nullptr, const CancelCheck& cancel = {});

// The trash folders of this user that exist below `topdir` (the
// freedesktop $topdir/.Trash/$uid and $topdir/.Trash-$uid); nothing is
// created.
std::vector<std::string> existing_volume_trash_folders(const std::string& topdir);

// Attempt 0 is `leaf` itself, 1 "leaf copy", 2 "leaf copy 1", 3 "leaf copy 2".
std::string trash_clash_name(const std::string& leaf, int attempt);
// A path as the Path key of a .trashinfo file writes it: bytes other than
// unreserved URI characters and "/" percent-encoded.
std::string trash_info_escape(const std::string& path);
