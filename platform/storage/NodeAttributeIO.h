// Whole-value attribute access for one node, in extended attributes where
// the kernel keeps them and in the attribute store where it does not (links,
// special files, file systems without user attributes, values too large for
// an extended attribute). BNode builds the kit's interface on top of it.
#pragma once

#include "SupportDefs.h"

#include <string>
#include <vector>

namespace NodeAttributeIO {

// The node: an open descriptor when there is one, else the path itself
// (never followed when it is a link).
struct Target {
    std::string path;
    int fd = -1;
    bool useStoreOnly = false; // links and special files
    // Made a moment ago by the writer: it holds no attribute to replace.
    bool fresh = false;
};

// "mime_type" is the Linux spelling of "BEOS:TYPE"; both name one attribute.
std::string CanonicalName(const char* name);

status_t Read(const Target& target, const std::string& name, type_code& type, std::string& data);
status_t GetInfo(const Target& target, const std::string& name, type_code& type, off_t& size);
status_t Write(
    const Target& target, const std::string& name, type_code type, const std::string& data);
status_t Remove(const Target& target, const std::string& name);
status_t List(const Target& target, std::vector<std::string>& names);

} // namespace NodeAttributeIO
