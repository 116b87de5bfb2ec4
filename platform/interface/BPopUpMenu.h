// A menu that pops up on its own: in menu fields (radio mode, labelled by
// its marked item) or anywhere with Go().
#pragma once

#include "BMenu.h"

#include <condition_variable>
#include <mutex>

class BPopUpMenu : public BMenu {
public:
    explicit BPopUpMenu(const char* name, bool radioMode = true, bool labelFromMarked = true,
        menu_layout layout = B_ITEMS_IN_COLUMN);
    ~BPopUpMenu() override;

    // Opens the menu at `where` (screen) and waits until it closes; returns
    // the chosen item (null when none). `deliversMessage` also sends its
    // message; `async` returns at once (null).
    BMenuItem* Go(
        BPoint where, bool deliversMessage = false, bool openAnyway = false, bool async = false);

protected:
    void MenuClosed() override;

private:
    std::mutex fLock;
    std::condition_variable fClosed;
    bool fOpen = false;
};
