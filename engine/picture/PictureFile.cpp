#include "picture/PictureFile.h"

#include <QString>

#include "VexloError.h"

namespace vexlo {

void OpenPictureFile(QFile& file, const std::string& path) {
    file.setFileName(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) {
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
