#include "ZipExtraFields.h"

#include <zlib.h>

namespace ZipExtraFields {

namespace {

constexpr uint8 kTimeModified = 0x01;
constexpr uint8 kTimeAccessed = 0x02;
constexpr uint8 kTimeCreated = 0x04;
constexpr uint8 kAttributesUncompressed = 0x01;
constexpr uint16 kMethodStored = 0;
constexpr uint16 kMethodDeflated = 8;
constexpr size_t kAttributesHeader = 5;  // size and flags
constexpr size_t kCompressionHeader = 6; // method and CRC

void PutLittle(std::vector<uint8>& out, uint64 value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(uint8(value >> (8 * i)));
}

uint32 GetLittle(const uint8* data, int bytes)
{
    uint32 value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = (value << 8) | data[i];
    return value;
}

void AddBlock(std::vector<uint8>& extra, uint16 tag, const std::vector<uint8>& data)
{
    PutLittle(extra, tag, 2);
    PutLittle(extra, data.size(), 2);
    extra.insert(extra.end(), data.begin(), data.end());
}

bool Fits32(int64 value)
{
    return value >= INT32_MIN && value <= int64(UINT32_MAX);
}

std::vector<uint8> Deflate(const std::vector<uint8>& input)
{
    z_stream stream = {};
    if (deflateInit2(&stream, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return {};
    std::vector<uint8> output(deflateBound(&stream, uLong(input.size())));
    stream.next_in = const_cast<Bytef*>(input.data());
    stream.avail_in = uInt(input.size());
    stream.next_out = output.data();
    stream.avail_out = uInt(output.size());
    int result = deflate(&stream, Z_FINISH);
    output.resize(stream.total_out);
    deflateEnd(&stream);
    return result == Z_STREAM_END ? output : std::vector<uint8>();
}

// Inflates exactly `size` bytes out of a raw deflate stream.
bool Inflate(const uint8* data, size_t length, std::vector<uint8>& output, size_t size)
{
    z_stream stream = {};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK)
        return false;
    output.resize(size);
    uint8 spare;
    stream.next_in = const_cast<Bytef*>(data);
    stream.avail_in = uInt(length);
    // One spare byte of room shows a stream that holds more than it should.
    stream.next_out = size > 0 ? output.data() : &spare;
    stream.avail_out = size > 0 ? uInt(size) : 1;
    int result = inflate(&stream, Z_FINISH);
    bool complete = result == Z_STREAM_END && stream.total_out == size;
    if (complete && size > 0 && stream.avail_out == 0) {
        stream.next_out = &spare;
        stream.avail_out = 1;
        complete = inflate(&stream, Z_FINISH) == Z_STREAM_END && stream.total_out == size;
    }
    inflateEnd(&stream);
    return complete;
}

} // namespace

bool Find(const uint8* extra, size_t size, uint16 tag, const uint8** data, size_t* length)
{
    size_t offset = 0;
    while (size - offset >= 4) {
        uint16 blockTag = uint16(GetLittle(extra + offset, 2));
        size_t blockSize = GetLittle(extra + offset + 2, 2);
        if (blockSize > size - offset - 4)
            return false;
        if (blockTag == tag) {
            *data = extra + offset + 4;
            *length = blockSize;
            return true;
        }
        offset += 4 + blockSize;
    }
    return false;
}

bool ParseZip64Sizes(const uint8* data, size_t length, uint64& size, uint64& compressedSize)
{
    size_t at = 0;
    for (uint64* value : {&size, &compressedSize}) {
        if (*value != kDeferred)
            continue;
        if (length - at < 8)
            return false;
        *value = (uint64(GetLittle(data + at + 4, 4)) << 32) | GetLittle(data + at, 4);
        at += 8;
    }
    return true;
}

void AddTimeStamp(Blocks& blocks, const Times& times)
{
    bool modified = times.hasModified && Fits32(times.modified);
    bool accessed = times.hasAccessed && Fits32(times.accessed);
    bool created = times.hasCreated && Fits32(times.created);
    uint8 flags = (modified ? kTimeModified : 0) | (accessed ? kTimeAccessed : 0)
        | (created ? kTimeCreated : 0);
    if (flags == 0)
        return;
    std::vector<uint8> local {flags};
    std::vector<uint8> central {flags};
    if (modified) {
        PutLittle(local, uint32(times.modified), 4);
        PutLittle(central, uint32(times.modified), 4);
    }
    if (accessed)
        PutLittle(local, uint32(times.accessed), 4);
    if (created)
        PutLittle(local, uint32(times.created), 4);
    AddBlock(blocks.local, kTimeStampTag, local);
    AddBlock(blocks.central, kTimeStampTag, central);
}

Times ParseTimeStamp(const uint8* data, size_t length, int dosYear)
{
    Times times;
    if (length < 1)
        return times;
    uint8 flags = data[0];
    size_t offset = 1;
    auto next = [&](bool wanted, bool& has, int64& value) {
        if (!wanted || length - offset < 4)
            return;
        uint32 raw = GetLittle(data + offset, 4);
        offset += 4;
        has = true;
        bool late = (raw & 0x80000000u) != 0 && dosYear >= 2038;
        value = late ? int64(raw) : int64(int32(raw));
    };
    next(flags & kTimeModified, times.hasModified, times.modified);
    next(flags & kTimeAccessed, times.hasAccessed, times.accessed);
    next(flags & kTimeCreated, times.hasCreated, times.created);
    return times;
}

void AddUnixOwner(Blocks& blocks, uint32 user, uint32 group)
{
    if (user > 0xffff || group > 0xffff)
        return;
    std::vector<uint8> local;
    PutLittle(local, user, 2);
    PutLittle(local, group, 2);
    AddBlock(blocks.local, kUnixOwnerTag, local);
    AddBlock(blocks.central, kUnixOwnerTag, {});
}

void AddAttributes(Blocks& blocks, const ZipAttributeList& list)
{
    if (list.empty())
        return;
    std::vector<uint8> records = ZipAttributeRecords::Flatten(list);
    std::vector<uint8> packed = Deflate(records);
    bool compress = !packed.empty() && kCompressionHeader + packed.size() < records.size();
    uint8 flags = compress ? 0 : kAttributesUncompressed;
    std::vector<uint8> local;
    PutLittle(local, records.size(), 4);
    local.push_back(flags);
    if (compress) {
        PutLittle(local, kMethodDeflated, 2);
        PutLittle(local, crc32(0, records.data(), uInt(records.size())), 4);
        local.insert(local.end(), packed.begin(), packed.end());
    } else {
        local.insert(local.end(), records.begin(), records.end());
    }
    std::vector<uint8> central(local.begin(), local.begin() + kAttributesHeader);
    AddBlock(blocks.local, kAttributesTag, local);
    AddBlock(blocks.central, kAttributesTag, central);
}

status_t ParseAttributes(const uint8* data, size_t length, ZipAttributeList& list)
{
    list.clear();
    if (length < kAttributesHeader)
        return B_BAD_DATA;
    size_t size = GetLittle(data, 4);
    uint8 flags = data[4];
    if (size > ZipAttributeRecords::kMaxRecordBytes)
        return B_BAD_DATA;
    const uint8* body = data + kAttributesHeader;
    size_t bodyLength = length - kAttributesHeader;
    // Info-ZIP's own test: uncompressed only when the flag says so and the
    // sizes agree.
    if ((flags & kAttributesUncompressed) != 0 && size == bodyLength)
        return ZipAttributeRecords::Unflatten(body, size, list);
    if (bodyLength < kCompressionHeader)
        return B_BAD_DATA;
    uint16 method = uint16(GetLittle(body, 2));
    uint32 checksum = GetLittle(body + 2, 4);
    const uint8* packed = body + kCompressionHeader;
    size_t packedLength = bodyLength - kCompressionHeader;
    std::vector<uint8> records;
    if (method == kMethodStored && packedLength == size)
        records.assign(packed, packed + packedLength);
    else if (method != kMethodDeflated || !Inflate(packed, packedLength, records, size))
        return B_BAD_DATA;
    if (crc32(0, records.data(), uInt(records.size())) != checksum)
        return B_BAD_DATA;
    return ZipAttributeRecords::Unflatten(records.data(), records.size(), list);
}

} // namespace ZipExtraFields
