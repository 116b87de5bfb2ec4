// Generates date texts in every layout of the parser's table from random
// fields and checks each result against timegm/mktime on the same fields.
#include "ZoneGuard.h"
#include "o_parsedate.h"
#include "o_parsedate_internal.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

const char* const kMonthNames[] = {"January", "February", "March", "April", "May", "June", "July",
    "August", "September", "October", "November", "December"};
const char* const kWeekdayNames[]
    = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

struct ZoneName {
    const char* name;
    int minutesWest; // in effect, daylight included
};
const ZoneName kZones[] = {{"GMT", 0}, {"UTC", 0}, {"EST", 300}, {"EDT", 240}, {"CST", 360},
    {"PDT", 420}, {"CET", -60}, {"CEST", -120}, {"MSK", -180}, {"JST", -540}, {"NZST", -720},
    {"NST", 210}, {"IST", -120}, {"BST", -60}, {"HST", 600}};

struct Fields {
    int year = -1, month = -1, day = -1, weekday = -1;
    int hours = -1, minutes = -1, seconds = -1;
    int ampm = -1;
    bool zone = false;
    int zoneWest = 0;
    long relativeSeconds = 0;
    int relativeMonths = 0;
    bool relativeTime = false;
    int weekShift = 0;
    bool weekShiftSet = false;
};

class Generator {
public:
    explicit Generator(unsigned seed)
        : fRandom(seed)
    { }

    int Between(int low, int high)
    {
        return std::uniform_int_distribution<int>(low, high)(fRandom);
    }
    bool Chance(int percent) { return Between(1, 100) <= percent; }

    std::string Mixed(std::string word)
    {
        switch (Between(0, 2)) {
        case 0:
            for (char& c : word)
                c = char(toupper(c));
            break;
        case 1:
            for (char& c : word)
                c = char(tolower(c));
            break;
        }
        return word;
    }

    std::string Name(const char* full)
    {
        std::string name = full;
        if (Chance(50))
            name = name.substr(0, size_t(Between(3, int(name.size()))));
        return Mixed(name);
    }

    std::string Number(int value, int width)
    {
        std::string text = std::to_string(value);
        while (int(text.size()) < width && Chance(50))
            text = "0" + text;
        return text;
    }

    std::mt19937 fRandom;
};

// One rendered piece of a layout and how it joins its predecessor.
struct Piece {
    std::string text;
    bool glued = false; // no blank before it
};

class Renderer {
public:
    Renderer(Generator& generator, const char* pattern)
        : fGen(generator)
        , fPattern(pattern)
    {
        fDate.year = fGen.Chance(30) ? fGen.Between(32, 99) : fGen.Between(1600, 2400);
        fDate.month = fGen.Between(1, 12);
        int length = DaysIn(FullYear(fDate.year), fDate.month);
        fDate.day = fGen.Between(1, length);
        fNumericMonthAndDay = std::string(pattern).find('m') != std::string::npos;
        if (fNumericMonthAndDay && length >= 13)
            fDate.day = fGen.Between(13, length);
        // An hour without minutes reads as a year or day unless AM/PM follows.
        std::string layout = pattern;
        size_t hour = layout.find('H');
        fBareHour = hour != std::string::npos && layout.find(':', hour) != hour + 1
            && layout.find("][:]") == std::string::npos;
        fTwelveHour = fBareHour || fGen.Chance(50);
        fDateGroup = fGen.Chance(50);
    }

    static int FullYear(int year)
    {
        return year <= 37 ? year + 2000 : year <= 99 ? year + 1900 : year;
    }
    static int DaysIn(int year, int month)
    {
        static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
        return month == 2 && leap ? 29 : kDays[month - 1];
    }

    std::string Render();
    const Fields& Result() const { return fFields; }

private:
    bool Include(char letter, bool optional);
    void Emit(char letter);
    void Relative();

    Generator& fGen;
    const char* fPattern;
    Fields fDate;
    Fields fFields;
    std::vector<Piece> fPieces;
    bool fNumericMonthAndDay = false;
    bool fTwelveHour = false;
    bool fBareHour = false;
    bool fDateGroup = false; // optional B, d and Y appear together or not at all
};

bool Renderer::Include(char letter, bool optional)
{
    if (!optional)
        return true;
    std::string pattern = fPattern;
    if (pattern.find("[d]") != std::string::npos
        && (letter == 'B' || letter == 'd' || letter == 'Y'))
        return fDateGroup;
    if (letter == 'p')
        return fTwelveHour;
    // "[H][:][M]": minutes without hours would read as hours.
    if (letter == ':' || letter == 'M')
        return fFields.hours >= 0 && fGen.Chance(70);
    // No backtracking: an optional year before the hour takes the hour's number.
    if (letter == 'Y'
        && pattern.find('H', size_t(strchr(fPattern, 'Y') - fPattern)) != std::string::npos)
        return true;
    return fGen.Chance(50);
}

