// BFont: real metrics of the system fonts, the estimate without any font, the
// fixed-width metric, and shortening text to a width.
#include "BFont.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace {

bool HaveSystemFont()
{
    return !be_plain_font->FontFile().empty();
}

BFont FixedFont(float advance)
{
    BFont font;
    font.SetFixedAdvance(advance);
    return font;
}

} // namespace

TEST(Font, SystemFontsMeasureProportionally)
{
    if (!HaveSystemFont())
        GTEST_SKIP() << "no font installed; the estimate is tested separately";
    BFont plain(be_plain_font);
    EXPECT_EQ(plain.Size(), 10);
    EXPECT_FALSE(plain.ResolvedFamily().empty());
    EXPECT_LT(plain.StringWidth("iiiiiiii"), plain.StringWidth("WWWWWWWW"));
    EXPECT_EQ(plain.StringWidth(""), 0);
    EXPECT_EQ(plain.StringWidth(nullptr), 0);
    EXPECT_EQ(plain.StringWidth("abc", -1), 0);
    // Widths add up character by character, and a count measures a front.
    const char* text = "Install \xC3\xA9t\xC3\xA9 \xE2\x82\xAC 100";
    EXPECT_EQ(plain.StringWidth(text), plain.StringWidth("Install ") + plain.StringWidth(text + 8));
    EXPECT_EQ(plain.StringWidth(text, 7), plain.StringWidth("Install"));
    EXPECT_EQ(plain.StringWidth(text, 1000), plain.StringWidth(text));

    BFont large(plain);
    large.SetSize(40);
    float small = plain.StringWidth("Stowfast");
    EXPECT_NEAR(large.StringWidth("Stowfast"), 4 * small, 8 * 2.0f);
    large.SetSize(-3); // refused
    EXPECT_EQ(large.Size(), 40);

    font_height height;
    large.GetHeight(&height);
    EXPECT_GT(height.ascent, 20);
    EXPECT_GT(height.descent, 2);
    EXPECT_LT(height.ascent + height.descent, 80);
    EXPECT_GE(height.leading, 0);

    BFont bold("sans-serif", "Bold", 10);
    if (bold.FontFile() != plain.FontFile()) {
        EXPECT_GT(bold.StringWidth("WWWWWWWW"), plain.StringWidth("WWWWWWWW") - 1);
    }
    font_family family;
    font_style style;
    be_bold_font->GetFamilyAndStyle(&family, &style);
    EXPECT_STREQ(family, "sans-serif");
    EXPECT_STREQ(style, "Bold");
    EXPECT_EQ(be_bold_font->Size(), 12);
    EXPECT_FALSE(be_fixed_font->FontFile().empty());
    EXPECT_EQ(be_fixed_font->StringWidth("iiii"), be_fixed_font->StringWidth("WWWW"));
}

TEST(Font, UnreadableFontFilesEstimate)
{
    stowtest::TempDir dir;
    stowtest::WriteFile(dir / "broken.ttf", std::string(5000, '\x5A'));
    for (std::string path : {std::string("/nonexistent/font.ttf"), (dir / "broken.ttf").string(),
             dir.Str(), std::string()}) {
        BFont font;
        font.SetFontFile(path.c_str());
        EXPECT_EQ(font.FontFile(), "") << path;
        EXPECT_EQ(font.StringWidth("abcd"), 24) << path; // 0.6 em a character
        EXPECT_EQ(font.StringWidth("\xC3\xA9\xE2\x82\xAC\xF0"), 18) << path;
        font_height height;
        font.GetHeight(&height);
        EXPECT_FLOAT_EQ(height.ascent, 8);
        EXPECT_FLOAT_EQ(height.descent, 2);
    }
    BFont none;
    none.SetFontFile(nullptr);
    EXPECT_EQ(none.StringWidth("ab"), 12);
    EXPECT_EQ(none.SetFamilyAndStyle(nullptr, nullptr), B_BAD_VALUE);
}

// Runs in a child whose fontconfig knows no font at all.
TEST(Font, EstimatesWithoutAnyInstalledFont)
{
    if (getenv("STOW_FONT_TEST_CHILD") != nullptr) {
        EXPECT_EQ(be_plain_font->FontFile(), "");
        EXPECT_EQ(be_plain_font->StringWidth("abcd"), 24);
        std::string text = "a long file name.txt";
        be_plain_font->TruncateString(&text, B_TRUNCATE_MIDDLE, 60);
        EXPECT_EQ(text, "a lon" B_UTF8_ELLIPSIS ".txt"); // 6 pixels a character
        return;
    }
    stowtest::TempDir dir;
    stowtest::WriteFile(dir / "fonts.conf",
        "<?xml version=\"1.0\"?>\n<fontconfig><cachedir>" + dir.Str()
            + "/cache</cachedir></fontconfig>\n");
    std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    stowtest::RunResult run
        = stowtest::Run({self, "--gtest_filter=Font.EstimatesWithoutAnyInstalledFont"}, "",
            {{"STOW_FONT_TEST_CHILD", "1"}, {"FONTCONFIG_FILE", (dir / "fonts.conf").string()}});
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
    EXPECT_NE(run.out.find("[  PASSED  ] 1 test"), std::string::npos) << run.out;
}

