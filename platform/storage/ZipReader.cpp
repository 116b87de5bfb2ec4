#include "ZipReader.h"

#include "ZipFileRange.h"
#include "ZipNames.h"

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <map>
#include <minizip/unzip.h>
#include <set>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

namespace {

constexpr uint16 kFlagEncrypted = 0x0001;
constexpr int kMethodStored = 0;
constexpr int kMethodDeflated = Z_DEFLATED;
constexpr size_t kMaxField = 0xffff;

// Creator systems whose archives keep a Unix mode in the upper half of the
// external attributes: Unix, BeOS, Mac OS X and AtheOS.
bool KeepsUnixMode(unsigned host)
{
    return host == 3 || host == 16 || host == 19 || host == 30;
}

int64 DosTime(const tm_unz& date)
{
    struct tm local = {};
    local.tm_sec = int(date.tm_sec);
    local.tm_min = int(date.tm_min);
    local.tm_hour = int(date.tm_hour);
    local.tm_mday = int(date.tm_mday);
    local.tm_mon = int(date.tm_mon);
    local.tm_year = int(date.tm_year) - 1900;
    local.tm_isdst = -1;
    return int64(mktime(&local));
}

unzFile Archive(void* archive)
{
    return static_cast<unzFile>(archive);
}

const char* KindText(ZipMemberKind kind)
{
    switch (kind) {
    case ZipMemberKind::Folder:
        return "folder";
    case ZipMemberKind::Link:
        return "symbolic link";
    default:
        return "file";
    }
}

} // namespace

struct ZipReader::Entry {
    unz64_file_pos position = {};
    uint32 crc = 0;
    int method = 0;
    int dosYear = 1980;
};

struct ZipReader::Scanned {
    ZipListing listing;
    std::vector<Entry> entries;
};

struct ZipReader::Inflater {
    z_stream stream = {};
    bool ready = false;

    ~Inflater()
    {
        if (ready)
            inflateEnd(&stream);
    }

    bool Reset()
    {
        if (ready)
            return inflateReset(&stream) == Z_OK;
        ready = inflateInit2(&stream, -MAX_WBITS) == Z_OK;
        return ready;
    }
};

ZipReader::ZipReader()
    : fInflater(std::make_unique<Inflater>())
{ }

ZipReader::~ZipReader()
{
    Close();
}

void ZipReader::Close()
{
    if (fArchive != nullptr) {
        unzCloseCurrentFile(Archive(fArchive));
        unzClose(Archive(fArchive));
        fArchive = nullptr;
    }
    delete fRange;
    fRange = nullptr;
    if (fOwnedFd >= 0)
        close(fOwnedFd);
    fOwnedFd = -1;
    fScanned = false;
    fScanStatus = B_NO_INIT;
    fScan.reset();
}

status_t ZipReader::Open(const char* path)
{
    Close();
    int fd = open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return Fail(status_from_errno(errno), std::string("cannot open ") + path);
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        return Fail(B_BAD_VALUE, std::string(path) + " is not a file");
    }
    status_t status = Open(fd, 0, uint64(info.st_size));
    fOwnedFd = fd;
    return status;
}

status_t ZipReader::Open(const char* path, uint64 offset, uint64 length)
{
    Close();
    int fd = open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return Fail(status_from_errno(errno), std::string("cannot open ") + path);
    status_t status = Open(fd, offset, length);
    fOwnedFd = fd;
    return status;
}

status_t ZipReader::Open(int fd, uint64 offset, uint64 length)
{
    Close();
    struct stat info;
    if (fstat(fd, &info) != 0)
        return Fail(status_from_errno(errno), "cannot read the archive's file");
    uint64 fileSize = uint64(info.st_size);
    if (offset > fileSize || length > fileSize - offset)
        return Fail(B_BAD_VALUE, "the archive's byte range lies beyond the end of its file");
    fRange = new ZipFileRange;
    fRange->fd = fd;
    fRange->base = offset;
    fRange->length = length;
    return Attach();
}

