// LibString: comparing, testing, wild cards and number parsing.
#include "LibString.h"

#include <cctype>
#include <cstdlib>
#include <cstring>

namespace {

int Upper(char c)
{
    return toupper(static_cast<unsigned char>(c));
}

// Bytes compared as signed values, the way the text type always sorted.
int SignedByte(char c, bool ignoreCase)
{
    return ignoreCase ? static_cast<signed char>(Upper(c)) : static_cast<signed char>(c);
}

// Characters below 0x80 fold through toupper; others stay as they are.
int Folded(char c)
{
    return static_cast<unsigned char>(c) < 0x80 ? Upper(c) : static_cast<unsigned char>(c);
}

bool SameBytes(const char* a, const char* b, size_t count, bool ignoreCase)
{
    if (!ignoreCase)
        return memcmp(a, b, count) == 0;
    for (size_t i = 0; i < count; i++) {
        if (Upper(a[i]) != Upper(b[i]))
            return false;
    }
    return true;
}

int Sign(int value)
{
    return value < 0 ? -1 : (value > 0 ? 1 : 0);
}

// Digits, one leading sign and one decimal point anywhere.
bool PassesNumberRule(const char* text)
{
    bool seenPoint = false;
    for (size_t i = 0; text[i] != '\0'; i++) {
        char c = text[i];
        if (isdigit(static_cast<unsigned char>(c)))
            continue;
        if ((c == '+' || c == '-') && i == 0)
            continue;
        if (c == '.' && !seenPoint) {
            seenPoint = true;
            continue;
        }
        return false;
    }
    return true;
}

} // namespace

int LibString::Compare(const char* text, const bool& ignoreCase) const
{
    if (text == nullptr)
        return 1;
    const char* own = Text();
    for (size_t i = 0;; i++) {
        if (own[i] == '\0' || text[i] == '\0')
            return own[i] == text[i] ? 0 : (own[i] == '\0' ? -1 : 1);
        int a = SignedByte(own[i], ignoreCase);
        int b = SignedByte(text[i], ignoreCase);
        if (a != b)
            return a < b ? -1 : 1;
    }
}

int LibString::Compare(const LibString& text, const bool& ignoreCase) const
{
    return Compare(text.Text(), ignoreCase);
}

int LibString::CompareSub(
    const char* text, const bool& ignoreCase, const long& length, const long& offset) const
{
    if (text == nullptr)
        return 1;
    int32 ownLength = Length();
    // A start outside the text compares the empty text.
    const char* own = Text() + (offset < 0 || offset > ownLength ? ownLength : offset);
    size_t limit = length < 0 ? SIZE_MAX : size_t(length);
    if (!ignoreCase)
        return Sign(length < 0 ? strcmp(own, text) : strncmp(own, text, limit));
    for (size_t i = 0; i < limit; i++) {
        int a = Upper(own[i]);
        int b = Upper(text[i]);
        if (a != b)
            return a < b ? -1 : 1;
        if (a == 0)
            break;
    }
    return 0;
}

int LibString::CompareSub(
    const LibString& text, const bool& ignoreCase, const long& length, const long& offset) const
{
    return CompareSub(text.Text(), ignoreCase, length, offset);
}

bool LibString::Contain(const char* text, const bool& ignoreCase) const
{
    if (text == nullptr)
        return false;
    if (!ignoreCase)
        return strstr(Text(), text) != nullptr;
    const char* own = Text();
    size_t textLength = strlen(text);
    size_t ownLength = strlen(own);
    for (size_t start = 0; start + textLength <= ownLength; start++) {
        size_t i = 0;
        while (i < textLength && Folded(own[start + i]) == Folded(text[i]))
            i++;
        if (i == textLength)
            return true;
    }
    return false;
}

bool LibString::Contain(const LibString& text, const bool& ignoreCase) const
{
    return Contain(text.Text(), ignoreCase);
}

bool LibString::Contain(const char& c) const
{
    return c != '\0' && strchr(Text(), c) != nullptr;
}

bool LibString::BeginsWith(const char* prefix, const bool& ignoreCase) const
{
    if (prefix == nullptr)
        return false;
    size_t prefixLength = strlen(prefix);
    if (prefixLength == 0 || prefixLength > size_t(Length()))
        return false;
    return SameBytes(Text(), prefix, prefixLength, ignoreCase);
}

