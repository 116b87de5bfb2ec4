// Tagged sections in the user's shell start-up files: what is removed, what
// is appended, what stays byte for byte, and the backup beside the file.
#include "ScriptFolders.h"

#include "BNodeInfo.h"
#include "EditScriptFile.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using stowtest::ReadFile;
using stowtest::WriteFile;

namespace {

class EditScript : public stowtest::ScriptFolders {
protected:
    fs::path Profile() const { return user / ".profile"; }
    std::string Edit(const char* tag, const char* contents)
    {
        testing::internal::CaptureStderr();
        EditScriptFile(B_USER_DIRECTORY, ".profile", tag, contents);
        return testing::internal::GetCapturedStderr();
    }
    std::string Attr(const fs::path& path, bool preferredApp)
    {
        BNode node(path.c_str());
        BNodeInfo info(&node);
        char value[B_MIME_TYPE_LENGTH] = {};
        status_t status = preferredApp ? info.GetPreferredApp(value) : info.GetType(value);
        return status == B_OK ? value : "<none>";
    }
};

} // namespace

TEST_F(EditScript, NewFileGetsFourLinesThenAReplacedSectionMovesToTheEnd)
{
    EXPECT_EQ(Edit("T", "export A=1"), "last line\n");
    EXPECT_EQ(ReadFile(Profile()), "\n#BEGIN_T\nexport A=1\n#END_T\n");
    EXPECT_FALSE(fs::exists(user / ".profile.orig"));
    EXPECT_EQ(Attr(Profile(), false), "text/plain");
    EXPECT_EQ(Attr(Profile(), true), "application/x-vnd.Be-STEE");

    WriteFile(Profile(), ReadFile(Profile()) + "after\n");
    EXPECT_EQ(Edit("T", "export A=2\nexport B=3"), "");
    EXPECT_EQ(ReadFile(Profile()), "\nafter\n#BEGIN_T\nexport A=2\nexport B=3\n#END_T\n");
    EXPECT_EQ(ReadFile(user / ".profile.orig"), "\n#BEGIN_T\nexport A=1\n#END_T\nafter\n");
}

TEST_F(EditScript, EverySectionDroppedAndOtherTextKeptByteForByte)
{
    // Carriage returns, control bytes, a zero byte, bytes that are no UTF-8
    // and a 2000-byte line all pass through unchanged.
    std::string longLine(2000, 'x');
    std::string other = std::string("# head\r\nodd \x01\x00\xff bytes\n", 21) + longLine + "\n";
    std::string text = other + "#BEGIN_T\none\n#END_T\nmiddle\n  echo \"#BEGIN_T\" \nsecond\n"
        + "#END_T\ntail\n";
    WriteFile(Profile(), text);
    EXPECT_EQ(Edit("T", "new"), "");
    EXPECT_EQ(ReadFile(Profile()), other + "middle\ntail\n#BEGIN_T\nnew\n#END_T\n");
    EXPECT_EQ(ReadFile(user / ".profile.orig"), text);

    // Removing the section again gives back exactly the text around it.
    Edit("T", nullptr);
    EXPECT_EQ(ReadFile(Profile()), other + "middle\ntail\n");
}

TEST_F(EditScript, ATagNeverMatchesALongerTagThatBeginsWithIt)
{
    std::string ab = "#BEGIN_AB\nab\n#END_AB\n";
    std::string a_b = "#BEGIN_A.B\nab\n#END_A.B\n";
    WriteFile(Profile(), "x\n" + ab + "#BEGIN_A # ours\na\n#END_A\n" + a_b + "y\n");
    Edit("A", nullptr);
    EXPECT_EQ(ReadFile(Profile()), "x\n" + ab + a_b + "y\n");
    Edit("AB", nullptr);
    EXPECT_EQ(ReadFile(Profile()), "x\n" + a_b + "y\n");
}

