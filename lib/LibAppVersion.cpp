#include "LibAppInfo.h"

#include "BResources.h"
#include "RunningExecutable.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr type_code kAppVersionType = 'APPV';
constexpr int32 kAppInfoId = 1;
constexpr size_t kShortInfoSize = 64;
constexpr size_t kLongInfoSize = 256;
constexpr size_t kNumberCount = 5;
constexpr size_t kVersionSize = kNumberCount * 4 + kShortInfoSize + kLongInfoSize;

struct Version {
    uint32 numbers[kNumberCount] = {}; // major, middle, minor, variety, internal
    std::string shortInfo;
    std::string longInfo;
};

void PutNumber(std::string& out, uint32 value)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(char(value >> (8 * i)));
}

// `text` cut to fit `size` bytes with its zero, never inside a character.
std::string Fit(const char* text, size_t size)
{
    std::string result = text ? text : "";
    if (result.size() < size)
        return result;
    size_t cut = size - 1;
    while (cut > 0 && (uint8(result[cut]) & 0xc0) == 0x80)
        --cut;
    return result.substr(0, cut);
}

std::string Encode(const Version& version)
{
    std::string bytes;
    for (uint32 number : version.numbers)
        PutNumber(bytes, number);
    std::string text = version.shortInfo;
    text.resize(kShortInfoSize, '\0');
    bytes += text;
    text = version.longInfo;
    text.resize(kLongInfoSize, '\0');
    bytes += text;
    return bytes;
}

bool Decode(const void* data, size_t size, Version& version)
{
    // A longer resource (a second record after the first) reads as its first.
    if (data == nullptr || size < kVersionSize)
        return false;
    const auto* bytes = static_cast<const uint8*>(data);
    for (size_t n = 0; n < kNumberCount; ++n) {
        const uint8* at = bytes + 4 * n;
        version.numbers[n]
            = uint32(at[0]) | uint32(at[1]) << 8 | uint32(at[2]) << 16 | uint32(at[3]) << 24;
    }
    const char* text = reinterpret_cast<const char*>(bytes + 4 * kNumberCount);
    version.shortInfo.assign(text, strnlen(text, kShortInfoSize));
    text += kShortInfoSize;
    version.longInfo.assign(text, strnlen(text, kLongInfoSize));
    return true;
}

std::string RunningPath()
{
    std::string path;
    return get_running_executable_path(path) == B_OK ? path : std::string();
}

const char* VarietyWord(uint32 variety)
{
    static const char* const kWords[] = {" Dev", " Alpha", " Beta", " Gamma", " Gold"};
    return variety < 5 ? kWords[variety] : "";
}

uint32 Clamp(const unsigned long& value)
{
    return value > UINT32_MAX ? UINT32_MAX : uint32(value);
}

} // namespace

bool LibSetAppVersion(const char* path, const unsigned long& major, const unsigned long& middle,
    const unsigned long& minor, const char* shortInfo, const char* longInfo,
    const unsigned long& variety, const unsigned long& internal)
{
    if (path == nullptr || *path == '\0')
        return false;
    Version version;
    version.numbers[0] = Clamp(major);
    version.numbers[1] = Clamp(middle);
    version.numbers[2] = Clamp(minor);
    version.numbers[3] = Clamp(variety);
    version.numbers[4] = Clamp(internal);
    version.shortInfo = Fit(shortInfo, kShortInfoSize);
    version.longInfo = Fit(longInfo, kLongInfoSize);
    std::string bytes = Encode(version);

    BResources resources(path);
    if (resources.InitCheck() != B_OK)
        return false;
    int32 id = kAppInfoId;
    resources.GetResourceInfo(kAppVersionType, kAppVersionName, &id, nullptr);
    size_t size = 0;
    const void* old = resources.LoadResource(kAppVersionType, id, &size);
    if (old != nullptr && size == bytes.size() && memcmp(old, bytes.data(), size) == 0)
        return true;
    status_t status
        = resources.AddResource(kAppVersionType, id, bytes.data(), bytes.size(), kAppVersionName);
    if (status == B_OK)
        status = resources.Sync();
    if (status == B_BUSY)
        fprintf(stderr, "LibSetAppVersion: %s is running and cannot be changed\n", path);
    return status == B_OK;
}

bool LibSetAppVersion(const unsigned long& major, const unsigned long& middle,
    const unsigned long& minor, const char* shortInfo, const char* longInfo,
    const unsigned long& variety, const unsigned long& internal)
{
    std::string path = RunningPath();
    return LibSetAppVersion(
        path.c_str(), major, middle, minor, shortInfo, longInfo, variety, internal);
}

LibString LibGetAppVersion(const char* path)
{
    LibString text;
    std::string file = path != nullptr ? std::string(path) : RunningPath();
    BFile executable(file.c_str(), B_READ_ONLY);
    BResources resources(&executable);
    size_t size = 0;
    const void* data = resources.LoadResource(kAppVersionType, kAppVersionName, &size);
    Version version;
    if (!Decode(data, size, version))
        return text;
    const uint32* n = version.numbers;
    text.Formatted("%u.%u.%u%s", n[0], n[1], n[2], VarietyWord(n[3]));
    if (n[4] != 0) {
        LibString internal;
        internal.Formatted(" %u", n[4]);
        text.Concat(internal);
    }
    return text;
}
