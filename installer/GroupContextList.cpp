#include "GroupContextList.h"

#include "BMessage.h"

#include <algorithm>
#include <cstring>

void GroupContextList::Read(const BMessage& groups)
{
    Clear();
    const char* name = nullptr;
    for (int32 i = 0; groups.FindString("group_name", i, &name) == B_OK; ++i) {
        auto* group = new GroupContext(name);
        group->SetUid(NextUid());
        const char* description = "";
        groups.FindString("group_description", i, &description);
        group->SetDescription(description);
        Insert(group);
    }
}

void GroupContextList::Write(BMessage& groups)
{
    for (GroupContext* group = First(); group != nullptr; group = Next()) {
        groups.AddString("group_name", group->Name());
        groups.AddString("group_description", group->Description());
    }
}

GroupContext* GroupContextList::FindContext(const long& uid)
{
    for (GroupContext* group = First(); group != nullptr; group = Next()) {
        if (group->Uid() == uid)
            return group;
    }
    return nullptr;
}

void GroupContextList::RemoveContext(const long& uid)
{
    // FindContext leaves the cursor on the group.
    if (FindContext(uid) != nullptr)
        Remove();
}

int32 GroupContextList::NextUid()
{
    int64 next = 0;
    for (GroupContext* group = First(); group != nullptr; group = Next())
        next = std::max(next, int64(group->Uid()) + 1);
    return int32(std::min<int64>(next, INT32_MAX));
}

bool GroupContextList::HasGroup(const char* name)
{
    for (GroupContext* group = First(); name != nullptr && group != nullptr; group = Next()) {
        if (strcmp(group->Name(), name) == 0)
            return true;
    }
    return false;
}

void GroupContextList::Add(const char* name)
{
    if (name == nullptr || HasGroup(name))
        return;
    auto* group = new GroupContext(name);
    group->SetUid(NextUid());
    Insert(group);
}

void GroupContextList::PrintToStream()
{
    for (GroupContext* group = First(); group != nullptr; group = Next())
        group->PrintToStream();
}
