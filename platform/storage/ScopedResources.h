// Owners of descriptors, open folders and half-built entries, released when
// they go out of scope. A cancellation may unwind through the file
// operations (the thread cancellation point does), so nothing they hold may
// rely on reaching the end of a function to be let go.
#pragma once

#include "SupportDefs.h"

#include <dirent.h>
#include <memory>
#include <string>

class ScopedFd {
public:
    explicit ScopedFd(int fd = -1)
        : fFd(fd)
    { }
    ~ScopedFd();
    ScopedFd(const ScopedFd&) = delete;
    ScopedFd& operator=(const ScopedFd&) = delete;

    int Get() const { return fFd; }
    bool IsValid() const { return fFd >= 0; }
    void Reset(int fd);
    // Closes now and reports what close says (a late write error).
    status_t Close();

private:
    int fFd;
};

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};
using ScopedDir = std::unique_ptr<DIR, DirCloser>;

// Opens a folder for reading its entries from a descriptor it takes over.
ScopedDir open_dir_from(int fd);

// Removes the entry at `path` (a whole tree) unless Keep() was called.
class ScopedRemoval {
public:
    explicit ScopedRemoval(std::string path = {})
        : fPath(std::move(path))
    { }
    ~ScopedRemoval();
    ScopedRemoval(const ScopedRemoval&) = delete;
    ScopedRemoval& operator=(const ScopedRemoval&) = delete;

    void Set(std::string path) { fPath = std::move(path); }
    void Keep() { fPath.clear(); }

private:
    std::string fPath;
};