status_t ZipReader::Attach()
{
    zlib_filefunc64_def functions = ZipFileRange::Functions();
    fArchive = unzOpen2_64(fRange, &functions);
    if (fArchive == nullptr)
        return Fail(B_BAD_DATA, "not a zip archive, or a damaged one");
    // Headers and names need the extra buffer; data the large one, which
    // is made when data is first read.
    fLocalExtra.resize(kMaxField + 1);
    fError.clear();
    return B_OK;
}

status_t ZipReader::OpenLike(const ZipReader& other)
{
    Close();
    if (other.fRange == nullptr || !other.fScanned || other.fScanStatus != B_OK)
        return Fail(B_NO_INIT, "the archive has not been listed");
    fRange = new ZipFileRange;
    fRange->fd = other.fRange->fd;
    fRange->base = other.fRange->base;
    fRange->length = other.fRange->length;
    status_t status = Attach();
    if (status != B_OK)
        return status;
    fScan = other.fScan;
    fScanned = true;
    fScanStatus = B_OK;
    return B_OK;
}

status_t ZipReader::EnsureScanned()
{
    if (fArchive == nullptr)
        return Fail(B_NO_INIT, "no archive is open");
    if (!fScanned) {
        fScanned = true;
        fScanStatus = Scan();
    }
    return fScanStatus;
}

status_t ZipReader::List(ZipListing& listing)
{
    status_t status = EnsureScanned();
    if (status == B_OK)
        listing = fScan->listing;
    return status;
}

status_t ZipReader::List(const ZipListing*& listing)
{
    status_t status = EnsureScanned();
    listing = status == B_OK ? &fScan->listing : nullptr;
    return status;
}

status_t ZipReader::Test(const StopCheck& shouldStop)
{
    status_t status = EnsureScanned();
    const Sink discard = [](const uint8*, size_t) { return B_OK; };
    for (size_t i = 0; status == B_OK && i < fScan->listing.members.size(); ++i) {
        ZipMemberDetails details;
        status = ReadDetails(i, details);
        if (status == B_OK && fScan->listing.members[i].kind != ZipMemberKind::Folder)
            status = ReadData(i, discard, shouldStop);
    }
    return status;
}

status_t ZipReader::Scan()
{
    fScan = std::make_shared<Scanned>();
    fBuffer.resize(std::max(fBuffer.size(), kMaxField + 1));
    int result = unzGoToFirstFile(Archive(fArchive));
    while (result == UNZ_OK) {
        Entry entry;
        ZipMember member;
        status_t status = ScanEntry(entry, member);
        if (status != B_OK)
            return status;
        fScan->listing.totalSize += member.size;
        fScan->listing.members.push_back(std::move(member));
        fScan->entries.push_back(entry);
        result = unzGoToNextFile(Archive(fArchive));
    }
    if (result != UNZ_END_OF_LIST_OF_FILE)
        return Fail(B_BAD_DATA, "the archive's directory is damaged");
    if (fScan->listing.members.empty())
        return Fail(B_BAD_DATA, "the archive holds nothing");
    status_t status = CheckItem();
    if (status != B_OK)
        return status;
    return ReadLinkTargets();
}

