// What the guided flows make of typed text: numbers picked from a list, a
// text wrapped to the terminal, and numbered texts with their values.
#include "FillIn.h"
#include "TerminalDialog.h"

#include <gtest/gtest.h>

namespace {

TEST(TerminalDialog, NumbersPickedFromAList)
{
    std::vector<int32> picked;
    std::string wrong;
    ASSERT_TRUE(TerminalDialog::ParseNumbers(" 3, 1  5-7 ", 9, picked, wrong));
    EXPECT_EQ(picked, (std::vector<int32> {2, 0, 4, 5, 6}));
    ASSERT_TRUE(TerminalDialog::ParseNumbers("", 9, picked, wrong));
    EXPECT_TRUE(picked.empty());
    for (const char* text : {"0", "10", "x", "7-5", "2-", "-2", "99999999999", "3-12"}) {
        EXPECT_FALSE(TerminalDialog::ParseNumbers(std::string("1 ") + text, 9, picked, wrong))
            << text;
        EXPECT_EQ(wrong, text);
    }
}

TEST(TerminalDialog, TextWrappedToTheTerminalWithoutSplittingACharacter)
{
    using Lines = std::vector<std::string>;
    EXPECT_EQ(TerminalDialog::Wrap("one two three four\n\nfive\n", 10),
        (Lines {"one two", "three four", "", "five"}));
    // A word longer than a line is cut; characters count, not bytes.
    EXPECT_EQ(TerminalDialog::Wrap("Ärgerlichkeiten", 10), (Lines {"Ärgerlichk", "eiten"}));
    EXPECT_EQ(TerminalDialog::Wrap("a\tb", 20), (Lines {"a       b"}));
}

TEST(TerminalDialog, NumberedTextsGetTheirValuesInOrder)
{
    EXPECT_EQ(fill_in("%d of %d entries were moved to %s.", {"3", "4", "the Trash"}),
        "3 of 4 entries were moved to the Trash.");
    EXPECT_EQ(fill_in("100%% %ld", {"5"}), "100% 5");
    // A conversion without a value stays; one the table never uses too.
    EXPECT_EQ(fill_in("%s and %s", {"one"}), "one and %s");
    EXPECT_EQ(fill_in("%x %s", {"a"}), "%x a");
}

} // namespace
