#pragma once

#include <QDir>
#include <QFile>
#include <QString>
#include <stdexcept>
#include <string>

namespace vexlo::test {

// The bytes of a file; empty when it cannot be read.
std::string ReadFile(const std::string& path);
// Replaces a file's contents; throws std::runtime_error when it cannot.
void WriteFile(const std::string& path, const std::string& text);

// The same for Qt paths; ReadBytes gives "<missing>" for a file that cannot be
// opened, so that a comparison shows it.

inline std::string ReadBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return "<missing>";
    }
    const QByteArray bytes = file.readAll();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

inline void WriteBytes(const QString& path, const std::string& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
            static_cast<qint64>(bytes.size())) {
        throw std::runtime_error("cannot prepare " + path.toStdString());
    }
}

// The entries of a folder, sorted, for "nothing else was left behind" checks.
inline QStringList Entries(const QString& folder) {
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// The path of this test program, for tests that start copies of it (defined
// by the program's own main).
const std::string& SelfPath();

}  // namespace vexlo::test
