#include "shared/WallpaperSetter.h"

#include <QString>

#include "VexloError.h"

namespace vexlo {

void RequireUtf8FileName(const std::string& path, const std::string& desktop) {
    // Qt replaces what is not UTF-8, so only valid UTF-8 comes back unchanged.
    if (QString::fromStdString(path).toStdString() != path) {
        throw VexloError(desktop + " takes file names in UTF-8 only: cannot show " + path);
    }
}

}  // namespace vexlo
