// A pop-up menu field without a label that keeps one item marked: items by
// label or index, ready-made sets (the standard folders, the text
// encodings), and choosing with the arrow keys without opening the menu.
// Every item it adds is an oMenuItem; in radio mode the first item added is
// marked at once.
#pragma once

#include "BMenuField.h"
#include "FindDirectory.h"

class BMessage;
class BPopUpMenu;

class LibMenuField : public BMenuField {
public:
    // A non-zero `fontSize` is the size of the menu and of its box.
    LibMenuField(BRect frame, const char* name, const int& fontSize, const bool& radioMode);
    ~LibMenuField() override;

    // At `index`, or at the end for -1. The item takes the message.
    void Add(const char* label, BMessage* message, const long& index);
    void AddSeparatorItem();
    // One item per string `name` of `message` (message `command`, none for
    // 0), keeping the marked label when it is among them; no such field
    // changes nothing.
    void SetTo(const BMessage& message, const char* name, const unsigned long& command);
    void Clear();
    // The removed item is the caller's (null when there is none).
    BMenuItem* RemoveItem(const long& index);
    BMenuItem* RemoveItem(const char* label);
    void Replace(const char* label, const char* newLabel);

    // Marks the item with that label; none changes nothing.
    virtual void SetText(const char* label);
    // The marked item's label, or "".
    const char* Text() const;
    void SetItem(const long& index);
    // The marked item's index, or -1.
    long CurrentSelection() const;
    BMenuItem* ItemAt(const long& index) const;
    long IndexOf(const char* label) const;
    long CountItems() const;
    bool InMenu(const char* label) const;

    bool IsItemEnabled(const long& index) const;
    bool IsItemEnabled(const char* label) const;
    void SetEnableItem(const long& index, const bool& enabled);
    void SetEnableItem(const char* label, const bool& enabled);
    void SetEnableAll(const bool& enabled);
    bool IsMarked(const char* label) const;
    void SetMarked(const char* label, const bool& marked);
    void ToggleMarked(const char* label);
    // Unmarks the disabled items before the first enabled one and marks it.
    void MarkFirstEnabled();
    void SetBitmap(const char* label, const char* bitmapName);

    void AddStdFolder(const directory_which& which, const unsigned long& command);
    // The desktop, the trash and the application folders; with
    // `withSystemFolders` the system folders; the common folders; the user
    // folders: each group after a separator.
    void AddStdFolders(const bool& withSystemFolders, const unsigned long& command);
    void AddEncodingItem(const char* label, const int& encoding, const unsigned long& command);
    void AddEncodingChoices(const unsigned long& command);
    void SetEncodingSelection(const int& encoding);
    // The marked item's "encoding", or 0.
    int CurrentEncodingSelected() const;

    // Up, Down, Home and End mark the previous, next, first or last item
    // (wrapping round, passing over separators) and send its message.
    void KeyDown(const char* bytes, int32 numBytes) override;

private:
    BMenuItem* Find(const char* label) const;
    void Step(int32 from, int32 direction);
};
