#pragma once

#include <string>

namespace vexlo {

// Renames `from` to `to` within one file system, never replacing an existing
// `to`: an existing target makes it fail and leaves both as they were. Where
// the file system cannot rename that way, a file is linked under the new name
// and then unlinked under the old; a folder there is refused. Returns an empty
// text on success, else the reason ("File exists", ...).
std::string RenameNoReplace(const std::string& from, const std::string& to);

}  // namespace vexlo
