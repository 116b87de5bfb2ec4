// A folder opened for walking its entries (in the folder's own order, links
// not followed) and for creating entries in it.
#pragma once

#include "StorageDefs.h"
#include "SupportDefs.h"
#include "entry_ref.h"

#include <dirent.h>
#include <string>
#include <sys/stat.h>

class BEntry;
class BFile;
class BSymLink;

class BDirectory {
public:
    BDirectory() = default;
    BDirectory(const char* path);
    BDirectory(const entry_ref* ref);
    BDirectory(const BEntry* entry);
    BDirectory(const BDirectory* dir, const char* path);
    BDirectory(const BDirectory& other);
    BDirectory& operator=(const BDirectory& other);
    virtual ~BDirectory();

    status_t InitCheck() const { return fStatus; }

    // A link to a folder opens the folder it points to.
    status_t SetTo(const char* path);
    status_t SetTo(const entry_ref* ref);
    status_t SetTo(const BEntry* entry);
    status_t SetTo(const BDirectory* dir, const char* path);
    void Unset();

    // The folder's canonical absolute path, or null while unset.
    const char* Path() const { return fStatus == B_OK ? fPath.c_str() : nullptr; }
    status_t GetEntry(BEntry* entry) const;
    status_t GetStat(struct stat* st) const;

    // The walk: entries in the folder's own order, without "." and "..".
    // B_ENTRY_NOT_FOUND after the last one.
    status_t GetNextEntry(BEntry* entry, bool traverse = false);
    status_t GetNextRef(entry_ref* ref);
    status_t Rewind();
    int32 CountEntries();

    // `path` relative to this folder, or absolute.
    status_t FindEntry(const char* path, BEntry* entry, bool traverse = false) const;
    bool Contains(const char* path, int32 nodeFlags = B_ANY_NODE) const;
    bool Contains(const BEntry* entry, int32 nodeFlags = B_ANY_NODE) const;
    status_t GetStatFor(const char* path, struct stat* st) const;

    // A new, empty file (an existing one is emptied unless `failIfExists`),
    // opened for reading and writing in `file` when given.
    status_t CreateFile(const char* path, BFile* file, bool failIfExists = false);
    status_t CreateDirectory(const char* path, BDirectory* dir);
    status_t CreateSymLink(const char* path, const char* linkToPath, BSymLink* link);

    // Whether this folder is the root folder of its volume.
    bool IsRootDirectory() const;

private:
    std::string Resolve(const char* path) const;
    status_t Open();

    std::string fPath;
    DIR* fDir = nullptr;
    dev_t fDevice = 0;
    ino_t fNode = 0;
    status_t fStatus = B_NO_INIT;
};

// Creates `path` and any missing folders above it with `mode` (less the
// umask). An existing folder is success.
status_t create_directory(const char* path, mode_t mode);
