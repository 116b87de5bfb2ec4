// stowbench-payload: writes a benchmark payload into an empty folder.
//
//   stowbench-payload [--seed N] [--files N] [--min-size BYTES] [--max-size BYTES]
//                     [--big N] [--big-size BYTES] FOLDER
//
// FOLDER/library is one folder item of --files files (sizes evenly spread
// from --min-size to --max-size, text or random) in two levels of nested
// folders; FOLDER/data-1.bin ... are --big items of --big-size bytes of mixed
// text and random blocks. The same options give the same bytes.
#include "BenchArgs.h"
#include "BenchRandom.h"
#include "WriteAll.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kFanOut = 8;
constexpr size_t kChunk = 1024 * 1024;

bool Fail(const std::string& what)
{
    fprintf(stderr, "stowbench-payload: %s: %s\n", what.c_str(), strerror(errno));
    return false;
}

bool MakeFolder(const std::string& path)
{
    return mkdir(path.c_str(), 0755) == 0 || Fail("cannot make " + path);
}

bool WriteFile(const std::string& path, const std::vector<char>& data, size_t size)
{
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0)
        return Fail("cannot make " + path);
    bool written = write_all(fd, data.data(), size) == B_OK;
    if (close(fd) != 0 || !written)
        return Fail("cannot write " + path);
    return true;
}

// The folder item: the root, kFanOut parts, kFanOut sets in each; files go
// into any of them.
bool MakeLibrary(const std::string& root, BenchRandom& random, uint64_t files, uint64_t minSize,
    uint64_t maxSize, uint64_t& bytes)
{
    std::vector<std::string> folders {root};
    if (!MakeFolder(root))
        return false;
    for (int part = 0; part < kFanOut; ++part) {
        std::string partPath = root + "/part-" + std::to_string(part);
        if (!MakeFolder(partPath))
            return false;
        folders.push_back(partPath);
        for (int set = 0; set < kFanOut; ++set) {
            folders.push_back(partPath + "/set-" + std::to_string(set));
            if (!MakeFolder(folders.back()))
                return false;
        }
    }
    std::vector<char> data(maxSize);
    for (uint64_t i = 0; i < files; ++i) {
        size_t size = random.Between(minSize, maxSize);
        bool text = random.Below(3) != 0;
        if (text)
            random.FillText(data.data(), size);
        else
            random.FillRandom(data.data(), size);
        char name[32];
        snprintf(
            name, sizeof(name), "/file-%05llu.%s", (unsigned long long)i, text ? "txt" : "bin");
        if (!WriteFile(folders[random.Below(folders.size())] + name, data, size))
            return false;
        bytes += size;
    }
    return true;
}

bool MakeBigItem(const std::string& path, BenchRandom& random, uint64_t size)
{
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0)
        return Fail("cannot make " + path);
    std::vector<char> data(kChunk);
    bool written = true;
    for (uint64_t done = 0; written && done < size; done += kChunk) {
        size_t piece = size - done < kChunk ? size_t(size - done) : kChunk;
        random.FillMixed(data.data(), piece);
        written = write_all(fd, data.data(), piece) == B_OK;
    }
    if (close(fd) != 0 || !written)
        return Fail("cannot write " + path);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    BenchArgs args(argc, argv);
    uint64_t seed = args.Number("seed", 1);
    uint64_t files = args.Number("files", 5000);
    uint64_t minSize = args.Number("min-size", 1024);
    uint64_t maxSize = args.Number("max-size", 64 * 1024);
    uint64_t big = args.Number("big", 3);
    uint64_t bigSize = args.Number("big-size", 100 * 1024 * 1024);
    std::string unused = args.Unused();
    if (!args.Valid() || !unused.empty() || minSize == 0 || minSize > maxSize) {
        fprintf(stderr, "stowbench-payload: %s\n",
            !args.Valid()         ? args.Problem().c_str()
                : !unused.empty() ? ("unknown option " + unused).c_str()
                                  : "sizes must satisfy 0 < --min-size <= --max-size");
        return 2;
    }
    BenchRandom random(seed);
    uint64_t libraryBytes = 0;
    if (!MakeLibrary(args.Folder() + "/library", random, files, minSize, maxSize, libraryBytes))
        return 1;
    printf("library: %llu files, %llu bytes\n", (unsigned long long)files,
        (unsigned long long)libraryBytes);
    for (uint64_t i = 1; i <= big; ++i) {
        std::string name = "data-" + std::to_string(i) + ".bin";
        if (!MakeBigItem(args.Folder() + "/" + name, random, bigSize))
            return 1;
        printf("%s: %llu bytes\n", name.c_str(), (unsigned long long)bigSize);
    }
    return 0;
}
