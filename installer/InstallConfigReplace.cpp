#include "InstallConfig.h"

#include "BEntry.h"
#include "BPath.h"
#include "LibFileOperations.h"
#include "ReplaceAlert.h"
#include "oLocalize.h"

#include <cstring>

namespace {

bool IsMode(const char* mode, const char* name)
{
    return mode != nullptr && strcmp(mode, name) == 0;
}

} // namespace

bool InstallConfig::ReplaceControl(const char* targetFolder, const BPath& item, const char* mode,
    bool& ask, bool& answer, const BPath& savedFolder)
{
    // No folder to place into (a place that could not be resolved).
    BEntry folder(targetFolder != nullptr ? targetFolder : "", true);
    if (folder.InitCheck() != B_OK || !folder.IsDirectory() || item.InitCheck() != B_OK)
        return false;
    BPath target(targetFolder, item.Leaf());
    BEntry existing(target.Path());
    if (target.InitCheck() != B_OK || !existing.Exists())
        return true;

    bool saveReplaced = FindBool("opt_save_replaced");
    const char* saved = savedFolder.InitCheck() == B_OK ? savedFolder.Path() : "";
    if (IsMode(mode, "Prompt")) {
        if (ask) {
            oLocalize localize;
            ReplaceAlert alert(item, target, true, localize.Language());
            answer = alert.Go() == ReplaceAlert::kReplaceButton;
            if (alert.ApplyToAll())
                ask = false;
        }
        if (!answer)
            return false;
        if (saveReplaced) {
            if (!SaveReplaced(target.Path(), saved))
                return false;
            Log("\t\t\tExisting file saved.\n");
        }
        return true;
    }
    if (IsMode(mode, "Rename")) {
        if (!LibDuplicate(target.Path()))
            return false;
        Log("\t\t\tExisting file renamed\n");
        return true;
    }
    if (saveReplaced) {
        if (!SaveReplaced(target.Path(), saved))
            return false;
        Log("\t\t\tExisting file saved.\n");
        return true;
    }
    LibUnlink(target.Path());
    Log("\t\t\tExisting file removed.\n");
    return true;
}
