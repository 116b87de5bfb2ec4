#include "FileTypes.h"

#include "BNode.h"
#include "BNodeInfo.h"
#include "PathText.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr size_t kHeadSize = 4096;

bool StartsWith(const std::string& text, const char* prefix, size_t length)
{
    return text.size() >= length && memcmp(text.data(), prefix, length) == 0;
}

uint64 ReadNumber(const std::string& head, size_t offset, size_t size, bool bigEndian)
{
    uint64 value = 0;
    for (size_t i = 0; i < size; ++i) {
        uint8 byte = uint8(head[offset + (bigEndian ? i : size - 1 - i)]);
        value = (value << 8) | byte;
    }
    return value;
}

// Executables (including position-independent ones) name a program
// interpreter; shared libraries do not. Headers beyond the bytes at hand fall
// back to the execute permission.
std::string ElfType(const std::string& head, bool executable)
{
    if (head.size() < 52)
        return "application/octet-stream";
    bool is64 = head[4] == 2;
    bool bigEndian = head[5] == 2;
    uint64 type = ReadNumber(head, 16, 2, bigEndian);
    if (type == 2)
        return kExecutableMimeType;
    if (type == 1)
        return "application/x-object";
    if (type == 4)
        return "application/x-core";
    if (type != 3)
        return "application/octet-stream";
    if (is64 && head.size() < 64)
        return executable ? kExecutableMimeType : "application/x-sharedlib";
    uint64 tableOffset = ReadNumber(head, is64 ? 32 : 28, is64 ? 8 : 4, bigEndian);
    uint64 entrySize = ReadNumber(head, is64 ? 54 : 42, 2, bigEndian);
    uint64 count = ReadNumber(head, is64 ? 56 : 44, 2, bigEndian);
    if (entrySize < 4 || tableOffset >= head.size()
        || count > (head.size() - tableOffset) / entrySize)
        return executable ? kExecutableMimeType : "application/x-sharedlib";
    for (uint64 i = 0; i < count; ++i) {
        if (ReadNumber(head, size_t(tableOffset + i * entrySize), 4, bigEndian) == 3)
            return kExecutableMimeType; // PT_INTERP
    }
    return "application/x-sharedlib";
}

std::string ScriptType(const std::string& head)
{
    std::string line = head.substr(
        2, head.find('\n') == std::string::npos ? std::string::npos : head.find('\n') - 2);
    std::vector<std::string> words;
    for (size_t start = 0; start < line.size();) {
        size_t end = line.find_first_of(" \t\r", start);
        if (end == std::string::npos)
            end = line.size();
        if (end > start)
            words.push_back(line.substr(start, end - start));
        start = end + 1;
    }
    if (words.empty())
        return "text/plain";
    std::string program = leaf_name(words[0]);
    if (program == "env" && words.size() > 1)
        program = leaf_name(words[1]);
    static const char* const kShells[]
        = {"sh", "bash", "dash", "ash", "zsh", "ksh", "mksh", "csh", "tcsh"};
    for (const char* shell : kShells) {
        if (program == shell)
            return "application/x-shellscript";
    }
    if (program.compare(0, 6, "python") == 0)
        return "text/x-python";
    if (program.compare(0, 4, "perl") == 0)
        return "application/x-perl";
    if (program.compare(0, 4, "ruby") == 0)
        return "application/x-ruby";
    return "text/plain";
}

// No zero bytes and well-formed UTF-8 (a sequence cut off by the end of the
// sample is allowed).
bool LooksLikeText(const std::string& head)
{
    for (size_t i = 0; i < head.size();) {
        uint8 byte = uint8(head[i]);
        if (byte == 0)
            return false;
        size_t length = byte < 0x80 ? 1
            : (byte >> 5) == 6      ? 2
            : (byte >> 4) == 14     ? 3
            : (byte >> 3) == 30     ? 4
                                    : 0;
        if (length == 0)
            return false;
        for (size_t k = 1; k < length; ++k) {
            if (i + k >= head.size())
                return true;
            if ((uint8(head[i + k]) >> 6) != 2)
                return false;
        }
        i += length;
    }
    return true;
}

