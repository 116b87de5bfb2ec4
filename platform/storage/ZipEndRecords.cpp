#include "ZipEndRecords.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace {

constexpr uint32 kEndSignature = 0x06054b50;
constexpr uint32 kZip64EndSignature = 0x06064b50;
constexpr uint32 kLocatorSignature = 0x07064b50;
constexpr uint32 kCentralSignature = 0x02014b50;
constexpr size_t kEndSize = 22;
constexpr size_t kLocatorSize = 20;
constexpr size_t kZip64EndSize = 56;
constexpr size_t kCentralSize = 46;
// What a Zip64 end record needs to extract: the format's version 4.5.
constexpr uint16 kZip64Version = 45;

uint64 Get(const uint8* data, int bytes)
{
    uint64 value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = (value << 8) | data[i];
    return value;
}

void Put(uint8* data, uint64 value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        data[i] = uint8(value >> (8 * i));
}

bool ReadAt(int fd, uint8* buffer, size_t size, uint64 offset, std::string& why)
{
    ssize_t got = pread(fd, buffer, size, off_t(offset));
    if (got == ssize_t(size))
        return true;
    why = got < 0 ? std::string("cannot read the archive: ") + strerror(errno)
                  : "the archive ends before its directory does";
    return false;
}

bool WriteAt(int fd, const uint8* buffer, size_t size, uint64 offset, std::string& why)
{
    ssize_t put = pwrite(fd, buffer, size, off_t(offset));
    if (put == ssize_t(size))
        return true;
    why = std::string("cannot write the archive: ") + strerror(put < 0 ? errno : ENOSPC);
    return false;
}

} // namespace

bool ZipEndRecords::Finish(int fd, uint64& size, uint64 entries, uint8 hostSystem, std::string& why)
{
    Directory directory;
    if (!ReadDirectory(fd, size, directory, why))
        return false;
    if (!directory.hasZip64 && entries >= 0xffff) {
        // minizip cut the count; the directory itself holds every member.
        directory.entries = entries;
        if (!AddZip64(fd, size, directory, why))
            return false;
    }
    if (directory.entries != entries) {
        why = "the archive's directory counts " + std::to_string(directory.entries)
            + " members instead of " + std::to_string(entries);
        return false;
    }
    return SetHostSystem(fd, directory, hostSystem, why);
}

bool ZipEndRecords::ReadDirectory(int fd, uint64 size, Directory& directory, std::string& why)
{
    uint8 end[kEndSize];
    if (size < kEndSize || !ReadAt(fd, end, kEndSize, size - kEndSize, why)
        || Get(end, 4) != kEndSignature) {
        if (why.empty())
            why = "the archive's end record is missing";
        return false;
    }
    directory.entries = Get(end + 10, 2);
    directory.size = Get(end + 12, 4);
    directory.offset = Get(end + 16, 4);
    uint8 locator[kLocatorSize];
    if (size < kEndSize + kLocatorSize
        || !ReadAt(fd, locator, kLocatorSize, size - kEndSize - kLocatorSize, why)
        || Get(locator, 4) != kLocatorSignature) {
        why.clear();
        return true;
    }
    uint8 record[kZip64EndSize];
    if (!ReadAt(fd, record, kZip64EndSize, Get(locator + 8, 8), why)
        || Get(record, 4) != kZip64EndSignature) {
        if (why.empty())
            why = "the archive's Zip64 end record is not where its locator says";
        return false;
    }
    directory.entries = Get(record + 32, 8);
    directory.size = Get(record + 40, 8);
    directory.offset = Get(record + 48, 8);
    directory.hasZip64 = true;
    return true;
}

// Replaces the end record with the Zip64 end record, its locator and an end
// record whose fields that cannot hold their value say so (all ones).
bool ZipEndRecords::AddZip64(int fd, uint64& size, const Directory& directory, std::string& why)
{
    uint8 tail[kZip64EndSize + kLocatorSize + kEndSize] = {};
    const uint64 recordAt = size - kEndSize;
    uint8* record = tail;
    Put(record, kZip64EndSignature, 4);
    Put(record + 4, kZip64EndSize - 12, 8);
    Put(record + 12, kZip64Version, 2);
    Put(record + 14, kZip64Version, 2);
    Put(record + 24, directory.entries, 8);
    Put(record + 32, directory.entries, 8);
    Put(record + 40, directory.size, 8);
    Put(record + 48, directory.offset, 8);
    uint8* locator = record + kZip64EndSize;
    Put(locator, kLocatorSignature, 4);
    Put(locator + 8, recordAt, 8);
    Put(locator + 16, 1, 4);
    uint8* end = locator + kLocatorSize;
    Put(end, kEndSignature, 4);
    Put(end + 8, std::min<uint64>(directory.entries, 0xffff), 2);
    Put(end + 10, std::min<uint64>(directory.entries, 0xffff), 2);
    Put(end + 12, std::min<uint64>(directory.size, 0xffffffff), 4);
    Put(end + 16, std::min<uint64>(directory.offset, 0xffffffff), 4);
    if (!WriteAt(fd, tail, sizeof tail, recordAt, why))
        return false;
    size = recordAt + sizeof tail;
    return true;
}

bool ZipEndRecords::SetHostSystem(
    int fd, const Directory& directory, uint8 hostSystem, std::string& why)
{
    uint64 offset = directory.offset;
    uint8 header[kCentralSize];
    for (uint64 i = 0; i < directory.entries; ++i) {
        if (!ReadAt(fd, header, kCentralSize, offset, why))
            return false;
        if (Get(header, 4) != kCentralSignature) {
            why = "member " + std::to_string(i + 1) + " of the archive's directory is damaged";
            return false;
        }
        if (header[5] != hostSystem) {
            header[5] = hostSystem;
            if (!WriteAt(fd, header + 5, 1, offset + 5, why))
                return false;
        }
        offset += kCentralSize + Get(header + 28, 2) + Get(header + 30, 2) + Get(header + 32, 2);
    }
    return true;
}
