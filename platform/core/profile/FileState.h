#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vexlo {

// What identifies one version of a file: a rewrite through a new file changes
// the inode, an edit in place the size or the times.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modifiedNs = 0;
    std::int64_t changedNs = 0;
    bool operator==(const FileIdentity&) const = default;
};

struct FileState {
    bool exists = false;
    bool regular = false;
    // Empty where the system gives no inode and nanosecond times: nothing is cached there.
    std::optional<FileIdentity> identity;
};

FileState StatFile(const std::string& path);

// True when the file's times lie far enough in the past that any later change
// must give it other times: only then may an unchanged identity vouch for
// unchanged contents (file times tick coarsely, up to 2 s on some file systems).
bool IdentityIsSettled(const FileIdentity& identity);

}  // namespace vexlo
