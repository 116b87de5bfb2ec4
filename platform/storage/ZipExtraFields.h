// The extra fields our archives carry per member, in Info-ZIP's layouts: the
// extended time stamp ("UT"), the Unix owner ("Ux") and the attribute field
// ("Be"). Each has a local-header form and a shorter central-directory form.
#pragma once

#include "ZipAttributes.h"

#include <vector>

namespace ZipExtraFields {

constexpr uint16 kTimeStampTag = 0x5455;  // "UT"
constexpr uint16 kUnixOwnerTag = 0x7855;  // "Ux"
constexpr uint16 kAttributesTag = 0x6542; // "Be"
constexpr uint16 kZip64Tag = 0x0001;

// Room the local header keeps for minizip's own Zip64 block.
constexpr size_t kZip64Reserve = 20;

struct Blocks {
    std::vector<uint8> local;
    std::vector<uint8> central;
};

// The data of the first block tagged `tag`; false when there is none or the
// block list is malformed before it.
bool Find(const uint8* extra, size_t size, uint16 tag, const uint8** data, size_t* length);

struct Times {
    bool hasModified = false;
    bool hasAccessed = false;
    bool hasCreated = false;
    int64 modified = 0;
    int64 accessed = 0;
    int64 created = 0;
};

// Values that 32 bits cannot hold are left out.
void AddTimeStamp(Blocks& blocks, const Times& times);

// `dosYear` is the member's MS-DOS date year: a value with its top bit set
// reads as a date after 2038 only when that year says so.
Times ParseTimeStamp(const uint8* data, size_t length, int dosYear);

// The sizes a central header defers to its Zip64 block: a size whose 32-bit
// field holds all ones is replaced by the block's next 64-bit value, in the
// format's order (size, then compressed size). False when the block is too
// short for what is deferred to it.
constexpr uint64 kDeferred = 0xffffffff;
bool ParseZip64Sizes(const uint8* data, size_t length, uint64& size, uint64& compressedSize);

// Left out when an id does not fit the field's 16 bits.
void AddUnixOwner(Blocks& blocks, uint32 user, uint32 group);

// The records deflated when that is smaller, stored otherwise; nothing is
// added for an empty list.
void AddAttributes(Blocks& blocks, const ZipAttributeList& list);

// Reads the local form. B_BAD_DATA when the field is damaged or too large.
status_t ParseAttributes(const uint8* data, size_t length, ZipAttributeList& list);

} // namespace ZipExtraFields
