#include "AttributeStore.h"
#include "BNode.h"
#include "BNodeInfo.h"
#include "NodeAttributes.h"
#include "TestSupport.h"

#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using stowtest::TempDir;

namespace {

std::string ReadWhole(const BNode& node, const char* name, type_code* type = nullptr)
{
    attr_info info;
    if (node.GetAttrInfo(name, &info) != B_OK)
        return "<missing>";
    if (type)
        *type = info.type;
    std::string data(size_t(info.size), '\0');
    ssize_t read = node.ReadAttr(name, info.type, 0, data.data(), data.size());
    return read == info.size ? data : "<short read>";
}

std::vector<std::string> Names(BNode& node)
{
    std::vector<std::string> names;
    char name[B_ATTR_NAME_LENGTH];
    node.RewindAttrs();
    while (node.GetNextAttrName(name) == B_OK)
        names.push_back(name);
    std::sort(names.begin(), names.end());
    return names;
}

// Every test keeps the attribute store inside its own temporary root.
class NodeAttributes : public ::testing::TestWithParam<const char*> {
protected:
    TempDir fRoot;
    stowtest::ScopedEnv fStowRoot {"STOW_ROOT", fRoot.Str()};
    TempDir fDir;

    // A file, a folder, a symbolic link or a fifo (which the kernel keeps no
    // user attributes on either), by the test's parameter.
    std::string MakeNode(const std::string& leaf, const std::string& kind)
    {
        fs::path path = fDir / leaf;
        if (kind == "file") {
            stowtest::WriteFile(path, "contents");
        } else if (kind == "folder") {
            fs::create_directory(path);
        } else if (kind == "fifo") {
            EXPECT_EQ(mkfifo(path.c_str(), 0600), 0);
        } else {
            stowtest::WriteFile(fDir / (leaf + ".target"), "target");
            fs::create_symlink(leaf + ".target", path);
        }
        return path.string();
    }
};

} // namespace

TEST_P(NodeAttributes, EveryTypeRoundTrips)
{
    std::string path = MakeNode("node", GetParam());
    BNode node(path.c_str());
    ASSERT_EQ(node.InitCheck(), B_OK);

    const int32 number = -123456;
    const std::string flattened("FOB1\0\x01\x02 binary \xff", 15);
    struct Case {
        const char* name;
        type_code type;
        std::string data;
    } cases[] = {
        {"InstallBy", B_STRING_TYPE, "Product;1.0;2024-01-02;Maker;help@example.com;"},
        {"empty", B_STRING_TYPE, ""},
        {"flag", B_BOOL_TYPE, std::string(1, '\1')},
        {"number", B_INT32_TYPE, std::string(reinterpret_cast<const char*>(&number), 4)},
        {"message", B_RAW_TYPE, flattened},
        {"look-alike", B_STRING_TYPE, std::string("\0STT\0\0\0\0text", 12)},
        {"BEOS:TYPE", B_MIME_TYPE, std::string("text/plain\0", 11)},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(
            node.WriteAttr(c.name, c.type, 0, c.data.data(), c.data.size()), ssize_t(c.data.size()))
            << c.name;
    }
    BNode again(path.c_str());
    for (const Case& c : cases) {
        type_code type = 0;
        EXPECT_EQ(ReadWhole(again, c.name, &type), c.data) << c.name;
        EXPECT_EQ(type, c.type) << c.name;
    }
    EXPECT_EQ(Names(again),
        (std::vector<std::string> {
            "BEOS:TYPE", "InstallBy", "empty", "flag", "look-alike", "message", "number"}));

    // The link's target is untouched: a link's attributes are its own.
    if (std::string(GetParam()) == "link") {
        BNode target((path + ".target").c_str());
        EXPECT_TRUE(Names(target).empty());
    }
}

