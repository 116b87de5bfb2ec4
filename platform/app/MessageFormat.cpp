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

size_t DataSize(const BMessage::Field& field, bool fixed)
{
    size_t size = 0;
    for (const auto& item : field.items)
        size += fixed ? item.size() : PaddedItemSize(item.size());
    return size;
}

bool UsesMiniSizes(size_t dataSize, size_t count)
{
    return dataSize <= 255 && count <= 255;
}

size_t FieldSize(const BMessage::Field& field)
{
    size_t count = field.items.size();
    size_t data = DataSize(field, IsFixedLayout(field.type, field.items));
    size_t sizeWidth = UsesMiniSizes(data, count) ? 1 : 4;
    size_t countWidth = count == 1 ? 0 : sizeWidth;
    return 1 + 4 + countWidth + sizeWidth + 1 + field.name.size() + data;
}

void PutU32(std::string& out, uint32 value)
{
    char bytes[4];
    memcpy(bytes, &value, 4);
    out.append(bytes, 4);
}

void PutSize(std::string& out, size_t value, bool mini)
{
    if (mini)
        out.push_back(char(value));
    else
        PutU32(out, uint32(value));
}

void WriteField(std::string& out, const BMessage::Field& field)
{
    size_t count = field.items.size();
    bool fixed = IsFixedLayout(field.type, field.items);
    size_t data = DataSize(field, fixed);
    bool mini = UsesMiniSizes(data, count);
    bool single = count == 1;
    uint8 flags = kFieldValid | (mini ? kFieldMiniData : 0) | (fixed ? kFieldFixedSize : 0)
        | (single ? kFieldSingleItem : 0);
    out.push_back(char(flags));
    PutU32(out, field.type);
    if (!single)
        PutSize(out, count, mini);
    PutSize(out, data, mini);
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

bool IsFixedLayout(type_code type, const std::vector<std::string>& items)
{
    if (!type_is_fixed_size(type))
        return false;
    for (const auto& item : items) {
        if (item.size() != items.front().size())
            return false;
    }
    return true;
}

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

// A bounded cursor over the input; every read checks what is left.
class Cursor {
public:
    Cursor(const uint8* data, size_t size, bool swap)
        : fData(data)
        , fSize(size)
        , fSwap(swap)
    { }

    bool U8(uint8& value)
    {
        if (fAt >= fSize)
            return false;
        value = fData[fAt++];
        return true;
    }

    bool U32(uint32& value)
    {
        if (fSize - fAt < 4)
            return false;
        memcpy(&value, fData + fAt, 4);
        if (fSwap)
            value = __builtin_bswap32(value);
        fAt += 4;
        return true;
    }

    // A size or count: one byte in the mini form, else four.
    bool Size(bool mini, uint32& value)
    {
        uint8 small = 0;
        if (!mini)
            return U32(value);
        if (!U8(small))
            return false;
        value = small;
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

    void Skip(size_t count) { fAt += std::min(count, fSize - fAt); }

    size_t At() const { return fAt; }

private:
    const uint8* fData;
    size_t fSize;
    size_t fAt = 0;
    bool fSwap;
};

// Converts an item of the other byte order to ours, element by element.
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

// One unflatten call: nested messages are read by the same reader, so the
// limits below hold for the whole tree.
class FlatReader {
public:
    status_t ReadMessage(const uint8* data, size_t size, int depth, BMessage& result, size_t& used);

private:
    status_t ReadField(Cursor& cursor, uint8 flags, bool swap, int depth, BMessage& result);
    status_t ReadFixedItems(
        const uint8* data, size_t dataSize, uint32 count, BMessage::Field& field);
    status_t ReadVariableItems(
        const uint8* data, size_t dataSize, uint32 count, BMessage::Field& field, bool swap);
    status_t CheckItem(type_code type, std::string& item, int depth);

    size_t fEmptyItems = 0;
};

status_t FlatReader::CheckItem(type_code type, std::string& item, int depth)
{
    if (type == B_STRING_TYPE && (item.empty() || item.back() != '\0'))
        return B_BAD_DATA;
    if (type != B_MESSAGE_TYPE)
        return B_OK;
    // Nested messages are kept in our own canonical form.
    BMessage nested;
    size_t used = 0;
    status_t status = ReadMessage(
        reinterpret_cast<const uint8*>(item.data()), item.size(), depth + 1, nested, used);
    if (status != B_OK)
        return status;
    if (used != item.size())
        return B_BAD_DATA;
    item = Flatten(nested);
    return B_OK;
}

status_t FlatReader::ReadFixedItems(
    const uint8* data, size_t dataSize, uint32 count, BMessage::Field& field)
{
    size_t typeSize = 0;
    if (!type_is_fixed_size(field.type, &typeSize))
        return B_BAD_DATA; // strings and messages need their lengths
    if (typeSize != 0 && dataSize != size_t(count) * typeSize)
        return B_BAD_DATA;
    if (dataSize % count != 0)
        return B_BAD_DATA;
    size_t itemSize = dataSize / count;
    if (itemSize == 0) {
        // A raw field of empty items is valid, but it costs no input.
        if (count > kMaxEmptyItems - fEmptyItems)
            return B_BAD_DATA;
        fEmptyItems += count;
    }
    field.items.reserve(count);
    for (uint32 i = 0; i < count; ++i)
        field.items.emplace_back(reinterpret_cast<const char*>(data) + i * itemSize, itemSize);
    return B_OK;
}

status_t FlatReader::ReadVariableItems(
    const uint8* data, size_t dataSize, uint32 count, BMessage::Field& field, bool swap)
{
    if (size_t(count) * 4 > dataSize)
        return B_BAD_DATA;
    size_t at = 0;
    for (uint32 i = 0; i < count; ++i) {
        uint32 length;
        if (dataSize - at < 4)
            return B_BAD_DATA;
        memcpy(&length, data + at, 4);
        if (swap)
            length = __builtin_bswap32(length);
        if (length > uint32(INT32_MAX) || length > dataSize - at - 4)
            return B_BAD_DATA;
        field.items.emplace_back(reinterpret_cast<const char*>(data) + at + 4, length);
        size_t end = at + 4 + length;
        at = std::min(dataSize, (end + 7) & ~size_t(7)); // skip the padding, whatever it holds
        if (i + 1 == count && at != dataSize)
            return B_BAD_DATA; // the last item ends the data, padding aside
    }
    return B_OK;
}

status_t FlatReader::ReadField(Cursor& cursor, uint8 flags, bool swap, int depth, BMessage& result)
{
    if (flags & ~uint8(kFieldValid | kFieldMiniData | kFieldFixedSize | kFieldSingleItem))
        return B_BAD_DATA;
    bool mini = flags & kFieldMiniData;
    BMessage::Field field;
    uint32 count = 1;
    uint32 dataSize = 0;
    if (!cursor.U32(field.type))
        return B_BAD_DATA;
    if (!(flags & kFieldSingleItem) && !cursor.Size(mini, count))
        return B_BAD_DATA;
    if (!cursor.Size(mini, dataSize))
        return B_BAD_DATA;
    if (count == 0 || count > uint32(INT32_MAX) || dataSize > uint32(INT32_MAX))
        return B_BAD_DATA;
    uint8 nameLength;
    const uint8* name;
    const uint8* data;
    if (!cursor.U8(nameLength) || nameLength == 0 || !cursor.Bytes(nameLength, name)
        || !cursor.Bytes(dataSize, data))
        return B_BAD_DATA;
    field.name.assign(reinterpret_cast<const char*>(name), nameLength);
    if (field.name.find('\0') != std::string::npos)
        return B_BAD_DATA; // names are C strings
    status_t status = (flags & kFieldFixedSize)
        ? ReadFixedItems(data, dataSize, count, field)
        : ReadVariableItems(data, dataSize, count, field, swap);
    if (status != B_OK)
        return status;
    size_t typeSize = 0;
    type_is_fixed_size(field.type, &typeSize);
    for (auto& item : field.items) {
        if (typeSize != 0 && item.size() != typeSize)
            return B_BAD_DATA; // another writer's variable layout of a sized type
        if (swap)
            SwapItem(field.type, item);
        status = CheckItem(field.type, item, depth);
        if (status != B_OK)
            return status;
    }
    return result.AddField(std::move(field)) == B_OK ? B_OK : B_BAD_DATA;
}

status_t FlatReader::ReadMessage(
    const uint8* data, size_t size, int depth, BMessage& result, size_t& used)
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

    Cursor header(data, size, swap);
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

    Cursor cursor(data, total, swap);
    const uint8* skipped;
    cursor.Bytes(kHeaderSize, skipped);
    result.what = what;
    for (;;) {
        uint8 fieldFlags;
        if (!cursor.U8(fieldFlags))
            return B_BAD_DATA;
        if (!(fieldFlags & kFieldValid))
            break; // the end of the field list
        status_t status = ReadField(cursor, fieldFlags, swap, depth, result);
        if (status != B_OK)
            return status;
    }
    if (cursor.At() != total)
        return B_BAD_DATA;
    used = total;
    return B_OK;
}

// Levels of messages inside a flattened message of our own writing (nested
// items are kept canonical, so their layout is known), counted up to `limit`.
int FlatDepth(const uint8* data, size_t size, int limit)
{
    if (size < kHeaderSize + 1 || limit <= 0)
        return 0;
    Cursor cursor(data, size, false);
    const uint8* skipped;
    cursor.Bytes(kHeaderSize, skipped);
    int depth = 0;
    uint8 flags;
    while (cursor.U8(flags) && (flags & kFieldValid)) {
        bool mini = flags & kFieldMiniData;
        uint32 type = 0, count = 1, dataSize = 0;
        uint8 nameLength = 0;
        const uint8* bytes;
        if (!cursor.U32(type) || (!(flags & kFieldSingleItem) && !cursor.Size(mini, count))
            || !cursor.Size(mini, dataSize) || !cursor.U8(nameLength)
            || !cursor.Bytes(nameLength, bytes) || !cursor.Bytes(dataSize, bytes))
            break;
        if (type != B_MESSAGE_TYPE)
            continue;
        Cursor items(bytes, dataSize, false);
        uint32 length;
        const uint8* item;
        while (items.U32(length) && items.Bytes(length, item)) {
            depth = std::max(depth, 1 + FlatDepth(item, length, limit - 1));
            items.Skip(PaddedItemSize(length) - 4 - length);
        }
    }
    return depth;
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

int NestingDepth(const BMessage& message)
{
    int depth = 0;
    for (const auto& field : message.Fields()) {
        if (field.type != B_MESSAGE_TYPE)
            continue;
        for (const auto& item : field.items) {
            const uint8* bytes = reinterpret_cast<const uint8*>(item.data());
            depth = std::max(depth, 1 + FlatDepth(bytes, item.size(), kMaxDepth + 1));
        }
    }
    return depth;
}

status_t Unflatten(const char* data, size_t size, BMessage& result)
{
    result.MakeEmpty();
    result.what = 0;
    size_t used = 0;
    FlatReader reader;
    status_t status
        = reader.ReadMessage(reinterpret_cast<const uint8*>(data), size, 0, result, used);
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
