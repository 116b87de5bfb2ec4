// stowres: the build's own tool that attaches the string tables and the
// application information of a program to its executable after linking (and
// after any strip).
//
//   stowres strings EXECUTABLE FOLDER
//   stowres appinfo EXECUTABLE SIGNATURE VERSION SHORT LONG
//   stowres module EXECUTABLE MODULE
//   stowres bitmaps EXECUTABLE FOLDER
//
// FOLDER holds one table per language, named by its code ("de.txt"); every
// .txt file there must be named after a known code. Each language's texts
// replace the ones the executable carried before. VERSION is
// "major.middle.minor.variety.internal" (variety 5 is final), written as the
// "BEOS:APP_VERSION" resource with the SHORT and LONG texts; SIGNATURE
// becomes "BEOS:APP_SIG" (docs/resources.md). MODULE is the display module
// that the program loads when it has a display (docs/windows.md). Each PNG
// picture in a bitmaps FOLDER becomes a 'BBMP' resource named after the
// file's stem ("folder.png" gives "folder"), a flattened 32-bit bitmap
// archive with alpha, which oResources::GetBitmap reads.
#include "BResources.h"
#include "LibAppInfo.h"
#include "NativeModule.h"
#include "PngBitmap.h"
#include "oLocalize.h"
#include "oResources.h"
#include "oStringTable.h"

#include <cstdio>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <system_error>

namespace fs = std::filesystem;

