// Feeds arbitrary text to the date parser and to every reader of date and
// time text; none may crash or read out of bounds.
#include "LibDateTime.h"
#include "LibLocaleDateTime.h"
#include "LibString.h"
#include "o_parsedate.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    const char* value = text.c_str();
    long reference = 983800830; // 2001-03-05
    o_parsedate(value, reference);
    int flags, day, month, year, hours, minutes, ampm, zone, numericZone;
    long seconds;
    o_parsedate_etc(value, reference, &flags, day, month, year, hours, minutes, seconds, ampm, zone,
        numericZone);

    LibDateTime dateTime(5u, 3u, 2001u);
    dateTime.SetIso8601(LibString(value), 2);
    dateTime.SetDate(value);
    dateTime.SetUnformattedDate(value);
    dateTime.SetTime(value);
    dateTime.SetUnformattedTime(value);

    LibLocaleDateTime locale;
    for (int language = 0; language <= 4; language++) {
        locale.SetLanguage(LibLocaleDate::LanguageType(language));
        locale.GetDate(value);
        locale.GetTime(value);
        LibString english = locale.ConvertToEnglish(value);
    }
    locale.LibLocaleDate::SetFormat(value);
    locale.Format(dateTime);
    return 0;
}
