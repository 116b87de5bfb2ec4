#include "SystemInfo.h"

#include <cmath>
#include <cstring>
#include <fstream>
#include <sstream>
#include <sys/sysinfo.h>
#include <sys/utsname.h>
#include <unistd.h>

namespace {

std::string ReadText(const char* path)
{
    std::ifstream file(path);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

void CopyText(char* out, size_t size, const std::string& text)
{
    snprintf(out, size, "%s", text.c_str());
}

// Processors without "cpu MHz" (most ARM machines) tell their top clock in
// kHz through cpufreq.
int64 CpufreqHertz()
{
    std::string text = ReadText("/sys/devices/system/cpu/cpu0/cpufreq/cpuinfo_max_freq");
    long long kilohertz = atoll(text.c_str());
    return kilohertz > 0 ? int64(kilohertz) * 1000 : 0;
}

} // namespace

status_t get_system_info(system_info* info)
{
    if (info == nullptr)
        return B_BAD_VALUE;
    *info = system_info();
    struct utsname names;
    if (uname(&names) != 0)
        return status_from_errno(errno);
    CpuDescription cpu = parse_cpuinfo(ReadText("/proc/cpuinfo"));

    info->cpu_count = cpu.processors;
    if (info->cpu_count <= 0)
        info->cpu_count = int32(std::max(sysconf(_SC_NPROCESSORS_ONLN), 1L));
    info->cpu_type = cpu_type_for(cpu, names.machine);
    info->cpu_revision = cpu.vendor.empty() ? 0 : cpu.stepping;
    info->cpu_clock_speed
        = cpu.megahertz > 0 ? int64(std::llround(cpu.megahertz * 1e6)) : CpufreqHertz();
    info->platform_type = platform_type_for(names.machine);

    struct sysinfo memory;
    if (sysinfo(&memory) == 0) {
        uint64 unit = memory.mem_unit != 0 ? memory.mem_unit : 1;
        info->max_pages = int64(uint64(memory.totalram) * unit / B_PAGE_SIZE);
        info->used_pages = int64(uint64(memory.totalram - memory.freeram) * unit / B_PAGE_SIZE);
    }

    std::string date;
    std::string time;
    kernel_build_from(names.version, names.release, date, time);
    CopyText(info->kernel_name, sizeof(info->kernel_name), names.sysname);
    CopyText(info->kernel_build_date, sizeof(info->kernel_build_date), date);
    CopyText(info->kernel_build_time, sizeof(info->kernel_build_time), time);
    return B_OK;
}