TEST_P(NodeAttributes, WritingReplacesTypeAndSizeAndRemoveForgets)
{
    std::string path = MakeNode("node", GetParam());
    BNode node(path.c_str());
    ASSERT_EQ(node.WriteAttr("tag", B_STRING_TYPE, 0, "a longer text", 13), 13);
    bool value = true;
    ASSERT_EQ(node.WriteAttr("tag", B_BOOL_TYPE, 0, &value, 1), 1);
    attr_info info;
    ASSERT_EQ(node.GetAttrInfo("tag", &info), B_OK);
    EXPECT_EQ(info.type, uint32(B_BOOL_TYPE));
    EXPECT_EQ(info.size, 1);

    EXPECT_EQ(node.RemoveAttr("tag"), B_OK);
    EXPECT_EQ(node.GetAttrInfo("tag", &info), B_ENTRY_NOT_FOUND);
    char byte;
    EXPECT_EQ(node.ReadAttr("tag", B_BOOL_TYPE, 0, &byte, 1), B_ENTRY_NOT_FOUND);
    EXPECT_EQ(node.RemoveAttr("tag"), B_ENTRY_NOT_FOUND);
    EXPECT_TRUE(Names(node).empty());
}

TEST_P(NodeAttributes, PiecesWrittenAtOffsetsAssembleAndLargeValuesFit)
{
    std::string path = MakeNode("node", GetParam());
    BNode node(path.c_str());
    // Larger than any extended attribute may be: kept in the store.
    std::string big(200000, '\0');
    for (size_t i = 0; i < big.size(); ++i)
        big[i] = char(i * 7 + i / 256);
    for (size_t at = 0; at < big.size(); at += 8192) {
        size_t piece = std::min<size_t>(8192, big.size() - at);
        ASSERT_EQ(node.WriteAttr("archive", B_RAW_TYPE, off_t(at), big.data() + at, piece),
            ssize_t(piece));
    }
    EXPECT_EQ(ReadWhole(node, "archive"), big);
    char middle[4];
    ASSERT_EQ(node.ReadAttr("archive", B_RAW_TYPE, 100000, middle, 4), 4);
    EXPECT_EQ(std::string(middle, 4), big.substr(100000, 4));
    EXPECT_EQ(node.ReadAttr("archive", B_RAW_TYPE, 300000, middle, 4), 0);

    // A gap before a later piece reads as zeros.
    ASSERT_EQ(node.WriteAttr("gap", B_RAW_TYPE, 3, "xy", 2), 2);
    EXPECT_EQ(ReadWhole(node, "gap"), std::string("\0\0\0xy", 5));

    // Replacing the large value by a small one leaves nothing behind.
    ASSERT_EQ(node.WriteAttr("archive", B_STRING_TYPE, 0, "small", 5), 5);
    EXPECT_EQ(ReadWhole(node, "archive"), "small");
    ASSERT_EQ(node.RemoveAttr("archive"), B_OK);
    ASSERT_EQ(node.RemoveAttr("gap"), B_OK);
    struct stat st;
    ASSERT_EQ(node.GetStat(&st), B_OK);
    std::vector<AttributeStore::RecordSummary> records;
    ASSERT_EQ(AttributeStore::ListVolume(st.st_dev, records), B_OK);
    EXPECT_TRUE(records.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, NodeAttributes, ::testing::Values("file", "folder", "link", "fifo"));

TEST_F(NodeAttributes, StandardToolsReadTheTagAndTheFileType)
{
    std::string path = MakeNode("tagged file", "file");
    const std::string tag = "Stow Demo;1.2;2024-05-06;Tarn & Co;help@example.com;";
    BNode node(path.c_str());
    ASSERT_EQ(
        node.WriteAttr("InstallBy", B_STRING_TYPE, 0, tag.data(), tag.size()), ssize_t(tag.size()));
    BNodeInfo info(&node);
    ASSERT_EQ(info.SetType("text/plain"), B_OK);

    auto result
        = stowtest::Run({"/usr/bin/getfattr", "--only-values", "-n", "user.InstallBy", path});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, tag);
    result = stowtest::Run({"/usr/bin/getfattr", "-n", "user.InstallBy", path});
    EXPECT_NE(result.out.find("user.InstallBy=\"" + tag + "\""), std::string::npos) << result.out;
    result = stowtest::Run({"/usr/bin/getfattr", "--only-values", "-n", "user.mime_type", path});
    EXPECT_EQ(result.out, "text/plain");

    // And what standard tools write, we read.
    result = stowtest::Run({"/usr/bin/setfattr", "-n", "user.mime_type", "-v", "image/png", path});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    char type[B_MIME_TYPE_LENGTH];
    ASSERT_EQ(info.GetType(type), B_OK);
    EXPECT_STREQ(type, "image/png");
    ASSERT_EQ(info.SetType(nullptr), B_OK);
    EXPECT_EQ(info.GetType(type), B_ENTRY_NOT_FOUND);
}

