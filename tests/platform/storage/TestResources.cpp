#include "BResources.h"
#include "ElfExtent.h"
#include "TestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;
using ResourceFormat::State;
using stowtest::TempDir;

namespace {

std::string Load(BResources& resources, type_code type, int32 id)
{
    size_t size = 0;
    const void* data = resources.LoadResource(type, id, &size);
    return data ? std::string(static_cast<const char*>(data), size) : "<none>";
}

std::string Pattern(size_t size, int seed)
{
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = char((i * 31 + size_t(seed) * 7 + i / 253) & 0xff);
    return bytes;
}

// A stripped copy of a small system program, to carry resources.
std::string StrippedProgram(const TempDir& dir)
{
    std::string path = (dir / "program").string();
    fs::copy_file("/bin/true", path);
    auto result = stowtest::Run({"/usr/bin/strip", path});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    return path;
}

} // namespace

TEST(Resources, AddFindReplaceRemoveAndNamesSurviveReopening)
{
    TempDir dir;
    std::string path = (dir / "file").string();
    stowtest::WriteFile(path, "leading bytes that are not a program");
    {
        BResources resources(path.c_str());
        ASSERT_EQ(resources.InitCheck(), B_OK);
        EXPECT_EQ(resources.ContainerState(), State::None);
        EXPECT_EQ(resources.AddResource('CSTR', 2002, "record", 6, "STK:configuration"), B_OK);
        EXPECT_EQ(resources.AddResource('RAWT', 2100, "zip", 3, "chimes.wav"), B_OK);
        EXPECT_EQ(resources.AddResource('CSTR', 7, "", 0, "empty"), B_OK);
        EXPECT_EQ(resources.AddResource('RAWT', -5, "n", 1), B_OK);
        ASSERT_EQ(resources.Sync(), B_OK);
    }
    EXPECT_EQ(stowtest::ReadFile(path).substr(0, 36), "leading bytes that are not a program");

    BResources resources(path.c_str());
    ASSERT_EQ(resources.ContainerState(), State::Valid);
    EXPECT_EQ(resources.CountResources(), 4);
    EXPECT_EQ(Load(resources, 'CSTR', 2002), "record");
    size_t size = 99;
    EXPECT_NE(resources.LoadResource('CSTR', 7, &size), nullptr); // empty, yet present
    EXPECT_EQ(size, 0u);
    EXPECT_EQ(Load(resources, 'RAWT', -5), "n");
    EXPECT_EQ(resources.LoadResource('RAWT', 2002, &size), nullptr); // type matters
    int32 id = 0;
    EXPECT_TRUE(resources.GetResourceInfo('RAWT', "chimes.wav", &id, &size));
    EXPECT_EQ(id, 2100);
    const char* name = nullptr;
    type_code type = 0;
    EXPECT_TRUE(resources.GetResourceInfo(1, &type, &id, &name, &size));
    EXPECT_EQ(type, uint32('RAWT'));
    EXPECT_STREQ(name, "chimes.wav");
    EXPECT_TRUE(resources.GetResourceInfo('CSTR', 1, &id, &name, &size));
    EXPECT_EQ(id, 7);
    EXPECT_FALSE(resources.GetResourceInfo(4, &type, &id, &name, &size));
    EXPECT_TRUE(resources.HasResource('CSTR', "STK:configuration"));

    void* copy = resources.FindResource('CSTR', "STK:configuration", &size);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(std::string(static_cast<char*>(copy), size), "record");
    free(copy);

    // Replacing keeps one resource per type and id; removing forgets it.
    EXPECT_EQ(resources.AddResource('CSTR', 2002, "second", 6, "renamed"), B_OK);
    EXPECT_EQ(resources.RemoveResource('RAWT', 2100), B_OK);
    EXPECT_EQ(resources.RemoveResource('RAWT', 2100), B_BAD_VALUE);
    ASSERT_EQ(resources.Sync(), B_OK);
    BResources reread(path.c_str());
    EXPECT_EQ(reread.CountResources(), 3);
    EXPECT_EQ(Load(reread, 'CSTR', 2002), "second");
    EXPECT_TRUE(reread.HasResource('CSTR', "renamed"));
    EXPECT_FALSE(reread.HasResource('RAWT', 2100));
}

