// Payload entries of an installer executable: added by the builder, listed,
// verified and extracted by stowpack, and extracted by the installer, whole
// or not at all.
#include "BNodeInfo.h"
#include "LibAppResource.h"
#include "LibNode.h"
#include "RunningExecutable.h"
#include "TestSupport.h"
#include "TreeSnapshot.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;
using stowtest::TempDir;

namespace {

std::string Pattern(size_t size, int seed)
{
    std::string bytes(size, '\0');
    uint32 state = uint32(seed) * 2654435761u + 1;
    for (size_t i = 0; i < size; ++i) {
        state = state * 1103515245u + 12345u;
        bytes[i] = char(state >> 24);
    }
    return bytes;
}

std::string StrippedProgram(const fs::path& path)
{
    fs::copy_file("/bin/true", path);
    auto result = stowtest::Run({"/usr/bin/strip", path.string()});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    return path.string();
}

// Whether one line of `text` holds every one of `parts`.
bool HasLine(const std::string& text, const std::vector<std::string>& parts)
{
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        std::string line = text.substr(start, end == std::string::npos ? end : end - start);
        bool all = true;
        for (const std::string& part : parts)
            all = all && line.find(part) != std::string::npos;
        if (all)
            return true;
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return false;
}

void SetType(const fs::path& path, const char* type)
{
    BNode node(path.c_str());
    BNodeInfo info(&node);
    EXPECT_EQ(info.SetType(type), B_OK) << path;
}

void File(const fs::path& path, const std::string& contents, mode_t mode)
{
    stowtest::WriteFile(path, contents);
    fs::permissions(path, fs::perms(mode));
    SetType(path, "text/plain");
}

// A folder item with files of several modes, an empty folder, links, names
// that a shell would trip over, attributes of several types (large ones
// included) and times in the past.
stowtest::TreeSnapshot MakeItem(const fs::path& parent, const std::string& leaf)
{
    fs::path root = parent / leaf;
    fs::create_directories(root / "sub");
    fs::create_directory(root / "empty folder");
    File(root / "plain.txt", "hello\n", 0644);
    File(root / "run me.sh", "#!/bin/sh\necho hi\n", 0755);
    File(root / "quote\"s $HOME `date` back\\slash", "odd names", 0600);
    File(root / "new\nline", "", 0444);
    File(root / "na\xc3\xafve \xe6\x97\xa5\xe6\x9c\xac.txt", "\xc3\xa9t\xc3\xa9", 0640);
    File(root / "sub" / "deep.bin", Pattern(700 * 1024, 3), 0644);
    fs::create_symlink("plain.txt", root / "link to plain");
    fs::create_symlink("../plain.txt", root / "sub" / "up");
    for (const char* folder : {"", "sub", "empty folder"})
        SetType(root / folder, "application/x-vnd.Be-directory");
    SetType(root / "link to plain", "application/x-vnd.Be-symlink");
    SetType(root / "sub" / "up", "application/x-vnd.Be-symlink");
    fs::permissions(root / "empty folder", fs::perms(0700));

    LibNode plain((root / "plain.txt").c_str());
    EXPECT_GT(plain.WriteStringAttr("InstallBy", "Stowsmith;1.3.1;"), 0);
    EXPECT_EQ(plain.WriteInt32Attr("count", 26), 4);
    EXPECT_EQ(plain.WriteBoolAttr("flag", true), 1);
    BMessage message('mESG');
    message.AddString("text", "nested \"quoted\" $text");
    LibNode((root / "sub").c_str()).WriteMessageAttr("settings", message);
    EXPECT_GT(LibNode(root.c_str()).WriteStringAttr("comment", "the item itself"), 0);
    EXPECT_GT(LibNode((root / "link to plain").c_str()).WriteStringAttr("InstallBy", "link"), 0);
    std::string large;
    while (large.size() < 100 * 1024)
        large += "a large attribute that compresses well; ";
    EXPECT_EQ(LibNode((root / "sub" / "deep.bin").c_str())
                  .WriteAttr("large", B_RAW_TYPE, 0, large.data(), large.size()),
        ssize_t(large.size()));

    stowtest::TreeSnapshot snapshot = stowtest::Snapshot(root.string());
    time_t when = 1000000000;
    for (auto& [key, node] : snapshot) {
        node.modified = when += 1000;
        node.accessed = when + 500;
    }
    stowtest::RestoreTimes(root.string(), snapshot);
    return snapshot;
}

// Keeps the attribute store and every standard folder inside a temporary
// root, and gives each test a folder of its own.
class AppResourceTest : public ::testing::Test {
protected:
    TempDir fRoot;
    stowtest::ScopedEnv fStowRoot {"STOW_ROOT", fRoot.Str()};
    stowtest::ScopedEnv fHome {"HOME", (fRoot / "home").string()};
    TempDir fDir;
    stowtest::TreeSnapshot fItem; // the item as it was archived