TEST_F(NodeAttributes, LinkAttributesPersistAcrossProcesses)
{
    std::string path = MakeNode("link", "link");
    pid_t child = fork();
    if (child == 0) {
        BNode node(path.c_str());
        ssize_t wrote = node.WriteAttr("InstallBy", B_STRING_TYPE, 0, "from child", 10);
        _exit(wrote == 10 ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    BNode node(path.c_str());
    EXPECT_EQ(ReadWhole(node, "InstallBy"), "from child");

    // A volume scan finds the tagged link from the store alone.
    struct stat st;
    ASSERT_EQ(lstat(path.c_str(), &st), 0);
    std::vector<AttributeStore::RecordSummary> records;
    ASSERT_EQ(AttributeStore::ListVolume(st.st_dev, records), B_OK);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].path, path);
    EXPECT_EQ(records[0].names, std::vector<std::string> {"InstallBy"});
    EXPECT_EQ(AttributeStore::Folder().rfind(fRoot.Str(), 0), 0u);
}

TEST_F(NodeAttributes, StoreStaysInsideTheTrialRootWhateverTheHomeSays)
{
    // The store resolves its place as the folder table does: ".." is taken
    // off, and the result always lies inside the root. The root lies deep
    // enough in the test's folder that a climb would still land in it.
    fs::path root = fRoot / "a/b/root";
    fs::create_directories(root);
    stowtest::ScopedEnv trial("STOW_ROOT", root.string());
    for (const char* home : {"/../escape_home", "/home/../../escape_home"}) {
        stowtest::ScopedEnv escape("HOME", home);
        stowtest::ScopedEnv data("XDG_DATA_HOME", "");
        EXPECT_EQ(AttributeStore::Folder(),
            root.string() + "/escape_home/.local/share/Stowfast/attributes");
        BNode node(MakeNode(std::string("link") + std::to_string(strlen(home)), "link").c_str());
        EXPECT_EQ(node.WriteAttr("InstallBy", B_STRING_TYPE, 0, "tag", 3), 3);
        EXPECT_EQ(ReadWhole(node, "InstallBy"), "tag");
    }
    stowtest::ScopedEnv data("XDG_DATA_HOME", "/../../share");
    EXPECT_EQ(AttributeStore::Folder(), root.string() + "/share/Stowfast/attributes");
    for (const auto& entry : fs::recursive_directory_iterator(fRoot.Path())) {
        std::string relative = fs::relative(entry.path(), fRoot.Path()).string();
        EXPECT_TRUE(relative == "a" || relative == "a/b" || relative.rfind("a/b/root", 0) == 0)
            << relative;
    }
}

TEST_F(NodeAttributes, StaleRecordNeverAttachesToALaterNode)
{
    std::string path = MakeNode("link", "link");
    AttributeStore::NodeKey key;
    ASSERT_EQ(AttributeStore::KeyForPath(path, key), B_OK);
    // A record left by an earlier node of the same inode number.
    AttributeStore::NodeKey earlier = key;
    earlier.stampNanoseconds = (key.stampNanoseconds + 1) % 1000000000;
    earlier.stampSeconds -= 1;
    ASSERT_EQ(AttributeStore::Put(earlier, path, {"InstallBy", B_STRING_TYPE, "old"}), B_OK);
    BNode node(path.c_str());
    EXPECT_EQ(ReadWhole(node, "InstallBy"), "<missing>");
    EXPECT_TRUE(Names(node).empty());
    // Writing replaces the stale record rather than merging with it.
    ASSERT_EQ(node.WriteAttr("other", B_STRING_TYPE, 0, "new", 3), 3);
    EXPECT_EQ(Names(node), std::vector<std::string> {"other"});

    // A real reuse: delete tagged links and make new ones until the inode
    // number comes back (file systems usually hand it out again at once).
    ASSERT_EQ(node.WriteAttr("InstallBy", B_STRING_TYPE, 0, "old", 3), 3);
    for (int attempt = 0; attempt < 50; ++attempt) {
        fs::remove(path);
        fs::create_symlink("elsewhere", path);
        struct stat st;
        ASSERT_EQ(lstat(path.c_str(), &st), 0);
        BNode fresh(path.c_str());
        if (st.st_ino == key.inode) {
            EXPECT_EQ(ReadWhole(fresh, "InstallBy"), "<missing>");
            return;
        }
        ASSERT_EQ(fresh.WriteAttr("InstallBy", B_STRING_TYPE, 0, "old", 3), 3);
        key.inode = st.st_ino;
    }
}

