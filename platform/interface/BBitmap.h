// Pixels in one of the kit's colour spaces (B_RGB32, B_RGBA32, B_CMAP8 with
// the system palette, B_GRAY8), archived with the fields "_frame",
// "_cspace", "_bmflags", "_rowbytes" and "_data" as the records keep their
// pictures. A bitmap made to accept views is drawn into by the views added
// to it, one point to a pixel (text is not drawn into bitmaps).
#pragma once

#include "BArchivable.h"
#include "BRect.h"
#include "GraphicsDefs.h"
#include "InterfaceDefs.h"

#include <memory>
#include <mutex>
#include <vector>

namespace native {
struct Image;
class Painter;
} // namespace native

class BView;
class BitmapPainter;

enum : uint32 {
    B_BITMAP_CLEAR_TO_WHITE = 0x00000001,
    B_BITMAP_ACCEPTS_VIEWS = 0x00000002,
    B_BITMAP_IS_CONTIGUOUS = 0x00000010,
};

constexpr int32 B_ANY_BYTES_PER_ROW = -1;

class BBitmap : public BArchivable {
public:
    BBitmap(
        BRect bounds, color_space space, bool acceptsViews = false, bool needsContiguous = false);
    BBitmap(BRect bounds, uint32 flags, color_space space, int32 bytesPerRow = B_ANY_BYTES_PER_ROW);
    BBitmap(const BBitmap* source, bool acceptsViews = false, bool needsContiguous = false);
    // An archive that does not describe a whole bitmap (sizes out of range,
    // fewer "_data" bytes than rows times height) gives an invalid bitmap.
    explicit BBitmap(BMessage* archive);
    ~BBitmap() override;
    BBitmap(const BBitmap&) = delete;
    BBitmap& operator=(const BBitmap&) = delete;

    static BArchivable* Instantiate(BMessage* archive);
    status_t Archive(BMessage* into, bool deep = true) const override;

    status_t InitCheck() const { return fInitStatus; }
    bool IsValid() const { return fInitStatus == B_OK; }
    BRect Bounds() const { return fBounds; }
    void* Bits() const;
    int32 BitsLength() const { return int32(fBits.size()); }
    int32 BytesPerRow() const { return fBytesPerRow; }
    color_space ColorSpace() const { return fSpace; }
    uint32 Flags() const { return fFlags; }

    // Copies `length` bytes of `space` pixels, rows padded as a bitmap of
    // that space and this width pads them, to byte `offset` of this bitmap.
    // Other spaces are converted.
    void SetBits(const void* data, int32 length, int32 offset, color_space space);
    status_t ImportBits(
        const void* data, int32 length, int32 bytesPerRow, int32 offset, color_space space);
    status_t ImportBits(const BBitmap* bitmap);

    // Views that draw into the bitmap.
    void AddChild(BView* view);
    bool RemoveChild(BView* view);
    int32 CountChildren() const { return int32(fViews.size()); }
    BView* ChildAt(int32 index) const;
    BView* FindView(const char* name) const;
    bool Lock();
    void Unlock();
    bool IsLocked() const;

    // Tells the bitmap its pixels were changed through Bits(), so windows
    // draw the new ones.
    void Touch();
    // One pixel as straight red, green, blue, alpha (alpha 255 for spaces
    // without one; 0 for the transparent palette entry).
    rgb_color PixelAt(int32 x, int32 y) const;
    void SetPixel(int32 x, int32 y, rgb_color color);

    // The bitmap's pixels as drawn in `mode`: opaque for B_OP_COPY; with
    // the transparent colour (and alpha) for the other modes. The image
    // stays valid until the bitmap changes.
    bool MakeImage(drawing_mode mode, BRect source, native::Image& image) const;

    // Bytes a row takes in `space` at `width` pixels, as the kit pads rows;
    // 0 for spaces the kit does not keep.
    static int32 RowBytesFor(color_space space, int32 width);

private:
    friend class BView;

    void Allocate(BRect bounds, color_space space, int32 bytesPerRow, uint32 flags);
    native::Painter* Painter();

    BRect fBounds;
    color_space fSpace = B_NO_COLOR_SPACE;
    uint32 fFlags = 0;
    int32 fBytesPerRow = 0;
    int32 fWidth = 0;
    int32 fHeight = 0;
    status_t fInitStatus = B_NO_INIT;
    std::vector<uint8> fBits;

    uint64 fId;
    uint32 fVersion = 1;
    struct Converted {
        uint32 version = 0;
        std::vector<uint8> rgba;
        bool opaque = false;
    };
    mutable std::mutex fCacheLock;
    mutable Converted fConverted[2]; // opaque, keyed

    std::vector<BView*> fViews;
    std::unique_ptr<BitmapPainter> fPainter;
    std::recursive_mutex fLock;
    int32 fLockCount = 0;
};