    // A stripped program carrying the sample item as 2100 and a plain file
    // as 2101.
    std::string Installer(const std::string& leaf = "installer")
    {
        std::string program = StrippedProgram(fDir / leaf);
        fItem = MakeItem(fDir.Path(), "Images");
        std::string item = (fDir / "Images").string();
        stowtest::WriteFile(fDir / "chimes.wav", Pattern(5000, 1));
        LibAppResource resources(program.c_str(), B_READ_WRITE);
        EXPECT_EQ(resources.InitCheck(), B_OK);
        EXPECT_TRUE(resources.AddEntry(item.c_str(), 2100, "Images", 9));
        EXPECT_TRUE(resources.AddEntry((fDir / "chimes.wav").c_str(), 2101, "chimes.wav", 0));
        EXPECT_EQ(resources.Sync(), B_OK);
        return program;
    }
};

} // namespace

TEST_F(AppResourceTest, StowpackListsVerifiesAndExtractsWhatAddEntryAndCopyResourceAdded)
{
    std::string installer = Installer();
    std::string copy = StrippedProgram(fDir / "copy");
    {
        LibAppResource source(installer.c_str(), B_READ_ONLY);
        LibAppResource target(copy.c_str(), B_READ_WRITE);
        ASSERT_EQ(source.AddResource('CSTR', 2002, "x", 1), B_NOT_ALLOWED); // read-only
        EXPECT_TRUE(source.CopyResource(2100, 'RAWT', target));
        EXPECT_TRUE(source.CopyResource(2101, 'RAWT', target));
        EXPECT_TRUE(source.CopyResource(4242, 'RAWT', target)); // missing: nothing
        EXPECT_FALSE(target.HasResource('RAWT', 4242));
        EXPECT_EQ(target.Sync(), B_OK);
    }
    // Nothing of the builder's temporary archives is left beside the programs.
    EXPECT_TRUE(stowtest::Leftovers(fDir.Str()).empty());
    for (const std::string& program : {installer, copy}) {
        EXPECT_EQ(stowtest::Run({program}).exitCode, 0); // still runs
        auto listing = stowtest::Run({stowtest::BinPath("stowpack"), "resources", program});
        EXPECT_EQ(listing.exitCode, 0) << listing.err;
        EXPECT_TRUE(HasLine(listing.out, {"'RAWT'", " 2100 ", " ok ", "\"Images\""}))
            << listing.out;
        EXPECT_TRUE(HasLine(listing.out, {"'RAWT'", " 2101 ", " ok ", "\"chimes.wav\""}))
            << listing.out;
        EXPECT_EQ(listing.out.find("BAD"), std::string::npos) << listing.out;
        auto verify = stowtest::Run({stowtest::BinPath("stowpack"), "verify", program});
        EXPECT_EQ(verify.exitCode, 0) << verify.err;
        std::string out = (fDir / "out.zip").string();
        fs::remove(out);
        auto extract = stowtest::Run(
            {stowtest::BinPath("stowpack"), "extract", program, "RAWT", "2100", out});
        EXPECT_EQ(extract.exitCode, 0) << extract.err;
        auto test = stowtest::Run({"/usr/bin/unzip", "-tq", out});
        EXPECT_EQ(test.exitCode, 0) << test.out << test.err;
    }
    EXPECT_EQ(stowtest::ReadFile(fDir / "out.zip").substr(0, 2), "PK");
}

TEST_F(AppResourceTest, AFolderItemComesBackIdentical)
{
    std::string installer = Installer();
    fs::create_directory(fDir / "product");
    std::string destination = (fDir / "product" / "Images").string();

    LibAppResource resources(installer.c_str(), B_READ_ONLY);
    ASSERT_TRUE(resources.ExtractEntry(2100, destination.c_str(), true))
        << resources.ErrorMessage();
    std::string differences = stowtest::Differences(fItem, stowtest::Snapshot(destination));
    EXPECT_TRUE(differences.empty()) << differences;
    EXPECT_TRUE(stowtest::Leftovers((fDir / "product").string()).empty());

    // A file item without a type gets the detected one; with unzip false the
    // archive itself arrives.
    std::string chimes = (fDir / "product" / "chimes").string();
    ASSERT_TRUE(resources.ExtractEntry(2101, chimes.c_str(), true));
    EXPECT_EQ(stowtest::ReadFile(chimes), stowtest::ReadFile(fDir / "chimes.wav"));
    char type[B_MIME_TYPE_LENGTH] = {};
    BNode node(chimes.c_str());
    EXPECT_EQ(BNodeInfo(&node).GetType(type), B_OK);
    EXPECT_STRNE(type, "");
    std::string archive = (fDir / "product" / "archive.zip").string();
    ASSERT_TRUE(resources.ExtractEntry(2101, archive.c_str(), false));
    size_t size = 0;
    const void* bytes = resources.LoadResource('RAWT', 2101, &size);
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(stowtest::ReadFile(archive), std::string(static_cast<const char*>(bytes), size));
}

