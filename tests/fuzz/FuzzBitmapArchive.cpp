// The bitmap archive reader on arbitrary flattened messages: it must never
// crash or read past the archive's "_data"; an archive that does not hold a
// whole bitmap gives an empty one; a bitmap it accepts archives again to the
// same pixels and can be reduced and recorded.
#include "BPicture.h"
#include "LibBitmap.h"
#include "LibBitmapToPicture.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

void Check(bool condition, const char* what)
{
    if (!condition) {
        fprintf(stderr, "FuzzBitmapArchive: %s\n", what);
        abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    BMessage archive;
    if (archive.Unflatten(reinterpret_cast<const char*>(data), size) != B_OK)
        return 0;
    LibBitmap bitmap(&archive);
    if (!bitmap.IsValid()) {
        Check(bitmap.Bits() == nullptr && bitmap.BitsLength() == 0, "a refused archive kept bits");
        return 0;
    }
    BRect bounds = bitmap.Bounds();
    int32 height = int32(bounds.Height()) + 1;
    Check(bitmap.BitsLength() == bitmap.BytesPerRow() * height, "bits do not fill the rows");
    Check(bitmap.PixelAt(int32(bounds.Width()), height - 1).alpha <= 255, "last pixel");

    BMessage again;
    Check(bitmap.Archive(&again) == B_OK, "an accepted bitmap does not archive");
    LibBitmap copy(&again);
    Check(copy.IsValid() && copy.BitsLength() == bitmap.BitsLength()
            && memcmp(copy.Bits(), bitmap.Bits(), size_t(bitmap.BitsLength())) == 0,
        "the archive does not read back the same");

    LibBitmap thumb(BRect(0, 0, 3, 3), B_CMAP8, false, false);
    thumb.Thumbnail(&bitmap, 0, true);
    std::unique_ptr<BPicture> picture(LibBitmapToPicture(&bitmap));
    Check(picture != nullptr, "an accepted bitmap does not record");
    return 0;
}
