#include "LibSysInfo.h"

#include "OsRelease.h"
#include "ScreenInfo.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

struct Name {
    int32 value;
    const char* name;
};

constexpr Name kCpuNames[] = {{1, "601"}, {2, "603"}, {3, "603e"}, {4, "604"}, {5, "604e"},
    {13, "686"}, {14, "AMD 29K"}, {15, "x86"}, {16, "MC6502"}, {17, "Z80"}, {18, "Alpha"},
    {19, "Mips"}, {20, "Hppa"}, {21, "M68K"}, {22, "Arm"}, {23, "SH"}, {24, "Sparc"},
    {0x1000, "Intel x86"}, {0x1051, "Intel Pentium"}, {0x1052, "Intel Pentium 75"},
    {0x1053, "Intel Pentium 486"}, {0x1054, "Intel Pentium MMX"},
    {0x1058, "Intel Pentium MMX Model 8"}, {0x1059, "Intel Pentium 75-486"},
    {0x1061, "Intel Pentium Pro"}, {0x1063, "Intel Pentium II"}, {0x1065, "Intel Pentium II m5"},
    {0x1066, "Intel Pentium Celeron"}, {0x1067, "Intel Pentium III"}, {0x1100, "AMD x86"},
    {0x1150, "AMD K5 m0"}, {0x1151, "AMD K5 m1"}, {0x1152, "AMD K5 m2"}, {0x1153, "AMD K5 m3"},
    {0x1156, "AMD K6 m6"}, {0x1157, "AMD K6 m7"}, {0x1158, "AMD K6 m8"}, {0x1159, "AMD K6 m9"},
    {0x1200, "Cyrix x86"}, {0x1254, "Cyrix GXm"}, {0x1260, "Cyrix 6 x86MX"},
    {0x1354, "IDT WinChip C6"}, {0x1358, "IDT WinChip 2"}, {0x1400, "Rise x86"},
    {0x1450, "Rise mP6"}};

constexpr const char* kPlatformNames[] = {"BeBox", "Mac", "AT Clone", "Eniac", "Apple II", "Cray",
    "Lisa", "TI 994A", "Timex Sinclair", "Orac 1", "Hal", "Besm 6", "MK 61", "Nintendo 64"};

constexpr Name kDepthNames[]
    = {{0, "No color"}, {1, "1 bit gray"}, {2, "8 bit gray"}, {3, "24 bit color"},
        {4, "8 bit color"}, {5, "16 bit color"}, {8, "32 bit color"}, {16, "15 bit color"}};

template<size_t N> const char* Lookup(const Name (&table)[N], int32 value)
{
    for (const Name& entry : table) {
        if (entry.value == value)
            return entry.name;
    }
    return "Unknown";
}

// Right minus left rounded up, plus one: 0 for the empty frame of no screen.
int32 Extent(float from, float to)
{
    return std::max(int32(std::ceil(to - from)) + 1, 0);
}

} // namespace

LibSysInfo::LibSysInfo()
{
    system_info info;
    get_system_info(&info);
    BRect frame;
    color_space space = B_NO_COLOR_SPACE;
    get_main_screen(&frame, &space);
    Take(info, frame, space);
}

LibSysInfo::LibSysInfo(const system_info& info, const BRect& screenFrame, const color_space& space)
{
    Take(info, screenFrame, space);
}

LibSysInfo::LibSysInfo(const LibSysInfo& other)
{
    *this = other;
}

LibSysInfo::~LibSysInfo() = default;

void LibSysInfo::Take(const system_info& info, const BRect& screenFrame, const color_space& space)
{
    fColorSpace = space;
    fCpuCount = info.cpu_count;
    fCpuName = CpuName(info.cpu_type);
    fPlatformName = PlatformName(info.platform_type);
    fScreenWidth = Extent(screenFrame.left, screenFrame.right);
    fScreenHeight = Extent(screenFrame.top, screenFrame.bottom);
    fCpuRevision = info.cpu_revision;
    fCpuClock = Megahertz(info.cpu_clock_speed);
    fBusClock = Megahertz(info.bus_clock_speed);
    fKernelBuild.Formatted("%s, %s", info.kernel_build_date, info.kernel_build_time);
    // In 64 bits: pages times the page size passes 4 GiB on most machines.
    int64 megabytes = std::max<int64>(info.max_pages, 0) * B_PAGE_SIZE / 1048576;
    fMemory = int32(std::min<int64>(megabytes, INT32_MAX));
}

LibSysInfo& LibSysInfo::operator=(const LibSysInfo& other)
{
    if (this == &other)
        return *this;
    fColorSpace = other.fColorSpace;
    fCpuCount = other.fCpuCount;
    fCpuName = other.fCpuName;
    fPlatformName = other.fPlatformName;
    fScreenWidth = other.fScreenWidth;
    fScreenHeight = other.fScreenHeight;
    fCpuRevision = other.fCpuRevision;
    fCpuClock = other.fCpuClock;
    fBusClock = other.fBusClock;
    fKernelBuild = other.fKernelBuild;
    fMemory = other.fMemory;
    return *this;
}

int32 LibSysInfo::Megahertz(const int64& hertz)
{
    int64 whole = hertz / 1000000;
    if (hertz % 1000000 > 500000)
        whole++;
    return int32(std::clamp<int64>(whole, INT32_MIN, INT32_MAX));
}

const char* LibSysInfo::CpuName(const int32& type)
{
    return Lookup(kCpuNames, type);
}

const char* LibSysInfo::PlatformName(const int32& type)
{
    if (type < 0 || size_t(type) >= std::size(kPlatformNames))
        return "Unknown";
    return kPlatformNames[type];
}

const char* LibSysInfo::DepthName(const int32& space)
{
    return Lookup(kDepthNames, space);
}

void LibSysInfo::Description(LibString& out) const
{
    out.Formatted("%s (%d-%s@%d/%dMHz) %dMB RAM", (const char*)fPlatformName, int(fCpuCount),
        (const char*)fCpuName, int(fCpuClock), int(fBusClock), int(fMemory));
}

const char* LibSysInfo::ScreenDepthStr() const
{
    return DepthName(int32(fColorSpace));
}

void LibSysInfo::PrintToStream() const
{
    LibString description;
    Description(description);
    fprintf(stderr, "%s\n", (const char*)description);
    fprintf(stderr, "%s, %dx%d\n", ScreenDepthStr(), int(fScreenWidth), int(fScreenHeight));
}

void LibGetOSVersion(LibString& out)
{
    std::string name;
    if (get_os_pretty_name(name))
        out = name.c_str();
}
