#include "MountTable.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <set>
#include <sstream>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

// Mount points are written with octal escapes for space, tab, newline and
// backslash.
std::string UnescapeOctal(const std::string& text)
{
    std::string result;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 3 < text.size()
            && std::all_of(text.begin() + long(i) + 1, text.begin() + long(i) + 4,
                [](char c) { return c >= '0' && c <= '7'; })) {
            result += char(std::stoi(text.substr(i + 1, 3), nullptr, 8));
            i += 3;
        } else {
            result += text[i];
        }
    }
    return result;
}

std::string UnescapeHex(const std::string& text)
{
    std::string result;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 3 < text.size() && text[i + 1] == 'x'
            && isxdigit((unsigned char)text[i + 2]) && isxdigit((unsigned char)text[i + 3])) {
            result += char(std::stoi(text.substr(i + 2, 2), nullptr, 16));
            i += 3;
        } else {
            result += text[i];
        }
    }
    return result;
}

bool ParseLine(const std::string& line, MountEntry* entry)
{
    std::istringstream in(line);
    std::vector<std::string> fields;
    std::string field;
    while (in >> field)
        fields.push_back(field);
    auto separator = std::find(fields.begin(), fields.end(), "-");
    if (separator == fields.end() || separator - fields.begin() < 6 || fields.end() - separator < 3)
        return false;
    unsigned int major = 0;
    unsigned int minor = 0;
    char colon = 0;
    std::istringstream numbers(fields[2]);
    if (!(numbers >> major >> colon >> minor) || colon != ':')
        return false;
    entry->device = makedev(major, minor);
    entry->root = UnescapeOctal(fields[3]);
    entry->mountPoint = UnescapeOctal(fields[4]);
    entry->mountOptions = fields[5];
    entry->fileSystem = separator[1];
    entry->source = UnescapeOctal(separator[2]);
    entry->superOptions = fields.end() - separator > 3 ? separator[3] : "";
    return !entry->mountPoint.empty() && entry->mountPoint[0] == '/';
}

bool IsUnder(const std::string& path, const char* folder)
{
    std::string prefix = folder;
    return path == prefix || path.compare(0, prefix.size() + 1, prefix + "/") == 0;
}

std::string ReadSmallFile(const std::string& path)
{
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return {};
    char buffer[64];
    ssize_t length = read(fd, buffer, sizeof(buffer));
    close(fd);
    return length > 0 ? std::string(buffer, size_t(length)) : std::string();
}

} // namespace

std::vector<MountEntry> parse_mount_table(const std::string& text)
{
    std::vector<MountEntry> result;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        MountEntry entry;
        if (ParseLine(line, &entry))
            result.push_back(std::move(entry));
    }
    return result;
}

std::vector<MountEntry> read_mount_table(const char* file)
{
    int fd = open(file, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return {};
    std::string text;
    char buffer[8192];
    ssize_t length;
    while ((length = read(fd, buffer, sizeof(buffer))) > 0)
        text.append(buffer, size_t(length));
    close(fd);
    return parse_mount_table(text);
}

bool is_pseudo_mount(const MountEntry& entry)
{
    static const std::set<std::string> kPseudo
        = {"autofs", "binfmt_misc", "bpf", "cgroup", "cgroup2", "configfs", "debugfs", "devpts",
            "devtmpfs", "efivarfs", "fusectl", "fuse.gvfsd-fuse", "fuse.lxcfs", "fuse.portal",
            "hugetlbfs", "mqueue", "nsfs", "pipefs", "proc", "pstore", "rpc_pipefs", "securityfs",
            "selinuxfs", "sockfs", "sysfs", "tracefs", "nfsd", "xenfs"};
    if (kPseudo.count(entry.fileSystem) != 0)
        return true;
    const std::string& point = entry.mountPoint;
    if (IsUnder(point, "/proc") || IsUnder(point, "/sys"))
        return true;
    if (IsUnder(point, "/dev") && point != "/dev/shm")
        return true;
    // Memory file systems under /run are the system's own scratch space.
    return is_memory_file_system(entry.fileSystem) && IsUnder(point, "/run");
}

std::vector<MountEntry> volume_mounts(const std::vector<MountEntry>& table)
{
    // A later mount on the same point hides the earlier ones.
    std::vector<MountEntry> visible;
    for (size_t i = 0; i < table.size(); ++i) {
        bool hidden = false;
        for (size_t j = i + 1; j < table.size() && !hidden; ++j)
            hidden = table[j].mountPoint == table[i].mountPoint;
        if (!hidden && !is_pseudo_mount(table[i]))
            visible.push_back(table[i]);
    }
    auto rank = [](const MountEntry& entry) {
        return entry.mountPoint == "/" ? 0 : entry.root == "/" ? 1 : 2;
    };
    std::vector<MountEntry> result;
    for (const auto& entry : visible) {
        auto same = std::find_if(result.begin(), result.end(),
            [&](const MountEntry& kept) { return kept.device == entry.device; });
        if (same == result.end())
            result.push_back(entry);
        else if (rank(entry) < rank(*same))
            *same = entry;
    }
    return result;
}

bool has_mount_option(const std::string& options, const char* option)
{
    std::istringstream in(options);
    std::string item;
    while (std::getline(in, item, ',')) {
        if (item == option)
            return true;
    }
    return false;
}

bool is_network_file_system(const std::string& fileSystem)
{
    static const std::set<std::string> kNetwork = {"nfs", "nfs4", "cifs", "smb3", "smbfs", "ncpfs",
        "afs", "9p", "ceph", "glusterfs", "lustre", "coda", "davfs", "fuse.sshfs", "fuse.rclone",
        "fuse.davfs2", "fuse.glusterfs", "fuse.s3fs", "fuse.smbnetfs", "fuse.curlftpfs"};
    return kNetwork.count(fileSystem) != 0;
}

bool is_memory_file_system(const std::string& fileSystem)
{
    return fileSystem == "tmpfs" || fileSystem == "ramfs";
}

bool is_removable_device(dev_t device, const std::string& sysRoot)
{
    std::string link = sysRoot + "/dev/block/" + std::to_string(major(device)) + ":"
        + std::to_string(minor(device));
    char resolved[PATH_MAX];
    if (realpath(link.c_str(), resolved) == nullptr)
        return false;
    std::string path = resolved;
    if (path.find("/usb") != std::string::npos)
        return true;
    if (ReadSmallFile(path + "/removable").compare(0, 1, "1") == 0)
        return true;
    // A partition: the flag sits on the disk that holds it.
    struct stat st;
    if (stat((path + "/partition").c_str(), &st) == 0)
        return ReadSmallFile(path + "/../removable").compare(0, 1, "1") == 0;
    return false;
}

std::string label_for_source(const std::string& source, const std::string& byLabelFolder)
{
    if (source.empty() || source[0] != '/')
        return {};
    char device[PATH_MAX];
    if (realpath(source.c_str(), device) == nullptr)
        return {};
    DIR* dir = opendir(byLabelFolder.c_str());
    if (dir == nullptr)
        return {};
    std::string label;
    while (struct dirent* item = readdir(dir)) {
        if (item->d_name[0] == '.')
            continue;
        char target[PATH_MAX];
        std::string link = byLabelFolder + "/" + item->d_name;
        if (realpath(link.c_str(), target) != nullptr && std::string(target) == device) {
            label = UnescapeHex(item->d_name);
            break;
        }
    }
    closedir(dir);
    return label;
}
