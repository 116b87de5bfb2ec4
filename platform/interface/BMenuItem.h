// One entry of a menu: a label, a message sent when it is chosen, a mark,
// an optional shortcut, or a submenu. A chosen item sends its message to its
// target, or, without one, to the window of the menu field or bar it was
// chosen from; the message carries the item's "index".
#pragma once

#include "BArchivable.h"
#include "BInvoker.h"
#include "BRect.h"

#include <string>

class BMenu;

class BMenuItem : public BArchivable, public BInvoker {
public:
    BMenuItem(const char* label, BMessage* message, char shortcut = 0, uint32 modifiers = 0);
    BMenuItem(BMenu* submenu, BMessage* message = nullptr);
    ~BMenuItem() override;

    virtual void SetLabel(const char* label);
    const char* Label() const { return fLabel.c_str(); }
    virtual void SetEnabled(bool enabled);
    bool IsEnabled() const;
    virtual void SetMarked(bool marked);
    bool IsMarked() const { return fMarked; }
    virtual void SetShortcut(char shortcut, uint32 modifiers);
    char Shortcut(uint32* modifiers = nullptr) const;
    BMenu* Submenu() const { return fSubmenu; }
    BMenu* Menu() const { return fMenu; }
    // The item's frame in its menu, while the menu is laid out.
    BRect Frame() const { return fFrame; }
    bool IsSelected() const { return fSelected; }

    status_t Invoke(BMessage* message = nullptr) override;

protected:
    // Draws the label at the content location; items that show more (a
    // picture) override it.
    virtual void DrawContent();
    virtual void GetContentSize(float* width, float* height);
    // Draws the whole item: highlight, mark, content, shortcut.
    virtual void Draw();
    // The top left of the content, in the menu's coordinates.
    BPoint ContentLocation() const;

private:
    friend class BMenu;
    friend class BMenuBar;

    std::string fLabel;
    BMenu* fSubmenu = nullptr;
    BMenu* fMenu = nullptr;
    BRect fFrame;
    char fShortcut = 0;
    uint32 fModifiers = 0;
    bool fEnabled = true;
    bool fMarked = false;
    bool fSelected = false;
};
