#include "InstallRun.h"

#include "InstallConfig.h"
#include "InstallTexts.h"
#include "LibAppInfo.h"
#include "LibBytes.h"
#include "LibDateTime.h"
#include "LibLocaleDate.h"
#include "LibLocaleTime.h"
#include "LibString.h"
#include "LibSysInfo.h"

#include <cmath>

namespace {

// The maker's addresses, written under the installer's version.
constexpr const char* kMakerWeb = "https://www.tarnwick.example/stowfast";
constexpr const char* kMakerSupport = "support@tarnwick.example";

const char* YesNo(bool value)
{
    return value ? "Yes" : "No";
}

LibString Bytes(uint64 count)
{
    LibString text;
    LibBytesToString((unsigned long)count, text, 1);
    return text;
}

// A byte amount kept as a double, as a count: negative and non-numbers are
// none, and nothing wraps.
uint64 ByteAmount(double value)
{
    if (!(value > 0))
        return 0;
    if (value >= 18446744073709551615.0)
        return UINT64_MAX;
    return uint64(std::trunc(value));
}

} // namespace

LibString InstallRun::Now()
{
    LibDateTime now(true);
    LibLocaleDate date;
    LibLocaleTime time;
    time.SetShowSeconds(true);
    LibString text = date.Format(now);
    text.Concat(' ').Concat(time.Format(now));
    return text;
}

void InstallRun::WriteLogHeader()
{
    LibString version = LibGetAppVersion(nullptr);
    fConfig.Log("STOWFAST\n\tVersion %s\n", static_cast<const char*>(version));
    fConfig.Log("\t%s\n\t%s\n", kMakerWeb, kMakerSupport);
    fConfig.Log("\nAPPLICATION\n");
    fConfig.Log("\tApplication : %s\n", fConfig.FindString(kAppNameKey));
    fConfig.Log("\tVersion : %s\n", fConfig.FindString(kVersionKey));
    fConfig.Log("\tRelease Date : %s\n", fConfig.FindString(kReleaseDateKey));
    fConfig.Log("\tCompany : %s\n", fConfig.FindString(kCompanyKey));
    fConfig.Log("\tSupport Email : %s\n", fConfig.FindString(kSupportEmailKey));
    fConfig.Log("\nABOUT THIS SYSTEM\n");
    LibSysInfo system;
    LibString description;
    system.Description(description);
    fConfig.Log("\t%s\n", static_cast<const char*>(description));
    fConfig.Log(
        "\tFree Disk Space : %s\n", static_cast<const char*>(Bytes(uint64(fVolume.FreeBytes()))));
    LogRequirements();
    fConfig.Log("\nINSTALLATION\n\tOn volume %s.\n\tIn folder %s.\n",
        static_cast<const char*>(fVolumeName), fProduct.Path());
    if (fTrashedExisting)
        fConfig.Log("\tThe existing %s was moved to the Trash.\n", fProduct.Path());
    if (fSavedFolder.InitCheck() == B_OK)
        fConfig.Log("\tReplaced files moved to %s\n", fSavedFolder.Path());
    fConfig.Log("\n");
    fConfig.Log("\tInstallation Started: %s\n", static_cast<const char*>(Now()));
}

void InstallRun::LogRequirements()
{
    auto word
        = [](bool required) { return InstallString(required ? kTextRequired : kTextSuggested); };
    fConfig.Log("\nINSTALLER REQUIREMENTS\n");
    bool disk = fConfig.FindBool("req_disk_space_needed");
    fConfig.Log("\tDisk Space Needed: %s\n", YesNo(disk));
    if (disk) {
        BMessage amount;
        fConfig.FindMessage("req_disk_space_amount", &amount);
        fConfig.Log("\t\tDisk spaced %s: %s\n",
            static_cast<const char*>(word(fConfig.FindBool("req_disk_space_required"))),
            static_cast<const char*>(Bytes(ByteAmount(amount.FindDouble("value")))));
    }
    bool ram = fConfig.FindBool("req_ram_needed");
    fConfig.Log("\tPhysical RAM Needed: %s\n", YesNo(ram));
    if (ram) {
        fConfig.Log("\t\tRAM %s: %d MB\n",
            static_cast<const char*>(word(fConfig.FindBool("req_ram_required"))),
            int(fConfig.FindInt32("req_ram_amount")));
    }
    fConfig.Log("\tBoot Volume Only: %s\n", YesNo(fConfig.FindBool("req_boot_vol_only")));
    fConfig.Log(
        "\tRemovable Volume Allowed: %s\n", YesNo(fConfig.FindBool("req_removable_vol_ok")));
    fConfig.Log("\tShared Volume Allowed: %s\n", YesNo(fConfig.FindBool("req_shared_vol_ok")));
    fConfig.Log("\tShared Libraries:\n");
    fConfig.Log("\tDependent Applications:\n");
}
