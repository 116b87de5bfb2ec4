// File types of entries: reading them (or a word describing them), and
// setting them with the preferred application.
#pragma once

#include "entry_ref.h"

// Copies the entry's file type into `type` (B_MIME_TYPE_LENGTH bytes). An
// entry that records no type gets the type its content shows, as the system
// would assign it. With `describe` the type is replaced by "Folder", "Be
// Application", "Symbolic Link" or "Unknown". False (and an empty text) when
// the entry cannot be set up.
bool LibGetMimeType(const entry_ref& ref, char* type, bool describe);
bool LibSetMimeType(const char* path, const char* type);
// Sets the file type and the application that opens the file; a null
// `preferredApp` names the running program itself (its "BEOS:APP_SIG"
// resource). False when either could not be set.
bool LibSetFileType(const char* path, const char* type, const char* preferredApp);
