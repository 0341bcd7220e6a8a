#include "profile/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <random>

#include "files/LeftoverFiles.h"

namespace vexlo {
namespace {

// The file a chain of symbolic links ends at (which need not exist yet), so
// that a settings file kept elsewhere through a link is written there and the
// link stays. A loop, or a chain too long to follow, gives the path itself.
std::string FollowLinks(const std::string& path) {
    std::string at = path;
    for (int hop = 0; hop < 40; ++hop) {
        struct stat st {};
        if (::lstat(at.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
            return at;
        }
        std::string target(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 4096) + 1, '\0');
        const ssize_t got = ::readlink(at.c_str(), target.data(), target.size());
        if (got <= 0 || static_cast<std::size_t>(got) >= target.size()) {
            return path;
        }
        target.resize(static_cast<std::size_t>(got));
        if (target.front() != '/') {
            const std::size_t slash = at.rfind('/');
            target =
                (slash == std::string::npos ? std::string() : at.substr(0, slash + 1)) + target;
        }
        at = std::move(target);
    }
    return path;
}

// A new version keeps the old one's permissions; false when there is none.
bool KeepOldPermissions(int fd, const std::string& path) {
    struct stat old {};
    if (::stat(path.c_str(), &old) != 0 || !S_ISREG(old.st_mode)) {
        return false;
    }
    ::fchmod(fd, old.st_mode & 07777);
    return true;
}

// Syncs and closes `fd`, the file at `from`, then renames it to `to`: 0, or
// the errno of the step that failed. `fd` is closed either way.
int SyncAndRename(int fd, const std::string& from, const std::string& to) {
    int error = ::fsync(fd) != 0 ? errno : 0;
    if (::close(fd) != 0 && error == 0) {
        error = errno;
    }
    if (error == 0 && ::rename(from.c_str(), to.c_str()) != 0) {
        error = errno;
    }
    return error;
}

}  // namespace

AtomicFile::AtomicFile(std::string path) : path_(FollowLinks(path)) {}

AtomicFile::~AtomicFile() {
    Discard();
}

void AtomicFile::Discard() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!temporary_.empty()) {
        ::unlink(temporary_.c_str());
        temporary_.clear();
    }
}

bool AtomicFile::Fail(int error) {
    error_ = std::strerror(error);
    Discard();
    return false;
}

bool AtomicFile::Open() {
    // What killed writers left in the folder goes before another is made.
    const std::size_t slash = path_.rfind('/');
    RemoveLeftoverTemporaries(slash == std::string::npos ? "." : path_.substr(0, slash + 1));
    static std::atomic<unsigned> counter{0};
    thread_local std::mt19937 random{std::random_device{}()};
    for (int attempt = 0; attempt < 100; ++attempt) {
        // Unique per process, thread and call; the name never ends in a
        // picture or settings extension.
        std::string name = path_ + ".new-" + std::to_string(::getpid()) + "-" +
                           std::to_string(counter++) + "-" + std::to_string(random() % 1000000);
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno == EEXIST) {
            continue;
        }
        if (fd < 0) {
            return Fail(errno);
        }
        fd_ = fd;
        temporary_ = std::move(name);
        KeepOldPermissions(fd_, path_);
        return true;
    }
    return Fail(EEXIST);
}

bool AtomicFile::Write(const void* data, std::size_t size) {
    if (fd_ < 0) {
        return false;
    }
    const auto* at = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t written = ::write(fd_, at, size);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return Fail(written < 0 ? errno : ENOSPC);
        }
        at += written;
        size -= static_cast<std::size_t>(written);
        written_ += static_cast<std::uint64_t>(written);
    }
#ifdef __linux__
    // A large file starts on its way to the disk while the rest is written,
    // so that Commit's sync waits for less. Only a hint: Commit still syncs.
    constexpr std::uint64_t kFlushStep = std::uint64_t{4} << 20;
    if (written_ - flushed_ >= kFlushStep) {
        ::sync_file_range(fd_, static_cast<off_t>(flushed_),
                          static_cast<off_t>(written_ - flushed_), SYNC_FILE_RANGE_WRITE);
        flushed_ = written_;
    }
#endif
    return true;
}

bool AtomicFile::Commit() {
    if (fd_ < 0) {
        return false;
    }
    const int fd = fd_;
    fd_ = -1;
    const int error = SyncAndRename(fd, temporary_, path_);
    if (error != 0) {
        return Fail(error);
    }
    temporary_.clear();
    return true;
}

int ReplaceWithFile(const std::string& path, const std::string& file) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return errno;
    }
    const std::string target = FollowLinks(path);
    struct stat own {};
    if (!KeepOldPermissions(fd, target) && ::fstat(fd, &own) == 0) {
        ::fchmod(fd, (own.st_mode & 07777) | S_IRUSR | S_IWUSR);
    }
    return SyncAndRename(fd, file, target);
}

bool ReplaceFile(const std::string& path, std::string_view bytes, std::string& error) {
    AtomicFile file(path);
    const bool done = file.Open() && file.Write(bytes.data(), bytes.size()) && file.Commit();
    error = file.Error();
    return done;
}

}  // namespace vexlo