TEST(Resources, PiecesAtOffsetsReadsAtOffsetsAndByteRanges)
{
    TempDir dir;
    std::string path = (dir / "file").string();
    stowtest::WriteFile(path, "");
    std::string payload = Pattern(300000, 1);
    BResources resources(path.c_str());
    // The builder's way: the first piece creates, the rest go at offsets.
    ASSERT_EQ(resources.AddResource('RAWT', 2101, payload.data(), 8192, "Images"), B_OK);
    for (size_t at = 8192; at < payload.size(); at += 8192) {
        size_t piece = std::min<size_t>(8192, payload.size() - at);
        ASSERT_EQ(
            resources.WriteResource('RAWT', 2101, payload.data() + at, off_t(at), piece), B_OK);
    }
    EXPECT_EQ(resources.WriteResource('RAWT', 9999, "x", 0, 1), B_BAD_VALUE);
    off_t offset;
    size_t size;
    EXPECT_EQ(resources.GetResourceRange('RAWT', 2101, &offset, &size), B_BUSY);
    ASSERT_EQ(resources.Sync(), B_OK);

    ASSERT_EQ(resources.GetResourceRange('RAWT', 2101, &offset, &size), B_OK);
    EXPECT_EQ(size, payload.size());
    EXPECT_EQ(stowtest::ReadFile(path).substr(size_t(offset), size), payload);
    EXPECT_EQ(resources.VerifyResource('RAWT', 2101), B_OK);

    char middle[5] = {};
    ASSERT_EQ(resources.ReadResource('RAWT', 2101, middle, 150000, 4), B_OK);
    EXPECT_EQ(std::string(middle, 4), payload.substr(150000, 4));
    // A read past the end gets what there is.
    ASSERT_EQ(resources.ReadResource('RAWT', 2101, middle, off_t(payload.size() - 2), 4), B_OK);
    EXPECT_EQ(std::string(middle, 2), payload.substr(payload.size() - 2));
    EXPECT_EQ(
        resources.ReadResource('RAWT', 2101, middle, off_t(payload.size() + 1), 1), B_BAD_VALUE);

    // Changing a written resource in the middle keeps the rest.
    ASSERT_EQ(resources.WriteResource('RAWT', 2101, "ZZ", 10, 2), B_OK);
    ASSERT_EQ(resources.Sync(), B_OK);
    payload.replace(10, 2, "ZZ");
    EXPECT_EQ(Load(resources, 'RAWT', 2101), payload);
}

TEST(Resources, ExecutableKeepsRunningAndItsModeAndAttributes)
{
    TempDir dir;
    TempDir root;
    stowtest::ScopedEnv stowRoot("STOW_ROOT", root.Str());
    std::string path = StrippedProgram(dir);
    uint64 programSize = fs::file_size(path);
    BNode(path.c_str()).WriteAttr("language", B_STRING_TYPE, 0, "fr", 2);
    {
        BResources resources(path.c_str());
        ASSERT_EQ(resources.ContainerState(), State::None);
        ASSERT_EQ(
            resources.AddResource('RAWT', 2001, Pattern(5000, 2).data(), 5000, "Stowclear"), B_OK);
        ASSERT_EQ(resources.AddResource('CSTR', 2002, "cfg", 3, "STK:configuration"), B_OK);
    } // written when the object lets go of the file

    EXPECT_EQ(stowtest::Run({path}).exitCode, 0);
    struct stat st;
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_TRUE(st.st_mode & S_IXUSR);
    char language[3] = {};
    EXPECT_EQ(BNode(path.c_str()).ReadAttr("language", 0, 0, language, 2), 2);
    EXPECT_STREQ(language, "fr");

    BResources resources(path.c_str());
    ASSERT_EQ(resources.ContainerState(), State::Valid);
    EXPECT_EQ(Load(resources, 'RAWT', 2001), Pattern(5000, 2));
    off_t offset;
    ASSERT_EQ(resources.GetResourceRange('RAWT', 2001, &offset, nullptr), B_OK);
    EXPECT_GE(uint64(offset), programSize);
    BFile file(path.c_str(), B_READ_ONLY);
    EXPECT_EQ(elf_content_end(FileByteSource(file.FileDescriptor())), int64(programSize));

    // Removing every resource gives back the program byte for byte.
    ASSERT_EQ(resources.RemoveResource('RAWT', 2001), B_OK);
    ASSERT_EQ(resources.RemoveResource('CSTR', 2002), B_OK);
    ASSERT_EQ(resources.Sync(), B_OK);
    EXPECT_EQ(fs::file_size(path), programSize);
    resources.Unset(); // a file open for writing cannot be run
    EXPECT_EQ(stowtest::Run({path}).exitCode, 0);
}

