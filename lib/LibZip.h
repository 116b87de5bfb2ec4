// Zip archives of one file or folder, made and unpacked in-process (no zip
// or unzip program is looked for or run), with modes, times, links and
// attributes. Layout: docs/zip-archives.md.
#pragma once

#include "BPath.h"

// Archives `source` (a folder recursively, links inside it kept as links)
// under its leaf name at compression `level` (0 stores, 1 to 9 deflate).
// `archive` is replaced, once the new one is complete, by an archive of
// this one item. False, with the reason on standard error, on failure.
bool LibZip(const char* archive, const BPath& source, int level);

// Unpacks the item of `archive` into the archive's own folder: a file or
// link of the item's name there is replaced, a folder of that name receives
// the item's contents (files of the same names replaced), like unzip -o.
// The item is unpacked beside its place first: a damaged or refused archive
// changes nothing. False, with the reason on standard error, on failure.
bool LibUnzip(const char* archive);