struct Magic {
    size_t offset;
    const char* bytes;
    size_t length;
    const char* type;
};

const Magic kMagic[] = {
    {0, "PK\x03\x04", 4, "application/zip"},
    {0, "\x1f\x8b", 2, "application/gzip"},
    {0, "BZh", 3, "application/x-bzip2"},
    {0,
        "\xfd"
        "7zXZ\0",
        6, "application/x-xz"},
    {0, "\x89PNG\r\n\x1a\n", 8, "image/png"},
    {0, "\xff\xd8\xff", 3, "image/jpeg"},
    {0, "GIF87a", 6, "image/gif"},
    {0, "GIF89a", 6, "image/gif"},
    {0, "%PDF-", 5, "application/pdf"},
    {257, "ustar", 5, "application/x-tar"},
};

status_t WriteTypeAttribute(const std::string& path, const std::string& type)
{
    BNode node(path.c_str());
    BNodeInfo info(&node);
    status_t status = info.InitCheck();
    return status == B_OK ? info.SetType(type.c_str()) : status;
}

// A folder on another device than its parent, or its own parent ("/").
bool IsMountPoint(const char* path, const struct stat& folder)
{
    struct stat parent;
    if (stat(join_path(path, "..").c_str(), &parent) != 0)
        return false;
    return parent.st_dev != folder.st_dev || parent.st_ino == folder.st_ino;
}

} // namespace

std::string mime_type_of_content(const std::string& head, bool executable)
{
    if (StartsWith(head,
            "\x7f"
            "ELF",
            4))
        return ElfType(head, executable);
    if (StartsWith(head, "#!", 2))
        return ScriptType(head);
    for (const auto& magic : kMagic) {
        if (head.size() >= magic.offset + magic.length
            && memcmp(head.data() + magic.offset, magic.bytes, magic.length) == 0)
            return magic.type;
    }
    if (!LooksLikeText(head))
        return "application/octet-stream";
    if (StartsWith(head, "<?xml", 5))
        return "text/xml";
    if (StartsWith(head, "<!DOCTYPE html", 14) || StartsWith(head, "<html", 5))
        return "text/html";
    return "text/plain";
}

std::string detect_mime_type(const char* path)
{
    struct stat st;
    if (path == nullptr || lstat(path, &st) != 0)
        return {};
    if (S_ISDIR(st.st_mode))
        return IsMountPoint(path, st) ? kVolumeMimeType : kDirectoryMimeType;
    if (S_ISLNK(st.st_mode))
        return kSymLinkMimeType;
    if (!S_ISREG(st.st_mode))
        return "application/octet-stream";
    int fd = open(path, O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return {};
    std::string head(kHeadSize, '\0');
    ssize_t length = read(fd, head.data(), head.size());
    close(fd);
    if (length < 0)
        return {};
    head.resize(size_t(length));
    return mime_type_of_content(head, (st.st_mode & 0111) != 0);
}

status_t set_mime_types(const char* path)
{
    std::string type = detect_mime_type(path);
    if (type.empty())
        return path == nullptr ? B_BAD_VALUE : B_ENTRY_NOT_FOUND;
    status_t status = WriteTypeAttribute(path, type);
    if (type != kDirectoryMimeType && type != kVolumeMimeType)
        return status;
    DIR* dir = opendir(path);
    if (dir == nullptr)
        return status == B_OK ? status_from_errno(errno) : status;
    std::vector<std::string> names;
    while (struct dirent* item = readdir(dir)) {
        if (strcmp(item->d_name, ".") != 0 && strcmp(item->d_name, "..") != 0)
            names.push_back(item->d_name);
    }
    closedir(dir);
    for (const auto& name : names) {
        status_t childStatus = set_mime_types(join_path(path, name).c_str());
        if (status == B_OK)
            status = childStatus;
    }
    return status;
}
