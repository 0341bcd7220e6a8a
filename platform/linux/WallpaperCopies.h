#pragma once

#include <string>
#include <vector>

#include "Environment.h"

namespace vexlo {

// Copies handed to desktops that keep a picture by its file name: each apply
// gets a new name, so writing the same wallpaper file again still shows the new
// picture. Only the copy in use is kept.
class WallpaperCopies {
public:
    explicit WallpaperCopies(std::string folder);

    // $XDG_DATA_HOME/vexlo/desktop, else $HOME/.local/share/vexlo/desktop.
    static std::string DefaultFolder(const Environment& env);

    const std::string& Folder() const { return folder_; }

    // A fresh copy of `source` in the folder; empty when it could not be made
    // (nothing is left behind then).
    std::string Make(const std::string& source) const;

    // A fresh name in the folder (made if missing) for a picture of our own
    // with `extension` (".bmp"); empty when there is no folder.
    std::string NewPath(const std::string& extension) const;

    // Removes every copy but `keep` (which may be empty to remove them all).
    void KeepOnly(const std::string& keep) const;
    void KeepOnly(const std::vector<std::string>& keep) const;

private:
    std::string folder_;
};

}  // namespace vexlo
