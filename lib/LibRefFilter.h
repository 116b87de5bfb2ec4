// The entry filter of every LibFilePanel: it shows the entries whose file
// type is in its list, and, when asked, every plain file; a symbolic link is
// judged by the type of what it leads to.
#pragma once

#include "BRefFilter.h"
#include "LibStringList.h"

class LibRefFilter : public BRefFilter {
public:
    LibRefFilter();
    ~LibRefFilter() override;

    void AddType(const char* mimeType);
    void AllowAllFiles(const bool& allow);
    void AllowSoftLinks(const bool& allow);

    // 1. Every plain file when all files are allowed. 2. Otherwise a link
    // (when soft links are allowed) by the type of its target. 3. Anything
    // else by `mimeType`. So with all files allowed, folders are shown only
    // when the folder type is listed, and links by their own type.
    bool Filter(
        const entry_ref* ref, BNode* node, struct stat* stat, const char* mimeType) override;

private:
    bool Listed(const char* mimeType);
    bool LinkTargetListed(const entry_ref* ref);

    LibStringList fTypes;
    bool fAllowAllFiles = false;
    bool fAllowSoftLinks = true;
};
