// stowpack run as a user runs it: the dispatcher's options and usage errors,
// and the message commands on files, both ways, good input and bad.
#include "BMessage.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

using stowtest::BinPath;
using stowtest::ReadFile;
using stowtest::Run;
using stowtest::RunResult;
using stowtest::SourcePath;
using stowtest::TempDir;
using stowtest::WriteFile;

namespace {

RunResult Stowpack(const std::vector<std::string>& args, const std::string& input = {})
{
    std::vector<std::string> argv {BinPath("stowpack")};
    argv.insert(argv.end(), args.begin(), args.end());
    return Run(argv, input);
}

size_t FilesIn(const TempDir& dir)
{
    size_t count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
        (void)entry;
        ++count;
    }
    return count;
}

} // namespace

TEST(StowpackCommand, HelpVersionAndUsageErrors)
{
    RunResult help = Stowpack({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("stowpack message encode IN.json OUT.bin"), std::string::npos);
    EXPECT_NE(help.out.find("stowpack message decode IN.bin"), std::string::npos);
    RunResult version = Stowpack({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out.rfind("stowpack ", 0), 0u);
    EXPECT_EQ(Stowpack({"message", "--help"}).exitCode, 0);

    struct Case {
        std::vector<std::string> args;
        const char* error;
    } cases[] = {
        {{}, "no command given"},
        {{"frobnicate"}, "unknown command 'frobnicate'"},
        {{"--frobnicate"}, "unknown option '--frobnicate'"},
        {{"message"}, "message needs encode or decode"},
        {{"message", "print", "x"}, "unknown message command 'print'"},
        {{"message", "encode", "in.json"}, "message encode takes IN.json and OUT.bin"},
        {{"message", "decode"}, "message decode takes IN.bin"},
        {{"message", "decode", "a", "b"}, "message decode takes IN.bin"},
    };
    for (const auto& c : cases) {
        RunResult result = Stowpack(c.args);
        EXPECT_EQ(result.exitCode, 2) << c.error;
        EXPECT_NE(result.err.find(c.error), std::string::npos) << result.err;
        EXPECT_NE(result.err.find("stowpack --help"), std::string::npos) << result.err;
        EXPECT_EQ(result.out, "") << c.error;
    }
}

TEST(StowpackCommand, MessageRoundTripsBothWays)
{
    TempDir dir;
    // JSON -> bytes -> JSON gives the canonical sample back.
    std::string sample = SourcePath("samples/message/sample.json");
    std::string bin = (dir / "sample.bin").string();
    RunResult encoded = Stowpack({"message", "encode", sample, bin});
    ASSERT_EQ(encoded.exitCode, 0) << encoded.err;
    EXPECT_EQ(encoded.out, "");
    RunResult decoded = Stowpack({"message", "decode", bin});
    ASSERT_EQ(decoded.exitCode, 0) << decoded.err;
    EXPECT_EQ(decoded.out, ReadFile(sample));
    BMessage record;
    ASSERT_EQ(record.Unflatten(ReadFile(bin)), B_OK);
    EXPECT_STREQ(record.FindString("app_name"), "Stowsmith");
    BMessage groups;
    ASSERT_EQ(record.FindMessage("groups", &groups), B_OK);
    EXPECT_STREQ(groups.FindString("group_name", 1), "Documents");

    // Bytes our writer made -> JSON -> the same bytes, through standard
    // input and output this time.
    BMessage inner('innr');
    inner.AddFloat("frame_rate", 44100);
    inner.AddData("data", B_ANY_TYPE, "\x80\x7f\x00", 3);
    BMessage message('LThC');
    message.AddString("name", "install");
    message.AddInt32("status", -3);
    message.AddMessage("audio_data", &inner);
    message.AddRect("_frame", BRect(0, 0, 149, 199));
    message.AddInt64("file_modified", 993081600);
    std::string bytes = message.Flatten();
    WriteFile(dir / "in.bin", bytes);
    RunResult json = Stowpack({"message", "decode", (dir / "in.bin").string()});
    ASSERT_EQ(json.exitCode, 0) << json.err;
    RunResult again = Stowpack({"message", "encode", "-", "-"}, json.out);
    ASSERT_EQ(again.exitCode, 0) << again.err;
    EXPECT_EQ(again.out, bytes);
}

TEST(StowpackCommand, MalformedInputFailsWithoutOutput)
{
    TempDir dir;
    BMessage one;
    one.AddString("app_name", "Stowsmith");
    std::string truncated = one.Flatten().substr(0, 25);
    WriteFile(dir / "truncated.bin", truncated);
    WriteFile(dir / "text.bin", "{\"what\": 0}");
    WriteFile(dir / "bad.json",
        "{\"what\": 0, \"fields\": [{\"name\": \"n\", \"type\": \"LONG\", \"values\": [true]}]}");
    WriteFile(dir / "broken.json", "{\"what\": 0, ");
    std::filesystem::create_directory(dir / "folder");
    size_t filesBefore = FilesIn(dir);

    struct Case {
        std::vector<std::string> args;
        const char* error;
    } cases[] = {
        {{"message", "decode", (dir / "truncated.bin").string()},
            "truncated.bin: not a valid flattened message"},
        {{"message", "decode", (dir / "text.bin").string()}, "not a valid flattened message"},
        {{"message", "decode", (dir / "missing.bin").string()}, "cannot read"},
        {{"message", "decode", (dir / "folder").string()}, "Is a directory"},
        {{"message", "encode", (dir / "bad.json").string(), (dir / "out.bin").string()},
            "bad.json: field 0 (\"n\") value 0: LONG values are integers"},
        {{"message", "encode", (dir / "broken.json").string(), (dir / "out.bin").string()},
            "broken.json: invalid JSON"},
        {{"message", "encode", (dir / "missing.json").string(), (dir / "out.bin").string()},
            "cannot read"},
        {{"message", "encode", SourcePath("samples/message/sample.json"),
             (dir / "no" / "out.bin").string()},
            "cannot write"},
        {{"message", "encode", SourcePath("samples/message/sample.json"),
             (dir / "folder").string()},
            "cannot write"},
    };
    for (const auto& c : cases) {
        RunResult result = Stowpack(c.args);
        EXPECT_EQ(result.exitCode, 1) << c.error;
        EXPECT_NE(result.err.find(c.error), std::string::npos) << result.err;
        EXPECT_EQ(result.err.rfind("stowpack: ", 0), 0u) << result.err;
        EXPECT_EQ(result.out, "") << c.error;
    }
    // Nothing was written, not even a half-written file beside the target.
    EXPECT_EQ(FilesIn(dir), filesBefore);
    EXPECT_TRUE(std::filesystem::is_directory(dir / "folder"));
}
