// stowbench-tree: writes a tree for the volume-scan benchmark.
//
//   stowbench-tree [--seed N] [--entries N] [--tagged N] [--tagged-links N]
//                  --key TEXT --expected FILE FOLDER
//
// FOLDER/tree receives --entries entries: a tenth folders (eight to a
// folder), a twentieth symbolic links (to "..", to "/", to files that may or
// may not be beside them), the rest files, most of them empty. --tagged of
// the files and folders get the attribute InstallBy = --key, and
// --tagged-links links get it through the platform's attribute store (the
// kernel keeps no user attributes on links); run it with the STOW_ROOT the
// scan will use. Decoys that must not be found: other products' keys, the
// key in other letter case, the key with more after it, the key past 255
// bytes, and file types on a tenth of the files. FILE receives the full path
// of every entry tagged with the key, one a line.
#include "BNode.h"
#include "BenchArgs.h"
#include "BenchRandom.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr uint64_t kFanOut = 8;

struct Tree {
    std::vector<std::string> folders;
    std::vector<std::string> files;
    std::vector<std::string> links;
};

bool Fail(const std::string& what)
{
    fprintf(stderr, "stowbench-tree: %s: %s\n", what.c_str(), strerror(errno));
    return false;
}

std::string Numbered(const char* prefix, uint64_t number)
{
    char name[32];
    snprintf(name, sizeof(name), "%s-%06llu", prefix, (unsigned long long)number);
    return name;
}

bool MakeFolders(const std::string& top, uint64_t count, Tree& tree)
{
    if (mkdir(top.c_str(), 0755) != 0)
        return Fail("cannot make " + top);
    for (uint64_t j = 0; j < count; ++j) {
        const std::string& parent = j < kFanOut ? top : tree.folders[j / kFanOut - 1];
        tree.folders.push_back(parent + "/" + Numbered("dir", j));
        if (mkdir(tree.folders.back().c_str(), 0755) != 0)
            return Fail("cannot make " + tree.folders.back());
    }
    return true;
}

bool MakeFiles(uint64_t count, BenchRandom& random, Tree& tree)
{
    char text[512];
    for (uint64_t k = 0; k < count; ++k) {
        tree.files.push_back(
            tree.folders[random.Below(tree.folders.size())] + "/" + Numbered("f", k));
        size_t size = random.Below(4) == 0 ? random.Between(1, sizeof(text)) : 0;
        random.FillText(text, size);
        int fd = open(tree.files.back().c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd < 0)
            return Fail("cannot make " + tree.files.back());
        bool written = size == 0 || write(fd, text, size) == ssize_t(size);
        if (close(fd) != 0 || !written)
            return Fail("cannot write " + tree.files.back());
    }
    return true;
}

bool MakeLinks(uint64_t count, BenchRandom& random, Tree& tree)
{
    for (uint64_t m = 0; m < count; ++m) {
        std::string target = m % 4 == 0 ? ".."
            : m % 4 == 1                ? Numbered("f", random.Below(tree.files.size()))
            : m % 4 == 2                ? "/"
                                        : Numbered("dir", random.Below(tree.folders.size()));
        tree.links.push_back(
            tree.folders[random.Below(tree.folders.size())] + "/" + Numbered("l", m));
        if (symlink(target.c_str(), tree.links.back().c_str()) != 0)
            return Fail("cannot make " + tree.links.back());
    }
    return true;
}

bool Tag(const std::string& path, const std::string& value)
{
    BNode node(path.c_str());
    ssize_t wrote = node.InitCheck() == B_OK
        ? node.WriteAttr("InstallBy", B_STRING_TYPE, 0, value.data(), value.size())
        : -1;
    if (wrote != ssize_t(value.size())) {
        fprintf(stderr, "stowbench-tree: cannot tag %s\n", path.c_str());
        return false;
    }
    return true;
}

// Takes `count` paths at random out of `pool` (so no path is picked twice).
std::vector<std::string> Pick(std::vector<std::string>& pool, uint64_t count, BenchRandom& random)
{
    std::vector<std::string> picked;
    for (uint64_t i = 0; i < count && !pool.empty(); ++i) {
        size_t at = random.Below(pool.size());
        std::swap(pool[at], pool.back());
        picked.push_back(pool.back());
        pool.pop_back();
    }
    return picked;
}

