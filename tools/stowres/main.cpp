// stowres: the build's own tool that attaches the string tables of a program
// to its executable after linking (and after any strip).
//
//   stowres strings EXECUTABLE FOLDER
//
// FOLDER holds one table per language, named by its code ("de.txt"); every
// .txt file there must be named after a known code. Each language's texts
// replace the ones the executable carried before.
#include "BResources.h"
#include "oLocalize.h"
#include "oStringTable.h"

#include <cstdio>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <system_error>

namespace fs = std::filesystem;

namespace {

constexpr char kUsage[] = "usage: stowres strings EXECUTABLE FOLDER\n";

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

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4 || std::string(argv[1]) != "strings") {
        fputs(kUsage, stderr);
        return 2;
    }
    return AttachStrings(argv[2], argv[3]);
}
