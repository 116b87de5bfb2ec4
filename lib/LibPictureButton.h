// A picture button whose faces are raw colour-mapped pixels or are drawn
// from a bitmap resource in a bevelled frame, and which announces a tool
// tip to the application when the pointer enters it (LibTipManager).
#pragma once

#include "BPictureButton.h"
#include "LibString.h"

class LibPictureButton : public BPictureButton {
public:
    // Faces of `width` by `height` B_CMAP8 pixels (rows padded to 4 bytes);
    // `disabledBits` may be null.
    LibPictureButton(BPoint where, const signed char& width, const signed char& height,
        const char* name, const void* offBits, const void* onBits, const unsigned long& command,
        const void* disabledBits, unsigned long behavior, unsigned long resizingMode);
    // Raised and pressed faces, enabled and disabled, around the bitmap
    // resource `bitmapName` (Res2Picture).
    LibPictureButton(BPoint where, const signed char& width, const signed char& height,
        const char* name, const char* bitmapName, const unsigned long& command,
        unsigned long behavior, unsigned long resizingMode);
    ~LibPictureButton() override;

    // A new picture of `width` + 1 by `height` + 1 points: a rounded
    // outline, a face lit from the top left when raised and from the bottom
    // right when pressed, the bitmap in the middle (shifted up and left by
    // one when raised), greyed out with a checker when disabled. A missing
    // bitmap leaves the face empty.
    static BPicture* Res2Picture(const char* bitmapName, const int& width, const int& height,
        const bool& raised, const bool& enabled);

    // Entering the button posts a tip message of `command` with `text` to
    // the application; leaving it or pressing it hides the tip.
    void AddTip(const unsigned long& command, const char* text);

    void MouseDown(BPoint where) override;
    void MouseMoved(BPoint where, uint32 transit, const BMessage* dragMessage) override;
    void MakeFocus(bool focus = true) override;
    bool IsFocused() const { return fFocused; }

private:
    bool WantsTips() const;
    void PostTip(bool show);

    bool fFocused = false;
    unsigned long fTipCommand = 0;
    LibString fTipText;
};
