// LibString against a plain std::string model: random texts (bytes above 0x7F
// and empty texts included) go through random searching, cutting and editing
// operations, and both must agree on every result, every text and every
// capacity (storage grows only when full, and then exactly).
#include "LibString.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

namespace {

const char kAlphabet[] = {'a', 'b', 'A', '/', ':', ' ', '\t', '.', '\x80', '\xC3', '\xA9', '\xFF'};

class Model {
public:
    explicit Model(unsigned seed)
        : fRandom(seed)
    { }

    std::string Text(int maxLength)
    {
        std::string text(Pick(0, maxLength), ' ');
        for (char& c : text)
            c = kAlphabet[Pick(0, int(sizeof(kAlphabet)) - 1)];
        return text;
    }
    char Char() { return kAlphabet[Pick(0, int(sizeof(kAlphabet)) - 1)]; }
    // Mostly inside the text, sometimes just outside, rarely far away.
    long Index(const std::string& text)
    {
        if (Pick(0, 20) == 0)
            return Pick(0, 1) ? 0x100000000L : -0x100000000L;
        return Pick(-3, int(text.size()) + 3);
    }
    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(fRandom); }

private:
    std::mt19937 fRandom;
};

long ModelIndex(const std::string& text, const std::string& find)
{
    if (text.empty())
        return -1;
    size_t at = text.find(find);
    return at == std::string::npos ? -1 : long(at);
}

int SignedCompare(const std::string& a, const std::string& b)
{
    bool less = std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
        [](char x, char y) { return static_cast<signed char>(x) < static_cast<signed char>(y); });
    if (less)
        return -1;
    return a == b ? 0 : 1;
}

void ModelFromIndex(std::string& text, long index)
{
    text = index < 0 || index >= long(text.size()) ? "" : text.substr(size_t(index));
}

void ModelToIndex(std::string& text, long index)
{
    if (index >= -1 && index < long(text.size()))
        text.resize(size_t(index + 1));
}

long NthIndex(const std::string& text, char c, long n)
{
    for (size_t i = 0; i < text.size(); i++) {
        if (text[i] == c && n-- == 0)
            return long(i);
    }
    return -1;
}

long LastFromOne(const std::string& text, char c)
{
    size_t at = text.find_last_of(c);
    return at == std::string::npos || at == 0 ? 0 : long(at);
}

void ModelReplaceAll(std::string& text, const std::string& find, const std::string& with)
{
    if (find.empty())
        return;
    if (with.size() < find.size()) {
        for (long at; (at = ModelIndex(text, find)) >= 0;)
            text.replace(size_t(at), find.size(), with);
        return;
    }
    std::string result;
    size_t from = 0;
    for (size_t at; (at = text.find(find, from)) != std::string::npos; from = at + find.size())
        result += text.substr(from, at - from) + with;
    text = result + text.substr(from);
}

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

bool ModelRemoveWord(std::string& text, const std::string& word)
{
    if (word.empty())
        return false;
    for (size_t i = 0; i < text.size();) {
        while (i < text.size() && IsSpace(text[i]))
            i++;
        size_t start = i;
        while (i < text.size() && !IsSpace(text[i]))
            i++;
        if (text.compare(start, i - start, word) != 0)
            continue;
        if (start > 0)
            text.erase(start - 1, i - start + 1);
        else
            text.erase(0, std::min(text.size(), i + 1));
        return true;
    }
    return false;
}

std::string ModelWord(const std::string& text, long n)
{
    long word = 0;
    for (size_t i = 0; i < text.size();) {
        while (i < text.size() && IsSpace(text[i]))
            i++;
        size_t start = i;
        while (i < text.size() && !IsSpace(text[i]))
            i++;
        if (i > start && ++word == n)
            return text.substr(start, i - start);
    }
    return "";
}

} // namespace

