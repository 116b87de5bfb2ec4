// The installer's texts of its guided flow in a terminal (docs/strings.md),
// beside those of the window it mirrors (InstallTexts.h).
#pragma once

#include <string>

enum InstallFlowText : long {
    kFlowMore = 1100,
    kFlowAgreeQuestion = 1101,
    kFlowNotAccepted = 1102,
    kFlowGroupPrompt = 1103,
    kFlowFilesPrompt = 1104,
    kFlowAll = 1105,
    kFlowNone = 1106,
    kFlowSelectAFile = 1107,
    kFlowTotal = 1108,
    kFlowDestinationPrompt = 1109,
    kFlowSummaryFiles = 1110,
    kFlowSummaryFolder = 1111,
    kFlowSummaryFree = 1112,
    kFlowStopHint = 1113,
    kFlowOfTotal = 1114,
    kFlowTimeLeft = 1115,
    kFlowDone = 1116,
    kFlowNothingInstalled = 1117,
};

// Text `number` of the installer's table in the current language.
std::string FlowString(long number);
