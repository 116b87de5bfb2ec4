// A text read field by field: configuration values such as a ';'-separated
// group list or a ':'-separated search path are split with it.
#pragma once

#include "LibString.h"

class LibStringIterator : public LibString {
public:
    LibStringIterator();
    explicit LibStringIterator(const int& size);
    LibStringIterator(const char* text);
    LibStringIterator(const LibString& text);
    LibStringIterator(const LibStringIterator& other);
    ~LibStringIterator() override;

    // A new text starts reading from the front again.
    LibStringIterator& operator=(const char* text);
    LibStringIterator& operator=(const LibString& text);
    LibStringIterator& operator=(const LibStringIterator& other);

    void PrintToStream() const override;

    // A negative position is refused.
    void Reset(const int& position);
    int Position() const { return fPosition; }

    // The next field up to `separator` (or to the end); false once the text
    // is used up.
    bool GetNextField(const char& separator, LibString& field);
    // The next field up to any of `separators`. The last field, which no
    // separator ends, comes back with a false result and leaves the position.
    bool GetNextField(const char* separators, LibString& field);
    // Field `index` (from 0) of the whole text; `field` is left alone when
    // there is no such field.
    bool GetIndexField(const char& separator, const long& index, LibString& field);

private:
    int fPosition = 0;
};
