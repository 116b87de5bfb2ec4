// Limits and open modes of the storage kit. The open modes keep the kit's
// own values; BFile maps them onto Linux flags.
#pragma once

#include "SupportDefs.h"

#define B_FILE_NAME_LENGTH 256
#define B_PATH_NAME_LENGTH 1024
#define B_ATTR_NAME_LENGTH 256
#define B_MIME_TYPE_LENGTH 256

enum : uint32 {
    B_READ_ONLY = 0x0000,
    B_WRITE_ONLY = 0x0001,
    B_READ_WRITE = 0x0002,
    B_FAIL_IF_EXISTS = 0x0100,
    B_CREATE_FILE = 0x0200,
    B_ERASE_FILE = 0x0400,
    B_OPEN_AT_END = 0x0800,
};

constexpr uint32 B_ACCESS_MODE_MASK = 0x0003;

// What GetAttrInfo reports about one attribute.
struct attr_info {
    type_code type;
    off_t size;
};

// Node kinds, combined as flags where a call accepts several.
enum node_flavor : int32 {
    B_FILE_NODE = 0x01,
    B_SYMLINK_NODE = 0x02,
    B_DIRECTORY_NODE = 0x04,
    B_ANY_NODE = 0x07,
};
