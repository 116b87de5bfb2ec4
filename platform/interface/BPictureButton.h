// A button drawn by pictures: one for each of off and on, enabled and
// disabled. A one-state button shows "on" while pressed; a two-state button
// toggles its value with each click.
#pragma once

#include "BControl.h"
#include "BPicture.h"

enum : uint32 {
    B_ONE_STATE_BUTTON,
    B_TWO_STATE_BUTTON,
};

class BPictureButton : public BControl {
public:
    BPictureButton(BRect frame, const char* name, BPicture* off, BPicture* on, BMessage* message,
        uint32 behavior = B_ONE_STATE_BUTTON, uint32 resizingMode = B_FOLLOW_LEFT | B_FOLLOW_TOP,
        uint32 flags = B_WILL_DRAW | B_NAVIGABLE);
    ~BPictureButton() override;

    // The pictures are copied.
    virtual void SetEnabledOn(BPicture* picture);
    virtual void SetEnabledOff(BPicture* picture);
    virtual void SetDisabledOn(BPicture* picture);
    virtual void SetDisabledOff(BPicture* picture);
    BPicture* EnabledOn() const { return fPictures[1].get(); }
    BPicture* EnabledOff() const { return fPictures[0].get(); }
    BPicture* DisabledOn() const { return fPictures[3].get(); }
    BPicture* DisabledOff() const { return fPictures[2].get(); }
    virtual void SetBehavior(uint32 behavior);
    uint32 Behavior() const { return fBehavior; }

    void Draw(BRect updateRect) override;
    void MouseDown(BPoint where) override;
    void MouseUp(BPoint where) override;
    void MouseMoved(BPoint where, uint32 transit, const BMessage* dragMessage) override;
    void KeyDown(const char* bytes, int32 numBytes) override;

private:
    void Take(int index, BPicture* picture);

    std::unique_ptr<BPicture> fPictures[4]; // enabled off, on; disabled off, on
    uint32 fBehavior;
    bool fPressed = false;
};
