#include "LibBitmapToPicture.h"

#include "BView.h"

BPicture* LibBitmapToPicture(BBitmap* bitmap)
{
    if (bitmap == nullptr || !bitmap->IsValid())
        return nullptr;
    // Recorded in a view drawing into a bitmap like the source, as a view
    // records only while it has somewhere to draw.
    BRect bounds = bitmap->Bounds();
    BBitmap canvas(bounds, bitmap->ColorSpace(), true);
    auto* view = new BView(bounds, "picture", B_FOLLOW_NONE, B_WILL_DRAW);
    canvas.AddChild(view);
    auto* picture = new BPicture;
    view->BeginPicture(picture);
    view->DrawBitmap(bitmap, BPoint(0, 0));
    view->EndPicture();
    return picture;
}

BPicture* LibBitmapToPicture(BRect bounds, const void* bits, const color_space& space)
{
    if (bits == nullptr)
        return nullptr;
    BBitmap bitmap(bounds, space);
    if (!bitmap.IsValid())
        return nullptr;
    bitmap.SetBits(bits, bitmap.BitsLength(), 0, space);
    return LibBitmapToPicture(&bitmap);
}
