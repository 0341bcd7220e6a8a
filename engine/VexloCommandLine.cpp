// The command line: "change", "apply FILE", "addfolder FOLDER" and "/debug".
#include <algorithm>
#include <cctype>

#include "PathRules.h"
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
