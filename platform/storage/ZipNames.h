// The safety rules for member names and link targets: every member lies
// inside the one item, and no link leads out of it.
#pragma once

#include <map>
#include <string>

namespace ZipNames {

// Deepest member path accepted (components, the item's own name included).
constexpr size_t kMaxDepth = 256;
// Longest link target accepted.
constexpr size_t kMaxLinkTarget = 4095;

// Checks a raw member name and gives it without a folder's trailing slash.
// False, with the reason in `why`, for an empty or absolute name, a NUL, an
// empty, "." or ".." component, or too many components.
bool Normalize(const std::string& raw, std::string& name, bool& endsWithSlash, std::string& why);

// The first component of a normalized name: the item the member belongs to.
std::string TopComponent(const std::string& name);

// The folder part of a normalized name ("" for the item itself).
std::string Parent(const std::string& name);

// Whether following the link at `linkPath` (a normalized name) to `target`
// stays inside the item, following the archive's other `links` (normalized
// name to target) as the file system would. False, with the reason, when it
// leads out, is absolute or empty, holds a NUL, or goes round in circles.
bool LinkStaysInside(const std::string& linkPath, const std::string& target,
    const std::map<std::string, std::string>& links, std::string& why);

} // namespace ZipNames
