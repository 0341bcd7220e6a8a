#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vexlo {

// A new version of a file, written beside it and renamed over it only once
// every byte has reached the disk: a full disk, a quota, a file-size limit or
// an I/O error leaves the old file as it was and no temporary file behind.
// Before it starts, the temporary files that killed processes left in the
// folder are removed (RemoveLeftoverTemporaries).
// A path that is a symbolic link is written through: the new version is made
// beside the link's final target and renamed over it, and the link stays.
// Paths are bytes, as the file system gives them (any encoding).
class AtomicFile {
public:
    explicit AtomicFile(std::string path);
    ~AtomicFile();  // a file not committed is removed
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Each returns false on failure; Error() then says why. After a failure
    // the temporary file is already gone.
    bool Open();
    bool Write(const void* data, std::size_t size);
    // Syncs, closes and renames over the file.
    bool Commit();

    const std::string& Error() const { return error_; }

private:
    bool Fail(int error);
    void Discard();

    std::string path_;
    std::string temporary_;
    int fd_ = -1;
    std::string error_;
    std::uint64_t written_ = 0;
    std::uint64_t flushed_ = 0;  // handed to the disk's writeback so far
};

// Makes `file`, complete and this process's own, the new version of `path`
// as Commit makes its own: synced, given the old version's permissions (else
// its own, at least readable and writable by the owner) and renamed over it,
// links followed. Returns 0, or the errno of the step that failed (EXDEV where
// `file` is on another file system); `file` is then left where it was.
int ReplaceWithFile(const std::string& path, const std::string& file);

// The whole file replaced by `bytes`; false with `error` set when any of it failed.
bool ReplaceFile(const std::string& path, std::string_view bytes, std::string& error);

}  // namespace vexlo
