#pragma once

#include <chrono>
#include <string>

namespace vexlo {

// An exclusive lock between processes (and between threads with their own
// FileLock), held through a lock file. The lock is the kernel's (flock), not
// the file's contents: a holder that dies releases it at once, and an empty,
// garbled or abandoned lock file holds nothing. Waiters sleep in the kernel
// and are woken when the holder lets go, so a late waiter is not starved by
// newcomers polling past it. Paths are bytes.
class FileLock {
public:
    enum class Result { Locked, TimedOut, Failed };

    explicit FileLock(std::string path);
    ~FileLock();  // unlocks
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Waits while the lock changes hands, but at most `wait` for any one
    // holder: TimedOut when one holder keeps it that long. Failed: the lock
    // file cannot be made or locked (a folder that is missing or not
    // writable, a directory in its place).
    Result Lock(std::chrono::milliseconds wait);
    // Removes the lock file and lets go; nothing when not locked.
    void Unlock();

private:
    std::string path_;
    int fd_ = -1;
};

}  // namespace vexlo
