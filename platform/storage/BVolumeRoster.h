// Walks the mounted volumes (no pseudo file systems) in mount-table order and
// names the boot volume.
#pragma once

#include "MountTable.h"
#include "SupportDefs.h"

#include <vector>

class BVolume;

class BVolumeRoster {
public:
    BVolumeRoster();
    virtual ~BVolumeRoster() = default;

    // B_BAD_VALUE after the last volume.
    status_t GetNextVolume(BVolume* volume);
    // Takes a fresh look at the mount table and starts again.
    void Rewind();
    status_t GetBootVolume(BVolume* volume);

private:
    std::vector<MountEntry> fMounts;
    size_t fNext = 0;
};
