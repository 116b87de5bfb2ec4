// The resources of an installer executable, the running program's own or
// another's: payload entries (each a zip archive of one item, 'RAWT') are
// extracted to a place on disk straight from the executable, and added by
// the builder. Changes reach the file at Sync() or when the object goes.
#pragma once

#include "BFile.h"
#include "BResources.h"
#include "LibExtractOptions.h"

class LibAppResource : public BResources {
public:
    // The running program's own executable. Linux refuses to open a running
    // program for writing: a writing mode then falls back to reading, with
    // a notice, so that lookups and extraction still work.
    explicit LibAppResource(const unsigned long& openMode);
    // The executable at `path` (links followed); unattached when missing.
    LibAppResource(const char* path, const unsigned long& openMode);
    ~LibAppResource() override;

    // Places payload `id` at the full path `destination`: its item when
    // `unzip`, else the archive itself. The payload is checked against its
    // checksum and unpacked beside `destination`, then renamed into place,
    // replacing a file (or an empty folder) there. A missing payload does
    // nothing and gives true; any failure leaves `destination` as it was.
    bool ExtractEntry(const long& id, const char* destination, bool unzip);
    // Archives the item at `path` at compression `level` (0 to 9) and adds
    // the archive as 'RAWT' `id` named `name`, replacing any there. The
    // archive waits beside the executable until the next Sync().
    bool AddEntry(const char* path, const long& id, const char* name, const int& level);
    // Copies resource (`type`, `id`) with its name into `target`, replacing
    // any there. Nothing (and true) when this file lacks it.
    bool CopyResource(const long& id, const unsigned long& type, LibAppResource& target);
    // A copy of 'CSTR' `id`'s text to free with delete[]; null when the
    // resource is missing or its text empty.
    char* FindString(const long& id);

    // Stop checks and progress for ExtractEntry.
    void SetExtractOptions(const LibExtractOptions& options) { fOptions = options; }
    // Why the last ExtractEntry or AddEntry failed, for people.
    const char* ErrorMessage() const { return fError.c_str(); }
    // The status behind that failure (B_BAD_DATA for a damaged archive,
    // B_NOT_ALLOWED for an unsafe one, B_CANCELED when stopped); B_OK after
    // a success.
    status_t LastStatus() const { return fStatus; }

private:
    void Open(const char* path, const unsigned long& openMode);

    BFile fFile;
    LibExtractOptions fOptions;
    std::string fError;
    status_t fStatus = B_OK;
};
