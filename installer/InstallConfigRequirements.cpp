// The requirements check that opens an install run: room on the destination
// volume, configured disk space and memory, shared libraries, applications.
#include "InstallConfig.h"

#include "BAlert.h"
#include "LibBytes.h"
#include "LibMessageBox.h"
#include "RequirementProbe.h"
#include "oLocalize.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstring>
#include <string>

namespace {

enum : int32 {
    kGoOn = 1,
    kStop = 2,
    kAbort = 3,
};

enum : long {
    kAbortString = 1011,
    kCannotContinueString = 1021,
    kOwnRiskString = 1022,
    kRequiresString = 1023,
    kSuggestsString = 1024,
    kContinueString = 1028,
    kApplicationString = 1031,
    kLibraryString = 1043,
    kMemoryString = 1044,
    kDiskSpaceString = 1045,
};

// The library and application alerts keep to the 256 bytes they always had.
constexpr size_t kQuestionTextSize = 256;

// The printf conversions of a text ("ss" for "%s and %s"); '?' for any
// conversion other than %s and %d.
std::string Conversions(const char* text)
{
    std::string kinds;
    for (const char* c = text; *c != '\0'; c++) {
        if (*c != '%')
            continue;
        if (c[1] == '%') {
            c++;
            continue;
        }
        kinds += (c[1] == 's' || c[1] == 'd') ? c[1] : '?';
        if (c[1] != '\0')
            c++;
    }
    return kinds;
}

// `format` filled in when its conversions are exactly `expected`; a string
// table that does not match is shown as it stands rather than misread.
std::string Fill(const LibString& format, const char* expected, ...)
{
    std::string text(static_cast<const char*>(format));
    if (Conversions(text.c_str()) != expected)
        return text;
    va_list args;
    va_start(args, expected);
    va_list measure;
    va_copy(measure, args);
    int length = vsnprintf(nullptr, 0, text.c_str(), measure);
    va_end(measure);
    std::string out(length > 0 ? size_t(length) + 1 : 1, '\0');
    if (length > 0)
        vsnprintf(out.data(), out.size(), text.c_str(), args);
    va_end(args);
    out.resize(length > 0 ? size_t(length) : 0);
    return out;
}

// Cut so that it fits `size` bytes with its terminator, at a character's start.
std::string Fitted(std::string text, size_t size)
{
    if (text.size() < size)
        return text;
    size_t cut = size - 1;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        cut--;
    text.resize(cut);
    return text;
}

LibString Bytes(int64 count)
{
    LibString text;
    LibBytesToString(static_cast<unsigned long>(std::max<int64>(count, 0)), text, 1);
    return text;
}

LibString Word(bool required)
{
    return oLocalize().GetString(required ? kRequiresString : kSuggestsString);
}

void SpaceAlert(bool required, int64 needed, const LibString& volume, const LibString& freeText)
{
    std::string text
        = Fill(oLocalize().GetString(kDiskSpaceString), "ssss", (const char*)Word(required),
            (const char*)Bytes(needed), (const char*)volume, (const char*)freeText);
    LibError("%s", text.c_str());
}

// Asks about a missing library or application: true when the user chose
// to go on (only offered when it is merely suggested).
bool MissingQuestion(long format, const char* name, bool required)
{
    oLocalize strings;
    std::string text
        = Fitted(Fill(strings.GetString(format), "ss", name, (const char*)Word(required)),
            kQuestionTextSize);
    LibString abort = strings.GetString(kAbortString);
    LibString goOn = strings.GetString(kContinueString);
    BAlert alert("", text.c_str(), abort, required ? nullptr : (const char*)goOn, nullptr,
        B_WIDTH_AS_USUAL, B_INFO_ALERT);
    alert.SetPurpose(kRequirementPurpose);
    alert.SetDefaultButton(0);
    int32 button = alert.Go();
    return !required && button == 1;
}

// The configured amount in bytes: "value" truncated toward zero, in 64
// bits; nothing that is not a positive number requires space.
int64 ConfiguredSpace(const BMessage& amount)
{
    double value = 0;
    if (amount.FindDouble("value", &value) != B_OK || !(value > 0))
        return 0;
    if (value >= 9.2e18)
        return INT64_MAX;
    return int64(std::trunc(value));
}

} // namespace

