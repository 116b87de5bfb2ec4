// LibString: cutting and editing in place, including indexes out of range.
#include "LibString.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

std::string Edited(const char* text, const std::function<void(LibString&)>& edit)
{
    LibString s(text);
    edit(s);
    return std::string(s);
}

} // namespace

TEST(StringCut, IndexCuts)
{
    EXPECT_EQ(Edited("abcdef", [](LibString& s) { s.FromIndex(2); }), "cdef");
    EXPECT_EQ(Edited("abcdef", [](LibString& s) { s.FromIndex(6); }), "");
    EXPECT_EQ(Edited("abcdef", [](LibString& s) { s.FromIndex(-1); }), "");
    EXPECT_EQ(Edited("abcdef", [](LibString& s) { s.ToIndex(2); }), "abc");
    EXPECT_EQ(Edited("abcdef", [](LibString& s) { s.ToIndex(-1); }), "");
    EXPECT_EQ(Edited("abcdef", [](LibString& s) { s.ToIndex(-2); }), "abcdef");
    EXPECT_EQ(Edited("abcdef", [](LibString& s) { s.ToIndex(6); }), "abcdef");
    EXPECT_EQ(Edited("abcdef", [](LibString& s) { s.ToIndex(5); }), "abcdef");

    EXPECT_EQ(Edited("abcdef", [](LibString& s) { s.Remove(1, 2); }), "adef");
    EXPECT_EQ(Edited("abcdef", [](LibString& s) { s.Remove(2, 99); }), "ab");
    EXPECT_EQ(Edited("abcdef", [](LibString& s) { s.Remove(6, 9); }), "abcdef");
    EXPECT_EQ(Edited("abcdef", [](LibString& s) { s.Remove(7, 9); }), "abcdef");
    EXPECT_EQ(Edited("abcdef", [](LibString& s) { s.Remove(-1, 2); }), "abcdef");
    EXPECT_EQ(Edited("abcdef", [](LibString& s) { s.Remove(3, 1); }), "abcdef");
    EXPECT_EQ(Edited("abcdef", [](LibString& s) { s.RemoveChar(0); }), "bcdef");
    EXPECT_EQ(Edited("abcdef", [](LibString& s) { s.RemoveChar(5); }), "abcde");
    EXPECT_EQ(Edited("abcdef", [](LibString& s) { s.RemoveChar(6); }), "abcdef");
    EXPECT_EQ(Edited("abcdef", [](LibString& s) { s.RemoveChar(-1); }), "abcdef");

    EXPECT_EQ(Edited("abcdef", [](LibString& s) { s.ShiftFrom(1, 3); }), "adef");
    EXPECT_EQ(Edited("abcdef", [](LibString& s) { s.ShiftFrom(0, 6); }), "");
    EXPECT_EQ(Edited("abcdef", [](LibString& s) { s.ShiftFrom(2, 2); }), "abcdef");
    EXPECT_EQ(Edited("abcdef", [](LibString& s) { s.ShiftFrom(3, 1); }), "abcdef");
    EXPECT_EQ(Edited("abcdef", [](LibString& s) { s.ShiftFrom(0, 7); }), "abcdef");
    EXPECT_EQ(Edited("abcdef", [](LibString& s) { s.ShiftFrom(-1, 2); }), "abcdef");

    // Indexes far beyond 32 bits are out of range too.
    EXPECT_EQ(Edited("abc", [](LibString& s) { s.Remove(0x100000001L, 0x100000002L); }), "abc");
    EXPECT_EQ(Edited("abc", [](LibString& s) { s.ToIndex(0x100000000L); }), "abc");
}

