// The "Disk" menu: the boot volume first and always enabled, then every
// other mounted volume with a name, disabled by the filters. Update()
// rebuilds it (after a mount or unmount) and keeps the choice marked while
// its volume is still there.
#pragma once

#include "LibMenuButton.h"

class BVolume;

class LibVolumeMenu : public LibMenuButton {
public:
    // Every item's message has `command` as its what.
    LibVolumeMenu(
        BPoint where, const char* name, const unsigned long& command, const float& divider);

    // Filters, taking effect at the next Update(). "Only BeOS" admits only
    // file systems that keep user attributes (and so file types).
    void OnlyBeOS(const bool& only);
    void AllowReadOnly(const bool& allow);
    void AllowShared(const bool& allow);
    void AllowRemovable(const bool& allow);
    void AllowPersistent(const bool& allow);

    void Update();
    // The mounted volume named as the current choice (case-sensitive).
    bool GetCurrentVolume(BVolume& volume);

private:
    bool Admits(const BVolume& volume) const;

    bool fAllowPersistent = true;
    bool fAllowRemovable = true;
    bool fAllowShared = true;
    bool fAllowReadOnly = false;
    bool fOnlyBeOS = true;
    unsigned long fCommand;
};