int64 InstallConfig::GetFileSize(const char* leaf) const
{
    BMessage instructions;
    if (leaf == nullptr || FindMessage("install_instructions", &instructions) != B_OK)
        return 0;
    BMessage entry;
    for (int32 i = 0; instructions.FindMessage("install_file", i, &entry) == B_OK; i++) {
        const char* fileName = nullptr;
        if (entry.FindString("file_name", &fileName) != B_OK || fileName == nullptr)
            continue;
        const char* slash = strrchr(fileName, '/');
        if (strcmp(slash != nullptr ? slash + 1 : fileName, leaf) != 0)
            continue;
        int32 size = 0;
        if (entry.FindInt32("file_size", &size) != B_OK)
            return 0;
        // Stored as a signed 32-bit number: a size past 2 GiB reads back
        // as the unsigned count it was.
        return int64(uint32(size));
    }
    return 0;
}

int64 InstallConfig::SelectedBytes() const
{
    int64 total = 0;
    BMessage instructions;
    if (FindMessage("install_instructions", &instructions) != B_OK)
        return 0;
    BMessage entry;
    for (int32 i = 0; instructions.FindMessage("install_file", i, &entry) == B_OK; i++) {
        bool selected = false;
        const char* fileName = nullptr;
        if (entry.FindBool("install_to_system", &selected) != B_OK || !selected
            || entry.FindString("file_name", &fileName) != B_OK || fileName == nullptr)
            continue;
        const char* slash = strrchr(fileName, '/');
        total += GetFileSize(slash != nullptr ? slash + 1 : fileName);
    }
    return total;
}

int32 InstallConfig::CheckSystemResources()
{
    RequirementProbe machine;
    return CheckSystemResources(machine);
}

int32 InstallConfig::CheckSystemResources(RequirementProbe& probe)
{
    LibString volume;
    int64 freeBytes = 0;
    probe.DestinationVolume(Destination(), volume, freeBytes);
    LibString freeText = Bytes(freeBytes);

    // The deinstaller the run places takes room too, as the window's total
    // shows.
    int64 selected = SelectedBytes();
    if (!HasBool("opt_include_deinstall") || FindBool("opt_include_deinstall"))
        selected += std::max<int32>(FindInt32(kDeinstallerSizeKey), 0);
    if (selected > freeBytes) {
        SpaceAlert(true, selected, volume, freeText);
        return kStop;
    }
    if (FindBool("req_disk_space_needed")) {
        BMessage amount;
        FindMessage("req_disk_space_amount", &amount);
        int64 needed = ConfiguredSpace(amount);
        if (needed > freeBytes) {
            bool required = FindBool("req_disk_space_required");
            SpaceAlert(required, needed, volume, freeText);
            return required ? kStop : kGoOn;
        }
    }
    if (FindBool("req_ram_needed")) {
        int32 needed = FindInt32("req_ram_amount");
        int32 available = probe.MemoryMegabytes();
        if (needed > available) {
            bool required = FindBool("req_ram_required");
            oLocalize strings;
            LibString closing
                = strings.GetString(required ? kCannotContinueString : kOwnRiskString);
            std::string text = Fill(strings.GetString(kMemoryString), "sdds",
                (const char*)Word(required), int(needed), int(available), (const char*)closing);
            LibError("%s", text.c_str());
            return required ? kAbort : kGoOn;
        }
    }
    return CheckLibrariesAndApplications(probe);
}

int32 InstallConfig::CheckLibrariesAndApplications(RequirementProbe& probe)
{
    BMessage libraries;
    if (FindMessage("req_shared_library", &libraries) == B_OK) {
        bool required = libraries.FindBool("req_shared_librry_req");
        const char* name = nullptr;
        for (int32 i = 0; libraries.FindString("req_shared_library_name", i, &name) == B_OK; i++) {
            if (!probe.HasSharedLibrary(name) && !MissingQuestion(kLibraryString, name, required))
                return kAbort;
        }
    }
    BMessage applications;
    if (FindMessage("req_apps", &applications) == B_OK) {
        bool required = applications.FindBool("req_app_req");
        const char* name = nullptr;
        for (int32 i = 0; applications.FindString("req_app_name", i, &name) == B_OK; i++) {
            LibString signature = LibString(name).Extract('(', ')', true);
            if (!probe.HasApplication(signature)
                && !MissingQuestion(kApplicationString, name, required))
                return kAbort;
        }
    }
    return kGoOn;
}
