// A scroll bar: a value within a range, shown as a knob in a trough between
// two arrow buttons. Changing the value scrolls its target view, and the
// target scrolling moves the knob.
#pragma once

#include "BView.h"

constexpr float B_V_SCROLL_BAR_WIDTH = 14;
constexpr float B_H_SCROLL_BAR_HEIGHT = 14;

class BScrollBar : public BView {
public:
    BScrollBar(
        BRect frame, const char* name, BView* target, float min, float max, orientation direction);
    ~BScrollBar() override;

    void SetValue(float value);
    float Value() const { return fValue; }
    // The visible part of the whole (0 to 1); sizes the knob.
    void SetProportion(float proportion);
    float Proportion() const { return fProportion; }
    virtual void ValueChanged(float newValue);
    void SetRange(float min, float max);
    void GetRange(float* min, float* max) const;
    void SetSteps(float smallStep, float largeStep);
    void GetSteps(float* smallStep, float* largeStep) const;
    void SetTarget(BView* target);
    void SetTarget(const char* targetName);
    BView* Target() const { return fTarget; }
    orientation Orientation() const { return fOrientation; }

    void Draw(BRect updateRect) override;
    void MouseDown(BPoint where) override;
    void MouseUp(BPoint where) override;
    void MouseMoved(BPoint where, uint32 transit, const BMessage* dragMessage) override;
    void MessageReceived(BMessage* message) override;

private:
    friend class BView;

    float Along(BPoint point) const;
    float Length() const;
    // The arrows' size along the bar, the trough between them and the knob.
    float ArrowSize() const;
    BRect KnobFrame() const;
    void DrawArrow(BRect box, bool forward, bool enabled);

    BView* fTarget = nullptr;
    orientation fOrientation;
    float fMin;
    float fMax;
    float fValue;
    float fProportion = 0;
    float fSmallStep = 1;
    float fLargeStep = 10;
    bool fDragging = false;
    float fDragOffset = 0;
};