bool LibString::BeginsWith(const LibString& prefix, const bool& ignoreCase) const
{
    return BeginsWith(prefix.Text(), ignoreCase);
}

bool LibString::EndsWith(const char* suffix, const bool& ignoreCase) const
{
    if (suffix == nullptr)
        return false;
    size_t suffixLength = strlen(suffix);
    size_t length = size_t(Length());
    if (suffixLength > length)
        return false;
    return SameBytes(Text() + length - suffixLength, suffix, suffixLength, ignoreCase);
}

bool LibString::EndsWith(const LibString& suffix, const bool& ignoreCase) const
{
    return EndsWith(suffix.Text(), ignoreCase);
}

bool LibString::IsBlank() const
{
    for (const char* c = Text(); *c != '\0'; c++) {
        if (!isspace(static_cast<unsigned char>(*c)))
            return false;
    }
    return true;
}

bool LibString::IsNumeric() const
{
    return PassesNumberRule(Text());
}

bool LibString::IsWildCard(const char* pattern) const
{
    return CompareWildCard(Text(), pattern);
}

bool LibString::IsWildCard(const LibString& pattern) const
{
    return CompareWildCard(Text(), pattern.Text());
}

// Matches with one remembered "*" to fall back to, which decides the same
// question as trying every position after each "*" but in O(text x pattern)
// time, so no pattern can make it run away.
bool LibString::CompareWildCard(const char* text, const char* pattern) const
{
    if (text == nullptr || pattern == nullptr)
        return false;
    const char* afterStar = nullptr;
    const char* retry = nullptr;
    while (*text != '\0') {
        if (*pattern == '*') {
            afterStar = ++pattern;
            retry = text;
        } else if (*pattern != '\0' && (*pattern == '?' || *pattern == *text)) {
            pattern++;
            text++;
        } else if (afterStar != nullptr) {
            pattern = afterStar;
            text = ++retry;
        } else {
            return false;
        }
    }
    while (*pattern == '*')
        pattern++;
    return *pattern == '\0';
}

bool LibString::ReadInteger(long& value) const
{
    value = 0;
    if (!PassesNumberRule(Text()))
        return false;
    value = strtol(Text(), nullptr, 10);
    return true;
}

bool LibString::GetInt8(signed char& value) const
{
    long wide;
    bool ok = ReadInteger(wide);
    value = static_cast<signed char>(wide);
    return ok;
}

bool LibString::GetUint8(unsigned char& value) const
{
    long wide;
    bool ok = ReadInteger(wide);
    value = static_cast<unsigned char>(wide);
    return ok;
}

bool LibString::GetInt16(short& value) const
{
    long wide;
    bool ok = ReadInteger(wide);
    value = static_cast<short>(wide);
    return ok;
}

bool LibString::GetUint16(unsigned short& value) const
{
    long wide;
    bool ok = ReadInteger(wide);
    value = static_cast<unsigned short>(wide);
    return ok;
}

bool LibString::GetInt32(long& value) const
{
    long wide;
    bool ok = ReadInteger(wide);
    value = static_cast<int32>(wide);
    return ok;
}

bool LibString::GetInt32(int32& value) const
{
    long wide;
    bool ok = GetInt32(wide);
    value = static_cast<int32>(wide);
    return ok;
}

bool LibString::GetUint32(unsigned long& value) const
{
    long wide;
    bool ok = ReadInteger(wide);
    value = static_cast<uint32>(wide);
    return ok;
}

bool LibString::GetUint32(uint32& value) const
{
    unsigned long wide;
    bool ok = GetUint32(wide);
    value = static_cast<uint32>(wide);
    return ok;
}

bool LibString::GetFloat64(double& value) const
{
    value = 0;
    if (!PassesNumberRule(Text()))
        return false;
    value = strtod(Text(), nullptr);
    return true;
}

bool LibString::GetFloat32(float& value) const
{
    double wide;
    bool ok = GetFloat64(wide);
    value = static_cast<float>(wide);
    return ok;
}

int LibString::GetHex() const
{
    if (Length() != 2)
        return 0;
    return HexValue(fBuffer[0]) * 16 + HexValue(fBuffer[1]);
}

int LibString::HexValue(const char& c) const
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return 0;
}
