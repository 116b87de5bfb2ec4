// An ordered list of texts that owns its items; it fills itself from, and
// writes itself into, a string field of a message.
#pragma once

#include "LibString.h"
#include "LinkList.h"

class BMessage;

class LibStringList : public LinkList<LibString> {
public:
    LibStringList() = default;
    ~LibStringList() override;

    using LinkList<LibString>::InList;
    using LinkList<LibString>::Insert;
    using LinkList<LibString>::Remove;

    // Appends a copy of `text`; a null text is not added.
    bool Add(const char* text);
    // Every string of field `name`, in index order.
    void Append(const BMessage& message, const char* name);
    // Replaces the items by field `name`; a message without it changes nothing.
    void SetTo(const BMessage& message, const char* name);
    void GetFrom(BMessage& message, const char* name);

    // Case-sensitive; the cursor is left on the item found.
    bool InList(const char* text);
    // The first item whose first `length` characters (-1: all) equal `text`.
    LibString* Find(const char* text, const bool& ignoreCase, const int& length);
    // Deletes the first item equal to `text` (case-sensitive).
    bool Remove(const char* text);
    bool Remove(const LibString& text);

    LibStringList& operator=(LibStringList& other);
    void PrintToStream();
};
