// Matching one layout of the parser's table against the tokens.
#include "o_parsedate_internal.h"

namespace parsedate {

namespace {

class Matcher {
public:
    Matcher(std::vector<Token>& tokens, Match& match)
        : fTokens(tokens)
        , fMatch(match)
    { }

    bool Item(char letter);
    bool AllUsed() const { return fNext == fTokens.size(); }

private:
    const Token* Peek(size_t ahead = 0) const
    {
        return fNext + ahead < fTokens.size() ? &fTokens[fNext + ahead] : nullptr;
    }
    bool Take(int type, int64* value = nullptr);
    bool Zone();
    bool Relative();
    bool RelativeAfterNumber(const Token& number, const Token& next);
    bool Separator(char letter);

    std::vector<Token>& fTokens;
    Match& fMatch;
    size_t fNext = 0;
};

bool Matcher::Take(int type, int64* value)
{
    const Token* token = Peek();
    if (token == nullptr || token->type != type)
        return false;
    if (value != nullptr)
        *value = token->value;
    fNext++;
    return true;
}

int64 FullYear(int64 year)
{
    if (year <= 37)
        return year + 2000;
    if (year <= 99)
        return year + 1900;
    return year;
}

bool IsSigned(const Token& token)
{
    return token.type == kSigned || token.type == kNegativeZero;
}

bool IsNegative(const Token& token)
{
    return token.type == kNegativeZero || (token.type == kSigned && token.value < 0);
}

// A zone name, optionally followed by a signed offset: hours, or HHMM when
// the number is larger than 12.
bool Matcher::Zone()
{
    const Token* token = Peek();
    if (token == nullptr || (token->type != kZone && token->type != kDaylightZone))
        return false;
    fMatch.zone = int(token->type == kDaylightZone ? token->value - 60 : token->value);
    fNext++;
    const Token* offset = Peek();
    if (offset == nullptr || !IsSigned(*offset))
        return true;
    int64 size = offset->value < 0 ? -offset->value : offset->value;
    int64 minutes = size > 12 ? (size / 100) * 60 + size % 100 : size * 60;
    fMatch.numericZone = int(IsNegative(*offset) ? -minutes : minutes);
    fNext++;
    return true;
}

bool Matcher::RelativeAfterNumber(const Token& number, const Token& next)
{
    bool isSigned = IsSigned(number);
    if (next.type == kWeekday && isSigned) {
        fMatch.weekday = int(next.value);
        fMatch.weekShift = number.value;
        fNext += 2;
        return true;
    }
    if (next.type == kTimeUnit) {
        fMatch.relativeSeconds += number.value * next.value;
        fMatch.relativeTime = true;
        fNext += 2;
        return true;
    }
    if (next.type == kMonthUnit) {
        fMatch.relativeMonths += number.value * next.value;
        fNext += 2;
        return true;
    }
    const Token* minutes = Peek(2);
    if (next.type == kColon && isSigned && minutes != nullptr && minutes->type == kNumber) {
        int64 sign = IsNegative(number) ? -1 : 1;
        fMatch.relativeSeconds += number.value * 3600 + sign * minutes->value * 60;
        fMatch.relativeTime = true;
        fNext += 3;
        return true;
    }
    return false;
}

// TOMORROW; NEXT MONDAY; +3 HOURS; LAST MONTH; -1:30.
bool Matcher::Relative()
{
    const Token* token = Peek();
    if (token == nullptr)
        return false;
    if (token->type == kDayWord) {
        fMatch.relativeSeconds += token->value * 86400;
        fMatch.relative = true;
        fNext++;
        return true;
    }
    const Token* next = Peek(1);
    if (next == nullptr || (token->type != kNumber && !IsSigned(*token)))
        return false;
    if (!RelativeAfterNumber(*token, *next))
        return false;
    fMatch.relative = true;
    return true;
}

// "-" takes a "/" or lone "-", or leaves a negative number behind as a plain
// one for the next item ("3-7-2001" is 3, -7, -2001); "+" likewise.
bool Matcher::Separator(char letter)
{
    Token* token = fNext < fTokens.size() ? &fTokens[fNext] : nullptr;
    if (token == nullptr)
        return false;
    int lone = letter == '-' ? kSlash : kPlus;
    if (token->type == lone) {
        fNext++;
        return true;
    }
    bool fits = letter == '-' ? IsNegative(*token) : token->type == kSigned && token->value >= 0;
    if (!fits)
        return false;
    token->type = kNumber;
    token->value = token->value < 0 ? -token->value : token->value;
    return true;
}

bool Matcher::Item(char letter)
{
    int64 value = 0;
    switch (letter) {
    case 'A':
    case 'a':
        if (!Take(kWeekday, &value))
            return false;
        fMatch.weekday = int(value);
        return true;
    case 'B':
    case 'b':
        if (!Take(kMonth, &fMatch.month) && !Take(kNumber, &fMatch.month))
            return false;
        return true;
    case 'd':
        if (!Take(kNumber, &fMatch.day))
            return false;
        Take(kOrdinal);
        return true;
    case 'm':
        return Take(kNumber, &fMatch.month);
    case 'Y':
    case 'y':
        if (!Take(kNumber, &value))
            return false;
        fMatch.year = FullYear(value);
        return true;
    case 'H':
    case 'I':
        return Take(kNumber, &fMatch.hours);
    case 'M':
        return Take(kNumber, &fMatch.minutes);
    case 'S':
        return Take(kNumber, &fMatch.seconds);
    case 'p':
        if (!Take(kMeridian, &value))
            return false;
        fMatch.ampm = int(value);
        return true;
    case 'Z':
    case 'z':
        return Zone();
    case ',':
        return Take(kComma);
    case '.':
        return Take(kDot);
    case ':':
        return Take(kColon);
    case '-':
    case '+':
        return Separator(letter);
    case 'T':
        return Relative();
    default:
        return false;
    }
}

} // namespace

bool MatchPattern(const char* pattern, std::vector<Token> tokens, Match& match)
{
    match = Match();
    Matcher matcher(tokens, match);
    bool optional = false;
    for (const char* at = pattern; *at != '\0'; at++) {
        char letter = *at;
        if (letter == ' ')
            continue;
        if (letter == '[' || letter == ']') {
            optional = letter == '[';
            continue;
        }
        if (matcher.Item(letter))
            continue;
        if (!optional)
            return false;
        // A mismatch ends the optional part; matching goes on after it.
        while (at[1] != '\0' && at[1] != ']')
            at++;
    }
    return matcher.AllUsed();
}

} // namespace parsedate
