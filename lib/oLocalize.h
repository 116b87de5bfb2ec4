// The texts of the running program in the language the user chose. The
// choice is the "language" attribute of the executable file itself, read
// afresh by every object, so a change reaches every later lookup on any
// thread (a choice the file could not take is kept in the process). Texts
// are 'CSTR' resources named by code and number ("en:1001").
#pragma once

#include "oResources.h"

// The language codes carried, in the order of the language menu.
inline constexpr const char* kLanguageCodes[]
    = {"en", "fr", "es", "de", "it", "no", "sv", "da", "nl", "pt"};
inline constexpr int32 kLanguageCount = 10;

// The index of `code` in kLanguageCodes, or -1.
int32 lib_language_index(const char* code);

class oLocalize : public oResources {
public:
    oLocalize();

    // Reads the "language" attribute (at most kMaxCodeLength bytes). A new
    // executable has none: the code becomes "en" and is recorded. When the
    // attribute exists but cannot be read the code is "en" for this object
    // and the attribute is left as it is.
    void ObtainLanguage();
    // Makes `code` current and records it on the executable; false when it
    // could not be recorded (a read-only volume, another user's file): the
    // choice then holds for the objects of this process only.
    bool SetLanguage(const char* code);
    const char* Language() const { return fLanguage; }

    using oResources::GetString;
    // The text numbered `number` in the current language; empty when that
    // language lacks it (there is no fallback to another language).
    LibString GetString(const long& number);

    static constexpr int32 kMaxCodeLength = 62;

private:
    LibString fLanguage;
};
