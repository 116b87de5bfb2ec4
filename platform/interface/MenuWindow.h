// The window an open menu shows in: no frame, above everything, holding the
// pointer while it is open. A click outside closes the menu unchosen.
#pragma once

#include "BWindow.h"

class BMenu;

class MenuWindow : public BWindow {
public:
    MenuWindow(BMenu* menu, BPoint where);

    void DispatchMessage(BMessage* message, BHandler* handler) override;
    BMenu* Menu() const { return fMenu; }

private:
    BMenu* fMenu;
};
