// A lock on a name that one process at a time holds, for work that must
// never run twice at once (installing or removing one product). It is a
// lock file in the user's own Stowfast data folder taken with flock, so the
// kernel lets go of it when its holder ends, however it ends; the holder
// removes the file when it lets go, so no file outlives a finished run.
#pragma once

#include "SupportDefs.h"

#include <string>

class ExclusiveLock {
public:
    ExclusiveLock() = default;
    ~ExclusiveLock();
    ExclusiveLock(const ExclusiveLock&) = delete;
    ExclusiveLock& operator=(const ExclusiveLock&) = delete;

    // Takes the lock of `name` without waiting: B_OK, B_BUSY when another
    // holder has it (in this process or another), or the error that kept
    // the lock file from being made (then nothing is held). A lock already
    // held by this object is let go first.
    status_t Lock(const std::string& name);
    void Unlock();
    bool IsLocked() const { return fFd >= 0; }

    // Where the lock files are: "Stowfast/locks" in the data folder of the
    // standard folder table (inside STOW_ROOT when that is set).
    static std::string Folder();

private:
    int fFd = -1;
    std::string fPath;
};
