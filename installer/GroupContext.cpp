#include "GroupContext.h"

#include <cstdio>
#include <cstring>

GroupContext::GroupContext(const char* name)
    : fName(name)
{ }

GroupContext::GroupContext(const GroupContext& other)
    : fName(other.fName)
    , fUid(other.fUid)
    , fDescription(other.fDescription)
{ }

GroupContext& GroupContext::operator=(const GroupContext& other)
{
    fName = other.fName;
    fUid = other.fUid;
    fDescription = other.fDescription;
    return *this;
}

bool GroupContext::operator==(const GroupContext& other) const
{
    return strcmp(fName, other.fName) == 0;
}

bool GroupContext::operator>(const GroupContext& other) const
{
    return strcmp(fName, other.fName) > 0;
}

void GroupContext::PrintToStream() const
{
    fprintf(stderr, "GroupContext: %ld) name %s, desc (%s)\n", long(fUid),
        static_cast<const char*>(fName), static_cast<const char*>(fDescription));
}
