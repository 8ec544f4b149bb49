#include "disk/FileSystemRules.h"

#include "disk/FatNames.h"

#include <array>
#include <cstdio>
#include <fstream>
#include <fcntl.h>
#include <linux/magic.h>
#include <map>
#include <mutex>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

// The type a mount of the device has in the mount table, as in
// "fuse.fusefat", and its source; empty when the device is not mounted.
std::string mountTypeOf(unsigned major, unsigned minor, std::string& source)
{
    FILE* table = std::fopen("/proc/self/mountinfo", "re");
    if (!table)
        return {};
    const std::string device = std::to_string(major) + ':' + std::to_string(minor);
    std::string type;
    char* line = nullptr;
    std::size_t capacity = 0;
    while (type.empty() && getline(&line, &capacity, table) > 0) {
        // "id parent major:minor root point options [optional…] - type source …"
        const std::string_view text(line);
        std::size_t start = text.find(' ');
        start = start == std::string_view::npos ? start : text.find(' ', start + 1);
        if (start == std::string_view::npos || text.substr(start + 1, device.size() + 1) != device + ' ')
            continue;
        const auto separator = text.find(" - ");
        if (separator == std::string_view::npos)
            continue;
        const std::string_view rest = text.substr(separator + 3);
        type = rest.substr(0, rest.find(' '));
        const std::string_view after = rest.substr(std::min(rest.find(' ') + 1, rest.size()));
        source = after.substr(0, after.find(' '));
    }
    std::free(line);
    std::fclose(table);
    return type;
}

// What a FUSE driver for a block device (as exfat-fuse) mounted, which its
// mount does not name: from the device's boot sector where it can be read,
// else from what udev found on it.
std::string blockFileSystemOf(const std::string& device, unsigned major, unsigned minor)
{
    char sector[512];
    const int fd = ::open(device.c_str(), O_RDONLY | O_CLOEXEC);
    const bool read = fd >= 0 && ::pread(fd, sector, sizeof sector, 0) == ssize_t(sizeof sector);
    if (fd >= 0)
        ::close(fd);
    if (read) {
        const std::string_view boot(sector, sizeof sector);
        if (boot.substr(3, 8) == "EXFAT   ")
            return "exfat";
        return boot.substr(0x36, 3) == "FAT" || boot.substr(0x52, 3) == "FAT" ? "vfat" : "";
    }
    std::ifstream udev("/run/udev/data/b" + std::to_string(major) + ':' + std::to_string(minor));
    for (std::string line; std::getline(udev, line);) {
        if (line.starts_with("E:ID_FS_TYPE="))
            return line.substr(13);
    }
    return {};
}

bool isFatMountType(std::string_view type)
{
    for (std::string_view fuse : {"fuse.", "fuseblk."}) {
        if (type.starts_with(fuse))
            type.remove_prefix(fuse.size());
    }
    constexpr std::array<std::string_view, 6> kFat{"fusefat", "vfat", "msdos", "fat", "exfat", "exfat-fuse"};
    for (std::string_view fat : kFat) {
        if (type == fat)
            return true;
    }
    return false;
}

// Mounts come and go while the program runs, and a new one may get the
// device number of an old one: the mount id tells them apart.
struct MountKey {
    unsigned major, minor;
    unsigned long long mountId;
    auto operator<=>(const MountKey&) const = default;
};

}  // namespace

FileSystemRules FileSystemRules::forFolder(int dirFd, const std::string& path)
{
    const char* folder = path.empty() ? "." : path.c_str();
    struct statx status;
    if (statx(dirFd, folder, 0, STATX_MNT_ID, &status) != 0)
        return {};
    const MountKey key{status.stx_dev_major, status.stx_dev_minor,
                       status.stx_mask & STATX_MNT_ID ? status.stx_mnt_id : 0};

    static std::mutex mutex;
    static std::map<MountKey, FileSystemRules> known;
    {
        const std::lock_guard lock(mutex);
        if (const auto found = known.find(key); found != known.end())
            return found->second;
    }

    const int fd = openat(dirFd, folder, O_PATH | O_DIRECTORY | O_CLOEXEC);
    struct statfs fileSystem;
    const bool examined = fd >= 0 && fstatfs(fd, &fileSystem) == 0;
    if (fd >= 0)
        close(fd);
    if (!examined)
        return {};
    FileSystemRules rules;
    rules.m_nameMax = fileSystem.f_namelen;
    switch (fileSystem.f_type) {
    case MSDOS_SUPER_MAGIC:
    case EXFAT_SUPER_MAGIC:
        rules.m_fatFamily = true;
        break;
    case FUSE_SUPER_MAGIC: {
        rules.m_fuse = true;
        std::string source;
        std::string type = mountTypeOf(key.major, key.minor, source);
        if (type == "fuseblk")
            type = blockFileSystemOf(source, key.major, key.minor);
        rules.m_fatFamily = isFatMountType(type);
        rules.m_asciiOnly = type == "fuse.fusefat" || type == "fuseblk.fusefat";
        break;
    }
    case EXT4_SUPER_MAGIC:
    case TMPFS_MAGIC:
    case XFS_SUPER_MAGIC:
    case BTRFS_SUPER_MAGIC:
        rules.m_listsInodes = true;
        break;
    default:
        break;
    }
    const std::lock_guard lock(mutex);
    known.emplace(key, rules);
    return rules;
}

FileSystemRules FileSystemRules::forFolder(const std::string& path)
{
    return forFolder(AT_FDCWD, path);
}

std::string FileSystemRules::refusal(std::string_view name) const
{
    if (!m_fatFamily)
        return {};
    return m_asciiOnly ? asciiFatNameRefusal(name) : fatNameRefusal(name);
}
