// A symbolic link read as a link: its target text and what that text means
// relative to a folder.
#pragma once

#include "SupportDefs.h"
#include "entry_ref.h"

#include <string>

class BDirectory;
class BEntry;
class BPath;

class BSymLink {
public:
    BSymLink() = default;
    BSymLink(const char* path);
    BSymLink(const entry_ref* ref);
    BSymLink(const BEntry* entry);
    BSymLink(const BDirectory* dir, const char* path);
    virtual ~BSymLink() = default;

    status_t InitCheck() const { return fStatus; }
    // The entry must exist; it is not followed.
    status_t SetTo(const char* path);
    status_t SetTo(const entry_ref* ref);
    status_t SetTo(const BEntry* entry);
    status_t SetTo(const BDirectory* dir, const char* path);
    void Unset();

    // Copies the target text into `buffer` (always terminated); the text's
    // length, or an error (B_BAD_VALUE when the node is not a link).
    ssize_t ReadLink(char* buffer, size_t size) const;
    status_t ReadLink(std::string* target) const;
    // The target resolved against `dirPath` as the folder holding the link
    // (text only, no further links followed); its length or an error.
    ssize_t MakeLinkedPath(const char* dirPath, BPath* path) const;
    ssize_t MakeLinkedPath(const BDirectory* dir, BPath* path) const;
    bool IsAbsolute() const;

private:
    std::string fPath;
    status_t fStatus = B_NO_INIT;
};
