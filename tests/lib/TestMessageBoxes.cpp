// Message boxes (text cut on a character's start, the alert they ask),
// rectangles and the named colours.
#include "AlertService.h"
#include "LibColors.h"
#include "LibMessageBox.h"
#include "LibRect.h"
#include "ScriptedPresenter.h"

#include <gtest/gtest.h>
#include <sstream>

using stowtest::ScopedPresenter;

namespace {

LibString Text(const char* format, ...) __attribute__((format(printf, 1, 2)));
LibString Text(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    LibString text = lib_message_box_text(format, args);
    va_end(args);
    return text;
}

} // namespace

TEST(MessageBoxText, FormatsAndCutsAtACharactersStart)
{
    EXPECT_STREQ(Text("%s has %d files", "Data", 3), "Data has 3 files");
    EXPECT_STREQ(Text(nullptr), "");

    std::string ascii(1023, 'a');
    EXPECT_EQ(Text("%s", ascii.c_str()).Length(), 1023);
    EXPECT_EQ(Text("%sb", ascii.c_str()).Length(), 1023);

    // "é" is two bytes: at 1022 + 2 it would end past the room, so it goes.
    std::string split(1022, 'a');
    LibString cut = Text("%s\xC3\xA9zzz", split.c_str());
    EXPECT_EQ(cut.Length(), 1022);
    // A four-byte character ending exactly at 1023 stays whole.
    std::string fits(1019, 'a');
    LibString whole = Text("%s\xF0\x9F\x98\x80zzz", fits.c_str());
    EXPECT_EQ(whole.Length(), 1023);
    EXPECT_TRUE(whole.EndsWith("\xF0\x9F\x98\x80"));
    // Far longer texts never overflow.
    std::string huge(100000, 'x');
    EXPECT_EQ(Text("%s%s", huge.c_str(), huge.c_str()).Length(), 1023);
}

TEST(MessageBoxes, AskAnOkAlertOfTheirKind)
{
    ScopedPresenter scope;
    scope.presenter->reply = {0, false};
    EXPECT_EQ(LibError("Unable to create '%s'.", "/x"), 0);
    EXPECT_EQ(LibWarning("w"), 0);
    EXPECT_EQ(LibInfo("i"), 0);
    LibInfoNoWait("later %d", 1);
    auto& asked = scope.presenter->asked;
    ASSERT_EQ(asked.size(), 3u);
    EXPECT_EQ(asked[0].text, "Unable to create '/x'.");
    EXPECT_EQ(asked[0].title, "");
    EXPECT_EQ(asked[0].buttons, std::vector<std::string> {"OK"});
    EXPECT_EQ(asked[0].shortcuts, std::vector<char> {'O'});
    EXPECT_EQ(asked[0].purpose, kMessageBoxPurpose);
    EXPECT_EQ(asked[0].type, B_STOP_ALERT);
    EXPECT_EQ(asked[1].type, B_WARNING_ALERT);
    EXPECT_EQ(asked[2].type, B_INFO_ALERT);
    ASSERT_EQ(scope.presenter->shown.size(), 1u);
    EXPECT_EQ(scope.presenter->shown[0].text, "later 1");
}

TEST(Rectangles, FromASizeAndAgainstEveryEdge)
{
    EXPECT_EQ(LibRect(10, 20, 100, 50), BRect(10, 20, 110, 70));

    BRect ref(100, 200, 300, 400);
    struct Case {
        Edge reference;
        Edge align;
        float left;
        float top;
    } cases[] = {
        {kTopEdge, kTopEdge, 100, 205},
        {kTopEdge, kBottomEdge, 100, 175},
        {kBottomEdge, kTopEdge, 100, 405},
        {kBottomEdge, kBottomEdge, 100, 375},
        {kLeftEdge, kLeftEdge, 105, 200},
        {kLeftEdge, kRightEdge, 65, 200},
        {kRightEdge, kLeftEdge, 305, 200},
        {kRightEdge, kRightEdge, 265, 200},
        {kTopEdge, kLeftEdge, 0, 0},
        {kRightEdge, kBottomEdge, 0, 0},
        {Edge(9), kTopEdge, 0, 0},
    };
    for (const Case& c : cases) {
        BRect rect = LibLayoutRect(ref, c.reference, c.align, 5, 40, 30);
        EXPECT_EQ(rect, BRect(c.left, c.top, c.left + 40, c.top + 30))
            << c.reference << "/" << c.align;
    }
}

TEST(Colours, BothNamesAndComparison)
{
    EXPECT_TRUE(lib_is_same_color(O_AQUA_COLOR, rgb_color {51, 203, 255, 255}));
    EXPECT_TRUE(lib_is_same_color(grey160_color, O_MEDIUM_GREY_COLOR));
    EXPECT_TRUE(lib_is_same_color(pale_yellow_color, rgb_color {255, 255, 203, 255}));
    EXPECT_TRUE(lib_is_same_color(dark_green_color, rgb_color {97, 130, 109, 255}));
    EXPECT_FALSE(lib_is_same_color(O_WHITE_COLOR, rgb_color {255, 255, 255, 254}));
    EXPECT_FALSE(lib_is_same_color(O_RED_COLOR, O_ORANGE_COLOR));
}
