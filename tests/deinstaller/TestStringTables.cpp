// The deinstaller's string tables: English as the program shows it, every
// language complete, and lookups through a copy of this test program (which
// the build gave the deinstaller's tables).
#include "StringTableChecks.h"

#include <algorithm>

using namespace stowtest;

TEST(DeinstallerStrings, EnglishExactAndEveryLanguageComplete)
{
    const char* const english[] = {"Disk", "Search", "Results", "Stop", "found",
        "No files or folders were found to deinstall on this volume.", "Deinstall Items",
        "Change destination folder", "All", "None", "Deinstall"};
    oStringTable table = LoadTable("deinstaller/strings", "en");
    // The design's texts are 1000 to 1010; the guided flow's start at 1100.
    ASSERT_EQ(std::count_if(table.Texts().begin(), table.Texts().end(),
                  [](const auto& entry) { return entry.first < 1100; }),
        long(std::size(english)));
    for (long number = 1000; number <= 1010; ++number)
        EXPECT_STREQ(table.Find(number), english[number - 1000]) << number;
    ExpectCompleteTables("deinstaller/strings", {});
}

TEST(DeinstallerStrings, EveryLanguageLooksUpItsTable)
{
    ProgramCopy program;
    EXPECT_STREQ(oLocalize().GetString(1010), "Deinstall");
    ExpectLookupsMatchTables("deinstaller/strings");
    // The installer's texts are not the deinstaller's: it has no 1045.
    EXPECT_STREQ(oLocalize().GetString(1045), "");
}
