#include "LibVolumeMenu.h"

#include "BVolume.h"
#include "BVolumeRoster.h"
#include "LibString.h"

#include <cstring>

namespace {

constexpr float kMenuWidth = 130;

} // namespace

LibVolumeMenu::LibVolumeMenu(
    BPoint where, const char* name, const unsigned long& command, const float& divider)
    : LibMenuButton(where, name, "Disk", divider, kMenuWidth, B_FOLLOW_LEFT | B_FOLLOW_TOP, 0, true)
    , fCommand(command)
{ }

void LibVolumeMenu::OnlyBeOS(const bool& only)
{
    fOnlyBeOS = only;
}

void LibVolumeMenu::AllowReadOnly(const bool& allow)
{
    fAllowReadOnly = allow;
}

void LibVolumeMenu::AllowShared(const bool& allow)
{
    fAllowShared = allow;
}

void LibVolumeMenu::AllowRemovable(const bool& allow)
{
    fAllowRemovable = allow;
}

void LibVolumeMenu::AllowPersistent(const bool& allow)
{
    fAllowPersistent = allow;
}

bool LibVolumeMenu::Admits(const BVolume& volume) const
{
    if (fOnlyBeOS && !volume.KnowsAttr())
        return false;
    return !(volume.IsReadOnly() && !fAllowReadOnly)
        && !(volume.IsPersistent() && !fAllowPersistent)
        && !(volume.IsRemovable() && !fAllowRemovable) && !(volume.IsShared() && !fAllowShared);
}

void LibVolumeMenu::Update()
{
    LibString current = Text();
    Clear();
    BVolumeRoster roster;
    BVolume boot;
    if (roster.GetBootVolume(&boot) == B_OK)
        AddItem(boot.Name(), new BMessage(uint32(fCommand)));
    BVolume volume;
    while (roster.GetNextVolume(&volume) == B_OK) {
        if (volume == boot || volume.Name() == nullptr || volume.Name()[0] == '\0')
            continue;
        AddItem(volume.Name(), new BMessage(uint32(fCommand)));
        if (!Admits(volume))
            SetEnableItem(CountItems() - 1, false);
    }
    SetText(current);
}

bool LibVolumeMenu::GetCurrentVolume(BVolume& volume)
{
    BVolumeRoster roster;
    BVolume candidate;
    while (roster.GetNextVolume(&candidate) == B_OK) {
        if (candidate.Name() != nullptr && strcmp(candidate.Name(), Text()) == 0) {
            volume = candidate;
            return true;
        }
    }
    return false;
}
