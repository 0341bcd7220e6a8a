#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vexlo {

// One entry of a folder.
struct FolderEntry {
    std::string name;
    bool isDirectory = false;
    bool isSymlink = false;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
};

// Replaces `entries` by the folder's entries in the file system's order,
// hidden ones included, without "." and "..". A symbolic link to a directory
// counts as a directory. False when the folder cannot be read.
bool ListFolder(const std::string& folder, std::vector<FolderEntry>& entries);

}  // namespace vexlo
