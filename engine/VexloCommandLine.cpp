// The command line: "change", "apply FILE", "addfolder FOLDER" and "/debug";
// "next" for the running copy.
#include <algorithm>
#include <cctype>

#include "NextCommand.h"
#include "PathRules.h"
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

}  // namespace

int VexloPro::HandleCommandLine(const std::vector<std::string>& arguments) {
    if (arguments.empty()) {
        return kShowWindow;
    }
    const std::string& first = arguments[0];
    const std::string operand = arguments.size() > 1 ? arguments[1] : std::string();
    const int provisional = first == "/debug" ? kShowWindow : kTrayOnly;
    const std::string command = AsciiLower(first);
    if (command == "change") {
        if (settings_.ReadBool("Startup", "Change Wallpaper", false)) {
            ChangeWallpaper();
        }
        ScheduleIconRefresh();
        return provisional;
    }
    if (command == "apply") {
        ApplyWallpaper(operand, WallpaperBitmap());
        return kEndProgram;
    }
    if (command == "addfolder") {
        // Straight into the file, beside the open store, under the same lock.
        WriteProfileString(programFolder_ + "vexlo.ini", "Folders", FolderKeyName(operand),
                           operand);
        return kEndProgram;
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
