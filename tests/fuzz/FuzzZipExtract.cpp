// Extracts arbitrary bytes as a payload archive into a fresh folder: it must
// never crash or hang, never write beside that folder, leave nothing behind
// when it refuses, and leave exactly one item when it accepts.
#include "ZipExtractor.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

size_t Count(const fs::path& folder)
{
    size_t count = 0;
    for (auto it = fs::directory_iterator(folder); it != fs::directory_iterator(); ++it)
        ++count;
    return count;
}

void Clear(const fs::path& folder)
{
    std::error_code ignored;
    for (auto it = fs::recursive_directory_iterator(folder, ignored);
         it != fs::recursive_directory_iterator(); it.increment(ignored)) {
        if (it->is_directory(ignored) && !it->is_symlink(ignored))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    }
    fs::remove_all(folder, ignored);
}

struct Playground {
    fs::path root;
    fs::path work;
    fs::path destination;

    Playground()
    {
        // A memory file system makes the many small creations fast.
        const char* base = getenv("TMPDIR");
        if (access("/dev/shm", W_OK) == 0)
            base = "/dev/shm";
        std::string pattern = std::string(base && *base ? base : "/tmp") + "/fuzzzip-XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr)
            abort();
        root = pattern;
        work = root / "work";
        destination = work / "dest";
        // Attributes of links land in the attribute store: keep it here too.
        setenv("STOW_ROOT", (root / "store").c_str(), 1);
    }

    ~Playground() { Clear(root); }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Playground playground;
    fs::create_directories(playground.destination);

    int fd = memfd_create("archive", MFD_CLOEXEC);
    if (fd < 0 || write(fd, data, size) != ssize_t(size))
        abort();
    ZipReader reader;
    status_t status = reader.Open(fd, 0, size);
    if (status == B_OK) {
        ZipExtractor extractor;
        status = extractor.Extract(reader, playground.destination.c_str());
    }
    reader.Close();
    close(fd);

    if (Count(playground.work) != 1 || Count(playground.destination) != (status == B_OK ? 1 : 0))
        abort();
    Clear(playground.work);
    Clear(playground.root / "store");
    return 0;
}
