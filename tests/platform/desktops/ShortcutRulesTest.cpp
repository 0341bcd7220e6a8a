// The road chosen per session, and the texts the roads write.
#include <gtest/gtest.h>

#include "factory/ShortcutChoice.h"
#include "gnome/GnomeKeyBinding.h"
#include "instance/DBusInstanceChannel.h"
#include "shortcut/ShortcutCommand.h"

namespace vexlo {
namespace {

TEST(ShortcutChoiceTest, EachSessionGetsItsRoadAndOnlyWaylandAsksThePortal) {
    struct Case {
        const char* what;
        Environment env;
        bool portal;
        ShortcutRoad want;
    };
    const Case cases[] = {
        {"GNOME on Xorg",
         {{"XDG_CURRENT_DESKTOP", "GNOME"}, {"DISPLAY", ":0"}},
         true,
         ShortcutRoad::X11Grab},
        {"bare X11", {{"DISPLAY", ":0"}}, false, ShortcutRoad::X11Grab},
        {"Plasma on Wayland",
         {{"XDG_CURRENT_DESKTOP", "KDE"}, {"XDG_SESSION_TYPE", "wayland"}},
         true,
         ShortcutRoad::Portal},
        {"GNOME 48",
         {{"XDG_CURRENT_DESKTOP", "GNOME"}, {"WAYLAND_DISPLAY", "wayland-0"}},
         true,
         ShortcutRoad::Portal},
        {"GNOME 46",
         {{"XDG_CURRENT_DESKTOP", "ubuntu:GNOME"}, {"XDG_SESSION_TYPE", "Wayland"}},
         false,
         ShortcutRoad::GnomeBinding},
        {"sway",
         {{"SWAYSOCK", "/run/sway.sock"}, {"WAYLAND_DISPLAY", "wayland-1"}},
         false,
         ShortcutRoad::CompositorConfig},
        {"Plasma 5.26",
         {{"XDG_CURRENT_DESKTOP", "KDE"}, {"WAYLAND_DISPLAY", "wayland-0"}},
         false,
         ShortcutRoad::None},
        {"another compositor", {{"WAYLAND_DISPLAY", "wayland-0"}}, false, ShortcutRoad::None},
        {"another compositor with XWayland",
         {{"WAYLAND_DISPLAY", "wayland-0"}, {"DISPLAY", ":1"}},
         false,
         ShortcutRoad::X11Grab},
    };
    for (const Case& c : cases) {
        int asked = 0;
        const ShortcutRoad road = ChooseShortcutRoad(c.env, [&] {
            ++asked;
            return c.portal;
        });
        EXPECT_EQ(ShortcutRoadName(road), ShortcutRoadName(c.want)) << c.what;
        EXPECT_EQ(asked, IsWaylandSession(c.env) ? 1 : 0) << c.what;
    }
}

TEST(ShortcutChoiceTest, ShortcutTextsSurviveBlanksQuotesAndOtherEntries) {
    EXPECT_EQ(NextCommandFor("/opt/my apps/it's/Vexlo"), "'/opt/my apps/it'\\''s/Vexlo' next");
    const std::vector<std::string> list{"/a/custom0/", "/it's \"odd\"/", kVexloBindingPath};
    EXPECT_EQ(ParseGVariantStringList(GVariantStringList(list)), list);
    EXPECT_EQ(ParseGVariantStringList("@as []"), std::vector<std::string>{});
    EXPECT_EQ(ParseGVariantStringList("['/a/', \"/b'/\"]\n"),
              (std::vector<std::string>{"/a/", "/b'/"}));
    EXPECT_EQ(GVariantStringList({}), "@as []");
    for (const char* bad : {"", "['/a/'", "['/a/' '/b/']", "[1, 2]", "'/a/'"}) {
        EXPECT_FALSE(ParseGVariantStringList(bad).has_value()) << bad;
    }
}

TEST(InstanceChannelTest, EachProgramFolderHasABusNameOfItsOwn) {
    const std::string one = InstanceBusName("/home/u/.local/share/vexlo/");
    EXPECT_EQ(one, InstanceBusName("/home/u/.local/share/vexlo/"));
    EXPECT_NE(one, InstanceBusName("/media/stick/Vexlo/"));
    EXPECT_EQ(one.rfind("org.vexlo.Vexlo.i", 0), 0u);
    EXPECT_EQ(one.size(), std::string("org.vexlo.Vexlo.i").size() + 16);
    EXPECT_EQ(one.find_first_not_of("abcdefghijklmnopqrstuvwxyzVABCDEF0123456789.", 0),
              std::string::npos);
}

}  // namespace
}  // namespace vexlo
