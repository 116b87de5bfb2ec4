#include "LibFileOperations.h"

#include "BDirectory.h"
#include "BEntry.h"
#include "BNode.h"

#include <climits>
#include <sys/stat.h>

namespace {

int64 AttributeBytes(const char* path)
{
    BNode node(path);
    if (node.InitCheck() != B_OK)
        return 0;
    int64 total = 0;
    char name[B_ATTR_NAME_LENGTH];
    while (node.GetNextAttrName(name) == B_OK) {
        attr_info info;
        if (node.GetAttrInfo(name, &info) == B_OK)
            total += info.size;
    }
    return total;
}

// Links inside a folder count as themselves and are never entered, so a link
// back up the tree cannot make the walk go round for ever.
int64 NodeBytes(const BEntry& entry, bool withAttributes)
{
    struct stat st;
    if (entry.GetStat(&st) != B_OK)
        return 0;
    int64 total = st.st_size;
    if (withAttributes)
        total += AttributeBytes(entry.Path());
    if (!S_ISDIR(st.st_mode))
        return total;
    BDirectory folder(&entry);
    BEntry child;
    while (folder.InitCheck() == B_OK && folder.GetNextEntry(&child, false) == B_OK)
        total += NodeBytes(child, withAttributes);
    return total;
}

} // namespace

int64 LibEntrySize64(const char* path, bool withAttributes)
{
    if (path == nullptr || *path == '\0')
        return 0;
    BEntry entry(path, true);
    if (entry.InitCheck() != B_OK || !entry.Exists())
        return 0;
    return NodeBytes(entry, withAttributes);
}

int32 LibEntrySize(const char* path, bool withAttributes)
{
    int64 size = LibEntrySize64(path, withAttributes);
    return size > INT32_MAX ? INT32_MAX : int32(size);
}
