#include "MenuGeometry.h"

#include <algorithm>

namespace vexlo {
namespace {

QColor SolidOr(const QBrush& brush, QRgb fallback) {
    if (brush.style() != Qt::SolidPattern || !brush.color().isValid()) {
        return QColor::fromRgb(fallback);
    }
    return brush.color();
}

// A rectangle given by its edges, right and bottom exclusive.
QRect Edges(int left, int top, int right, int bottom) {
    return QRect(left, top, right - left, bottom - top);
}

}  // namespace

MenuSystemColours MenuColoursFromPalette(const QPalette& palette) {
    return {
        SolidOr(palette.brush(QPalette::Active, QPalette::Button), kFallbackButtonFace),
        SolidOr(palette.brush(QPalette::Disabled, QPalette::WindowText), kFallbackInactiveCaption)};
}

MenuItemLook LookOfMenuItem(const MenuItemState& item, const MenuSystemColours& colours) {
    const int l = item.rect.left();
    const int t = item.rect.top();
    const int r = item.rect.left() + item.rect.width();
    const int b = item.rect.top() + item.rect.height();
    MenuItemLook look;
    look.item = Edges(l, t, r, b);
    look.itemFill = colours.buttonFace;
    look.textArea = Edges(l + kMenuBandWidth, t, r, b);
    look.textAreaFill = QColor::fromRgb(kMenuTextArea);
    look.highlightBorder = QColor::fromRgb(kMenuHighlightBorder);
    look.highlightFill = QColor::fromRgb(kMenuHighlightFill);
    if (item.selected) {
        look.highlight = Edges(l + 1, t, r - 2, b - 1);
    }
    look.imageOrigin = QPoint(l + 6, t + 4);
    look.captionClip = Edges(l + 30, t + 3, r - 5, b - 3);
    look.captionClipFill = item.selected ? look.highlightFill : look.textAreaFill;
    look.captionOrigin = QPoint(l + 30, t + 5);
    look.captionColour = item.enabled ? QColor::fromRgb(kMenuCaption) : colours.inactiveCaption;
    look.separatorColour = colours.buttonFace;
    if (item.separator) {
        look.separatorLine = Edges(l + 32, t + 2, r - 7, t + 4);
    } else {
        look.caption = StripAccessMarkers(item.caption);
    }
    return look;
}

QString StripAccessMarkers(const QString& caption) {
    QString text;
    text.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&')) {
            ++i;  // the marker goes; what follows it stays, a second "&" too
            if (i == caption.size()) {
                break;
            }
        }
        text.append(caption[i]);
    }
    return text;
}

QSize MenuItemSize(int captionWidth) {
    // The caption starts 30 pixels in and is clipped 5 pixels before the
    // right edge: both margins are added, so the whole caption shows.
    return {std::max(captionWidth + 35, kMenuItemMinWidth), kMenuItemHeight};
}

QSize MenuSeparatorSize() {
    // A menu is as wide as its widest item, so a separator's width does not
    // matter; it only has to be non-empty for the menu to place it.
    return {1, kMenuSeparatorHeight};
}

}  // namespace vexlo
