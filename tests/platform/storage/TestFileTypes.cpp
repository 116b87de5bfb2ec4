#include "BNode.h"
#include "BNodeInfo.h"
#include "FileTypes.h"
#include "TestSupport.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

using stowtest::TempDir;
using stowtest::WriteFile;
namespace fs = std::filesystem;

namespace {

std::string TypeAttribute(const fs::path& path)
{
    char value[256];
    ssize_t length = lgetxattr(path.c_str(), "user.mime_type", value, sizeof(value));
    return length < 0 ? "<none>" : std::string(value, size_t(length));
}

// The head of a 64-bit little-endian ELF file of `type` with one program
// header of `segment`.
std::string ElfHead(uint16 type, uint32 segment)
{
    std::string head(64 + 56, '\0');
    head.replace(0, 4,
        "\x7f"
        "ELF");
    head[4] = 2; // 64-bit
    head[5] = 1; // little-endian
    head[16] = char(type);
    head[32] = 64; // program headers right after the file header
    head[54] = 56;
    head[56] = 1;
    head[64] = char(segment);
    return head;
}

} // namespace

TEST(FileTypes, ContentDecidesTheType)
{
    EXPECT_EQ(mime_type_of_content(ElfHead(2, 1), false), kExecutableMimeType);
    EXPECT_EQ(mime_type_of_content(ElfHead(3, 3), false), kExecutableMimeType); // PIE
    EXPECT_EQ(mime_type_of_content(ElfHead(3, 1), true), "application/x-sharedlib");
    EXPECT_EQ(mime_type_of_content(ElfHead(1, 0), false), "application/x-object");
    EXPECT_EQ(mime_type_of_content("\x7f"
                                   "ELF",
                  true),
        "application/octet-stream");
    EXPECT_EQ(mime_type_of_content("#!/bin/sh\necho hi\n", true), "application/x-shellscript");
    EXPECT_EQ(mime_type_of_content("#! /usr/bin/env bash\n", false), "application/x-shellscript");
    EXPECT_EQ(mime_type_of_content("#!/usr/bin/python3 -u\n", false), "text/x-python");
    EXPECT_EQ(mime_type_of_content("#!/usr/bin/awk -f\n", false), "text/plain");
    EXPECT_EQ(mime_type_of_content("plain words\n", false), "text/plain");
    EXPECT_EQ(mime_type_of_content("caf\xc3\xa9", false), "text/plain");
    EXPECT_EQ(mime_type_of_content("cut \xe6\x97", false), "text/plain");
    EXPECT_EQ(mime_type_of_content("latin1 caf\xe9!", false), "application/octet-stream");
    EXPECT_EQ(mime_type_of_content(std::string("a\0b", 3), false), "application/octet-stream");
    EXPECT_EQ(mime_type_of_content("", false), "text/plain");
    EXPECT_EQ(mime_type_of_content("PK\x03\x04rest", false), "application/zip");
    EXPECT_EQ(mime_type_of_content("\x89PNG\r\n\x1a\nxxxx", false), "image/png");
    EXPECT_EQ(mime_type_of_content("<?xml version=\"1.0\"?>", false), "text/xml");
}

TEST(FileTypes, EntriesOnDiskAndTheTypeAttribute)
{
    TempDir temp;
    stowtest::ScopedEnv root("STOW_ROOT", temp.Str() + "/root");
    fs::create_directories(temp / "item/sub");
    WriteFile(temp / "item/script", "#!/bin/sh\nexit 0\n");
    WriteFile(temp / "item/sub/readme", "read me\n");
    symlink("sub", (temp / "item/link").c_str());
    EXPECT_EQ(detect_mime_type((temp / "item").c_str()), kDirectoryMimeType);
    EXPECT_EQ(detect_mime_type((temp / "item/link").c_str()), kSymLinkMimeType);
    EXPECT_EQ(detect_mime_type((temp / "item/script").c_str()), "application/x-shellscript");
    EXPECT_EQ(detect_mime_type("/proc/self/exe"), kSymLinkMimeType);
    EXPECT_EQ(detect_mime_type("/"), kVolumeMimeType);
    EXPECT_EQ(detect_mime_type("/proc"), kVolumeMimeType);
    EXPECT_EQ(detect_mime_type("/proc/self/"), kDirectoryMimeType);
    char self[PATH_MAX];
    ssize_t length = readlink("/proc/self/exe", self, sizeof(self) - 1);
    ASSERT_GT(length, 0);
    self[length] = '\0';
    EXPECT_EQ(detect_mime_type(self), kExecutableMimeType);
    EXPECT_EQ(detect_mime_type((temp / "missing").c_str()), "");

    WriteFile(temp / "probe", "");
    if (setxattr((temp / "probe").c_str(), "user.probe", "1", 1, 0) != 0)
        GTEST_SKIP() << "the temporary folder's file system keeps no user attributes";
    // Everything below the folder gets its type; a link's target is not
    // visited through the link.
    set_mime_types((temp / "item").c_str());
    EXPECT_EQ(TypeAttribute(temp / "item"), kDirectoryMimeType);
    EXPECT_EQ(TypeAttribute(temp / "item/sub"), kDirectoryMimeType);
    EXPECT_EQ(TypeAttribute(temp / "item/script"), "application/x-shellscript");
    EXPECT_EQ(TypeAttribute(temp / "item/sub/readme"), "text/plain");
    // The link's own type, kept by the platform's attribute store.
    BNode link((temp / "item/link").c_str());
    BNodeInfo info(&link);
    char type[B_MIME_TYPE_LENGTH];
    ASSERT_EQ(info.GetType(type), B_OK);
    EXPECT_STREQ(type, kSymLinkMimeType);
    EXPECT_EQ(set_mime_types((temp / "missing").c_str()), B_ENTRY_NOT_FOUND);
}
