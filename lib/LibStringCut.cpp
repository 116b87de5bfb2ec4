// LibString: cutting the text in place. Cutting never releases memory, and an
// index outside the text changes nothing unless an empty result is the rule.
#include "LibString.h"

#include <cstring>

namespace {

// Index of occurrence `n` (from 0) of `c`, or -1.
int32 NthIndex(const char* text, char c, long n)
{
    if (c == '\0' || n < 0)
        return -1;
    long seen = 0;
    for (int32 i = 0; text[i] != '\0'; i++) {
        if (text[i] == c && seen++ == n)
            return i;
    }
    return -1;
}

// The last index of `c` searched from the end down to index 1; 0 when absent.
int32 LastIndexFromOne(const char* text, int32 length, char c)
{
    for (int32 i = length - 1; i >= 1; i--) {
        if (text[i] == c)
            return i;
    }
    return 0;
}

} // namespace

void LibString::FromIndex(const long& index)
{
    int32 length = Length();
    if (index < 0 || index >= length) {
        SetLength(0);
        return;
    }
    memmove(fBuffer, fBuffer + index, size_t(length - index) + 1);
}

void LibString::ToIndex(const long& index)
{
    if (index < -1 || index >= Length())
        return;
    SetLength(int32(index + 1));
}

bool LibString::FromChar(const char& c, const long& n, const int& offset)
{
    int32 found = NthIndex(Text(), c, n);
    if (found < 0)
        return false;
    FromIndex(long(found) + offset);
    return true;
}

bool LibString::ToChar(const char& c, const long& n, const int& offset)
{
    int32 found = NthIndex(Text(), c, n);
    if (found < 0)
        return false;
    long end = long(found) + offset;
    if (end < 0 || end > Length())
        return false;
    SetLength(int32(end));
    return true;
}

void LibString::FromLast(const char& c, const long& offset)
{
    int32 length = Length();
    if (length == 0)
        return;
    FromIndex(LastIndexFromOne(fBuffer, length, c) + offset);
}

void LibString::ToLast(const char& c, const long& offset)
{
    int32 length = Length();
    ToIndex(LastIndexFromOne(Text(), length, c) + offset);
}

void LibString::CharFromIndex(const long& n)
{
    if (n < 0)
        return;
    int32 length = Length();
    int32 at = 0;
    for (long i = 0; i < n && at < length; i++)
        at += lib_utf8_char_length(static_cast<unsigned char>(fBuffer[at]));
    if (at >= length)
        return;
    FromIndex(at);
}

void LibString::CharToIndex(const long& n)
{
    if (n < 0)
        return;
    int32 length = Length();
    int32 end = 0;
    long characters = 0;
    while (characters <= n && end < length) {
        end += lib_utf8_char_length(static_cast<unsigned char>(fBuffer[end]));
        characters++;
    }
    // Past the character count, or a last character cut short by the end.
    if (characters <= n || end > length)
        return;
    SetLength(end);
}

void LibString::Remove(const long& from, const long& to)
{
    int32 length = Length();
    if (from < 0 || from > length || to < from)
        return;
    if (to >= length) {
        SetLength(int32(from));
        return;
    }
    memmove(fBuffer + from, fBuffer + to + 1, size_t(length - to));
}

void LibString::RemoveChar(const long& index)
{
    if (index >= 0 && index < Length())
        Remove(index, index);
}

void LibString::ShiftFrom(const long& to, const long& from)
{
    int32 length = Length();
    if (fBuffer == nullptr || to < 0 || to > from || from > length)
        return;
    memmove(fBuffer + to, fBuffer + from, size_t(length - from) + 1);
}
