// A second process for the desktop tests: sets the X background and ends (the
// picture must outlive it), stands in for plasmashell on a session bus and
// records every script it is handed, or watches the screens of an X server
// through Qt and ends at the first change.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QFile>
#include <QGuiApplication>
#include <QTimer>
#include <cstring>
#include <iostream>

#include "linux/LinuxPlatform.h"
#include "x11/RootPixmapSetter.h"

namespace {

class FakePlasmaShell : public QDBusVirtualObject {
public:
    FakePlasmaShell(QString record, bool refuse) : record_(std::move(record)), refuse_(refuse) {}

    QString introspect(const QString&) const override {
        return "<interface name=\"org.kde.PlasmaShell\"><method name=\"evaluateScript\">"
               "<arg name=\"script\" type=\"s\" direction=\"in\"/>"
               "<arg type=\"s\" direction=\"out\"/></method></interface>";
    }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        if (message.interface() != "org.kde.PlasmaShell" || message.member() != "evaluateScript") {
            return false;
        }
        QFile file(record_);
        if (file.open(QIODevice::Append)) {
            file.write(message.arguments().value(0).toString().toUtf8());
            file.write("\n//--- end of script\n");
            file.close();  // on disk before the caller hears back
        }
        connection.send(
            refuse_ ? message.createErrorReply("org.kde.plasmashell.Error", "Widgets are locked")
                    : message.createReply(QString()));
        return true;
    }

private:
    QString record_;
    bool refuse_;
};

int SetRoot(int argc, char** argv) {
    if (argc != 5) {
        return 2;
    }
    // No application object: the setter must work in a bare process too.
    vexlo::WallpaperRequest request{argv[3], vexlo::WallpaperPlacement::Centre, 0x000000};
    if (std::strcmp(argv[4], "tile") == 0) {
        request.placement = vexlo::WallpaperPlacement::Tile;
    } else if (std::strcmp(argv[4], "stretch") == 0) {
        request.placement = vexlo::WallpaperPlacement::Stretch;
    }
    vexlo::RootPixmapSetter setter(argv[2]);
    return setter.Set(request) ? 0 : 1;
}

int PlasmaShell(int argc, char** argv) {
    if (argc < 3) {
        return 2;
    }
    QCoreApplication app(argc, argv);
    QDBusConnection bus = QDBusConnection::sessionBus();
    FakePlasmaShell shell(argv[2], argc > 3 && std::strcmp(argv[3], "refuse") == 0);
    if (!bus.registerVirtualObject("/PlasmaShell", &shell) ||
        !bus.registerService("org.kde.plasmashell")) {
        std::cerr << "cannot register on the session bus\n";
        return 1;
    }
    return app.exec();
}

// Prints "watching" once the watch is set, then the screens at each change;
// ends with 0 once a change shows two screens or more (the test defines its
// monitors one request at a time, so the first change may show one), 1 when
// none came in 10 s.
int WatchScreens(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication app(argc, argv);
    vexlo::LinuxPlatform platform(
        vexlo::FileRegistry(""), nullptr,
        {.env = {{"DISPLAY", argv[2]}}, .eventLoop = true, .qtScreens = true});
    if (!platform.WatchScreens([&platform] {
            const std::vector<vexlo::ScreenInfo> screens = platform.GetScreens();
            for (const vexlo::ScreenInfo& s : screens) {
                std::cout << s.name << " " << s.width << "x" << s.height << "+" << s.x << "+" << s.y
                          << "\n";
            }
            std::cout.flush();
            if (screens.size() >= 2) {
                QCoreApplication::exit(0);
            }
        })) {
        return 2;
    }
    std::cout << "watching" << std::endl;
    QTimer::singleShot(10000, [] { QCoreApplication::exit(1); });
    return app.exec();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "watch-screens") == 0) {
        return WatchScreens(argc, argv);
    }
    if (argc >= 2 && std::strcmp(argv[1], "set-root") == 0) {
        return SetRoot(argc, argv);
    }
    if (argc >= 2 && std::strcmp(argv[1], "plasmashell") == 0) {
        return PlasmaShell(argc, argv);
    }
    std::cerr << "usage: desktop_test_helper set-root DISPLAY PATH centre|tile|stretch\n"
                 "       desktop_test_helper plasmashell RECORD_FILE [refuse]\n";
    return 2;
}
