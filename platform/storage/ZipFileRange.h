// A byte range of an open file, seen by minizip as a whole file through its
// custom I/O hooks: archives are read straight out of a larger file (the
// executable's resources) and written through a descriptor we own.
#pragma once

#include "SupportDefs.h"

#include <minizip/ioapi.h>
#include <vector>

struct ZipFileRange {
    int fd = -1;       // not owned
    uint64 base = 0;   // where the range starts in the file
    uint64 length = 0; // grows as a writable range is written
    bool writable = false;
    uint64 position = 0; // within the range
    int error = 0;       // the first errno met

    // minizip reads headers a few bytes at a time: small reads of a
    // read-only range are served from a window read ahead.
    static constexpr size_t kWindowSize = 64 * 1024;
    std::vector<uint8> window;
    uint64 windowStart = 0;
    size_t windowLength = 0;

    // Hooks that read and write this range; pass the range itself as the
    // "path" to unzOpen2_64 or zipOpen2_64.
    static zlib_filefunc64_def Functions();
};
