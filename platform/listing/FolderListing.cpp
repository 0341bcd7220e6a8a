#include "FolderListing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace vexlo {

bool ListFolder(const std::string& folder, std::vector<FolderEntry>& entries) {
    entries.clear();
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr) {
        return false;
    }
    const int fd = dirfd(dir);
    struct stat own {};
    const std::uint64_t device = fstat(fd, &own) == 0 ? own.st_dev : 0;
    while (const dirent* entry = readdir(dir)) {
        const char* name = entry->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) {
            continue;
        }
        FolderEntry item;
        item.name = name;
        item.inode = entry->d_ino;
        item.device = device;
        unsigned char type = entry->d_type;
        item.isSymlink = type == DT_LNK;
        if (type == DT_UNKNOWN || type == DT_LNK) {
            // The file system gives no type, or the link's target decides.
            struct stat st {};
            if (type == DT_UNKNOWN && fstatat(fd, name, &st, AT_SYMLINK_NOFOLLOW) == 0) {
                item.isSymlink = S_ISLNK(st.st_mode);
            }
            if (fstatat(fd, name, &st, 0) == 0) {
                item.isDirectory = S_ISDIR(st.st_mode);
                item.device = st.st_dev;
                item.inode = st.st_ino;
            }
        } else {
            item.isDirectory = type == DT_DIR;
        }
        entries.push_back(std::move(item));
    }
    closedir(dir);
    return true;
}

}  // namespace vexlo
