#include "InstallerWriter.h"

#include "StorageDefs.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <ostream>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string Megabytes(uint64 bytes)
{
    char text[32];
    snprintf(text, sizeof text, "%.1f MB", double(bytes) / (1024 * 1024));
    return text;
}

bool IsInside(const fs::path& path, const std::string& folder)
{
    std::string text = path.string();
    return text.size() > folder.size() && text.compare(0, folder.size(), folder) == 0
        && text[folder.size()] == '/';
}

// A temporary folder removed with its contents when the object goes.
class ScratchFolder {
public:
    ScratchFolder()
    {
        fPath = fs::temp_directory_path().string() + "/stowpack-XXXXXX";
        if (mkdtemp(fPath.data()) == nullptr)
            fPath.clear();
    }
    ~ScratchFolder()
    {
        std::error_code ignored;
        if (!fPath.empty())
            fs::remove_all(fPath, ignored);
    }
    const std::string& Path() const { return fPath; }

private:
    std::string fPath;
};

} // namespace

InstallerWriter::InstallerWriter(const InstallerPaths& paths, std::ostream& progress)
    : fPaths(paths)
    , fProgress(progress)
{ }

bool InstallerWriter::Write(Product& product, std::string& error)
{
    if (!CheckInputs(product, error))
        return false;
    fs::path output = fs::absolute(fPaths.output);
    fTemporary
        = (output.parent_path() / ("." + output.filename().string() + ".stowpack-XXXXXX")).string();
    int fd = mkostemp(fTemporary.data(), O_CLOEXEC);
    if (fd < 0) {
        error = "cannot write in " + output.parent_path().string() + ": " + strerror(errno);
        return false;
    }
    close(fd);
    std::error_code code;
    fs::copy_file(fPaths.base, fTemporary, fs::copy_options::overwrite_existing, code);
    bool good = !code;
    if (!good) {
        error = "cannot copy the base program " + fPaths.base + ": " + code.message();
    } else if (chmod(fTemporary.c_str(), 0755) != 0) {
        error = "cannot set the mode of " + fTemporary + ": " + strerror(errno);
        good = false;
    } else {
        LibAppResource resources(fTemporary.c_str(), B_READ_WRITE);
        good = Finish(resources, product, error);
    }
    if (good && rename(fTemporary.c_str(), output.c_str()) != 0) {
        error = "cannot write " + output.string() + ": " + strerror(errno);
        good = false;
    }
    if (!good)
        unlink(fTemporary.c_str());
    return good;
}

bool InstallerWriter::CheckInputs(const Product& product, std::string& error) const
{
    std::error_code code;
    if (!fs::is_regular_file(fPaths.base, code)) {
        error = "no base program at " + fPaths.base + " (give one with --base)";
        return false;
    }
    if (product.includeDeinstaller && !fs::is_regular_file(fPaths.deinstaller, code)) {
        error = "no deinstaller at " + fPaths.deinstaller + " (give one with --deinstaller)";
        return false;
    }
    if (!CarriesStringTables(fPaths.base, error)
        || (product.includeDeinstaller && !CarriesStringTables(fPaths.deinstaller, error)))
        return false;
    fs::path output = fs::absolute(fPaths.output).lexically_normal();
    if (fs::is_directory(output, code)) {
        error = output.string() + " is a folder; -o names the installer file to write";
        return false;
    }
    for (const ProductItem& item : product.items) {
        if (IsInside(output, item.path)) {
            error = "the installer would be written inside the item " + item.path;
            return false;
        }
    }
    return true;
}

// The programs show their texts from string tables attached after they were
// linked; `strip` removes them without a word, and an installer built on
// such a program shows blank windows.
bool InstallerWriter::CarriesStringTables(const std::string& program, std::string& error)
{
    BFile file(program.c_str(), B_READ_ONLY);
    BResources resources;
    if (file.InitCheck() == B_OK && resources.SetTo(&file) == B_OK
        && resources.HasResource(B_STRING_TYPE, "en:1000"))
        return true;
    error = program + " carries no string tables (was it stripped after it was built?)";
    return false;
}

