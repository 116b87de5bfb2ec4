// Reads the configuration record ('CSTR' 2002 "STK:configuration") from an
// executable's resources: an installer's full record or a placed
// deinstaller's reduced one. The resource's checksum is checked before its
// bytes are trusted, for both programs alike.
#pragma once

#include "SupportDefs.h"

class BMessage;
class BResources;

class RecordReader {
public:
    enum class Result {
        Read,
        Missing,    // no resource 2002 (or no resources at all)
        Damaged,    // its checksum does not match, or it cannot be read
        NotMessage, // its bytes are no flattened message
    };

    // Replaces `record` with the record of `resources`; on any failure
    // `record` is left empty. Writes nothing.
    static Result Read(BResources& resources, BMessage& record);

    // The same, as a program reads its record at start-up: a missing record
    // writes "Does not have resource 2002", any other failure "Unable to
    // read resource 2002" on standard error.
    static bool Load(BResources& resources, BMessage& record);
    // Load() from the running program's own executable.
    static bool LoadOwn(BMessage& record);
};
