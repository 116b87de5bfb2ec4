#include "ZipAttributes.h"

#include <cstring>

namespace ZipAttributeRecords {

namespace {

void AppendBigEndian(std::vector<uint8>& out, uint64 value, int bytes)
{
    for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8)
        out.push_back(uint8(value >> shift));
}

uint64 ReadBigEndian(const uint8* data, int bytes)
{
    uint64 value = 0;
    for (int i = 0; i < bytes; ++i)
        value = (value << 8) | data[i];
    return value;
}

} // namespace

std::vector<uint8> Flatten(const ZipAttributeList& list)
{
    std::vector<uint8> out;
    for (const ZipAttribute& attribute : list) {
        out.insert(out.end(), attribute.name.begin(), attribute.name.end());
        out.push_back(0);
        AppendBigEndian(out, attribute.type, 4);
        AppendBigEndian(out, attribute.data.size(), 8);
        out.insert(out.end(), attribute.data.begin(), attribute.data.end());
    }
    return out;
}

status_t Unflatten(const uint8* data, size_t size, ZipAttributeList& list)
{
    list.clear();
    ZipAttributeList result;
    size_t offset = 0;
    while (offset < size) {
        const void* end = memchr(data + offset, 0, size - offset);
        if (end == nullptr)
            return B_BAD_DATA;
        size_t nameLength = static_cast<const uint8*>(end) - (data + offset);
        if (nameLength == 0 || size - offset - nameLength - 1 < 12)
            return B_BAD_DATA;
        ZipAttribute attribute;
        attribute.name.assign(reinterpret_cast<const char*>(data + offset), nameLength);
        offset += nameLength + 1;
        attribute.type = type_code(ReadBigEndian(data + offset, 4));
        uint64 length = ReadBigEndian(data + offset + 4, 8);
        offset += 12;
        if (length > size - offset)
            return B_BAD_DATA;
        attribute.data.assign(data + offset, data + offset + length);
        offset += length;
        result.push_back(std::move(attribute));
    }
    list = std::move(result);
    return B_OK;
}

} // namespace ZipAttributeRecords
