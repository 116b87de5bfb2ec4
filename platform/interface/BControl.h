// A view the user operates (button, check box): a label, a value, enabled
// or not, and a message it sends when invoked. Unless given another target,
// it sends to its window.
#pragma once

#include "BInvoker.h"
#include "BView.h"

#include <string>

enum : int32 {
    B_CONTROL_OFF = 0,
    B_CONTROL_ON = 1,
};

class BControl : public BView, public BInvoker {
public:
    BControl(BRect frame, const char* name, const char* label, BMessage* message,
        uint32 resizingMode, uint32 flags);
    ~BControl() override;

    void AttachedToWindow() override;
    void MakeFocus(bool focus = true) override;
    void WindowActivated(bool active) override;

    virtual void SetLabel(const char* label);
    const char* Label() const { return fLabel.empty() && !fHasLabel ? nullptr : fLabel.c_str(); }
    virtual void SetValue(int32 value);
    int32 Value() const { return fValue; }
    virtual void SetEnabled(bool enabled);
    bool IsEnabled() const { return fEnabled; }

    // Adds "be:value" to what is sent.
    status_t Invoke(BMessage* message = nullptr) override;

protected:
    bool IsTracking() const { return fTracking; }
    void SetTracking(bool tracking) { fTracking = tracking; }
    // The label's colour: dark, or greyed out when disabled.
    rgb_color LabelColor() const;

private:
    std::string fLabel;
    bool fHasLabel = false;
    int32 fValue = 0;
    bool fEnabled = true;
    bool fTracking = false;
};
