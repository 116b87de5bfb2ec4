#include "LibStringList.h"

#include "BMessage.h"

LibStringList::~LibStringList() = default;

bool LibStringList::Add(const char* text)
{
    if (text == nullptr)
        return false;
    LibString* item = new LibString(text);
    if (!Insert(item)) {
        delete item;
        return false;
    }
    return true;
}

void LibStringList::Append(const BMessage& message, const char* name)
{
    if (name == nullptr)
        return;
    for (int32 i = 0; message.HasString(name, i); i++)
        Add(message.FindString(name, i));
}

void LibStringList::SetTo(const BMessage& message, const char* name)
{
    if (name == nullptr || !message.HasString(name, 0))
        return;
    Clear();
    Append(message, name);
}

void LibStringList::GetFrom(BMessage& message, const char* name)
{
    if (name == nullptr)
        return;
    for (LibString* item = First(); item != nullptr; item = Next()) {
        const char* text = *item;
        message.AddString(name, text != nullptr ? text : "");
    }
}

bool LibStringList::InList(const char* text)
{
    return Find(text, false, -1) != nullptr;
}

LibString* LibStringList::Find(const char* text, const bool& ignoreCase, const int& length)
{
    if (text == nullptr)
        return nullptr;
    for (LibString* item = First(); item != nullptr; item = Next()) {
        if (item->CompareSub(text, ignoreCase, length, 0) == 0)
            return item;
    }
    return nullptr;
}

bool LibStringList::Remove(const char* text)
{
    if (!InList(text))
        return false;
    return Remove();
}

bool LibStringList::Remove(const LibString& text)
{
    const char* own = text;
    return Remove(own != nullptr ? own : "");
}

LibStringList& LibStringList::operator=(LibStringList& other)
{
    Copy(other);
    return *this;
}

void LibStringList::PrintToStream()
{
    for (LibString* item = First(); item != nullptr; item = Next())
        item->PrintToStream();
}
