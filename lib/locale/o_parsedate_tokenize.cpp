// The parser's tokenizer: numbers, signed numbers, words and single
// characters, with nested comments in parentheses skipped.
#include "o_parsedate_internal.h"

#include <cstring>

namespace parsedate {

namespace {

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Skips a comment that starts at text[at] == '('; false when it reaches the
// end of the text or a carriage return before it closes.
bool SkipComment(const char* text, size_t length, size_t& at)
{
    int depth = 0;
    while (at < length) {
        char c = text[at];
        if (c == '\r')
            return false;
        if (c == '\\') {
            if (at + 1 >= length || text[at + 1] == '\r')
                return false;
            at += 2;
            continue;
        }
        at++;
        if (c == '(')
            depth++;
        else if (c == ')' && --depth == 0)
            return true;
    }
    return false;
}

int64 ReadDigits(const char* text, size_t length, size_t& at)
{
    int64 value = 0;
    while (at < length && IsDigit(text[at])) {
        value = value * 10 + (text[at] - '0');
        if (value > kMaxNumber)
            value = kMaxNumber;
        at++;
    }
    return value;
}

Token ReadWord(const char* text, size_t length, size_t& at)
{
    std::string word;
    while (at < length && (IsLetter(text[at]) || text[at] == '.')) {
        char c = text[at++];
        if (c == '.')
            continue;
        word += char(c >= 'a' ? c - 'a' + 'A' : c);
    }
    if (!word.empty() && word.back() == 'S' && word != "THIS" && word != "CES")
        word.pop_back();
    return LookUpWord(word);
}

} // namespace

bool Tokenize(const char* text, std::vector<Token>& tokens)
{
    tokens.clear();
    if (text == nullptr)
        return false;
    size_t length = strnlen(text, kMaxTextLength + 1);
    if (length > kMaxTextLength)
        return false;
    size_t at = 0;
    while (at < length) {
        char c = text[at];
        if (IsSpace(c)) {
            at++;
        } else if (c == '(') {
            if (!SkipComment(text, length, at))
                return false;
        } else if ((c == '+' || c == '-') && at + 1 < length && IsDigit(text[at + 1])) {
            at++;
            int64 value = ReadDigits(text, length, at);
            if (c == '-' && value == 0)
                tokens.push_back({kNegativeZero, 0});
            else
                tokens.push_back({kSigned, c == '-' ? -value : value});
        } else if (IsDigit(c)) {
            tokens.push_back({kNumber, ReadDigits(text, length, at)});
        } else if (c == '.') {
            tokens.push_back({kDot, 0});
            at++;
        } else if (IsLetter(c)) {
            tokens.push_back(ReadWord(text, length, at));
        } else {
            at++;
            if (c == ',')
                tokens.push_back({kComma, 0});
            else if (c == '/' || c == '-')
                tokens.push_back({kSlash, 0});
            else if (c == '+')
                tokens.push_back({kPlus, 0});
            else if (c == ':')
                tokens.push_back({kColon, 0});
            else
                tokens.push_back({kOther, int64(static_cast<unsigned char>(c))});
        }
    }
    return true;
}

} // namespace parsedate
