// The string table files and the build tool that attaches them to a program:
// the format's escapes and faults, and attaching to a real stripped program.
#include "TestSupport.h"

#include "BResources.h"
#include "oStringTable.h"

#include <cstring>
#include <gtest/gtest.h>

using stowtest::ReadFile;
using stowtest::RunResult;
using stowtest::TempDir;
using stowtest::WriteFile;

namespace {

std::string ParseError(const std::string& text)
{
    oStringTable table;
    std::string error;
    EXPECT_FALSE(table.Parse(text, "t.txt", error)) << text;
    EXPECT_TRUE(table.Texts().empty());
    return error;
}

RunResult Stowres(const std::string& program, const std::string& folder)
{
    return stowtest::Run({stowtest::BinPath("stowres"), "strings", program, folder});
}

std::string Text(BResources& resources, const char* name)
{
    size_t size = 0;
    const void* data = resources.LoadResource(B_STRING_TYPE, name, &size);
    if (data == nullptr)
        return "<missing>";
    EXPECT_EQ(static_cast<const char*>(data)[size - 1], '\0') << name;
    return std::string(static_cast<const char*>(data), size - 1);
}

} // namespace

TEST(StringTable, FormatEscapesCommentsAndFaults)
{
    oStringTable table;
    std::string error;
    ASSERT_TRUE(
        table.Parse("# comment\n\n1000\tA\\nB\\tC\\\\n\n7\t\n0042\tÆøå 'x' %s\n", "t", error))
        << error;
    EXPECT_STREQ(table.Find(1000), "A\nB\tC\\n");
    EXPECT_STREQ(table.Find(7), "");
    EXPECT_STREQ(table.Find(42), "Æøå 'x' %s");
    EXPECT_EQ(table.Find(8), nullptr);
    ASSERT_TRUE(table.Parse("5\tlast line without newline", "t", error));
    EXPECT_STREQ(table.Find(5), "last line without newline");

    EXPECT_EQ(ParseError("1\tok\n2 no tab\n"),
        "t.txt:2: expected a number of one to four "
        "digits, a tab and the text");
    EXPECT_NE(ParseError("12345\tx\n").find("t.txt:1:"), std::string::npos);
    EXPECT_NE(ParseError("1a\tx\n").find("no digit"), std::string::npos);
    EXPECT_NE(
        ParseError("1\tx\n01\ty\n").find("t.txt:2: number 1 appears twice"), std::string::npos);
    EXPECT_NE(ParseError("1\tx\\q\n").find("unknown escape"), std::string::npos);
    EXPECT_NE(ParseError("1\tx\ty\n").find("tab inside"), std::string::npos);
    EXPECT_NE(ParseError("1\tx\r\n").find("carriage return"), std::string::npos);
    EXPECT_NE(ParseError("1\tx\\").find("unknown escape"), std::string::npos);
    EXPECT_EQ(ParseError("1\t\xc3(\n"), "t.txt: not UTF-8 text");
    EXPECT_FALSE(table.Read("/nonexistent/en.txt", error));
}

TEST(StringTable, ToolAttachesReplacesAndRefusesBadTables)
{
    TempDir dir;
    std::string program = (dir / "program").string();
    std::filesystem::copy_file("/bin/true", program);
    ASSERT_EQ(stowtest::Run({"/usr/bin/strip", program}).exitCode, 0);
    std::filesystem::create_directory(dir / "strings");
    WriteFile(dir / "strings" / "en.txt", "1001\tLicense\n1002\tTwo\\nlines\n");
    WriteFile(dir / "strings" / "de.txt", "1001\tLizenz\n");
    RunResult result = Stowres(program, (dir / "strings").string());
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(stowtest::Run({program}).exitCode, 0);
    {
        BResources resources(program.c_str());
        EXPECT_EQ(Text(resources, "en:1001"), "License");
        EXPECT_EQ(Text(resources, "en:1002"), "Two\nlines");
        EXPECT_EQ(Text(resources, "de:1001"), "Lizenz");
        int32 id = 0;
        size_t length = 0;
        ASSERT_TRUE(resources.GetResourceInfo(B_STRING_TYPE, "de:1001", &id, &length));
        EXPECT_EQ(id, oStringTable::ResourceId(3, 1001));
        EXPECT_EQ(id, 41001);
        ASSERT_EQ(
            resources.AddResource(B_STRING_TYPE, 2002, "record", 7, "STK:configuration"), B_OK);
    }

    // A text dropped from a table leaves the program; other resources stay.
    WriteFile(dir / "strings" / "en.txt", "1001\tLicence\n");
    result = Stowres(program, (dir / "strings").string());
    ASSERT_EQ(result.exitCode, 0) << result.err;
    {
        BResources resources(program.c_str());
        EXPECT_EQ(Text(resources, "en:1001"), "Licence");
        EXPECT_EQ(Text(resources, "en:1002"), "<missing>");
        EXPECT_EQ(Text(resources, "de:1001"), "Lizenz");
        EXPECT_EQ(Text(resources, "STK:configuration"), "record");
    }

    // Faults name the file and line, and the program stays as it was.
    std::string before = ReadFile(program);
    WriteFile(dir / "strings" / "en.txt", "1001\tLicense\n\n1002 Two\n");
    result = Stowres(program, (dir / "strings").string());
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("en.txt:3:"), std::string::npos) << result.err;
    WriteFile(dir / "strings" / "en.txt", "1001\tLicense\n");
    WriteFile(dir / "strings" / "english.txt", "1001\tLicense\n");
    result = Stowres(program, (dir / "strings").string());
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(
        result.err.find("english.txt: not named after a known language code"), std::string::npos)
        << result.err;
    EXPECT_EQ(Stowres(program, (dir / "missing").string()).exitCode, 1);
    EXPECT_EQ(stowtest::Run({stowtest::BinPath("stowres"), "strings", program}).exitCode, 2);
    EXPECT_TRUE(ReadFile(program) == before);
}
