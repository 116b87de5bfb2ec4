// The custom folder definitions of a product, in insertion order, owned by
// the list. Definitions belong to the user's own set or to the common
// (shared) set; each set is saved under its own preference keys.
#pragma once

#include "CustomFolder.h"
#include "LinkList.h"

class BMessage;

class CustomFolders : public LinkList<CustomFolder> {
public:
    CustomFolders() = default;
    ~CustomFolders() override;

    bool IsCustom(const char* name);
    // The first definition of that name (owned by the list), or null.
    CustomFolder* Find(const char* name);
    int32 CountCommonCustom();

    // Writes the user's own set (`own` true) or the common set, numbered
    // from 0, with its "custom_folder_qty".
    status_t WritePref(BMessage& message, bool own);
    // Appends the set stored in `message`. Reading the common set renames a
    // definition already in the list that has a common one's name by adding
    // " Renamed", so that both stay. A count beyond the definitions stored
    // stops at the last one stored.
    void ReadPref(BMessage& message, bool own);

    void PrintToStream();
};
