#include "LibRefFilter.h"

#include "BEntry.h"
#include "BNodeInfo.h"
#include "BPath.h"
#include "FileTypes.h"
#include "StorageDefs.h"

#include <string>
#include <sys/stat.h>

LibRefFilter::LibRefFilter() = default;

LibRefFilter::~LibRefFilter() = default;

void LibRefFilter::AddType(const char* mimeType)
{
    fTypes.Add(mimeType);
}

void LibRefFilter::AllowAllFiles(const bool& allow)
{
    fAllowAllFiles = allow;
}

void LibRefFilter::AllowSoftLinks(const bool& allow)
{
    fAllowSoftLinks = allow;
}

bool LibRefFilter::Filter(const entry_ref* ref, BNode*, struct stat* stat, const char* mimeType)
{
    if (stat != nullptr && fAllowAllFiles && S_ISREG(stat->st_mode))
        return true;
    if (stat != nullptr && !fAllowAllFiles && S_ISLNK(stat->st_mode) && fAllowSoftLinks)
        return LinkTargetListed(ref);
    return Listed(mimeType);
}

bool LibRefFilter::Listed(const char* mimeType)
{
    return mimeType != nullptr && fTypes.InList(mimeType);
}

// The target's type as its attribute gives it, or as its content shows it
// (folders and volumes need no attribute).
bool LibRefFilter::LinkTargetListed(const entry_ref* ref)
{
    BEntry target(ref, true);
    BPath path;
    if (target.InitCheck() != B_OK || !target.Exists() || target.GetPath(&path) != B_OK)
        return false;
    BNode node(path.Path());
    BNodeInfo info(&node);
    char type[B_MIME_TYPE_LENGTH] = {};
    if (info.InitCheck() == B_OK && info.GetType(type) == B_OK && type[0] != '\0')
        return Listed(type);
    return Listed(detect_mime_type(path.Path()).c_str());
}
