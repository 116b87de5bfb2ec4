#include "MessageFormat.h"

#include <algorithm>
#include <bit>
#include <cctype>
#include <cinttypes>
#include <cstring>

namespace MessageFormat {

namespace {

size_t PaddedItemSize(size_t length)
{
    return (length + 4 + 7) & ~size_t(7);
}

bool WritesFixed(const BMessage::Field& field)
{
    return field.fixedSize && field.type != B_STRING_TYPE && field.type != B_MESSAGE_TYPE;
}

size_t DataSize(const BMessage::Field& field)
{
    size_t size = 0;
    bool fixed = WritesFixed(field);
    for (const auto& item : field.items)
        size += fixed ? item.size() : PaddedItemSize(item.size());
    return size;
}

size_t FieldSize(const BMessage::Field& field)
{
    size_t count = field.items.size();
    size_t data = DataSize(field);
    bool mini = data <= 255 && count <= 255;
    size_t sizeWidth = mini ? 1 : 4;
    size_t countWidth = count == 1 ? 0 : sizeWidth;
    return 1 + 4 + countWidth + sizeWidth + 1 + field.name.size() + data;
}

void PutU32(std::string& out, uint32 value)
{
    char bytes[4];
    memcpy(bytes, &value, 4);
    out.append(bytes, 4);
}

void WriteField(std::string& out, const BMessage::Field& field)
{
    size_t count = field.items.size();
    size_t data = DataSize(field);
    bool fixed = WritesFixed(field);
    bool mini = data <= 255 && count <= 255;
    bool single = count == 1;
    uint8 flags = kFieldValid | (mini ? kFieldMiniData : 0) | (fixed ? kFieldFixedSize : 0)
        | (single ? kFieldSingleItem : 0);
    out.push_back(char(flags));
    PutU32(out, field.type);
    if (!single) {
        if (mini)
            out.push_back(char(count));
        else
            PutU32(out, uint32(count));
    }
    if (mini)
        out.push_back(char(data));
    else
        PutU32(out, uint32(data));
    out.push_back(char(field.name.size()));
    out.append(field.name);
    size_t start = out.size();
    for (const auto& item : field.items) {
        if (fixed) {
            out.append(item);
            continue;
        }
        PutU32(out, uint32(item.size()));
        out.append(item);
        out.resize(start + ((out.size() - start + 7) & ~size_t(7)), '\0');
    }
}

} // namespace

uint32 HeaderChecksum(const uint8* header, size_t headerSize)
{
    uint32 sum = 0;
    size_t at = 8;
    for (; at + 4 <= headerSize; at += 4) {
        sum += (uint32(header[at]) << 24) | (uint32(header[at + 1]) << 16)
            | (uint32(header[at + 2]) << 8) | uint32(header[at + 3]);
    }
    for (; at < headerSize; ++at)
        sum += header[at];
    return sum;
}

size_t FlattenedSize(const BMessage& message)
{
    size_t size = kHeaderSize + 1;
    for (const auto& field : message.Fields())
        size += FieldSize(field);
    return size;
}

std::string Flatten(const BMessage& message)
{
    std::string out;
    out.reserve(FlattenedSize(message));
    PutU32(out, kMagic);
    PutU32(out, 0); // checksum, filled in below
    PutU32(out, 0); // total size, filled in below
    PutU32(out, message.what);
    out.push_back(char(1));
    for (const auto& field : message.Fields())
        WriteField(out, field);
    out.push_back('\0');

    uint32 total = uint32(out.size());
    memcpy(out.data() + 8, &total, 4);
    uint32 checksum = HeaderChecksum(reinterpret_cast<const uint8*>(out.data()), kHeaderSize);
    memcpy(out.data() + 4, &checksum, 4);
    return out;
}

namespace {

// A bounded reader over the input; every read checks what is left.
class Reader {
public:
    Reader(const uint8* data, size_t size, bool swap)
        : fData(data)
        , fSize(size)
        , fSwap(swap)
    { }

    bool U8(uint8& value)
    {
        if (fAt + 1 > fSize)
            return false;
        value = fData[fAt++];
        return true;
    }

    bool U32(uint32& value)
    {
        if (fAt + 4 > fSize)
            return false;
        memcpy(&value, fData + fAt, 4);
        if (fSwap)
            value = __builtin_bswap32(value);
        fAt += 4;
        return true;
    }

    bool Bytes(size_t count, const uint8*& bytes)
    {
        if (count > fSize - fAt)
            return false;
        bytes = fData + fAt;
        fAt += count;
        return true;
    }

