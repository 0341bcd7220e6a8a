#include "profile/ProfileFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "VexloError.h"
#include "profile/AtomicFile.h"
#include "profile/FileLock.h"
#include "profile/ProfileName.h"

namespace vexlo {
namespace {

// One write takes milliseconds: a writer that holds the lock this long is stuck.
constexpr std::chrono::milliseconds kLockWait{20000};

// Paths are kept as the bytes the file system gave, whatever their encoding.
std::string FullPath(const std::string& path) {
    std::error_code ignored;
    const std::filesystem::path full = std::filesystem::absolute(path, ignored);
    return full.empty() ? path : full.string();
}

[[noreturn]] void ThrowUnableToWrite(const std::string& path) {
    throw VexloError("Unable to write to " + FullPath(path));
}

[[noreturn]] void ThrowLockTimeOut(const std::string& path, std::chrono::milliseconds wait) {
    throw VexloError("Gave up waiting to write to " + FullPath(path) +
                     ": another process kept it locked for " + std::to_string(wait.count() / 1000) +
                     " seconds");
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    return folder.empty() || folder.back() == '/' ? folder + name : folder + "/" + name;
}

bool IsRegularFile(const std::string& path) {
    const FileState state = StatFile(path);
    return state.exists && state.regular;
}

// The entry of `folder` named `name` in any letter case, else empty. The exact
// name wins when it is a file (a stray copy in other capitals beside it, say
// from a backup, changes nothing); else a file, then the first in byte order.
std::string FindEntry(const std::string& folder, const std::string& name) {
    if (IsRegularFile(JoinPath(folder, name))) {
        return name;
    }
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return {};
    }
    const std::string wanted = FoldProfileName(name);
    std::vector<std::pair<bool, std::string>> matches;  // (not a file, name)
    while (const dirent* entry = ::readdir(dir)) {
        const std::string entryName = entry->d_name;
        if (entryName != "." && entryName != ".." && FoldProfileName(entryName) == wanted) {
            matches.emplace_back(!IsRegularFile(JoinPath(folder, entryName)), entryName);
        }
    }
    ::closedir(dir);
    if (matches.empty()) {
        return {};
    }
    return std::min_element(matches.begin(), matches.end())->second;
}

// The whole file; false when it cannot be opened or read.
bool ReadWhole(const std::string& path, std::string& bytes) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    bytes.clear();
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            ::close(fd);
            return got == 0;
        }
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
}

std::shared_ptr<const ProfileText> EmptyText() {
    static const auto empty = std::make_shared<const ProfileText>();
    return empty;
}

}  // namespace

ProfileFile::ProfileFile(std::string path) : path_(std::move(path)), lockWait_(kLockWait) {
    const std::size_t slash = path_.rfind('/');
    folder_ = slash == std::string::npos ? std::string(".") : path_.substr(0, slash + 1);
    name_ = slash == std::string::npos ? path_ : path_.substr(slash + 1);
}

std::string ProfileFile::ResolvedPath() const {
    const std::string entry = FindEntry(folder_, name_);
    if (entry.empty() || entry == name_) {
        return path_;
    }
    return JoinPath(folder_, entry);
}

std::string ProfileFile::ResolveCached() const {
    const FileState folder = StatFile(folder_);
    if (folder.identity && cache_.folderKnown && *folder.identity == cache_.folderId &&
        IdentityIsSettled(cache_.folderId)) {
        return cache_.resolved;
    }
    std::string resolved = ResolvedPath();
    cache_.folderKnown = folder.identity.has_value();
    if (folder.identity) {
        cache_.folderId = *folder.identity;
    }
    cache_.resolved = resolved;
    return resolved;
}

