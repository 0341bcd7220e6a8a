#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vexlo {

// What a start can ask before any window or display exists: the usage text or
// the version, printed on standard output. Only an exact "--help", "-h" or
// "--version" as the first argument asks it; any other first argument keeps
// its meaning as a command (or as an unknown one).
enum class EarlyRequest { None, Usage, Version };
EarlyRequest EarlyRequestOf(const std::vector<std::string>& arguments);

// The usage text: how to call `program`, the commands and what they do.
std::string UsageText(const std::string& program);

// Whether the start needs a screen: every one but "addfolder", which only
// writes the settings file.
bool CommandNeedsScreen(const std::vector<std::string>& arguments);

// True for the commands that end the program before its event loop runs
// ("apply" and "addfolder", in any case): VexloPro::HandleCommandLine returns
// kEndProgram for them or raises their error, so nothing of the main window,
// its tree or the tray icon would ever be seen.
bool EndsBeforeEventLoop(const std::vector<std::string>& arguments);

// The FILE of an "apply FILE" command line (the word in any case), as
// VexloPro::HandleCommandLine takes it; nothing for any other.
std::optional<std::string> ApplyOperand(const std::vector<std::string>& arguments);

// "addfolder FOLDER": the [Folders] entry FolderKeyName = FOLDER, written
// straight into the settings file of `programFolder` (a key of that name gets
// the new value). A relative FOLDER names another folder for every process
// that reads it, so it is made absolute against the working folder first; an
// absolute one is kept as given. An empty FOLDER is refused with a VexloError,
// as is a write that fails.
void AddFolderCommand(const std::string& programFolder, const std::string& folder);

}  // namespace vexlo
