// A snapshot of the computer taken at construction: processors, clocks,
// platform, physical memory, kernel build and main screen.
#pragma once

#include "BRect.h"
#include "GraphicsDefs.h"
#include "LibString.h"
#include "SystemInfo.h"

class LibSysInfo {
public:
    LibSysInfo();
    // A snapshot of given values (what the constructor above reads).
    LibSysInfo(const system_info& info, const BRect& screenFrame, const color_space& space);
    LibSysInfo(const LibSysInfo& other);
    virtual ~LibSysInfo();

    LibSysInfo& operator=(const LibSysInfo& other);

    // "AT Clone (1-Intel Pentium II@400/100MHz) 128MB RAM".
    void Description(LibString& out) const;
    // The name of the screen's depth ("32 bit color"). Answers constant
    // text, so callers on any thread may keep it.
    const char* ScreenDepthStr() const;
    // The description, then "<depth>, <width>x<height>", on standard error.
    void PrintToStream() const;

    color_space ColorSpace() const { return fColorSpace; }
    int32 CpuCount() const { return fCpuCount; }
    const char* CpuName() const { return fCpuName; }
    const char* PlatformName() const { return fPlatformName; }
    int32 ScreenWidth() const { return fScreenWidth; }
    int32 ScreenHeight() const { return fScreenHeight; }
    int32 CpuRevision() const { return fCpuRevision; }
    int32 CpuClock() const { return fCpuClock; }
    int32 BusClock() const { return fBusClock; }
    const char* KernelBuild() const { return fKernelBuild; }
    // Physical memory in whole megabytes.
    int32 Memory() const { return fMemory; }

    static const char* CpuName(const int32& type);
    static const char* PlatformName(const int32& type);
    static const char* DepthName(const int32& space);
    // Hz to MHz: truncated, plus one when more than half a megahertz is left.
    static int32 Megahertz(const int64& hertz);

private:
    void Take(const system_info& info, const BRect& screenFrame, const color_space& space);

    color_space fColorSpace = B_NO_COLOR_SPACE;
    int32 fCpuCount = 0;
    LibString fCpuName;
    LibString fPlatformName;
    int32 fScreenWidth = 0;
    int32 fScreenHeight = 0;
    int32 fCpuRevision = 0;
    int32 fCpuClock = 0;
    int32 fBusClock = 0;
    LibString fKernelBuild;
    int32 fMemory = 0;
};

// The system's name and version ("Debian GNU/Linux 12 (bookworm)"); `out`
// is left as it was when the system does not tell it.
void LibGetOSVersion(LibString& out);
