#include <gtest/gtest.h>

#include <QDBusConnectionInterface>
#include <QElapsedTimer>
#include <QThread>
#include <QUrl>
#include <cstdio>
#include <memory>
#include <sstream>

#include "ChildProcess.h"
#include "kde/PlasmaWallpaper.h"
#include "shared/SessionBus.h"
#include "support/Pictures.h"
#include "support/PrivateSession.h"

namespace vexlo {
namespace {

// Runs a recorded desktop script as Plasma would, against two desktops that
// note what is written into them; one line per written value.
constexpr const char* kHarness = R"js(
function Desktop(id) { this.id = id; this.currentConfigGroup = []; this.wallpaperPlugin = "org.kde.color"; }
Desktop.prototype.writeConfig = function (key, value) {
    print(this.id + " " + this.wallpaperPlugin + " " + this.currentConfigGroup.join("/") + "/" + key + "=" + value);
};
var shown = [new Desktop(0), new Desktop(1)];
function desktops() { return shown; }
)js";

// plasmashell played by a process of ours that records every script.
class PlasmaTest : public testing::Test {
protected:
    void StartShell(bool refuse) {
        std::vector<std::string> argv = {VEXLO_DESKTOP_HELPER, "plasmashell", record_};
        if (refuse) {
            argv.push_back("refuse");
        }
        shell_ = std::make_unique<test::ChildProcess>(argv, session_.Env(), -1,
                                                      session_.Dir().File("shell.log"));
        SessionBus bus(session_.Env());
        QElapsedTimer timer;
        timer.start();
        while (!bus.Connection().interface()->isServiceRegistered("org.kde.plasmashell")) {
            ASSERT_LT(timer.elapsed(), 10000) << test::ReadFile(session_.Dir().File("shell.log"));
            QThread::msleep(20);
        }
    }

    // What the recorded script does to the desktops.
    std::string RunRecordedScript() const {
        std::string script = test::ReadFile(record_);
        const std::string js = session_.Dir().File("run.js");
        test::WriteFile(js, kHarness + script);
        const std::string out = session_.Dir().File("run.out");
        std::remove(out.c_str());
        EXPECT_EQ(test::RunToEnd({"duk", js}, session_.Env(), 10000, out), 0)
            << test::ReadFile(out);
        return test::ReadFile(out);
    }

    test::PrivateSession session_;
    std::string record_ = session_.Dir().File("scripts.js");
    std::unique_ptr<test::ChildProcess> shell_;
};

TEST_F(PlasmaTest, EveryDesktopGetsTheImagePluginWithPictureAndFillMode) {
    StartShell(false);
    // Quotes, a backslash and a line break must not end the script's string.
    const std::string path = session_.Dir().Sub("pics") + "/it's \"q\" \\ 50%\n#1.bmp";
    test::SaveBmp(test::QuadrantPicture(4, 4), path);
    const std::string uri =
        QUrl::fromLocalFile(QString::fromStdString(path)).toEncoded().toStdString();

    const std::pair<WallpaperPlacement, int> modes[] = {{WallpaperPlacement::Centre, 6},
                                                        {WallpaperPlacement::Tile, 3},
                                                        {WallpaperPlacement::Stretch, 0}};
    for (const auto& [placement, fillMode] : modes) {
        SCOPED_TRACE(fillMode);
        std::remove(record_.c_str());
        ASSERT_TRUE(PlasmaWallpaper(session_.Env()).Set({path, placement, 0}));
        std::ostringstream want;
        for (int id : {0, 1}) {
            const std::string prefix =
                std::to_string(id) + " org.kde.image Wallpaper/org.kde.image/General/";
            want << prefix << "FillMode=" << fillMode << "\n" << prefix << "Image=" << uri << "\n";
        }
        EXPECT_EQ(RunRecordedScript(), want.str());
    }
    EXPECT_EQ(QUrl(QString::fromStdString(uri)).toLocalFile().toStdString(), path);
}

TEST_F(PlasmaTest, RefusedScriptIsAFailure) {
    StartShell(true);
    const std::string path = session_.Dir().File("p.bmp");
    test::SaveBmp(test::QuadrantPicture(4, 4), path);
    EXPECT_FALSE(PlasmaWallpaper(session_.Env()).Set({path, WallpaperPlacement::Tile, 0}));
}

TEST_F(PlasmaTest, NoPlasmaShellOrNoBusFails) {
    const std::string path = session_.Dir().File("p.bmp");
    test::SaveBmp(test::QuadrantPicture(4, 4), path);
    EXPECT_FALSE(PlasmaWallpaper(session_.Env()).Set({path, WallpaperPlacement::Tile, 0}));
    Environment noBus = session_.Env();
    noBus["DBUS_SESSION_BUS_ADDRESS"] = "unix:path=" + session_.Dir().File("no-such-bus");
    EXPECT_FALSE(PlasmaWallpaper(noBus).Set({path, WallpaperPlacement::Tile, 0}));
}

// Each screen's desktop containment takes the picture of its own screen.
TEST_F(PlasmaTest, EachScreensDesktopGetsItsOwnPicture) {
    StartShell(false);
    ScreensRequest request;
    request.screens = {
        {{"DP-1", 0, 0, 1920, 1080, true}, {}, WallpaperPlacement::Centre, "/p/left.bmp"},
        {{"HDMI-1", 1920, 0, 1280, 1024, false}, {}, WallpaperPlacement::Stretch, "/p/right.bmp"}};
    ASSERT_TRUE(PlasmaWallpaper(session_.Env()).SetScreens(request));
    // Desktop 0 on the right screen, desktop 1 on the left, desktop 2 on a
    // screen Plasma knows and the list does not: the primary's picture.
    std::string script = test::ReadFile(record_);
    test::WriteFile(record_,
                    "shown.push(new Desktop(2));\n"
                    "shown[0].screen = 1; shown[1].screen = 0; shown[2].screen = 2;\n"
                    "function screenGeometry(s) {\n"
                    "    return [{x: 0, y: 0}, {x: 1920, y: 0}, {x: 0, y: 1080}][s];\n"
                    "}\n" +
                        script);
    const std::string prefix = " org.kde.image Wallpaper/org.kde.image/General/";
    EXPECT_EQ(RunRecordedScript(), "0" + prefix + "FillMode=0\n0" + prefix +
                                       "Image=file:///p/right.bmp\n1" + prefix + "FillMode=6\n1" +
                                       prefix + "Image=file:///p/left.bmp\n2" + prefix +
                                       "FillMode=6\n2" + prefix + "Image=file:///p/left.bmp\n");
}
}  // namespace
}  // namespace vexlo