TEST(StringModel, QueriesAgreeWithTheModel)
{
    Model random(20240601);
    for (int round = 0; round < 20000; round++) {
        std::string text = random.Text(10);
        std::string other = random.Text(3);
        LibString s(text.c_str());
        char c = random.Char();
        SCOPED_TRACE("text '" + text + "' other '" + other + "' char " + std::to_string(int(c)));

        ASSERT_EQ(s.Index(c), long(text.find(c) == std::string::npos ? -1 : text.find(c)));
        ASSERT_EQ(s.Index(other.c_str()), ModelIndex(text, other));
        ASSERT_EQ(s.Count(c), long(std::count(text.begin(), text.end(), c)));
        ASSERT_EQ(s.Contain(other.c_str(), false), text.find(other) != std::string::npos);
        ASSERT_EQ(s.Contain(c), text.find(c) != std::string::npos);
        size_t any = text.find_first_of(other);
        ASSERT_EQ(s.IndexOfAny(other.c_str()), any == std::string::npos ? -1 : long(any));
        ASSERT_EQ(s.BeginsWith(other.c_str(), false),
            !other.empty() && text.compare(0, other.size(), other) == 0);
        ASSERT_EQ(s.EndsWith(other.c_str(), false),
            other.size() <= text.size()
                && text.compare(text.size() - other.size(), other.size(), other) == 0);
        ASSERT_EQ(s.Compare(other.c_str(), false), SignedCompare(text, other));
        int sub = text.compare(other); // unsigned bytes, like strcmp
        ASSERT_EQ(s.CompareSub(other.c_str(), false, -1, 0), sub < 0 ? -1 : (sub > 0 ? 1 : 0));
        ASSERT_EQ(s.PackSize(), long(text.size()) + 4);

        long n = random.Pick(-1, 4);
        LibString word("old");
        std::string expected = ModelWord(text, n);
        ASSERT_EQ(s.Word(n, word), !expected.empty());
        ASSERT_EQ(std::string(word), expected);

        long from = random.Index(text);
        long to = random.Index(text);
        std::string piece;
        if (from >= 0 && from < long(text.size()) && to >= from)
            piece = text.substr(size_t(from), size_t(to - from + 1));
        ASSERT_EQ(std::string(s.Extract(from, to)), piece) << from << ".." << to;

        char open = random.Char();
        char close = random.Char();
        bool strip = random.Pick(0, 1) == 1;
        std::string section;
        size_t start = text.find(open);
        if (start != std::string::npos) {
            size_t end = text.find(close, start + 1);
            size_t last = end == std::string::npos ? text.size() : end + 1;
            size_t first = start + (strip ? 1 : 0);
            if (strip && end != std::string::npos)
                last--;
            section = text.substr(first, last - first);
        }
        ASSERT_EQ(std::string(s.Extract(open, close, strip)), section);
    }
}

