#include "InstallRun.h"

#include "BAlert.h"
#include "InstallConfig.h"
#include "InstallTexts.h"
#include "LibDesktop.h"
#include "LibFileOperations.h"
#include "LibMessageBox.h"
#include "LibMimeTypes.h"

// Purpose of the completion alert that offers a restart (docs/alerts.md).
constexpr const char* kRestartPurpose = "restart";

void InstallRun::Complete()
{
    fConfig.AutoLaunch();
    fConfig.Log("\tInstallation Complete: %s\n", static_cast<const char*>(Now()));
    bool logged = fConfig.LogFile() != nullptr;
    fConfig.CloseLog();
    if (logged) {
        BPath log(fProduct.Path(), "Log");
        LibSetMimeType(log.Path(), "text/plain");
    }
    fConfig.UpdateStatus("%s", static_cast<const char*>(InstallString(kTextComplete)));

    LibString message = InstallString(kTextCompleted);
    const char* comments = fConfig.FindString("complete_comments");
    if (*comments != '\0')
        message.Concat("\n\n").Concat(comments);
    if (fConfig.FindBool("complete_restart")) {
        message.Concat(InstallString(kTextRestartNeeded));
        LibString later = InstallString(kTextRestartLater);
        LibString now = InstallString(kTextRestartNow);
        BAlert alert("", message, later, now, nullptr, B_WIDTH_FROM_WIDEST, B_INFO_ALERT);
        alert.SetPurpose(kRestartPurpose);
        alert.SetDefaultButton(0);
        if (alert.Go() == 1)
            fConfig.SetRestartRequested(true);
    } else {
        LibInfo("%s", static_cast<const char*>(message));
    }
    if (fConfig.FindBool("complete_display_folder") && LibExists(fProduct.Path()))
        LibOpenEntry(fProduct.Path());
}