TEST(Font, FixedAdvance)
{
    BFont font = FixedFont(7);
    EXPECT_EQ(font.StringWidth("a\xC3\xA9\xE2\x82\xAC"), 21);
    EXPECT_EQ(font.StringWidth("a\xC3\xA9\xE2\x82\xAC", 3), 14);
    font.SetFixedAdvance(0);
    font.SetFontFile("/nonexistent");
    EXPECT_EQ(font.StringWidth("abc"), 18);
}

TEST(Font, TruncationModes)
{
    BFont font = FixedFont(10);
    auto cut = [&](const char* text, uint32 mode, float width) {
        std::string result = text;
        font.TruncateString(&result, mode, width);
        return result;
    };
    const char* text = "abcdefghij";
    EXPECT_EQ(cut(text, B_TRUNCATE_END, 100), text);
    EXPECT_EQ(cut(text, B_TRUNCATE_END, 55), "abcd" B_UTF8_ELLIPSIS);
    EXPECT_EQ(cut(text, B_TRUNCATE_BEGINNING, 55), B_UTF8_ELLIPSIS "ghij");
    EXPECT_EQ(cut(text, B_TRUNCATE_MIDDLE, 55), "ab" B_UTF8_ELLIPSIS "ij");
    EXPECT_EQ(cut(text, B_TRUNCATE_SMART, 65), "abc" B_UTF8_ELLIPSIS "ij");
    EXPECT_EQ(cut(text, B_TRUNCATE_END, 10), B_UTF8_ELLIPSIS);
    EXPECT_EQ(cut(text, B_TRUNCATE_END, 5), "");
    EXPECT_EQ(cut("\xC3\xA9\xC3\xA9\xC3\xA9", B_TRUNCATE_END, 25), "\xC3\xA9" B_UTF8_ELLIPSIS);
    font.TruncateString(nullptr, B_TRUNCATE_END, 5);

    const char* in[] = {"short", "a much longer name", nullptr, "\xE2\x82\xAC\xE2\x82\xAC"};
    std::vector<std::vector<char>> buffers;
    char* out[4];
    for (int i = 0; i < 4; i++) {
        buffers.emplace_back((in[i] != nullptr ? strlen(in[i]) : 0) + 3, '#');
        out[i] = buffers.back().data();
    }
    font.GetTruncatedStrings(in, 4, B_TRUNCATE_END, 25, out);
    EXPECT_STREQ(out[0], "s" B_UTF8_ELLIPSIS);
    EXPECT_STREQ(out[1], "a" B_UTF8_ELLIPSIS);
    EXPECT_STREQ(out[2], "");
    EXPECT_STREQ(out[3], "\xE2\x82\xAC\xE2\x82\xAC");
}

TEST(Font, TruncatedTextFitsAndKeepsWholeCharacters)
{
    BFont font(be_plain_font);
    std::string text = "D\xC3\xA9j\xC3\xA0 vu \xE2\x82\xAC 2001/readme & notes.txt";
    for (uint32 mode : {B_TRUNCATE_END, B_TRUNCATE_BEGINNING, B_TRUNCATE_MIDDLE}) {
        for (float width = 0; width < 220; width += 3) {
            std::string result = text;
            font.TruncateString(&result, mode, width);
            EXPECT_LE(font.StringWidth(result.c_str()), width) << mode << " " << width;
            if (result == text || result.empty())
                continue;
            size_t mark = result.find(B_UTF8_ELLIPSIS);
            ASSERT_NE(mark, std::string::npos);
            std::string front = result.substr(0, mark);
            std::string back = result.substr(mark + 3);
            EXPECT_EQ(text.compare(0, front.size(), front), 0);
            EXPECT_EQ(text.compare(text.size() - back.size(), back.size(), back), 0);
            // No cut inside a character: neither piece meets a continuation
            // byte at the cut.
            EXPECT_TRUE(back.empty() || (back[0] & 0xC0) != 0x80) << result;
            EXPECT_TRUE(front.size() == text.size() || (text[front.size()] & 0xC0) != 0x80);
        }
    }
}

TEST(Font, MeasuringFromSeveralThreads)
{
    std::string text = "Installing 4 of 26 (STK_installation)";
    float expected = be_plain_font->StringWidth(text.c_str());
    std::vector<std::thread> threads;
    std::vector<int> wrong(4, 0);
    for (int t = 0; t < 4; t++) {
        threads.emplace_back([&, t] {
            BFont font(t % 2 == 0 ? be_plain_font : be_bold_font);
            font.SetSize(10);
            font.SetFamilyAndStyle(nullptr, "Regular");
            for (int i = 0; i < 300; i++) {
                if (font.StringWidth(text.c_str()) != expected)
                    wrong[size_t(t)]++;
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(wrong, std::vector<int>(4, 0));
}