void Renderer::Relative()
{
    int64 count = fGen.Between(-40, 40);
    std::string sign = count < 0 ? "-" : "+";
    std::string number
        = (fGen.Chance(50) || count < 0 ? sign : "") + std::to_string(count < 0 ? -count : count);
    switch (fGen.Between(0, 6)) {
    case 0: {
        static const char* const kWords[] = {"yesterday", "today", "tomorrow"};
        int which = fGen.Between(0, 2);
        fPieces.push_back({fGen.Mixed(kWords[which])});
        fFields.relativeSeconds += (which - 1) * 86400L;
        return;
    }
    case 1:
    case 2:
    case 3: {
        struct Unit {
            const char* name;
            long seconds;
        };
        static const Unit kUnits[] = {{"hours", 3600}, {"min", 60}, {"days", 86400}};
        const Unit& unit = kUnits[fGen.Between(0, 2)];
        fPieces.push_back({number + " " + fGen.Mixed(unit.name)});
        fFields.relativeSeconds += count * unit.seconds;
        break;
    }
    case 4: {
        static const char* const kWords[] = {"last", "this", "next"};
        int which = fGen.Between(0, 2);
        fPieces.push_back({std::string(kWords[which]) + " " + fGen.Mixed("week")});
        fFields.relativeSeconds += (which - 1) * 604800L;
        break;
    }
    case 5: {
        bool years = fGen.Chance(50);
        fPieces.push_back({number + " " + fGen.Mixed(years ? "years" : "months")});
        fFields.relativeMonths += int(count) * (years ? 12 : 1);
        return;
    }
    case 6: {
        int minutes = fGen.Between(0, 59);
        std::string text = sign + std::to_string(count < 0 ? -count : count) + ":"
            + (minutes < 10 ? "0" : "") + std::to_string(minutes);
        fPieces.push_back({text});
        fFields.relativeSeconds += count * 3600 + (count < 0 ? -1 : 1) * minutes * 60L;
        break;
    }
    }
    fFields.relativeTime = true;
}

void Renderer::Emit(char letter)
{
    switch (letter) {
    case 'A': {
        fFields.weekday = 0; // filled in once the date is known
        fPieces.push_back({"\x01"});
        break;
    }
    case 'B':
    case 'b':
        fFields.month = fDate.month;
        fPieces.push_back({fGen.Name(kMonthNames[fDate.month - 1])});
        break;
    case 'm':
        fFields.month = fDate.month;
        fPieces.push_back({fGen.Number(fDate.month, 2)});
        break;
    case 'd': {
        fFields.day = fDate.day;
        std::string text = fGen.Number(fDate.day, 2);
        if (fGen.Chance(30)) {
            int last = fDate.day % 10;
            bool teen = fDate.day / 10 == 1;
            text += teen || last == 0 || last > 3 ? "th"
                : last == 1                       ? "st"
                : last == 2                       ? "nd"
                                                  : "rd";
        }
        fPieces.push_back({text});
        break;
    }
    case 'Y':
    case 'y':
        fFields.year = FullYear(fDate.year);
        fPieces.push_back(
            {fDate.year <= 99 ? fGen.Number(fDate.year, 2) : std::to_string(fDate.year)});
        break;
    case 'H':
    case 'I':
        fFields.hours = fTwelveHour ? fGen.Between(1, 12) : fGen.Between(0, 23);
        fPieces.push_back({fGen.Number(fFields.hours, 2)});
        break;
    case 'M':
        fFields.minutes = fGen.Between(0, 59);
        fPieces.push_back({fGen.Number(fFields.minutes, 2)});
        break;
    case 'S':
        fFields.seconds = fGen.Between(0, 59);
        fPieces.push_back({fGen.Number(fFields.seconds, 2)});
        break;
    case 'p': {
        fFields.ampm = fGen.Chance(50) ? 0 : 12;
        static const char* const kForms[] = {"AM", "am", "a.m.", "PM", "pm", "p.m."};
        fPieces.push_back({kForms[fGen.Between(0, 2) + (fFields.ampm == 12 ? 3 : 0)]});
        break;
    }
    case 'Z': {
        const ZoneName& zone = kZones[fGen.Between(0, int(std::size(kZones)) - 1)];
        fFields.zone = true;
        fFields.zoneWest = zone.minutesWest;
        std::string text = zone.name;
        if (fGen.Chance(30)) {
            int hours = fGen.Between(-12, 12), minutes = fGen.Chance(50) ? 0 : 30;
            bool longForm = minutes != 0 || fGen.Chance(50);
            int east = hours * 60 + (hours < 0 ? -minutes : minutes);
            if (!longForm)
                east = hours * 60;
            fFields.zoneWest -= east;
            char buffer[16];
            if (longForm)
                snprintf(
                    buffer, sizeof buffer, "%c%02d%02d", east < 0 ? '-' : '+', abs(hours), minutes);
            else
                snprintf(buffer, sizeof buffer, "%c%d", east < 0 ? '-' : '+', abs(hours));
            text += buffer;
        }
        fPieces.push_back({text});
        break;
    }
    case 'T':
        Relative();
        break;
    case ',':
        fPieces.push_back({",", true});
        break;
    case ':':
        fPieces.push_back({":", true});
        fPieces.push_back({"", true});
        break;
    case '.': {
        bool afterWord
            = !fPieces.empty() && isalpha(static_cast<unsigned char>(fPieces.back().text.back()));
        fPieces.push_back({".", !afterWord});
        fPieces.push_back({"", true});
        break;
    }
    case '-':
        fPieces.push_back({fGen.Chance(50) ? "-" : "/", true});
        fPieces.push_back({"", true});
        break;
    }
}

