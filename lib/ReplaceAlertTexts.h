// The collision dialog's own texts in the ten languages of the programs.
// The dialog keeps them itself rather than in the string tables, so the same
// dialog serves the installer and the deinstaller alike.
#pragma once

#include "SupportDefs.h"

// The detail rows, in the order the dialog shows them.
enum ReplaceAlertRow : int32 {
    kRowCreated = 0,
    kRowModified,
    kRowSize,
    kRowKind,
    kRowPath,
    kRowVersion,
    kReplaceAlertRowCount,
};

struct ReplaceAlertTexts {
    const char* code;
    const char* replace;
    const char* dontReplace;
    const char* fileWord;
    const char* folderWord;
    const char* linkWord;
    // Two %s: the kind word, then the existing entry's leaf name.
    const char* message;
    const char* rows[kReplaceAlertRowCount];
    const char* caption;
    const char* checkBox;
};

constexpr int32 kReplaceAlertLanguageCount = 10;
// In the order the codes are tried: en, fr, es, de, it, no, sv, da, nl, pt.
extern const ReplaceAlertTexts kReplaceAlertTexts[kReplaceAlertLanguageCount];

// The texts of `language`; any code not in the table (null included) gives
// the English ones.
const ReplaceAlertTexts& replace_alert_texts(const char* language);
