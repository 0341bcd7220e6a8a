#include "profile/FileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace vexlo {
namespace {

// A blocking flock cannot time out, so it runs on a thread of its own; when
// the caller stops waiting, that thread owns the descriptor and closes it
// (releasing the lock) as soon as it gets the lock.
struct BlockingWait {
    std::mutex mutex;
    std::condition_variable done;
    int fd = -1;
    bool finished = false;
    bool abandoned = false;
    int result = -1;
};

bool WaitForLock(int fd, std::chrono::steady_clock::time_point deadline, bool& timedOut) {
    auto wait = std::make_shared<BlockingWait>();
    wait->fd = fd;
    std::thread([wait] {
        int result = 0;
        do {
            result = ::flock(wait->fd, LOCK_EX);
        } while (result != 0 && errno == EINTR);
        const std::lock_guard<std::mutex> hold(wait->mutex);
        if (wait->abandoned) {
            ::close(wait->fd);
            return;
        }
        wait->result = result;
        wait->finished = true;
        wait->done.notify_all();
    }).detach();
    std::unique_lock<std::mutex> hold(wait->mutex);
    if (!wait->done.wait_until(hold, deadline, [&] { return wait->finished; })) {
        wait->abandoned = true;
        timedOut = true;
        return false;
    }
    return wait->result == 0;
}

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

}  // namespace

FileLock::FileLock(std::string path) : path_(std::move(path)) {}

FileLock::~FileLock() {
    Unlock();
}

FileLock::Result FileLock::Lock(std::chrono::milliseconds wait) {
    Unlock();
    // The wait counts from the last hand-over: a long queue that moves is
    // waited out, only a holder that keeps the lock for all of `wait` is not.
    auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        const int fd = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOCTTY, 0666);
        if (fd < 0) {
            return Result::Failed;
        }
        struct stat held {};
        if (::fstat(fd, &held) != 0 || !S_ISREG(held.st_mode)) {
            ::close(fd);
            return Result::Failed;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            if (errno != EWOULDBLOCK) {
                ::close(fd);
                return Result::Failed;
            }
            bool timedOut = false;
            if (!WaitForLock(fd, deadline, timedOut)) {
                if (!timedOut) {
                    ::close(fd);
                    return Result::Failed;
                }
                return Result::TimedOut;  // the waiting thread closes fd
            }
        }
        // The holder before us removes the file before letting go: a lock on
        // a file no longer at the path guards nothing, so start again.
        struct stat now {};
        if (::stat(path_.c_str(), &now) == 0 && SameFile(now, held)) {
            fd_ = fd;
            return Result::Locked;
        }
        ::close(fd);
        deadline = std::chrono::steady_clock::now() + wait;  // a holder finished: the queue moves
    }
}

void FileLock::Unlock() {
    if (fd_ < 0) {
        return;
    }
    ::unlink(path_.c_str());
    ::close(fd_);
    fd_ = -1;
}

}  // namespace vexlo
