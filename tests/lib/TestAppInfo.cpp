// Version, supported types and typed resource values of an executable.
#include "LibAppInfo.h"
#include "LibResourceHelpers.h"
#include "RunningExecutable.h"
#include "TestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace fs = std::filesystem;
using stowtest::TempDir;

namespace {

std::string StrippedProgram(const TempDir& dir, const std::string& leaf = "program")
{
    std::string path = (dir / leaf).string();
    fs::copy_file("/bin/true", path);
    auto result = stowtest::Run({"/usr/bin/strip", path});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    return path;
}

// Makes the running program's file a copy the test controls, for its life.
class RunningAs {
public:
    explicit RunningAs(const std::string& path) { set_running_executable_path(path.c_str()); }
    ~RunningAs() { set_running_executable_path(nullptr); }
};

ino_t Inode(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

uint32 Little(const char* bytes)
{
    const auto* b = reinterpret_cast<const uint8*>(bytes);
    return uint32(b[0]) | uint32(b[1]) << 8 | uint32(b[2]) << 16 | uint32(b[3]) << 24;
}

} // namespace

TEST(AppVersion, WrittenReadAndFormattedByVariety)
{
    TempDir dir;
    std::string program = StrippedProgram(dir);
    RunningAs running(program);
    EXPECT_STREQ(LibGetAppVersion(nullptr), "");

    std::string longShort = std::string(62, 's') + "\xc3\xa9" + "tail"; // é across byte 63
    ASSERT_TRUE(LibSetAppVersion(1, 3, 1, longShort.c_str(), nullptr, 2, 4));
    EXPECT_STREQ(LibGetAppVersion(nullptr), "1.3.1 Beta 4");
    EXPECT_STREQ(LibGetAppVersion(program.c_str()), "1.3.1 Beta 4");
    // The program still runs with its version attached.
    EXPECT_EQ(stowtest::Run({program}).exitCode, 0);

    // The documented layout: five little-endian numbers, 64 + 256 bytes of text.
    BResources resources(program.c_str());
    size_t size = 0;
    const auto* bytes
        = static_cast<const char*>(resources.LoadResource('APPV', kAppVersionName, &size));
    ASSERT_NE(bytes, nullptr);
    ASSERT_EQ(size, 340u);
    int32 id = -1;
    ASSERT_TRUE(resources.GetResourceInfo('APPV', kAppVersionName, &id, nullptr));
    EXPECT_EQ(id, 1);
    EXPECT_EQ(Little(bytes), 1u);
    EXPECT_EQ(Little(bytes + 4), 3u);
    EXPECT_EQ(Little(bytes + 8), 1u);
    EXPECT_EQ(Little(bytes + 12), 2u);
    EXPECT_EQ(Little(bytes + 16), 4u);
    EXPECT_EQ(std::string(bytes + 20), std::string(62, 's')); // not cut inside é
    EXPECT_EQ(bytes[84], '\0');
    resources.Unset();

    const char* expected[]
        = {"2.0.7 Dev", "2.0.7 Alpha", "2.0.7 Beta", "2.0.7 Gamma", "2.0.7 Gold", "2.0.7", "2.0.7"};
    for (unsigned long variety = 0; variety < 7; ++variety) {
        ASSERT_TRUE(LibSetAppVersion(2, 0, 7, "Short", "Long", variety, 0));
        EXPECT_STREQ(LibGetAppVersion(nullptr), expected[variety]) << variety;
    }
    // The same version again writes nothing.
    ino_t before = Inode(program);
    ASSERT_TRUE(LibSetAppVersion(2, 0, 7, "Short", "Long", 6, 0));
    EXPECT_EQ(Inode(program), before);
    ASSERT_TRUE(LibSetAppVersion(2, 0, 8, "Short", "Long", 6, 0));
    EXPECT_NE(Inode(program), before);

    EXPECT_STREQ(LibGetAppVersion((dir / "missing").c_str()), "");
}

TEST(AppVersion, TheRunningProgramCannotBeStampedAndGoesOn)
{
    std::string self;
    ASSERT_EQ(get_running_executable_path(self), B_OK);
    EXPECT_FALSE(LibSetAppVersion(9, 9, 9, "x", "y", 5, 0));
    EXPECT_STREQ(LibGetAppVersion(nullptr), "");
    LibStringList types;
    types.Add("text/plain");
    EXPECT_FALSE(LibSetAppSupportedTypes(types));
}

TEST(AppInfo, SupportedTypesReplaceEachOther)
{
    TempDir dir;
    std::string program = StrippedProgram(dir);
    RunningAs running(program);
    LibStringList types;
    EXPECT_EQ(LibGetAppSupportedTypes(types), 0);
    types.Add("text/x-sfast");
    types.Add("application/zip");
    ASSERT_TRUE(LibSetAppSupportedTypes(types));
    LibStringList found;
    found.Add("already there");
    EXPECT_EQ(LibGetAppSupportedTypes(found), 3);
    ASSERT_NE(found.First(), nullptr);
    EXPECT_STREQ(*found.Next(), "text/x-sfast");
    EXPECT_STREQ(*found.Next(), "application/zip");

    LibStringList one;
    one.Add("image/png");
    ASSERT_TRUE(LibSetAppSupportedTypes(one));
    LibStringList again;
    EXPECT_EQ(LibGetAppSupportedTypes(again), 1);
    EXPECT_STREQ(*again.First(), "image/png");
}

TEST(AppInfo, SignatureOfExecutablesOnly)
{
    TempDir dir;
    TempDir root;
    stowtest::ScopedEnv stowRoot("STOW_ROOT", root.Str());
    std::string program = StrippedProgram(dir);
    {
        BResources resources(program.c_str());
        const char signature[] = "application/x-vnd.Tarnwick.Sfast";
        ASSERT_EQ(
            resources.AddResource('MIMS', 1, signature, sizeof signature, kAppSignatureName), B_OK);
    }
    std::string text = (dir / "notes").string();
    stowtest::WriteFile(text, "not a program");
    char signature[B_MIME_TYPE_LENGTH];
    LibGetAppSignature(entry_ref(0, 0, "program", dir.Str()), signature);
    EXPECT_STREQ(signature, "application/x-vnd.Tarnwick.Sfast");
    strcpy(signature, "left over");
    LibGetAppSignature(entry_ref(0, 0, "notes", dir.Str()), signature);
    EXPECT_STREQ(signature, "");
    strcpy(signature, "left over");
    LibGetAppSignature(entry_ref(), signature);
    EXPECT_STREQ(signature, "");
}

TEST(ResourceHelpers, ValuesOnlyOfExactlyTheirSize)
{
    TempDir dir;
    std::string path = (dir / "file").string();
    stowtest::WriteFile(path, "data");
    {
        BResources resources(path.c_str());
        const uint8 color[4] = {10, 20, 30, 255};
        const float edges[4] = {1.5f, 2, 100, 200.25f};
        const int8 small = -7;
        const int32 number = -100000;
        const uint8 yes = 1;
        ASSERT_EQ(resources.AddResource('RGBC', 1, color, 4), B_OK);
        ASSERT_EQ(resources.AddResource('RGBC', 2, color, 3), B_OK);
        ASSERT_EQ(resources.AddResource('RECT', 1, edges, 16), B_OK);
        ASSERT_EQ(resources.AddResource('RECT', 2, edges, 12), B_OK);
        ASSERT_EQ(resources.AddResource('BYTE', 1, &small, 1), B_OK);
        ASSERT_EQ(resources.AddResource('LONG', 1, &number, 4), B_OK);
        ASSERT_EQ(resources.AddResource('LONG', 2, &number, 2), B_OK);
        ASSERT_EQ(resources.AddResource('BOOL', 1, &yes, 1), B_OK);
        ASSERT_EQ(resources.AddResource('BOOL', 2, "no", 2), B_OK);
        ASSERT_EQ(resources.AddResource('CSTR', 1, "hello\0junk", 10), B_OK);
        ASSERT_EQ(resources.AddResource('CSTR', 2, "", 0), B_OK);
        ASSERT_EQ(resources.AddResource('CSTR', 3, "no zero", 7), B_OK);
    }
    BResources resources(path.c_str());
    rgb_color color {1, 1, 1, 1};
    EXPECT_TRUE(LibFindRGBResource(resources, 1, color));
    EXPECT_EQ(color.red, 10);
    EXPECT_EQ(color.alpha, 255);
    color = {1, 1, 1, 1};
    EXPECT_FALSE(LibFindRGBResource(resources, 2, color));
    EXPECT_EQ(color.red, 1);
    BRect rect;
    EXPECT_TRUE(LibFindRectResource(resources, 1, rect));
    EXPECT_EQ(rect.left, 1.5f);
    EXPECT_EQ(rect.bottom, 200.25f);
    EXPECT_FALSE(LibFindRectResource(resources, 2, rect));
    signed char small = 0;
    EXPECT_TRUE(LibFindShortResource(resources, 1, small));
    EXPECT_EQ(small, -7);
    long number = 0;
    EXPECT_TRUE(LibFindLongResource(resources, 1, number));
    EXPECT_EQ(number, -100000);
    number = 3;
    EXPECT_FALSE(LibFindLongResource(resources, 2, number));
    EXPECT_FALSE(LibFindLongResource(resources, 1L << 40, number));
    EXPECT_EQ(number, 3);
    bool flag = false;
    EXPECT_TRUE(LibFindBoolResource(resources, 1, flag));
    EXPECT_TRUE(flag);
    EXPECT_FALSE(LibFindBoolResource(resources, 2, flag));

    char text[32] = "left over";
    EXPECT_TRUE(LibFindStringResource(resources, 1, text));
    EXPECT_STREQ(text, "hello");
    EXPECT_TRUE(LibFindStringResource(resources, 2, text));
    EXPECT_STREQ(text, "");
    EXPECT_TRUE(LibFindStringResource(resources, 3, text));
    EXPECT_STREQ(text, "no zero");
    strcpy(text, "left over");
    EXPECT_FALSE(LibFindStringResource(resources, 4, text));
    EXPECT_STREQ(text, "");
    char tiny[4] = {'x', 'x', 'x', 'x'};
    EXPECT_TRUE(LibFindStringResource(resources, 3, tiny, sizeof tiny));
    EXPECT_STREQ(tiny, "no ");
}
