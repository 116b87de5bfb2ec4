// LibString: replacing, removing, stripping and changing case in place.
#include "LibString.h"

#include <cctype>
#include <cstring>
#include <string>

namespace {

bool IsSpace(char c)
{
    return isspace(static_cast<unsigned char>(c)) != 0;
}

} // namespace

int32 LibString::Replace(const char* find, const char* with)
{
    if (find == nullptr || with == nullptr)
        return -1;
    int32 at = Index(find);
    if (at < 0)
        return -1;
    Splice(at, int32(strlen(find)), with, int32(strnlen(with, INT32_MAX)));
    return at;
}

// Replacing until no occurrence is left only ends when every replacement
// shortens the text. A `with` at least as long as `find` (possibly holding it)
// gets one pass from left to right instead, each original occurrence replaced
// once.
void LibString::ReplaceAll(const char* find, const char* with)
{
    if (find == nullptr || with == nullptr || find[0] == '\0')
        return;
    if (strlen(with) < strlen(find))
        ReplaceAllFromStart(find, with);
    else
        ReplaceAllOnce(find, with);
}

int32 LibString::ReplaceAllFromStart(const char* find, const char* with)
{
    int32 findLength = int32(strlen(find));
    int32 withLength = int32(strlen(with));
    int32 replaced = 0;
    // Text before a replacement held no occurrence, so the next one can start
    // at most findLength - 1 bytes before it.
    for (int32 start = 0;; replaced++) {
        int32 at = FindFrom(find, findLength, start);
        if (at < 0)
            return replaced;
        Splice(at, findLength, with, withLength);
        start = at - findLength + 1 > 0 ? at - findLength + 1 : 0;
    }
}

void LibString::ReplaceAllOnce(const char* find, const char* with)
{
    size_t findLength = strlen(find);
    const char* text = Text();
    const char* found = strstr(text, find);
    if (found == nullptr)
        return;
    std::string result;
    while (found != nullptr) {
        result.append(text, size_t(found - text));
        result.append(with);
        text = found + findLength;
        found = strstr(text, find);
    }
    result.append(text);
    Reserve(int64(result.size()));
    memcpy(fBuffer, result.c_str(), result.size() + 1);
}

void LibString::ReplaceAll(const char& from, const char& to)
{
    SwapChar(from, to);
}

void LibString::SwapChar(const char& from, const char& to)
{
    // A terminator can be neither found nor put into the text.
    if (fBuffer == nullptr || from == '\0' || to == '\0')
        return;
    for (char* p = fBuffer; *p != '\0'; p++) {
        if (*p == from)
            *p = to;
    }
}

void LibString::RemoveAllChar(const char& c)
{
    if (fBuffer == nullptr || c == '\0')
        return;
    char* out = fBuffer;
    for (const char* in = fBuffer; *in != '\0'; in++) {
        if (*in != c)
            *out++ = *in;
    }
    *out = '\0';
}

void LibString::RemoveRepeatingChar(const char& c)
{
    if (fBuffer == nullptr || c == '\0')
        return;
    char* out = fBuffer;
    for (const char* in = fBuffer; *in != '\0'; in++) {
        if (*in == c && out != fBuffer && out[-1] == c)
            continue;
        *out++ = *in;
    }
    *out = '\0';
}

bool LibString::RemoveWord(const char* word)
{
    if (word == nullptr || word[0] == '\0')
        return false;
    size_t wordLength = strlen(word);
    int32 length = Length();
    for (int32 i = 0; i < length;) {
        while (i < length && IsSpace(fBuffer[i]))
            i++;
        int32 start = i;
        while (i < length && !IsSpace(fBuffer[i]))
            i++;
        if (size_t(i - start) != wordLength || memcmp(fBuffer + start, word, wordLength) != 0)
            continue;
        // Take one separating character along: the one before, or for the
        // first word the one after.
        if (start > 0)
            Remove(start - 1, i - 1);
        else
            Remove(0, i);
        return true;
    }
    return false;
}

void LibString::RemoveAllWords(const char* word)
{
    while (RemoveWord(word)) { }
}

void LibString::StripPunct()
{
    if (fBuffer == nullptr)
        return;
    char* out = fBuffer;
    for (const char* in = fBuffer; *in != '\0'; in++) {
        if (*in == '_' || !ispunct(static_cast<unsigned char>(*in)))
            *out++ = *in;
    }
    *out = '\0';
}

void LibString::StripLeadingChar(const char& c)
{
    if (c == '\0')
        return;
    int32 count = 0;
    for (const char* p = Text(); *p == c; p++)
        count++;
    if (count > 0)
        ShiftFrom(0, count);
}

void LibString::StripTrailingChar(const char& c)
{
    if (c == '\0')
        return;
    int32 length = Length();
    while (length > 0 && fBuffer[length - 1] == c)
        length--;
    SetLength(length);
}

void LibString::StripLeadingSpaces()
{
    int32 count = 0;
    for (const char* p = Text(); *p != '\0' && IsSpace(*p); p++)
        count++;
    if (count > 0)
        ShiftFrom(0, count);
}

void LibString::StripTrailingSpaces()
{
    int32 length = Length();
    while (length > 0 && IsSpace(fBuffer[length - 1]))
        length--;
    SetLength(length);
}

void LibString::StripAllSpaces()
{
    if (fBuffer == nullptr)
        return;
    char* out = fBuffer;
    for (const char* in = fBuffer; *in != '\0'; in++) {
        if (!IsSpace(*in))
            *out++ = *in;
    }
    *out = '\0';
}

void LibString::ToLowerCase()
{
    for (char* p = fBuffer; p != nullptr && *p != '\0'; p++)
        *p = char(tolower(static_cast<unsigned char>(*p)));
}

void LibString::ToUpperCase()
{
    for (char* p = fBuffer; p != nullptr && *p != '\0'; p++)
        *p = char(toupper(static_cast<unsigned char>(*p)));
}

void LibString::ToProperCase()
{
    int32 length = Length();
    for (int32 i = 0; i < length; i++) {
        char c = char(tolower(static_cast<unsigned char>(fBuffer[i])));
        char before = i > 0 ? fBuffer[i - 1] : '\0';
        char after = fBuffer[i + 1];
        bool raise = i == 0 || IsSpace(before) || (before == '.' && after == '.') || before == '&'
            || (i == 1 && before == '\'')
            || (i >= 2 && IsSpace(fBuffer[i - 2]) && before == '\'' && c != 's');
        fBuffer[i] = raise ? char(toupper(static_cast<unsigned char>(c))) : c;
    }
}
