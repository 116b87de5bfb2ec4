#include "BMenu.h"

#include "BMenuItem.h"
#include "BScreen.h"
#include "BSeparatorItem.h"
#include "BWindow.h"
#include "ControlLook.h"
#include "MenuWindow.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr float kMarkWidth = 20;
constexpr float kRightMargin = 12;
constexpr float kShortcutGap = 24;
constexpr float kItemPadding = 6;
constexpr float kSeparatorHeight = 8;

} // namespace

BMenu::BMenu(const char* name, menu_layout layout)
    : BView(BRect(0, 0, 10, 10), name, B_FOLLOW_LEFT | B_FOLLOW_TOP, B_WILL_DRAW)
    , fLayout(layout)
{
    SetViewColor(ui_color(B_MENU_BACKGROUND_COLOR));
}

BMenu::~BMenu()
{
    Close();
    for (BMenuItem* item : fItems) {
        item->fMenu = nullptr;
        delete item;
    }
}

bool BMenu::AddItem(BMenuItem* item)
{
    return AddItem(item, CountItems());
}

bool BMenu::AddItem(BMenuItem* item, int32 index)
{
    if (item == nullptr || item->fMenu != nullptr || index < 0 || index > CountItems())
        return false;
    fItems.insert(fItems.begin() + index, item);
    item->fMenu = this;
    if (item->fSubmenu != nullptr)
        item->fSubmenu->fSupermenu = this;
    if (item->IsMarked())
        ItemMarked(item);
    ItemChanged(item);
    return true;
}

bool BMenu::AddItem(BMenu* submenu)
{
    return AddItem(submenu, CountItems());
}

bool BMenu::AddItem(BMenu* submenu, int32 index)
{
    if (submenu == nullptr)
        return false;
    auto* item = new BMenuItem(submenu);
    if (!AddItem(item, index)) {
        item->fSubmenu = nullptr;
        submenu->fSuperitem = nullptr;
        delete item;
        return false;
    }
    return true;
}

bool BMenu::AddSeparatorItem()
{
    return AddItem(new BSeparatorItem);
}

bool BMenu::RemoveItem(BMenuItem* item)
{
    return RemoveItem(IndexOf(item)) != nullptr;
}

BMenuItem* BMenu::RemoveItem(int32 index)
{
    BMenuItem* item = ItemAt(index);
    if (item == nullptr)
        return nullptr;
    fItems.erase(fItems.begin() + index);
    item->fMenu = nullptr;
    item->fSelected = false;
    if (fHighlighted >= CountItems())
        fHighlighted = -1;
    ItemChanged(nullptr);
    return item;
}

bool BMenu::RemoveItems(int32 index, int32 count, bool deleteItems)
{
    if (index < 0 || count < 0 || index + count > CountItems())
        return false;
    for (int32 i = 0; i < count; ++i) {
        BMenuItem* item = RemoveItem(index);
        if (deleteItems)
            delete item;
    }
    return true;
}

BMenuItem* BMenu::ItemAt(int32 index) const
{
    if (index < 0 || index >= CountItems())
        return nullptr;
    return fItems[size_t(index)];
}

BMenu* BMenu::SubmenuAt(int32 index) const
{
    BMenuItem* item = ItemAt(index);
    return item != nullptr ? item->Submenu() : nullptr;
}

int32 BMenu::IndexOf(const BMenuItem* item) const
{
    auto found = std::find(fItems.begin(), fItems.end(), item);
    return found == fItems.end() ? -1 : int32(found - fItems.begin());
}

int32 BMenu::IndexOf(const BMenu* submenu) const
{
    for (int32 i = 0; i < CountItems(); ++i) {
        if (fItems[size_t(i)]->Submenu() == submenu)
            return i;
    }
    return -1;
}

BMenuItem* BMenu::FindItem(uint32 command) const
{
    for (BMenuItem* item : fItems) {
        if (item->Message() != nullptr && item->Command() == command)
            return item;
        if (item->Submenu() != nullptr) {
            if (BMenuItem* found = item->Submenu()->FindItem(command))
                return found;
        }
    }
    return nullptr;
}

BMenuItem* BMenu::FindItem(const char* label) const
{
    if (label == nullptr)
        return nullptr;
    for (BMenuItem* item : fItems) {
        if (strcmp(item->Label(), label) == 0)
            return item;
        if (item->Submenu() != nullptr) {
            if (BMenuItem* found = item->Submenu()->FindItem(label))
                return found;
        }
    }
    return nullptr;
}

