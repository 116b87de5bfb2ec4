// LibString: storage sizing, assignment, number texts and appending.
#include "LibString.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>

TEST(StringStorage, ConstructionStates)
{
    LibString empty;
    EXPECT_STREQ(empty, "");
    EXPECT_EQ(empty.Capacity(), 1);

    LibString sized(10L);
    EXPECT_STREQ(sized, "");
    EXPECT_EQ(sized.Capacity(), 11);

    LibString none(nullptr);
    EXPECT_EQ(static_cast<const char*>(none), nullptr);
    EXPECT_EQ(none.Capacity(), 0);
    none = "text";
    EXPECT_STREQ(none, "text");
    EXPECT_EQ(none.Capacity(), 5);
}

TEST(StringStorage, AssignmentSizesExactlyAndCopiesCapacity)
{
    LibString s(100L);
    s = "ab"; // reallocated even though the old buffer was large enough
    EXPECT_EQ(s.Capacity(), 3);

    LibString big(50L);
    big.Concat("xy");
    LibString copy;
    copy = big; // takes the other's capacity, not its length
    EXPECT_STREQ(copy, "xy");
    EXPECT_EQ(copy.Capacity(), 51);
    LibString constructed(big);
    EXPECT_EQ(constructed.Capacity(), 51);

    const char* before = copy;
    LibString& alias = copy;
    copy = alias;
    EXPECT_EQ(static_cast<const char*>(copy), before);
    copy = static_cast<const char*>(nullptr);
    EXPECT_STREQ(copy, "xy");

    LibString none(nullptr);
    copy = none;
    EXPECT_EQ(static_cast<const char*>(copy), nullptr);

    // Assigning a piece of the string's own text.
    LibString self("hello world");
    self = static_cast<const char*>(self) + 6;
    EXPECT_STREQ(self, "world");
}

TEST(StringStorage, ConcatGrowsOnlyWhenFullAndThenExactly)
{
    LibString s(5L);
    s.Concat("abc");
    EXPECT_EQ(s.Capacity(), 6);
    s.Concat("de"); // length 5 < capacity 6: in place
    EXPECT_EQ(s.Capacity(), 6);
    EXPECT_STREQ(s, "abcde");
    s.Concat('f'); // 6 >= 6: exactly 7 bytes
    EXPECT_EQ(s.Capacity(), 7);
    s.Concat('g');
    EXPECT_EQ(s.Capacity(), 8);
    EXPECT_STREQ(s, "abcdefg");
    s.ToIndex(1); // shortening keeps the memory
    EXPECT_EQ(s.Capacity(), 8);
    s.Concat('\0');
    s.Concat(static_cast<const char*>(nullptr));
    EXPECT_STREQ(s, "ab");

    LibString own("ab");
    own.Concat(own); // appending itself while the buffer moves
    EXPECT_STREQ(own, "abab");
    own.PrePend(static_cast<const char*>(own) + 2);
    EXPECT_STREQ(own, "ababab");
}

TEST(StringStorage, SetBufferAndClear)
{
    LibString s("text");
    char* buffer = s.SetBuffer(20);
    EXPECT_EQ(buffer, static_cast<const char*>(s));
    EXPECT_STREQ(s, "");
    EXPECT_EQ(s.Capacity(), 21);
    s.SetBuffer(-5);
    EXPECT_EQ(s.Capacity(), 1);
    s.Clear();
    EXPECT_EQ(static_cast<const char*>(s), nullptr);
    EXPECT_EQ(s.Capacity(), 0);
}

TEST(StringNumbers, AssignmentTexts)
{
    LibString s;
    s.SetHex(10);
    EXPECT_STREQ(s, "0A");
    s.SetHex(255);
    EXPECT_STREQ(s, "FF");
    s.SetHex(0);
    EXPECT_STREQ(s, "00");
    s = 3.0;
    EXPECT_STREQ(s, "3.000000");
    s = 0.5f;
    EXPECT_STREQ(s, "0.500000");
    s = -2147483648L;
    EXPECT_STREQ(s, "-2147483648");
    EXPECT_EQ(s.Capacity(), 12);
    s = 42;
    EXPECT_STREQ(s, "42");
    s.SetFloat64(2.0 / 3.0, 2);
    EXPECT_STREQ(s, "0.67");
    s.SetFloat32(1.25f, 1);
    EXPECT_STREQ(s, "1.2");
    s.SetFloat64(1e300, 0); // far longer than any fixed work area
    EXPECT_EQ(s.Length(), 301);
    EXPECT_EQ(s.Capacity(), 302);

    LibString joined("n=");
    joined += 7L;
    joined += -1;
    joined += 1.5;
    EXPECT_STREQ(joined, "n=7-11.500000");
}

