// The foundation library's own text type: one owned, zero-terminated byte
// buffer sized exactly to need, with in-place editing, searching, comparing,
// number conversion and field extraction. Positions are byte indexes (signed
// 32-bit, -1 when nothing is found) except in the UTF-8 aware Char* operations.
//
// Every operation is safe for any index a caller passes (an index out of range
// changes nothing) and for a string without storage (it reads as empty).
#pragma once

#include "SupportDefs.h"

#include <cstdint>

class BFont;
class BRect;

class LibString {
public:
    LibString();
    explicit LibString(const long& size);
    LibString(const char* text);
    LibString(const LibString& other);
    virtual ~LibString();

    virtual operator const char*() const { return fBuffer; }
    virtual operator char*() const { return fBuffer; }
    virtual void PrintToStream() const;
    void PrintDecimalToStream() const;

    // Storage.
    char* SetBuffer(const long& size);
    void Clear();
    int32 Length() const;
    int32 Capacity() const { return fCapacity; }

    // Assignment. The number forms size the storage to the whole text.
    LibString& operator=(const char* text);
    LibString& operator=(const LibString& other);
    LibString& operator=(const long& value);
    LibString& operator=(const int& value) { return *this = long(value); }
    LibString& operator=(const float& value);
    LibString& operator=(const double& value);
    LibString& operator=(char) = delete; // a character is no number: use Concat
    void SetFloat32(const float& value, const int& precision);
    void SetFloat64(const double& value, const int& precision);
    void SetHex(const unsigned char& value);
    // printf-style into a 512-byte work area; longer results are cut at 511.
    LibString& Formatted(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void Read(const char* path, const long& lineSize);

    // Appending and inserting.
    LibString& Concat(const char* text);
    LibString& Concat(const char& c);
    LibString& operator+=(const long& value);
    LibString& operator+=(const int& value) { return *this += long(value); }
    LibString& operator+=(const float& value);
    LibString& operator+=(const double& value);
    LibString& operator+=(char) = delete;
    LibString& PrePend(const char* text);
    void Insert(const int& index, const char* text);

    // Comparing and testing.
    int Compare(const char* text, const bool& ignoreCase = false) const;
    int Compare(const LibString& text, const bool& ignoreCase = false) const;
    int CompareSub(const char* text, const bool& ignoreCase = false, const long& length = -1,
        const long& offset = 0) const;
    int CompareSub(const LibString& text, const bool& ignoreCase = false, const long& length = -1,
        const long& offset = 0) const;
    bool Contain(const char* text, const bool& ignoreCase = false) const;
    bool Contain(const LibString& text, const bool& ignoreCase = false) const;
    bool Contain(const char& c) const;
    bool BeginsWith(const char* prefix, const bool& ignoreCase = false) const;
    bool BeginsWith(const LibString& prefix, const bool& ignoreCase = false) const;
    bool EndsWith(const char* suffix, const bool& ignoreCase = false) const;
    bool EndsWith(const LibString& suffix, const bool& ignoreCase = false) const;
    bool IsBlank() const;
    bool IsNumeric() const;
    bool IsWildCard(const char* pattern) const;
    bool IsWildCard(const LibString& pattern) const;
    bool CompareWildCard(const char* text, const char* pattern) const;

    // Searching and counting.
    int32 Index(const char& c) const;
    int32 Index(const char* text) const;
    int32 Index(const LibString& text) const;
    int32 IndexOfAny(const char* set) const;
    int32 Count(const char& c) const;
    int32 Words() const;
    bool Word(const long& n, LibString& out) const;
    int32 CharCount() const;
    int32 PackSize() const;

    // Extracting into a new string.
    LibString Extract(const long& from, const long& to) const;
    LibString Extract(const char& open, const char& close, const bool& stripDelimiters) const;

    // In-place cutting.
    void FromIndex(const long& index);
    void ToIndex(const long& index);
    bool FromChar(const char& c, const long& n, const int& offset);
    bool ToChar(const char& c, const long& n, const int& offset);
    void FromLast(const char& c, const long& offset);
    void ToLast(const char& c, const long& offset);
    void CharFromIndex(const long& n);
    void CharToIndex(const long& n);
    void Remove(const long& from, const long& to);
    void RemoveChar(const long& index);
    void ShiftFrom(const long& to, const long& from);

    // In-place editing.
    int32 Replace(const char* find, const char* with);
    void ReplaceAll(const char* find, const char* with);
    void ReplaceAll(const char& from, const char& to);
    void SwapChar(const char& from, const char& to);
    void RemoveAllChar(const char& c);
    void RemoveRepeatingChar(const char& c);
    bool RemoveWord(const char* word);
    void RemoveAllWords(const char* word);
    void StripPunct();
    void StripLeadingChar(const char& c);
    void StripTrailingChar(const char& c);
    void StripLeadingSpaces();
    void StripTrailingSpaces();
    void StripAllSpaces();
    void ToLowerCase();
    void ToUpperCase();
    void ToProperCase();
    // Shortens the text with a "..." ending until it is narrower than `width`
    // pixels in `font`; `rect` spans the characters kept. Answers the number
    // of bytes cut off, or the length when the text already fits.
    int32 Truncate(const BFont& font, const int& width, BRect& rect);

    // Number parsing: each sets its result to 0 first and answers whether the
    // text is a number. The 32-bit readers keep the low 32 bits even where
    // `long` is wider; the int32/uint32 forms are for callers holding those.
    bool GetInt8(signed char& value) const;
    bool GetUint8(unsigned char& value) const;
    bool GetInt16(short& value) const;
    bool GetUint16(unsigned short& value) const;
    bool GetInt32(long& value) const;
    bool GetInt32(int32& value) const;
    bool GetUint32(unsigned long& value) const;
    bool GetUint32(uint32& value) const;
    bool GetFloat32(float& value) const;
    bool GetFloat64(double& value) const;
    int GetHex() const;
    int HexValue(const char& c) const;

    // Steps over the UTF-8 character at text[offset]: its byte length goes to
    // `bytes` and `offset` moves past it (never past the terminator; at the
    // terminator `bytes` becomes 0 and `offset` stays).
    void NextCharacter(const char* text, long long& offset, unsigned long& bytes) const;

private:
    const char* Text() const { return fBuffer != nullptr ? fBuffer : ""; }
    bool ReadInteger(long& value) const;
    // Makes room for a text of `length` bytes, keeping the current text; the
    // buffer is replaced by one of exactly length + 1 bytes when too small.
    void Reserve(int64 length);
    void Assign(const char* text, int64 length);
    void Splice(int32 at, int32 removed, const char* text, int32 length);
    void SetLength(int32 length);
    int32 FindFrom(const char* text, int32 length, int32 start) const;
    int32 ReplaceAllFromStart(const char* find, const char* with);
    void ReplaceAllOnce(const char* find, const char* with);

    char* fBuffer = nullptr;
    int32 fCapacity = 0;
};

// Byte length of the UTF-8 character that starts with `lead`: 1 below 0x80,
// else the number of leading 1 bits but at least 2.
int32 lib_utf8_char_length(unsigned char lead);
