// The command line: "change", "apply FILE", "addfolder FOLDER" and "/debug",
// and the usage text that describes them.
#include "VexloCommandLine.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "NextCommand.h"
#include "PathRules.h"
#include "PictureDecoding.h"
#include "SettingsNames.h"
#include "VexloError.h"
#include "VexloPro.h"
#include "profile/ProfileFile.h"

namespace vexlo {

namespace {

std::string AsciiLower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// What one command works with.
struct CommandCall {
    VexloPro& engine;
    SettingsStore& settings;
    const std::string& operand;
    int provisional;
    const VexloPro::ErrorReport& reportAndGoOn;
};

int RunChange(const CommandCall& call) {
    const auto change = [&] {
        if (call.settings.ReadBool(ini::kStartup, ini::kChangeWallpaper, false)) {
            call.engine.ChangeWallpaper();
        }
    };
    if (call.reportAndGoOn) {
        // This is the log-on start: a picture or a settings file that fails
        // must not leave the user without Vexlo for the whole session.
        try {
            change();
        } catch (const std::exception& error) {
            call.reportAndGoOn(error);
        }
    } else {
        change();
    }
    call.engine.ScheduleIconRefresh();
    return call.provisional;
}

int RunApply(const CommandCall& call) {
    // A file manager or a script must see the failure in the exit code, so
    // what the rotation passes over in silence is an error here.
    if (call.operand.empty()) {
        throw VexloError("The command \"apply\" needs a picture file: vexlo apply FILE");
    }
    std::error_code ec;
    if (!std::filesystem::is_regular_file(call.operand, ec) ||
        !std::ifstream(call.operand, std::ios::binary).is_open()) {
        throw VexloError("Cannot open file " + call.operand);
    }
    if (PictureKindOf(call.operand) == PictureKind::Unknown) {
        throw VexloError("File format is not supported");
    }
    call.engine.ApplyWallpaper(call.operand, call.engine.WallpaperBitmap());
    return VexloPro::kEndProgram;
}

int RunAddFolder(const CommandCall& call) {
    AddFolderCommand(call.engine.ProgramFolder(), call.operand);
    return VexloPro::kEndProgram;
}

// One row per command word: its operand's name in the usage text (empty for
// none), what it does, and the work. A new command is one more row.
struct Command {
    const char* word;
    const char* operand;
    const char* summary;
    int (*run)(const CommandCall&);
};

constexpr Command kCommands[] = {
    {"change", "",
     "change the wallpaper when \"Change wallpaper at startup\" is\n"
     "ticked in the options, then stay in the notification area\n"
     "(the command of the log-on entry)",
     RunChange},
    {"apply", "FILE", "make the picture FILE (BMP, JPEG, GIF or PNG) the\nwallpaper and end",
     RunApply},
    {"addfolder", "FOLDER", "add FOLDER to the picture folders and end", RunAddFolder},
};

// "  word OPERAND    summary", continuation lines under the summary.
void AppendEntry(std::string& text, const std::string& call, const std::string& summary) {
    constexpr std::size_t kColumn = 20;
    std::string line = "  " + call;
    line.append(line.size() < kColumn ? kColumn - line.size() : 1, ' ');
    std::string indented;
    for (char c : summary) {
        indented += c;
        if (c == '\n') {
            indented.append(kColumn, ' ');
        }
    }
    text += line + indented + "\n";
}

}  // namespace

EarlyRequest EarlyRequestOf(const std::vector<std::string>& arguments) {
    if (arguments.empty()) {
        return EarlyRequest::None;
    }
    if (arguments[0] == "--help" || arguments[0] == "-h") {
        return EarlyRequest::Usage;
    }
    if (arguments[0] == "--version") {
        return EarlyRequest::Version;
    }
    return EarlyRequest::None;
}

std::string UsageText(const std::string& program) {
    std::string text = "Usage: " + program + " [COMMAND [OPERAND]]\n\n" +
                       "Vexlo shows the pictures of your picture folders and changes the desktop\n"
                       "wallpaper. Started without a command it shows its main window and its\n"
                       "icon in the notification area.\n\n"
                       "Commands (in any letter case):\n";
    for (const Command& command : kCommands) {
        const std::string operand = command.operand;
        AppendEntry(text,
                    operand.empty() ? command.word : std::string(command.word) + " " + operand,
                    command.summary);
    }
    AppendEntry(text, "/debug",
                "show the main window, as a start without a command does\n"
                "(written exactly so: \"/DEBUG\" is an unknown command)");
    text +=
        "\nAny other first argument starts Vexlo in the notification area without\n"
        "showing the window.\n\nOptions:\n";
    AppendEntry(text, "-h, --help", "show this help and end");
    AppendEntry(text, "--version", "show the version and end");
    text += "\nThe manual page vexlo(1) says more.\n";
    return text;
}

bool CommandNeedsScreen(const std::vector<std::string>& arguments) {
    return arguments.empty() || AsciiLower(arguments[0]) != "addfolder";
}

bool EndsBeforeEventLoop(const std::vector<std::string>& arguments) {
    if (arguments.empty()) {
        return false;
    }
    const std::string word = AsciiLower(arguments[0]);
    return word == "apply" || word == "addfolder";
}

std::optional<std::string> ApplyOperand(const std::vector<std::string>& arguments) {
    if (arguments.size() < 2 || AsciiLower(arguments[0]) != "apply") {
        return std::nullopt;
    }
    return arguments[1];
}

void AddFolderCommand(const std::string& programFolder, const std::string& folder) {
    if (folder.empty()) {
        throw VexloError("The command \"addfolder\" needs a folder: vexlo addfolder FOLDER");
    }
    std::string stored = folder;
    const std::filesystem::path path(folder);
    if (!path.is_absolute()) {
        std::error_code ec;
        const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
        if (ec) {
            throw VexloError("Cannot add the folder \"" + folder +
                             "\": the working folder is unknown (" + ec.message() + ")");
        }
        // "." and "Pictures/.." name the folder itself, not a folder called ".".
        stored = absolute.lexically_normal().string();
    }
    // Straight into the file, beside the open store, under the same lock.
    WriteProfileString(programFolder + ini::kAddFolderFileName, ini::kFolders,
                       FolderKeyName(stored), stored);
}

int VexloPro::HandleCommandLine(const std::vector<std::string>& arguments,
                                const ErrorReport& reportAndGoOn) {
    if (arguments.empty()) {
        return kShowWindow;
    }
    const std::string& first = arguments[0];
    const std::string operand = arguments.size() > 1 ? arguments[1] : std::string();
    const int provisional = first == "/debug" ? kShowWindow : kTrayOnly;
    const std::string word = AsciiLower(first);
    for (const Command& command : kCommands) {
        if (word == command.word) {
            return command.run({*this, settings_, operand, provisional, reportAndGoOn});
        }
    }
    return provisional;
}

}  // namespace vexlo

// "next" runs before the main window exists, so that it never makes a second
// tray icon; it is not one of HandleCommandLine's words.
namespace vexlo {

bool IsNextCommand(const std::vector<std::string>& arguments) {
    return !arguments.empty() && AsciiLower(arguments[0]) == "next";
}

int RunNextCommand(InstanceChannel& channel, const std::function<void()>& changeHere,
                   int timeoutMs) {
    const InstanceReply reply = channel.RequestNext(timeoutMs);
    switch (reply.answer) {
        case InstanceAnswer::Done:
            return 0;
        case InstanceAnswer::NoInstance:
            changeHere();
            return 0;
        case InstanceAnswer::Failed:
            throw VexloError(reply.message.empty()
                                 ? "The running Vexlo could not change the wallpaper."
                                 : reply.message);
        case InstanceAnswer::NoAnswer:
            break;
    }
    throw VexloError("The running Vexlo did not answer within " +
                     std::to_string((timeoutMs + 999) / 1000) + " seconds.");
}

}  // namespace vexlo