namespace {

constexpr char kUsage[] = "usage: stowres strings EXECUTABLE FOLDER\n"
                          "       stowres appinfo EXECUTABLE SIGNATURE VERSION SHORT LONG\n"
                          "       stowres module EXECUTABLE MODULE\n"
                          "       stowres bitmaps EXECUTABLE FOLDER\n";
constexpr int32 kAppInfoId = 1;

int Fail(const std::string& message)
{
    fprintf(stderr, "stowres: %s\n", message.c_str());
    return 1;
}

// The codes of the tables in `folder`, or false with a message.
bool ListTables(const fs::path& folder, std::set<std::string>& codes, std::string& error)
{
    std::error_code code;
    fs::directory_iterator it(folder, code);
    if (code) {
        error = folder.string() + ": " + code.message();
        return false;
    }
    for (const fs::directory_entry& entry : it) {
        if (entry.path().extension() != ".txt")
            continue;
        std::string stem = entry.path().stem().string();
        if (lib_language_index(stem.c_str()) < 0) {
            error = entry.path().string() + ": not named after a known language code";
            return false;
        }
        codes.insert(stem);
    }
    if (codes.empty()) {
        error = folder.string() + ": holds no string tables";
        return false;
    }
    return true;
}

int AttachStrings(const char* executable, const char* folder)
{
    std::set<std::string> codes;
    std::string error;
    if (!ListTables(folder, codes, error))
        return Fail(error);
    // Every table is read before the program is touched, so a faulty table
    // leaves it as it was.
    std::map<std::string, oStringTable> tables;
    for (const std::string& code : codes) {
        std::string path = (fs::path(folder) / (code + ".txt")).string();
        if (!tables[code].Read(path.c_str(), error))
            return Fail(error);
    }
    BResources resources(executable);
    if (resources.InitCheck() != B_OK)
        return Fail(std::string(executable) + ": cannot be opened");
    if (resources.ContainerState() == ResourceFormat::State::Damaged)
        return Fail(std::string(executable) + ": damaged resources: " + resources.Problem());
    for (const auto& [code, table] : tables) {
        if (table.AttachTo(resources, code.c_str()) != B_OK)
            return Fail(std::string(executable) + ": cannot take the " + code + " texts");
    }
    if (resources.Sync() != B_OK)
        return Fail(std::string(executable) + ": cannot be written");
    return 0;
}

// "1.3.1.5.0" into its five numbers.
bool ParseVersion(const std::string& text, unsigned long numbers[5])
{
    size_t start = 0;
    for (int n = 0; n < 5; ++n) {
        size_t end = n < 4 ? text.find('.', start) : text.size();
        if (end == std::string::npos || end == start || end - start > 9)
            return false;
        std::string part = text.substr(start, end - start);
        if (part.find_first_not_of("0123456789") != std::string::npos)
            return false;
        numbers[n] = std::stoul(part);
        start = end + 1;
    }
    return true;
}

int AttachAppInfo(char** args)
{
    const char* executable = args[0];
    std::string signature = args[1];
    unsigned long numbers[5];
    if (!ParseVersion(args[2], numbers))
        return Fail(
            std::string("version \"") + args[2] + "\" is not major.middle.minor.variety.internal");
    if (signature.empty() || signature.size() >= 256)
        return Fail("the signature must hold 1 to 255 bytes");
    {
        BResources resources(executable);
        if (resources.InitCheck() != B_OK)
            return Fail(std::string(executable) + ": cannot be opened");
        if (resources.ContainerState() == ResourceFormat::State::Damaged)
            return Fail(std::string(executable) + ": damaged resources: " + resources.Problem());
        int32 id = kAppInfoId;
        resources.GetResourceInfo(B_MIME_TYPE, kAppSignatureName, &id, nullptr);
        if (resources.AddResource(
                B_MIME_TYPE, id, signature.c_str(), signature.size() + 1, kAppSignatureName)
                != B_OK
            || resources.Sync() != B_OK)
            return Fail(std::string(executable) + ": cannot be written");
    }
    if (!LibSetAppVersion(executable, numbers[0], numbers[1], numbers[2], args[3], args[4],
            numbers[3], numbers[4]))
        return Fail(std::string(executable) + ": cannot take the version");
    return 0;
}

int AttachModule(const char* executable, const char* module)
{
    BResources resources(executable);
    if (resources.InitCheck() != B_OK)
        return Fail(std::string(executable) + ": cannot be opened");
    if (resources.ContainerState() == ResourceFormat::State::Damaged)
        return Fail(std::string(executable) + ": damaged resources: " + resources.Problem());
    if (resources.AddResourceFromPath(kInterfaceModuleType, kInterfaceModuleId, module,
            BResources::SourceFile::Keep, kInterfaceModuleName)
            != B_OK
        || resources.Sync() != B_OK)
        return Fail(std::string(executable) + ": cannot take the module " + module);
    return 0;
}

// Every picture is read before the program is touched.
int AttachBitmaps(const char* executable, const char* folder)
{
    std::error_code code;
    std::map<std::string, std::string> bitmaps; // name, flattened archive
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, code)) {
        if (entry.path().extension() != ".png")
            continue;
        BMessage archive;
        int32 width = 0, height = 0;
        std::string error;
        if (!PngBitmap::Read(
                entry.path().string(), archive, width, height, error, BitmapArchive::kRgba32))
            return Fail(error);
        bitmaps[entry.path().stem().string()] = archive.Flatten();
    }
    if (code)
        return Fail(std::string(folder) + ": " + code.message());
    BResources resources(executable);
    if (resources.InitCheck() != B_OK)
        return Fail(std::string(executable) + ": cannot be opened");
    if (resources.ContainerState() == ResourceFormat::State::Damaged)
        return Fail(std::string(executable) + ": damaged resources: " + resources.Problem());
    for (const auto& [name, data] : bitmaps) {
        int32 id = 1;
        if (!resources.GetResourceInfo(kBitmapResourceType, name.c_str(), &id, nullptr)) {
            while (resources.HasResource(kBitmapResourceType, id))
                ++id;
        }
        if (resources.AddResource(kBitmapResourceType, id, data.data(), data.size(), name.c_str())
            != B_OK)
            return Fail(std::string(executable) + ": cannot take the bitmap " + name);
    }
    if (resources.Sync() != B_OK)
        return Fail(std::string(executable) + ": cannot be written");
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    std::string command = argc > 1 ? argv[1] : "";
    if (argc == 4 && command == "strings")
        return AttachStrings(argv[2], argv[3]);
    if (argc == 7 && command == "appinfo")
        return AttachAppInfo(argv + 2);
    if (argc == 4 && command == "module")
        return AttachModule(argv[2], argv[3]);
    if (argc == 4 && command == "bitmaps")
        return AttachBitmaps(argv[2], argv[3]);
    fputs(kUsage, stderr);
    return 2;
}
