// stowpack folders run as a user runs it, inside a trial root.
#include "TestSupport.h"

#include <gtest/gtest.h>
#include <sstream>

using stowtest::TempDir;

TEST(StowpackFolders, ListsEveryFolderWithValueAndPath)
{
    TempDir root;
    auto result = stowtest::Run({stowtest::BinPath("stowpack"), "folders"}, {},
        {{"STOW_ROOT", root.Str()}, {"HOME", "/home/tester"}, {"XDG_CONFIG_HOME", ""},
            {"XDG_DATA_HOME", ""}, {"XDG_DESKTOP_DIR", ""}, {"TMPDIR", ""}});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    std::istringstream lines(result.out);
    std::string line;
    int count = 0;
    while (std::getline(lines, line)) {
        if (line.rfind("# scope: ", 0) == 0)
            continue;
        ++count;
        size_t tab = line.find('\t');
        size_t second = line.find('\t', tab + 1);
        ASSERT_NE(second, std::string::npos) << line;
        // Every path lies inside the trial root.
        EXPECT_EQ(line.compare(second + 1, root.Str().size() + 1, root.Str() + "/"), 0) << line;
    }
    EXPECT_EQ(count, 51);
    EXPECT_NE(result.out.find("3003\tUser Boot\t" + root.Str() + "/home/tester/.config/boot\n"),
        std::string::npos);
    EXPECT_NE(
        result.out.find("2014\tCommon Temporary\t" + root.Str() + "/tmp\n"), std::string::npos);
    EXPECT_NE(result.out.find("0\tDesktop\t"), std::string::npos);
    EXPECT_TRUE(std::filesystem::is_empty(root.Path())); // listing creates nothing

    auto wrong = stowtest::Run({stowtest::BinPath("stowpack"), "folders", "extra"});
    EXPECT_EQ(wrong.exitCode, 2);
    EXPECT_NE(wrong.err.find("folders takes no arguments"), std::string::npos);
}
