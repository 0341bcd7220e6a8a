#pragma once

#include <string>
#include <vector>

namespace vexlo {

// Windows paths use "\" and a drive; POSIX paths use "/" and have no drive, so
// the text before the first separator is empty. Every path rule of the program
// lives here so that each reads in one place.
enum class PathStyle { Windows, Posix };

#ifdef _WIN32
inline constexpr PathStyle kNativePathStyle = PathStyle::Windows;
#else
inline constexpr PathStyle kNativePathStyle = PathStyle::Posix;
#endif

char PathSeparator(PathStyle style = kNativePathStyle);
bool IsPathSeparator(char c, PathStyle style = kNativePathStyle);

std::string IncludeTrailingSeparator(const std::string& path, PathStyle style = kNativePathStyle);
std::string ExcludeTrailingSeparator(const std::string& path, PathStyle style = kNativePathStyle);

// The name and extension without the folder.
std::string ExtractFileName(const std::string& path, PathStyle style = kNativePathStyle);
// From the last dot of the file name, dot included, case kept; empty without a dot.
std::string ExtractFileExt(const std::string& path, PathStyle style = kNativePathStyle);
// The extension with ASCII letters lower-cased, for telling picture kinds apart.
std::string LowerFileExt(const std::string& path, PathStyle style = kNativePathStyle);

// The key of a folder in [Folders] and [Use Folders]: one trailing separator
// dropped, then the text after the last separator (Windows: also after ":";
// POSIX cuts at "/" only, since ":" is an ordinary file-name character there).
// A root ("C:\", "/") gives the empty name.
std::string FolderKeyName(const std::string& path, PathStyle style = kNativePathStyle);

// The texts between separators after the first one: C:\Pictures\a.jpg gives
// Pictures, a.jpg; /home/u/a.jpg gives home, u, a.jpg. A path without any
// separator has none. Doubled or trailing separators give empty texts.
std::vector<std::string> PathComponents(const std::string& path,
                                        PathStyle style = kNativePathStyle);

}  // namespace vexlo