BMenuItem* BMenu::FindMarked() const
{
    for (BMenuItem* item : fItems) {
        if (item->IsMarked())
            return item;
    }
    return nullptr;
}

int32 BMenu::FindMarkedIndex() const
{
    return IndexOf(FindMarked());
}

status_t BMenu::SetTargetForItems(BHandler* target)
{
    for (BMenuItem* item : fItems)
        item->SetTarget(target);
    return B_OK;
}

status_t BMenu::SetTargetForItems(BMessenger messenger)
{
    for (BMenuItem* item : fItems)
        item->SetTarget(messenger);
    return B_OK;
}

void BMenu::SetEnabled(bool enabled)
{
    if (enabled == fEnabled)
        return;
    fEnabled = enabled;
    ItemChanged(nullptr);
}

bool BMenu::IsEnabled() const
{
    if (!fEnabled)
        return false;
    return fSupermenu == nullptr || fSupermenu->IsEnabled();
}

void BMenu::SetRadioMode(bool radio)
{
    fRadioMode = radio;
}

void BMenu::SetLabelFromMarked(bool fromMarked)
{
    fLabelFromMarked = fromMarked;
    if (fromMarked)
        fRadioMode = true;
    if (BMenuItem* marked = FindMarked())
        ItemMarked(marked);
}

void BMenu::ItemMarked(BMenuItem* item)
{
    if (fRadioMode) {
        for (BMenuItem* other : fItems) {
            if (other != item && other->fMarked) {
                other->fMarked = false;
                ItemChanged(other);
            }
        }
    }
    if (fLabelFromMarked && fSuperitem != nullptr)
        fSuperitem->SetLabel(item->Label());
}

// What the user sees changes: the open menu redraws, and so does whatever
// shows this menu (a menu field's label, a bar).
void BMenu::ItemChanged(BMenuItem*)
{
    fLaidOut = false;
    if (fWindow != nullptr)
        Invalidate();
    if (fSuperitem != nullptr && fSuperitem->fMenu != nullptr)
        fSuperitem->fMenu->ItemChanged(fSuperitem);
    else if (fOwner != nullptr && fOwner != this)
        fOwner->Invalidate();
    if (Window() != nullptr)
        Invalidate();
}

BMenu* BMenu::Root()
{
    BMenu* menu = this;
    while (menu->fSupermenu != nullptr)
        menu = menu->fSupermenu;
    return menu;
}

BMessenger BMenu::DefaultTarget() const
{
    const BMenu* menu = this;
    while (menu->fSupermenu != nullptr && menu->fOwner == nullptr)
        menu = menu->fSupermenu;
    BView* owner = menu->fOwner != nullptr ? menu->fOwner : const_cast<BMenu*>(menu);
    return owner->Window() != nullptr ? BMessenger(owner->Window()) : BMessenger();
}

float BMenu::ItemHeight(const BMenuItem* item) const
{
    if (dynamic_cast<const BSeparatorItem*>(item) != nullptr)
        return kSeparatorHeight;
    float height = 0;
    const_cast<BMenuItem*>(item)->GetContentSize(nullptr, &height);
    return height + kItemPadding;
}

void BMenu::LayoutItems()
{
    float width = 0;
    for (BMenuItem* item : fItems) {
        float content = 0;
        item->GetContentSize(&content, nullptr);
        uint32 modifiers = 0;
        float extra = item->Shortcut(&modifiers) != 0 ? kShortcutGap + StringWidth("Ctrl+W") : 0;
        if (item->Submenu() != nullptr)
            extra = std::max(extra, 12.0f);
        width = std::max(width, kMarkWidth + content + extra + kRightMargin);
    }
    float top = 1;
    for (BMenuItem* item : fItems) {
        float height = ItemHeight(item);
        item->fFrame = BRect(1, top, width, top + height - 1);
        top += height;
    }
    fLaidOut = true;
}

void BMenu::GetPreferredSize(float* width, float* height)
{
    LayoutItems();
    float right = 0, bottom = 0;
    for (BMenuItem* item : fItems) {
        right = std::max(right, item->fFrame.right);
        bottom = std::max(bottom, item->fFrame.bottom);
    }
    if (width != nullptr)
        *width = std::max(right + 1, 40.0f);
    if (height != nullptr)
        *height = fItems.empty() ? 12 : bottom + 1;
}

void BMenu::SetFont(const BFont* font, uint32 mask)
{
    BView::SetFont(font, mask);
    fLaidOut = false;
    Invalidate();
}

void BMenu::AttachedToWindow()
{
    LayoutItems();
}

