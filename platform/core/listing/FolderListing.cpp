#include "FolderListing.h"

#include "PortableListing.h"

#ifdef __linux__
#include <dirent.h>
#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>
#endif

namespace vexlo {

#ifdef __linux__
namespace {

bool IsPseudoFileSystem(const std::string& path) {
    struct statfs fs {};
    if (statfs(path.c_str(), &fs) != 0) {
        return false;
    }
    switch (static_cast<unsigned long>(fs.f_type)) {
        case PROC_SUPER_MAGIC:
        case SYSFS_MAGIC:
        case DEVPTS_SUPER_MAGIC:
        case CGROUP_SUPER_MAGIC:
        case CGROUP2_SUPER_MAGIC:
        case DEBUGFS_MAGIC:
        case TRACEFS_MAGIC:
        case SECURITYFS_MAGIC:
        case BPF_FS_MAGIC:
        case PSTOREFS_MAGIC:
        case 0x62656570:  // configfs
        case 0x65735543:  // fusectl
            return true;
        default:
            return false;
    }
}

void Identify(const struct stat& status, FolderEntry& entry) {
    entry.device = static_cast<std::uint64_t>(status.st_dev);
    entry.inode = static_cast<std::uint64_t>(status.st_ino);
}

// Fills in what d_type leaves open. Directories are always looked at, since
// one may be a mount point with a device and inode of its own; plain files
// keep the folder's device and the entry's inode without a system call.
void Complete(int folderFd, const dirent64& raw, const struct stat& folder, FolderEntry& entry) {
    entry.device = static_cast<std::uint64_t>(folder.st_dev);
    entry.inode = static_cast<std::uint64_t>(raw.d_ino);
    unsigned char type = raw.d_type;
    struct stat status {};
    if (type == DT_UNKNOWN) {
        if (fstatat(folderFd, raw.d_name, &status, AT_SYMLINK_NOFOLLOW) != 0) {
            return;
        }
        type = S_ISLNK(status.st_mode) ? DT_LNK : S_ISDIR(status.st_mode) ? DT_DIR : DT_REG;
    }
    if (type == DT_LNK) {
        entry.isSymlink = true;
    } else if (type != DT_DIR) {
        return;
    }
    if (fstatat(folderFd, raw.d_name, &status, 0) != 0) {
        return;  // a dangling link
    }
    entry.isDirectory = S_ISDIR(status.st_mode);
    Identify(status, entry);
}

}  // namespace

bool ListFolder(const std::string& folder, std::vector<FolderEntry>& entries) {
    entries.clear();
    // Read straight with getdents64: no more system calls a folder than opendir
    // and readdir make, and the folder's own status comes with them.
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    struct stat self {};
    bool complete = fstat(fd, &self) == 0;
    alignas(dirent64) char buffer[16384];
    for (ssize_t size; complete && (size = getdents64(fd, buffer, sizeof buffer)) != 0;) {
        if (size < 0) {
            complete = false;
            break;
        }
        for (ssize_t at = 0; at < size;) {
            const auto* raw = reinterpret_cast<const dirent64*>(buffer + at);
            at += raw->d_reclen;
            const char* name = raw->d_name;
            if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) {
                continue;
            }
            FolderEntry& entry = entries.emplace_back();
            entry.name = name;
            Complete(fd, *raw, self, entry);
            if (entry.isDirectory && entry.device != static_cast<std::uint64_t>(self.st_dev)) {
                std::string path = folder;
                if (path.empty() || path.back() != '/') {
                    path += '/';
                }
                entry.isPseudoFileSystem = IsPseudoFileSystem(path + name);
            }
        }
    }
    close(fd);
    if (!complete) {
        entries.clear();
    }
    return complete;
}

bool ReadFolderEntry(const std::string& path, FolderEntry& entry) {
    struct stat status {};
    if (stat(path.c_str(), &status) != 0) {
        return false;
    }
    if (!PortableReadFolderEntry(path, entry)) {
        return false;
    }
    entry.isDirectory = S_ISDIR(status.st_mode);
    Identify(status, entry);
    entry.isPseudoFileSystem = entry.isDirectory && IsPseudoFileSystem(path);
    return true;
}

#else

bool ListFolder(const std::string& folder, std::vector<FolderEntry>& entries) {
    return PortableListFolder(folder, entries);
}

bool ReadFolderEntry(const std::string& path, FolderEntry& entry) {
    return PortableReadFolderEntry(path, entry);
}

#endif

}  // namespace vexlo