TEST(Resources, TheRunningProgramReadsButRefusesWrites)
{
    char self[4096];
    ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    ASSERT_GT(length, 0);
    self[length] = '\0';
    BResources resources(self);
    ASSERT_EQ(resources.InitCheck(), B_OK);
    EXPECT_EQ(resources.AddResource('CSTR', 1, "x", 1), B_BUSY);
    EXPECT_EQ(resources.Sync(), B_OK); // nothing to write
}

TEST(Resources, CutShortContainersReadAsDamagedAndRefuseWrites)
{
    TempDir dir;
    std::string path = StrippedProgram(dir);
    uint64 programSize = fs::file_size(path);
    {
        BResources resources(path.c_str());
        resources.AddResource('RAWT', 2100, Pattern(1000, 3).data(), 1000, "item");
    }
    std::string whole = stowtest::ReadFile(path);
    for (size_t cut :
        {size_t(1), size_t(39), size_t(40), size_t(100), whole.size() - programSize - 8}) {
        stowtest::WriteFile(path, whole.substr(0, whole.size() - cut));
        BResources resources(path.c_str());
        ASSERT_EQ(resources.InitCheck(), B_OK);
        EXPECT_EQ(resources.ContainerState(), State::Damaged) << "cut " << cut;
        EXPECT_FALSE(resources.Problem().empty());
        EXPECT_EQ(resources.CountResources(), 0);
        EXPECT_EQ(resources.AddResource('CSTR', 1, "x", 1), B_BAD_DATA);
    }
    // Clobbering starts afresh right after the program.
    {
        BResources resources(path.c_str(), true);
        ASSERT_EQ(resources.AddResource('CSTR', 1, "x", 1), B_OK);
        ASSERT_EQ(resources.Sync(), B_OK);
    }
    BResources repaired(path.c_str());
    EXPECT_EQ(repaired.ContainerState(), State::Valid);
    EXPECT_EQ(Load(repaired, 'CSTR', 1), "x");
}

TEST(Resources, EveryFlippedBitIsDetectedOrHarmless)
{
    TempDir dir;
    std::string path = (dir / "file").string();
    stowtest::WriteFile(path, "");
    {
        BResources resources(path.c_str());
        resources.AddResource('CSTR', 1, "alpha", 5, "one");
        resources.AddResource('RAWT', 2, "beta!", 5, "two");
    }
    const std::string whole = stowtest::ReadFile(path);
    for (size_t at = 0; at < whole.size(); ++at) {
        for (int bit : {0, 7}) {
            std::string bytes = whole;
            bytes[at] = char(bytes[at] ^ (1 << bit));
            stowtest::WriteFile(path, bytes);
            BResources resources(path.c_str());
            ASSERT_EQ(resources.InitCheck(), B_OK);
            if (resources.ContainerState() != State::Valid)
                continue;
            // A container that still reads as sound gives the right bytes,
            // or says a resource's checksum fails.
            for (auto [type, id, text] : {std::tuple {'CSTR', 1, "alpha"}, {'RAWT', 2, "beta!"}}) {
                if (!resources.HasResource(type_code(type), id))
                    continue;
                if (resources.VerifyResource(type_code(type), id) == B_OK)
                    EXPECT_EQ(Load(resources, type_code(type), id), text) << "byte " << at;
                else
                    EXPECT_EQ(Load(resources, type_code(type), id), "<none>");
            }
        }
    }
}

TEST(Resources, UnsetAndMissingFilesFailQuietly)
{
    BResources unset;
    EXPECT_EQ(unset.InitCheck(), B_NO_INIT);
    EXPECT_EQ(unset.LoadResource('CSTR', 1, nullptr), nullptr);
    EXPECT_EQ(unset.AddResource('CSTR', 1, "x", 1), B_NO_INIT);
    char byte;
    EXPECT_EQ(unset.ReadResource('CSTR', 1, &byte, 0, 1), B_NO_INIT);
    BResources missing("/nonexistent/program");
    EXPECT_EQ(missing.InitCheck(), B_ENTRY_NOT_FOUND);
    EXPECT_FALSE(missing.HasResource('CSTR', 1));

    TempDir dir;
    std::string path = (dir / "file").string();
    stowtest::WriteFile(path, "x");
    BFile readOnly(path.c_str(), B_READ_ONLY);
    BResources resources(&readOnly);
    EXPECT_EQ(resources.AddResource('CSTR', 1, "x", 1), B_NOT_ALLOWED);
    EXPECT_EQ(resources.AddResource('CSTR', 1, nullptr, 1), B_NOT_ALLOWED);
}