TEST_F(EditScript, HalfSectionsAndMissingNewlines)
{
    // Only an end marker: nothing removed, the new section appended after a
    // newline that the last line lacked.
    WriteFile(Profile(), "a\n#END_T\nb");
    EXPECT_EQ(Edit("T", "c"), "last line\n");
    EXPECT_EQ(ReadFile(Profile()), "a\n#END_T\nb\n#BEGIN_T\nc\n#END_T\n");

    // A begin marker with no end marker after it (but one before) drops the
    // rest of the file.
    WriteFile(Profile(), "a\n#END_T\nb\n#BEGIN_T\nc\nd\n");
    Edit("T", nullptr);
    EXPECT_EQ(ReadFile(Profile()), "a\n#END_T\nb\n");

    // No section: the text stays, the backup is refreshed, the type reset,
    // and a preferred application of the file's own kept.
    WriteFile(Profile(), "plain");
    {
        BNode node(Profile().c_str());
        BNodeInfo(&node).SetPreferredApp("application/x-vnd.Tester-Edit");
    }
    WriteFile(user / ".profile.orig", "stale");
    EXPECT_EQ(Edit("T", nullptr), "");
    EXPECT_EQ(ReadFile(Profile()), "plain");
    EXPECT_EQ(ReadFile(user / ".profile.orig"), "plain");
    EXPECT_EQ(Attr(Profile(), false), "text/plain");
    EXPECT_EQ(Attr(Profile(), true), "application/x-vnd.Tester-Edit");
}

TEST_F(EditScript, LongLinesAreMatchedPieceByPiece)
{
    // A marker late in a long line is in one of its 511-byte pieces: the
    // pieces before it stay, the section starts there.
    std::string lead(600, 'p');
    WriteFile(Profile(), "keep\n" + lead + "#BEGIN_T\ninside\n#END_T\nafter\n");
    Edit("T", nullptr);
    EXPECT_EQ(ReadFile(Profile()), "keep\n" + lead.substr(0, 511) + "after\n");

    // A tag whose name runs on into the next piece is a longer tag.
    std::string pad(511 - 8, 'q');
    std::string text = pad + "#BEGIN_T" + "X\nbody\n#END_TX\n";
    WriteFile(Profile(), text);
    Edit("T", nullptr);
    EXPECT_EQ(ReadFile(Profile()), text);
}

TEST_F(EditScript, SampleLinksAndMissingFolders)
{
    // A missing file starts as a copy of its sample.
    WriteFile(user / ".profile.sample", "# sample\n");
    Edit("T", "s");
    EXPECT_EQ(ReadFile(Profile()), "# sample\n#BEGIN_T\ns\n#END_T\n");
    EXPECT_EQ(ReadFile(user / ".profile.sample"), "# sample\n");

    // A profile that is a link stays one; the file it leads to is edited.
    fs::create_directory(root / "dotfiles");
    WriteFile(root / "dotfiles" / "profile", "linked\n");
    fs::remove(Profile());
    fs::create_symlink(root / "dotfiles" / "profile", Profile());
    Edit("T", "l");
    EXPECT_TRUE(fs::is_symlink(Profile()));
    EXPECT_EQ(ReadFile(root / "dotfiles" / "profile"), "linked\n#BEGIN_T\nl\n#END_T\n");
    EXPECT_EQ(ReadFile(root / "dotfiles" / "profile.orig"), "linked\n");

    // A missing folder: nothing is created, nothing reported.
    fs::remove_all(boot);
    testing::internal::CaptureStderr();
    EditScriptFile(B_USER_BOOT_DIRECTORY, "UserBootscript", "T", "x");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_FALSE(fs::exists(boot));

    // A folder where the file should be is left alone; a null tag or name
    // does nothing.
    fs::remove(Profile());
    fs::create_directory(Profile());
    Edit("T", "x");
    EXPECT_TRUE(fs::is_directory(Profile()));
    EXPECT_TRUE(fs::is_empty(Profile()));
    EditScriptFile(B_USER_DIRECTORY, nullptr, "T", "x");
    EditScriptFile(B_USER_DIRECTORY, ".other", nullptr, "x");
    EXPECT_FALSE(fs::exists(user / ".other"));
}