void BMenu::Draw(BRect)
{
    if (!fLaidOut)
        LayoutItems();
    BRect bounds = Bounds();
    SetHighColor(ControlLook::Outline());
    StrokeRect(bounds);
    bounds.InsetBy(1, 1);
    ControlLook::DrawBevel(this, bounds, true);
    for (BMenuItem* item : fItems) {
        PushState();
        item->Draw();
        PopState();
    }
}

int32 BMenu::ItemIndexAt(BPoint where) const
{
    for (int32 i = 0; i < CountItems(); ++i) {
        if (fItems[size_t(i)]->fFrame.Contains(where))
            return i;
    }
    return -1;
}

void BMenu::Highlight(int32 index)
{
    if (index == fHighlighted)
        return;
    if (BMenuItem* old = ItemAt(fHighlighted)) {
        old->fSelected = false;
        Invalidate(old->fFrame);
    }
    fHighlighted = index;
    if (BMenuItem* item = ItemAt(index)) {
        item->fSelected = true;
        Invalidate(item->fFrame);
    }
}

void BMenu::MouseDown(BPoint where)
{
    Highlight(ItemIndexAt(where));
}

void BMenu::MouseMoved(BPoint where, uint32 transit, const BMessage*)
{
    if (transit == B_EXITED_VIEW)
        Highlight(-1);
    else
        Highlight(ItemIndexAt(where));
}

void BMenu::MouseUp(BPoint where)
{
    BMenuItem* item = ItemAt(ItemIndexAt(where));
    if (item != nullptr && item->IsEnabled())
        Choose(item);
}

// The arrows skip separators and disabled items, wrapping around.
void BMenu::Step(int32 direction)
{
    int32 count = CountItems();
    int32 index = fHighlighted;
    for (int32 tries = 0; tries < count; ++tries) {
        index = index < 0 ? (direction > 0 ? 0 : count - 1) : (index + direction + count) % count;
        BMenuItem* item = ItemAt(index);
        if (item != nullptr && item->IsEnabled()) {
            Highlight(index);
            return;
        }
    }
}

void BMenu::KeyDown(const char* bytes, int32 numBytes)
{
    if (numBytes != 1)
        return;
    switch (uint8(bytes[0])) {
    case B_UP_ARROW:
    case B_LEFT_ARROW:
        Step(-1);
        break;
    case B_DOWN_ARROW:
    case B_RIGHT_ARROW:
        Step(1);
        break;
    case B_RETURN:
    case B_SPACE:
        if (BMenuItem* item = ItemAt(fHighlighted); item != nullptr && item->IsEnabled())
            Choose(item);
        break;
    case B_ESCAPE:
        Root()->Close();
        break;
    default:
        break;
    }
}

void BMenu::Choose(BMenuItem* item)
{
    if (item->Submenu() != nullptr) {
        BPoint where = ConvertToScreen(BPoint(item->Frame().right + 1, item->Frame().top));
        item->Submenu()->Open(where, nullptr);
        return;
    }
    BMenu* root = Root();
    BView* owner = root->fOwner;
    BWindow* ownerWindow = owner != nullptr ? owner->Window() : nullptr;
    bool locked = ownerWindow != nullptr && ownerWindow->Lock();
    if (fRadioMode)
        item->SetMarked(true);
    fChosen = item;
    root->fChosen = item;
    if (locked)
        ownerWindow->Unlock();
    bool deliver = root->fDeliver;
    root->Close();
    if (deliver)
        item->Invoke();
}

void BMenu::MenuClosed() { }

void BMenu::Open(BPoint screenWhere, BView* owner)
{
    if (fWindow != nullptr)
        return;
    fOwner = owner;
    fChosen = nullptr;
    for (BMenuItem* item : fItems)
        item->fSelected = false;
    fHighlighted = -1;
    Highlight(FindMarkedIndex());
    fWindow = new MenuWindow(this, screenWhere);
    fWindow->Show();
}

void BMenu::Close()
{
    for (BMenuItem* item : fItems) {
        if (item->Submenu() != nullptr)
            item->Submenu()->Close();
    }
    if (fWindow == nullptr)
        return;
    MenuWindow* window = fWindow;
    fWindow = nullptr;
    if (!window->Lock())
        return;
    window->RemoveChild(this);
    window->Quit();
    MenuClosed();
    if (fOwner != nullptr && fOwner != this && fOwner->Window() != nullptr) {
        BWindow* ownerWindow = fOwner->Window();
        if (ownerWindow->Lock()) {
            fOwner->Invalidate();
            ownerWindow->MenusEnded();
            ownerWindow->Unlock();
        }
    }
}