struct Tags {
    std::vector<std::string> expected;
    uint64_t decoys = 0;
};

bool TagAll(
    const std::vector<std::string>& paths, const std::string& value, Tags& tags, bool expected)
{
    for (const std::string& path : paths) {
        if (!Tag(path, value))
            return false;
        if (expected)
            tags.expected.push_back(path);
        else
            ++tags.decoys;
    }
    return true;
}

bool TagTree(const Tree& tree, const std::string& key, uint64_t tagged, uint64_t taggedLinks,
    BenchRandom& random, Tags& tags)
{
    std::vector<std::string> folders = tree.folders, files = tree.files, links = tree.links;
    uint64_t taggedFolders = std::min<uint64_t>(tagged / 10, folders.size());
    std::string upper = key;
    std::transform(upper.begin(), upper.end(), upper.begin(), ::toupper);
    std::string longer = key + std::string(256, 'x');
    uint64_t decoys = tagged / 10 + 1;
    bool done = TagAll(Pick(folders, taggedFolders, random), key, tags, true)
        && TagAll(Pick(files, tagged - taggedFolders, random), key, tags, true)
        && TagAll(Pick(links, taggedLinks, random), key, tags, true)
        && TagAll(
            Pick(files, decoys, random), "Other Product;2.0;1 May 2026;Elsewhere;x@y;", tags, false)
        && TagAll(Pick(folders, 3, random), upper, tags, false)
        && TagAll(Pick(files, 3, random), key + "more;", tags, false)
        && TagAll(Pick(files, 3, random), longer, tags, false)
        && TagAll(Pick(links, 1, random), upper, tags, false);
    if (!done)
        return false;
    for (const std::string& path : Pick(files, files.size() / 10, random)) {
        BNode node(path.c_str());
        if (node.WriteAttr("BEOS:TYPE", B_MIME_TYPE, 0, "text/plain", 11) != 11) {
            fprintf(stderr, "stowbench-tree: cannot give %s a type\n", path.c_str());
            return false;
        }
    }
    return true;
}

bool WriteExpected(const std::string& path, std::vector<std::string> expected)
{
    std::sort(expected.begin(), expected.end());
    FILE* out = fopen(path.c_str(), "w");
    if (out == nullptr)
        return Fail("cannot write " + path);
    for (const std::string& entry : expected)
        fprintf(out, "%s\n", entry.c_str());
    if (fclose(out) != 0)
        return Fail("cannot write " + path);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    BenchArgs args(argc, argv);
    uint64_t seed = args.Number("seed", 1);
    uint64_t entries = args.Number("entries", 200000);
    uint64_t tagged = args.Number("tagged", 3000);
    uint64_t taggedLinks = args.Number("tagged-links", 2);
    std::string key = args.Text("key", "");
    std::string expectedPath = args.Text("expected", "");
    std::string unused = args.Unused();
    uint64_t folders = std::max<uint64_t>(entries / 10, 1);
    uint64_t links = entries / 20;
    std::string problem = !args.Valid()       ? args.Problem()
        : !unused.empty()                     ? "unknown option " + unused
        : key.empty() || expectedPath.empty() ? "--key and --expected are needed"
        : entries < folders + links || tagged > entries - links || taggedLinks > links
        ? "too few entries for the tags asked for"
        : "";
    if (!problem.empty()) {
        fprintf(stderr, "stowbench-tree: %s\n", problem.c_str());
        return 2;
    }
    char root[PATH_MAX];
    if (realpath(args.Folder().c_str(), root) == nullptr)
        return Fail("cannot find " + args.Folder()) ? 0 : 1;
    BenchRandom random(seed);
    Tree tree;
    Tags tags;
    if (!MakeFolders(std::string(root) + "/tree", folders, tree)
        || !MakeFiles(entries - folders - links, random, tree) || !MakeLinks(links, random, tree)
        || !TagTree(tree, key, tagged, taggedLinks, random, tags)
        || !WriteExpected(expectedPath, tags.expected))
        return 1;
    printf("entries %llu (folders %zu, files %zu, links %zu); tagged %zu (links %llu); decoys "
           "%llu\n",
        (unsigned long long)entries, tree.folders.size(), tree.files.size(), tree.links.size(),
        tags.expected.size(), (unsigned long long)taggedLinks, (unsigned long long)tags.decoys);
    return 0;
}
