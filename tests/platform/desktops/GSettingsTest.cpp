#include <gtest/gtest.h>

#include <QUrl>
#include <filesystem>

#include "CreateDesktopPlatform.h"
#include "gnome/GSettingsWallpaper.h"
#include "gnome/GVariantText.h"
#include "support/Pictures.h"
#include "support/PrivateSession.h"

namespace vexlo {
namespace {

// gsettings with dconf behind it, on a bus and in folders of the test's own.
class GSettingsTest : public testing::Test {
protected:
    std::string Get(const std::string& schema, const std::string& key) const {
        const CommandResult result =
            CommandRunner(session_.Env()).Run("gsettings", {"get", schema, key});
        EXPECT_TRUE(result.Succeeded()) << result.errors;
        return GVariantUnquote(result.output).value_or("<not a string: " + result.output + ">");
    }
    static std::string LocalFile(const std::string& uri) {
        return QUrl(QString::fromStdString(uri)).toLocalFile().toStdString();
    }
    // A name that needs care in a URI and in GVariant text.
    std::string Picture() const {
        const std::string path = session_.Dir().Sub("my pictures") + "/it's #1 \"é\".bmp";
        test::SaveBmp(test::QuadrantPicture(8, 8), path);
        return path;
    }

    test::PrivateSession session_;
};

const char* Nick(WallpaperPlacement placement) {
    switch (placement) {
        case WallpaperPlacement::Tile:
            return "wallpaper";
        case WallpaperPlacement::Stretch:
            return "stretched";
        case WallpaperPlacement::Centre:
            break;
    }
    return "centered";
}

TEST_F(GSettingsTest, EachDesktopHoldsThePictureAndItsPlacement) {
    const std::string path = Picture();
    for (auto placement :
         {WallpaperPlacement::Centre, WallpaperPlacement::Tile, WallpaperPlacement::Stretch}) {
        SCOPED_TRACE(Nick(placement));
        const WallpaperRequest request{path, placement, 0};

        ASSERT_TRUE(GSettingsWallpaper(GSettingsFlavour::Gnome, CommandRunner(session_.Env()))
                        .Set(request));
        const char* gnome = "org.gnome.desktop.background";
        EXPECT_EQ(LocalFile(Get(gnome, "picture-uri")), path);
        EXPECT_EQ(LocalFile(Get(gnome, "picture-uri-dark")), path);
        EXPECT_EQ(Get(gnome, "picture-options"), Nick(placement));

        ASSERT_TRUE(GSettingsWallpaper(GSettingsFlavour::Cinnamon, CommandRunner(session_.Env()))
                        .Set(request));
        const char* cinnamon = "org.cinnamon.desktop.background";
        EXPECT_EQ(LocalFile(Get(cinnamon, "picture-uri")), path);
        EXPECT_EQ(Get(cinnamon, "picture-options"), Nick(placement));

        ASSERT_TRUE(
            GSettingsWallpaper(GSettingsFlavour::Mate, CommandRunner(session_.Env())).Set(request));
        EXPECT_EQ(Get("org.mate.background", "picture-filename"), path);
        EXPECT_EQ(Get("org.mate.background", "picture-options"), Nick(placement));
    }
}

TEST_F(GSettingsTest, UnreachableSettingsServiceIsAFailureNotASuccess) {
    const std::string path = Picture();
    Environment noBus = session_.Env();
    noBus["DBUS_SESSION_BUS_ADDRESS"] = "unix:path=" + session_.Dir().File("no-such-bus");
    EXPECT_FALSE(GSettingsWallpaper(GSettingsFlavour::Gnome, CommandRunner(noBus))
                     .Set({path, WallpaperPlacement::Tile, 0}));
    EXPECT_NE(LocalFile(Get("org.gnome.desktop.background", "picture-uri")), path);
}

TEST_F(GSettingsTest, DesktopWhoseSchemaIsNotInstalledFails) {
    Environment bare = session_.Env();
    bare["XDG_DATA_DIRS"] = session_.Dir().Sub("no-schemas");
    EXPECT_FALSE(GSettingsWallpaper(GSettingsFlavour::Cinnamon, CommandRunner(bare))
                     .Set({Picture(), WallpaperPlacement::Centre, 0}));
}

TEST_F(GSettingsTest, MissingToolFails) {
    Environment noTools = session_.Env();
    CommandRunner runner(noTools);
    EXPECT_FALSE(runner.Run("/nonexistent/gsettings", {"get", "a", "b"}).finished);
}

// The whole road: the program's registry values, the file it rewrites at every
// apply, and GNOME, which ignores a picture-uri equal to the one it shows.
TEST_F(GSettingsTest, WallpaperFileWrittenAgainShowsTheNewPicture) {
    Environment env = session_.Env();
    env["VEXLO_DESKTOP"] = "gnome";
    env["VEXLO_REGISTRY_DIR"] = session_.Dir().Sub("registry");
    const std::unique_ptr<DesktopPlatform> platform = CreateDesktopPlatform({.env = env});
    const std::string wallpaper = session_.Dir().Sub("program") + "/wallpaper.bmp";
    const char* gnome = "org.gnome.desktop.background";

    platform->WriteRegistryString(RegistryRoot::CurrentUser, "\\Control Panel\\desktop",
                                  "WallPaperStyle", "1");
    platform->WriteRegistryString(RegistryRoot::CurrentUser, "\\Control Panel\\desktop",
                                  "TileWallpaper", "1");
    test::SaveBmp(test::QuadrantPicture(8, 8), wallpaper);
    ASSERT_TRUE(platform->SetDesktopWallpaper(wallpaper));
    const std::string first = LocalFile(Get(gnome, "picture-uri"));
    EXPECT_EQ(test::ReadFile(first), test::ReadFile(wallpaper));
    EXPECT_EQ(Get(gnome, "picture-options"), "wallpaper");

    platform->WriteRegistryString(RegistryRoot::CurrentUser, "\\Control Panel\\desktop",
                                  "WallPaperStyle", "2");
    platform->WriteRegistryString(RegistryRoot::CurrentUser, "\\Control Panel\\desktop",
                                  "TileWallpaper", "2");
    test::SaveBmp(test::QuadrantPicture(16, 4), wallpaper);
    ASSERT_TRUE(platform->SetDesktopWallpaper(wallpaper));
    const std::string second = LocalFile(Get(gnome, "picture-uri"));
    EXPECT_NE(second, first);
    EXPECT_EQ(test::ReadFile(second), test::ReadFile(wallpaper));
    EXPECT_EQ(LocalFile(Get(gnome, "picture-uri-dark")), second);
    EXPECT_EQ(Get(gnome, "picture-options"), "stretched");
    EXPECT_FALSE(std::filesystem::exists(first)) << "the earlier copy was left behind";
}

// Several screens, one picture for all: each screen's placement composed over
// their bounding box and laid across them ("spanned").
TEST_F(GSettingsTest, SeveralScreensGetOneComposedSpannedPicture) {
    Environment env = session_.Env();
    env["VEXLO_DESKTOP"] = "gnome";
    env["VEXLO_REGISTRY_DIR"] = session_.Dir().Sub("registry");
    const std::unique_ptr<DesktopPlatform> platform = CreateDesktopPlatform({.env = env});
    platform->WriteRegistryString(RegistryRoot::CurrentUser, "Control Panel\\Colors", "Background",
                                  "0 0 255");
    const std::string wallpaper = session_.Dir().Sub("program") + "/wallpaper.bmp";
    const QImage picture = test::QuadrantPicture(40, 20).convertToFormat(QImage::Format_RGB32);
    test::SaveBmp(picture, wallpaper);
    const std::vector<ScreenWallpaper> screens = {
        {{"DP-1", 0, 0, 192, 108, true}, test::RowsOf(picture), "0"},
        {{"HDMI-1", 192, 0, 128, 102, false}, test::RowsOf(picture), "0"},
        {{"off", 0, 0, 0, 0, false}, test::RowsOf(picture), "0"}};
    ASSERT_TRUE(platform->SetScreenWallpapers(wallpaper, screens));

    const char* gnome = "org.gnome.desktop.background";
    EXPECT_EQ(Get(gnome, "picture-options"), "spanned");
    const std::string composedPath = LocalFile(Get(gnome, "picture-uri"));
    EXPECT_NE(composedPath, wallpaper);
    const QImage composed(QString::fromStdString(composedPath));
    ASSERT_EQ(composed.size(), QSize(320, 108));
    // Centred in each screen, nothing across the seam, blue where no screen is.
    EXPECT_EQ(composed.pixelColor(76, 44), test::kTopLeft);
    EXPECT_EQ(composed.pixelColor(115, 63), test::kBottomRight);
    EXPECT_EQ(composed.pixelColor(191, 54), QColor(0, 0, 255));
    EXPECT_EQ(composed.pixelColor(192 + 44, 41), test::kTopLeft);
    EXPECT_EQ(composed.pixelColor(250, 105), QColor(0, 0, 255));

    // One screen again: the file itself, placed, as ever.
    ASSERT_TRUE(platform->SetScreenWallpapers(wallpaper, {screens[0]}));
    EXPECT_EQ(Get(gnome, "picture-options"), "centered");
    EXPECT_EQ(test::ReadFile(LocalFile(Get(gnome, "picture-uri"))), test::ReadFile(wallpaper));
    EXPECT_FALSE(std::filesystem::exists(composedPath)) << "the composed picture was left behind";
}
}  // namespace
}  // namespace vexlo
