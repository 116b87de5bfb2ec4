// A push button: sends its message when clicked, or when Return is pressed
// and it is its window's default button (drawn with a dark ring).
#pragma once

#include "BControl.h"

class BButton : public BControl {
public:
    BButton(BRect frame, const char* name, const char* label, BMessage* message,
        uint32 resizingMode = B_FOLLOW_LEFT | B_FOLLOW_TOP,
        uint32 flags = B_WILL_DRAW | B_NAVIGABLE);
    ~BButton() override;

    void Draw(BRect updateRect) override;
    void MouseDown(BPoint where) override;
    void MouseUp(BPoint where) override;
    void MouseMoved(BPoint where, uint32 transit, const BMessage* dragMessage) override;
    void KeyDown(const char* bytes, int32 numBytes) override;
    void AttachedToWindow() override;
    void GetPreferredSize(float* width, float* height) override;

    virtual void MakeDefault(bool isDefault);
    bool IsDefault() const;
    status_t Invoke(BMessage* message = nullptr) override;

private:
    bool fWantsDefault = false;
};
