// A hidden, uniquely named folder beside a final path, and so on the same
// volume: work is built in it and renamed into place, so nothing is ever
// half-written at the final path. Whatever is left in it goes with it when
// the object goes, also when a stop unwinds the thread.
#pragma once

#include "SupportDefs.h"

#include <string>

class StagingFolder {
public:
    StagingFolder() = default;
    ~StagingFolder();
    StagingFolder(const StagingFolder&) = delete;
    StagingFolder& operator=(const StagingFolder&) = delete;

    // Creates the folder (mode 0700) in the folder that holds `finalPath`.
    status_t CreateBeside(const char* finalPath);
    // Empty until created.
    const std::string& Path() const { return fPath; }
    // Removes the folder and everything in it.
    void Remove();

private:
    std::string fPath;
};
