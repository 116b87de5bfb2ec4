// What a caller may ask of a long extraction: a stop check, asked for every
// member and every chunk of data (true stops it cleanly), and progress in
// bytes written against the bytes to write.
#pragma once

#include "SupportDefs.h"

#include <functional>

struct LibExtractOptions {
    std::function<bool()> shouldStop;
    std::function<void(uint64 done, uint64 total)> progress;
};
