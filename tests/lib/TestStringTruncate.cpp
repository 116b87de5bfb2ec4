// LibString::Truncate with a fixed-width font of 10 pixels a character.
#include "BFont.h"
#include "BRect.h"
#include "LibString.h"

#include <gtest/gtest.h>

namespace {

struct Truncated {
    std::string text;
    int32 cut;
    BRect rect;
};

Truncated Truncate(const char* text, int width)
{
    BFont font;
    font.SetFixedAdvance(10);
    LibString s(text);
    BRect rect(-7, -7, -7, -7);
    int32 cut = s.Truncate(font, width, rect);
    return {std::string(static_cast<const char*>(s) ? static_cast<const char*>(s) : "(none)"), cut,
        rect};
}

} // namespace

TEST(StringTruncate, TextThatFitsIsLeftAlone)
{
    Truncated fits = Truncate("abc", 31);
    EXPECT_EQ(fits.text, "abc");
    EXPECT_EQ(fits.cut, 3); // the length
    EXPECT_EQ(fits.rect, BRect(-7, -7, -7, -7));
    EXPECT_EQ(Truncate("", 0).cut, 0);
    EXPECT_EQ(Truncate(nullptr, 0).text, "(none)");
}

TEST(StringTruncate, ShortensWithThreeFullStops)
{
    Truncated t = Truncate("abcdef", 60); // 60 is not below 60
    EXPECT_EQ(t.text, "ab...");
    EXPECT_EQ(t.cut, 4);
    EXPECT_EQ(t.rect.left, 0);
    EXPECT_EQ(t.rect.right, 20);

    Truncated narrow = Truncate("abcdef", 5); // stops with one character left
    EXPECT_EQ(narrow.text, "a...");
    EXPECT_EQ(narrow.cut, 5);
    EXPECT_EQ(narrow.rect.right, 10);

    Truncated single = Truncate("W", 1); // nothing shorter to try
    EXPECT_EQ(single.text, "W");
    EXPECT_EQ(single.cut, 0);
    EXPECT_EQ(single.rect.right, 10);
}

TEST(StringTruncate, CutsBetweenWholeCharacters)
{
    const char* text = "a\xC3\xA9\xE2\x82\xAC"
                       "bcd"; // a, é, €, b, c, d: 9 bytes, 60 pixels
    Truncated t = Truncate(text, 51);
    EXPECT_EQ(t.text, "a\xC3\xA9...");
    EXPECT_EQ(t.cut, 6);
    EXPECT_EQ(t.rect.right, 20);
    Truncated narrow = Truncate(text, 40);
    EXPECT_EQ(narrow.text, "a...");
    EXPECT_EQ(narrow.cut, 8);
}
