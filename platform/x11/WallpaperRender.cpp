#include "x11/WallpaperRender.h"

#include <QPainter>

namespace vexlo {

QImage RenderWallpaper(const QImage& picture, QSize screen, WallpaperPlacement placement,
                       std::uint32_t background) {
    if (picture.isNull() || screen.isEmpty()) {
        return {};
    }
    // A BMP's alpha channel is not shown by the desktop, so it is dropped here.
    const QImage opaque = picture.convertToFormat(QImage::Format_RGB32);
    if (placement == WallpaperPlacement::Stretch) {
        return opaque.scaled(screen, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }

    QImage desktop(screen, QImage::Format_RGB32);
    if (desktop.isNull()) {
        return {};
    }
    desktop.fill(QColor::fromRgb(0xff000000u | background));
    QPainter painter(&desktop);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    if (placement == WallpaperPlacement::Tile) {
        // A texture brush repeats from the origin, the desktop's top-left corner.
        painter.fillRect(desktop.rect(), QBrush(opaque));
    } else {
        // Larger pictures are cut evenly on both sides.
        painter.drawImage((screen.width() - opaque.width()) / 2,
                          (screen.height() - opaque.height()) / 2, opaque);
    }
    painter.end();
    return desktop;
}

}  // namespace vexlo