TEST_F(NodeAttributes, CopiesCarryEveryAttributeBetweenKindsAndVolumes)
{
    std::string file = MakeNode("file", "file");
    std::string link = MakeNode("link", "link");
    BNode from(file.c_str());
    int32 number = 7;
    from.WriteAttr("InstallBy", B_STRING_TYPE, 0, "tag", 3);
    from.WriteAttr("number", B_INT32_TYPE, 0, &number, 4);
    BNodeInfo(&from).SetType("application/x-test");
    BNode to(link.c_str());
    to.WriteAttr("kept", B_STRING_TYPE, 0, "k", 1);
    ASSERT_EQ(copy_node_attributes(from, to), B_OK);
    EXPECT_EQ(Names(to), (std::vector<std::string> {"BEOS:TYPE", "InstallBy", "kept", "number"}));
    type_code type;
    EXPECT_EQ(ReadWhole(to, "number", &type), std::string(reinterpret_cast<char*>(&number), 4));
    EXPECT_EQ(type, uint32(B_INT32_TYPE));

    // Onto another file system (a tmpfs) and back.
    if (!fs::is_directory("/dev/shm"))
        GTEST_SKIP() << "no /dev/shm tmpfs to copy across";
    stowtest::ScopedEnv tmp("TMPDIR", "/dev/shm");
    TempDir other;
    stowtest::WriteFile(other / "copy", "x");
    BNode far((other / "copy").c_str());
    ASSERT_EQ(copy_node_attributes(to, far), B_OK);
    EXPECT_EQ(ReadWhole(far, "InstallBy"), "tag");
    EXPECT_EQ(ReadWhole(far, "BEOS:TYPE"), std::string("application/x-test\0", 19));
}

TEST_F(NodeAttributes, BadCallsFailCleanly)
{
    BNode unset;
    char buffer[B_ATTR_NAME_LENGTH];
    EXPECT_EQ(unset.InitCheck(), B_NO_INIT);
    EXPECT_EQ(unset.WriteAttr("a", B_STRING_TYPE, 0, "x", 1), B_NO_INIT);
    EXPECT_EQ(unset.GetNextAttrName(buffer), B_NO_INIT);
    EXPECT_EQ(BNode((fDir / "missing").c_str()).InitCheck(), B_ENTRY_NOT_FOUND);

    std::string path = MakeNode("file", "file");
    BNode node(path.c_str());
    std::string longName(251, 'n');
    EXPECT_EQ(node.WriteAttr(longName.c_str(), B_STRING_TYPE, 0, "x", 1), B_NAME_TOO_LONG);
    EXPECT_EQ(node.WriteAttr("a", B_STRING_TYPE, -1, "x", 1), B_BAD_VALUE);
    EXPECT_EQ(node.WriteAttr("a", B_STRING_TYPE, off_t(1) << 40, "x", 1), B_BAD_VALUE);
    // Relative paths name the same node as absolute ones.
    fs::path old = fs::current_path();
    fs::current_path(fDir.Path());
    BNode relative("file");
    fs::current_path(old);
    EXPECT_TRUE(relative == node);
    EXPECT_STREQ(relative.Path(), path.c_str());
}
