#include "ResourceFileUpdate.h"

#include "NodeAttributes.h"
#include "WriteAll.h"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string FolderOf(const std::string& path)
{
    size_t slash = path.rfind('/');
    return slash == 0 ? "/" : path.substr(0, slash);
}

status_t FillTemporary(BFile& file, int temp, const std::string& tempPath, uint64 keepBytes,
    const std::vector<ResourceFormat::Item>& items, std::vector<ResourceFormat::Entry>& written)
{
    struct stat st;
    if (fstat(file.FileDescriptor(), &st) != 0)
        return status_from_errno(errno);
    if (fchmod(temp, st.st_mode & 07777) != 0)
        return status_from_errno(errno);
    if (fchown(temp, st.st_uid, st.st_gid) != 0) {
        // Only root may give the file away; the group may still be kept.
        (void)!fchown(temp, uid_t(-1), st.st_gid);
    }
    std::string buffer(256 * 1024, '\0');
    for (uint64 done = 0; done < keepBytes;) {
        ssize_t got = file.ReadAt(
            off_t(done), buffer.data(), size_t(std::min<uint64>(buffer.size(), keepBytes - done)));
        if (got <= 0)
            return got < 0 ? status_t(got) : B_IO_ERROR;
        status_t status = write_all_at(temp, off_t(done), buffer.data(), size_t(got));
        if (status != B_OK)
            return status;
        done += uint64(got);
    }
    written.clear();
    if (!items.empty()) {
        status_t status = ResourceFormat::WriteContainer(temp, keepBytes, items, written);
        if (status != B_OK)
            return status;
    }
    BNode copy(tempPath.c_str());
    status_t status = copy_node_attributes(file, copy);
    if (status != B_OK)
        return status;
    return fsync(temp) == 0 ? B_OK : status_from_errno(errno);
}

} // namespace

status_t replace_file_resources(BFile& file, uint64 keepBytes,
    const std::vector<ResourceFormat::Item>& items, std::vector<ResourceFormat::Entry>& written)
{
    if (file.InitCheck() != B_OK)
        return file.InitCheck();
    std::string path = file.Path();
    std::string leaf = path.substr(path.rfind('/') + 1);
    std::string tempPath = FolderOf(path) + "/." + leaf + ".resources-XXXXXX";
    int temp = mkostemp(tempPath.data(), O_CLOEXEC);
    if (temp < 0)
        return status_from_errno(errno);
    status_t status = FillTemporary(file, temp, tempPath, keepBytes, items, written);
    if (close(temp) != 0 && status == B_OK)
        status = status_from_errno(errno);
    if (status == B_OK && rename(tempPath.c_str(), path.c_str()) != 0)
        status = status_from_errno(errno);
    if (status != B_OK) {
        unlink(tempPath.c_str());
        return status;
    }
    int folder = open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        fsync(folder);
        close(folder);
    }
    return file.SetTo(path.c_str(), file.OpenMode() & B_ACCESS_MODE_MASK);
}
