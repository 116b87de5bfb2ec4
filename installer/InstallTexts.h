// The installer's numbered texts that the run, the session and the guided
// flow use, looked up in the language the user chose at the moment of the
// lookup.
#pragma once

#include "LibString.h"

enum InstallText : long {
    kTextLanguages = 1000,
    kTextLicense = 1001,
    kTextInstallation = 1002,
    kTextGroup = 1003,
    kTextFiles = 1004,
    kTextFolderTip = 1005,
    kTextDisks = 1006,
    kTextInstall = 1007,
    kTextAgree = 1008,
    kTextReadyInstruction = 1009,
    kTextLicenseInstruction = 1010,
    kTextStop = 1012,
    kTextFolderExistsStart = 1013,
    kTextFolderExistsEnd = 1014,
    kTextCancel = 1015,
    kTextReplace = 1016,
    kTextOK = 1017,
    kTextLater = 1018,
    kTextRun = 1019,
    kTextReplaceQuestion = 1020,
    kTextRequired = 1025,
    kTextSuggested = 1026,
    kTextStopped = 1027,
    kTextRestartLater = 1029,
    kTextRestartNow = 1030,
    kTextChecking = 1032,
    kTextCreatingDeinstaller = 1033,
    kTextRunQuestionStart = 1034,
    kTextRunQuestionEnd = 1035,
    kTextInstalling = 1036,
    kTextComplete = 1037,
    kTextCompleted = 1038,
    kTextCannotRun = 1039,
    kTextNoFolder = 1040,
    kTextCannotCreateFolder = 1041,
    kTextRestartNeeded = 1042,
    kTextAlreadyRunningHere = 1150,
    kTextProductBusy = 1151,
    kTextFolderNotWritable = 1152,
};

// Shown when the installer's record or payload cannot be obtained.
constexpr const char* kImproperlyBuiltText
    = "Error obtaining configuration in installer. The installer was improperly built.";

// The text in the current language; empty when that language lacks it.
LibString InstallString(InstallText number);
