// The install groups of a product in the order the record lists them, read
// from and written into the record's "groups" message (two parallel string
// fields, "group_name" and "group_description").
#pragma once

#include "GroupContext.h"
#include "LinkList.h"

class BMessage;

class GroupContextList : public LinkList<GroupContext> {
public:
    GroupContextList() = default;

    // Replaces the groups by those of `groups`, numbered 0, 1, 2, ...
    void Read(const BMessage& groups);
    void Write(BMessage& groups);

    // The first group with that identifier, or null.
    GroupContext* FindContext(const long& uid);
    // Deletes the first group with that identifier.
    void RemoveContext(const long& uid);
    // An identifier no group has: one above the highest, so that it stays
    // unique after removals (and is the count while the groups are numbered
    // by their places, as after Read).
    int32 NextUid();
    // Case-sensitive.
    bool HasGroup(const char* name);
    // Appends a group of that name unless one exists.
    void Add(const char* name);

    void PrintToStream();
};
