#pragma once

// The names of the settings file and of its sections and keys, one spelling
// each. The file compares names without regard to case, so a second spelling
// would still work; it is kept out so that a search finds every reader and
// writer of a setting.
namespace vexlo::ini {

inline constexpr char kFileName[] = "Vexlo.ini";
// The command line's "addfolder" has always named the file in lower case. The
// file is found under any spelling, so this only decides the name of a file
// it has to create.
inline constexpr char kAddFolderFileName[] = "vexlo.ini";

// [Settings]
inline constexpr char kSettings[] = "Settings";
inline constexpr char kUseTimer[] = "Use Timer";
inline constexpr char kTimerTime[] = "Timer Time";
inline constexpr char kDefaultTileMethod[] = "Default Tile Method";
inline constexpr char kTransparentIcons[] = "Transparent Icons";
inline constexpr char kIconTextColour[] = "Icon Text Colour";
inline constexpr char kCurrentWallpaper[] = "Current Wallpaper";

// [Startup]
inline constexpr char kStartup[] = "Startup";
inline constexpr char kChangeWallpaper[] = "Change Wallpaper";
inline constexpr char kRandom[] = "Random";

// [HotKeys]
inline constexpr char kHotKeys[] = "HotKeys";
inline constexpr char kCtrlAltC[] = "CtrlAltC";

// [Interface]
inline constexpr char kInterface[] = "Interface";
inline constexpr char kPreviewWallpapers[] = "Preview Wallpapers";

// [Larger] and [Smaller]: how a picture larger or smaller than the desktop
// is fitted. "Stretch Wallpaper" is a key of both.
inline constexpr char kLarger[] = "Larger";
inline constexpr char kSmaller[] = "Smaller";
inline constexpr char kStretchWallpaper[] = "Stretch Wallpaper";
inline constexpr char kTileWallpaper[] = "Tile Wallpaper";
inline constexpr char kStretchSize[] = "Stretch Size";
inline constexpr char kTileSize[] = "Tile Size";

// [Deform]
inline constexpr char kDeform[] = "Deform";
inline constexpr char kUseDeform[] = "UseDeform";
inline constexpr char kDeformSize[] = "Size";

// [Folders] and [Use Folders], keyed alike by folder key name.
inline constexpr char kFolders[] = "Folders";
inline constexpr char kUseFolders[] = "Use Folders";

// [Wallpaper Changing]: where the sequential rotation stands.
inline constexpr char kWallpaperChanging[] = "Wallpaper Changing";
inline constexpr char kFolder[] = "Folder";
inline constexpr char kFile[] = "File";

// [Screens]: one picture per screen, each remembered under "Current <name>".
inline constexpr char kScreens[] = "Screens";
inline constexpr char kDifferentPictures[] = "Different Pictures";
inline constexpr char kCurrentScreenPrefix[] = "Current ";

// The keys of a per-item section, which is named by the folder or picture.
inline constexpr char kUseSpecificApply[] = "Use Specific Apply";
inline constexpr char kApplyMethod[] = "Apply Method";
inline constexpr char kUseTransparentIcons[] = "Use Transparent Icons";
inline constexpr char kIconCaption[] = "Icon Caption";
inline constexpr char kDesktopBackground[] = "Desktop Background";

}  // namespace vexlo::ini
