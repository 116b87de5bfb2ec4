#include "ZipTestSupport.h"

#include "TestSupport.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <minizip/zip.h>
#include <random>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

namespace fs = std::filesystem;

namespace ziptest {

namespace {

// Reads without touching the file's access time.
std::string ReadQuietly(const fs::path& path)
{
    int fd = open(path.c_str(), O_RDONLY | O_NOATIME | O_CLOEXEC);
    if (fd < 0)
        throw std::runtime_error("open " + path.string());
    std::string contents;
    char buffer[65536];
    ssize_t got;
    while ((got = read(fd, buffer, sizeof(buffer))) > 0)
        contents.append(buffer, size_t(got));
    close(fd);
    return contents;
}

} // namespace

void PrintTo(const EntryState& state, std::ostream* stream)
{
    *stream << state.kind << " mode " << std::oct << state.mode << std::dec << " modified "
            << state.modified << " accessed " << state.accessed << " " << state.contents.size()
            << " bytes, attributes:";
    for (const ZipAttribute& attribute : state.attributes)
        *stream << " " << attribute.name << "(" << attribute.data.size() << ")";
}

std::map<std::string, EntryState> Snapshot(const fs::path& root, ZipAttributeStore* store)
{
    std::map<std::string, EntryState> result;
    auto add = [&](const fs::path& path) {
        struct stat info;
        if (lstat(path.c_str(), &info) != 0)
            throw std::runtime_error("lstat " + path.string());
        EntryState state;
        state.mode = info.st_mode & 07777;
        state.modified = info.st_mtim.tv_sec;
        if (S_ISDIR(info.st_mode)) {
            state.kind = "folder";
        } else if (S_ISLNK(info.st_mode)) {
            state.kind = "link";
            state.contents = fs::read_symlink(path).string();
            state.mode = 0;
        } else {
            state.kind = "file";
            state.contents = ReadQuietly(path);
            state.accessed = info.st_atim.tv_sec;
        }
        if (store != nullptr) {
            store->ReadAttributes(path.c_str(), state.attributes);
            std::sort(state.attributes.begin(), state.attributes.end(),
                [](const ZipAttribute& a, const ZipAttribute& b) { return a.name < b.name; });
        }
        result[path.lexically_relative(root.parent_path()).string()] = state;
    };
    // Contents first: reading a file changes no time we look at, but
    // reading a folder may change its access time.
    std::vector<fs::path> paths {root};
    if (fs::is_directory(fs::symlink_status(root))) {
        for (const auto& entry : fs::recursive_directory_iterator(root))
            paths.push_back(entry.path());
    }
    for (const fs::path& path : paths)
        add(path);
    return result;
}

std::vector<std::string> ListTree(const fs::path& root)
{
    std::vector<std::string> paths;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        paths.push_back(entry.path().lexically_relative(root).string());
    std::sort(paths.begin(), paths.end());
    return paths;
}

void SetTimes(const fs::path& path, int64_t accessed, int64_t modified)
{
    struct timespec times[2] = {};
    times[0].tv_sec = accessed;
    times[1].tv_sec = modified;
    if (utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW) != 0)
        throw std::runtime_error("utimensat " + path.string());
}

void WriteRawArchive(const fs::path& path, const std::vector<RawMember>& members)
{
    zipFile archive = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
    if (archive == nullptr)
        throw std::runtime_error("zipOpen64 " + path.string());
    for (const RawMember& member : members) {
        std::string packed = member.data;
        if (member.deflate) {
            z_stream stream = {};
            deflateInit2(&stream, 6, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
            packed.resize(deflateBound(&stream, uLong(member.data.size())));
            stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(member.data.data()));
            stream.avail_in = uInt(member.data.size());
            stream.next_out = reinterpret_cast<Bytef*>(packed.data());
            stream.avail_out = uInt(packed.size());
            deflate(&stream, Z_FINISH);
            packed.resize(stream.total_out);
            deflateEnd(&stream);
        }
        zip_fileinfo info = {};
        info.tmz_date.tm_year = 2020;
        info.tmz_date.tm_mday = 1;
        info.external_fa = uLong(member.unixMode) << 16;
        if (zipOpenNewFileInZip4_64(archive, member.name.c_str(), &info, nullptr, 0, nullptr, 0,
                nullptr, member.deflate ? Z_DEFLATED : 0, 6, 1, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY,
                nullptr, 0, (member.host << 8) | 30, 0, 0)
            != ZIP_OK)
            throw std::runtime_error("zipOpenNewFileInZip " + member.name);
        zipWriteInFileInZip(archive, packed.data(), unsigned(packed.size()));
        uLong crc = crc32(
            0, reinterpret_cast<const Bytef*>(member.data.data()), uInt(member.data.size()));
        zipCloseFileInZipRaw64(archive,
            member.declaredSize >= 0 ? uint64_t(member.declaredSize) : member.data.size(),
            member.declaredCrc >= 0 ? uLong(member.declaredCrc) : crc);
    }
    zipClose(archive, nullptr);
}

status_t ExtractFile(const fs::path& archive, const fs::path& destination, std::string* error,
    ZipExtractOptions options)
{
    ZipReader reader;
    status_t status = reader.Open(archive.c_str());
    if (status != B_OK) {
        if (error != nullptr)
            *error = reader.ErrorMessage();
        return status;
    }
    ZipExtractor extractor(std::move(options));
    status = extractor.Extract(reader, destination.c_str());
    if (error != nullptr)
        *error = extractor.ErrorMessage();
    return status;
}

std::string RandomBytes(size_t size, unsigned seed)
{
    std::mt19937 generator(seed);
    std::string bytes(size, '\0');
    for (char& byte : bytes)
        byte = char(generator());
    return bytes;
}

} // namespace ziptest
