// LibString: comparing, searching, words, wild cards, extraction and UTF-8.
#include "LibString.h"

#include <gtest/gtest.h>

#include <string>

TEST(StringCompare, OrderAndCase)
{
    EXPECT_EQ(LibString("abc").Compare("", false), 1);
    EXPECT_EQ(LibString("").Compare("", false), 0);
    EXPECT_EQ(LibString("abc").Compare(nullptr, false), 1);
    EXPECT_EQ(LibString("").Compare(nullptr, true), 1);
    EXPECT_EQ(LibString("\xC3\xA9").Compare("a", false), -1); // é before a: signed bytes
    EXPECT_EQ(LibString("a").Compare("\xC3\xA9", false), 1);
    EXPECT_EQ(LibString("ab").Compare("abc", false), -1);
    EXPECT_EQ(LibString("abc").Compare("ab\xC3", false), 1); // a prefix still sorts first
    EXPECT_EQ(LibString("abd").Compare("abc", false), 1);
    EXPECT_EQ(LibString("HeLLo").Compare("hello", true), 0);
    EXPECT_EQ(LibString("HeLLo").Compare("hello", false), -1);
    EXPECT_EQ(LibString("abc").Compare(LibString("abd"), false), -1);

    // CompareSub compares as strcmp/strncmp do: unsigned bytes.
    LibString path("/boot/home/Docs");
    EXPECT_EQ(path.CompareSub("home", false, 4, 6), 0);
    EXPECT_EQ(path.CompareSub("home", false, -1, 6), 1);
    EXPECT_EQ(path.CompareSub("HOME/DOCS", true, -1, 6), 0);
    EXPECT_EQ(path.CompareSub("HOMF", true, 4, 6), -1);
    EXPECT_EQ(path.CompareSub("/boot", false, 5, 0), 0);
    EXPECT_EQ(LibString("\xC3\xA9").CompareSub("a", false, -1, 0), 1);
    EXPECT_EQ(path.CompareSub(nullptr, false, -1, 0), 1);
    // A start outside the text compares the empty text.
    EXPECT_EQ(path.CompareSub("", false, -1, 99), 0);
    EXPECT_EQ(path.CompareSub("x", false, -1, -4), -1);
}

TEST(StringCompare, ContainBeginsEnds)
{
    EXPECT_TRUE(LibString("xaab").Contain("AB", true));
    EXPECT_FALSE(LibString("xaab").Contain("AB", false));
    EXPECT_TRUE(LibString("abc").Contain("", false));
    EXPECT_FALSE(LibString("abc").Contain(static_cast<const char*>(nullptr), false));
    // Bytes from 0x80 on are not folded.
    EXPECT_TRUE(LibString("caf\xC3\xA9").Contain("F\xC3\xA9", true));
    EXPECT_FALSE(LibString("caf\xC3\xA9").Contain("F\xC3\x89", true));
    EXPECT_TRUE(LibString("abc").Contain('c'));
    EXPECT_FALSE(LibString("abc").Contain('\0'));

    LibString s("Makefile");
    EXPECT_FALSE(s.BeginsWith(""));
    EXPECT_TRUE(s.EndsWith(""));
    EXPECT_TRUE(s.BeginsWith("make", true));
    EXPECT_FALSE(s.BeginsWith("make", false));
    EXPECT_FALSE(s.BeginsWith("Makefile2"));
    EXPECT_TRUE(s.BeginsWith("Makefile"));
    EXPECT_TRUE(s.EndsWith("FILE", true));
    EXPECT_FALSE(s.EndsWith("FILE", false));
    EXPECT_FALSE(s.EndsWith("xMakefile"));
    EXPECT_TRUE(s.EndsWith(LibString("file")));
    EXPECT_FALSE(s.EndsWith(static_cast<const char*>(nullptr)));

    EXPECT_TRUE(LibString(" \t\n").IsBlank());
    EXPECT_TRUE(LibString("").IsBlank());
    EXPECT_FALSE(LibString(" x ").IsBlank());
}

