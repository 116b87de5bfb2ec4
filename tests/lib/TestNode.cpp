#include "BPath.h"
#include "FindDirectory.h"
#include "LibNode.h"
#include "TestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;
using stowtest::TempDir;

namespace {

// Every test keeps the attribute store and the standard folders inside a
// temporary root.
class NodeTest : public ::testing::Test {
protected:
    TempDir fRoot;
    stowtest::ScopedEnv fStowRoot {"STOW_ROOT", fRoot.Str()};
    stowtest::ScopedEnv fHome {"HOME", (fRoot / "home").string()};
    TempDir fDir;

    std::string File(const std::string& leaf, const std::string& contents = "contents")
    {
        std::string path = (fDir / leaf).string();
        stowtest::WriteFile(path, contents);
        return path;
    }
};

attr_info Info(const LibNode& node, const char* name)
{
    attr_info info {0, -1};
    EXPECT_EQ(node.GetAttrInfo(name, &info), B_OK) << name;
    return info;
}

} // namespace

TEST_F(NodeTest, StringsKeepTheirBytesWithoutAZeroAndStandardToolsSeeThem)
{
    std::string path = File("tagged file");
    LibNode node(path.c_str());
    const char* tag = "Stowsmith;1.3.1;21 June 2001;Tarnwick;help@tarnwick.example;";
    EXPECT_EQ(node.WriteStringAttr("InstallBy", tag), ssize_t(strlen(tag)));
    attr_info info = Info(node, "InstallBy");
    EXPECT_EQ(info.type, B_STRING_TYPE);
    EXPECT_EQ(info.size, off_t(strlen(tag)));
    LibString back;
    EXPECT_EQ(node.ReadStringAttr("InstallBy", back), ssize_t(strlen(tag)));
    EXPECT_STREQ(back, tag);

    auto result
        = stowtest::Run({"/usr/bin/getfattr", "--only-values", "-n", "user.InstallBy", path});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, tag);

    // Empty and missing texts.
    EXPECT_EQ(node.WriteStringAttr("empty", nullptr), 0);
    EXPECT_EQ(Info(node, "empty").size, 0);
    back = "left over";
    EXPECT_EQ(node.ReadStringAttr("empty", back), 0);
    EXPECT_STREQ(back, "");
    back = "left over";
    EXPECT_LT(node.ReadStringAttr("missing", back), 0);
    EXPECT_STREQ(back, "");
}

TEST_F(NodeTest, EachWriteReplacesTypeAndSize)
{
    LibNode node(File("a").c_str());
    ASSERT_GT(node.WriteStringAttr("value", "a long text to be replaced"), 0);
    EXPECT_EQ(node.WriteBoolAttr("value", true), 1);
    attr_info info = Info(node, "value");
    EXPECT_EQ(info.type, B_BOOL_TYPE);
    EXPECT_EQ(info.size, 1);
    bool flag = false;
    EXPECT_TRUE(node.ReadBoolAttr("value", flag));
    EXPECT_TRUE(flag);
    EXPECT_EQ(node.WriteBoolAttr("value", false), 1);
    EXPECT_TRUE(node.ReadBoolAttr("value", flag));
    EXPECT_FALSE(flag);

    EXPECT_EQ(node.WriteInt32Attr("value", -123456), 4);
    info = Info(node, "value");
    EXPECT_EQ(info.type, B_INT32_TYPE);
    EXPECT_EQ(info.size, 4);
    long number = 0;
    EXPECT_TRUE(node.ReadInt32Attr("value", number));
    EXPECT_EQ(number, -123456);
    // A bool is one byte: the four-byte number is no bool.
    flag = true;
    EXPECT_FALSE(node.ReadBoolAttr("value", flag));
    EXPECT_TRUE(flag);
}

