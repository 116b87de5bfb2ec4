#include "SystemInfo.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <regex>
#include <sstream>

namespace {

std::string Trim(const std::string& text)
{
    size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

int32 Number(const std::string& text)
{
    char* end = nullptr;
    long value = strtol(text.c_str(), &end, 10);
    if (end == text.c_str() || value < 0 || value > INT32_MAX)
        return -1;
    return int32(value);
}

struct VendorBase {
    const char* vendor;
    int32 base;
};

constexpr VendorBase kVendors[] = {
    {"GenuineIntel", B_CPU_INTEL_X86},
    {"AuthenticAMD", B_CPU_AMD_X86},
    {"CyrixInstead", B_CPU_CYRIX_X86},
    {"CentaurHauls", B_CPU_IDT_X86},
    {"RiseRiseRise", B_CPU_RISE_X86},
};

// The x86 kinds that have a name of their own.
constexpr int32 kNamedX86[] = {B_CPU_INTEL_X86, B_CPU_INTEL_PENTIUM, B_CPU_INTEL_PENTIUM75,
    B_CPU_INTEL_PENTIUM_486_OVERDRIVE, B_CPU_INTEL_PENTIUM_MMX, B_CPU_INTEL_PENTIUM_MMX_MODEL_8,
    B_CPU_INTEL_PENTIUM75_486_OVERDRIVE, B_CPU_INTEL_PENTIUM_PRO, B_CPU_INTEL_PENTIUM_II,
    B_CPU_INTEL_PENTIUM_II_MODEL_5, B_CPU_INTEL_CELERON, B_CPU_INTEL_PENTIUM_III, B_CPU_AMD_X86,
    B_CPU_AMD_K5_MODEL0, B_CPU_AMD_K5_MODEL1, B_CPU_AMD_K5_MODEL2, B_CPU_AMD_K5_MODEL3,
    B_CPU_AMD_K6_MODEL6, B_CPU_AMD_K6_MODEL7, B_CPU_AMD_K6_MODEL8, B_CPU_AMD_K6_MODEL9,
    B_CPU_CYRIX_X86, B_CPU_CYRIX_GXm, B_CPU_CYRIX_6x86MX, B_CPU_IDT_WINCHIP_C6, B_CPU_IDT_WINCHIP_2,
    B_CPU_RISE_X86, B_CPU_RISE_mP6};

bool IsNamedX86(int32 value)
{
    return std::find(std::begin(kNamedX86), std::end(kNamedX86), value) != std::end(kNamedX86);
}

bool IsX86(const std::string& machine)
{
    return machine == "x86_64" || machine == "amd64"
        || (machine.size() == 4 && machine[0] == 'i' && machine.substr(2) == "86");
}

bool StartsWith(const std::string& text, const char* prefix)
{
    return text.rfind(prefix, 0) == 0;
}

cpu_types OtherMachine(const std::string& machine)
{
    if (StartsWith(machine, "arm") || StartsWith(machine, "aarch64"))
        return B_CPU_ARM;
    if (StartsWith(machine, "mips"))
        return B_CPU_MIPS;
    if (StartsWith(machine, "alpha"))
        return B_CPU_ALPHA;
    if (StartsWith(machine, "sparc"))
        return B_CPU_SPARC;
    if (StartsWith(machine, "sh"))
        return B_CPU_SH;
    if (StartsWith(machine, "m68k"))
        return B_CPU_M68K;
    if (StartsWith(machine, "parisc") || StartsWith(machine, "hppa"))
        return B_CPU_HPPA;
    return B_CPU_UNKNOWN;
}

const char* const kMonths[]
    = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

std::string CompilerDate(const std::string& month, int day, int year)
{
    char text[32];
    snprintf(text, sizeof(text), "%s %2d %d", month.c_str(), day, year);
    return text;
}

} // namespace

CpuDescription parse_cpuinfo(const std::string& text)
{
    CpuDescription cpu;
    std::istringstream lines(text);
    std::string line;
    bool first = true; // the first processor's block decides the kind
    while (std::getline(lines, line)) {
        size_t colon = line.find(':');
        if (colon == std::string::npos)
            continue;
        std::string key = Trim(line.substr(0, colon));
        std::string value = Trim(line.substr(colon + 1));
        if (key == "processor") {
            first = cpu.processors == 0;
            cpu.processors++;
        }
        if (!first)
            continue;
        if (key == "vendor_id")
            cpu.vendor = value;
        else if (key == "cpu family")
            cpu.family = Number(value);
        else if (key == "model")
            cpu.model = Number(value);
        else if (key == "stepping")
            cpu.stepping = std::max(Number(value), 0);
        else if (key == "cpu MHz")
            cpu.megahertz = std::max(strtod(value.c_str(), nullptr), 0.0);
    }
    return cpu;
}

cpu_types cpu_type_for(const CpuDescription& cpu, const std::string& machine)
{
    if (!IsX86(machine))
        return OtherMachine(machine);
    for (const VendorBase& vendor : kVendors) {
        if (cpu.vendor != vendor.vendor)
            continue;
        if (cpu.family >= 0 && cpu.family < 16 && cpu.model >= 0 && cpu.model < 16) {
            int32 exact = vendor.base + cpu.family * 16 + cpu.model;
            if (IsNamedX86(exact))
                return cpu_types(exact);
        }
        return IsNamedX86(vendor.base) ? cpu_types(vendor.base) : B_CPU_X86;
    }
    return B_CPU_X86;
}

platform_types platform_type_for(const std::string& machine)
{
    return IsX86(machine) ? B_AT_CLONE_PLATFORM : B_UNKNOWN_PLATFORM;
}

void kernel_build_from(
    const std::string& version, const std::string& release, std::string& date, std::string& time)
{
    // "... Thu Jan 11 15:22:35 UTC 2024" as most kernels are stamped.
    static const std::regex stamp("(Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) +([0-9]{1,2}) "
                                  "([0-9]{2}:[0-9]{2}:[0-9]{2})(?: [A-Za-z+0-9-]+)? ([0-9]{4})");
    // "... Debian 6.1.76-1 (2024-02-01)": a date alone.
    static const std::regex isoDate("([0-9]{4})-([0-9]{2})-([0-9]{2})");
    std::smatch match;
    if (std::regex_search(version, match, stamp)) {
        date = CompilerDate(match[1], atoi(match[2].str().c_str()), atoi(match[4].str().c_str()));
        time = match[3];
        return;
    }
    if (std::regex_search(version, match, isoDate)) {
        int month = atoi(match[2].str().c_str());
        int day = atoi(match[3].str().c_str());
        if (month >= 1 && month <= 12 && day >= 1 && day <= 31) {
            date = CompilerDate(kMonths[month - 1], day, atoi(match[1].str().c_str()));
            time.clear();
            return;
        }
    }
    date = release;
    time = version;
}
