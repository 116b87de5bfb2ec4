// Finds applications by signature. An executable's signature is its 'MIMS'
// resource "BEOS:APP_SIG"; the search and its limits are in
// docs/system-info.md.
#pragma once

#include "SupportDefs.h"
#include "entry_ref.h"

#include <string>
#include <vector>

class BRoster {
public:
    // The first executable carrying `signature` in the application folders,
    // then along PATH. B_BAD_VALUE for an empty signature,
    // B_ENTRY_NOT_FOUND when none carries it.
    status_t FindApp(const char* signature, entry_ref* app) const;

    // The folders FindApp searches, in order, with how deep it looks into
    // each (1: the folder's own files).
    struct SearchFolder {
        std::string path;
        int32 depth;
    };
    static std::vector<SearchFolder> SearchFolders();

    // The signature an executable carries; empty when none.
    static std::string SignatureOf(const char* path);
};

extern const BRoster* be_roster;
