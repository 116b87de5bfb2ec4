// The application information an executable carries as resources: its
// version, the file types it supports and its signature. Without a path
// these act on the running program's own file, which Linux refuses to
// change while it runs: writes to it fail cleanly (false) and the program
// goes on. Layouts: docs/resources.md.
#pragma once

#include "LibString.h"
#include "LibStringList.h"
#include "entry_ref.h"

// 'APPV' 1 "BEOS:APP_VERSION".
constexpr const char* kAppVersionName = "BEOS:APP_VERSION";
// 'MSGG' 1 "BEOS:FILE_TYPES", a message with a "types" string per type.
constexpr const char* kAppFileTypesName = "BEOS:FILE_TYPES";
// 'MIMS' 1 "BEOS:APP_SIG", the signature with its terminating zero.
constexpr const char* kAppSignatureName = "BEOS:APP_SIG";

// Writes the version; a null text writes an empty one, `shortInfo` keeps up
// to 63 bytes and `longInfo` up to 255 (cut at a character's start). Writes
// nothing, and succeeds, when the file already carries this version.
bool LibSetAppVersion(const unsigned long& major, const unsigned long& middle,
    const unsigned long& minor, const char* shortInfo, const char* longInfo,
    const unsigned long& variety, const unsigned long& internal);
// The same for the executable at `path`.
bool LibSetAppVersion(const char* path, const unsigned long& major, const unsigned long& middle,
    const unsigned long& minor, const char* shortInfo, const char* longInfo,
    const unsigned long& variety, const unsigned long& internal);

// "1.3.1 Beta 4": major.middle.minor, the variety's word, the internal number
// when not 0. Empty when the file carries no version.
LibString LibGetAppVersion(const char* path);

// Appends every supported type; returns the list's count.
int32 LibGetAppSupportedTypes(LibStringList& types);
// Replaces the supported types by the list.
bool LibSetAppSupportedTypes(LibStringList& types);

// `signature` (B_MIME_TYPE_LENGTH bytes) is emptied; when the entry is an
// executable it receives the executable's signature.
void LibGetAppSignature(const entry_ref& ref, char* signature);
