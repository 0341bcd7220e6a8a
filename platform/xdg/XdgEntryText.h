#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vexlo {

// A command line as the registry holds it, taken apart: the program and its
// arguments, where the argument "%1" stands for the file or folder acted on.
struct ShellCommand {
    std::string program;
    std::vector<std::string> arguments;
};

// The Run value "<program> change". The value is written without quotes, so a
// program path may hold blanks: an unquoted value ending in " change" is taken
// as the whole path before it. A quoted program ("...") ends at its quote.
// Nothing when the value names no program.
std::optional<ShellCommand> ParseRunValue(std::string_view value);

// A verb's command, "\"<program> \" \"apply\" \"%1\"" (or "addfolder"): the
// program between the first quote and the quoted verb, so that it may hold any
// character; any other command as quoted or blank-separated parts. The blanks
// at the ends of the program path are dropped (the verb keeps one inside its
// quotes, which Windows ignores as well).
std::optional<ShellCommand> ParseVerbCommand(std::string_view value);

// One argument of a desktop entry's Exec key: as it is when it holds none of
// the reserved characters, else quoted as the Desktop Entry rules ask: inside
// double quotes, with `"`, "`", "$" and "\" preceded by "\", and "%" doubled.
// The result still needs DesktopStringValue for the file.
std::string DesktopExecArgument(std::string_view argument);

// The Exec value for `command`, "%1" becoming `fieldCode` (e.g. "%f").
std::string DesktopExec(const ShellCommand& command, std::string_view fieldCode);

// A string as a desktop entry's value holds it: "\" doubled, line breaks and
// tabs as \n, \r, \t.
std::string DesktopStringValue(std::string_view text);

// One argument for a POSIX shell or g_shell_parse_argv: in single quotes, a
// quote inside as '\''.
std::string ShellQuote(std::string_view argument);

// The mark in every file Vexlo writes; only files that hold it are changed or removed.
inline constexpr std::string_view kVexloMarkLine = "X-Vexlo-Written=true";

// True when the text holds the mark on a line of its own.
bool HoldsVexloMark(std::string_view text);

}  // namespace vexlo
