// A check box with a label to its right: on or off, sending its message
// whenever the user changes it.
#pragma once

#include "BControl.h"

class BCheckBox : public BControl {
public:
    BCheckBox(BRect frame, const char* name, const char* label, BMessage* message,
        uint32 resizingMode = B_FOLLOW_LEFT | B_FOLLOW_TOP,
        uint32 flags = B_WILL_DRAW | B_NAVIGABLE);
    ~BCheckBox() override;

    void Draw(BRect updateRect) override;
    void MouseDown(BPoint where) override;
    void MouseUp(BPoint where) override;
    void MouseMoved(BPoint where, uint32 transit, const BMessage* dragMessage) override;
    void KeyDown(const char* bytes, int32 numBytes) override;
    void GetPreferredSize(float* width, float* height) override;

private:
    BRect BoxFrame() const;
    void Toggle();

    bool fPressedInside = false;
};