std::string Renderer::Render()
{
    bool optional = false;
    for (const char* at = fPattern; *at != '\0'; at++) {
        char letter = *at;
        if (letter == ' ')
            continue;
        if (letter == '[' || letter == ']') {
            optional = letter == '[';
            continue;
        }
        if (Include(letter, optional))
            Emit(letter);
    }
    std::string text;
    for (size_t i = 0; i < fPieces.size(); i++) {
        bool glued = fPieces[i].glued || (i > 0 && fPieces[i - 1].text.empty());
        if (i > 0 && !glued)
            text += ' ';
        text += fPieces[i].text;
    }
    return text;
}

// The expected time, computed with timegm (zones and UTC) or mktime (local).
long Expected(Fields fields, const tm& reference, bool local)
{
    tm result {};
    bool clock = fields.relativeTime;
    int weekdayShift = 0;
    result.tm_year = (fields.year >= 0 ? fields.year : reference.tm_year + 1900) - 1900;
    result.tm_mon = (fields.month >= 0 ? fields.month : reference.tm_mon + 1) - 1;
    result.tm_mday = fields.day >= 0 ? fields.day : reference.tm_mday;
    if (fields.day < 0 && fields.weekday >= 0)
        weekdayShift = (fields.weekday - reference.tm_wday + 7) % 7;
    int hours = fields.hours >= 0 ? fields.hours : clock ? reference.tm_hour : 0;
    if (fields.ampm == 0 && hours == 12)
        hours = 0;
    else if (fields.ampm == 12 && hours != 12)
        hours += 12;
    result.tm_hour = hours;
    result.tm_min = fields.minutes >= 0 ? fields.minutes : clock ? reference.tm_min : 0;
    long seconds = fields.seconds >= 0 ? fields.seconds : clock ? reference.tm_sec : 0;
    result.tm_mday += weekdayShift;
    result.tm_sec = int(seconds + fields.relativeSeconds);
    result.tm_mon += fields.relativeMonths;
    result.tm_isdst = -1;
    if (local && !fields.zone) {
        // Normalize the wall-clock fields first: mktime guesses summer time
        // from fields that are still out of range.
        timegm(&result);
        result.tm_isdst = -1;
        return long(mktime(&result));
    }
    return long(timegm(&result)) + (fields.zone ? fields.zoneWest * 60L : 0);
}

int RunLayouts(const char* zoneName, bool local, int rounds, unsigned seed)
{
    ZoneGuard zone(zoneName);
    Generator generator(seed);
    int checked = 0;
    for (int round = 0; round < rounds; round++) {
        for (size_t i = 0; i < parsedate::kPatternCount; i++) {
            const char* pattern = parsedate::kPatterns[i];
            long now = UniversalTime(generator.Between(1990, 2030), generator.Between(1, 12),
                generator.Between(1, 28), generator.Between(0, 23), generator.Between(0, 59),
                generator.Between(0, 59));
            tm reference {};
            localtime_r(&now, &reference);
            Renderer renderer(generator, pattern);
            std::string text = renderer.Render();
            Fields fields = renderer.Result();
            // The weekday word names the date's own weekday (or, alone, the day).
            size_t mark = text.find('\x01');
            if (mark != std::string::npos) {
                int weekday;
                if (fields.day >= 0) {
                    tm date {};
                    date.tm_year = fields.year >= 0 ? fields.year - 1900 : reference.tm_year;
                    date.tm_mon = (fields.month >= 0 ? fields.month : reference.tm_mon + 1) - 1;
                    date.tm_mday = fields.day;
                    timegm(&date);
                    weekday = date.tm_wday;
                } else {
                    weekday = generator.Between(0, 6);
                    fields.weekday = weekday;
                }
                text.replace(mark, 1, generator.Name(kWeekdayNames[weekday]));
            }
            if (local && fields.zone)
                continue;
            // Without a year the reference year may lack the 29th of February.
            int year = fields.year >= 0 ? fields.year : reference.tm_year + 1900;
            bool invalid = fields.day > 0 && fields.month > 0
                && fields.day > Renderer::DaysIn(year, fields.month);
            long expected = invalid ? -1 : Expected(fields, reference, local);
            EXPECT_EQ(o_parsedate(text.c_str(), now), expected)
                << "layout " << i + 1 << " \"" << pattern << "\" text \"" << text << "\"";
            checked++;
        }
    }
    return checked;
}

} // namespace

TEST(ParseDateDifferential, EveryLayoutInUniversalTime)
{
    EXPECT_GT(RunLayouts("UTC", false, 40, 20010305), 2500);
}

TEST(ParseDateDifferential, EveryLayoutInBerlin)
{
    EXPECT_GT(RunLayouts("Europe/Berlin", true, 15, 19700101), 700);
}