TEST(StringModel, EditsAgreeWithTheModel)
{
    Model random(77);
    for (int run = 0; run < 3000; run++) {
        std::string text = random.Text(12);
        long capacity = long(text.size()) + 1;
        LibString s(text.c_str());
        for (int step = 0; step < 12; step++) {
            const std::string before = text;
            char c = random.Char();
            char d = random.Char();
            long a = random.Index(text);
            long b = random.Index(text);
            std::string find = random.Text(3);
            std::string with = random.Text(4);
            int op = random.Pick(0, 24);
            switch (op) {
            case 0:
                s.FromIndex(a);
                ModelFromIndex(text, a);
                break;
            case 1:
                s.ToIndex(a);
                ModelToIndex(text, a);
                break;
            case 2: {
                long n = random.Pick(-1, 3);
                long at = NthIndex(text, c, n);
                int offset = int(b % 1000);
                ASSERT_EQ(s.FromChar(c, n, offset), at >= 0);
                if (at >= 0)
                    ModelFromIndex(text, at + offset);
                break;
            }
            case 3: {
                long n = random.Pick(-1, 3);
                long at = NthIndex(text, c, n);
                int offset = int(b % 1000);
                bool inside = at >= 0 && at + offset >= 0 && at + offset <= long(text.size());
                ASSERT_EQ(s.ToChar(c, n, offset), inside);
                if (inside)
                    text.resize(size_t(at + offset));
                break;
            }
            case 4:
                s.FromLast(c, b);
                if (!text.empty())
                    ModelFromIndex(text, LastFromOne(text, c) + b);
                break;
            case 5:
                s.ToLast(c, b);
                ModelToIndex(text, LastFromOne(text, c) + b);
                break;
            case 6:
                s.Remove(a, b);
                if (a >= 0 && a <= long(text.size()) && b >= a)
                    text.erase(size_t(a), size_t(b - a + 1));
                break;
            case 7:
                s.RemoveChar(a);
                if (a >= 0 && a < long(text.size()))
                    text.erase(size_t(a), 1);
                break;
            case 8:
                s.ShiftFrom(a, b);
                if (a >= 0 && a <= b && b <= long(text.size()))
                    text.erase(size_t(a), size_t(b - a));
                break;
            case 9: {
                long at = ModelIndex(text, find);
                ASSERT_EQ(s.Replace(find.c_str(), with.c_str()), at);
                if (at >= 0)
                    text.replace(size_t(at), find.size(), with);
                break;
            }
            case 10:
                s.ReplaceAll(find.c_str(), with.c_str());
                ModelReplaceAll(text, find, with);
                break;
            case 11:
                s.SwapChar(c, d);
                std::replace(text.begin(), text.end(), c, d);
                break;
            case 12:
                s.RemoveAllChar(c);
                text.erase(std::remove(text.begin(), text.end(), c), text.end());
                break;
            case 13:
                s.RemoveRepeatingChar(c);
                text.erase(std::unique(text.begin(), text.end(),
                               [c](char x, char y) { return x == c && y == c; }),
                    text.end());
                break;
            case 14: {
                std::string word = random.Pick(0, 2) == 0 ? find : ModelWord(text, 1);
                ASSERT_EQ(s.RemoveWord(word.c_str()), ModelRemoveWord(text, word));
                break;
            }
            case 15:
                s.StripLeadingChar(c);
                text.erase(0, std::min(text.size(), text.find_first_not_of(c)));
                break;
            case 16:
                s.StripTrailingChar(c);
                text.erase(text.find_last_not_of(c) + 1);
                break;
            case 17:
                s.StripAllSpaces();
                text.erase(std::remove_if(text.begin(), text.end(), IsSpace), text.end());
                break;
            case 18: {
                int at = int(a % 1000);
                s.Insert(at, with.c_str());
                if (text.empty() || at == -1)
                    text.insert(0, with);
                else if (at >= long(text.size()))
                    text += with;
                else if (at >= 0)
                    text.insert(size_t(at + 1), with);
                break;
            }
            case 19:
                s.PrePend(with.c_str());
                text.insert(0, with);
                break;
            case 20:
                s.Concat(with.c_str());
                text += with;
                break;
            case 21:
                s.Concat(c);
                text += c;
                break;
            case 22:
                s.ToUpperCase();
                for (char& x : text)
                    x = x >= 'a' && x <= 'z' ? char(x - 32) : x;
                break;
            case 23:
                s.CharFromIndex(a);
                break; // checked against the byte model only when it cannot move
            case 24:
                s = with.c_str();
                text = with;
                capacity = long(text.size()) + 1;
                break;
            }
            if (op == 23) {
                // Character stepping: keep the model in step with the result.
                text = std::string(s);
            }
            if (long(text.size()) >= capacity)
                capacity = long(text.size()) + 1;
            ASSERT_EQ(std::string(s), text)
                << "op " << op << " on '" << before << "' a " << a << " b " << b << " find '"
                << find << "' with '" << with << "'";
            ASSERT_EQ(s.Capacity(), capacity) << "op " << op << " on '" << before << "'";
        }
    }
}
