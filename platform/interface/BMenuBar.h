// Menus in a row along the top of a window (a click opens one below its
// title), or, inside a menu field, the one bevelled box that shows the
// field's choice.
#pragma once

#include "BMenu.h"

class BMenuBar : public BMenu {
public:
    BMenuBar(BRect frame, const char* name,
        uint32 resizingMode = B_FOLLOW_LEFT_RIGHT | B_FOLLOW_TOP,
        menu_layout layout = B_ITEMS_IN_ROW, bool resizeToFit = true);
    ~BMenuBar() override;

    void Draw(BRect updateRect) override;
    void MouseDown(BPoint where) override;
    void MouseUp(BPoint where) override;
    void MouseMoved(BPoint where, uint32 transit, const BMessage* dragMessage) override;
    void FrameResized(float width, float height) override;

protected:
    void LayoutItems() override;

private:
    friend class BMenuField;

    void OpenItem(int32 index);
    void DrawField();

    bool fFieldStyle = false;
    BView* fField = nullptr;
};
