// How far into a file its ELF headers reach: the end of the last header
// table, segment or section with file contents. Bytes after it belong to
// no part of the program; resources ride there.
#pragma once

#include "ByteSource.h"

// -1 when the bytes are not a well-formed ELF file (including one whose
// headers point past the end of the bytes).
int64 elf_content_end(const ByteSource& source);
