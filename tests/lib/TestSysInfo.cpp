// The system snapshot from given values: rounding of clocks and memory, the
// description, names of unknown values, copies.
#include "LibSysInfo.h"

#include <gtest/gtest.h>

namespace {

system_info Pentium()
{
    system_info info;
    info.cpu_count = 1;
    info.cpu_type = B_CPU_INTEL_PENTIUM_II;
    info.cpu_revision = 2;
    info.cpu_clock_speed = 400500000;
    info.bus_clock_speed = 100000000;
    info.platform_type = B_AT_CLONE_PLATFORM;
    info.max_pages = 32767;
    snprintf(info.kernel_build_date, sizeof(info.kernel_build_date), "Mar 13 2000");
    snprintf(info.kernel_build_time, sizeof(info.kernel_build_time), "12:00:01");
    return info;
}

std::string Description(const LibSysInfo& snapshot)
{
    LibString text;
    snapshot.Description(text);
    return std::string(text);
}

} // namespace

TEST(SysInfo, RoundsClocksAndMemory)
{
    EXPECT_EQ(LibSysInfo::Megahertz(400500000), 400);
    EXPECT_EQ(LibSysInfo::Megahertz(400500001), 401);
    EXPECT_EQ(LibSysInfo::Megahertz(400600000), 401);
    EXPECT_EQ(LibSysInfo::Megahertz(999999), 1);
    EXPECT_EQ(LibSysInfo::Megahertz(0), 0);

    LibSysInfo snapshot(Pentium(), BRect(0, 0, 1023, 767), B_RGB32);
    EXPECT_EQ(snapshot.Memory(), 127);
    EXPECT_EQ(Description(snapshot), "AT Clone (1-Intel Pentium II@400/100MHz) 127MB RAM");
    EXPECT_STREQ(snapshot.KernelBuild(), "Mar 13 2000, 12:00:01");
    EXPECT_EQ(snapshot.ScreenWidth(), 1024);
    EXPECT_EQ(snapshot.ScreenHeight(), 768);
    EXPECT_STREQ(snapshot.ScreenDepthStr(), "32 bit color");

    // 64 GiB of pages would wrap a 32-bit byte count.
    system_info big = Pentium();
    big.max_pages = int64(64) * 1024 * 1024 * 1024 / B_PAGE_SIZE;
    EXPECT_EQ(LibSysInfo(big, BRect(), B_NO_COLOR_SPACE).Memory(), 65536);
}

TEST(SysInfo, UnknownValuesAndNoScreen)
{
    system_info info = Pentium();
    info.cpu_type = B_CPU_IDT_X86; // no name of its own
    info.platform_type = platform_types(14);
    info.cpu_count = 8;
    LibSysInfo snapshot(info, BRect(), B_NO_COLOR_SPACE);
    EXPECT_EQ(Description(snapshot), "Unknown (8-Unknown@400/100MHz) 127MB RAM");
    EXPECT_STREQ(snapshot.ScreenDepthStr(), "No color");
    EXPECT_EQ(snapshot.ScreenWidth(), 0);
    EXPECT_EQ(snapshot.ScreenHeight(), 0);
    EXPECT_STREQ(LibSysInfo::DepthName(B_RGBA32), "Unknown");
    EXPECT_STREQ(LibSysInfo::DepthName(B_RGB15), "15 bit color");
    EXPECT_STREQ(LibSysInfo::PlatformName(-1), "Unknown");
    EXPECT_STREQ(LibSysInfo::PlatformName(13), "Nintendo 64");
    EXPECT_STREQ(LibSysInfo::CpuName(B_CPU_ARM), "Arm");
}

TEST(SysInfo, CopiesEveryField)
{
    LibSysInfo from(Pentium(), BRect(0, 0, 639, 479), B_CMAP8);
    system_info other = Pentium();
    other.cpu_count = 4;
    LibSysInfo to(other, BRect(), B_NO_COLOR_SPACE);
    to = from;
    EXPECT_EQ(Description(to), Description(from));
    EXPECT_STREQ(to.KernelBuild(), from.KernelBuild());
    EXPECT_EQ(to.ScreenWidth(), 640);
    EXPECT_EQ(to.ColorSpace(), B_CMAP8);
    EXPECT_EQ(to.CpuRevision(), 2);
    LibSysInfo& same = to;
    to = same;
    EXPECT_EQ(Description(to), Description(from));

    LibSysInfo live;
    EXPECT_GE(live.CpuCount(), 1);
    EXPECT_GT(live.Memory(), 0);
    LibString version("unset");
    LibGetOSVersion(version);
    EXPECT_GT(version.Length(), 0);
}