TEST(StringCut, CharacterCuts)
{
    bool result = false;
    EXPECT_EQ(Edited("a:b:c", [&](LibString& s) { result = s.FromChar(':', 1, 1); }), "c");
    EXPECT_TRUE(result);
    EXPECT_EQ(Edited("a:b:c", [&](LibString& s) { result = s.FromChar(':', 5, 1); }), "a:b:c");
    EXPECT_FALSE(result);
    EXPECT_EQ(Edited("a:b:c", [&](LibString& s) { result = s.FromChar(':', -1, 1); }), "a:b:c");
    EXPECT_FALSE(result);
    EXPECT_EQ(Edited("a:b:c", [&](LibString& s) { result = s.FromChar(':', 0, 0); }), ":b:c");
    EXPECT_EQ(Edited("a:b:", [&](LibString& s) { result = s.FromChar(':', 1, 1); }), "");
    EXPECT_TRUE(result);
    EXPECT_EQ(Edited("a:b", [&](LibString& s) { result = s.FromChar(':', 0, -5); }), "");

    EXPECT_EQ(Edited("a:b:c", [&](LibString& s) { result = s.ToChar(':', 1, 0); }), "a:b");
    EXPECT_TRUE(result);
    EXPECT_EQ(Edited("a:b:c", [&](LibString& s) { result = s.ToChar(':', 0, 1); }), "a:");
    EXPECT_EQ(Edited("a:b:c", [&](LibString& s) { result = s.ToChar(';', 0, 0); }), "a:b:c");
    EXPECT_FALSE(result);
    // The end would lie outside the text: nothing changes.
    EXPECT_EQ(Edited("a:b:c", [&](LibString& s) { result = s.ToChar(':', 1, 9); }), "a:b:c");
    EXPECT_FALSE(result);
    EXPECT_EQ(Edited("a:b:c", [&](LibString& s) { result = s.ToChar(':', 0, -2); }), "a:b:c");
    EXPECT_FALSE(result);

    EXPECT_EQ(Edited("/boot/home/x", [](LibString& s) { s.ToLast('/', -1); }), "/boot/home");
    EXPECT_EQ(Edited("/boot/home/x", [](LibString& s) { s.FromLast('/', 1); }), "x");
    EXPECT_EQ(Edited("name", [](LibString& s) { s.FromLast('/', 1); }), "ame");
    EXPECT_EQ(Edited("/x", [](LibString& s) { s.FromLast('/', 1); }), "x");
    EXPECT_EQ(Edited("/x", [](LibString& s) { s.ToLast('/', -1); }), "");
    EXPECT_EQ(Edited("a/", [](LibString& s) { s.FromLast('/', 1); }), "");
    EXPECT_EQ(Edited("a/b", [](LibString& s) { s.FromLast('/', -9); }), "");
    EXPECT_EQ(Edited("a/b", [](LibString& s) { s.ToLast('/', -9); }), "a/b");
    EXPECT_EQ(Edited("a/b", [](LibString& s) { s.ToLast('/', 5); }), "a/b");
    EXPECT_EQ(Edited("", [](LibString& s) { s.FromLast('/', 0); }), "");
}

TEST(StringEdit, Replace)
{
    LibString s("abcb");
    EXPECT_EQ(s.Replace("b", "xx"), 1);
    EXPECT_STREQ(s, "axxcb");
    EXPECT_EQ(s.Replace("q", "z"), -1);
    EXPECT_STREQ(s, "axxcb");
    EXPECT_EQ(s.Replace(nullptr, "z"), -1);
    EXPECT_EQ(s.Replace("a", nullptr), -1);
    EXPECT_EQ(s.Replace("axxcb", ""), 0);
    EXPECT_STREQ(s, "");

    EXPECT_EQ(Edited("abb", [](LibString& t) { t.ReplaceAll("ab", "a"); }), "a");
    EXPECT_EQ(Edited("a///b//", [](LibString& t) { t.ReplaceAll("//", "/"); }), "a/b/");
    EXPECT_EQ(Edited("xaaaay", [](LibString& t) { t.ReplaceAll("aa", ""); }), "xy");
    // A `with` holding `find` replaces each original occurrence once.
    EXPECT_EQ(Edited("a.b.c", [](LibString& t) { t.ReplaceAll(".", ".."); }), "a..b..c");
    EXPECT_EQ(Edited("aaa", [](LibString& t) { t.ReplaceAll("a", "aa"); }), "aaaaaa");
    EXPECT_EQ(Edited("abab", [](LibString& t) { t.ReplaceAll("ab", "ba"); }), "baba");
    EXPECT_EQ(Edited("abc", [](LibString& t) { t.ReplaceAll("", "x"); }), "abc");
    EXPECT_EQ(Edited("abc", [](LibString& t) { t.ReplaceAll("b", "b"); }), "abc");
    EXPECT_EQ(Edited("a-b", [](LibString& t) { t.ReplaceAll('-', '+'); }), "a+b");
    EXPECT_EQ(Edited("a-b-", [](LibString& t) { t.SwapChar('-', '_'); }), "a_b_");
    EXPECT_EQ(Edited("a-b", [](LibString& t) { t.SwapChar('-', '\0'); }), "a-b");

    LibString grown(3L);
    grown = "ab";
    grown.ReplaceAll("b", "bbb");
    EXPECT_STREQ(grown, "abbb");
    EXPECT_EQ(grown.Capacity(), 5);
}