TEST(StringNumbers, ParsingFollowsTheNumberRule)
{
    long value = 99;
    EXPECT_TRUE(LibString("12.7").GetInt32(value));
    EXPECT_EQ(value, 12);
    EXPECT_FALSE(LibString(" 12").GetInt32(value));
    EXPECT_EQ(value, 0);
    EXPECT_FALSE(LibString("+-1").GetInt32(value));
    EXPECT_FALSE(LibString("1-2").GetInt32(value));
    EXPECT_FALSE(LibString("1.2.3").GetInt32(value));
    EXPECT_FALSE(LibString("12 ").GetInt32(value));
    value = 5;
    EXPECT_TRUE(LibString("").GetInt32(value));
    EXPECT_EQ(value, 0);
    EXPECT_TRUE(LibString("-42").GetInt32(value));
    EXPECT_EQ(value, -42);
    EXPECT_TRUE(LibString(nullptr).GetInt32(value));
    EXPECT_EQ(value, 0);

    unsigned char u8 = 1;
    EXPECT_TRUE(LibString("300").GetUint8(u8));
    EXPECT_EQ(u8, 44);
    signed char s8 = 0;
    EXPECT_TRUE(LibString("200").GetInt8(s8));
    EXPECT_EQ(s8, -56);
    unsigned short u16 = 0;
    EXPECT_TRUE(LibString("-1").GetUint16(u16));
    EXPECT_EQ(u16, 0xFFFF);
    short s16 = 0;
    EXPECT_TRUE(LibString("70000").GetInt16(s16));
    EXPECT_EQ(s16, 4464);

    unsigned long u32 = 0;
    EXPECT_TRUE(LibString("-1").GetUint32(u32));
    EXPECT_EQ(u32, 0xFFFFFFFFUL);
    EXPECT_TRUE(LibString("4294967297").GetInt32(value)); // low 32 bits only
    EXPECT_EQ(value, 1);
    int32 narrow = 0;
    EXPECT_TRUE(LibString("2147483648").GetInt32(narrow));
    EXPECT_EQ(narrow, INT32_MIN);

    double d = 1;
    EXPECT_TRUE(LibString("-.5").GetFloat64(d));
    EXPECT_EQ(d, -0.5);
    EXPECT_FALSE(LibString("1e5").GetFloat64(d));
    EXPECT_EQ(d, 0);
    float f = 1;
    EXPECT_FALSE(LibString("nan").GetFloat32(f));
    EXPECT_EQ(f, 0);
    EXPECT_TRUE(LibString("2.25").GetFloat32(f));
    EXPECT_EQ(f, 2.25f);

    EXPECT_TRUE(LibString("").IsNumeric());
    EXPECT_TRUE(LibString("+3.").IsNumeric());
    EXPECT_FALSE(LibString("3+").IsNumeric());
    EXPECT_FALSE(LibString("\xC3\xA9").IsNumeric());
}

TEST(StringNumbers, HexDigits)
{
    EXPECT_EQ(LibString("fF").GetHex(), 255);
    EXPECT_EQ(LibString("F").GetHex(), 0);
    EXPECT_EQ(LibString("G1").GetHex(), 1);
    EXPECT_EQ(LibString("0a0").GetHex(), 0);
    EXPECT_EQ(LibString(nullptr).GetHex(), 0);
    LibString s;
    EXPECT_EQ(s.HexValue('7'), 7);
    EXPECT_EQ(s.HexValue('c'), 12);
    EXPECT_EQ(s.HexValue('z'), 0);
    EXPECT_EQ(s.HexValue('\xFF'), 0);
}

TEST(StringFormatting, FormattedIsCutAt511)
{
    LibString s;
    s.Formatted("%s-%d", "a", 5);
    EXPECT_STREQ(s, "a-5");
    std::string longText(2000, 'x');
    s.Formatted("%s%s", longText.c_str(), "tail");
    EXPECT_EQ(s.Length(), 511);
    EXPECT_EQ(s.Capacity(), 512);
    EXPECT_EQ(std::string(s), std::string(511, 'x'));
    s.Formatted(nullptr);
    EXPECT_EQ(s.Length(), 511);
}