TEST_F(AppResourceTest, MissingEntriesAndReplacedFiles)
{
    std::string installer = Installer();
    std::string destination = (fDir / "chimes.wav here").string();
    stowtest::WriteFile(destination, "old contents");
    LibAppResource resources(installer.c_str(), B_READ_ONLY);
    EXPECT_TRUE(resources.ExtractEntry(9999, destination.c_str(), true));
    EXPECT_EQ(stowtest::ReadFile(destination), "old contents");

    // An existing file is replaced; a folder with contents is not.
    ino_t before = fs::status(destination).type() == fs::file_type::regular ? 1 : 0;
    ASSERT_EQ(before, 1u);
    EXPECT_TRUE(resources.ExtractEntry(2101, destination.c_str(), true));
    EXPECT_EQ(stowtest::ReadFile(destination), stowtest::ReadFile(fDir / "chimes.wav"));
    fs::create_directories(fDir / "full" / "inside");
    EXPECT_FALSE(resources.ExtractEntry(2100, (fDir / "full").c_str(), true));
    EXPECT_TRUE(fs::exists(fDir / "full" / "inside"));
    EXPECT_TRUE(stowtest::Leftovers(fDir.Str()).empty());

    // Without a folder to put it in, nothing happens.
    EXPECT_FALSE(resources.ExtractEntry(2101, (fDir / "no" / "such").c_str(), true));

    // An unattached object does nothing and finds nothing.
    LibAppResource missing((fDir / "missing").c_str(), B_READ_ONLY);
    EXPECT_NE(missing.InitCheck(), B_OK);
    EXPECT_TRUE(missing.ExtractEntry(2100, destination.c_str(), true));
    EXPECT_EQ(missing.FindString(1), nullptr);
    EXPECT_FALSE(missing.AddEntry(destination.c_str(), 2100, "x", 9));
}

TEST_F(AppResourceTest, TwoExtractionsUseDifferentTemporaryFolders)
{
    std::string installer = Installer();
    LibAppResource resources(installer.c_str(), B_READ_ONLY);
    std::vector<std::string> seen;
    LibExtractOptions options;
    options.progress = [&](uint64, uint64) {
        for (const std::string& name : stowtest::Leftovers(fDir.Str()))
            if (std::find(seen.begin(), seen.end(), name) == seen.end())
                seen.push_back(name);
    };
    resources.SetExtractOptions(options);
    ASSERT_TRUE(resources.ExtractEntry(2101, (fDir / "first").c_str(), true));
    ASSERT_TRUE(resources.ExtractEntry(2101, (fDir / "second").c_str(), true));
    EXPECT_EQ(seen.size(), 2u);
    EXPECT_TRUE(stowtest::Leftovers(fDir.Str()).empty());
}

TEST_F(AppResourceTest, StringsAreCopiesAndEmptyOnesAreNull)
{
    std::string program = StrippedProgram(fDir / "program");
    {
        LibAppResource resources(program.c_str(), B_READ_WRITE);
        ASSERT_EQ(resources.AddResource('CSTR', 1, "hello", 6, "en:1001"), B_OK);
        ASSERT_EQ(resources.AddResource('CSTR', 2, "", 0), B_OK);
        ASSERT_EQ(resources.AddResource('CSTR', 3, "\0x", 2), B_OK);
        ASSERT_EQ(resources.AddResource('CSTR', 4, "no zero", 7), B_OK);
    }
    LibAppResource resources(program.c_str(), B_READ_ONLY);
    char* text = resources.FindString(1);
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text, "hello");
    delete[] text;
    EXPECT_EQ(resources.FindString(2), nullptr);
    EXPECT_EQ(resources.FindString(3), nullptr);
    EXPECT_EQ(resources.FindString(5), nullptr);
    text = resources.FindString(4);
    EXPECT_STREQ(text, "no zero");
    delete[] text;
}

