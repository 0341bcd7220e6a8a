#include "FuzzDecode.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

#include "VexloError.h"

namespace vexlo::fuzzing {

void FuzzDecode(const std::uint8_t* data, std::size_t size,
                QImage (*decode)(const std::string& path)) {
    static QTemporaryDir folder;
    static unsigned long long count = 0;
    // A fresh name for every input: rewriting one file in place is slow on ext4.
    const QString path = folder.filePath(QString::number(++count));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) ||
            file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) !=
                static_cast<qint64>(size)) {
            std::abort();
        }
    }
    try {
        const QImage image = decode(path.toStdString());
        if (image.isNull()) {
            std::abort();  // success must mean a picture
        }
    } catch (const VexloError& error) {
        if (*error.what() == '\0') {
            std::abort();  // every refusal must say why
        }
    }
    QFile::remove(path);
}

}  // namespace vexlo::fuzzing
