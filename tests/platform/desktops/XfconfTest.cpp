#include <gtest/gtest.h>

#include <QDBusMessage>
#include <QDBusVariant>

#include "shared/CommandRunner.h"
#include "shared/SessionBus.h"
#include "support/Pictures.h"
#include "support/PrivateSession.h"
#include "xfce/XfconfWallpaper.h"

namespace vexlo {
namespace {

// The real xfconfd, started by a private bus, read back with xfconf-query.
class XfconfTest : public testing::Test {
protected:
    std::string Query(const std::string& property) const {
        const CommandResult result =
            CommandRunner(session_.Env())
                .Run("xfconf-query", {"-c", "xfce4-desktop", "-p", property});
        return result.Succeeded()
                   ? result.output.substr(0, result.output.find_last_not_of('\n') + 1)
                   : "<missing>";
    }
    void Create(const std::string& property, const char* type, const std::string& value) const {
        ASSERT_TRUE(CommandRunner(session_.Env())
                        .Run("xfconf-query",
                             {"-c", "xfce4-desktop", "-p", property, "-n", "-t", type, "-s", value})
                        .Succeeded());
    }
    // xfdesktop reads "image-style" as an integer and ignores any other type.
    QMetaType::Type StoredType(const std::string& property) const {
        SessionBus bus(session_.Env());
        QDBusMessage call = QDBusMessage::createMethodCall("org.xfce.Xfconf", "/org/xfce/Xfconf",
                                                           "org.xfce.Xfconf", "GetProperty");
        call << QString("xfce4-desktop") << QString::fromStdString(property);
        const QDBusMessage reply = bus.Connection().call(call);
        if (reply.arguments().isEmpty()) {
            return QMetaType::UnknownType;
        }
        const QVariant value = reply.arguments().constFirst().value<QDBusVariant>().variant();
        return static_cast<QMetaType::Type>(value.metaType().id());
    }
    std::string Picture() const {
        const std::string path = session_.Dir().Sub("pictures") + "/sunset 1.bmp";
        test::SaveBmp(test::QuadrantPicture(8, 8), path);
        return path;
    }

    test::PrivateSession session_;
};

TEST_F(XfconfTest, EveryMonitorAndWorkspaceShowsThePicture) {
    const std::string a = "/backdrop/screen0/monitorVirtual-1/workspace0";
    const std::string b = "/backdrop/screen0/monitorVirtual-1/workspace1";
    const std::string c = "/backdrop/screen0/monitoreDP-1/workspace0";
    Create(a + "/last-image", "string", "/old.png");
    Create(b + "/color-style", "int", "0");  // a workspace without a picture yet
    Create(c + "/image-style", "int", "5");
    Create("/desktop-icons/style", "int", "2");

    const std::string path = Picture();
    const std::pair<WallpaperPlacement, const char*> styles[] = {
        {WallpaperPlacement::Centre, "1"},
        {WallpaperPlacement::Tile, "2"},
        {WallpaperPlacement::Stretch, "3"}};
    for (const auto& [placement, style] : styles) {
        SCOPED_TRACE(style);
        ASSERT_TRUE(XfconfWallpaper(session_.Env()).Set({path, placement, 0}));
        for (const std::string& folder : {a, b, c}) {
            EXPECT_EQ(Query(folder + "/last-image"), path) << folder;
            EXPECT_EQ(Query(folder + "/image-style"), style) << folder;
        }
    }
    EXPECT_EQ(StoredType(a + "/image-style"), QMetaType::Int);
    EXPECT_EQ(StoredType(a + "/last-image"), QMetaType::QString);
    EXPECT_EQ(Query(b + "/color-style"), "0");
    EXPECT_EQ(Query("/desktop-icons/style"), "2");
    EXPECT_EQ(Query("/backdrop/screen0/monitor0/workspace0/last-image"), "<missing>")
        << "no folder of its own is made where the desktop has some";
}

TEST_F(XfconfTest, FreshProfileGetsTheFirstMonitorsFirstWorkspace) {
    const std::string path = Picture();
    ASSERT_TRUE(XfconfWallpaper(session_.Env()).Set({path, WallpaperPlacement::Tile, 0}));
    EXPECT_EQ(Query("/backdrop/screen0/monitor0/workspace0/last-image"), path);
    EXPECT_EQ(Query("/backdrop/screen0/monitor0/workspace0/image-style"), "2");
}

TEST_F(XfconfTest, NoSessionBusFails) {
    Environment noBus = session_.Env();
    noBus["DBUS_SESSION_BUS_ADDRESS"] = "unix:path=" + session_.Dir().File("no-such-bus");
    EXPECT_FALSE(XfconfWallpaper(noBus).Set({Picture(), WallpaperPlacement::Tile, 0}));
    noBus.erase("DBUS_SESSION_BUS_ADDRESS");
    noBus.erase("XDG_RUNTIME_DIR");
    EXPECT_FALSE(XfconfWallpaper(noBus).Set({Picture(), WallpaperPlacement::Tile, 0}));
}

// Each monitor's own folders take that monitor's picture and style.
TEST_F(XfconfTest, EachMonitorGetsItsOwnPicture) {
    const std::string left = "/backdrop/screen0/monitorDP-1/workspace";
    const std::string right = "/backdrop/screen0/monitorHDMI-1/workspace0";
    Create(left + "0/last-image", "string", "/old.png");
    Create(left + "1/last-image", "string", "/old.png");
    Create("/backdrop/screen0/monitorVGA-1/workspace0/last-image", "string", "/unplugged.png");
    const std::string a = Picture();
    const std::string b = session_.Dir().Sub("pictures") + "/other.bmp";
    test::SaveBmp(test::QuadrantPicture(4, 4), b);
    ScreensRequest request;
    request.screens = {{{"DP-1", 0, 0, 1920, 1080, true}, {}, WallpaperPlacement::Centre, a},
                       {{"HDMI-1", 1920, 0, 1280, 1024, false}, {}, WallpaperPlacement::Tile, b}};
    ASSERT_TRUE(XfconfWallpaper(session_.Env()).SetScreens(request));
    EXPECT_EQ(Query(left + "0/last-image"), a);
    EXPECT_EQ(Query(left + "1/last-image"), a);
    EXPECT_EQ(Query(left + "1/image-style"), "1");
    EXPECT_EQ(Query(right + "/last-image"), b);  // made for a monitor seen the first time
    EXPECT_EQ(Query(right + "/image-style"), "2");
    EXPECT_EQ(Query("/backdrop/screen0/monitorVGA-1/workspace0/last-image"), "/unplugged.png");
}
}  // namespace
}  // namespace vexlo
