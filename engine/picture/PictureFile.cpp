#include "picture/PictureFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "VexloError.h"

namespace vexlo {

void OpenPictureFile(QFile& file, const std::string& path) {
    // Opened by its bytes: a name that is not UTF-8 must not become another.
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st {};
    if (fd >= 0 && ::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        fd = -1;
        errno = EISDIR;
    }
    if (fd < 0) {
        throw VexloError("Cannot open the picture \"" + path + "\": " + std::strerror(errno));
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        throw VexloError("Cannot open the picture \"" + path +
                         "\": " + file.errorString().toStdString());
    }
}

QByteArray ReadPictureFile(const std::string& path) {
    QFile file;
    OpenPictureFile(file, path);
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        throw VexloError("Cannot read the picture \"" + path +
                         "\": " + file.errorString().toStdString());
    }
    return bytes;
}

}  // namespace vexlo
