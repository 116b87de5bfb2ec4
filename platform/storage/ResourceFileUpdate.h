// Writes a file's new resources safely: the program's bytes and the new
// container go to a temporary file beside it, which then replaces the file
// in one rename. A failure at any point leaves the old file as it was.
#pragma once

#include "BFile.h"
#include "ResourceFormat.h"

// Keeps the first `keepBytes` bytes of `file`, follows them with a
// container of `items` (none: no container) and reopens `file` on the
// result. Mode, owner (where allowed) and attributes carry over.
status_t replace_file_resources(BFile& file, uint64 keepBytes,
    const std::vector<ResourceFormat::Item>& items, std::vector<ResourceFormat::Entry>& written);
