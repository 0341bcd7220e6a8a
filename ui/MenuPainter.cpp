#include "MenuPainter.h"

#include <QMenu>
#include <QPainter>
#include <QStyleOptionMenuItem>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace vexlo {
namespace {

// The menu's border: one pixel, the only thing between the menu's edge and its
// items, in the platform's shadow colour.
constexpr int kFrameWidth = 1;

// The caption as the menu stores it: what follows a tab is a shortcut text
// the program's menus do not have.
QString StoredCaption(const QStyleOptionMenuItem& item) {
    return item.text.left(item.text.indexOf(QLatin1Char('\t')));
}

#ifdef Q_OS_WIN
QColor SysColour(int index) {
    const COLORREF c = GetSysColor(index);
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}
#endif

}  // namespace

void InstallMenuPainter(QMenu* menu) {
    // The style lives as long as the menu; the menu only points to it.
    auto* style = new MenuItemStyle;
    style->setParent(menu);
    menu->setStyle(style);
}

MenuItemStyle::MenuItemStyle() = default;

MenuSystemColours MenuItemStyle::SystemColours(const QPalette& palette) {
#ifdef Q_OS_WIN
    (void)palette;
    return {SysColour(COLOR_BTNFACE), SysColour(COLOR_INACTIVECAPTION)};
#else
    return MenuColoursFromPalette(palette);
#endif
}

void MenuItemStyle::drawControl(ControlElement element, const QStyleOption* option,
                                QPainter* painter, const QWidget* widget) const {
    if (element == CE_MenuItem) {
        if (const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option)) {
            ApplyWallpaper1DrawItem(*item, painter);
            return;
        }
    }
    if (element == CE_MenuEmptyArea) {
        painter->fillRect(option->rect, SystemColours(option->palette).buttonFace);
        return;
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

void MenuItemStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                  QPainter* painter, const QWidget* widget) const {
    if (element == PE_PanelMenu) {
        painter->fillRect(option->rect, SystemColours(option->palette).buttonFace);
        return;
    }
    if (element == PE_FrameMenu) {
        const QColor shadow = option->palette.color(QPalette::Active, QPalette::Dark);
        const QRect r = option->rect;
        painter->fillRect(QRect(r.left(), r.top(), r.width(), kFrameWidth), shadow);
        painter->fillRect(QRect(r.left(), r.bottom() + 1 - kFrameWidth, r.width(), kFrameWidth),
                          shadow);
        painter->fillRect(QRect(r.left(), r.top(), kFrameWidth, r.height()), shadow);
        painter->fillRect(QRect(r.right() + 1 - kFrameWidth, r.top(), kFrameWidth, r.height()),
                          shadow);
        return;
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

QSize MenuItemStyle::sizeFromContents(ContentsType type, const QStyleOption* option,
                                      const QSize& size, const QWidget* widget) const {
    if (type == CT_MenuItem) {
        if (const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option)) {
            if (item->menuItemType == QStyleOptionMenuItem::Separator) {
                return MenuSeparatorSize();
            }
            return ApplyWallpaper1MeasureItem(*item);
        }
    }
    if (type == CT_Menu) {
        return size;  // the frame is already counted through PM_MenuPanelWidth
    }
    return QProxyStyle::sizeFromContents(type, option, size, widget);
}

int MenuItemStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                               const QWidget* widget) const {
    switch (metric) {
        case PM_MenuPanelWidth:
            return kFrameWidth;
        case PM_MenuHMargin:
        case PM_MenuVMargin:
            return 0;  // items reach the frame on every side
        default:
            return QProxyStyle::pixelMetric(metric, option, widget);
    }
}

int MenuItemStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                             QStyleHintReturn* returnData) const {
    switch (hint) {
        case SH_Menu_AllowActiveAndDisabled:
            return 1;  // a disabled item is highlighted too, as in the system's own menus
        case SH_Menu_SupportsSections:
            return 0;
        default:
            return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
}

void MenuItemStyle::ApplyWallpaper1DrawItem(const QStyleOptionMenuItem& item,
                                            QPainter* painter) const {
    MenuItemState state;
    state.rect = item.rect;
    state.selected = (item.state & State_Selected) != 0;
    state.enabled = (item.state & State_Enabled) != 0;
    state.separator = item.menuItemType == QStyleOptionMenuItem::Separator;
    state.caption = StoredCaption(item);
    const MenuItemLook look = LookOfMenuItem(state, SystemColours(item.palette));

    painter->save();
    painter->fillRect(look.item, look.itemFill);
    painter->fillRect(look.textArea, look.textAreaFill);
    if (look.highlight) {
        painter->fillRect(*look.highlight, look.highlightBorder);
        painter->fillRect(look.highlight->adjusted(1, 1, -1, -1), look.highlightFill);
    }
    if (!state.separator && !item.icon.isNull()) {
        // Always the normal look: a disabled item keeps its image in full colour.
        const QPixmap image =
            item.icon.pixmap(QSize(kMenuImageSize, kMenuImageSize),
                             painter->device()->devicePixelRatioF(), QIcon::Normal, QIcon::Off);
        painter->drawPixmap(QRect(look.imageOrigin, QSize(kMenuImageSize, kMenuImageSize)), image);
    }
    painter->fillRect(look.captionClip, look.captionClipFill);
    if (look.separatorLine) {
        painter->fillRect(*look.separatorLine, look.separatorColour);
    }
    if (!look.caption.isEmpty()) {
        painter->setClipRect(look.captionClip, Qt::IntersectClip);
        painter->setFont(item.font);
        painter->setPen(look.captionColour);
        // The markers are gone already, so no mnemonic handling and no underline.
        const QRect line(look.captionOrigin, QSize(1 << 20, kMenuItemHeight));
        painter->drawText(line, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, look.caption);
    }
    painter->restore();
}

QSize MenuItemStyle::ApplyWallpaper1MeasureItem(const QStyleOptionMenuItem& item) const {
    return MenuItemSize(item.fontMetrics.horizontalAdvance(StoredCaption(item)));
}

}  // namespace vexlo
