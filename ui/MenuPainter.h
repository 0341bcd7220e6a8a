#pragma once

#include <QProxyStyle>

#include "MenuGeometry.h"

class QMenu;
class QStyleOptionMenuItem;

namespace vexlo {

// Draws and measures every item of `menu` the program's own way. The menu
// keeps its own behaviour (keys, mouse, accessibility); only its look and
// item sizes change.
void InstallMenuPainter(QMenu* menu);

// The style behind InstallMenuPainter: the base style for everything but the
// menu's panel, frame and items. ApplyWallpaper1DrawItem draws one item,
// ApplyWallpaper1MeasureItem sizes one.
class MenuItemStyle : public QProxyStyle {
    Q_OBJECT
public:
    MenuItemStyle();

    // The system colours for a menu with this palette: the platform's own
    // where it has them, else the palette's roles with their fall-backs.
    static MenuSystemColours SystemColours(const QPalette& palette);

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
    int styleHint(StyleHint hint, const QStyleOption* option = nullptr,
                  const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override;

private:
    void ApplyWallpaper1DrawItem(const QStyleOptionMenuItem& item, QPainter* painter) const;
    QSize ApplyWallpaper1MeasureItem(const QStyleOptionMenuItem& item) const;
};

}  // namespace vexlo
