#include <gtest/gtest.h>

#include "factory/DesktopDetection.h"

namespace vexlo {
namespace {

struct Case {
    const char* what;
    Environment env;
    DesktopKind want;
};

TEST(DesktopDetectionTest, EachSessionGetsItsDesktop) {
    const Case cases[] = {
        {"GNOME",
         {{"XDG_CURRENT_DESKTOP", "GNOME"}, {"WAYLAND_DISPLAY", "wayland-0"}},
         DesktopKind::Gnome},
        {"Ubuntu", {{"XDG_CURRENT_DESKTOP", "ubuntu:GNOME"}}, DesktopKind::Gnome},
        {"Unity", {{"XDG_CURRENT_DESKTOP", "Unity"}, {"DISPLAY", ":0"}}, DesktopKind::Gnome},
        {"Budgie", {{"XDG_CURRENT_DESKTOP", "Budgie:GNOME"}}, DesktopKind::Gnome},
        {"Cinnamon",
         {{"XDG_CURRENT_DESKTOP", "X-Cinnamon"}, {"DISPLAY", ":0"}},
         DesktopKind::Cinnamon},
        {"MATE", {{"XDG_CURRENT_DESKTOP", "MATE"}, {"DISPLAY", ":0"}}, DesktopKind::Mate},
        {"Xfce", {{"XDG_CURRENT_DESKTOP", "XFCE"}, {"DISPLAY", ":0"}}, DesktopKind::Xfce},
        {"Plasma",
         {{"XDG_CURRENT_DESKTOP", "KDE"}, {"WAYLAND_DISPLAY", "wayland-0"}},
         DesktopKind::Kde},
        {"sway",
         {{"XDG_CURRENT_DESKTOP", "sway"}, {"WAYLAND_DISPLAY", "wayland-1"}},
         DesktopKind::Sway},
        {"unknown entry first", {{"XDG_CURRENT_DESKTOP", "Pantheon:XFCE"}}, DesktopKind::Xfce},
        {"letter case and blanks", {{"XDG_CURRENT_DESKTOP", " gnome "}}, DesktopKind::Gnome},
        {"session name", {{"DESKTOP_SESSION", "plasma"}}, DesktopKind::Kde},
        {"session file path",
         {{"DESKTOP_SESSION", "/usr/share/xsessions/cinnamon"}},
         DesktopKind::Cinnamon},
        {"sway socket only", {{"SWAYSOCK", "/run/user/1000/sway-ipc.sock"}}, DesktopKind::Sway},
        {"older KDE", {{"KDE_FULL_SESSION", "true"}, {"DISPLAY", ":0"}}, DesktopKind::Kde},
        {"older MATE", {{"MATE_DESKTOP_SESSION_ID", "this-is-deprecated"}}, DesktopKind::Mate},
        {"older GNOME", {{"GNOME_DESKTOP_SESSION_ID", "this-is-deprecated"}}, DesktopKind::Gnome},
        {"window manager on X",
         {{"XDG_CURRENT_DESKTOP", "i3"}, {"DISPLAY", ":0"}},
         DesktopKind::X11},
        {"bare X", {{"DISPLAY", ":1"}}, DesktopKind::X11},
        {"other Wayland compositor",
         {{"DISPLAY", ":0"}, {"WAYLAND_DISPLAY", "wayland-0"}},
         DesktopKind::None},
        {"console", {}, DesktopKind::None},
        {"empty values", {{"XDG_CURRENT_DESKTOP", ""}, {"DISPLAY", ""}}, DesktopKind::None},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DesktopKindName(DetectDesktop(c.env)), DesktopKindName(c.want)) << c.what;
    }
}

TEST(DesktopDetectionTest, UserChoiceOverridesDetection) {
    const Environment gnome = {{"XDG_CURRENT_DESKTOP", "GNOME"}, {"DISPLAY", ":0"}};
    const std::pair<const char*, DesktopKind> choices[] = {
        {"xfce", DesktopKind::Xfce},   {"KDE", DesktopKind::Kde},
        {"plasma", DesktopKind::Kde},  {"cinnamon", DesktopKind::Cinnamon},
        {"mate", DesktopKind::Mate},   {"sway", DesktopKind::Sway},
        {"x11", DesktopKind::X11},     {"none", DesktopKind::None},
        {" NONE ", DesktopKind::None}, {"gnome", DesktopKind::Gnome},
        {"unity", DesktopKind::Gnome}, {"budgie", DesktopKind::Gnome},
    };
    for (const auto& [choice, want] : choices) {
        Environment env = gnome;
        env["VEXLO_DESKTOP"] = choice;
        EXPECT_EQ(DesktopKindName(DetectDesktop(env)), DesktopKindName(want)) << choice;
    }
    Environment wayland = {
        {"WAYLAND_DISPLAY", "wayland-0"}, {"DISPLAY", ":0"}, {"VEXLO_DESKTOP", "x11"}};
    EXPECT_EQ(DetectDesktop(wayland), DesktopKind::X11);
}

TEST(DesktopDetectionTest, UnknownChoiceFallsBackToDetection) {
    for (const char* choice : {"", "bogus", "gnome3x"}) {
        const Environment env = {{"VEXLO_DESKTOP", choice}, {"XDG_CURRENT_DESKTOP", "MATE"}};
        EXPECT_EQ(DetectDesktop(env), DesktopKind::Mate) << choice;
    }
}

}  // namespace
}  // namespace vexlo
