#include "RenameNoReplace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace vexlo {

namespace {

std::string Reason(int error) {
    return std::strerror(error);
}

}  // namespace

std::string RenameNoReplace(const std::string& from, const std::string& to) {
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return {};
    }
    const int error = errno;
    if (error != EINVAL && error != ENOSYS && error != ENOTSUP) {
        return Reason(error);
    }
    // No atomic way on this file system: a hard link cannot replace either.
    struct stat st {};
    if (lstat(from.c_str(), &st) != 0) {
        return Reason(errno);
    }
    if (S_ISDIR(st.st_mode)) {
        return "the file system cannot rename a folder without the risk of replacing another";
    }
    if (link(from.c_str(), to.c_str()) != 0) {
        return Reason(errno);
    }
    if (unlink(from.c_str()) != 0) {
        const int unlinkError = errno;
        unlink(to.c_str());
        return Reason(unlinkError);
    }
    return {};
}

}  // namespace vexlo
