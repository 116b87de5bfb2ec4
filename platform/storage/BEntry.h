// One place in the folder tree: a folder and a leaf name. The entry need not
// exist; a symbolic link is the link itself unless traversal is asked for.
// Time stamps on Linux: modification and access times are read and set
// exactly; the creation time is the file system's birth time where the
// kernel reports one, else the status-change time, and cannot be set.
#pragma once

#include "StorageDefs.h"
#include "SupportDefs.h"
#include "entry_ref.h"

#include <ctime>
#include <string>
#include <sys/stat.h>

class BDirectory;
class BPath;

class BEntry {
public:
    BEntry() = default;
    BEntry(const BDirectory* dir, const char* path, bool traverse = false);
    BEntry(const entry_ref* ref, bool traverse = false);
    BEntry(const char* path, bool traverse = false);
    BEntry(const BEntry& other) = default;
    BEntry& operator=(const BEntry& other) = default;
    virtual ~BEntry() = default;

    status_t InitCheck() const { return fStatus; }
    bool Exists() const;

    status_t SetTo(const BDirectory* dir, const char* path, bool traverse = false);
    status_t SetTo(const entry_ref* ref, bool traverse = false);
    // The folder holding the entry must exist; the entry itself need not.
    status_t SetTo(const char* path, bool traverse = false);
    void Unset();

    status_t GetRef(entry_ref* ref) const;
    status_t GetPath(BPath* path) const;
    status_t GetParent(BEntry* entry) const;
    status_t GetParent(BDirectory* dir) const;
    // Copies the leaf name into a buffer of B_FILE_NAME_LENGTH bytes.
    status_t GetName(char* buffer) const;
    const char* Name() const;
    // Absolute path, or null while unset.
    const char* Path() const { return fStatus == B_OK ? fPath.c_str() : nullptr; }

    // A relative path renames within the folder; an absolute one moves.
    // Without `clobber`, an existing entry at the new place is an error.
    status_t Rename(const char* path, bool clobber = false);
    status_t MoveTo(BDirectory* dir, const char* path = nullptr, bool clobber = false);
    // Removes a file, a link or an empty folder.
    status_t Remove();

    bool IsFile() const;
    bool IsDirectory() const;
    bool IsSymLink() const;

    status_t GetStat(struct stat* st) const;
    status_t GetSize(off_t* size) const;
    status_t GetPermissions(mode_t* permissions) const;
    status_t SetPermissions(mode_t permissions);
    status_t GetModificationTime(time_t* mtime) const;
    status_t SetModificationTime(time_t mtime);
    status_t GetAccessTime(time_t* atime) const;
    status_t SetAccessTime(time_t atime);
    status_t GetCreationTime(time_t* ctime) const;
    // Linux keeps no settable creation time: B_UNSUPPORTED.
    status_t SetCreationTime(time_t ctime);

    bool operator==(const BEntry& other) const;
    bool operator!=(const BEntry& other) const { return !(*this == other); }

private:
    friend class BDirectory;

    // Sets the entry from a folder already known to be absolute and
    // canonical, skipping the resolution SetTo does.
    void SetCanonical(const std::string& folder, const std::string& leaf);
    status_t SetTimes(const struct timespec* accessTime, const struct timespec* modifyTime);

    std::string fPath;
    status_t fStatus = B_NO_INIT;
};

// The creation time of `path` (links not followed) as described above.
status_t get_creation_time(const char* path, time_t* creationTime);
