// Helpers of the deinstaller's tests: the product key they search for, and
// tagging an entry with it and reading the tag back.
#pragma once

#include "BMessage.h"
#include "BNode.h"
#include "DeinstallSearch.h"
#include "Inbox.h"
#include "Sandbox.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

namespace stowtest {

inline const std::string kKey = "Demo;1.0;2024-01-01;Tarnwick;help@example.com;";

// Writes the InstallBy tag on the node itself (a link keeps it in the store).
inline void Tag(const std::filesystem::path& path, const std::string& value = kKey)
{
    BNode node(path.c_str());
    ASSERT_EQ(node.InitCheck(), B_OK) << path;
    ASSERT_EQ(node.WriteAttr(kInstallByAttr, B_STRING_TYPE, 0, value.data(), value.size()),
        ssize_t(value.size()))
        << path;
}

// The InstallBy tag of the node itself (a link's from the store), or "".
inline std::string TagOf(const std::filesystem::path& path)
{
    BNode node(path.c_str());
    char value[512];
    ssize_t length = node.ReadAttr(kInstallByAttr, B_STRING_TYPE, 0, value, sizeof value);
    return length > 0 ? std::string(value, size_t(length)) : std::string();
}

// Where the entries in the Trash `trash` came from, after their .trashinfo
// files, relative to `root`.
inline std::set<std::string> TrashedOriginals(
    const std::filesystem::path& trash, const std::filesystem::path& root)
{
    std::set<std::string> originals;
    if (!std::filesystem::exists(trash / "info"))
        return originals;
    for (const auto& entry : std::filesystem::directory_iterator(trash / "info")) {
        std::string text = ReadFile(entry.path());
        size_t at = text.find("\nPath=");
        EXPECT_NE(at, std::string::npos) << entry.path();
        std::string encoded = text.substr(at + 6, text.find('\n', at + 6) - at - 6);
        std::string decoded;
        for (size_t i = 0; i < encoded.size(); ++i) {
            bool escaped = encoded[i] == '%' && i + 2 < encoded.size();
            decoded
                += escaped ? char(std::stoi(encoded.substr(i + 1, 2), nullptr, 16)) : encoded[i];
            i += escaped ? 2 : 0;
        }
        originals.insert(std::filesystem::path(decoded).lexically_relative(root).string());
    }
    return originals;
}

inline std::vector<std::string> Paths(LibStringList& list)
{
    std::vector<std::string> result;
    for (LibString* item = list.First(); item != nullptr; item = list.Next())
        result.push_back(static_cast<const char*>(*item));
    return result;
}

// A copy of Stowclear carrying a record of the test key, with a profile
// section to remove.
inline std::filesystem::path MakeDeinstaller(const std::filesystem::path& work)
{
    std::filesystem::path program = work / "Stowclear";
    std::filesystem::copy_file(BinPath("Stowclear"), program);
    WriteFile(work / "record.json", R"({"what": 0, "fields": [
 {"name": "app_name", "type": "CSTR", "values": ["Demo"]},
 {"name": "version", "type": "CSTR", "values": ["1.0"]},
 {"name": "release_date", "type": "CSTR", "values": ["2024-01-01"]},
 {"name": "company", "type": "CSTR", "values": ["Tarnwick"]},
 {"name": "support_email", "type": "CSTR", "values": ["help@example.com"]},
 {"name": "edit_profile", "type": "BOOL", "values": [true]},
 {"name": "edit_profile_tag", "type": "CSTR", "values": ["DEMO"]}]})");
    EXPECT_EQ(stowtest::Run({BinPath("stowpack"), "message", "encode",
                                (work / "record.json").string(), (work / "record.bin").string()})
                  .exitCode,
        0);
    EXPECT_EQ(stowtest::Run({BinPath("stowpack"), "add", program.string(), "CSTR", "2002",
                                "STK:configuration", (work / "record.bin").string()})
                  .exitCode,
        0);
    return program;
}

} // namespace stowtest
