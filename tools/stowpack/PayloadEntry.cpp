#include "PayloadEntry.h"

#include "ZipWriter.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace PayloadEntry {

bool Add(BResources& resources, const std::string& path, int32 id, const std::string& name,
    int32 level, std::string& error)
{
    std::string folder = std::filesystem::temp_directory_path().string() + "/stowpack-XXXXXX";
    if (mkdtemp(folder.data()) == nullptr) {
        error = "cannot make a temporary folder";
        return false;
    }
    std::string archive = folder + "/item.zip";
    ZipWriteOptions options;
    options.level = level;
    ZipWriter writer(options);
    bool good = writer.Write(path.c_str(), archive.c_str()) == B_OK;
    if (!good)
        error = writer.ErrorMessage();
    if (good) {
        std::ifstream in(archive, std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        good = resources.AddResource(B_RAW_TYPE, id, bytes.data(), bytes.size(), name.c_str())
            == B_OK;
        if (!good)
            error = "cannot add the archive of " + path;
    }
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return good;
}

} // namespace PayloadEntry
