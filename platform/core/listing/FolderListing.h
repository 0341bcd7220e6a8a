#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vexlo {

// One entry of a folder. Device and inode together name a file or folder
// uniquely while it exists (the portable path makes an equivalent identity).
struct FolderEntry {
    std::string name;
    bool isDirectory = false;  // after following a symbolic link
    bool isSymlink = false;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    // A directory on a pseudo file system (/proc, /sys, cgroups, ...), which
    // holds no files of the user. Checked where the device changes (a mount
    // point) and by ReadFolderEntry, so a walk that starts with ReadFolderEntry
    // meets every such file system at its top.
    bool isPseudoFileSystem = false;
};

// Entries of `folder` in the order the file system gives them, "." and ".."
// left out, hidden entries included. isDirectory follows symbolic links.
// Returns false (and no entries) when the folder is missing or cannot be read.
bool ListFolder(const std::string& folder, std::vector<FolderEntry>& entries);

// The entry for `path` itself (`name` is its last component), following a
// symbolic link; false when nothing is there.
bool ReadFolderEntry(const std::string& path, FolderEntry& entry);

}  // namespace vexlo
