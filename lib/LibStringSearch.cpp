// LibString: searching, counting, UTF-8 stepping and extraction.
#include "LibString.h"

#include <cctype>
#include <cstring>

namespace {

bool IsSpace(char c)
{
    return isspace(static_cast<unsigned char>(c)) != 0;
}

// Start and end (exclusive) of word number `n` (from 1); false when there is
// no such word.
bool FindWord(const char* text, long n, int32& start, int32& end)
{
    if (n < 1)
        return false;
    int32 i = 0;
    for (long word = 0;;) {
        while (text[i] != '\0' && IsSpace(text[i]))
            i++;
        if (text[i] == '\0')
            return false;
        start = i;
        while (text[i] != '\0' && !IsSpace(text[i]))
            i++;
        end = i;
        if (++word == n)
            return true;
    }
}

} // namespace

int32 LibString::FindFrom(const char* text, int32 length, int32 start) const
{
    int32 ownLength = Length();
    for (int32 i = start; i + length <= ownLength; i++) {
        if (memcmp(fBuffer + i, text, size_t(length)) == 0)
            return i;
    }
    return -1;
}

int32 LibString::Index(const char& c) const
{
    if (c == '\0')
        return -1;
    const char* found = strchr(Text(), c);
    return found != nullptr ? int32(found - fBuffer) : -1;
}

int32 LibString::Index(const char* text) const
{
    // Start positions run over the text's own bytes, so nothing, not even
    // the empty text, is found in an empty string.
    if (text == nullptr || Length() == 0)
        return -1;
    return FindFrom(text, int32(strnlen(text, INT32_MAX)), 0);
}

int32 LibString::Index(const LibString& text) const
{
    return Index(text.Text());
}

int32 LibString::IndexOfAny(const char* set) const
{
    if (set == nullptr)
        return -1;
    const char* found = strpbrk(Text(), set);
    return found != nullptr ? int32(found - fBuffer) : -1;
}

int32 LibString::Count(const char& c) const
{
    int32 count = 0;
    for (const char* p = Text(); *p != '\0'; p++) {
        if (*p == c)
            count++;
    }
    return count;
}

int32 LibString::Words() const
{
    int32 count = 0;
    bool inWord = false;
    for (const char* p = Text(); *p != '\0'; p++) {
        bool space = IsSpace(*p);
        if (!space && !inWord)
            count++;
        inWord = !space;
    }
    return count;
}

bool LibString::Word(const long& n, LibString& out) const
{
    int32 start;
    int32 end;
    if (!FindWord(Text(), n, start, end)) {
        out = "";
        return false;
    }
    out.Assign(fBuffer + start, end - start);
    return true;
}

int32 LibString::CharCount() const
{
    int32 length = Length();
    int32 count = 0;
    for (int32 i = 0; i < length; count++)
        i += lib_utf8_char_length(static_cast<unsigned char>(fBuffer[i]));
    return count;
}

int32 LibString::PackSize() const
{
    return Length() + 4;
}

LibString LibString::Extract(const long& from, const long& to) const
{
    LibString result;
    int32 length = Length();
    if (from < 0 || from >= length || to < from)
        return result;
    long last = to >= length ? length - 1 : to;
    result.Assign(fBuffer + from, last - from + 1);
    return result;
}

LibString LibString::Extract(const char& open, const char& close, const bool& stripDelimiters) const
{
    LibString result;
    int32 start = Index(open);
    if (start < 0)
        return result;
    int32 length = Length();
    const char* closing = close != '\0' ? strchr(fBuffer + start + 1, close) : nullptr;
    int32 end = closing != nullptr ? int32(closing - fBuffer) + 1 : length;
    if (stripDelimiters) {
        start++;
        if (closing != nullptr)
            end--;
    }
    result.Assign(fBuffer + start, end - start);
    return result;
}

void LibString::NextCharacter(const char* text, long long& offset, unsigned long& bytes) const
{
    if (text == nullptr || offset < 0)
        return;
    // Bounded look-ups: never read past the text's terminator.
    size_t at = size_t(offset);
    if (strnlen(text, at + 1) <= at) {
        bytes = 0;
        return;
    }
    size_t length = size_t(lib_utf8_char_length(static_cast<unsigned char>(text[at])));
    length = strnlen(text + at, length);
    bytes = length;
    offset += (long long)length;
}
