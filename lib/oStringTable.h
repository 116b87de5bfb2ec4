// A table of numbered texts for one language, kept in the source tree as a
// text file and attached to an executable as 'CSTR' resources by the build.
// File format (docs/strings.md): UTF-8, one text per line as a decimal
// number, one tab and the text, with \n, \t and \\ standing for a newline, a
// tab and a backslash; empty lines and lines starting with '#' are skipped.
#pragma once

#include "BResources.h"

#include <map>
#include <string>

class oStringTable {
public:
    // Numbers are limited so that every language's texts get resource ids
    // of their own (see ResourceId).
    static constexpr long kMaxNumber = 9999;

    // Reads the table; on failure it is left empty and `error` names the
    // line and the fault.
    bool Read(const char* path, std::string& error);
    bool Parse(const std::string& text, const std::string& origin, std::string& error);

    const std::map<long, std::string>& Texts() const { return fTexts; }
    // Null when the table lacks `number`.
    const char* Find(long number) const;

    // The resource id of text `number` in the language at `languageIndex`
    // of kLanguageCodes: 10000 × (index + 1) + number. Ids carry no meaning
    // for lookups (which go by name); they only have to be unique.
    static int32 ResourceId(int32 languageIndex, long number);

    // Replaces every text resource of language `code` in `resources` by the
    // texts of this table, named "<code>:<number>" and ended by a zero.
    status_t AttachTo(BResources& resources, const char* code) const;

private:
    bool ParseLine(const std::string& line, std::string& why);

    std::map<long, std::string> fTexts;
};
