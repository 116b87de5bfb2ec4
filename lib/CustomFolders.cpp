#include "CustomFolders.h"

#include "BMessage.h"

#include <cstring>

namespace {

const char* const kQuantity = "custom_folder_qty";

} // namespace

CustomFolders::~CustomFolders() = default;

bool CustomFolders::IsCustom(const char* name)
{
    return Find(name) != nullptr;
}

CustomFolder* CustomFolders::Find(const char* name)
{
    if (name == nullptr)
        return nullptr;
    for (CustomFolder* folder = First(); folder != nullptr; folder = Next()) {
        if (strcmp(folder->Name(), name) == 0)
            return folder;
    }
    return nullptr;
}

int32 CustomFolders::CountCommonCustom()
{
    int32 count = 0;
    for (CustomFolder* folder = First(); folder != nullptr; folder = Next()) {
        if (folder->CommonDef())
            count++;
    }
    return count;
}

status_t CustomFolders::WritePref(BMessage& message, bool own)
{
    int32 common = CountCommonCustom();
    status_t status = message.AddInt32(kQuantity, own ? Size() - common : common);
    long n = 0;
    for (CustomFolder* folder = First(); folder != nullptr && status == B_OK; folder = Next()) {
        if (folder->CommonDef() != own)
            status = folder->WritePref(n++, message);
    }
    return status;
}

void CustomFolders::ReadPref(BMessage& message, bool own)
{
    int32 quantity = 0;
    if (message.FindInt32(kQuantity, &quantity) != B_OK)
        return;
    for (long n = 0; n < quantity && CustomFolder::HasPref(n, message); ++n) {
        CustomFolder* folder = new CustomFolder;
        folder->ReadPref(n, message);
        if (!own) {
            CustomFolder* clash = Find(folder->Name());
            if (clash != nullptr) {
                LibString renamed(clash->Name());
                renamed.Concat(" Renamed");
                clash->SetName(renamed);
            }
        }
        folder->CommonDef(!own);
        if (!Insert(folder))
            delete folder;
    }
}

void CustomFolders::PrintToStream()
{
    for (CustomFolder* folder = First(); folder != nullptr; folder = Next())
        folder->PrintToStream();
}
