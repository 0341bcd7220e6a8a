#include "ProgramFolder.h"

#include <filesystem>
#include <system_error>

#include "PathRules.h"

namespace vexlo {

namespace {

std::string Value(const Environment& env, const char* name) {
    auto it = env.find(name);
    return it == env.end() ? std::string() : it->second;
}

}  // namespace

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
    std::string data = Value(env, "XDG_DATA_HOME");
    // The base directory rules ignore a relative value.
    if (data.empty() || data.front() != '/') {
        data = Value(env, "HOME") + "/.local/share";
    }
    return IncludeTrailingSeparator(data) + "vexlo/";
}

}  // namespace vexlo
