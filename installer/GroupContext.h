// One install group of a product ("Typical", "Documents", ...): its name,
// which the files of the group name in their "groups" field, the identifier
// its list gave it, and the description shown when the pointer rests on it.
#pragma once

#include "LibString.h"

class GroupContext {
public:
    GroupContext() = default;
    explicit GroupContext(const char* name);
    virtual ~GroupContext() = default;
    GroupContext(const GroupContext& other);

    void SetName(const char* name) { fName = name; }
    void SetUid(const long& uid) { fUid = int32(uid); }
    void SetDescription(const char* description) { fDescription = description; }
    const char* Name() const { return fName; }
    int32 Uid() const { return fUid; }
    const char* Description() const { return fDescription; }

    GroupContext& operator=(const GroupContext& other);
    // By name, case-sensitive.
    bool operator==(const GroupContext& other) const;
    bool operator>(const GroupContext& other) const;

    // "GroupContext: <uid>) name <name>, desc (<description>)" on standard
    // error.
    void PrintToStream() const;

private:
    LibString fName;
    int32 fUid = 0;
    LibString fDescription;
};
