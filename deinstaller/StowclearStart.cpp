#include "StowclearStart.h"

#include "AlertService.h"
#include "LibAppInfo.h"
#include "ReplaceAlert.h"
#include "oLocalize.h"

#include <cstdio>

void apply_stowclear_start(const StowclearOptions& options)
{
    if (!options.language.empty() && !oLocalize().SetLanguage(options.language.c_str()))
        fprintf(stderr, "Stowclear: the language could not be kept on this program's file\n");
    if (options.onCollision != CollisionAnswer::Ask) {
        int32 button = options.onCollision == CollisionAnswer::Replace
            ? ReplaceAlert::kReplaceButton
            : ReplaceAlert::kDontReplaceButton;
        AlertService::Default().SetAnswer(ReplaceAlert::kPurpose, {button, true});
    }
    // The build gave the program its version already; this only writes
    // when a copy lost it (and fails quietly on the running file).
    LibSetAppVersion(1, 3, 1, "Deinstaller", "Deinstall BeOS applications", 5, 0);
}
