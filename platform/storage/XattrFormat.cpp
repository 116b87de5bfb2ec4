#include "XattrFormat.h"

namespace XattrFormat {

namespace {

constexpr char kUserPrefix[] = "user.";
constexpr size_t kUserPrefixLength = sizeof kUserPrefix - 1;
constexpr char kMimeXattr[] = "user.mime_type";
constexpr size_t kXattrNameMax = 255;

// Both prefixes start with a zero byte, which plain text never does in
// practice; a text that happens to start with kAmbiguous is stored typed.
const std::string kAmbiguous("\0ST", 3);
const std::string kTypedMagic("\0STT", 4);
const std::string kSpilledMagic("\0STS", 4);

bool IsMimeName(const std::string& name)
{
    return name == "BEOS:TYPE" || name == "mime_type";
}

void PutBigEndian(std::string& out, uint64 value, int bytes)
{
    for (int i = bytes - 1; i >= 0; --i)
        out.push_back(char((value >> (8 * i)) & 0xff));
}

uint64 GetBigEndian(const std::string& in, size_t at, int bytes)
{
    uint64 value = 0;
    for (int i = 0; i < bytes; ++i)
        value = (value << 8) | uint8(in[at + i]);
    return value;
}

bool StartsWith(const std::string& text, const std::string& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

} // namespace

std::string XattrName(const std::string& name)
{
    if (name.empty())
        return {};
    if (IsMimeName(name))
        return kMimeXattr;
    if (kUserPrefixLength + name.size() > kXattrNameMax)
        return {};
    return kUserPrefix + name;
}

std::string AttributeName(const std::string& xattrName)
{
    if (xattrName == kMimeXattr)
        return "BEOS:TYPE";
    if (!StartsWith(xattrName, kUserPrefix) || xattrName.size() == kUserPrefixLength)
        return {};
    return xattrName.substr(kUserPrefixLength);
}

std::string Encode(const std::string& name, type_code type, const std::string& data)
{
    if (IsMimeName(name) && type == B_MIME_TYPE && !StartsWith(data, kAmbiguous)) {
        // The kit keeps the terminating zero; freedesktop readers do not.
        if (!data.empty() && data.back() == '\0')
            return data.substr(0, data.size() - 1);
        return data;
    }
    if (!IsMimeName(name) && type == B_STRING_TYPE && !StartsWith(data, kAmbiguous))
        return data;
    std::string value = kTypedMagic;
    PutBigEndian(value, type, 4);
    value += data;
    return value;
}

std::string EncodeSpilled(type_code type, uint64 size)
{
    std::string value = kSpilledMagic;
    PutBigEndian(value, type, 4);
    PutBigEndian(value, size, 8);
    return value;
}

Decoded Decode(const std::string& name, const std::string& value)
{
    Decoded result;
    if (StartsWith(value, kTypedMagic) && value.size() >= 8) {
        result.type = type_code(GetBigEndian(value, 4, 4));
        result.data = value.substr(8);
        return result;
    }
    if (StartsWith(value, kSpilledMagic) && value.size() == 16) {
        result.type = type_code(GetBigEndian(value, 4, 4));
        result.spilled = true;
        result.spilledSize = GetBigEndian(value, 8, 8);
        return result;
    }
    result.data = value;
    if (IsMimeName(name)) {
        result.type = B_MIME_TYPE;
        if (result.data.empty() || result.data.back() != '\0')
            result.data.push_back('\0');
    }
    return result;
}

} // namespace XattrFormat
