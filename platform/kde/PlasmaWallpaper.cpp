#include "kde/PlasmaWallpaper.h"

#include <QDBusMessage>
#include <QUrl>
#include <cstdio>

#include "shared/SessionBus.h"

namespace vexlo {
namespace {

// The image plugin's FillMode values (Qt's Image.fillMode).
int FillMode(WallpaperPlacement placement) {
    switch (placement) {
        case WallpaperPlacement::Tile:
            return 3;
        case WallpaperPlacement::Stretch:
            return 0;
        case WallpaperPlacement::Centre:
            break;
    }
    return 6;
}

constexpr int kCallTimeoutMs = 10000;

}  // namespace

std::string ScriptString(const std::string& text) {
    std::string quoted = "\"";
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char ch = text[i];
        const auto byte = static_cast<unsigned char>(ch);
        // U+2028 and U+2029 end a line inside an ECMAScript 5 string literal.
        if (text.compare(i, 3, "\xE2\x80\xA8") == 0 || text.compare(i, 3, "\xE2\x80\xA9") == 0) {
            quoted += text[i + 2] == '\xA8' ? "\\u2028" : "\\u2029";
            i += 2;
        } else if (ch == '\\' || ch == '"') {
            quoted += '\\';
            quoted += ch;
        } else if (byte < 0x20 || byte == 0x7f) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", byte);
            quoted += escape;
        } else {
            quoted += ch;
        }
    }
    return quoted + "\"";
}

std::string PlasmaScript(const WallpaperRequest& request) {
    // Plasma reads the script's text, and its URL, as UTF-8 only.
    RequireUtf8FileName(request.path, "KDE Plasma");
    const std::string uri =
        QUrl::fromLocalFile(QString::fromStdString(request.path)).toEncoded().toStdString();
    return "var all = desktops();\n"
           "for (var i = 0; i < all.length; i++) {\n"
           "    var d = all[i];\n"
           "    d.wallpaperPlugin = \"org.kde.image\";\n"
           "    d.currentConfigGroup = [\"Wallpaper\", \"org.kde.image\", \"General\"];\n"
           "    d.writeConfig(\"FillMode\", " +
           std::to_string(FillMode(request.placement)) +
           ");\n"
           "    d.writeConfig(\"Image\", " +
           ScriptString(uri) +
           ");\n"
           "}\n";
}

std::string PlasmaScreensScript(const ScreensRequest& request) {
    // Each desktop takes the picture of the screen at its screen's position;
    // one whose screen is not in the list takes the primary's.
    std::string pictures = "var pictures = [\n";
    std::size_t primary = 0;
    for (std::size_t i = 0; i < request.screens.size(); ++i) {
        const ScreenRequest& s = request.screens[i];
        RequireUtf8FileName(s.path, "KDE Plasma");
        primary = s.screen.primary ? i : primary;
        pictures +=
            "    {x: " + std::to_string(s.screen.x) + ", y: " + std::to_string(s.screen.y) +
            ", image: " +
            ScriptString(
                QUrl::fromLocalFile(QString::fromStdString(s.path)).toEncoded().toStdString()) +
            ", fill: " + std::to_string(FillMode(s.placement)) + "},\n";
    }
    return pictures + "];\n" +
           "var all = desktops();\n"
           "for (var i = 0; i < all.length; i++) {\n"
           "    var d = all[i];\n"
           "    var area = screenGeometry(d.screen);\n"
           "    var p = pictures[" +
           std::to_string(primary) +
           "];\n"
           "    for (var j = 0; j < pictures.length; j++) {\n"
           "        if (area && pictures[j].x == area.x && pictures[j].y == area.y) {\n"
           "            p = pictures[j];\n"
           "        }\n"
           "    }\n"
           "    d.wallpaperPlugin = \"org.kde.image\";\n"
           "    d.currentConfigGroup = [\"Wallpaper\", \"org.kde.image\", \"General\"];\n"
           "    d.writeConfig(\"FillMode\", p.fill);\n"
           "    d.writeConfig(\"Image\", p.image);\n"
           "}\n";
}

PlasmaWallpaper::PlasmaWallpaper(Environment env) : env_(std::move(env)) {}

bool PlasmaWallpaper::Set(const WallpaperRequest& request) {
    return Evaluate(PlasmaScript(request));
}

bool PlasmaWallpaper::SetScreens(const ScreensRequest& request) {
    return Evaluate(PlasmaScreensScript(request));
}

bool PlasmaWallpaper::Evaluate(const std::string& script) {
    SessionBus bus(env_);
    if (!bus.IsConnected()) {
        return false;
    }
    QDBusMessage call = QDBusMessage::createMethodCall("org.kde.plasmashell", "/PlasmaShell",
                                                       "org.kde.PlasmaShell", "evaluateScript");
    call << QString::fromStdString(script);
    const QDBusMessage reply = bus.Connection().call(call, QDBus::Block, kCallTimeoutMs);
    return reply.type() == QDBusMessage::ReplyMessage;
}

}  // namespace vexlo
