#include "profile/ProfileFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QString>
#include <QThread>
#include <algorithm>
#include <chrono>

#include "VexloError.h"

namespace vexlo {
namespace {

// Long enough for any queue of writers, short enough that a stuck one is reported.
constexpr std::chrono::milliseconds kLockWait{20000};
// A lock held this long is abandoned (its holder hangs, or a new process got the
// dead holder's number); one write takes milliseconds.
constexpr int kStaleLockMs = 15000;

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

[[noreturn]] void ThrowUnableToWrite(const std::string& path) {
    const QString full = QDir::toNativeSeparators(QFileInfo(Q(path)).absoluteFilePath());
    throw VexloError("Unable to write to " + full.toStdString());
}

// The entry of `folder` named `name` in any letter case, else empty.
std::string FindEntry(const std::string& folder, const std::string& name) {
    const QDir dir(Q(folder));
    const QString wanted = Q(name);
    std::vector<std::pair<bool, std::string>> matches;  // (not a file, name)
    const QStringList entries =
        dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        if (entry.compare(wanted, Qt::CaseInsensitive) == 0) {
            matches.emplace_back(!QFileInfo(dir.filePath(entry)).isFile(), entry.toStdString());
        }
    }
    if (matches.empty()) {
        return {};
    }
    return std::min_element(matches.begin(), matches.end())->second;
}

// Waits for the lock in short steps: QLockFile's own waiting doubles its sleep
// up to seconds, which starves writers queued behind a busy one.
bool Acquire(QLockFile& lock, const QString& lockPath) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + kLockWait;
    unsigned long sleepMs = 1;
    while (true) {
        if (lock.tryLock(0)) {
            return true;
        }
        const FileState holder = StatFile(lockPath.toStdString());  // one look, not two
        if (lock.error() != QLockFile::LockFailedError || Clock::now() >= deadline ||
            (holder.exists && !holder.regular)) {
            return false;  // refused outright, waited too long, or no lock file stands there
        }
        QThread::msleep(sleepMs);
        sleepMs = std::min<unsigned long>(sleepMs * 2, 20);
    }
}

std::shared_ptr<const ProfileText> EmptyText() {
    static const auto empty = std::make_shared<const ProfileText>();
    return empty;
}

}  // namespace

ProfileFile::ProfileFile(std::string path) : path_(std::move(path)) {
    const QFileInfo info(Q(path_));
    folder_ = info.path().toStdString();
    name_ = info.fileName().toStdString();
}

std::string ProfileFile::ResolvedPath() const {
    const std::string entry = FindEntry(folder_, name_);
    if (entry.empty() || entry == name_) {
        return path_;
    }
    return QDir(Q(folder_)).filePath(Q(entry)).toStdString();
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
    QFile file(Q(target));
    if (!state.exists || !state.regular || !file.open(QIODevice::ReadOnly)) {
        cache_.textKnown = false;
        return EmptyText();
    }
    const QByteArray read = file.readAll();
    std::string bytes(read.constData(), static_cast<std::size_t>(read.size()));
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
    const QString lockName = Q(name_).toLower() + QStringLiteral(".lock");
    const QString lockPath = QDir(Q(folder_)).filePath(lockName);
    QLockFile lock(lockPath);
    lock.setStaleLockTime(kStaleLockMs);
    if (!Acquire(lock, lockPath)) {
        ThrowUnableToWrite(ResolvedPath());
    }
    const std::string current = ResolvedPath();  // resolved under the lock: no one renames now
    const FileState state = StatFile(current);
    ProfileText text;
    if (state.exists) {
        QFile file(Q(current));
        if (!state.regular || !file.open(QIODevice::ReadOnly)) {
            ThrowUnableToWrite(current);
        }
        const QByteArray bytes = file.readAll();
        if (file.error() != QFileDevice::NoError) {
            ThrowUnableToWrite(current);
        }
        text = ProfileText(
            std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    }
    if (!change(text)) {
        return;
    }
    const std::string out = text.Text();
    QSaveFile save(Q(current));
    save.setDirectWriteFallback(false);
    if (!save.open(QIODevice::WriteOnly) ||
        save.write(out.data(), static_cast<qint64>(out.size())) !=
            static_cast<qint64>(out.size()) ||
        !save.commit()) {
        ThrowUnableToWrite(current);
    }
    // The next read still looks at the file, but need not parse what was just written.
    cache_.textKnown = false;
    cache_.textPath = current;
    cache_.bytes = out;
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
