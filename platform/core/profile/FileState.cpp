#include "profile/FileState.h"

#include <chrono>

#ifdef _WIN32
#include <QFileInfo>
#include <QString>
#else
#include <sys/stat.h>
#endif

namespace vexlo {

#ifdef _WIN32

FileState StatFile(const std::string& path) {
    const QFileInfo info(QString::fromStdString(path));
    return FileState{info.exists(), info.isFile(), std::nullopt};
}

#else

FileState StatFile(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        return {};
    }
    FileIdentity id;
    id.device = static_cast<std::uint64_t>(st.st_dev);
    id.inode = static_cast<std::uint64_t>(st.st_ino);
    id.size = static_cast<std::uint64_t>(st.st_size);
    id.modifiedNs =
        static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
    id.changedNs =
        static_cast<std::int64_t>(st.st_ctim.tv_sec) * 1'000'000'000 + st.st_ctim.tv_nsec;
    return FileState{true, S_ISREG(st.st_mode), id};
}

#endif

bool IdentityIsSettled(const FileIdentity& identity) {
    constexpr std::int64_t kMarginNs = 3'000'000'000;
    const std::int64_t now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                                 std::chrono::system_clock::now().time_since_epoch())
                                 .count();
    return now - identity.modifiedNs >= kMarginNs && now - identity.changedNs >= kMarginNs;
}

}  // namespace vexlo
