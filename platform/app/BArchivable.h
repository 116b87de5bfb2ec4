// An object that writes itself into a message ("archives") and can be made
// again from one. Archive() names the object's class in "class", as the
// readers of archived records expect ("BBitmap", "LibBitmap").
#pragma once

#include "BMessage.h"

class BArchivable {
public:
    BArchivable() = default;
    explicit BArchivable(BMessage* archive);
    virtual ~BArchivable();

    // Adds "class" with the name of the object's most derived class.
    virtual status_t Archive(BMessage* into, bool deep = true) const;
};
