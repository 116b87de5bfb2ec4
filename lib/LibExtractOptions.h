// What a caller may ask of a long extraction: a stop check, asked for every
// member and every chunk of data (true stops it cleanly), progress in bytes
// written against the bytes to write, and a last touch of the unpacked item
// while it is still hidden: what that sets (times, attributes) arrives with
// the item, so the item is never seen at its final place without it.
#pragma once

#include "SupportDefs.h"
#include "ZipAttributes.h"

#include <functional>

class ZipWriterPool;

struct LibExtractOptions {
    std::function<bool()> shouldStop;
    std::function<void(uint64 done, uint64 total)> progress;
    // Given the item's hidden path just before it is renamed into place.
    std::function<void(const char* item)> prepare;
    // Written on every node of the item as it is unpacked (an install tag).
    ZipAttributeList everyNode;
    // The caller has verified the payload's checksum: it is not read twice.
    bool checked = false;
    // Files are written on these threads; without, on the calling one.
    ZipWriterPool* writers = nullptr;
};
