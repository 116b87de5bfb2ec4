// The deinstaller's texts (docs/strings.md): those of its windows, and the
// guided flow's own.
#pragma once

#include <string>

enum StowclearText : long {
    kTextDisk = 1000,
    kTextSearch = 1001,
    kTextResults = 1002,
    kTextStop = 1003,
    kTextFound = 1004,
    kTextNothingFound = 1005,
    kTextItemsTitle = 1006,
    kTextChangeFolder = 1007,
    kTextAll = 1008,
    kTextNone = 1009,
    kTextDeinstall = 1010,
    kFlowDiskPrompt = 1100,
    kFlowEntriesPrompt = 1101,
    kFlowSelectAnEntry = 1102,
    kFlowTrash = 1103,
    kFlowDestinationPrompt = 1104,
    kFlowNotAFolder = 1105,
    kFlowSummary = 1106,
    kFlowCancel = 1107,
    kFlowStopHint = 1108,
    kFlowMoved = 1109,
    kFlowFoldersKept = 1110,
    kFlowStopped = 1111,
    kFlowNothingRemoved = 1112,
    kFlowSearching = 1113,
    kTextNotMoved = 1120,
};

// Text `number` of the deinstaller's table in the current language.
std::string StowclearString(long number);
