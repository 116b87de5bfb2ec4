// The parts of the date parser: tokens, the word tables, the layout table and
// the matcher's result. Used by the parser's own sources and its tests.
#pragma once

#include "SupportDefs.h"

#include <string>
#include <vector>

namespace parsedate {

enum TokenType : int {
    kOther = -1, // any other character; the value is the character
    kUnknownWord = 0,
    kWeekday = 1,
    kNumber = 2,
    kSigned = 3, // a number with a sign, or LAST / THIS / NEXT
    kColon = 4,
    kMeridian = 5,     // AM 0, PM 12
    kZone = 6,         // minutes west of universal time
    kDaylightZone = 7, // the zone's standard minutes west
    kMonth = 8,
    kTimeUnit = 9,   // seconds per unit
    kMonthUnit = 10, // months per unit
    kComma = 11,
    kDot = 12,
    kOrdinal = 13,
    kSlash = 14,        // "/" or a "-" without digits
    kPlus = 15,         // a "+" without digits
    kDayWord = 16,      // TOMORROW 1, TODAY 0, YESTERDAY -1
    kNegativeZero = 17, // "-0"
};

struct Token {
    int type = kOther;
    int64 value = 0;
};

// Text longer than this is refused.
constexpr size_t kMaxTextLength = 32768;
// Digit runs stop growing here, so that long runs cannot overflow.
constexpr int64 kMaxNumber = 999999999;

// Cuts `text` into tokens; false for text that is too long or holds an
// unterminated comment.
bool Tokenize(const char* text, std::vector<Token>& tokens);

struct Word {
    const char* name;
    int type;
    int value;
};

// The token of an upper-case word without dots: month and weekday names by
// prefix (for words of three letters or more), then the exact table.
Token LookUpWord(const std::string& word);

extern const Word kPrefixWords[];
extern const size_t kPrefixWordCount;
extern const Word kExactWords[];
extern const size_t kExactWordCount;

extern const char* const kPatterns[];
extern const size_t kPatternCount;

constexpr int kUnset = INT32_MIN;

// What one layout read from the tokens.
struct Match {
    int64 day = kUnset;
    int64 month = kUnset;
    int64 year = kUnset;
    int64 hours = kUnset;
    int64 minutes = kUnset;
    int64 seconds = kUnset;
    int ampm = -1;
    int weekday = -1;
    int64 weekShift = kUnset; // LAST -1, THIS 0, NEXT 1 before a weekday
    int zone = kUnset;
    int numericZone = kUnset;
    int64 relativeSeconds = 0;
    int64 relativeMonths = 0;
    bool relative = false;
    bool relativeTime = false; // a time unit or offset: missing clock parts come from now
};

// Tries layout `pattern` on the tokens; true when every item matched and every
// token was used.
bool MatchPattern(const char* pattern, std::vector<Token> tokens, Match& match);

} // namespace parsedate
