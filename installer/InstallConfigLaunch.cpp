#include "InstallConfig.h"

#include "BAlert.h"
#include "BPath.h"
#include "FileTypes.h"
#include "InstallTexts.h"
#include "LibMessageBox.h"
#include "LibMimeTypes.h"
#include "LibPaths.h"
#include "ProgramLauncher.h"
#include "StorageDefs.h"

#include <cstring>

namespace {

// Purpose of the question before running an installed item (docs/alerts.md).
constexpr const char* kRunPurpose = "run";

// Asks first when the configuration gives a reason; true to run the item.
bool ShouldRun(const char* path, const char* reason)
{
    if (reason == nullptr || *reason == '\0')
        return true;
    LibString question = InstallString(kTextRunQuestionStart);
    question.Concat(path).Concat(InstallString(kTextRunQuestionEnd));
    question.Concat("\n\n").Concat(reason);
    LibString later = InstallString(kTextLater);
    LibString run = InstallString(kTextRun);
    BAlert alert("", question, later, run, nullptr, B_WIDTH_AS_USUAL, B_INFO_ALERT);
    alert.SetPurpose(kRunPurpose);
    alert.SetDefaultButton(0);
    return alert.Go() == 1;
}

} // namespace

void InstallConfig::AutoLaunch()
{
    BMessage instructions;
    FindMessage("install_instructions", &instructions);
    BMessage entry;
    for (int32 i = 0; instructions.FindMessage("install_file", i, &entry) == B_OK; ++i) {
        CheckCancel();
        bool selected = false;
        BMessage meta;
        if (entry.FindBool("install_to_system", &selected) != B_OK || !selected
            || entry.FindMessage("install_meta", &meta) != B_OK
            || strcmp(meta.FindString("auto_launch"), "True") != 0)
            continue;
        const char* path = entry.FindString("file_name");
        if (!ShouldRun(path, meta.FindString("auto_launch_reason")))
            continue;
        entry_ref ref;
        char type[B_MIME_TYPE_LENGTH] = {};
        if (LibGetEntryRef(path, ref))
            LibGetMimeType(ref, type, false);
        BPath item(path);
        if (strcmp(type, kExecutableMimeType) == 0) {
            if (launch_program({path}, 0) != B_OK)
                LibError(static_cast<const char*>(InstallString(kTextCannotRun)), item.Leaf());
            continue;
        }
        // Scripts run from their own folder, and the run waits for them.
        BPath folder;
        item.GetParent(&folder);
        run_program({"/bin/sh", path}, folder.Path(), [this] { CheckCancel(); });
    }
}
