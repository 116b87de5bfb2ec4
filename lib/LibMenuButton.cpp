#include "LibMenuButton.h"

#include "BMenu.h"
#include "LibRect.h"
#include "LibString.h"

namespace {

constexpr float kHeight = 25;
constexpr float kBottomInset = 3;

} // namespace

LibMenuButton::LibMenuButton(const BPoint& where, const char* name, const char* label,
    const float& divider, const float& menuWidth, const unsigned long& resizingMode,
    const int& fontSize, const bool& radioMode)
    : LibLabelControl(LibRect(where.x, where.y, divider + menuWidth, kHeight), divider, name, label,
        kBottomInset, ":", resizingMode)
    , fMenuField(new LibMenuField(
          LibRect(divider - 3, 0, menuWidth, kHeight), "menu", fontSize, radioMode))
{
    AddChild(fMenuField);
}

LibMenuButton::~LibMenuButton() = default;

void LibMenuButton::AddItem(const char* label, BMessage* message, const long& index)
{
    fMenuField->Add(label, message, index);
}

void LibMenuButton::AddItem(const LibString& label, BMessage* message, const long& index)
{
    fMenuField->Add(label, message, index);
}

void LibMenuButton::AddSeparatorItem()
{
    fMenuField->AddSeparatorItem();
}

void LibMenuButton::Clear()
{
    fMenuField->Clear();
}

BMenuItem* LibMenuButton::RemoveItem(const long& index)
{
    return fMenuField->RemoveItem(index);
}

BMenuItem* LibMenuButton::RemoveItem(const char* label)
{
    return fMenuField->RemoveItem(label);
}

void LibMenuButton::ReplaceItem(const char* label, const char* newLabel)
{
    fMenuField->Replace(label, newLabel);
}

void LibMenuButton::SetText(const char* label)
{
    fMenuField->SetText(label);
}

void LibMenuButton::SetText(const LibString& label)
{
    fMenuField->SetText(label);
}

const char* LibMenuButton::Text() const
{
    return fMenuField->Text();
}

void LibMenuButton::SetItem(const long& index)
{
    fMenuField->SetItem(index);
}

long LibMenuButton::CurrentSelection() const
{
    return fMenuField->CurrentSelection();
}

long LibMenuButton::IndexOf(const char* label) const
{
    return fMenuField->IndexOf(label);
}

long LibMenuButton::CountItems() const
{
    return fMenuField->CountItems();
}

bool LibMenuButton::InMenu(const char* label) const
{
    return fMenuField->InMenu(label);
}

bool LibMenuButton::IsItemEnabled(const long& index) const
{
    return fMenuField->IsItemEnabled(index);
}

bool LibMenuButton::IsItemEnabled(const char* label) const
{
    return fMenuField->IsItemEnabled(label);
}

void LibMenuButton::SetEnableItem(const long& index, const bool& enabled)
{
    fMenuField->SetEnableItem(index, enabled);
}

void LibMenuButton::SetEnableItem(const char* label, const bool& enabled)
{
    fMenuField->SetEnableItem(label, enabled);
}

void LibMenuButton::SetTo(const BMessage& message, const char* name, const unsigned long& command)
{
    fMenuField->SetTo(message, name, command);
}

void LibMenuButton::AddStdFolders(const bool& withSystemFolders, const unsigned long& command)
{
    fMenuField->AddStdFolders(withSystemFolders, command);
}

void LibMenuButton::AddEncodingChoices(const unsigned long& command)
{
    fMenuField->AddEncodingChoices(command);
}

void LibMenuButton::SetEncodingSelection(const int& encoding)
{
    fMenuField->SetEncodingSelection(encoding);
}

int LibMenuButton::CurrentEncodingSelected() const
{
    return fMenuField->CurrentEncodingSelected();
}

void LibMenuButton::SetEnabled(bool enabled)
{
    LibLabelControl::SetEnabled(enabled);
    fMenuField->SetEnabled(enabled);
}

void LibMenuButton::MakeFocus(bool focus)
{
    fMenuField->MakeFocus(focus);
}

void LibMenuButton::SetTarget(BHandler* target)
{
    fMenuField->Menu()->SetTargetForItems(target);
}
