// A view with a bold label, and optionally a ":" after it, in front of a
// control area that a derived class fills (the menu buttons).
#pragma once

#include "BStringView.h"

class LibLabelControl : public BView {
public:
    // The label runs from the left edge to `divider` - 2 (to `divider` - 12
    // when a colon follows, which then takes `divider` - 11 to `divider` -
    // 2); both end `bottomInset` above the bottom. A null label or colon
    // makes no view for it.
    LibLabelControl(BRect frame, const float& divider, const char* name, const char* label,
        const float& bottomInset, const char* colon, unsigned long resizingMode);

    void SetLabel(const char* label);
    // The label's text, or "" without a label.
    const char* LabelText() const;
    // Greys the label and colon out, or makes them black again.
    virtual void SetEnabled(bool enabled);

protected:
    BStringView* LabelView() const { return fLabel; }

private:
    BStringView* MakeText(BRect frame, const char* name, const char* text);

    BStringView* fLabel = nullptr;
    BStringView* fColon = nullptr;
};