TEST_F(NodeTest, NumbersAndBoolsOfMissingOrWrongAttributesLeaveTheValue)
{
    LibNode node(File("a").c_str());
    long number = 77;
    EXPECT_TRUE(node.ReadInt32Attr("missing", number));
    EXPECT_EQ(number, 77);
    ASSERT_GT(node.WriteStringAttr("text", "xy"), 0);
    EXPECT_TRUE(node.ReadInt32Attr("text", number));
    EXPECT_EQ(number, 77);
    bool flag = true;
    EXPECT_FALSE(node.ReadBoolAttr("missing", flag));
    EXPECT_TRUE(flag);
    // Values beyond 32 bits are refused, not cut.
    EXPECT_EQ(node.WriteInt32Attr("big", 1L << 40), B_BAD_VALUE);
    EXPECT_EQ(node.WriteInt32Attr("big", INT32_MIN), 4);
    EXPECT_TRUE(node.ReadInt32Attr("big", number));
    EXPECT_EQ(number, INT32_MIN);
}

TEST_F(NodeTest, MessagesRoundTripAndDamagedOnesAreRefused)
{
    LibNode node(File("a").c_str());
    BMessage message('tEST');
    message.AddString("name", "Stowsmith");
    message.AddInt32("count", 26);
    BMessage nested('nEST');
    nested.AddBool("flag", true);
    message.AddMessage("nested", &nested);
    node.WriteMessageAttr("settings", message);
    EXPECT_EQ(Info(node, "settings").type, B_RAW_TYPE);

    BMessage back;
    ASSERT_TRUE(node.ReadMessageAttr("settings", back));
    EXPECT_EQ(back.what, uint32('tEST'));
    EXPECT_STREQ(back.FindString("name"), "Stowsmith");
    EXPECT_EQ(back.Flatten(), message.Flatten());

    EXPECT_FALSE(node.ReadMessageAttr("missing", back));
    ASSERT_GT(node.WriteStringAttr("settings", "not a message"), 0);
    EXPECT_FALSE(node.ReadMessageAttr("settings", back));
}

TEST_F(NodeTest, LinksFoldersAndUnsetNodes)
{
    std::string target = File("target");
    std::string link = (fDir / "link").string();
    fs::create_symlink(target, link);
    {
        LibNode node(link.c_str());
        EXPECT_GT(node.WriteStringAttr("InstallBy", "on the link"), 0);
        EXPECT_EQ(node.WriteInt32Attr("n", 5), 4);
    }
    LibNode node(link.c_str());
    LibString text;
    EXPECT_GT(node.ReadStringAttr("InstallBy", text), 0);
    EXPECT_STREQ(text, "on the link");
    long number = 0;
    EXPECT_TRUE(node.ReadInt32Attr("n", number));
    EXPECT_EQ(number, 5);
    // The link's attributes are its own, not its target's.
    EXPECT_LT(LibNode(target.c_str()).ReadStringAttr("InstallBy", text), 0);

    fs::create_directory(fDir / "folder");
    LibNode folder((fDir / "folder").c_str());
    EXPECT_EQ(folder.WriteBoolAttr("done", true), 1);

    LibNode unset;
    EXPECT_EQ(unset.WriteStringAttr("x", "y"), B_NO_INIT);
    EXPECT_EQ(LibNode((fDir / "missing").c_str()).WriteBoolAttr("x", true), B_ENTRY_NOT_FOUND);
}

TEST_F(NodeTest, LargeValuesGoToTheStore)
{
    std::string path = File("a");
    LibNode node(path.c_str());
    std::string big(300 * 1024, 'q');
    big[1000] = '\0'; // a text ends at its first zero
    ASSERT_EQ(node.WriteAttr("big", B_RAW_TYPE, 0, big.data(), big.size()), ssize_t(big.size()));
    LibString text;
    EXPECT_EQ(node.ReadStringAttr("big", text), ssize_t(big.size()));
    EXPECT_EQ(text.Length(), 1000);
    // The extended attribute holds only the store's marker.
    auto result = stowtest::Run({"/usr/bin/getfattr", "--only-values", "-n", "user.big", path});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out.substr(0, 4), std::string("\0STS", 4));
    EXPECT_LT(result.out.size(), 64u);
}

