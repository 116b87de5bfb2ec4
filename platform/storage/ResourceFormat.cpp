#include "ResourceFormat.h"

#include "ElfExtent.h"
#include "WriteAll.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <zlib.h>

namespace ResourceFormat {

namespace {

constexpr size_t kCopyBuffer = 256 * 1024;

uint64 Get(const uint8* bytes, int size)
{
    uint64 value = 0;
    for (int i = 0; i < size; ++i)
        value |= uint64(bytes[i]) << (8 * i);
    return value;
}

void Put(std::string& out, uint64 value, int size)
{
    for (int i = 0; i < size; ++i)
        out.push_back(char(value >> (8 * i)));
}

Index Damaged(Index index, std::string problem)
{
    index.state = State::Damaged;
    index.problem = std::move(problem);
    index.entries.clear();
    return index;
}

bool HasHeadAt(const ByteSource& source, uint64 offset)
{
    char magic[8];
    return source.ReadAt(offset, magic, 8) && memcmp(magic, kHeadMagic, 8) == 0;
}

bool ReadEntries(
    const std::string& table, uint64 start, uint64 indexOffset, Index& index, std::string& problem)
{
    const auto* bytes = reinterpret_cast<const uint8*>(table.data());
    uint64 count = Get(bytes, 4);
    if (count > kMaxResources || kIndexHeaderSize + count * kEntrySize > table.size()) {
        problem = "the resource count does not fit the index";
        return false;
    }
    uint64 namesAt = kIndexHeaderSize + count * kEntrySize;
    uint64 namesSize = table.size() - namesAt;
    for (uint64 i = 0; i < count; ++i) {
        const uint8* at = bytes + kIndexHeaderSize + i * kEntrySize;
        Entry entry;
        entry.type = type_code(Get(at, 4));
        entry.id = int32(uint32(Get(at + 4, 4)));
        uint64 offset = Get(at + 8, 8);
        entry.size = Get(at + 16, 8);
        entry.crc = uint32(Get(at + 24, 4));
        uint64 nameOffset = Get(at + 28, 4);
        uint64 nameLength = Get(at + 32, 4);
        if (offset < kHeadSize || offset > indexOffset || entry.size > indexOffset - offset) {
            problem = "a resource lies outside the container";
            return false;
        }
        if (nameLength > kMaxNameLength || nameOffset > namesSize
            || nameLength > namesSize - nameOffset) {
            problem = "a resource name lies outside the index";
            return false;
        }
        entry.offset = start + offset;
        entry.name = table.substr(size_t(namesAt + nameOffset), size_t(nameLength));
        index.entries.push_back(std::move(entry));
    }
    std::vector<std::pair<type_code, int32>> keys;
    for (const Entry& entry : index.entries)
        keys.emplace_back(entry.type, entry.id);
    std::sort(keys.begin(), keys.end());
    if (std::adjacent_find(keys.begin(), keys.end()) != keys.end()) {
        problem = "two resources have the same type and id";
        return false;
    }
    return true;
}

Index ReadContainer(const ByteSource& source, const uint8* trailer, Index index)
{
    uint64 fileSize = source.Size();
    uint64 indexOffset = Get(trailer, 8);
    uint64 indexSize = Get(trailer + 8, 8);
    uint64 containerSize = Get(trailer + 16, 8);
    uint32 indexCrc = uint32(Get(trailer + 24, 4));
    if (Get(trailer + 28, 4) != kVersion)
        return Damaged(index, "unknown container version");
    if (containerSize < kHeadSize + kTrailerSize + kIndexHeaderSize || containerSize > fileSize)
        return Damaged(index, "the container size does not fit the file");
    index.start = fileSize - containerSize;
    if (index.elfEnd >= 0 && index.start < uint64(index.elfEnd))
        return Damaged(index, "the container overlaps the program");
    uint8 head[kHeadSize];
    if (!source.ReadAt(index.start, head, kHeadSize) || memcmp(head, kHeadMagic, 8) != 0
        || Get(head + 8, 4) != kVersion)
        return Damaged(index, "the container has no valid header");
    uint64 indexEnd = containerSize - kTrailerSize;
    if (indexOffset < kHeadSize || indexSize < kIndexHeaderSize || indexSize > kMaxIndexSize
        || indexOffset > indexEnd || indexSize > indexEnd - indexOffset)
        return Damaged(index, "the index lies outside the container");
    std::string table(size_t(indexSize), '\0');
    if (!source.ReadAt(index.start + indexOffset, table.data(), table.size()))
        return Damaged(index, "the index cannot be read");
    if (Checksum(table.data(), table.size()) != indexCrc)
        return Damaged(index, "the index checksum does not match");
    std::string problem;
    if (!ReadEntries(table, index.start, indexOffset, index, problem))
        return Damaged(index, problem);
    index.state = State::Valid;
    return index;
}

status_t CopyRange(
    int from, uint64 fromOffset, int to, uint64 toOffset, uint64 size, uint32* crc = nullptr)
{
    std::string buffer(kCopyBuffer, '\0');
    FileByteSource source(from);
    if (crc)
        *crc = 0;
    for (uint64 done = 0; done < size;) {
        size_t piece = size_t(std::min<uint64>(kCopyBuffer, size - done));
        if (!source.ReadAt(fromOffset + done, buffer.data(), piece))
            return B_IO_ERROR;
        if (crc)
            *crc = Checksum(buffer.data(), piece, *crc);
        status_t status = write_all_at(to, off_t(toOffset + done), buffer.data(), piece);
        if (status != B_OK)
            return status;
        done += piece;
    }
    return B_OK;
}

// Copies an item's bytes from its file, opening it by path when it has no
// descriptor.
status_t CopyItem(const Item& item, int to, uint64 toOffset, uint32& crc)
{
    int from = item.fd;
    if (from < 0) {
        from = open(item.path.c_str(), O_RDONLY | O_CLOEXEC);
        if (from < 0)
            return status_from_errno(errno);
    }
    status_t status
        = CopyRange(from, item.offset, to, toOffset, item.size, item.computeCrc ? &crc : nullptr);
    if (from != item.fd)
        close(from);
    return status;
}

} // namespace

uint32 Checksum(const void* data, size_t size, uint32 crc)
{
    const auto* bytes = static_cast<const Bytef*>(data);
    while (size > 0) {
        uInt piece = uInt(std::min<size_t>(size, 1u << 30));
        crc = uint32(crc32(crc, bytes, piece));
        bytes += piece;
        size -= piece;
    }
    return crc;
}

bool ChecksumRange(const ByteSource& source, uint64 offset, uint64 size, uint32& crc)
{
    std::string buffer(size_t(std::min<uint64>(kCopyBuffer, size)), '\0');
    crc = 0;
    for (uint64 done = 0; done < size;) {
        size_t piece = size_t(std::min<uint64>(kCopyBuffer, size - done));
        if (!source.ReadAt(offset + done, buffer.data(), piece))
            return false;
        crc = Checksum(buffer.data(), piece, crc);
        done += piece;
    }
    return true;
}

Index ReadIndex(const ByteSource& source)
{
    Index index;
    index.elfEnd = elf_content_end(source);
    uint64 fileSize = source.Size();
    index.start = fileSize;
    uint8 trailer[kTrailerSize];
    if (fileSize >= kHeadSize + kTrailerSize
        && source.ReadAt(fileSize - kTrailerSize, trailer, kTrailerSize)
        && memcmp(trailer + kTrailerSize - 8, kTrailerMagic, 8) == 0)
        return ReadContainer(source, trailer, index);
    // A container cut short has lost its trailer, but its header still
    // sits right after the program.
    if (index.elfEnd >= 0 && fileSize > uint64(index.elfEnd)
        && HasHeadAt(source, uint64(index.elfEnd))) {
        index.start = uint64(index.elfEnd);
        return Damaged(index, "the container has no trailer (the file was cut short)");
    }
    return index;
}

status_t WriteContainer(
    int outFd, uint64 start, const std::vector<Item>& items, std::vector<Entry>& written)
{
    written.clear();
    if (items.size() > kMaxResources)
        return B_BAD_VALUE;
    std::string head(kHeadMagic, 8);
    Put(head, kVersion, 4);
    Put(head, kHeadSize, 4);
    head.resize(kHeadSize, '\0');
    status_t status = write_all_at(outFd, off_t(start), head.data(), head.size());
    uint64 at = kHeadSize;
    std::string entries, names;
    Put(entries, items.size(), 4);
    Put(entries, 0, 4);
    for (const Item& item : items) {
        if (status != B_OK)
            return status;
        if (item.name.size() > kMaxNameLength)
            return B_NAME_TOO_LONG;
        Entry entry {item.type, item.id, item.name, start + at, item.size, item.crc};
        if (item.memory) {
            entry.size = item.memory->size();
            entry.crc = Checksum(item.memory->data(), item.memory->size());
            status
                = write_all_at(outFd, off_t(start + at), item.memory->data(), item.memory->size());
        } else {
            status = CopyItem(item, outFd, start + at, entry.crc);
        }
        Put(entries, entry.type, 4);
        Put(entries, uint32(entry.id), 4);
        Put(entries, at, 8);
        Put(entries, entry.size, 8);
        Put(entries, entry.crc, 4);
        Put(entries, names.size(), 4);
        Put(entries, entry.name.size(), 4);
        Put(entries, 0, 4);
        names += entry.name;
        at += entry.size;
        written.push_back(std::move(entry));
    }
    if (status != B_OK)
        return status;
    std::string table = entries + names;
    std::string trailer;
    Put(trailer, at, 8);
    Put(trailer, table.size(), 8);
    Put(trailer, at + table.size() + kTrailerSize, 8);
    Put(trailer, Checksum(table.data(), table.size()), 4);
    Put(trailer, kVersion, 4);
    trailer.append(kTrailerMagic, 8);
    status = write_all_at(outFd, off_t(start + at), table.data(), table.size());
    if (status != B_OK)
        return status;
    return write_all_at(outFd, off_t(start + at + table.size()), trailer.data(), trailer.size());
}

} // namespace ResourceFormat
