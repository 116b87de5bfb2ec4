// The volume walk on one thread and on several: the same entries in the
// same walk order, counts that add up, and a visitor that unwinds halfway.
#include "BNode.h"
#include "TestSupport.h"
#include "VolumeWalk.h"

#include <dirent.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <random>
#include <set>

using namespace stowtest;
namespace fs = std::filesystem;

namespace {

constexpr const char* kAttr = "InstallBy";

void Tag(const fs::path& path, const std::string& value)
{
    BNode node(path.c_str());
    ASSERT_EQ(node.InitCheck(), B_OK) << path;
    ASSERT_EQ(
        node.WriteAttr(kAttr, B_STRING_TYPE, 0, value.data(), value.size()), ssize_t(value.size()));
}

// A seeded tree of nested folders, files and links; some entries carry
// the wanted value, some another one, some one too long to read.
struct Tree {
    TempDir temp;
    ScopedEnv root {"STOW_ROOT", temp.Str()};
    ScopedEnv home {"HOME", "/home/tester"};
    ScopedEnv data {"XDG_DATA_HOME", ""};
    std::set<std::string> wanted;
    std::set<std::string> carrying;
    int64 entries = 0;

    explicit Tree(int folders)
    {
        std::mt19937 random(11);
        std::vector<fs::path> all {temp / "tree"};
        fs::create_directories(all[0]);
        for (int i = 0; i < folders; ++i) {
            fs::path parent = all[random() % all.size()];
            fs::path folder = parent / ("d" + std::to_string(i));
            fs::create_directory(folder);
            all.push_back(folder);
            Maybe(random, folder);
            for (int file = 0; file < int(random() % 6); ++file) {
                fs::path path = folder / ("f" + std::to_string(file));
                WriteFile(path, std::string(random() % 100, 'x'));
                Maybe(random, path);
            }
            if (random() % 4 == 0) {
                fs::path link = folder / "link";
                fs::create_symlink(parent, link);
                Maybe(random, link);
            }
        }
        // Every entry below the root, the attribute store's records included.
        for (auto it = fs::recursive_directory_iterator(temp.Path()); it != fs::end(it); ++it)
            ++entries;
    }

    void Maybe(std::mt19937& random, const fs::path& path)
    {
        switch (random() % 5) {
        case 0:
            Tag(path, "want;");
            wanted.insert(path.string());
            carrying.insert(path.string());
            break;
        case 1:
            Tag(path, "other;");
            carrying.insert(path.string());
            break;
        case 2:
            Tag(path, std::string(300, 'w'));
            carrying.insert(path.string());
            break;
        default:
            break;
        }
    }

    // The paths of `among`, in the order a depth-first walk in directory
    // order meets them.
    std::vector<std::string> InWalkOrder(const std::set<std::string>& among) const
    {
        std::vector<std::string> order;
        Order(temp.Path(), among, order);
        return order;
    }

    static void Order(
        const fs::path& folder, const std::set<std::string>& among, std::vector<std::string>& out)
    {
        for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
            if (among.count(entry.path().string()))
                out.push_back(entry.path().string());
            if (entry.is_directory() && !entry.is_symlink())
                Order(entry.path(), among, out);
        }
    }
};

class Collector : public VolumeWalkVisitor {
public:
    void Progress(const WalkProgress& progress) override
    {
        ++reports;
        entries += progress.entries;
        found += progress.found;
        if (reports == unwindAt)
            throw std::runtime_error("stopped");
    }
    void VisitEntry(const WalkEntry& entry) override
    {
        paths.push_back(*entry.path);
        EXPECT_STREQ(entry.name, fs::path(*entry.path).filename().c_str());
    }

    int unwindAt = -1;
    int reports = 0;
    int64 entries = 0;
    int64 found = 0;
    std::vector<std::string> paths;
};

int OpenDescriptors()
{
    int count = 0;
    for (auto it = fs::directory_iterator("/proc/self/fd"); it != fs::end(it); ++it)
        ++count;
    return count;
}

} // namespace

TEST(VolumeWalk, EveryThreadCountFindsTheSameEntriesInWalkOrder)
{
    Tree tree(400);
    ASSERT_FALSE(tree.wanted.empty());
    for (int threads : {1, 2, 4}) {
        for (bool anyValue : {false, true}) {
            SCOPED_TRACE("threads " + std::to_string(threads) + (anyValue ? ", any value" : ""));
            VolumeWalkOptions options;
            options.attribute = kAttr;
            options.wantedValue = anyValue ? "" : "want;";
            options.threads = threads;
            Collector collector;
            ASSERT_EQ(walk_volume(tree.temp.Str().c_str(), options, collector), B_OK);
            const auto& expected = anyValue ? tree.carrying : tree.wanted;
            EXPECT_EQ(collector.paths, tree.InWalkOrder(expected));
            EXPECT_EQ(collector.found, int64(expected.size()));
            EXPECT_EQ(collector.entries, tree.entries);
        }
    }
}

TEST(VolumeWalk, AVisitorThatUnwindsStopsEveryThreadAndLeavesNothingOpen)
{
    Tree tree(1500);
    VolumeWalkOptions options;
    options.attribute = kAttr;
    options.wantedValue = "want;";
    options.threads = 4;
    int before = OpenDescriptors();
    for (int unwindAt : {1, 2, 5, 20}) {
        Collector collector;
        collector.unwindAt = unwindAt;
        EXPECT_THROW(walk_volume(tree.temp.Str().c_str(), options, collector), std::runtime_error);
        EXPECT_TRUE(collector.paths.empty());
        EXPECT_EQ(OpenDescriptors(), before);
    }
    Collector whole;
    ASSERT_EQ(walk_volume(tree.temp.Str().c_str(), options, whole), B_OK);
    EXPECT_EQ(whole.paths, tree.InWalkOrder(tree.wanted));
}
