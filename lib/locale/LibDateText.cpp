// LibDate's text forms: fixed "MM/DD/YYYY", free-form month/day/year, month
// and weekday names.
#include "LibDate.h"

#include <cstring>

namespace {

const char* const kEnglishMonths[12] = {"January", "February", "March", "April", "May", "June",
    "July", "August", "September", "October", "November", "December"};

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The digits text[from..to) as a number; false unless all are digits.
bool Digits(const char* text, size_t from, size_t to, int64& value)
{
    if (from >= to)
        return false;
    value = 0;
    for (size_t i = from; i < to; i++) {
        if (!IsDigit(text[i]))
            return false;
        if (value < 1000000000)
            value = value * 10 + (text[i] - '0');
    }
    return true;
}

size_t CountDigits(const char* text)
{
    size_t count = 0;
    while (IsDigit(text[count]))
        count++;
    return count;
}

} // namespace

bool LibDate::SetDate(const char* text)
{
    if (text == nullptr)
        return false;
    size_t length = strlen(text);
    int64 month, day, year;
    if (length < 7 || !Digits(text, 0, 2, month) || !Digits(text, 3, 5, day)
        || !Digits(text, 6, length, year))
        return false;
    LibDate date;
    if (!date.CorrectDate(day, month, year))
        return false;
    *this = date;
    return true;
}

// Groups of digits, each ended by one other character (or the end): month and
// day of one or two digits, then a year of none (the date's year), two (in
// the date's century) or four digits.
bool LibDate::SetUnformattedDate(const char* text)
{
    if (text == nullptr)
        return false;
    int64 currentYear = fYear;
    if (!IsValidDate()) {
        LibDate today(true, true);
        currentYear = today.GetYear();
    }
    int64 values[2] = {1, 1};
    const char* at = text;
    for (int64& value : values) {
        if (*at == '\0')
            break;
        size_t count = CountDigits(at);
        if (count == 0 || count > 2)
            return false;
        Digits(at, 0, count, value);
        at += count;
        if (*at != '\0')
            at++;
    }
    int64 year = currentYear;
    size_t count = CountDigits(at);
    if (count == 2) {
        int64 twoDigits;
        Digits(at, 0, 2, twoDigits);
        year = currentYear / 100 * 100 + twoDigits;
    } else if (count == 4) {
        Digits(at, 0, 4, year);
    } else if (count != 0) {
        return false;
    }
    LibDate date;
    if (!date.CorrectDate(values[1], values[0], year))
        return false;
    *this = date;
    return true;
}

void LibDate::SetMonth(const char* name)
{
    if (name == nullptr || *name == '\0')
        return;
    size_t length = strlen(name);
    for (int month = 1; month <= 12; month++) {
        if (strncmp(kEnglishMonths[month - 1], name, length) == 0) {
            SetMonth(static_cast<unsigned int>(month));
            return;
        }
    }
}

LibWeekDay LibDate::DayOfWeek(const char* name) const
{
    if (name == nullptr)
        return kSunday;
    char first = char(name[0] & ~0x20);
    char second = name[0] == '\0' ? '\0' : char(name[1] & ~0x20);
    switch (first) {
    case 'F':
        return kFriday;
    case 'M':
        return kMonday;
    case 'W':
        return kWednesday;
    case 'S':
        return second == 'U' ? kSunday : kSaturday;
    case 'T':
        return second == 'U' ? kTuesday : kThursday;
    default:
        return kSunday;
    }
}