TEST_F(NodeTest, FilesCompressIntoAttributesAndComeBack)
{
    std::string holder = File("holder");
    std::string document = File("Read Me \"now\".txt", std::string(200 * 1024, 'z') + "end");
    LibNode node(holder.c_str());
    ASSERT_TRUE(node.CompressFile("Read Me \"now\".txt", document.c_str()));
    attr_info info = Info(node, "Read Me \"now\".txt");
    EXPECT_EQ(info.type, B_RAW_TYPE);
    EXPECT_GT(info.size, 0);
    EXPECT_LT(info.size, 200 * 1024); // zipped
    // The temporary archive is gone.
    BPath temp;
    ASSERT_EQ(find_directory(B_COMMON_TEMP_DIRECTORY, &temp), B_OK);
    EXPECT_TRUE(fs::is_empty(temp.Path()));

    // Restored under the attribute's name: the item comes back whole.
    std::string restored = (fDir / "restored").string();
    ASSERT_TRUE(node.UncompressFile("Read Me \"now\".txt", restored.c_str(), true));
    EXPECT_EQ(stowtest::ReadFile(restored), stowtest::ReadFile(document));

    // Under another name the item is not found and nothing is placed.
    ASSERT_TRUE(node.CompressFile("other name", document.c_str()));
    std::string elsewhere = (fDir / "elsewhere").string();
    EXPECT_FALSE(node.UncompressFile("other name", elsewhere.c_str(), true));
    EXPECT_FALSE(fs::exists(elsewhere));
    // Without unzipping, the archive itself arrives.
    ASSERT_TRUE(node.UncompressFile("other name", elsewhere.c_str(), false));
    EXPECT_EQ(stowtest::ReadFile(elsewhere).substr(0, 2), "PK");

    // A missing attribute does nothing.
    EXPECT_TRUE(node.UncompressFile("missing", (fDir / "nothing").c_str(), true));
    EXPECT_FALSE(fs::exists(fDir / "nothing"));
}

TEST_F(NodeTest, FoldersCompressAndMissingPathsChangeNothing)
{
    fs::create_directories(fDir / "folder" / "empty");
    stowtest::WriteFile(fDir / "folder" / "a", "a");
    fs::create_symlink("a", fDir / "folder" / "link");
    LibNode tagged(File("a file").c_str());
    EXPECT_GT(tagged.WriteStringAttr("InstallBy", "tag"), 0);
    fs::rename(fDir / "a file", fDir / "folder" / "a file");

    std::string holder = File("holder");
    LibNode node(holder.c_str());
    ASSERT_TRUE(node.CompressFile("folder", (fDir / "folder").c_str()));
    attr_info before = Info(node, "folder");
    EXPECT_FALSE(node.CompressFile("folder", (fDir / "missing").c_str()));
    attr_info after = Info(node, "folder");
    EXPECT_EQ(after.size, before.size);

    std::string restored = (fDir / "restored").string();
    ASSERT_TRUE(node.UncompressFile("folder", restored.c_str(), true));
    EXPECT_EQ(stowtest::ReadFile(fs::path(restored) / "a"), "a");
    EXPECT_TRUE(fs::is_directory(fs::path(restored) / "empty"));
    EXPECT_EQ(fs::read_symlink(fs::path(restored) / "link"), "a");
    LibString tag;
    EXPECT_GT(LibNode((fs::path(restored) / "a file").c_str()).ReadStringAttr("InstallBy", tag), 0);
    EXPECT_STREQ(tag, "tag");

    // Over an existing file, the restored item replaces it.
    std::string file = File("existing", "old");
    ASSERT_TRUE(node.CompressFile("existing", File("source", "new").c_str()));
    EXPECT_FALSE(node.UncompressFile("existing", file.c_str(), true)); // the item is "source"
    EXPECT_EQ(stowtest::ReadFile(file), "old");
    ASSERT_TRUE(node.CompressFile("source", (fDir / "source").c_str()));
    ASSERT_TRUE(node.UncompressFile("source", file.c_str(), true));
    EXPECT_EQ(stowtest::ReadFile(file), "new");
}
