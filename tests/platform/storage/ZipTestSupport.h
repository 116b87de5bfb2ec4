// Helpers for the archive tests: a tree snapshot to compare items, and
// hand-built archives (hostile ones included) made with minizip directly.
#pragma once

#include "ZipAttributes.h"
#include "ZipExtractor.h"

#include <filesystem>
#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace ziptest {

// Everything about one entry of an extracted or original tree that must
// survive the trip through an archive.
struct EntryState {
    std::string kind;     // "file", "folder", "link"
    std::string contents; // a file's bytes or a link's target
    unsigned mode = 0;
    int64_t modified = 0;
    int64_t accessed = 0;
    ZipAttributeList attributes;

    bool operator==(const EntryState& other) const = default;
};

void PrintTo(const EntryState& state, std::ostream* stream);

// Path relative to `root`'s parent (so the item's own name leads) to state.
// Folder and link access times are left out: reading them changes them.
std::map<std::string, EntryState> Snapshot(
    const std::filesystem::path& root, ZipAttributeStore* store);

// Lists every path below `root`, for checking that nothing else appeared.
std::vector<std::string> ListTree(const std::filesystem::path& root);

void SetTimes(const std::filesystem::path& path, int64_t accessed, int64_t modified);

// One member of a hand-built archive.
struct RawMember {
    std::string name;
    std::string data;
    unsigned unixMode = 0100644; // with type bits; 0 for none
    bool deflate = true;
    unsigned host = 3;
    // Lies written into the headers (-1: the truth).
    int64_t declaredSize = -1;
    int64_t declaredCrc = -1;
};

// Writes the members with minizip, raw, so that headers can lie.
void WriteRawArchive(const std::filesystem::path& path, const std::vector<RawMember>& members);

// Extracts `archive` into `destination` with the given options.
status_t ExtractFile(const std::filesystem::path& archive, const std::filesystem::path& destination,
    std::string* error = nullptr, ZipExtractOptions options = {});

std::string RandomBytes(size_t size, unsigned seed);

} // namespace ziptest
