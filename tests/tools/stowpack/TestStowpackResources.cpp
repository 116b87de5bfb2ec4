// The resource commands of stowpack, run as a user runs them, on a real
// (stripped) executable: listing, extracting, adding, removing, verifying,
// and what they say about damaged containers.
#include "TestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;
using stowtest::ReadFile;
using stowtest::RunResult;
using stowtest::TempDir;
using stowtest::WriteFile;

namespace {

RunResult Stowpack(const std::vector<std::string>& args)
{
    std::vector<std::string> argv {stowtest::BinPath("stowpack")};
    argv.insert(argv.end(), args.begin(), args.end());
    return stowtest::Run(argv);
}

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

// A stripped program carrying a record and a payload.
struct Installer {
    TempDir dir;
    std::string path = (dir / "installer").string();
    std::string payload;

    Installer()
    {
        fs::copy_file("/bin/true", path);
        EXPECT_EQ(stowtest::Run({"/usr/bin/strip", path}).exitCode, 0);
        payload.resize(70000);
        for (size_t i = 0; i < payload.size(); ++i)
            payload[i] = char(i * 13 + i / 97);
        WriteFile(dir / "record", "flattened record");
        WriteFile(dir / "payload", payload);
        EXPECT_EQ(Add("CSTR", "2002", "STK:configuration", "record").exitCode, 0);
        EXPECT_EQ(Add("'RAWT'", "2100", "chimes.wav", "payload").exitCode, 0);
    }
    RunResult Add(const std::string& type, const std::string& id, const std::string& name,
        const std::string& data)
    {
        return Stowpack({"add", path, type, id, name, (dir / data).string()});
    }
};

} // namespace

TEST(StowpackResources, ListExtractReplaceRemoveAndTheProgramStillRuns)
{
    Installer installer;
    RunResult list = Stowpack({"resources", installer.path});
    ASSERT_EQ(list.exitCode, 0) << list.err;
    EXPECT_TRUE(
        Contains(list.out, "'CSTR'          2002          16  ok        \"STK:configuration\""))
        << list.out;
    EXPECT_TRUE(Contains(list.out, "'RAWT'          2100       70000  ok        \"chimes.wav\""));

    std::string out = (installer.dir / "out").string();
    ASSERT_EQ(Stowpack({"extract", installer.path, "RAWT", "2100", out}).exitCode, 0);
    EXPECT_EQ(ReadFile(out), installer.payload);
    RunResult toStdout = Stowpack({"extract", installer.path, "CSTR", "2002", "-"});
    EXPECT_EQ(toStdout.out, "flattened record");

    // Replacing one resource keeps the other and the program.
    WriteFile(installer.dir / "record", "second");
    ASSERT_EQ(installer.Add("CSTR", "2002", "renamed", "record").exitCode, 0);
    ASSERT_EQ(Stowpack({"extract", installer.path, "CSTR", "2002", out}).exitCode, 0);
    EXPECT_EQ(ReadFile(out), "second");
    EXPECT_TRUE(Contains(Stowpack({"resources", installer.path}).out, "\"renamed\""));

    ASSERT_EQ(Stowpack({"remove", installer.path, "CSTR", "2002"}).exitCode, 0);
    RunResult again = Stowpack({"remove", installer.path, "CSTR", "2002"});
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_TRUE(Contains(again.err, "no resource 'CSTR' 2002")) << again.err;
    RunResult verify = Stowpack({"verify", installer.path});
    EXPECT_EQ(verify.exitCode, 0) << verify.err;
    EXPECT_TRUE(Contains(verify.out, "1 resource(s), all checksums match"));
    EXPECT_EQ(stowtest::Run({installer.path}).exitCode, 0);
}

