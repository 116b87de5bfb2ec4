// A labelled pop-up menu: a bold label and ":" in front of a LibMenuField
// named "menu", to which every item operation goes.
#pragma once

#include "LibLabelControl.h"
#include "LibMenuField.h"
#include "LibString.h"

class LibMenuButton : public LibLabelControl {
public:
    // `divider` + `menuWidth` wide and 25 high at `where`; the menu field
    // starts at `divider` - 3.
    LibMenuButton(const BPoint& where, const char* name, const char* label, const float& divider,
        const float& menuWidth, const unsigned long& resizingMode, const int& fontSize,
        const bool& radioMode);
    ~LibMenuButton() override;

    LibMenuField* MenuField() const { return fMenuField; }

    void AddItem(const char* label, BMessage* message = nullptr, const long& index = -1);
    void AddItem(const LibString& label, BMessage* message = nullptr, const long& index = -1);
    void AddSeparatorItem();
    void Clear();
    // The removed item is the caller's.
    BMenuItem* RemoveItem(const long& index);
    BMenuItem* RemoveItem(const char* label);
    void ReplaceItem(const char* label, const char* newLabel);
    void SetText(const char* label);
    void SetText(const LibString& label);
    const char* Text() const;
    void SetItem(const long& index);
    long CurrentSelection() const;
    long IndexOf(const char* label) const;
    long CountItems() const;
    bool InMenu(const char* label) const;
    bool IsItemEnabled(const long& index) const;
    bool IsItemEnabled(const char* label) const;
    void SetEnableItem(const long& index, const bool& enabled);
    void SetEnableItem(const char* label, const bool& enabled);
    void SetTo(const BMessage& message, const char* name, const unsigned long& command);
    void AddStdFolders(const bool& withSystemFolders, const unsigned long& command);
    void AddEncodingChoices(const unsigned long& command);
    void SetEncodingSelection(const int& encoding);
    int CurrentEncodingSelected() const;

    // Greys the label out and disables the menu field.
    void SetEnabled(bool enabled) override;
    void MakeFocus(bool focus = true) override;
    // The target of every item of the menu.
    void SetTarget(BHandler* target);

private:
    LibMenuField* fMenuField;
};
