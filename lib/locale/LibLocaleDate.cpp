#include "LibLocaleDate.h"

#include "BMessage.h"
#include "LibStringList.h"
#include "lib_calendar.h"
#include "lib_locale_names.h"

#include <cstdio>

bool lib_is_date_element(char c)
{
    return c == 'D' || c == 'M' || c == 'W' || c == 'Y';
}

LibLocaleDate::LibLocaleDate()
    : fFormat("D M Y")
{ }

LibLocaleDate::~LibLocaleDate() { }

void LibLocaleDate::SetFormat(const char* format)
{
    if (format != nullptr)
        fFormat = format;
}

void LibLocaleDate::AvailableLanguages(LibStringList& list)
{
    for (int language = 0; language < kLocaleLanguageCount; language++)
        list.Add(lib_language_name(language));
}

bool LibLocaleDate::KanjiLaunguage() const
{
    return fLanguage == kJapanese;
}

int LibLocaleDate::LanguageIndex() const
{
    return fLanguage >= 0 && fLanguage < kLocaleLanguageCount ? int(fLanguage) : int(kEnglish);
}

// The first `characters` UTF-8 characters of `name`.
LibString LibLocaleDate::Cut(const char* name, int characters) const
{
    LibString text(name);
    text.CharToIndex(characters - 1);
    return text;
}

LibString LibLocaleDate::AddDay(const int& day) const
{
    char buffer[16];
    snprintf(buffer, sizeof buffer, fPad && day < 10 ? "0%d" : "%d", day);
    return LibString(buffer);
}

LibString LibLocaleDate::AddMonth(const int& month) const
{
    const char* name = lib_month_name(LanguageIndex(), month);
    if (name == nullptr)
        return LibString("");
    if (fMonthFormat == kFormatShortest)
        return AddDay(month);
    if (fMonthFormat == kFormatShort && !KanjiLaunguage())
        return Cut(name, 3);
    return LibString(name);
}

LibString LibLocaleDate::AddYear(const int& year) const
{
    char buffer[16];
    if (fYearFormat == kFormatLong)
        snprintf(buffer, sizeof buffer, "%d", year);
    else
        snprintf(buffer, sizeof buffer, "%02d", int(lib_floor_mod(year, 100)));
    return LibString(buffer);
}

LibString LibLocaleDate::AddWeekDay(const LibWeekDay& weekday) const
{
    const char* name = lib_weekday_name(LanguageIndex(), weekday);
    if (name == nullptr)
        return LibString("");
    bool kanji = KanjiLaunguage();
    if (fWeekdayFormat == kFormatShortest)
        return Cut(name, kanji ? 3 : 2);
    if (fWeekdayFormat == kFormatShort && !kanji)
        return Cut(name, 3);
    return LibString(name);
}

LibString LibLocaleDate::AddWeekDay(const LibDate& date) const
{
    if (!date.IsValidDate())
        return LibString("");
    return AddWeekDay(date.DayOfWeek());
}

LibString LibLocaleDate::Format(const LibDate& date) const
{
    LibString text("");
    if (!date.IsValidDate())
        return text;
    bool day = false, month = false, weekday = false, year = false;
    for (const char* at = fFormat; at != nullptr && *at != '\0'; at++) {
        switch (*at) {
        case 'D':
            if (!day)
                text.Concat(AddDay(date.GetDay()));
            day = true;
            break;
        case 'M':
            if (!month)
                text.Concat(AddMonth(date.GetMonth()));
            month = true;
            break;
        case 'W':
            if (!weekday)
                text.Concat(AddWeekDay(date));
            weekday = true;
            break;
        case 'Y':
            if (!year)
                text.Concat(AddYear(date.GetYear()));
            year = true;
            break;
        default:
            text.Concat(*at);
        }
    }
    return text;
}

void LibLocaleDate::RemoveFormat(const char& element)
{
    if (!lib_is_date_element(element))
        return;
    for (int32 at = fFormat.Index(element); at >= 0; at = fFormat.Index(element)) {
        const char* pattern = fFormat;
        int32 length = fFormat.Length();
        int32 end = at + 1;
        while (end < length && !lib_is_date_element(pattern[end]))
            end++;
        int32 start = at;
        if (end == length) {
            while (start > 0 && !lib_is_date_element(pattern[start - 1]))
                start--;
        } else {
            end--;
        }
        fFormat.Remove(start, end == length ? length - 1 : end);
    }
}

status_t LibLocaleDate::Archive(BMessage& archive) const
{
    status_t status = archive.AddInt32("weekday", fWeekdayFormat);
    if (status == B_OK)
        status = archive.AddInt32("month", fMonthFormat);
    if (status == B_OK)
        status = archive.AddInt32("day", fDayFormat);
    if (status == B_OK)
        status = archive.AddInt32("year", fYearFormat);
    if (status == B_OK)
        status = archive.AddBool("pad", fPad);
    if (status == B_OK)
        status = archive.AddString("format", static_cast<const char*>(fFormat));
    if (status == B_OK)
        status = archive.AddInt32("language", fLanguage);
    return status;
}

status_t LibLocaleDate::Restore(const BMessage& archive)
{
    int32 value;
    if (archive.FindInt32("weekday", &value) == B_OK)
        fWeekdayFormat = ElementFormat(value);
    if (archive.FindInt32("month", &value) == B_OK)
        fMonthFormat = ElementFormat(value);
    if (archive.FindInt32("day", &value) == B_OK)
        fDayFormat = ElementFormat(value);
    if (archive.FindInt32("year", &value) == B_OK)
        fYearFormat = ElementFormat(value);
    bool pad;
    if (archive.FindBool("pad", &pad) == B_OK)
        fPad = pad;
    const char* format;
    if (archive.FindString("format", &format) == B_OK)
        fFormat = format;
    if (archive.FindInt32("language", &value) == B_OK)
        fLanguage = LanguageType(value);
    return B_OK;
}
