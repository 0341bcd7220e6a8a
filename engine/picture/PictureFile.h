#pragma once

#include <QByteArray>
#include <QFile>
#include <string>

namespace vexlo {

// Opens a picture for reading; throws VexloError naming the path when it
// cannot be opened.
void OpenPictureFile(QFile& file, const std::string& path);

// The whole file, for the compressed formats whose files are small next to
// the bitmap they decode to.
QByteArray ReadPictureFile(const std::string& path);

}  // namespace vexlo
