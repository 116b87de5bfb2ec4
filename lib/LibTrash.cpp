#include "LibFileOperations.h"

#include "BEntry.h"
#include "BPath.h"
#include "Trash.h"

#include <string>

namespace {

// "name copy 9999" is as far as a rename aside goes looking for a free name.
constexpr int kMaxAttempts = 10000;

} // namespace

bool LibTrash(const BPath& path, const bool& overwrite)
{
    if (path.InitCheck() != B_OK)
        return false;
    return move_to_trash(path.Path(), overwrite ? TrashClash::Replace : TrashClash::KeepBoth)
        == B_OK;
}

bool LibDuplicate(const char* path)
{
    if (path == nullptr || *path == '\0')
        return false;
    BEntry entry(path);
    if (entry.InitCheck() != B_OK || !entry.Exists() || entry.Name() == nullptr)
        return false;
    std::string leaf = entry.Name();
    // The rename itself refuses a taken name, so a name that appears
    // meanwhile is never overwritten: the next one is tried instead.
    for (int attempt = 1; attempt <= kMaxAttempts; ++attempt) {
        status_t status = entry.Rename(trash_clash_name(leaf, attempt).c_str(), false);
        if (status == B_OK)
            return true;
        if (status != B_FILE_EXISTS)
            return false;
    }
    return false;
}