bool InstallerWriter::Finish(LibAppResource& resources, Product& product, std::string& error)
{
    status_t status = resources.InitCheck();
    if (status != B_OK || !resources.File().IsWritable()) {
        error = "cannot open the copy of the base program: error " + std::to_string(status);
        return false;
    }
    if (resources.ContainerState() == ResourceFormat::State::Damaged) {
        error = "the base program " + fPaths.base
            + " has a damaged resource container: " + resources.Problem();
        return false;
    }
    RemoveOldEntries(resources);
    if (!AddPayload(resources, product, error) || !AddDeinstaller(resources, product, error))
        return false;
    std::string record = product.record.Flatten();
    status = resources.AddResource(
        B_STRING_TYPE, kConfigurationId, record.data(), record.size(), kConfigurationName);
    uint64 total = 0;
    for (const ProductItem& item : product.items)
        total += item.size;
    if (total >= kProgressBytes)
        fProgress << "stowpack: writing " << fPaths.output << "\n" << std::flush;
    if (status == B_OK)
        status = resources.Sync();
    if (status != B_OK) {
        error = "cannot write the installer's resources: "
            + std::string(status == B_DEVICE_FULL ? "No space left on device"
                                                  : "error " + std::to_string(status));
        return false;
    }
    return true;
}

// A base that is itself an installer keeps its program resources (strings,
// icons, version) but not its record and payload.
void InstallerWriter::RemoveOldEntries(LibAppResource& resources) const
{
    resources.RemoveResource(B_STRING_TYPE, kConfigurationId);
    resources.RemoveResource(B_RAW_TYPE, kDeinstallerPayloadId);
    std::vector<int32> payload;
    int32 id;
    const char* name;
    size_t size;
    for (int32 i = 0; resources.GetResourceInfo(B_RAW_TYPE, i, &id, &name, &size); ++i) {
        if (id >= kFirstItemPayloadId)
            payload.push_back(id);
    }
    for (int32 old : payload)
        resources.RemoveResource(B_RAW_TYPE, old);
}

bool InstallerWriter::AddPayload(
    LibAppResource& resources, const Product& product, std::string& error)
{
    uint64 total = 0;
    for (const ProductItem& item : product.items)
        total += item.size;
    const bool report = total >= kProgressBytes;
    for (size_t i = 0; i < product.items.size(); ++i) {
        const ProductItem& item = product.items[i];
        if (report)
            fProgress << "stowpack: adding item " << i + 1 << " of " << product.items.size() << ": "
                      << item.leaf << " (" << Megabytes(item.size) << ")\n"
                      << std::flush;
        if (!resources.AddEntry(item.path.c_str(), kFirstItemPayloadId + int32(i),
                item.leaf.c_str(), product.compression)) {
            error = "cannot add " + item.path + ": " + resources.ErrorMessage();
            return false;
        }
    }
    return true;
}

// The deinstaller is archived under the name the installer extracts it by,
// whatever its file is called here: through a link of that name.
bool InstallerWriter::AddDeinstaller(
    LibAppResource& resources, Product& product, std::string& error)
{
    if (!product.includeDeinstaller) {
        product.record.AddInt32(kDeinstallerSizeKey, 0);
        return true;
    }
    ScratchFolder scratch;
    std::string link = scratch.Path() + "/" + kDeinstallerName;
    std::error_code code;
    if (scratch.Path().empty()
        || (fs::create_symlink(fs::absolute(fPaths.deinstaller), link, code), code)) {
        error = "cannot prepare the deinstaller in a temporary folder";
        return false;
    }
    if (!resources.AddEntry(
            link.c_str(), kDeinstallerPayloadId, kDeinstallerName, product.compression)) {
        error
            = "cannot add the deinstaller " + fPaths.deinstaller + ": " + resources.ErrorMessage();
        return false;
    }
    const char* name;
    size_t size = 0;
    resources.GetResourceInfo(B_RAW_TYPE, kDeinstallerPayloadId, &name, &size);
    if (size > size_t(INT32_MAX)) {
        error = "the deinstaller's archive is larger than 2147483647 bytes";
        return false;
    }
    product.record.AddInt32(kDeinstallerSizeKey, int32(size));
    return true;
}
