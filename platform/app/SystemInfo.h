// The machine's processors, memory and kernel, as the kit's system_info
// reports them, gathered from /proc/cpuinfo, sysinfo(2) and uname(2).
// docs/system-info.md says where each value comes from.
#pragma once

#include "SupportDefs.h"

#include <string>

constexpr int64 B_PAGE_SIZE = 4096;

enum cpu_types : int32 {
    B_CPU_UNKNOWN = 0,
    B_CPU_PPC_601 = 1,
    B_CPU_PPC_603 = 2,
    B_CPU_PPC_603e = 3,
    B_CPU_PPC_604 = 4,
    B_CPU_PPC_604e = 5,
    B_CPU_PPC_686 = 13,
    B_CPU_AMD_29K = 14,
    B_CPU_X86 = 15,
    B_CPU_MC6502 = 16,
    B_CPU_Z80 = 17,
    B_CPU_ALPHA = 18,
    B_CPU_MIPS = 19,
    B_CPU_HPPA = 20,
    B_CPU_M68K = 21,
    B_CPU_ARM = 22,
    B_CPU_SH = 23,
    B_CPU_SPARC = 24,

    // x86 processors: vendor base plus family * 16 plus model.
    B_CPU_INTEL_X86 = 0x1000,
    B_CPU_INTEL_PENTIUM = 0x1051,
    B_CPU_INTEL_PENTIUM75,
    B_CPU_INTEL_PENTIUM_486_OVERDRIVE,
    B_CPU_INTEL_PENTIUM_MMX,
    B_CPU_INTEL_PENTIUM_MMX_MODEL_8 = 0x1058,
    B_CPU_INTEL_PENTIUM75_486_OVERDRIVE,
    B_CPU_INTEL_PENTIUM_PRO = 0x1061,
    B_CPU_INTEL_PENTIUM_II = 0x1063,
    B_CPU_INTEL_PENTIUM_II_MODEL_5 = 0x1065,
    B_CPU_INTEL_CELERON = 0x1066,
    B_CPU_INTEL_PENTIUM_III = 0x1067,
    B_CPU_AMD_X86 = 0x1100,
    B_CPU_AMD_K5_MODEL0 = 0x1150,
    B_CPU_AMD_K5_MODEL1,
    B_CPU_AMD_K5_MODEL2,
    B_CPU_AMD_K5_MODEL3,
    B_CPU_AMD_K6_MODEL6 = 0x1156,
    B_CPU_AMD_K6_MODEL7,
    B_CPU_AMD_K6_MODEL8,
    B_CPU_AMD_K6_MODEL9,
    B_CPU_CYRIX_X86 = 0x1200,
    B_CPU_CYRIX_GXm = 0x1254,
    B_CPU_CYRIX_6x86MX = 0x1260,
    B_CPU_IDT_X86 = 0x1300,
    B_CPU_IDT_WINCHIP_C6 = 0x1354,
    B_CPU_IDT_WINCHIP_2 = 0x1358,
    B_CPU_RISE_X86 = 0x1400,
    B_CPU_RISE_mP6 = 0x1450,
};

enum platform_types : int32 {
    B_BEBOX_PLATFORM = 0,
    B_MAC_PLATFORM,
    B_AT_CLONE_PLATFORM,
    B_ENIAC_PLATFORM,
    B_APPLE_II_PLATFORM,
    B_CRAY_PLATFORM,
    B_LISA_PLATFORM,
    B_TI_994A_PLATFORM,
    B_TIMEX_SINCLAIR_PLATFORM,
    B_ORAC_1_PLATFORM,
    B_HAL_PLATFORM,
    B_BESM_6_PLATFORM,
    B_MK_61_PLATFORM,
    B_NINTENDO_64_PLATFORM,
    B_UNKNOWN_PLATFORM = 0x100, // a machine the kit had no name for
};

struct system_info {
    int32 cpu_count = 0;
    cpu_types cpu_type = B_CPU_UNKNOWN;
    int32 cpu_revision = 0;    // the x86 stepping; 0 elsewhere
    int64 cpu_clock_speed = 0; // Hz
    int64 bus_clock_speed = 0; // Hz; Linux does not tell it: 0
    platform_types platform_type = B_UNKNOWN_PLATFORM;
    int64 max_pages = 0; // physical memory in pages of B_PAGE_SIZE
    int64 used_pages = 0;
    char kernel_name[256] = {};
    char kernel_build_date[32] = {};
    char kernel_build_time[32] = {};
};

status_t get_system_info(system_info* info);

// The pieces, from the texts they are read from.
struct CpuDescription {
    std::string vendor; // "vendor_id" of x86, empty elsewhere
    int32 family = -1;
    int32 model = -1;
    int32 stepping = 0;
    double megahertz = 0; // "cpu MHz" of the first processor
    int32 processors = 0; // "processor" lines
};
CpuDescription parse_cpuinfo(const std::string& text);
// The processor kind for a description and uname's machine name.
cpu_types cpu_type_for(const CpuDescription& cpu, const std::string& machine);
platform_types platform_type_for(const std::string& machine);
// Build date ("Jan 11 2024", the compiler's __DATE__ form) and time
// ("15:22:35") from uname's version text; without a date in it, the release
// and the version text themselves.
void kernel_build_from(
    const std::string& version, const std::string& release, std::string& date, std::string& time);
