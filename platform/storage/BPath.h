// An absolute path held as text: the kit's way of handing a location to code
// that wants a string. Relative input is made absolute against the working
// folder; "." and ".." and repeated slashes are folded away as text.
#pragma once

#include "SupportDefs.h"
#include "entry_ref.h"

#include <string>

class BDirectory;
class BEntry;

class BPath {
public:
    BPath() = default;
    BPath(const BPath& other) = default;
    BPath(const entry_ref* ref);
    BPath(const BEntry* entry);
    BPath(const char* dir, const char* leaf = nullptr, bool normalize = false);
    BPath(const BDirectory* dir, const char* leaf, bool normalize = false);
    virtual ~BPath() = default;

    status_t InitCheck() const { return fStatus; }

    status_t SetTo(const entry_ref* ref);
    status_t SetTo(const BEntry* entry);
    // `leaf` must be relative. With `normalize`, symbolic links in the folder
    // part are resolved too when that folder exists.
    status_t SetTo(const char* path, const char* leaf = nullptr, bool normalize = false);
    status_t SetTo(const BDirectory* dir, const char* leaf, bool normalize = false);
    void Unset();

    // Appends a relative path.
    status_t Append(const char* path, bool normalize = false);

    // Null while the path is not set.
    const char* Path() const { return fStatus == B_OK ? fPath.c_str() : nullptr; }
    // The last component; empty for "/".
    const char* Leaf() const;
    status_t GetParent(BPath* path) const;

    bool operator==(const BPath& other) const;
    bool operator==(const char* path) const;
    bool operator!=(const BPath& other) const { return !(*this == other); }
    bool operator!=(const char* path) const { return !(*this == path); }
    BPath& operator=(const BPath& other) = default;
    BPath& operator=(const char* path);

    // The lexical clean-up used above, exposed for callers building paths
    // from text: absolute (against the working folder), no ".", "..", empty
    // components or trailing slash. An empty input gives an empty result.
    static std::string Clean(const std::string& path);

private:
    std::string fPath;
    status_t fStatus = B_NO_INIT;
};
