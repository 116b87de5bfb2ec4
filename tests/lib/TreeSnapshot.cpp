#include "TreeSnapshot.h"

#include "BNode.h"

#include <dirent.h>
#include <fcntl.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace stowtest {

namespace {

std::string ReadAll(const std::string& path)
{
    std::string data;
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return "<unreadable>";
    char buffer[65536];
    ssize_t got;
    while ((got = read(fd, buffer, sizeof buffer)) > 0)
        data.append(buffer, size_t(got));
    close(fd);
    return data;
}

std::vector<std::string> Children(const std::string& path)
{
    std::vector<std::string> names;
    if (DIR* dir = opendir(path.c_str())) {
        while (dirent* item = readdir(dir)) {
            std::string name = item->d_name;
            if (name != "." && name != "..")
                names.push_back(name);
        }
        closedir(dir);
    }
    return names;
}

void Walk(const std::string& path, const std::string& key, TreeSnapshot& snapshot)
{
    struct stat st;
    if (lstat(path.c_str(), &st) != 0)
        return;
    NodeSnapshot& node = snapshot[key];
    node.mode = st.st_mode & 07777;
    node.modified = st.st_mtime;
    node.accessed = st.st_atime;
    BNode attributes(path.c_str());
    char name[B_ATTR_NAME_LENGTH];
    while (attributes.GetNextAttrName(name) == B_OK) {
        attr_info info;
        if (attributes.GetAttrInfo(name, &info) != B_OK)
            continue;
        std::string data(size_t(info.size), '\0');
        attributes.ReadAttr(name, info.type, 0, data.data(), data.size());
        node.attributes[name] = type_code_text(info.type).text + (":" + data);
    }
    if (S_ISLNK(st.st_mode)) {
        node.kind = 'l';
        node.mode = 0; // link modes mean nothing on Linux
        char target[4096];
        ssize_t length = readlink(path.c_str(), target, sizeof target);
        node.contents.assign(target, length > 0 ? size_t(length) : 0);
    } else if (S_ISDIR(st.st_mode)) {
        node.kind = 'd';
        for (const std::string& child : Children(path))
            Walk(path + "/" + child, key.empty() ? child : key + "/" + child, snapshot);
    } else {
        node.kind = 'f';
        node.contents = ReadAll(path);
    }
}

} // namespace

bool NodeSnapshot::operator==(const NodeSnapshot& other) const
{
    return kind == other.kind && mode == other.mode && contents == other.contents
        && modified == other.modified && accessed == other.accessed
        && attributes == other.attributes;
}

TreeSnapshot Snapshot(const std::string& path)
{
    TreeSnapshot snapshot;
    Walk(path, "", snapshot);
    return snapshot;
}

void RestoreTimes(const std::string& path, const TreeSnapshot& snapshot)
{
    // Deepest first, so that setting a node's times does not move its folder's.
    for (auto it = snapshot.rbegin(); it != snapshot.rend(); ++it) {
        std::string nodePath = it->first.empty() ? path : path + "/" + it->first;
        struct timespec times[2] = {{it->second.accessed, 0}, {it->second.modified, 0}};
        utimensat(AT_FDCWD, nodePath.c_str(), times, AT_SYMLINK_NOFOLLOW);
    }
}

std::string Differences(const TreeSnapshot& expected, const TreeSnapshot& actual)
{
    std::ostringstream out;
    for (const auto& [key, node] : expected) {
        auto found = actual.find(key);
        if (found == actual.end()) {
            out << "missing: \"" << key << "\"\n";
            continue;
        }
        const NodeSnapshot& other = found->second;
        if (node.kind != other.kind)
            out << "\"" << key << "\": kind " << node.kind << " vs " << other.kind << "\n";
        if (node.mode != other.mode)
            out << "\"" << key << "\": mode " << std::oct << node.mode << " vs " << other.mode
                << std::dec << "\n";
        if (node.contents != other.contents)
            out << "\"" << key << "\": contents differ\n";
        if (node.modified != other.modified)
            out << "\"" << key << "\": modified " << node.modified << " vs " << other.modified
                << "\n";
        if (node.accessed != other.accessed)
            out << "\"" << key << "\": accessed " << node.accessed << " vs " << other.accessed
                << "\n";
        for (const auto& [name, value] : node.attributes) {
            auto attribute = other.attributes.find(name);
            if (attribute == other.attributes.end())
                out << "\"" << key << "\": attribute " << name << " missing\n";
            else if (attribute->second != value)
                out << "\"" << key << "\": attribute " << name << " differs\n";
        }
        for (const auto& [name, value] : other.attributes) {
            if (node.attributes.count(name) == 0)
                out << "\"" << key << "\": extra attribute " << name << "\n";
        }
    }
    for (const auto& [key, node] : actual) {
        if (expected.count(key) == 0)
            out << "extra: \"" << key << "\"\n";
    }
    return out.str();
}

std::vector<std::string> Leftovers(const std::string& folder)
{
    std::vector<std::string> found;
    for (const std::string& name : Children(folder)) {
        if (name.rfind(".stow", 0) == 0)
            found.push_back(name);
    }
    return found;
}

} // namespace stowtest
