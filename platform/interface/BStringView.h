// A line of text on the panel, aligned left, right or centred and centred
// vertically. It paints no background of its own unless given a view colour.
#pragma once

#include "BView.h"

#include <string>

class BStringView : public BView {
public:
    BStringView(BRect frame, const char* name, const char* text,
        uint32 resizingMode = B_FOLLOW_LEFT | B_FOLLOW_TOP, uint32 flags = B_WILL_DRAW);
    ~BStringView() override;

    void SetText(const char* text);
    const char* Text() const { return fText.c_str(); }
    void SetAlignment(alignment align);
    alignment Alignment() const { return fAlign; }

    void AttachedToWindow() override;
    void Draw(BRect updateRect) override;
    void GetPreferredSize(float* width, float* height) override;

private:
    std::string fText;
    alignment fAlign = B_ALIGN_LEFT;
};
