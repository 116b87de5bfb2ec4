#include "LibDesktop.h"

#include "BPath.h"
#include "DesktopRequests.h"
#include "LibFileOperations.h"

namespace {

bool Request(const char* path, status_t (*request)(const char*))
{
    if (!LibExists(path))
        return false;
    BPath full(path);
    return full.InitCheck() == B_OK && request(full.Path()) == B_OK;
}

} // namespace

bool LibOpenEntry(const char* path)
{
    return Request(path, open_with_desktop);
}

bool LibInfoEntry(const char* path)
{
    return Request(path, show_entry_info);
}
