// A label and, right of its divider, a box showing the choice of a pop-up
// menu; a click (or Space, Return, the down arrow) opens the menu.
#pragma once

#include "BView.h"

#include <string>

class BMenu;
class BMenuBar;
class BMenuItem;

class BMenuField : public BView {
public:
    BMenuField(BRect frame, const char* name, const char* label, BMenu* menu,
        uint32 resizingMode = B_FOLLOW_LEFT | B_FOLLOW_TOP,
        uint32 flags = B_WILL_DRAW | B_NAVIGABLE);
    ~BMenuField() override;

    BMenu* Menu() const { return fMenu; }
    BMenuBar* MenuBar() const { return fBar; }
    BMenuItem* MenuItem() const;
    virtual void SetLabel(const char* label);
    const char* Label() const { return fHasLabel ? fLabel.c_str() : nullptr; }
    virtual void SetEnabled(bool enabled);
    bool IsEnabled() const { return fEnabled; }
    virtual void SetAlignment(alignment align);
    alignment Alignment() const { return fAlign; }
    virtual void SetDivider(float divider);
    float Divider() const { return fDivider; }

    void AttachedToWindow() override;
    void Draw(BRect updateRect) override;
    void KeyDown(const char* bytes, int32 numBytes) override;
    void MakeFocus(bool focus = true) override;
    void FrameResized(float width, float height) override;
    void SetFont(const BFont* font, uint32 mask = B_FONT_ALL) override;

private:
    void PlaceBar();

    BMenu* fMenu;
    BMenuBar* fBar;
    std::string fLabel;
    bool fHasLabel;
    bool fEnabled = true;
    alignment fAlign = B_ALIGN_LEFT;
    float fDivider;
};
