#include "ProgramFolder.h"

#include <filesystem>
#include <system_error>

#include "PathRules.h"
#include "VexloError.h"

namespace vexlo {

bool IsInstalledCopy(const std::string& executablePath) {
    namespace fs = std::filesystem;
    std::error_code ignored;
    const fs::path share = fs::path(executablePath).parent_path() / ".." / "share" / "vexlo";
    return fs::is_directory(share, ignored);
}

std::string ProgramFolderFor(const std::string& executablePath, const Environment& env) {
    namespace fs = std::filesystem;
    if (!IsInstalledCopy(executablePath)) {
        return IncludeTrailingSeparator(fs::path(executablePath).parent_path().string());
    }
    const std::string data = XdgBaseFolder(env, XdgBase::Data);
    if (data.empty()) {
        throw VexloError(
            "Cannot find a folder for Vexlo's settings: neither XDG_DATA_HOME nor HOME is an "
            "absolute path");
    }
    return IncludeTrailingSeparator(data) + "vexlo/";
}

}  // namespace vexlo