TEST(StringEdit, RemovingCharactersAndWords)
{
    EXPECT_EQ(Edited("a//b///c", [](LibString& s) { s.RemoveRepeatingChar('/'); }), "a/b/c");
    EXPECT_EQ(Edited("//", [](LibString& s) { s.RemoveRepeatingChar('/'); }), "/");
    EXPECT_EQ(Edited("banana", [](LibString& s) { s.RemoveAllChar('a'); }), "bnn");

    bool removed = false;
    EXPECT_EQ(Edited("foo bar", [&](LibString& s) { removed = s.RemoveWord("foo"); }), "bar");
    EXPECT_TRUE(removed);
    EXPECT_EQ(Edited("a foo b", [](LibString& s) { s.RemoveWord("foo"); }), "a b");
    EXPECT_EQ(Edited("bar foo", [](LibString& s) { s.RemoveWord("foo"); }), "bar");
    EXPECT_EQ(Edited("foo", [](LibString& s) { s.RemoveWord("foo"); }), "");
    EXPECT_EQ(Edited("food", [&](LibString& s) { removed = s.RemoveWord("foo"); }), "food");
    EXPECT_FALSE(removed);
    EXPECT_EQ(Edited("Foo foo", [](LibString& s) { s.RemoveWord("foo"); }), "Foo");
    EXPECT_EQ(Edited("a  b", [&](LibString& s) { removed = s.RemoveWord(""); }), "a  b");
    EXPECT_FALSE(removed);
    EXPECT_EQ(Edited("x foo foo y foo", [](LibString& s) { s.RemoveAllWords("foo"); }), "x y");
    EXPECT_EQ(Edited("x y", [](LibString& s) { s.RemoveAllWords(""); }), "x y");

    EXPECT_EQ(Edited("a_b.c,d!(e)", [](LibString& s) { s.StripPunct(); }), "a_bcde");
    EXPECT_EQ(Edited("xxaxx", [](LibString& s) { s.StripLeadingChar('x'); }), "axx");
    EXPECT_EQ(Edited("xxaxx", [](LibString& s) { s.StripTrailingChar('x'); }), "xxa");
    EXPECT_EQ(Edited("xxx", [](LibString& s) { s.StripLeadingChar('x'); }), "");
    EXPECT_EQ(Edited(" \t a b \n", [](LibString& s) { s.StripLeadingSpaces(); }), "a b \n");
    EXPECT_EQ(Edited(" \t a b \n", [](LibString& s) { s.StripTrailingSpaces(); }), " \t a b");
    EXPECT_EQ(Edited("   ", [](LibString& s) { s.StripLeadingSpaces(); }), "");
    EXPECT_EQ(Edited("   ", [](LibString& s) { s.StripTrailingSpaces(); }), "");
    EXPECT_EQ(Edited(" a b\tc ", [](LibString& s) { s.StripAllSpaces(); }), "abc");
}

TEST(StringEdit, Case)
{
    EXPECT_EQ(Edited("MiXed \xC3\x89", [](LibString& s) { s.ToLowerCase(); }), "mixed \xC3\x89");
    EXPECT_EQ(Edited("MiXed", [](LibString& s) { s.ToUpperCase(); }), "MIXED");
    auto proper
        = [](const char* text) { return Edited(text, [](LibString& s) { s.ToProperCase(); }); };
    EXPECT_EQ(proper("u.s.a."), "U.S.A.");
    EXPECT_EQ(proper("rock 'n roll"), "Rock 'N Roll");
    EXPECT_EQ(proper("JOHN'S car"), "John's Car");
    EXPECT_EQ(proper("it 's"), "It 's");
    EXPECT_EQ(proper("'tis here"), "'Tis Here");
    EXPECT_EQ(proper("salt&pepper"), "Salt&Pepper");
    EXPECT_EQ(proper("HELLO\tWORLD"), "Hello\tWorld");
    EXPECT_EQ(proper("x.y"), "X.y");
    EXPECT_EQ(proper(""), "");
}
