// Copy, move, remove and link done in-process, with the effects of the
// classic command lines (cp -fR, mv -f, rm -fr, ln -fs) but no shell, so any
// file name is handled like any other. Results appear at their final place
// only when complete: new files, links and folder trees are built beside it
// under a hidden temporary name and renamed into place.
#pragma once

#include "SupportDefs.h"

#include <functional>
#include <string>
#include <sys/types.h>

// Asked before each file and each chunk of data; true stops the operation,
// which then cleans up what it built and returns B_CANCELED. The check may
// also unwind (a killed thread's cancellation point does): what was built is
// removed and nothing is leaked on the way out.
using CancelCheck = std::function<bool()>;

enum class TargetMode {
    IntoFolder, // an existing folder at the destination receives the source
    ExactPath,  // the destination names the result itself
};

// Copies a file, link or folder tree (links copied as links) keeping modes,
// the access and modification times and attributes. A folder onto an
// existing folder merges into it; anything else replaces what is there.
// Copying a folder into itself is refused.
status_t copy_entry(const char* source, const char* destination,
    TargetMode mode = TargetMode::IntoFolder, const CancelCheck& cancel = {});

// Moves by renaming; across volumes copies, then removes the source (the
// removal is not cancelled once the copy is complete). A link that is the
// moved entry is moved as a link. A folder replaces only an empty folder.
status_t move_entry(const char* source, const char* destination,
    TargetMode mode = TargetMode::IntoFolder, const CancelCheck& cancel = {});

// Removes a file, link or folder tree without following any link out of it.
// Nothing at `path` is success. Goes on past errors and returns the first.
status_t remove_entry(const char* path, const CancelCheck& cancel = {});

// Places a link to `target` at `link`, replacing a file or link there. An
// existing real folder at `link` receives the link inside it, named after
// the target; a link at `link` is replaced even when it points to a folder.
status_t make_symlink(const char* target, const char* link);

// Writes `size` bytes as the whole new content of `path` (beside, flushed,
// then renamed over it).
status_t write_file_atomically(const char* path, const void* data, size_t size, mode_t mode);

// Where an operation puts `source`: inside `destination` when that is an
// existing folder (links followed) and the mode allows, else `destination`.
std::string resolve_destination(
    const std::string& source, const std::string& destination, TargetMode mode);

// Copies every attribute of `from` onto `to` (links not followed), wherever
// each side keeps them (extended attributes or the attribute store).
status_t copy_attributes(const char* from, const char* to);

// Creates something beside `finalPath` under a fresh hidden name: `make`
// is given a candidate path and returns 0 or an errno value (EEXIST tries
// another name).
status_t create_beside(const std::string& finalPath,
    const std::function<int(const std::string&)>& make, std::string* tempPath);
