// A menu: items (owned) in a column, or in a row for a menu bar. A menu
// shows in a window of its own (MenuWindow) while open; the user chooses an
// item with a click, or the arrows and Return; Escape or a click elsewhere
// closes it unchosen. In radio mode exactly one item stays marked, and a
// menu that takes its label from the marked item shows that label on the
// item that opens it.
#pragma once

#include "BMessenger.h"
#include "BView.h"

#include <vector>

class BMenuItem;
class MenuWindow;

enum menu_layout : uint32 {
    B_ITEMS_IN_ROW,
    B_ITEMS_IN_COLUMN,
    B_ITEMS_IN_MATRIX,
};

class BMenu : public BView {
public:
    explicit BMenu(const char* name, menu_layout layout = B_ITEMS_IN_COLUMN);
    ~BMenu() override;

    bool AddItem(BMenuItem* item);
    bool AddItem(BMenuItem* item, int32 index);
    bool AddItem(BMenu* submenu);
    bool AddItem(BMenu* submenu, int32 index);
    bool AddSeparatorItem();
    // Removed items are the caller's again.
    bool RemoveItem(BMenuItem* item);
    BMenuItem* RemoveItem(int32 index);
    bool RemoveItems(int32 index, int32 count, bool deleteItems = false);
    BMenuItem* ItemAt(int32 index) const;
    BMenu* SubmenuAt(int32 index) const;
    int32 CountItems() const { return int32(fItems.size()); }
    int32 IndexOf(const BMenuItem* item) const;
    int32 IndexOf(const BMenu* submenu) const;
    BMenuItem* FindItem(uint32 command) const;
    BMenuItem* FindItem(const char* label) const;
    BMenuItem* FindMarked() const;
    int32 FindMarkedIndex() const;

    virtual status_t SetTargetForItems(BHandler* target);
    virtual status_t SetTargetForItems(BMessenger messenger);
    virtual void SetEnabled(bool enabled);
    bool IsEnabled() const;
    virtual void SetRadioMode(bool radio);
    bool IsRadioMode() const { return fRadioMode; }
    virtual void SetLabelFromMarked(bool fromMarked);
    bool IsLabelFromMarked() const { return fLabelFromMarked; }
    BMenu* Supermenu() const { return fSupermenu; }
    BMenuItem* Superitem() const { return fSuperitem; }
    menu_layout Layout() const { return fLayout; }

    // Opens the menu at a point on the screen for `owner` (the field or bar
    // it belongs to, whose window gets the messages of items without a
    // target); closing it ends with nothing chosen.
    void Open(BPoint screenWhere, BView* owner);
    void Close();
    bool IsOpen() const { return fWindow != nullptr; }
    // The item that was chosen when the menu last closed, or null.
    BMenuItem* LastChosen() const { return fChosen; }

    void AttachedToWindow() override;
    void Draw(BRect updateRect) override;
    void MouseDown(BPoint where) override;
    void MouseMoved(BPoint where, uint32 transit, const BMessage* dragMessage) override;
    void MouseUp(BPoint where) override;
    void KeyDown(const char* bytes, int32 numBytes) override;
    void GetPreferredSize(float* width, float* height) override;
    void SetFont(const BFont* font, uint32 mask = B_FONT_ALL) override;

protected:
    // Called once the menu has closed (chosen or not).
    virtual void MenuClosed();
    // Whether choosing an item sends its message (BPopUpMenu::Go can say
    // no).
    void SetDeliversMessages(bool deliver) { fDeliver = deliver; }
    // Lays the items out; a menu bar overrides it for its row.
    virtual void LayoutItems();
    // Chooses an item: marks it in radio mode, sends its message, closes.
    virtual void Choose(BMenuItem* item);
    void Highlight(int32 index);
    int32 ItemIndexAt(BPoint where) const;
    // The owner's window, which gets what items without a target send.
    BMessenger DefaultTarget() const;

private:
    friend class BMenuItem;
    friend class BMenuBar;
    friend class MenuWindow;

    void ItemChanged(BMenuItem* item);
    void ItemMarked(BMenuItem* item);
    float ItemHeight(const BMenuItem* item) const;
    BMenu* Root();
    void Step(int32 direction);

    std::vector<BMenuItem*> fItems;
    menu_layout fLayout;
    bool fRadioMode = false;
    bool fLabelFromMarked = false;
    bool fEnabled = true;
    BMenu* fSupermenu = nullptr;
    BMenuItem* fSuperitem = nullptr;
    BView* fOwner = nullptr;
    MenuWindow* fWindow = nullptr;
    BMenuItem* fChosen = nullptr;
    int32 fHighlighted = -1;
    bool fLaidOut = false;
    bool fDeliver = true;
};
