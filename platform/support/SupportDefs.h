// Basic types, status codes and type codes shared by every platform class.
#pragma once

#include <climits>
#include <cstddef>
#include <cstdint>
#include <sys/types.h>

typedef int8_t int8;
typedef uint8_t uint8;
typedef int16_t int16;
typedef uint16_t uint16;
typedef int32_t int32;
typedef uint32_t uint32;
typedef int64_t int64;
typedef uint64_t uint64;

typedef int32 status_t;
typedef uint32 type_code;
typedef int64 bigtime_t;
typedef int32 thread_id;
typedef int32 team_id;
typedef int32 dev_t_32;

// Status codes. The values follow the classic kit's layout: general errors
// from INT32_MIN up, storage errors in a block of their own.
enum : status_t {
    B_OK = 0,
    B_ERROR = -1,
    B_GENERAL_ERROR_BASE = INT32_MIN,
    B_NO_MEMORY = B_GENERAL_ERROR_BASE,
    B_IO_ERROR,
    B_PERMISSION_DENIED,
    B_BAD_INDEX,
    B_BAD_TYPE,
    B_BAD_VALUE,
    B_MISMATCHED_VALUES,
    B_NAME_NOT_FOUND,
    B_NAME_IN_USE,
    B_TIMED_OUT,
    B_INTERRUPTED,
    B_WOULD_BLOCK,
    B_CANCELED,
    B_NO_INIT,
    B_BUSY,
    B_NOT_ALLOWED,
    B_BAD_DATA,
    B_DONT_DO_THAT,

    B_BAD_THREAD_ID = B_GENERAL_ERROR_BASE + 0x1000 + 0x100,
    B_BAD_THREAD_STATE,
    B_NO_MORE_THREADS,
    B_BAD_PORT_ID = B_GENERAL_ERROR_BASE + 0x1000 + 0x200,

    B_STORAGE_ERROR_BASE = B_GENERAL_ERROR_BASE + 0x6000,
    B_FILE_ERROR = B_STORAGE_ERROR_BASE,
    B_FILE_EXISTS = B_STORAGE_ERROR_BASE + 2,
    B_ENTRY_NOT_FOUND,
    B_NAME_TOO_LONG,
    B_NOT_A_DIRECTORY,
    B_DIRECTORY_NOT_EMPTY,
    B_DEVICE_FULL,
    B_READ_ONLY_DEVICE,
    B_IS_A_DIRECTORY,
    B_NO_MORE_FDS,
    B_CROSS_DEVICE_LINK,
    B_LINK_LIMIT,
    B_BUSTED_PIPE,
    B_UNSUPPORTED,
    B_PARTITION_TOO_SMALL,
    B_ATTR_NOT_SUPPORTED, // the file system keeps no attributes on this node
};

// Four-character type codes of typed data (messages, attributes, resources).
constexpr type_code FourCC(char a, char b, char c, char d)
{
    return (uint32(uint8(a)) << 24) | (uint32(uint8(b)) << 16) | (uint32(uint8(c)) << 8)
        | uint32(uint8(d));
}

enum : type_code {
    B_ANY_TYPE = FourCC('A', 'N', 'Y', 'T'),
    B_BOOL_TYPE = FourCC('B', 'O', 'O', 'L'),
    B_CHAR_TYPE = FourCC('C', 'H', 'A', 'R'),
    B_DOUBLE_TYPE = FourCC('D', 'B', 'L', 'E'),
    B_FLOAT_TYPE = FourCC('F', 'L', 'O', 'T'),
    B_INT8_TYPE = FourCC('B', 'Y', 'T', 'E'),
    B_INT16_TYPE = FourCC('S', 'H', 'R', 'T'),
    B_INT32_TYPE = FourCC('L', 'O', 'N', 'G'),
    B_INT64_TYPE = FourCC('L', 'L', 'N', 'G'),
    B_MESSAGE_TYPE = FourCC('M', 'S', 'G', 'G'),
    B_MIME_TYPE = FourCC('M', 'I', 'M', 'S'),
    B_POINT_TYPE = FourCC('B', 'P', 'N', 'T'),
    B_POINTER_TYPE = FourCC('P', 'N', 'T', 'R'),
    B_RAW_TYPE = FourCC('R', 'A', 'W', 'T'),
    B_RECT_TYPE = FourCC('R', 'E', 'C', 'T'),
    B_REF_TYPE = FourCC('R', 'R', 'E', 'F'),
    B_RGB_COLOR_TYPE = FourCC('R', 'G', 'B', 'C'),
    B_STRING_TYPE = FourCC('C', 'S', 'T', 'R'),
    B_UINT8_TYPE = FourCC('U', 'B', 'Y', 'T'),
    B_UINT16_TYPE = FourCC('U', 'S', 'H', 'T'),
    B_UINT32_TYPE = FourCC('U', 'L', 'N', 'G'),
    B_UINT64_TYPE = FourCC('U', 'L', 'L', 'G'),
};

// Thread priorities.
enum : int32 {
    B_LOW_PRIORITY = 5,
    B_NORMAL_PRIORITY = 10,
    B_DISPLAY_PRIORITY = 15,
    B_URGENT_DISPLAY_PRIORITY = 20,
    B_REAL_TIME_DISPLAY_PRIORITY = 100,
    B_URGENT_PRIORITY = 110,
    B_REAL_TIME_PRIORITY = 120,
};

constexpr bigtime_t B_INFINITE_TIMEOUT = INT64_MAX;

// Maps an errno value onto the status codes above (the one place that does).
status_t status_from_errno(int error);

// The four characters of a type code, for printing ("CSTR").
struct TypeCodeText {
    char text[5];
};
TypeCodeText type_code_text(type_code type);
