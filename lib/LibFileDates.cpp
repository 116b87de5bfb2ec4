#include "LibFileDates.h"

#include "BEntry.h"

#include <cstdio>

namespace {

LibDateTime Epoch()
{
    return LibDateTime(1, 1, 1970);
}

// `start` moved to the file time `when`.
LibDateTime FromFileTime(LibDateTime start, time_t when, bool local)
{
    if (local)
        start.SetDateTime(long(when), true);
    else
        start.AddSeconds(long(when));
    return start;
}

} // namespace

LibDateTime LibCreationDate(const char* path, const bool& local)
{
    BEntry entry(path);
    time_t when;
    if (entry.InitCheck() != B_OK || entry.GetCreationTime(&when) != B_OK) {
        fprintf(stderr, "LibCreationDate: Unable to set entry <%s>\n", path != nullptr ? path : "");
        return Epoch();
    }
    return FromFileTime(Epoch(), when, local);
}

LibDateTime LibCreationDate(const entry_ref& ref, const bool& local)
{
    BEntry entry(&ref);
    time_t when;
    LibDateTime start(true);
    if (entry.InitCheck() != B_OK || entry.GetCreationTime(&when) != B_OK) {
        fprintf(stderr, "LibCreationDate: Unable to set entry\n");
        return start;
    }
    return FromFileTime(local ? start : Epoch(), when, local);
}

LibDateTime LibLastModifiedDate(const BEntry& entry, const bool& local)
{
    time_t when;
    if (entry.InitCheck() != B_OK || entry.GetModificationTime(&when) != B_OK)
        return Epoch();
    return FromFileTime(Epoch(), when, local);
}

LibDateTime LibLastModifiedDate(const char* path, const bool& local)
{
    return LibLastModifiedDate(BEntry(path), local);
}

LibDateTime LibAccessedDate(const BEntry& entry, const bool& local)
{
    time_t when;
    if (entry.InitCheck() != B_OK || entry.GetAccessTime(&when) != B_OK)
        return Epoch();
    return FromFileTime(Epoch(), when, local);
}
