// A progress bar with a line of text above it: the label and the text at the
// left, the trailing text and the trailing label at the right. Update()
// moves the value by a delta (a negative delta counts down) and may change
// both texts; the value stays between 0 and the maximum.
#pragma once

#include "BView.h"

#include <string>

enum : uint32 {
    B_UPDATE_STATUS_BAR = FourCC('S', 'B', 'U', 'P'),
    B_RESET_STATUS_BAR = FourCC('S', 'B', 'R', 'S'),
};

class BStatusBar : public BView {
public:
    BStatusBar(BRect frame, const char* name, const char* label = nullptr,
        const char* trailingLabel = nullptr);
    ~BStatusBar() override;

    void SetBarColor(rgb_color color);
    rgb_color BarColor() const { return fBarColor; }
    void SetBarHeight(float height);
    float BarHeight() const { return fBarHeight; }
    void SetText(const char* text);
    const char* Text() const { return fText.c_str(); }
    void SetTrailingText(const char* text);
    const char* TrailingText() const { return fTrailingText.c_str(); }
    void SetMaxValue(float max);
    float MaxValue() const { return fMax; }
    float CurrentValue() const { return fValue; }
    const char* Label() const { return fLabel.c_str(); }
    const char* TrailingLabel() const { return fTrailingLabel.c_str(); }

    // Null texts stay as they are.
    virtual void Update(
        float delta, const char* text = nullptr, const char* trailingText = nullptr);
    // Value 0, no texts, and these labels.
    virtual void Reset(const char* label = nullptr, const char* trailingLabel = nullptr);
    void SetTo(float value, const char* text = nullptr, const char* trailingText = nullptr);

    void AttachedToWindow() override;
    void Draw(BRect updateRect) override;
    void MessageReceived(BMessage* message) override;
    void GetPreferredSize(float* width, float* height) override;

private:
    BRect BarFrame() const;

    std::string fLabel;
    std::string fTrailingLabel;
    std::string fText;
    std::string fTrailingText;
    float fMax = 100;
    float fValue = 0;
    float fBarHeight = 16;
    rgb_color fBarColor = {50, 150, 255, 255};
};