status_t ZipReader::ScanEntry(Entry& entry, ZipMember& member)
{
    unz_file_info64 info;
    char* name = reinterpret_cast<char*>(fBuffer.data());
    uint8* extra = fLocalExtra.data();
    if (unzGetCurrentFileInfo64(
            Archive(fArchive), &info, name, kMaxField + 1, extra, kMaxField + 1, nullptr, 0)
        != UNZ_OK)
        return Fail(B_BAD_DATA, "the archive's directory is damaged");
    if (unzGetFilePos64(Archive(fArchive), &entry.position) != UNZ_OK)
        return Fail(B_BAD_DATA, "the archive's directory is damaged");
    std::string raw(name, info.size_filename);
    bool endsWithSlash = false;
    std::string why;
    if (!ZipNames::Normalize(raw, member.name, endsWithSlash, why))
        return FailMember(B_NOT_ALLOWED, raw, why);
    if ((info.flag & kFlagEncrypted) != 0)
        return FailMember(B_UNSUPPORTED, member.name, "it is encrypted");
    if (info.compression_method != kMethodStored && info.compression_method != kMethodDeflated)
        return FailMember(B_UNSUPPORTED, member.name,
            "its compression method " + std::to_string(info.compression_method)
                + " is not supported");
    entry.crc = uint32(info.crc);
    entry.method = int(info.compression_method);
    entry.dosYear = int(info.tmu_date.tm_year);
    member.size = info.uncompressed_size;
    member.compressedSize = info.compressed_size;
    status_t status
        = ReadZip64Sizes(extra, std::min<size_t>(info.size_file_extra, kMaxField), member);
    if (status != B_OK)
        return status;
    if (entry.method == kMethodStored && member.size != member.compressedSize)
        return FailMember(B_BAD_DATA, member.name, "its stored size and its size differ");

    uint32 unixMode = uint32(info.external_fa >> 16);
    member.hasMode = KeepsUnixMode(unsigned(info.version >> 8)) && unixMode != 0;
    uint32 type = member.hasMode ? unixMode & S_IFMT : 0;
    if (endsWithSlash || type == S_IFDIR)
        member.kind = ZipMemberKind::Folder;
    else if (type == S_IFLNK)
        member.kind = ZipMemberKind::Link;
    else if (type != 0 && type != S_IFREG)
        return FailMember(B_UNSUPPORTED, member.name, "it is neither a file, a folder nor a link");
    if (member.kind == ZipMemberKind::Folder && (type == S_IFLNK || member.size != 0))
        return FailMember(B_BAD_DATA, member.name, "a folder entry holds data");
    // Set-id bits are not restored. Without a Unix mode, the MS-DOS
    // read-only bit (0x01) decides whether a file is writable.
    if (member.hasMode)
        member.mode = unixMode & (member.kind == ZipMemberKind::Folder ? 01777 : 0777);
    else if (member.kind == ZipMemberKind::Folder)
        member.mode = 0755;
    else
        member.mode = (info.external_fa & 0x01) != 0 ? 0444 : 0644;

    member.modified = DosTime(info.tmu_date);
    return B_OK;
}

// The zip library compares a central header's sizes with a 64-bit all-ones
// value before it reads them from the Zip64 block, so that on a 64-bit
// system it never does: what it left deferred is read here. It also reads
// raw data only up to the 32-bit compressed size, so that a member whose
// compressed data reaches 4 GiB cannot be read whole.
status_t ZipReader::ReadZip64Sizes(const uint8* extra, size_t length, ZipMember& member)
{
    if (member.size != ZipExtraFields::kDeferred
        && member.compressedSize != ZipExtraFields::kDeferred)
        return B_OK;
    const uint8* data = nullptr;
    size_t size = 0;
    if (ZipExtraFields::Find(extra, length, ZipExtraFields::kZip64Tag, &data, &size)
        && !ZipExtraFields::ParseZip64Sizes(data, size, member.size, member.compressedSize))
        return FailMember(B_BAD_DATA, member.name, "its Zip64 field is too short");
    if (member.compressedSize >= ZipExtraFields::kDeferred)
        return FailMember(B_UNSUPPORTED, member.name,
            "its compressed data is 4 GiB or more, which the zip library cannot read");
    return B_OK;
}

status_t ZipReader::CheckItem()
{
    std::map<std::string, ZipMemberKind> kinds;
    const std::string top = ZipNames::TopComponent(fScan->listing.members.front().name);
    for (const ZipMember& member : fScan->listing.members) {
        if (ZipNames::TopComponent(member.name) != top)
            return Fail(B_NOT_ALLOWED,
                "the archive holds more than one item (\"" + top + "\" and \""
                    + ZipNames::TopComponent(member.name) + "\")");
        if (!kinds.emplace(member.name, member.kind).second)
            return FailMember(B_FILE_EXISTS, member.name, "it appears twice in the archive");
    }
    for (const ZipMember& member : fScan->listing.members) {
        for (std::string parent = ZipNames::Parent(member.name); !parent.empty();
             parent = ZipNames::Parent(parent)) {
            auto found = kinds.find(parent);
            if (found != kinds.end() && found->second != ZipMemberKind::Folder)
                return FailMember(B_NOT_ALLOWED, member.name,
                    std::string("it lies beneath a ") + KindText(found->second));
        }
    }
    fScan->listing.itemName = top;
    auto item = kinds.find(top);
    fScan->listing.itemKind = item != kinds.end() ? item->second : ZipMemberKind::Folder;
    if (fScan->listing.itemKind == ZipMemberKind::Link)
        return FailMember(B_NOT_ALLOWED, top, "the item itself is a symbolic link");
    return B_OK;
}

