#include "StatusText.h"

namespace {

struct Text {
    status_t status;
    const char* text;
};

constexpr Text kTexts[] = {
    {B_OK, "no error"},
    {B_ERROR, "general error"},
    {B_NO_MEMORY, "out of memory"},
    {B_IO_ERROR, "input/output error"},
    {B_PERMISSION_DENIED, "permission denied"},
    {B_BAD_VALUE, "invalid argument"},
    {B_NAME_IN_USE, "name in use"},
    {B_TIMED_OUT, "timed out"},
    {B_INTERRUPTED, "interrupted"},
    {B_CANCELED, "stopped"},
    {B_NO_INIT, "not initialized"},
    {B_BUSY, "busy (a running program cannot be changed)"},
    {B_NOT_ALLOWED, "not allowed"},
    {B_BAD_DATA, "damaged data"},
    {B_FILE_EXISTS, "file exists"},
    {B_ENTRY_NOT_FOUND, "no such file or folder"},
    {B_NAME_TOO_LONG, "name too long"},
    {B_NOT_A_DIRECTORY, "not a folder"},
    {B_DIRECTORY_NOT_EMPTY, "folder not empty"},
    // The system's own words, as every tool says them.
    {B_DEVICE_FULL, "No space left on device"},
    {B_READ_ONLY_DEVICE, "read-only volume"},
    {B_IS_A_DIRECTORY, "is a folder"},
    {B_NO_MORE_FDS, "too many open files"},
    {B_CROSS_DEVICE_LINK, "not on the same volume"},
    {B_LINK_LIMIT, "too many symbolic links"},
    {B_UNSUPPORTED, "not supported"},
    {B_ATTR_NOT_SUPPORTED, "attributes not supported here"},
};

} // namespace

const char* status_text(status_t status)
{
    for (const Text& text : kTexts) {
        if (text.status == status)
            return text.text;
    }
    return "unknown error";
}
