#include "LibStringIterator.h"

#include <cstdio>
#include <cstring>

LibStringIterator::LibStringIterator() = default;

LibStringIterator::LibStringIterator(const int& size)
    : LibString(long(size))
{ }

LibStringIterator::LibStringIterator(const char* text)
    : LibString(text)
{ }

LibStringIterator::LibStringIterator(const LibString& text)
    : LibString(text)
{ }

LibStringIterator::LibStringIterator(const LibStringIterator& other)
    : LibString(other)
    , fPosition(other.fPosition)
{ }

LibStringIterator::~LibStringIterator() = default;

LibStringIterator& LibStringIterator::operator=(const char* text)
{
    LibString::operator=(text);
    fPosition = 0;
    return *this;
}

LibStringIterator& LibStringIterator::operator=(const LibString& text)
{
    if (&text == this)
        return *this;
    LibString::operator=(text);
    fPosition = 0;
    return *this;
}

LibStringIterator& LibStringIterator::operator=(const LibStringIterator& other)
{
    if (&other == this)
        return *this;
    LibString::operator=(other);
    fPosition = other.fPosition;
    return *this;
}

void LibStringIterator::PrintToStream() const
{
    LibString::PrintToStream();
    fprintf(stderr, "position %d\n", fPosition);
}

void LibStringIterator::Reset(const int& position)
{
    if (position >= 0)
        fPosition = position;
}

bool LibStringIterator::GetNextField(const char& separator, LibString& field)
{
    int32 length = Length();
    if (fPosition >= length) {
        field = "";
        return false;
    }
    const char* text = *this;
    const char* found = separator != '\0' ? strchr(text + fPosition, separator) : nullptr;
    int32 end = found != nullptr ? int32(found - text) : length;
    LibString piece = Extract(fPosition, end - 1);
    fPosition = found != nullptr ? end + 1 : length;
    field = piece;
    return true;
}

bool LibStringIterator::GetNextField(const char* separators, LibString& field)
{
    int32 length = Length();
    if (fPosition >= length) {
        field = "";
        return false;
    }
    const char* text = *this;
    int32 end
        = fPosition + int32(strcspn(text + fPosition, separators != nullptr ? separators : ""));
    LibString piece = Extract(fPosition, end - 1);
    bool separated = end < length;
    if (separated)
        fPosition = end + 1;
    field = piece;
    return separated;
}

bool LibStringIterator::GetIndexField(const char& separator, const long& index, LibString& field)
{
    fPosition = 0;
    if (index < 0)
        return false;
    LibString piece;
    for (long i = 0; i <= index; i++) {
        if (!GetNextField(separator, piece))
            return false;
    }
    field = piece;
    return true;
}
