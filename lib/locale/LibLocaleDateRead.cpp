// Reading dates back: by the formatter's own layout, or as free text whose
// month and weekday names are first rewritten into English for the parser.
#include "LibLocaleDate.h"

#include "lib_locale_names.h"
#include "o_parsedate.h"

#include <cstring>

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Word characters: letters, and every byte of a non-ASCII character.
bool IsWordCharacter(char c)
{
    unsigned char byte = static_cast<unsigned char>(c);
    return byte >= 0x80 || (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z');
}

char Upper(char c)
{
    return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
}

// Whether the `length` bytes at `word` begin `name`: at least two whole
// characters, ASCII letters in either case.
bool BeginsName(const char* word, size_t length, const char* name)
{
    if (length > strlen(name))
        return false;
    int characters = 0;
    for (size_t i = 0; i < length; i++) {
        if (Upper(word[i]) != Upper(name[i]))
            return false;
        if ((static_cast<unsigned char>(word[i]) & 0xC0) != 0x80)
            characters++;
    }
    return characters >= 2;
}

bool ReadNumber(const char* text, size_t& at, size_t minimum, size_t maximum, int64& value)
{
    size_t count = 0;
    value = 0;
    while (count < maximum && IsDigit(text[at + count])) {
        value = value * 10 + (text[at + count] - '0');
        count++;
    }
    if (count < minimum)
        return false;
    at += count;
    return true;
}

} // namespace

bool LibLocaleDate::SwapText(LibString& text, const char* name, const char* englishName)
{
    const char* value = text;
    if (value == nullptr || name == nullptr || englishName == nullptr)
        return false;
    size_t length = strlen(value);
    size_t at = 0;
    while (at < length) {
        while (at < length && !IsWordCharacter(value[at]))
            at++;
        size_t start = at;
        while (at < length && IsWordCharacter(value[at]))
            at++;
        if (at > start && BeginsName(value + start, at - start, name)) {
            text.Remove(long(start), long(at) - 1);
            text.Insert(int(start) - 1, englishName);
            return true;
        }
    }
    return false;
}

LibString LibLocaleDate::ConvertToEnglish(const char* text) const
{
    LibString english(text != nullptr ? text : "");
    int own = LanguageIndex();
    for (int step = 0; step < kLocaleLanguageCount; step++) {
        int language = step == 0 ? own : (step <= own ? step - 1 : step);
        for (int month = 1; month <= 12; month++)
            SwapText(english, lib_month_name(language, month), lib_month_name(kEnglish, month));
        for (int weekday = 0; weekday <= 6; weekday++) {
            SwapText(
                english, lib_weekday_name(language, weekday), lib_weekday_name(kEnglish, weekday));
        }
    }
    return english;
}

// The longest month (or weekday) name, as Format writes it, at text[at].
bool LibLocaleDate::ReadName(const char* text, size_t& at, bool month, int& value) const
{
    size_t best = 0;
    for (int candidate = month ? 1 : 0; candidate <= (month ? 12 : 6); candidate++) {
        LibString name = month ? AddMonth(candidate) : AddWeekDay(LibWeekDay(candidate));
        size_t length = strlen(name);
        if (length > best && strncmp(text + at, name, length) == 0) {
            best = length;
            value = candidate;
        }
    }
    at += best;
    return best > 0;
}

bool LibLocaleDate::ReadByLayout(const char* text, LibDate& date) const
{
    if (text == nullptr)
        return false;
    LibDate today(true, true);
    int64 day = today.GetDay(), month = today.GetMonth(), year = today.GetYear();
    bool seen[128] = {};
    size_t at = 0;
    for (const char* pattern = fFormat; pattern != nullptr && *pattern != '\0'; pattern++) {
        char letter = *pattern;
        if (!lib_is_date_element(letter)) {
            if (text[at] != letter)
                return false;
            at++;
            continue;
        }
        if (seen[int(letter)])
            continue;
        seen[int(letter)] = true;
        int name = 0;
        bool read = true;
        switch (letter) {
        case 'D':
            read = ReadNumber(text, at, 1, 2, day);
            break;
        case 'M':
            if (fMonthFormat == kFormatShortest)
                read = ReadNumber(text, at, 1, 2, month);
            else if ((read = ReadName(text, at, true, name)))
                month = name;
            break;
        case 'W':
            read = ReadName(text, at, false, name);
            break;
        case 'Y':
            if (fYearFormat == kFormatLong) {
                bool negative = text[at] == '-';
                at += negative ? 1 : 0;
                read = ReadNumber(text, at, 1, 5, year);
                year = negative ? -year : year;
            } else if ((read = ReadNumber(text, at, 2, 2, year))) {
                year += year <= 37 ? 2000 : 1900;
            }
            break;
        }
        if (!read)
            return false;
    }
    if (text[at] != '\0' || year == 0 || year < LibDate::kMinYear || year > LibDate::kMaxYear
        || day < 1 || day > LibDate::MonthLength(int(month), year))
        return false;
    date = LibDate(LibDate::DateToJulian(int(day), int(month), int(year)));
    return date.IsValidDate();
}

LibDate LibLocaleDate::GetDate(const char* text) const
{
    LibDate date;
    if (ReadByLayout(text, date))
        return date;
    int month = 0, day = 0, year = 0;
    LibString english = ConvertToEnglish(text);
    if (o_parsedate(english, month, day, year) == 1) {
        date.SetDate(unsigned(day), unsigned(month), unsigned(year));
        if (date.IsValidDate())
            return date;
    }
    return LibDate(true, true);
}
