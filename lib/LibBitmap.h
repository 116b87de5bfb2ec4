// A bitmap that can be filled from raw bits of a fixed length, with a file's
// icon as the file manager shows it, or with a reduced copy of another
// bitmap.
#pragma once

#include "BBitmap.h"
#include "BNodeInfo.h"

class BEntry;
class BNode;

class LibBitmap : public BBitmap {
public:
    LibBitmap(BRect bounds, color_space space, bool acceptsViews, bool needsContiguous);
    // Copies bits whose length is one byte per pixel with rows padded to a
    // multiple of 4 bytes: ((right - left + 3) / 4 * 4) * (bottom - top + 1).
    // No more than that is read, and no more than the bitmap holds is
    // written; null bits leave the bitmap cleared.
    LibBitmap(
        BRect bounds, const void* bits, color_space space, bool acceptsViews, bool needsContiguous);
    // From an archive; one that does not describe a whole bitmap gives an
    // invalid, empty one.
    explicit LibBitmap(BMessage* archive);
    ~LibBitmap() override;

    // Fills the bitmap with the node's icon as the file manager shows it
    // (a link shows its target's); false when there is no such node.
    bool SetTo(BNode& node, icon_size size);
    bool SetTo(const BEntry& entry, icon_size size);
    bool SetTo(const char* path, icon_size size);

    // The length the bits constructor reads for `bounds`.
    static int32 BitsLengthFor(BRect bounds);

    // Fills this bitmap with a reduced copy of `source`: every pixel the
    // average of the block of source pixels it covers. The copy fills the
    // bitmap less `border` pixels on every side (left as they are), and with
    // `keepProportions` it keeps the source's shape, centred.
    void Thumbnail(BBitmap* source, const long& border, const bool& keepProportions);

private:
    rgb_color BlockAverage(const BBitmap* source, BRect block) const;
    void PutPixel(int32 x, int32 y, rgb_color color);
};