TEST_F(AppResourceTest, DamagedPayloadsFailWithNothingLeft)
{
    std::string installer = Installer();
    std::string archive;
    off_t offset = 0;
    size_t size = 0;
    {
        LibAppResource resources(installer.c_str(), B_READ_ONLY);
        ASSERT_EQ(resources.GetResourceRange('RAWT', 2100, &offset, &size), B_OK);
        archive.assign(
            static_cast<const char*>(resources.LoadResource('RAWT', 2100, nullptr)), size);
    }
    std::string destination = (fDir / "out").string();

    // A resource whose checksum holds but whose archive is cut short or
    // has a flipped bit in the data.
    std::string cut = archive.substr(0, archive.size() / 2);
    std::string flipped = archive;
    flipped[archive.size() / 3] ^= 0x10;
    {
        LibAppResource resources(installer.c_str(), B_READ_WRITE);
        ASSERT_EQ(resources.AddResource('RAWT', 2200, cut.data(), cut.size(), "Images"), B_OK);
        ASSERT_EQ(
            resources.AddResource('RAWT', 2201, flipped.data(), flipped.size(), "Images"), B_OK);
        // Not written yet: extracted from memory, and refused all the same.
        EXPECT_FALSE(resources.ExtractEntry(2200, destination.c_str(), true));
        EXPECT_FALSE(fs::exists(destination));
    }
    LibAppResource resources(installer.c_str(), B_READ_ONLY);
    for (int32 id : {2200, 2201}) {
        EXPECT_FALSE(resources.ExtractEntry(id, destination.c_str(), true)) << id;
        EXPECT_FALSE(fs::exists(destination)) << id;
        EXPECT_STRNE(resources.ErrorMessage(), "");
    }
    resources.Unset();

    // A bit flipped in the executable: the payload's checksum fails before
    // anything is written, even an archive that is not unpacked.
    std::string bytes = stowtest::ReadFile(installer);
    bytes[size_t(offset) + size / 2] ^= 0x01;
    stowtest::WriteFile(installer, bytes);
    LibAppResource damaged(installer.c_str(), B_READ_ONLY);
    stowtest::WriteFile(destination, "kept");
    EXPECT_FALSE(damaged.ExtractEntry(2100, destination.c_str(), true));
    EXPECT_FALSE(damaged.ExtractEntry(2100, destination.c_str(), false));
    EXPECT_EQ(stowtest::ReadFile(destination), "kept");
    EXPECT_TRUE(stowtest::Leftovers(fDir.Str()).empty());
}

TEST_F(AppResourceTest, AStopMidItemLeavesNothing)
{
    std::string installer = Installer();
    LibAppResource resources(installer.c_str(), B_READ_ONLY);
    int chunks = 0;
    LibExtractOptions options;
    options.progress = [&](uint64, uint64) { ++chunks; };
    options.shouldStop = [&] { return chunks >= 1; };
    resources.SetExtractOptions(options);
    std::string destination = (fDir / "stopped").string();
    EXPECT_FALSE(resources.ExtractEntry(2100, destination.c_str(), true));
    EXPECT_GE(chunks, 1);
    EXPECT_FALSE(fs::exists(destination));
    chunks = 0;
    EXPECT_FALSE(resources.ExtractEntry(2100, destination.c_str(), false));
    EXPECT_FALSE(fs::exists(destination));
    EXPECT_TRUE(stowtest::Leftovers(fDir.Str()).empty());
}

TEST_F(AppResourceTest, TheRunningProgramOpensForReadingWhenWritingIsAsked)
{
    std::string self;
    ASSERT_EQ(get_running_executable_path(self), B_OK);
    LibAppResource resources(B_READ_WRITE);
    EXPECT_EQ(resources.InitCheck(), B_OK);
    EXPECT_TRUE(resources.ExtractEntry(2100, (fDir / "x").c_str(), true)); // carries none
    EXPECT_NE(resources.AddResource('CSTR', 1, "x", 1), B_OK);
    EXPECT_FALSE(resources.AddEntry(self.c_str(), 2100, "self", 0));
    EXPECT_TRUE(stowtest::Leftovers(fs::path(self).parent_path().string()).empty());

    // Opened through the running program's path as tests set it.
    std::string installer = Installer();
    set_running_executable_path(installer.c_str());
    LibAppResource own(B_READ_ONLY);
    set_running_executable_path(nullptr);
    EXPECT_TRUE(own.HasResource('RAWT', 2100));
}

TEST_F(AppResourceTest, AStopThatUnwindsLeavesNothingEither)
{
    std::string installer = Installer();
    LibAppResource resources(installer.c_str(), B_READ_ONLY);
    struct Unwind { };
    int chunks = 0;
    LibExtractOptions options;
    options.progress = [&](uint64, uint64) { ++chunks; };
    // As a killed thread's cancellation point does.
    options.shouldStop = [&]() -> bool {
        if (chunks >= 1)
            throw Unwind();
        return false;
    };
    resources.SetExtractOptions(options);
    std::string destination = (fDir / "unwound").string();
    auto openFiles = [] {
        return std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator());
    };
    auto before = openFiles();
    EXPECT_THROW(resources.ExtractEntry(2100, destination.c_str(), true), Unwind);
    EXPECT_EQ(openFiles(), before);
    EXPECT_FALSE(fs::exists(destination));
    EXPECT_TRUE(stowtest::Leftovers(fDir.Str()).empty());
}
