// LibString: storage, assignment, number texts, appending and diagnostics.
#include "LibString.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <functional>
#include <new>
#include <string>
#include <vector>

namespace {

// The whole text of a printf-style format, however long.
std::string FormatNumber(const char* format, ...) __attribute__((format(printf, 1, 2)));

std::string FormatNumber(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    int length = vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string text(length > 0 ? size_t(length) : 0, '\0');
    if (length > 0)
        vsnprintf(text.data(), text.size() + 1, format, again);
    va_end(again);
    return text;
}

// Capacities are signed 32-bit; a text that cannot fit is as good as an
// allocation failure.
int32 CheckedCapacity(int64 length)
{
    if (length < 0 || length >= INT32_MAX)
        throw std::bad_alloc();
    return int32(length + 1);
}

} // namespace

LibString::LibString()
{
    SetBuffer(0);
}

LibString::LibString(const long& size)
{
    SetBuffer(size);
}

LibString::LibString(const char* text)
{
    *this = text;
}

LibString::LibString(const LibString& other)
{
    *this = other;
}

LibString::~LibString()
{
    Clear();
}

char* LibString::SetBuffer(const long& size)
{
    int32 capacity = CheckedCapacity(size < 0 ? 0 : size);
    char* buffer = new char[capacity];
    buffer[0] = '\0';
    Clear();
    fBuffer = buffer;
    fCapacity = capacity;
    return fBuffer;
}

void LibString::Clear()
{
    delete[] fBuffer;
    fBuffer = nullptr;
    fCapacity = 0;
}

int32 LibString::Length() const
{
    return fBuffer != nullptr ? int32(strlen(fBuffer)) : 0;
}

LibString& LibString::operator=(const char* text)
{
    if (text != nullptr)
        Assign(text, int64(strlen(text)));
    return *this;
}

LibString& LibString::operator=(const LibString& other)
{
    if (&other == this)
        return *this;
    if (other.fBuffer == nullptr) {
        Clear();
        return *this;
    }
    char* buffer = new char[other.fCapacity];
    memcpy(buffer, other.fBuffer, size_t(other.Length()) + 1);
    Clear();
    fBuffer = buffer;
    fCapacity = other.fCapacity;
    return *this;
}

LibString& LibString::operator=(const long& value)
{
    std::string text = FormatNumber("%ld", value);
    Assign(text.c_str(), int64(text.size()));
    return *this;
}

LibString& LibString::operator=(const float& value)
{
    return *this = double(value);
}

LibString& LibString::operator=(const double& value)
{
    std::string text = FormatNumber("%f", value);
    Assign(text.c_str(), int64(text.size()));
    return *this;
}

void LibString::SetFloat32(const float& value, const int& precision)
{
    SetFloat64(double(value), precision);
}

void LibString::SetFloat64(const double& value, const int& precision)
{
    std::string text = FormatNumber("%.*f", precision, value);
    Assign(text.c_str(), int64(text.size()));
}

void LibString::SetHex(const unsigned char& value)
{
    static const char kDigits[] = "0123456789ABCDEF";
    const char text[3] = {kDigits[value >> 4], kDigits[value & 0x0F], '\0'};
    Assign(text, 2);
}

LibString& LibString::Formatted(const char* format, ...)
{
    if (format == nullptr)
        return *this;
    char work[512];
    va_list args;
    va_start(args, format);
    int length = vsnprintf(work, sizeof(work), format, args);
    va_end(args);
    if (length < 0)
        work[0] = '\0';
    return *this = work;
}

void LibString::Read(const char* path, const long& lineSize)
{
    if (path == nullptr)
        return;
    FILE* file = fopen(path, "r");
    if (file == nullptr)
        return;
    // fgets needs room for one character and the terminator to make progress.
    long size = lineSize < 2 ? 2 : (lineSize > (1 << 20) ? (1 << 20) : lineSize);
    std::vector<char> line(size_t(size), '\0');
    while (fgets(line.data(), int(size), file) != nullptr)
        Concat(line.data());
    fclose(file);
}

LibString& LibString::Concat(const char* text)
{
    if (text != nullptr)
        Splice(Length(), 0, text, int32(strnlen(text, INT32_MAX)));
    return *this;
}

LibString& LibString::Concat(const char& c)
{
    if (c != '\0')
        Splice(Length(), 0, &c, 1);
    return *this;
}

LibString& LibString::operator+=(const long& value)
{
    return Concat(FormatNumber("%ld", value).c_str());
}

LibString& LibString::operator+=(const float& value)
{
    return *this += double(value);
}

LibString& LibString::operator+=(const double& value)
{
    return Concat(FormatNumber("%f", value).c_str());
}

LibString& LibString::PrePend(const char* text)
{
    if (text != nullptr)
        Splice(0, 0, text, int32(strnlen(text, INT32_MAX)));
    return *this;
}

void LibString::Insert(const int& index, const char* text)
{
    if (text == nullptr)
        return;
    int32 length = Length();
    int32 at;
    if (length == 0 || index == -1)
        at = 0;
    else if (index < -1)
        return;
    else if (index >= length)
        at = length;
    else
        at = index + 1;
    Splice(at, 0, text, int32(strnlen(text, INT32_MAX)));
}

void LibString::PrintToStream() const
{
    fprintf(stderr, "LibString:: <%s>, buffer %ld\n", Text(), long(fCapacity));
}

void LibString::PrintDecimalToStream() const
{
    for (const char* c = Text(); *c != '\0'; c++)
        fprintf(stderr, "%d,", int(static_cast<signed char>(*c)));
    fprintf(stderr, "\n");
}

void LibString::Reserve(int64 length)
{
    if (fBuffer != nullptr && length < fCapacity)
        return;
    int32 capacity = CheckedCapacity(length);
    char* buffer = new char[capacity];
    memcpy(buffer, Text(), size_t(Length()) + 1);
    Clear();
    fBuffer = buffer;
    fCapacity = capacity;
}

void LibString::Assign(const char* text, int64 length)
{
    int32 capacity = CheckedCapacity(length);
    char* buffer = new char[capacity];
    memcpy(buffer, text, size_t(length));
    buffer[length] = '\0';
    Clear();
    fBuffer = buffer;
    fCapacity = capacity;
}

void LibString::Splice(int32 at, int32 removed, const char* text, int32 length)
{
    // The inserted text may be part of this very buffer, which Reserve can
    // release: keep a copy of it first.
    std::string kept;
    std::less<const char*> before;
    if (fBuffer != nullptr && !before(text, fBuffer) && before(text, fBuffer + fCapacity)) {
        kept.assign(text, size_t(length));
        text = kept.data();
    }
    int32 oldLength = Length();
    Reserve(int64(oldLength) - removed + length);
    memmove(fBuffer + at + length, fBuffer + at + removed, size_t(oldLength - at - removed) + 1);
    memcpy(fBuffer + at, text, size_t(length));
}

void LibString::SetLength(int32 length)
{
    if (fBuffer != nullptr)
        fBuffer[length] = '\0';
}

int32 lib_utf8_char_length(unsigned char lead)
{
    if (lead < 0x80)
        return 1;
    int32 ones = 0;
    while (ones < 8 && (lead & (0x80 >> ones)) != 0)
        ones++;
    return ones < 2 ? 2 : ones;
}