std::shared_ptr<const ProfileText> ProfileFile::Read() const {
    // The file read last time, unchanged and settled: its parsed copy stands.
    // (A second spelling of the name appearing beside it is noticed once the
    // file itself changes; the program's own writers never make one.)
    if (cache_.textKnown) {
        const FileState state = StatFile(cache_.textPath);
        if (state.regular && state.identity && *state.identity == cache_.textId &&
            IdentityIsSettled(cache_.textId)) {
            return cache_.text;
        }
    }
    const std::string target = ResolveCached();
    const FileState state = StatFile(target);
    std::string bytes;
    if (!state.exists || !state.regular || !ReadWhole(target, bytes)) {
        cache_.textKnown = false;
        return EmptyText();
    }
    // A file changed a moment ago must be read, but often reads as before.
    if (!cache_.text || cache_.textPath != target || cache_.bytes != bytes) {
        cache_.text = std::make_shared<const ProfileText>(bytes);
        cache_.bytes = std::move(bytes);
        cache_.textPath = target;
    }
    cache_.textKnown = state.identity.has_value();
    if (state.identity) {
        cache_.textId = *state.identity;
    }
    return cache_.text;
}

std::string ProfileFile::GetString(const std::string& section, const std::string& key,
                                   const std::string& def) const {
    return Read()->GetString(section, key, def);
}

std::vector<std::string> ProfileFile::KeyNames(const std::string& section) const {
    return Read()->KeyNames(section);
}

bool ProfileFile::SectionExists(const std::string& section) const {
    return Read()->SectionExists(section);
}

void ProfileFile::Update(const std::function<bool(ProfileText&)>& change) {
    // One lock for every spelling of the name, so that "Vexlo.ini" and
    // "vexlo.ini" writers wait for each other even before the file exists.
    FileLock lock(JoinPath(folder_, FoldProfileName(name_) + ".lock"));
    switch (lock.Lock(lockWait_)) {
        case FileLock::Result::Locked:
            break;
        case FileLock::Result::TimedOut:
            ThrowLockTimeOut(ResolvedPath(), lockWait_);
        case FileLock::Result::Failed:
            ThrowUnableToWrite(ResolvedPath());
    }
    const std::string current = ResolvedPath();  // resolved under the lock: no one renames now
    const FileState state = StatFile(current);
    ProfileText text;
    if (state.exists) {
        std::string bytes;
        if (!state.regular || !ReadWhole(current, bytes)) {
            ThrowUnableToWrite(current);
        }
        text = ProfileText(bytes);
    }
    if (!change(text)) {
        return;
    }
    std::string out = text.Text();
    std::string reason;
    if (!ReplaceFile(current, out, reason)) {
        ThrowUnableToWrite(current);
    }
    // The next read still looks at the file, but need not parse what was just written.
    cache_.textKnown = false;
    cache_.textPath = current;
    cache_.bytes = std::move(out);
    cache_.text = std::make_shared<const ProfileText>(std::move(text));
}

void ProfileFile::WriteString(const std::string& section, const std::string& key,
                              const std::string& value) {
    if (value.size() > kProfileValueLimit) {
        throw VexloError("Cannot store a value of " + std::to_string(value.size()) +
                         " bytes in a settings file: at most " +
                         std::to_string(kProfileValueLimit) + " bytes can be read back");
    }
    ProfileText::CheckSectionName(section);
    ProfileText::CheckKeyName(key);
    ProfileText::CheckValue(value);
    Update([&](ProfileText& text) { return text.SetString(section, key, value); });
}

void ProfileFile::DeleteKey(const std::string& section, const std::string& key) {
    Update([&](ProfileText& text) { return text.DeleteKey(section, key); });
}

void ProfileFile::EraseSection(const std::string& section) {
    Update([&](ProfileText& text) { return text.EraseSection(section); });
}

std::string ReadProfileString(const std::string& path, const std::string& section,
                              const std::string& key, const std::string& def) {
    return ProfileFile(path).GetString(section, key, def);
}

void WriteProfileString(const std::string& path, const std::string& section, const std::string& key,
                        const std::string& value) {
    ProfileFile(path).WriteString(section, key, value);
}

}  // namespace vexlo
