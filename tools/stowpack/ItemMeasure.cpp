#include "ItemMeasure.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

bool ItemMeasure::Measure(const std::string& path, ItemFacts& facts, std::string& error)
{
    struct statx info;
    if (statx(AT_FDCWD, path.c_str(), 0, STATX_BASIC_STATS | STATX_BTIME, &info) != 0) {
        error = "cannot read " + path + ": " + strerror(errno);
        return false;
    }
    facts = ItemFacts();
    facts.modified = info.stx_mtime.tv_sec;
    facts.accessed = info.stx_atime.tv_sec;
    facts.created
        = (info.stx_mask & STATX_BTIME) != 0 ? int64(info.stx_btime.tv_sec) : facts.modified;
    if (S_ISDIR(info.stx_mode)) {
        facts.kind = ItemFacts::Kind::Folder;
        return FolderSize(path, facts.size, error);
    }
    if (!S_ISREG(info.stx_mode)) {
        error = path + " is neither a file nor a folder";
        return false;
    }
    facts.size = info.stx_size;
    facts.kind = FileKind(path, info.stx_mode);
    return true;
}

// Files count with their sizes and links with the length of their target,
// as they lie in the archive; links are not followed.
bool ItemMeasure::FolderSize(const std::string& path, uint64& size, std::string& error)
{
    size = 0;
    std::error_code code;
    fs::recursive_directory_iterator it(path, code), end;
    for (; !code && it != end; it.increment(code)) {
        struct stat info;
        const std::string member = it->path().string();
        if (lstat(member.c_str(), &info) != 0) {
            error = "cannot read " + member + ": " + strerror(errno);
            return false;
        }
        if (S_ISREG(info.st_mode) || S_ISLNK(info.st_mode)) {
            size += uint64(info.st_size);
        } else if (!S_ISDIR(info.st_mode)) {
            error = member + " is neither a file, a folder nor a link and cannot be archived";
            return false;
        }
    }
    if (code) {
        error = "cannot read the folder " + path + ": " + code.message();
        return false;
    }
    return true;
}

// An ELF file, or a script starting with "#!" that may be executed.
ItemFacts::Kind ItemMeasure::FileKind(const std::string& path, unsigned mode)
{
    char head[4] = {};
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    ssize_t got = fd < 0 ? -1 : read(fd, head, sizeof head);
    if (fd >= 0)
        close(fd);
    if (got == 4
        && memcmp(head,
               "\x7f"
               "ELF",
               4)
            == 0)
        return ItemFacts::Kind::Program;
    if (got >= 2 && head[0] == '#' && head[1] == '!' && (mode & 0111) != 0)
        return ItemFacts::Kind::Program;
    return ItemFacts::Kind::Document;
}
