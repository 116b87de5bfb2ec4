// System information from the texts Linux gives: processor kinds by vendor,
// family and model, kernel build stamps and os-release values.
#include "TestSupport.h"

#include "OsRelease.h"
#include "SystemInfo.h"

#include <gtest/gtest.h>
#include <sys/utsname.h>

TEST(SystemInfo, CpuinfoDescribesTheFirstProcessorAndCountsAll)
{
    CpuDescription cpu = parse_cpuinfo("processor\t: 0\nvendor_id\t: AuthenticAMD\n"
                                       "cpu family\t: 5\nmodel\t\t: 8\nstepping\t: 12\n"
                                       "cpu MHz\t\t: 400.600\n\n"
                                       "processor\t: 1\nvendor_id\t: GenuineIntel\n"
                                       "cpu family\t: 6\ncpu MHz\t\t: 999.0\n");
    EXPECT_EQ(cpu.processors, 2);
    EXPECT_EQ(cpu.vendor, "AuthenticAMD");
    EXPECT_EQ(cpu.family, 5);
    EXPECT_EQ(cpu.model, 8);
    EXPECT_EQ(cpu.stepping, 12);
    EXPECT_DOUBLE_EQ(cpu.megahertz, 400.6);
    EXPECT_EQ(cpu_type_for(cpu, "x86_64"), B_CPU_AMD_K6_MODEL8);
    EXPECT_EQ(parse_cpuinfo("garbage\n: :\nmodel : x\n").model, -1);
}

TEST(SystemInfo, ProcessorKindsByVendorFamilyAndModel)
{
    struct Case {
        const char* vendor;
        int32 family;
        int32 model;
        const char* machine;
        cpu_types expected;
    } cases[] = {
        {"GenuineIntel", 6, 3, "i686", B_CPU_INTEL_PENTIUM_II},
        {"GenuineIntel", 6, 7, "x86_64", B_CPU_INTEL_PENTIUM_III},
        {"GenuineIntel", 6, 207, "x86_64", B_CPU_INTEL_X86}, // a modern model number
        {"GenuineIntel", 6, 2, "x86_64", B_CPU_INTEL_X86},   // no name of its own
        {"AuthenticAMD", 25, 33, "x86_64", B_CPU_AMD_X86},
        {"CentaurHauls", 5, 4, "i586", B_CPU_IDT_WINCHIP_C6},
        {"CentaurHauls", 6, 15, "x86_64", B_CPU_X86}, // the vendor has no base name
        {"CyrixInstead", 6, 0, "i686", B_CPU_CYRIX_6x86MX},
        {"RiseRiseRise", 5, 0, "i586", B_CPU_RISE_mP6},
        {"HygonGenuine", 24, 0, "x86_64", B_CPU_X86},
        {"", -1, -1, "aarch64", B_CPU_ARM},
        {"", -1, -1, "armv7l", B_CPU_ARM},
        {"", -1, -1, "mips64", B_CPU_MIPS},
        {"", -1, -1, "riscv64", B_CPU_UNKNOWN},
        {"", -1, -1, "ppc64le", B_CPU_UNKNOWN},
    };
    for (const Case& c : cases) {
        CpuDescription cpu;
        cpu.vendor = c.vendor;
        cpu.family = c.family;
        cpu.model = c.model;
        EXPECT_EQ(cpu_type_for(cpu, c.machine), c.expected) << c.vendor << " " << c.machine;
    }
    EXPECT_EQ(platform_type_for("x86_64"), B_AT_CLONE_PLATFORM);
    EXPECT_EQ(platform_type_for("i386"), B_AT_CLONE_PLATFORM);
    EXPECT_EQ(platform_type_for("aarch64"), B_UNKNOWN_PLATFORM);
}

TEST(SystemInfo, KernelBuildFromTheVersionText)
{
    std::string date;
    std::string time;
    kernel_build_from("#1 SMP PREEMPT_DYNAMIC Thu Jan  4 15:22:35 UTC 2024", "6.5.0", date, time);
    EXPECT_EQ(date, "Jan  4 2024");
    EXPECT_EQ(time, "15:22:35");
    kernel_build_from("#1 SMP Debian 6.1.76-1 (2024-02-01)", "6.1.0-18-amd64", date, time);
    EXPECT_EQ(date, "Feb  1 2024");
    EXPECT_EQ(time, "");
    kernel_build_from("#1 SMP PREEMPT_DYNAMIC @0", "6.18.44", date, time);
    EXPECT_EQ(date, "6.18.44");
    EXPECT_EQ(time, "#1 SMP PREEMPT_DYNAMIC @0");
}

TEST(SystemInfo, ThisMachine)
{
    system_info info;
    ASSERT_EQ(get_system_info(&info), B_OK);
    EXPECT_GE(info.cpu_count, 1);
    EXPECT_GT(info.max_pages, 0);
    EXPECT_GE(info.max_pages, info.used_pages);
    EXPECT_STREQ(info.kernel_name, "Linux");
    EXPECT_NE(info.kernel_build_date[0], '\0');
    struct utsname names;
    uname(&names);
    if (std::string(names.machine) == "x86_64") {
        EXPECT_EQ(info.platform_type, B_AT_CLONE_PLATFORM);
        EXPECT_TRUE(info.cpu_type == B_CPU_X86 || info.cpu_type >= B_CPU_INTEL_X86);
    }
    EXPECT_EQ(get_system_info(nullptr), B_BAD_VALUE);
}

TEST(SystemInfo, OsReleasePrettyName)
{
    std::string name;
    EXPECT_TRUE(
        os_release_pretty_name("NAME=x\nPRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n", name));
    EXPECT_EQ(name, "Debian GNU/Linux 12 (bookworm)");
    EXPECT_TRUE(os_release_pretty_name("PRETTY_NAME='It''s $HOME'\n", name));
    EXPECT_EQ(name, "Its $HOME");
    EXPECT_TRUE(os_release_pretty_name("PRETTY_NAME=\"A \\\"q\\\" \\$x \\n\"\n", name));
    EXPECT_EQ(name, "A \"q\" $x \\n");
    EXPECT_TRUE(os_release_pretty_name("PRETTY_NAME=Arch # a comment\n", name));
    EXPECT_EQ(name, "Arch");
    name = "kept";
    EXPECT_FALSE(os_release_pretty_name("NAME=Fedora\nXPRETTY_NAME=no\n", name));
    EXPECT_EQ(name, "kept");
}
