#include "InstallListItem.h"

#include "BFont.h"
#include "BMessage.h"
#include "LibStringIterator.h"

InstallListItem::InstallListItem(const bool& showFullPath)
    : FileListItem(true, showFullPath)
{
    SetTruncateMode(B_TRUNCATE_BEGINNING);
}

InstallListItem::InstallListItem(const char* path, const bool& indented, const bool& showFullPath)
    : FileListItem(path, indented, showFullPath)
{
    SetTruncateMode(B_TRUNCATE_BEGINNING);
}

InstallListItem::InstallListItem(InstallListItem& other, const bool& indented)
    : FileListItem(other, indented)
{
    fGroups = other.fGroups;
    SetTruncateMode(B_TRUNCATE_BEGINNING);
}

void InstallListItem::Read(BMessage& message)
{
    FileListItem::Read(message);
    LibStringIterator fields(message.FindString("groups"));
    LibString field;
    while (fields.GetNextField(';', field)) {
        if (field.Length() > 0)
            fGroups.Add(field);
    }
    int32 size = 0;
    if (message.FindInt32("file_size", &size) == B_OK)
        fSize = size;
}

void InstallListItem::Write(BMessage& message)
{
    FileListItem::Write(message);
    LibString groups;
    for (LibString* group = fGroups.First(); group != nullptr; group = fGroups.Next())
        groups.Concat(*group).Concat(";");
    message.AddString("groups", groups);
    message.AddInt32("file_size", fSize);
}
