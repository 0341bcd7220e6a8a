#include "LeftoverFiles.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <string>

namespace vexlo {
namespace {

// Reads a run of digits at `at`, moving past it; 0 when there is none or it
// is too long to be a process id.
long Digits(std::string_view text, std::size_t& at) {
    const std::size_t start = at;
    long value = 0;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
        if (at - start >= 9) {
            return 0;
        }
        value = value * 10 + (text[at] - '0');
        ++at;
    }
    return at == start ? 0 : value;
}

bool AtLeastOneDigit(std::string_view text, std::size_t& at) {
    const std::size_t start = at;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
        ++at;
    }
    return at > start;
}

// "<file>.new-<pid>-<n>-<r>", as AtomicFile names its file.
long ReplacementOwner(std::string_view name) {
    const std::size_t mark = name.rfind(".new-");
    if (mark == std::string_view::npos || mark == 0) {
        return 0;
    }
    std::size_t at = mark + 5;
    const long pid = Digits(name, at);
    if (pid == 0 || at >= name.size() || name[at++] != '-' || !AtLeastOneDigit(name, at) ||
        at >= name.size() || name[at++] != '-' || !AtLeastOneDigit(name, at) || at != name.size()) {
        return 0;
    }
    return pid;
}

// "tmp-<pid>-<n>" and the picture's extension (none, or one "." and a name).
long CopyOwner(std::string_view name) {
    if (name.substr(0, 4) != "tmp-") {
        return 0;
    }
    std::size_t at = 4;
    const long pid = Digits(name, at);
    if (pid == 0 || at >= name.size() || name[at++] != '-' || !AtLeastOneDigit(name, at)) {
        return 0;
    }
    if (at == name.size()) {
        return pid;
    }
    const std::string_view extension = name.substr(at);
    return extension.front() == '.' && extension.find('.', 1) == std::string_view::npos ? pid : 0;
}

}  // namespace

long TemporaryFileOwner(std::string_view name) {
    const long pid = ReplacementOwner(name);
    return pid != 0 ? pid : CopyOwner(name);
}

bool ProcessIsAlive(long pid) {
    if (pid <= 0) {
        return true;  // no process of ours: never treated as gone
    }
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH;
}

int RemoveLeftoverTemporaries(const std::string& folder) {
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return 0;
    }
    const std::string prefix = folder.empty() || folder.back() == '/' ? folder : folder + "/";
    int removed = 0;
    while (const dirent* entry = ::readdir(dir)) {
        const long pid = TemporaryFileOwner(entry->d_name);
        if (pid == 0 || ProcessIsAlive(pid)) {
            continue;
        }
        const std::string path = prefix + entry->d_name;
        struct stat st {};
        // Only files: a link or folder of that name is not one Vexlo made.
        if (::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::unlink(path.c_str()) == 0) {
            ++removed;
        }
    }
    ::closedir(dir);
    return removed;
}

}  // namespace vexlo
