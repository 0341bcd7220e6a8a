#include "PathRules.h"

namespace vexlo {
namespace {

// Where the file name starts: after the last separator (Windows: also after the
// drive's ":"). On POSIX ":" is an ordinary file-name character and cuts nothing.
std::size_t NameStart(const std::string& path, PathStyle style) {
    const std::size_t cut =
        style == PathStyle::Windows ? path.find_last_of("\\:") : path.find_last_of('/');
    return cut == std::string::npos ? 0 : cut + 1;
}

}  // namespace

char PathSeparator(PathStyle style) {
    return style == PathStyle::Windows ? '\\' : '/';
}

bool IsPathSeparator(char c, PathStyle style) {
    return c == PathSeparator(style);
}

std::string IncludeTrailingSeparator(const std::string& path, PathStyle style) {
    if (!path.empty() && IsPathSeparator(path.back(), style)) {
        return path;
    }
    return path + PathSeparator(style);
}

std::string ExcludeTrailingSeparator(const std::string& path, PathStyle style) {
    if (!path.empty() && IsPathSeparator(path.back(), style)) {
        return path.substr(0, path.size() - 1);
    }
    return path;
}

std::string ExtractFileName(const std::string& path, PathStyle style) {
    return path.substr(NameStart(path, style));
}

std::string ExtractFileExt(const std::string& path, PathStyle style) {
    const std::string name = ExtractFileName(path, style);
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot);
}

std::string LowerFileExt(const std::string& path, PathStyle style) {
    std::string ext = ExtractFileExt(path, style);
    for (char& c : ext) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return ext;
}

std::string FolderKeyName(const std::string& path, PathStyle style) {
    return ExtractFileName(ExcludeTrailingSeparator(path, style), style);
}

std::vector<std::string> PathComponents(const std::string& path, PathStyle style) {
    std::vector<std::string> components;
    const char separator = PathSeparator(style);
    std::size_t start = path.find(separator);
    while (start != std::string::npos) {
        const std::size_t next = path.find(separator, start + 1);
        components.push_back(path.substr(
            start + 1, next == std::string::npos ? std::string::npos : next - start - 1));
        start = next;
    }
    return components;
}

}  // namespace vexlo
