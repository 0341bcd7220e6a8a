#include "ScreenPlacement.h"

#include <cfenv>
#include <cmath>

#include "Deformation.h"

namespace vexlo {
namespace {

// Nearest integer, a half going to the even neighbour (1024.5 -> 1024).
int RoundHalfEven(double value) {
    const int mode = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double rounded = std::nearbyint(value);
    std::fesetround(mode);
    return static_cast<int>(rounded);
}

int PercentOf(int size, int percent) {
    return RoundHalfEven(size * (percent / 100.0));
}

}  // namespace

Placement PlaceOnScreen(const PlacementRules& rules, int w, int h, int sw, int sh) {
    if (rules.itemStyle) {
        return {*rules.itemStyle, false, w, h};
    }
    if (sw <= 0 || sh <= 0) {
        return {rules.fallback, false, w, h};  // no size to compare with
    }
    const bool larger = w > sw || h > sh;
    const bool stretchAllowed =
        !rules.useDeform || WithinDeformationLimit(w, h, sw, sh, rules.deform);
    const bool row1 = larger && rules.stretchLarger;
    const bool row2 = !larger && w > PercentOf(sw, rules.stretchSize) &&
                      h > PercentOf(sh, rules.stretchSize) && rules.stretchSmaller;
    if (row1 || row2) {
        if (stretchAllowed) {
            return {"2", false, w, h};
        }
        const QSize size = ShrunkSize(w, h, sw, sh);
        return {"0", true, size.width(), size.height()};
    }
    if (!larger && w < PercentOf(sw, rules.tileSize) && h < PercentOf(sh, rules.tileSize) &&
        rules.tileSmaller) {
        return {"1", false, w, h};
    }
    return {rules.fallback, false, w, h};
}

QSize ShrunkSize(int w, int h, int sw, int sh) {
    if (w <= 0 || h <= 0 || sw <= 0 || sh <= 0) {
        return {w, h};
    }
    double f;
    if (w > sw && h < w) {
        f = static_cast<double>(sw) / w;
    } else if (h > sh || h > w) {
        f = static_cast<double>(sh) / h;
    } else {
        f = static_cast<double>(sw) / w;
    }
    return {std::max(1, RoundHalfEven(w * f)), std::max(1, RoundHalfEven(h * f))};
}

std::vector<ScreenPlacement> PlaceOnScreens(const PlacementRules& rules, int width, int height,
                                            const std::vector<ScreenInfo>& screens) {
    std::vector<ScreenPlacement> placed;
    for (const ScreenInfo& screen : screens) {
        if (screen.width > 0 && screen.height > 0) {
            placed.push_back(
                {screen, PlaceOnScreen(rules, width, height, screen.width, screen.height)});
        }
    }
    return placed;
}

QImage OpaqueOverWhite(const QImage& picture) {
    if (picture.format() == QImage::Format_RGB32 || picture.isNull()) {
        return picture;
    }
    const bool premultiplied = picture.format() == QImage::Format_ARGB32_Premultiplied;
    const QImage source = premultiplied || picture.format() == QImage::Format_ARGB32
                              ? picture
                              : picture.convertToFormat(QImage::Format_ARGB32);
    QImage opaque(source.size(), QImage::Format_RGB32);
    if (opaque.isNull()) {
        return opaque;
    }
    // The same arithmetic as the BMP writer's, so that the screen shows the
    // very pixels wallpaper.bmp holds.
    for (int y = 0; y < source.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(opaque.scanLine(y));
        for (int x = 0; x < source.width(); ++x) {
            const QRgb p = in[x];
            const int a = qAlpha(p);
            if (a == 255) {
                out[x] = p;
            } else if (premultiplied) {
                out[x] = qRgb(std::min(255, qRed(p) + 255 - a), std::min(255, qGreen(p) + 255 - a),
                              std::min(255, qBlue(p) + 255 - a));
            } else {
                const int white = 255 * (255 - a);
                out[x] =
                    qRgb((qRed(p) * a + white + 127) / 255, (qGreen(p) * a + white + 127) / 255,
                         (qBlue(p) * a + white + 127) / 255);
            }
        }
    }
    return opaque;
}

PixelRows RowsOf(const QImage& picture) {
    return {reinterpret_cast<const std::uint32_t*>(picture.constBits()), picture.width(),
            picture.height(), picture.bytesPerLine() / 4};
}

}  // namespace vexlo
