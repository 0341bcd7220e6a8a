#pragma once

#include <string>

#include "Environment.h"

namespace vexlo {

// Where Vexlo keeps Vexlo.ini, wallpaper.bmp and the temporary copy of an
// apply, with a trailing separator.
//
// A portable copy keeps them beside its executable. An installed copy (its
// folder has ../share/vexlo beside it, as the package lays it out) lives where
// the user may not write, so it keeps them in one per-user folder instead:
// $XDG_DATA_HOME/vexlo/, else ~/.local/share/vexlo/ (XdgBaseFolder); VexloError
// when neither names an absolute path.
std::string ProgramFolderFor(const std::string& executablePath, const Environment& env);

// True when the executable is laid out as an installed copy.
bool IsInstalledCopy(const std::string& executablePath);

}  // namespace vexlo
