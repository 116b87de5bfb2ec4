// File types found by content, as the type-detection tool assigns them. The
// type names are the system's own BeOS names where the design has one
// (folders, executables, links) and freedesktop.org names otherwise.
#pragma once

#include "SupportDefs.h"

#include <string>

constexpr const char* kDirectoryMimeType = "application/x-vnd.Be-directory";
constexpr const char* kExecutableMimeType = "application/x-vnd.Be-elfexecutable";
constexpr const char* kSymLinkMimeType = "application/x-vnd.Be-symlink";
// The root folder of a mounted volume (a mount point, "/" included), which
// folder choosers show beside plain folders.
constexpr const char* kVolumeMimeType = "application/x-vnd.Be-volume";

// The type of the entry at `path` (not followed when a link); empty when
// nothing is there or it cannot be read.
std::string detect_mime_type(const char* path);
// The type of file content given its first bytes (as many as are at hand,
// up to 4096).
std::string mime_type_of_content(const std::string& head, bool executable);

// Assigns the detected type to `path` and, for a folder, to everything
// inside it (links not followed), replacing any type already there.
status_t set_mime_types(const char* path);