    size_t At() const { return fAt; }
    bool Swapped() const { return fSwap; }

private:
    const uint8* fData;
    size_t fSize;
    size_t fAt = 0;
    bool fSwap;
};

status_t ReadMessage(const uint8* data, size_t size, int depth, BMessage& result, size_t* consumed);

// Converts a big-endian item to our byte order, element by element.
void SwapItem(type_code type, std::string& item)
{
    size_t element = 0;
    switch (type) {
    case B_INT16_TYPE:
    case B_UINT16_TYPE:
        element = 2;
        break;
    case B_INT32_TYPE:
    case B_UINT32_TYPE:
    case B_FLOAT_TYPE:
    case B_RECT_TYPE:
    case B_POINT_TYPE:
        element = 4;
        break;
    case B_INT64_TYPE:
    case B_UINT64_TYPE:
    case B_DOUBLE_TYPE:
        element = 8;
        break;
    default:
        return;
    }
    for (size_t at = 0; at + element <= item.size(); at += element)
        std::reverse(item.begin() + long(at), item.begin() + long(at + element));
}

status_t CheckItem(type_code type, std::string& item, int depth)
{
    if (type == B_STRING_TYPE && (item.empty() || item.back() != '\0'))
        return B_BAD_DATA;
    if (type != B_MESSAGE_TYPE)
        return B_OK;
    // Keep nested messages in our own canonical form.
    BMessage nested;
    size_t used = 0;
    status_t status = ReadMessage(
        reinterpret_cast<const uint8*>(item.data()), item.size(), depth + 1, nested, &used);
    if (status != B_OK)
        return status;
    if (used != item.size())
        return B_BAD_DATA;
    item = Flatten(nested);
    return B_OK;
}

status_t ReadFixedItems(
    const uint8* data, size_t dataSize, uint32 count, BMessage::Field& field, bool swap)
{
    size_t typeSize = 0;
    type_is_fixed_size(field.type, &typeSize);
    if (field.type == B_STRING_TYPE || field.type == B_MESSAGE_TYPE)
        return B_BAD_DATA;
    if (typeSize != 0 && dataSize != size_t(count) * typeSize)
        return B_BAD_DATA;
    if (dataSize % count != 0)
        return B_BAD_DATA;
    size_t itemSize = dataSize / count;
    field.items.reserve(count);
    for (uint32 i = 0; i < count; ++i) {
        std::string item(reinterpret_cast<const char*>(data) + i * itemSize, itemSize);
        if (swap)
            SwapItem(field.type, item);
        field.items.push_back(std::move(item));
    }
    return B_OK;
}

status_t ReadVariableItems(
    const uint8* data, size_t dataSize, uint32 count, BMessage::Field& field, bool swap, int depth)
{
    if (size_t(count) * 4 > dataSize)
        return B_BAD_DATA;
    size_t at = 0;
    for (uint32 i = 0; i < count; ++i) {
        if (at + 4 > dataSize)
            return B_BAD_DATA;
        uint32 length;
        memcpy(&length, data + at, 4);
        if (swap)
            length = __builtin_bswap32(length);
        if (int32(length) < 0 || length > dataSize - at - 4)
            return B_BAD_DATA;
        std::string item(reinterpret_cast<const char*>(data) + at + 4, length);
        status_t status = CheckItem(field.type, item, depth);
        if (status != B_OK)
            return status;
        field.items.push_back(std::move(item));
        size_t end = at + 4 + length;
        at = (end + 7) & ~size_t(7);
        if (i + 1 == count && (dataSize < end || dataSize > at))
            return B_BAD_DATA; // the last item must end the data, padding aside
    }
    return B_OK;
}

status_t ReadField(Reader& reader, uint8 flags, int depth, BMessage& result)
{
    if (flags & ~uint8(kFieldValid | kFieldMiniData | kFieldFixedSize | kFieldSingleItem))
        return B_BAD_DATA;
    bool mini = flags & kFieldMiniData;
    BMessage::Field field;
    if (!reader.U32(field.type))
        return B_BAD_DATA;
    uint32 count = 1;
    uint32 dataSize = 0;
    uint8 small = 0;
    if (!(flags & kFieldSingleItem)) {
        if (mini ? !reader.U8(small) : !reader.U32(count))
            return B_BAD_DATA;
        if (mini)
            count = small;
    }
    if (mini ? !reader.U8(small) : !reader.U32(dataSize))
        return B_BAD_DATA;
    if (mini)
        dataSize = small;
    if (count == 0 || int32(count) < 0 || int32(dataSize) < 0)
        return B_BAD_DATA;
    uint8 nameLength;
    const uint8* name;
    const uint8* data;
    if (!reader.U8(nameLength) || nameLength == 0 || !reader.Bytes(nameLength, name)
        || !reader.Bytes(dataSize, data))
        return B_BAD_DATA;
    if (count > dataSize && count > 65536)
        return B_BAD_DATA; // more empty items than anything could mean
    field.name.assign(reinterpret_cast<const char*>(name), nameLength);
    field.fixedSize = flags & kFieldFixedSize;
    status_t status = field.fixedSize
        ? ReadFixedItems(data, dataSize, count, field, reader.Swapped())
        : ReadVariableItems(data, dataSize, count, field, reader.Swapped(), depth);
    if (status != B_OK)
        return status;
    size_t typeSize = 0;
    type_is_fixed_size(field.type, &typeSize);
    if (!field.fixedSize && typeSize != 0) {
        // Another writer's variable layout of a type with a size of its own.
        for (auto& item : field.items) {
            if (item.size() != typeSize)
                return B_BAD_DATA;
        }
        field.fixedSize = true;
    }
    return result.AddField(std::move(field)) == B_OK ? B_OK : B_BAD_DATA;
}

status_t ReadMessage(const uint8* data, size_t size, int depth, BMessage& result, size_t* consumed)
{
    if (depth > kMaxDepth)
        return B_BAD_DATA;
    if (data == nullptr || size < kHeaderSize + 1)
        return B_BAD_VALUE;
    bool swap;
    if (memcmp(data, "1BOF", 4) == 0)
        swap = false;
    else if (memcmp(data, "FOB1", 4) == 0)
        swap = true;
    else
        return B_BAD_VALUE;

    Reader header(data, size, swap);
    uint32 magic, checksum, total, what;
    uint8 flags;
    header.U32(magic);
    header.U32(checksum);
    header.U32(total);
    header.U32(what);
    header.U8(flags);
    if (flags != 1)
        return B_BAD_DATA; // not valid, or target and reply sections we do not read
    if (total < kHeaderSize + 1 || total > size)
        return B_BAD_DATA;
    if (checksum != HeaderChecksum(data, kHeaderSize))
        return B_BAD_DATA;

    Reader reader(data, total, swap);
    const uint8* skipped;
    reader.Bytes(kHeaderSize, skipped);
    result.what = what;
    for (;;) {
        uint8 fieldFlags;
        if (!reader.U8(fieldFlags))
            return B_BAD_DATA;
        if (fieldFlags == 0)
            break;
        if (!(fieldFlags & kFieldValid))
            return B_BAD_DATA;
        status_t status = ReadField(reader, fieldFlags, depth, result);
        if (status != B_OK)
            return status;
    }
    if (reader.At() != total)
        return B_BAD_DATA;
    *consumed = total;
    return B_OK;
}

void PrintValue(const BMessage::Field& field, const std::string& item, FILE* stream, int indent)
{
    const char* bytes = item.data();
    switch (field.type) {
    case B_STRING_TYPE:
        fprintf(stream, "\"%s\"\n", item.c_str());
        return;
    case B_BOOL_TYPE:
        fprintf(stream, "%s\n", item.size() == 1 && item[0] ? "true" : "false");
        return;
    case B_INT8_TYPE:
        fprintf(stream, "%d\n", int(int8(bytes[0])));
        return;
    case B_INT16_TYPE: {
        int16 v;
        memcpy(&v, bytes, 2);
        fprintf(stream, "%d\n", int(v));
        return;
    }
    case B_INT32_TYPE: {
        int32 v;
        memcpy(&v, bytes, 4);
        fprintf(stream, "%" PRId32 " (0x%" PRIx32 ")\n", v, uint32(v));
        return;
    }
    case B_INT64_TYPE: {
        int64 v;
        memcpy(&v, bytes, 8);
        fprintf(stream, "%" PRId64 "\n", v);
        return;
    }
    case B_FLOAT_TYPE: {
        float v;
        memcpy(&v, bytes, 4);
        fprintf(stream, "%.6g\n", double(v));
        return;
    }
    case B_DOUBLE_TYPE: {
        double v;
        memcpy(&v, bytes, 8);
        fprintf(stream, "%.15g\n", v);
        return;
    }
    case B_RECT_TYPE: {
        float r[4];
        memcpy(r, bytes, 16);
        fprintf(stream, "BRect(l:%.1f, t:%.1f, r:%.1f, b:%.1f)\n", double(r[0]), double(r[1]),
            double(r[2]), double(r[3]));
        return;
    }
    case B_POINT_TYPE: {
        float p[2];
        memcpy(p, bytes, 8);
        fprintf(stream, "BPoint(x:%.1f, y:%.1f)\n", double(p[0]), double(p[1]));
        return;
    }
    case B_MESSAGE_TYPE: {
        BMessage nested;
        fprintf(stream, "\n");
        if (nested.Unflatten(item) == B_OK)
            Print(nested, stream, indent + 2);
        return;
    }
    default:
        fprintf(stream, "%zu bytes\n", item.size());
        return;
    }
}

} // namespace

status_t Unflatten(const char* data, size_t size, BMessage& result)
{
    result.MakeEmpty();
    result.what = 0;
    size_t consumed = 0;
    status_t status = ReadMessage(reinterpret_cast<const uint8*>(data), size, 0, result, &consumed);
    if (status != B_OK) {
        result.MakeEmpty();
        result.what = 0;
    }
    return status;
}

void Print(const BMessage& message, FILE* stream, int indent)
{
    uint32 what = message.what;
    fprintf(stream, "%*sBMessage: what = '%s' (0x%" PRIx32 ", or %" PRIu32 ")\n", indent, "",
        type_code_text(what).text, what, what);
    for (const auto& field : message.Fields()) {
        for (size_t i = 0; i < field.items.size(); ++i) {
            fprintf(stream, "%*s    entry %14s, type='%s', c=%zu, size=%3zu, data[%zu]: ", indent,
                "", field.name.c_str(), type_code_text(field.type).text, field.items.size(),
                field.items[i].size(), i);
            PrintValue(field, field.items[i], stream, indent + 4);
        }
    }
}

} // namespace MessageFormat
