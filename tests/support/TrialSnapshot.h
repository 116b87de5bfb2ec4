// What a trial root holds after an installation, to compare two of them: the
// demo product installed by two front ends must leave the same files, links,
// tags and log lines.
#pragma once

#include "BNode.h"
#include "RecordKeys.h"
#include "TestSupport.h"

#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <string>

namespace stowtest {

// The InstallBy tag of the node itself (a link's from the attribute store).
inline std::string InstallTagOf(const std::filesystem::path& path)
{
    BNode node(path.c_str());
    char value[512];
    ssize_t length = node.ReadAttr(kInstallByAttr, B_STRING_TYPE, 0, value, sizeof value);
    return length > 0 ? std::string(value, size_t(length)) : std::string();
}

inline std::string WithoutRoot(std::string text, const std::filesystem::path& root)
{
    for (size_t at = text.find(root.string()); at != std::string::npos;
         at = text.find(root.string(), at))
        text.replace(at, root.string().size(), "ROOT");
    return text;
}

// Every entry of a trial root (home folder /home/demo) but the Trash, the
// attribute store and the C library: kind, tag and (for files) contents
// with the root's path neutralized. The log keeps only its lines about the
// items, the deinstaller only its presence: both name dates and sizes of
// the moment.
inline std::map<std::string, std::string> RootSnapshot(const std::filesystem::path& root)
{
    namespace fs = std::filesystem;
    // Links keep their tags in the root's attribute store.
    ScopedEnv stowRoot("STOW_ROOT", root.string());
    ScopedEnv home("HOME", "/home/demo");
    ScopedEnv data("XDG_DATA_HOME", "");
    std::map<std::string, std::string> entries;
    for (auto it = fs::recursive_directory_iterator(root); it != fs::end(it); ++it) {
        std::string relative = it->path().lexically_relative(root).string();
        if (relative.rfind("home/demo/.local/share/Trash", 0) == 0
            || relative.rfind("home/demo/.local/share/Stowfast", 0) == 0
            || relative.rfind("usr/lib", 0) == 0) {
            it.disable_recursion_pending();
            continue;
        }
        std::string entry = "[" + InstallTagOf(it->path()) + "] ";
        if (it->is_symlink()) {
            entry += "link " + WithoutRoot(fs::read_symlink(it->path()).string(), root);
        } else if (it->is_directory()) {
            entry += "folder";
        } else if (it->path().filename() == "Log") {
            std::regex item("\t\t(Installing|\t).*\n");
            std::string text = WithoutRoot(ReadFile(it->path()), root);
            for (std::sregex_iterator m(text.begin(), text.end(), item), end; m != end; ++m)
                entry += m->str();
        } else if (it->path().filename().string().find("Deinstaller") == std::string::npos) {
            entry += "file " + WithoutRoot(ReadFile(it->path()), root);
        }
        entries[relative] = entry;
    }
    return entries;
}

inline std::set<std::string> TaggedPaths(const std::map<std::string, std::string>& snapshot)
{
    std::set<std::string> tagged;
    for (const auto& [path, entry] : snapshot) {
        if (entry.rfind("[]", 0) != 0)
            tagged.insert(path);
    }
    return tagged;
}

} // namespace stowtest