TEST(StringCompare, WildCards)
{
    LibString s;
    EXPECT_TRUE(s.CompareWildCard("readme.txt", "*.txt"));
    EXPECT_FALSE(s.CompareWildCard("readme.txt", "*.TXT"));
    EXPECT_TRUE(s.CompareWildCard("a.b.c", "*.c"));
    EXPECT_TRUE(s.CompareWildCard("abc", "a?c"));
    EXPECT_FALSE(s.CompareWildCard("ac", "a?c"));
    EXPECT_FALSE(s.CompareWildCard("ab", "ab?")); // ? never matches the end
    EXPECT_TRUE(s.CompareWildCard("", "*"));
    EXPECT_TRUE(s.CompareWildCard("", "***"));
    EXPECT_FALSE(s.CompareWildCard("", "?"));
    EXPECT_TRUE(s.CompareWildCard("", ""));
    EXPECT_FALSE(s.CompareWildCard("a", ""));
    EXPECT_TRUE(s.CompareWildCard("abcabd", "*ab?"));
    EXPECT_TRUE(s.CompareWildCard("xyz", "*?"));
    EXPECT_FALSE(s.CompareWildCard("", "*?"));
    EXPECT_TRUE(s.CompareWildCard("aXbYc", "a**b*c"));
    EXPECT_FALSE(s.CompareWildCard("aXbYcd", "a*b*c"));
    EXPECT_TRUE(s.CompareWildCard("\xC3\xA9t\xC3\xA9", "??t*"));
    EXPECT_FALSE(s.CompareWildCard(nullptr, "*"));
    EXPECT_FALSE(s.CompareWildCard("x", nullptr));
    EXPECT_TRUE(LibString("lib.so.1").IsWildCard("lib*.so*"));
    EXPECT_FALSE(LibString("lib.so.1").IsWildCard(LibString("lib*.a")));
    // A pattern that backtracks heavily still answers at once.
    std::string text(3000, 'a');
    EXPECT_FALSE(s.CompareWildCard(text.c_str(), "*a*a*a*a*a*a*a*a*a*a*b"));
}

TEST(StringSearch, IndexesAndCounts)
{
    LibString s("abcabc");
    EXPECT_EQ(s.Index('c'), 2);
    EXPECT_EQ(s.Index('z'), -1);
    EXPECT_EQ(s.Index('\0'), -1);
    EXPECT_EQ(s.Index("ca"), 2);
    EXPECT_EQ(s.Index("abcabcd"), -1);
    EXPECT_EQ(s.Index(""), 0);
    EXPECT_EQ(LibString("").Index(""), -1);
    EXPECT_EQ(s.Index(LibString("bc")), 1);
    EXPECT_EQ(s.Index(static_cast<const char*>(nullptr)), -1);
    EXPECT_EQ(s.IndexOfAny("xc"), 2);
    EXPECT_EQ(s.IndexOfAny(""), -1);
    EXPECT_EQ(s.Count('a'), 2);
    EXPECT_EQ(s.PackSize(), 10);
}

TEST(StringSearch, Words)
{
    LibString s("  one two  three");
    LibString out("old");
    EXPECT_EQ(s.Words(), 3);
    EXPECT_TRUE(s.Word(2, out));
    EXPECT_STREQ(out, "two");
    EXPECT_TRUE(s.Word(3, out));
    EXPECT_STREQ(out, "three");
    EXPECT_FALSE(s.Word(4, out));
    EXPECT_STREQ(out, "");
    out = "old";
    EXPECT_FALSE(s.Word(0, out));
    EXPECT_STREQ(out, "");
    EXPECT_FALSE(s.Word(-1, out));
    EXPECT_EQ(LibString(" \t ").Words(), 0);
    EXPECT_TRUE(s.Word(1, s)); // into itself
    EXPECT_STREQ(s, "one");
}