TEST(StowpackResources, DamageIsReportedAndNothingIsWrittenFromIt)
{
    Installer installer;
    const std::string whole = ReadFile(installer.path);
    std::string out = (installer.dir / "out").string();

    // A flipped bit in the payload: the container is sound, the checksum not.
    std::string flipped = whole;
    size_t at = whole.find(installer.payload.substr(0, 64)) + 30000;
    flipped[at] = char(flipped[at] ^ 0x10);
    WriteFile(installer.path, flipped);
    RunResult verify = Stowpack({"verify", installer.path});
    EXPECT_EQ(verify.exitCode, 1);
    EXPECT_TRUE(
        Contains(verify.err, "resource 'RAWT' 2100 \"chimes.wav\": checksum does not match"))
        << verify.err;
    EXPECT_TRUE(Contains(Stowpack({"resources", installer.path}).out, "BAD"));
    RunResult extract = Stowpack({"extract", installer.path, "RAWT", "2100", out});
    EXPECT_EQ(extract.exitCode, 1);
    EXPECT_TRUE(Contains(extract.err, "checksum does not match"));
    EXPECT_FALSE(fs::exists(out));
    for (const auto& entry : fs::directory_iterator(installer.dir.Path()))
        EXPECT_FALSE(Contains(entry.path().filename().string(), ".stowpack-"));

    // Cut short: the container itself is damaged, and stays untouched.
    WriteFile(installer.path, whole.substr(0, whole.size() - 20));
    verify = Stowpack({"verify", installer.path});
    EXPECT_EQ(verify.exitCode, 1);
    EXPECT_TRUE(Contains(verify.err, "damaged resource container")) << verify.err;
    EXPECT_EQ(Stowpack({"resources", installer.path}).exitCode, 1);
    RunResult add = installer.Add("CSTR", "1", "x", "record");
    EXPECT_EQ(add.exitCode, 1);
    EXPECT_EQ(ReadFile(installer.path), whole.substr(0, whole.size() - 20));
}

TEST(StowpackResources, PlainFilesUsageErrorsAndMissingFiles)
{
    TempDir dir;
    std::string plain = (dir / "plain").string();
    WriteFile(plain, "no resources here");
    // A file without a container fails: a stripped installer has lost its payload.
    RunResult verify = Stowpack({"verify", plain});
    EXPECT_EQ(verify.exitCode, 1);
    EXPECT_TRUE(Contains(verify.err, "no resources")) << verify.err;
    RunResult list = Stowpack({"resources", plain});
    EXPECT_EQ(list.exitCode, 0);
    EXPECT_EQ(std::count(list.out.begin(), list.out.end(), '\n'), 1); // the heading only

    struct Case {
        std::vector<std::string> args;
        const char* error;
    } cases[] = {
        {{"resources"}, "resources takes FILE"},
        {{"verify", plain, plain}, "verify takes FILE"},
        {{"extract", plain, "CST", "1", "o"}, "TYPE must be four characters"},
        {{"extract", plain, "CSTR", "12x", "o"}, "ID must be a whole number"},
        {{"remove", plain, "CSTR", "99999999999"}, "ID must be a whole number"},
        {{"add", plain, "CSTR", "1", "name"}, "add takes FILE, TYPE, ID, NAME and DATAFILE"},
    };
    for (const Case& c : cases) {
        RunResult result = Stowpack(c.args);
        EXPECT_EQ(result.exitCode, 2) << c.error;
        EXPECT_TRUE(Contains(result.err, c.error)) << result.err;
    }
    RunResult missing = Stowpack({"resources", (dir / "missing").string()});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(Contains(missing.err, "No such file or directory"));
    RunResult noData = Stowpack({"add", plain, "CSTR", "1", "n", (dir / "missing").string()});
    EXPECT_EQ(noData.exitCode, 1);
    EXPECT_EQ(ReadFile(plain), "no resources here");
    RunResult absent = Stowpack({"extract", plain, "CSTR", "1", (dir / "o").string()});
    EXPECT_EQ(absent.exitCode, 1);
    EXPECT_TRUE(Contains(absent.err, "no resource 'CSTR' 1"));
}
