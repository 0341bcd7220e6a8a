#include "x11/RootPixmapSetter.h"

#include <fcntl.h>
#include <unistd.h>

#include <QFile>
#include <QImage>
#include <QImageReader>
#include <algorithm>

#include "shared/PictureCheck.h"
#include "shared/ScreenRows.h"
#include "x11/X11Screens.h"
#include "x11/XcbConnection.h"
#include "x11/XcbImageUpload.h"

namespace vexlo {
namespace {

xcb_pixmap_t ReadPixmapProperty(const XcbConnection& x, xcb_atom_t property) {
    if (property == XCB_NONE) {
        return XCB_NONE;
    }
    const XcbPtr<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        x.get(), xcb_get_property(x.get(), 0, x.Root(), property, XCB_ATOM_PIXMAP, 0, 1), nullptr));
    if (reply != nullptr && reply->type == XCB_ATOM_PIXMAP && reply->format == 32 &&
        xcb_get_property_value_length(reply.get()) == 4) {
        return *static_cast<const xcb_pixmap_t*>(xcb_get_property_value(reply.get()));
    }
    return XCB_NONE;
}

void WritePixmapProperty(const XcbConnection& x, xcb_atom_t property, xcb_pixmap_t pixmap) {
    xcb_change_property(x.get(), XCB_PROP_MODE_REPLACE, x.Root(), property, XCB_ATOM_PIXMAP, 32, 1,
                        &pixmap);
}

QImage LoadPicture(const std::string& path) {
    if (!IsWholePicture(path)) {
        return {};
    }
    // Opened by its bytes: a name that is not UTF-8 must not become another.
    QFile file;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 || !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        if (fd >= 0) {
            ::close(fd);
        }
        return {};
    }
    QImageReader reader(&file);
    reader.setAutoTransform(false);
    return reader.read();  // null for a missing, unreadable or damaged file
}

// Shows `pixmap` on the root window, announces it, frees the one it replaces
// and keeps the new one after this connection closes.
bool Install(const XcbConnection& x, xcb_pixmap_t pixmap) {
    xcb_connection_t* c = x.get();
    const xcb_atom_t rootId = x.Atom("_XROOTPMAP_ID");
    const xcb_atom_t esetrootId = x.Atom("ESETROOT_PMAP_ID");
    if (rootId == XCB_NONE || esetrootId == XCB_NONE) {
        return false;
    }
    // Held so that two setters running at once cannot free each other's pixmap.
    xcb_grab_server(c);
    const xcb_pixmap_t oldRoot = ReadPixmapProperty(x, rootId);
    const xcb_pixmap_t oldEsetroot = ReadPixmapProperty(x, esetrootId);

    xcb_change_window_attributes(c, x.Root(), XCB_CW_BACK_PIXMAP, &pixmap);
    xcb_clear_area(c, 0, x.Root(), 0, 0, 0, 0);
    WritePixmapProperty(x, rootId, pixmap);
    WritePixmapProperty(x, esetrootId, pixmap);
    // A pixmap announced under both names belongs to a client that set it and
    // left it behind on purpose; killing that client frees it.
    if (oldRoot != XCB_NONE && oldRoot == oldEsetroot && oldRoot != pixmap) {
        xcb_kill_client(c, oldRoot);
    }
    xcb_set_close_down_mode(c, XCB_CLOSE_DOWN_RETAIN_PERMANENT);
    xcb_ungrab_server(c);
    return x.Sync();
}

}  // namespace

RootPixmapSetter::RootPixmapSetter(std::string display) : display_(std::move(display)) {}

bool RootPixmapSetter::Set(const WallpaperRequest& request) {
    QImage picture = LoadPicture(request.path);
    if (picture.isNull()) {
        return false;
    }
    // A BMP's alpha channel is not shown by the desktop, so it is dropped here.
    picture = picture.convertToFormat(QImage::Format_RGB32);
    const PixelRows pixels{reinterpret_cast<const std::uint32_t*>(picture.constBits()),
                           picture.width(), picture.height(), picture.bytesPerLine() / 4};
    ScreensRequest screens{{}, request.background, {}};
    for (const ScreenInfo& screen : X11Screens(display_)) {
        screens.screens.push_back({screen, pixels, request.placement, {}});
    }
    return !screens.screens.empty() && SetScreens(screens);
}

bool RootPixmapSetter::SetScreens(const ScreensRequest& request) {
    // A connection of its own: its resources are the ones kept after it closes.
    XcbConnection x(display_);
    if (!x.IsConnected()) {
        return false;
    }
    const int rootWidth = x.Screen()->width_in_pixels;
    const int rootHeight = x.Screen()->height_in_pixels;
    const auto inside = [&](const ScreenInfo& r) {
        return r.x >= 0 && r.y >= 0 && r.x + r.width <= rootWidth && r.y + r.height <= rootHeight;
    };
    std::vector<ScreenRows> rows;
    rows.reserve(request.screens.size());
    std::vector<PixmapArea> areas;
    std::vector<const ScreenRequest*> sent;
    for (const ScreenRequest& screen : request.screens) {
        const ScreenInfo& s = screen.screen;
        if (s.width <= 0 || s.height <= 0 || screen.pixels.Empty()) {
            continue;
        }
        // A monitor that shows what an earlier one shows, alike, is copied by
        // the server from that one.
        const auto same = std::find_if(sent.begin(), sent.end(), [&](const ScreenRequest* e) {
            return e->pixels.first == screen.pixels.first && e->placement == screen.placement &&
                   e->screen.width == s.width && e->screen.height == s.height &&
                   inside(e->screen) && inside(s);
        });
        if (same != sent.end()) {
            areas.push_back(
                {s.x, s.y, s.width, s.height, {}, true, (*same)->screen.x, (*same)->screen.y});
            continue;
        }
        const ScreenRows& made = rows.emplace_back(screen, request.background);
        areas.push_back({s.x, s.y, made.Width(), made.Height(),
                         [&made](int y, std::uint32_t* out) { made.Row(y, out); }});
        sent.push_back(&screen);
    }
    if (areas.empty()) {
        return false;
    }
    const xcb_pixmap_t pixmap = UploadAreas(x, rootWidth, rootHeight, request.background, areas);
    if (pixmap == XCB_NONE) {
        return false;
    }
    if (request.beforeShown) {
        // The server works through the upload meanwhile. A throw closes the
        // connection, which frees the pixmap unseen.
        xcb_flush(x.get());
        request.beforeShown();
    }
    return Install(x, pixmap);
}

xcb_pixmap_t AnnouncedRootPixmap(const XcbConnection& x) {
    return x.IsConnected() ? ReadPixmapProperty(x, x.Atom("_XROOTPMAP_ID")) : XCB_NONE;
}

}  // namespace vexlo
