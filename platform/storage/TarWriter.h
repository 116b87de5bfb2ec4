// Writes a tar archive of one file, link or folder tree, as "tar -cf" does,
// in-process. The format is POSIX ustar; names, link targets, sizes, owners
// and times that do not fit its fixed fields ride in a pax extended header
// before the member, which every current tar reads.
#pragma once

#include "SupportDefs.h"

#include <string>

// Archives `input` (relative to `baseFolder`, or absolute) into
// `archivePath`. Member names are `input` as given, less any leading "/" and
// "../" parts; a folder's members follow it in name order, links are stored
// as links. The archive itself is never archived. The file appears at
// `archivePath` only when complete (written beside it, then renamed).
status_t write_tar_archive(const char* archivePath, const char* baseFolder, const char* input);

// The member name `write_tar_archive` gives to `input`.
std::string tar_member_name(const std::string& input);