status_t ZipReader::ReadLinkTargets()
{
    std::map<std::string, std::string> links;
    for (size_t i = 0; i < fScan->listing.members.size(); ++i) {
        ZipMember& member = fScan->listing.members[i];
        if (member.kind != ZipMemberKind::Link)
            continue;
        if (member.size == 0 || member.size > ZipNames::kMaxLinkTarget)
            return FailMember(B_NOT_ALLOWED, member.name, "its link target is empty or too long");
        std::string target;
        status_t status = ReadData(i, [&target](const uint8* data, size_t size) {
            target.append(reinterpret_cast<const char*>(data), size);
            return B_OK;
        });
        if (status != B_OK)
            return status;
        member.linkTarget = target;
        links[member.name] = target;
    }
    for (const ZipMember& member : fScan->listing.members) {
        std::string why;
        if (member.kind == ZipMemberKind::Link
            && !ZipNames::LinkStaysInside(member.name, member.linkTarget, links, why))
            return FailMember(B_NOT_ALLOWED, member.name, why);
    }
    return B_OK;
}

status_t ZipReader::Seek(size_t index)
{
    if (fArchive == nullptr || fScan == nullptr || index >= fScan->entries.size())
        return Fail(B_BAD_INDEX, "no such member");
    unzCloseCurrentFile(Archive(fArchive));
    if (unzGoToFilePos64(Archive(fArchive), &fScan->entries[index].position) != UNZ_OK)
        return FailMember(B_BAD_DATA, fScan->listing.members[index].name, "its header is damaged");
    return B_OK;
}

status_t ZipReader::OpenCurrent(size_t index)
{
    status_t status = Seek(index);
    if (status != B_OK)
        return status;
    int method = 0;
    int level = 0;
    // Raw: we inflate ourselves, so that sizes and CRC are ours to check.
    if (unzOpenCurrentFile2(Archive(fArchive), &method, &level, 1) != UNZ_OK)
        return FailMember(B_BAD_DATA, fScan->listing.members[index].name,
            "its local header is damaged or disagrees with the directory");
    return B_OK;
}

status_t ZipReader::ReadDetails(size_t index, ZipMemberDetails& details)
{
    details = ZipMemberDetails();
    status_t status = OpenCurrent(index);
    if (status == B_OK)
        status = ReadLocalDetails(index, details);
    unzCloseCurrentFile(Archive(fArchive));
    return status;
}

status_t ZipReader::ReadData(size_t index, const Sink& sink, const StopCheck& shouldStop)
{
    status_t status = OpenCurrent(index);
    if (status != B_OK)
        return status;
    return PumpCurrent(index, sink, shouldStop);
}

status_t ZipReader::ReadMember(
    size_t index, ZipMemberDetails& details, const Sink& sink, const StopCheck& shouldStop)
{
    details = ZipMemberDetails();
    status_t status = OpenCurrent(index);
    if (status == B_OK)
        status = ReadLocalDetails(index, details);
    if (status != B_OK) {
        unzCloseCurrentFile(Archive(fArchive));
        return status;
    }
    return PumpCurrent(index, sink, shouldStop);
}

// The times and attributes of the member whose local header is open.
status_t ZipReader::ReadLocalDetails(size_t index, ZipMemberDetails& details)
{
    const ZipMember& member = fScan->listing.members[index];
    int length = unzGetLocalExtrafield(Archive(fArchive), fLocalExtra.data(), kMaxField);
    if (length < 0)
        return FailMember(B_BAD_DATA, member.name, "its local header is damaged");
    const uint8* extra = fLocalExtra.data();
    const uint8* data = nullptr;
    size_t size = 0;
    if (ZipExtraFields::Find(extra, size_t(length), ZipExtraFields::kTimeStampTag, &data, &size))
        details.times = ZipExtraFields::ParseTimeStamp(data, size, fScan->entries[index].dosYear);
    if (!details.times.hasModified) {
        details.times.hasModified = true;
        details.times.modified = member.modified;
    }
    if (ZipExtraFields::Find(extra, size_t(length), ZipExtraFields::kAttributesTag, &data, &size)
        && ZipExtraFields::ParseAttributes(data, size, details.attributes) != B_OK)
        return FailMember(B_BAD_DATA, member.name, "its attribute field is damaged");
    return B_OK;
}

