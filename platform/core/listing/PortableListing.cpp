#include "PortableListing.h"

#include <filesystem>
#include <functional>

#if __has_include(<sys/stat.h>)
#include <sys/stat.h>
#define VEXLO_HAS_STAT 1
#endif

namespace vexlo {
namespace fs = std::filesystem;
namespace {

void Identify(const fs::path& path, FolderEntry& entry) {
#ifdef VEXLO_HAS_STAT
    struct stat status {};
    if (::stat(path.c_str(), &status) == 0) {
        entry.device = static_cast<std::uint64_t>(status.st_dev);
        entry.inode = static_cast<std::uint64_t>(status.st_ino);
        return;
    }
#endif
    std::error_code ec;
    const fs::path canonical = fs::canonical(path, ec);
    entry.device = 0;
    entry.inode = std::hash<std::string>()((ec ? path : canonical).generic_string());
}

void Describe(const fs::path& path, FolderEntry& entry) {
    std::error_code ec;
    entry.isSymlink = fs::is_symlink(fs::symlink_status(path, ec));
    entry.isDirectory = fs::is_directory(path, ec);
    Identify(path, entry);
}

}  // namespace

bool PortableListFolder(const std::string& folder, std::vector<FolderEntry>& entries) {
    entries.clear();
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    if (ec) {
        return false;
    }
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (ec) {
            entries.clear();
            return false;
        }
        FolderEntry entry;
        entry.name = it->path().filename().string();
        Describe(it->path(), entry);
        entries.push_back(std::move(entry));
    }
    return !ec;
}

bool PortableReadFolderEntry(const std::string& path, FolderEntry& entry) {
    std::error_code ec;
    if (!fs::exists(path, ec)) {
        return false;
    }
    entry = FolderEntry{};
    const fs::path p(path);
    entry.name = (p.has_filename() ? p.filename() : p.parent_path().filename()).string();
    Describe(p, entry);
    return true;
}

}  // namespace vexlo
