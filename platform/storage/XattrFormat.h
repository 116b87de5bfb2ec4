// How a typed attribute is kept in a Linux extended attribute of the "user."
// namespace. Text stays plain so that standard tools show it; other types
// carry their type code in a short prefix (see docs/attributes.md).
#pragma once

#include "SupportDefs.h"

#include <string>

namespace XattrFormat {

// The largest value the kernel accepts for one extended attribute.
constexpr size_t kMaxXattrValue = 65536;
// The longest attribute name: what "user." leaves of the kernel's 255.
constexpr size_t kMaxNameLength = 250;

// "user." plus the name; "BEOS:TYPE" (and its Linux spelling "mime_type")
// becomes "user.mime_type". Empty when the name cannot be an xattr name.
std::string XattrName(const std::string& name);

// The attribute name of an extended attribute, or empty for names outside
// the "user." namespace.
std::string AttributeName(const std::string& xattrName);

// What an xattr value holds.
struct Decoded {
    type_code type = B_STRING_TYPE;
    std::string data;     // the value's bytes (empty when spilled)
    bool spilled = false; // the bytes are kept in the attribute store
    uint64 spilledSize = 0;
};

std::string Encode(const std::string& name, type_code type, const std::string& data);
// The stub left in the xattr when the value lives in the attribute store.
std::string EncodeSpilled(type_code type, uint64 size);
Decoded Decode(const std::string& name, const std::string& value);

} // namespace XattrFormat