// The data of the member whose local header is open; closes it.
status_t ZipReader::PumpCurrent(size_t index, const Sink& sink, const StopCheck& shouldStop)
{
    const ZipMember& member = fScan->listing.members[index];
    uint32 checksum = 0;
    status_t status = Pump(member, fScan->entries[index].method, sink, shouldStop, checksum);
    unzCloseCurrentFile(Archive(fArchive));
    if (status != B_OK)
        return status;
    if (checksum != fScan->entries[index].crc)
        return FailMember(B_BAD_DATA, member.name, "its data fails the CRC check");
    return B_OK;
}

status_t ZipReader::Pump(const ZipMember& member, int method, const Sink& sink,
    const StopCheck& shouldStop, uint32& checksum)
{
    fBuffer.resize(std::max(fBuffer.size(), kChunkSize * 2));
    uint8* input = fBuffer.data();
    uint8* output = fBuffer.data() + kChunkSize;
    uint64 produced = 0;
    bool ended = method == kMethodStored;
    if (method == kMethodDeflated && !fInflater->Reset())
        return Fail(B_NO_MEMORY, "cannot start decompressing");
    z_stream& stream = fInflater->stream;
    checksum = uint32(crc32(0, nullptr, 0));

    auto deliver = [&](const uint8* data, size_t size) -> status_t {
        if (size > member.size - produced)
            return FailMember(
                B_BAD_DATA, member.name, "it holds more data than the archive declares");
        produced += size;
        checksum = uint32(crc32(checksum, data, uInt(size)));
        return sink(data, size);
    };

    for (;;) {
        if (shouldStop && shouldStop())
            return Fail(B_CANCELED, "stopped");
        int got = unzReadCurrentFile(Archive(fArchive), input, unsigned(kChunkSize));
        if (got < 0) {
            int error = fRange->error;
            return error != 0 ? Fail(status_from_errno(error), "cannot read the archive")
                              : FailMember(B_BAD_DATA, member.name, "its data is cut short");
        }
        if (got == 0)
            break;
        if (method == kMethodStored) {
            status_t status = deliver(input, size_t(got));
            if (status != B_OK)
                return status;
            continue;
        }
        if (ended)
            continue; // bytes after the end of the stream are not data
        stream.next_in = input;
        stream.avail_in = uInt(got);
        // A full output buffer may leave output pending even when all input
        // is taken: go on until inflate has room to spare.
        bool more = true;
        while (!ended && more) {
            stream.next_out = output;
            stream.avail_out = uInt(kChunkSize);
            int result = inflate(&stream, Z_NO_FLUSH);
            if (result != Z_OK && result != Z_STREAM_END && result != Z_BUF_ERROR)
                return FailMember(B_BAD_DATA, member.name, "its compressed data is damaged");
            size_t size = kChunkSize - stream.avail_out;
            if (size > 0) {
                status_t status = deliver(output, size);
                if (status != B_OK)
                    return status;
                if (shouldStop && shouldStop())
                    return Fail(B_CANCELED, "stopped");
            }
            ended = result == Z_STREAM_END;
            more = stream.avail_in > 0 || stream.avail_out == 0;
            if (result == Z_BUF_ERROR && size == 0)
                break;
        }
    }
    // An empty member may come without any compressed data at all.
    bool empty = method == kMethodDeflated && member.compressedSize == 0 && member.size == 0;
    if (!ended && !empty)
        return FailMember(B_BAD_DATA, member.name, "its compressed data is cut short");
    if (produced != member.size)
        return FailMember(B_BAD_DATA, member.name, "it holds less data than the archive declares");
    return B_OK;
}

status_t ZipReader::Fail(status_t status, const std::string& message)
{
    fError = message;
    return status;
}

status_t ZipReader::FailMember(status_t status, const std::string& name, const std::string& reason)
{
    return Fail(status, "refused member \"" + name + "\": " + reason);
}
