#include "BMenuItem.h"

#include "BMenu.h"
#include "ControlLook.h"

#include <cctype>
#include <cmath>

namespace {

// Room on the left for the mark, on the right for a shortcut or an arrow.
constexpr float kMarkWidth = 20;
constexpr float kRowPadding = 8;

} // namespace

BMenuItem::BMenuItem(const char* label, BMessage* message, char shortcut, uint32 modifiers)
    : BInvoker(message, nullptr, nullptr)
    , fLabel(label != nullptr ? label : "")
    , fShortcut(shortcut)
    , fModifiers(modifiers)
{
    SetSource(this);
}

BMenuItem::BMenuItem(BMenu* submenu, BMessage* message)
    : BInvoker(message, nullptr, nullptr)
    , fSubmenu(submenu)
{
    SetSource(this);
    if (submenu != nullptr) {
        fLabel = submenu->Name();
        submenu->fSuperitem = this;
    }
}

BMenuItem::~BMenuItem()
{
    delete fSubmenu;
}

void BMenuItem::SetLabel(const char* label)
{
    std::string text = label != nullptr ? label : "";
    if (text == fLabel)
        return;
    fLabel = text;
    if (fMenu != nullptr)
        fMenu->ItemChanged(this);
}

void BMenuItem::SetEnabled(bool enabled)
{
    if (enabled == fEnabled)
        return;
    fEnabled = enabled;
    if (fMenu != nullptr)
        fMenu->ItemChanged(this);
}

bool BMenuItem::IsEnabled() const
{
    return fEnabled && (fMenu == nullptr || fMenu->IsEnabled());
}

// In a radio-mode menu, marking one item unmarks the others.
void BMenuItem::SetMarked(bool marked)
{
    if (marked == fMarked)
        return;
    fMarked = marked;
    if (fMenu != nullptr && marked)
        fMenu->ItemMarked(this);
    if (fMenu != nullptr)
        fMenu->ItemChanged(this);
}

void BMenuItem::SetShortcut(char shortcut, uint32 modifiers)
{
    fShortcut = shortcut;
    fModifiers = modifiers;
}

char BMenuItem::Shortcut(uint32* modifiers) const
{
    if (modifiers != nullptr)
        *modifiers = fModifiers;
    return fShortcut;
}

status_t BMenuItem::Invoke(BMessage* message)
{
    if (message == nullptr)
        message = Message();
    if (message == nullptr)
        return B_BAD_VALUE;
    BMessage copy(*message);
    copy.AddInt32("index", fMenu != nullptr ? fMenu->IndexOf(this) : -1);
    if (HasTarget() || fMenu == nullptr)
        return Send(copy);
    BMessenger fallback = fMenu->Root()->DefaultTarget();
    return Send(copy, &fallback);
}

BPoint BMenuItem::ContentLocation() const
{
    bool row = fMenu != nullptr && fMenu->Layout() == B_ITEMS_IN_ROW;
    return BPoint(fFrame.left + (row ? kRowPadding : kMarkWidth), fFrame.top + 3);
}

void BMenuItem::GetContentSize(float* width, float* height)
{
    font_height fontHeight;
    fMenu->GetFontHeight(&fontHeight);
    if (width != nullptr)
        *width = std::ceil(fMenu->StringWidth(fLabel.c_str()));
    if (height != nullptr)
        *height = std::ceil(fontHeight.ascent) + std::ceil(fontHeight.descent);
}

void BMenuItem::DrawContent()
{
    fMenu->SetDrawingMode(B_OP_OVER);
    fMenu->DrawString(
        fLabel.c_str(), BPoint(ContentLocation().x, ControlLook::Baseline(fMenu, fFrame)));
    fMenu->SetDrawingMode(B_OP_COPY);
}

void BMenuItem::Draw()
{
    bool enabled = IsEnabled();
    rgb_color background = fMenu->ViewColor();
    if (fSelected && enabled) {
        background = ui_color(B_MENU_SELECTION_BACKGROUND_COLOR);
        fMenu->SetHighColor(background);
        fMenu->FillRect(fFrame);
    }
    rgb_color text = enabled ? ui_color(B_MENU_ITEM_TEXT_COLOR)
                             : tint_color(background, B_DISABLED_LABEL_TINT);
    fMenu->SetHighColor(text);
    fMenu->SetLowColor(background);
    if (fMarked && fMenu->Layout() != B_ITEMS_IN_ROW) {
        float middle = std::floor((fFrame.top + fFrame.bottom) / 2);
        float left = fFrame.left + 6;
        fMenu->StrokeLine(BPoint(left, middle), BPoint(left + 3, middle + 3));
        fMenu->StrokeLine(BPoint(left + 3, middle + 3), BPoint(left + 9, middle - 3));
        fMenu->StrokeLine(BPoint(left, middle - 1), BPoint(left + 3, middle + 2));
        fMenu->StrokeLine(BPoint(left + 3, middle + 2), BPoint(left + 9, middle - 4));
    }
    DrawContent();
    fMenu->SetHighColor(text);
    if (fShortcut != 0 && fMenu->Layout() != B_ITEMS_IN_ROW) {
        std::string keys = "Ctrl+";
        keys += char(toupper(fShortcut));
        fMenu->SetDrawingMode(B_OP_OVER);
        fMenu->DrawString(keys.c_str(),
            BPoint(fFrame.right - 8 - fMenu->StringWidth(keys.c_str()),
                ControlLook::Baseline(fMenu, fFrame)));
        fMenu->SetDrawingMode(B_OP_COPY);
    }
    if (fSubmenu != nullptr && fMenu->Layout() != B_ITEMS_IN_ROW) {
        float middle = std::floor((fFrame.top + fFrame.bottom) / 2);
        fMenu->FillTriangle(BPoint(fFrame.right - 10, middle - 3), BPoint(fFrame.right - 7, middle),
            BPoint(fFrame.right - 10, middle + 3));
    }
}
