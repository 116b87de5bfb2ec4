#include "CheckAndPrompt.h"

#include "BEntry.h"
#include "BPath.h"
#include "LibFileOperations.h"
#include "ReplaceAlert.h"

#include <cstring>
#include <sys/stat.h>

void CheckAndPrompt(const BPath& entry, const char* destination, bool& ask, bool& replace)
{
    const char* leaf = entry.Leaf();
    if (destination == nullptr || *destination == '\0' || leaf == nullptr || *leaf == '\0'
        || strcmp(leaf, ".") == 0 || strcmp(leaf, "..") == 0)
        return;
    BPath target(destination, leaf);
    struct stat st;
    BEntry existing(target.Path());
    if (target.InitCheck() != B_OK || existing.GetStat(&st) != B_OK)
        return;
    if (ask) {
        ReplaceAlert alert(entry, target, true, "en");
        replace = alert.Go() == ReplaceAlert::kReplaceButton;
        ask = !alert.ApplyToAll();
    }
    if (replace)
        LibUnlink(target.Path());
}
