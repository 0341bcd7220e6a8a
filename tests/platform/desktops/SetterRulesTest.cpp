#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <filesystem>

#include "TempDir.h"
#include "VexloError.h"
#include "gnome/GSettingsWallpaper.h"
#include "gnome/GVariantText.h"
#include "kde/PlasmaWallpaper.h"
#include "linux/DesktopValues.h"
#include "linux/WallpaperCopies.h"
#include "shared/CommandRunner.h"
#include "shared/PictureCheck.h"
#include "shared/SessionBus.h"
#include "support/Pictures.h"
#include "sway/SwayWallpaper.h"
#include "xfce/XfconfWallpaper.h"

namespace vexlo {
namespace {

namespace fs = std::filesystem;

TEST(DesktopValuesTest, PlacementReadAsWindowsReadsItsValues) {
    struct Case {
        const char* tile;
        const char* style;
        WallpaperPlacement want;
    };
    const Case cases[] = {
        {"1", "2", WallpaperPlacement::Tile},
        {"0", "2", WallpaperPlacement::Stretch},
        {"0", "0", WallpaperPlacement::Centre},
        {"", "", WallpaperPlacement::Centre},
        {" 1", "", WallpaperPlacement::Tile},
        {"01", "", WallpaperPlacement::Tile},
        {"1 ", "0", WallpaperPlacement::Tile},
        {"abc", "2", WallpaperPlacement::Stretch},
        {"2", "1", WallpaperPlacement::Centre},
        {"0", "5", WallpaperPlacement::Centre},
        {"0", "22", WallpaperPlacement::Centre},
        {"-1", "2", WallpaperPlacement::Stretch},
        {"99999999999999999999", "2", WallpaperPlacement::Stretch},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PlacementFromValues(c.tile, c.style), c.want)
            << "TileWallpaper '" << c.tile << "' WallPaperStyle '" << c.style << "'";
    }
}

TEST(DesktopValuesTest, BackgroundColourOrBlack) {
    EXPECT_EQ(BackgroundFromValue("58 110 165"), 0x3a6ea5u);
    EXPECT_EQ(BackgroundFromValue(" 255 255 255 "), 0xffffffu);
    for (const char* bad : {"", "1 2", "256 0 0", "1 2 3 4", "a b c", "-1 0 0", "1,2,3"}) {
        EXPECT_EQ(BackgroundFromValue(bad), 0u) << bad;
    }
}

TEST(QuotingTest, GVariantTextKeepsAnyFileName) {
    for (const std::string& text :
         {std::string(""), std::string("/plain/path.bmp"), std::string("it's \"both\" \\ é"),
          std::string("tab\there\nnl\x01")}) {
        EXPECT_EQ(GVariantUnquote(GVariantString(text)), text);
    }
    // gsettings prints a string holding ' in double quotes.
    EXPECT_EQ(GVariantUnquote("\"it's\"\n"), "it's");
    EXPECT_EQ(GVariantUnquote("'caf\\u00e9'"), "café");
    for (const char* bad : {"", "plain", "'open", "'a' 'b'", "'bad \\u12'", "@as []"}) {
        EXPECT_FALSE(GVariantUnquote(bad).has_value()) << bad;
    }
}

TEST(QuotingTest, NamesThatAreNotUtf8ReachGnomeAsBytesAndAreRefusedElsewhere) {
    const WallpaperRequest latin1{"/home/ann/Archiv \xE4lter/it's #1.bmp"};
    EXPECT_EQ(GSettingsPictureKey(GSettingsFlavour::Gnome, latin1).value,
              GVariantString("file:///home/ann/Archiv%20%E4lter/it%27s%20%231.bmp"));
    EXPECT_EQ(GSettingsPictureKey(GSettingsFlavour::Cinnamon, {"/p/caf\xC3\xA9.bmp"}).value,
              GVariantString("file:///p/caf%C3%A9.bmp"));
    for (auto setter :
         {+[](const WallpaperRequest& r) { GSettingsWrites(GSettingsFlavour::Mate, r); },
          +[](const WallpaperRequest& r) { PlasmaScript(r); }}) {
        try {
            setter(latin1);
            ADD_FAILURE() << "a name that is not UTF-8 was taken";
        } catch (const VexloError& e) {
            EXPECT_NE(std::string(e.what()).find("takes file names in UTF-8 only: cannot show " +
                                                 latin1.path),
                      std::string::npos)
                << e.what();
        }
    }
    EXPECT_NO_THROW(PlasmaScript({"/p/caf\xC3\xA9.bmp"}));
}

TEST(QuotingTest, ScriptStringNeverEndsEarly) {
    const std::string literal = ScriptString(
        "a\"b\\c\nd\xE2\x80\xA8"
        "e");
    EXPECT_EQ(literal, "\"a\\\"b\\\\c\\u000ad\\u2028e\"");
}

TEST(QuotingTest, SwayRefusesWhatNoEscapeCarries) {
    EXPECT_EQ(SwayPathWord("/home/ann/pics/a_b-1.bmp"), "/home/ann/pics/a_b-1.bmp");
    EXPECT_FALSE(SwayPathWord("/a\nb.bmp").has_value());
    EXPECT_FALSE(SwayPathWord("/a\tb.bmp").has_value());
}

TEST(XfceRulesTest, EveryWorkspaceFolderOnce) {
    const std::vector<std::string> properties = {
        "/backdrop/screen0/monitorHDMI-1/workspace0/last-image",
        "/backdrop/screen0/monitorHDMI-1/workspace0/image-style",
        "/backdrop/screen0/monitorHDMI-1/workspace1/color1",
        "/backdrop/screen1/monitor0/workspace0/last-image",
        "/backdrop/single-workspace-mode",
        "/backdrop/screen0/monitorHDMI-1/workspace2",  // a value, not a folder
    };
    EXPECT_EQ(BackdropFolders(properties),
              (std::vector<std::string>{"/backdrop/screen0/monitorHDMI-1/workspace0",
                                        "/backdrop/screen0/monitorHDMI-1/workspace1",
                                        "/backdrop/screen1/monitor0/workspace0"}));
    EXPECT_EQ(BackdropFolders({"", "/backdrops/screen0/monitor0/workspace0/last-image",
                               "/backdrop/screen/monitor0/workspace0/last-image",
                               "/backdrop/screen0/monitor0/workspace0/",
                               "backdrop/screen0/monitor0/workspace0/x"}),
              std::vector<std::string>{"/backdrop/screen0/monitor0/workspace0"});
    EXPECT_EQ(BackdropFolders({"/backdrop/single-workspace-mode"}),
              std::vector<std::string>{"/backdrop/screen0/monitor0/workspace0"});
}

TEST(PictureCheckTest, OnlyWholePicturesPass) {
    test::TempDir dir;
    const std::string good = dir.File("good.bmp");
    test::SaveBmp(test::QuadrantPicture(31, 7), good);
    const std::string bmp = test::ReadFile(good);
    test::WriteFile(dir.File("short.bmp"), bmp.substr(0, bmp.size() - 1));
    test::WriteFile(dir.File("header.bmp"), bmp.substr(0, 54));
    test::WriteFile(dir.File("empty.bmp"), "");
    test::WriteFile(dir.File("text.bmp"), "hello");
    ASSERT_TRUE(test::QuadrantPicture(3, 3).save(QString::fromStdString(dir.File("p.png")), "PNG"));

    EXPECT_TRUE(IsWholePicture(good));
    EXPECT_TRUE(IsWholePicture(dir.File("p.png")));
    for (const char* bad : {"short.bmp", "header.bmp", "empty.bmp", "text.bmp", "missing.bmp"}) {
        EXPECT_FALSE(IsWholePicture(dir.File(bad))) << bad;
    }
    EXPECT_FALSE(IsWholePicture(dir.Path()));
}

TEST(WallpaperCopiesTest, EachApplyGetsAFreshNameAndOnlyTheLatestStays) {
    test::TempDir dir;
    const std::string source = dir.File("wallpaper.bmp");
    test::WriteFile(source, "first");
    WallpaperCopies copies(dir.File("copies"));
    const std::string one = copies.Make(source);
    test::WriteFile(source, "second");
    const std::string two = copies.Make(source);
    ASSERT_FALSE(one.empty());
    ASSERT_FALSE(two.empty());
    EXPECT_NE(one, two);
    EXPECT_EQ(fs::path(two).extension(), ".bmp");
    EXPECT_EQ(test::ReadFile(one), "first");
    EXPECT_EQ(test::ReadFile(two), "second");

    test::WriteFile(dir.File("copies/notes.txt"), "mine");
    copies.KeepOnly(two);
    EXPECT_FALSE(fs::exists(one));
    EXPECT_TRUE(fs::exists(two));
    EXPECT_TRUE(fs::exists(dir.File("copies/notes.txt")));
}

TEST(WallpaperCopiesTest, CopyThatCannotBeMadeLeavesNothing) {
    test::TempDir dir;
    test::WriteFile(dir.File("source.bmp"), "x");
    EXPECT_EQ(WallpaperCopies(dir.File("copies")).Make(dir.File("missing.bmp")), "");
    EXPECT_EQ(WallpaperCopies(dir.File("copies")).Make(dir.Path()), "");
    // The folder's place is taken by a file.
    test::WriteFile(dir.File("blocked"), "a file");
    EXPECT_EQ(WallpaperCopies(dir.File("blocked")).Make(dir.File("source.bmp")), "");
    EXPECT_EQ(test::ReadFile(dir.File("blocked")), "a file");
    EXPECT_EQ(WallpaperCopies("").Make(dir.File("source.bmp")), "");
    EXPECT_TRUE(fs::is_empty(dir.File("copies")));
}

TEST(WallpaperCopiesTest, FolderFollowsTheDataHome) {
    EXPECT_EQ(WallpaperCopies::DefaultFolder({{"XDG_DATA_HOME", "/d"}, {"HOME", "/h"}}),
              "/d/vexlo/desktop");
    EXPECT_EQ(WallpaperCopies::DefaultFolder({{"HOME", "/h"}}), "/h/.local/share/vexlo/desktop");
    EXPECT_EQ(WallpaperCopies::DefaultFolder({{"XDG_DATA_HOME", "rel"}, {"HOME", "/h"}}),
              "/h/.local/share/vexlo/desktop");
    EXPECT_EQ(WallpaperCopies::DefaultFolder({}), "");
}

TEST(CommandRunnerTest, ResultEnvironmentAndHangingTools) {
    const CommandRunner runner({{"PATH", "/usr/bin:/bin"}, {"GREETING", "hello"}}, 300);
    const CommandResult echoed =
        runner.Run("sh", {"-c", "echo \"$GREETING\"; echo oops >&2; exit 3"});
    EXPECT_TRUE(echoed.finished);
    EXPECT_EQ(echoed.exitCode, 3);
    EXPECT_EQ(echoed.output, "hello\n");
    EXPECT_EQ(echoed.errors, "oops\n");
    EXPECT_FALSE(echoed.Succeeded());

    const CommandResult hung = runner.Run("sleep", {"30"});
    EXPECT_FALSE(hung.finished);
    EXPECT_FALSE(runner.Run("no-such-tool-anywhere", {}).finished);
}

TEST(SessionBusTest, AddressFromEnvironmentOrUserBus) {
    test::TempDir dir;
    EXPECT_EQ(SessionBusAddress(
                  {{"DBUS_SESSION_BUS_ADDRESS", "unix:path=/x"}, {"XDG_RUNTIME_DIR", dir.Path()}}),
              "unix:path=/x");
    EXPECT_EQ(SessionBusAddress({{"XDG_RUNTIME_DIR", dir.Path()}}), "");
    test::WriteFile(dir.File("bus"), "a file, not a bus");
    EXPECT_EQ(SessionBusAddress({{"XDG_RUNTIME_DIR", dir.Path()}}), "");
    fs::remove(dir.File("bus"));

    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string path = dir.File("bus");
    path.copy(address.sun_path, sizeof address.sun_path - 1);
    ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    EXPECT_EQ(SessionBusAddress({{"XDG_RUNTIME_DIR", dir.Path()}}), "unix:path=" + path);
    close(fd);
    EXPECT_FALSE(SessionBus(Environment{}).IsConnected());
}

}  // namespace
}  // namespace vexlo