TEST(StringSearch, Extract)
{
    LibString s("x(a)y(b)");
    EXPECT_STREQ(s.Extract('(', ')', false), "(a)");
    EXPECT_STREQ(s.Extract('(', ')', true), "a");
    EXPECT_STREQ(LibString("x(ab").Extract('(', ')', false), "(ab");
    EXPECT_STREQ(LibString("x(ab").Extract('(', ')', true), "ab");
    EXPECT_STREQ(LibString("xab").Extract('(', ')', false), "");
    EXPECT_STREQ(LibString("a'q'b").Extract('\'', '\'', true), "q");
    EXPECT_STREQ(LibString("a''").Extract('\'', '\'', true), "");
    EXPECT_STREQ(LibString("a(").Extract('(', ')', true), "");

    LibString t("abcdef");
    EXPECT_STREQ(t.Extract(1L, 3L), "bcd");
    EXPECT_STREQ(t.Extract(0L, 0L), "a");
    EXPECT_STREQ(t.Extract(4L, 99L), "ef"); // past the end: to the end
    EXPECT_STREQ(t.Extract(-1L, 2L), "");
    EXPECT_STREQ(t.Extract(6L, 7L), "");
    EXPECT_STREQ(t.Extract(3L, 2L), "");
    EXPECT_EQ(t.Extract(1L, 3L).Capacity(), 4);
}

TEST(StringUtf8, CharacterAwareOperations)
{
    const char* text = "a\xC3\xA9\xE2\x82\xAC"; // a, é, €
    EXPECT_EQ(LibString(text).CharCount(), 3);
    EXPECT_EQ(LibString("").CharCount(), 0);
    LibString s(text);
    s.CharToIndex(1);
    EXPECT_STREQ(s, "a\xC3\xA9");
    s = text;
    s.CharFromIndex(2);
    EXPECT_STREQ(s, "\xE2\x82\xAC");
    for (long n : {-1L, 3L, 10L}) {
        s = text;
        s.CharFromIndex(n);
        EXPECT_STREQ(s, text);
        s.CharToIndex(n);
        EXPECT_STREQ(s, text);
    }
    s = text;
    s.CharFromIndex(0);
    EXPECT_STREQ(s, text);

    // A stray continuation byte starts a two-byte character; a lead byte
    // near the end never steps past the terminator.
    EXPECT_EQ(LibString("\x80x").CharCount(), 1);
    EXPECT_EQ(LibString("ab\xF0").CharCount(), 3);
    s = "ab\xF0";
    s.CharToIndex(2);
    EXPECT_STREQ(s, "ab\xF0");
    s.CharToIndex(1);
    EXPECT_STREQ(s, "ab");
    s = "ab\xF0";
    s.CharFromIndex(3);
    EXPECT_STREQ(s, "ab\xF0");
    s.CharFromIndex(2);
    EXPECT_STREQ(s, "\xF0");

    EXPECT_EQ(lib_utf8_char_length(0x41), 1);
    EXPECT_EQ(lib_utf8_char_length(0xBF), 2);
    EXPECT_EQ(lib_utf8_char_length(0xDF), 2);
    EXPECT_EQ(lib_utf8_char_length(0xE0), 3);
    EXPECT_EQ(lib_utf8_char_length(0xF7), 4);
    EXPECT_EQ(lib_utf8_char_length(0xFF), 8);
}

TEST(StringUtf8, NextCharacter)
{
    LibString s;
    const char* text = "a\xE2\x82\xAC\xC3";
    long long offset = 0;
    unsigned long bytes = 99;
    s.NextCharacter(text, offset, bytes);
    EXPECT_EQ(offset, 1);
    EXPECT_EQ(bytes, 1UL);
    s.NextCharacter(text, offset, bytes);
    EXPECT_EQ(offset, 4);
    EXPECT_EQ(bytes, 3UL);
    s.NextCharacter(text, offset, bytes); // cut short by the terminator
    EXPECT_EQ(offset, 5);
    EXPECT_EQ(bytes, 1UL);
    s.NextCharacter(text, offset, bytes); // at the terminator
    EXPECT_EQ(offset, 5);
    EXPECT_EQ(bytes, 0UL);
    offset = 50;
    s.NextCharacter(text, offset, bytes);
    EXPECT_EQ(offset, 50);
    bytes = 7;
    offset = -1;
    s.NextCharacter(text, offset, bytes);
    s.NextCharacter(nullptr, offset, bytes);
    EXPECT_EQ(offset, -1);
    EXPECT_EQ(bytes, 7UL);
}
