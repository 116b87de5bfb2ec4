#include "BVolumeRoster.h"

#include "BVolume.h"
#include "StowRoot.h"

BVolumeRoster::BVolumeRoster()
{
    Rewind();
}

void BVolumeRoster::Rewind()
{
    fMounts = volume_mounts(read_mount_table());
    fNext = 0;
}

status_t BVolumeRoster::GetNextVolume(BVolume* volume)
{
    if (volume == nullptr)
        return B_BAD_VALUE;
    if (fNext >= fMounts.size())
        return B_BAD_VALUE;
    return volume->SetToMount(fMounts[fNext++]);
}

status_t BVolumeRoster::GetBootVolume(BVolume* volume)
{
    if (volume == nullptr)
        return B_BAD_VALUE;
    std::string root = stow_root();
    return volume->SetToVolumeOf(root.empty() ? "/" : root.c_str());
}