TEST(StringFormatting, ReadAppendsTheFile)
{
    stowtest::TempDir dir;
    std::string text = "first line\nsecond, a longer line\n\nlast without newline";
    stowtest::WriteFile(dir / "f.txt", text);
    for (long lineSize : {-3L, 0L, 1L, 2L, 5L, 4096L}) {
        LibString s("> ");
        s.Read((dir / "f.txt").c_str(), lineSize);
        EXPECT_EQ(std::string(s), "> " + text) << lineSize;
    }
    LibString untouched("keep");
    untouched.Read((dir / "missing").c_str(), 100);
    untouched.Read(nullptr, 100);
    EXPECT_STREQ(untouched, "keep");
    LibString none(nullptr);
    none.Read((dir / "f.txt").c_str(), 8);
    EXPECT_EQ(std::string(none), text);
}

TEST(StringEditing, InsertAndPrePend)
{
    auto inserted = [](const char* text, int index, const char* what) {
        LibString s(text);
        s.Insert(index, what);
        return std::string(s);
    };
    EXPECT_EQ(inserted("abc", -1, "x"), "xabc");
    EXPECT_EQ(inserted("abc", 0, "x"), "axbc");
    EXPECT_EQ(inserted("abc", 2, "x"), "abcx");
    EXPECT_EQ(inserted("abc", 5, "x"), "abcx");
    EXPECT_EQ(inserted("abc", -2, "x"), "abc");
    EXPECT_EQ(inserted("", 7, "x"), "x");
    EXPECT_EQ(inserted("", -9, "x"), "x");
    EXPECT_EQ(inserted("abc", 0, nullptr), "abc");

    LibString s("tail");
    s.PrePend("head ");
    EXPECT_STREQ(s, "head tail");
    EXPECT_EQ(s.Capacity(), 10);
    LibString none(nullptr);
    none.Insert(3, "x");
    EXPECT_STREQ(none, "x");
}

TEST(StringStorage, NoStorageReadsAsEmptyEverywhere)
{
    LibString s(nullptr);
    LibString out("x");
    EXPECT_EQ(s.Length(), 0);
    EXPECT_EQ(s.Compare(""), 0);
    EXPECT_EQ(s.Compare("a"), -1);
    EXPECT_EQ(s.CompareSub("", true, 3, 2), 0);
    EXPECT_TRUE(s.Contain(""));
    EXPECT_FALSE(s.Contain('a'));
    EXPECT_FALSE(s.BeginsWith("a"));
    EXPECT_TRUE(s.EndsWith(""));
    EXPECT_TRUE(s.IsBlank());
    EXPECT_TRUE(s.IsWildCard("*"));
    EXPECT_EQ(s.Index('a'), -1);
    EXPECT_EQ(s.Index(""), -1);
    EXPECT_EQ(s.IndexOfAny("ab"), -1);
    EXPECT_EQ(s.Count('a'), 0);
    EXPECT_EQ(s.Words(), 0);
    EXPECT_FALSE(s.Word(1, out));
    EXPECT_EQ(s.CharCount(), 0);
    EXPECT_EQ(s.PackSize(), 4);
    EXPECT_STREQ(s.Extract(0L, 3L), "");
    EXPECT_STREQ(s.Extract('(', ')', true), "");
    s.FromIndex(1);
    s.ToIndex(-1);
    EXPECT_FALSE(s.FromChar('a', 0, 0));
    EXPECT_FALSE(s.ToChar('a', 0, 0));
    s.FromLast('/', 1);
    s.ToLast('/', -1);
    s.CharFromIndex(0);
    s.CharToIndex(0);
    s.Remove(0, 3);
    s.RemoveChar(0);
    s.ShiftFrom(0, 0);
    EXPECT_EQ(s.Replace("a", "b"), -1);
    s.ReplaceAll("a", "bb");
    s.ReplaceAll("ab", "b");
    s.SwapChar('a', 'b');
    s.RemoveAllChar('a');
    s.RemoveRepeatingChar('a');
    EXPECT_FALSE(s.RemoveWord("a"));
    s.RemoveAllWords("a");
    s.StripPunct();
    s.StripLeadingChar('a');
    s.StripTrailingChar('a');
    s.StripLeadingSpaces();
    s.StripTrailingSpaces();
    s.StripAllSpaces();
    s.ToLowerCase();
    s.ToUpperCase();
    s.ToProperCase();
    s.PrintToStream();
    s.PrintDecimalToStream();
    EXPECT_EQ(static_cast<const char*>(s), nullptr);
    s.Concat("grown");
    EXPECT_STREQ(s, "grown");
}
