#pragma once

#include "FolderListing.h"

namespace vexlo {

// ListFolder and ReadFolderEntry through std::filesystem alone: the listing
// of systems without the Linux path. Identity comes from the file's status
// where the system gives device and inode, else from its canonical path.
// Never reports a pseudo file system.
bool PortableListFolder(const std::string& folder, std::vector<FolderEntry>& entries);
bool PortableReadFolderEntry(const std::string& path, FolderEntry& entry);

}  // namespace vexlo
