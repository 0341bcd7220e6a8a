#pragma once

#include <QColor>
#include <QPalette>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <optional>

namespace vexlo {

// The two system colours the menu items use.
struct MenuSystemColours {
    QColor buttonFace;       // the band, the item ground, the separator line
    QColor inactiveCaption;  // the caption of a disabled item
};

// Fixed colours of the item picture.
inline constexpr QRgb kMenuTextArea = 0xF8F8F8;         // RGB 248, 248, 248
inline constexpr QRgb kMenuHighlightBorder = 0x7070A0;  // RGB 112, 112, 160
inline constexpr QRgb kMenuHighlightFill = 0xD0D4E8;    // RGB 208, 212, 232
inline constexpr QRgb kMenuCaption = 0x000000;
// Where a palette offers no usable colour: the Windows classic scheme's
// button face and inactive title bar.
inline constexpr QRgb kFallbackButtonFace = 0xD4D0C8;       // RGB 212, 208, 200
inline constexpr QRgb kFallbackInactiveCaption = 0x808080;  // RGB 128, 128, 128

inline constexpr int kMenuItemHeight = 25;
inline constexpr int kMenuSeparatorHeight = 8;
inline constexpr int kMenuItemMinWidth = 150;
inline constexpr int kMenuBandWidth = 27;
inline constexpr int kMenuImageSize = 16;

// The system colours from a palette: button face is the active Button role;
// the inactive caption is the disabled WindowText role, the colour the
// platform gives text that cannot be chosen (in the Windows classic scheme it
// equals the inactive caption, grey 128). A role that is not a plain colour
// (a gradient or texture brush) gives the fall-back.
MenuSystemColours MenuColoursFromPalette(const QPalette& palette);

// One item as the menu reports it. `rect` is the item's rectangle.
struct MenuItemState {
    QRect rect;
    bool selected = false;
    bool enabled = true;
    bool separator = false;
    QString caption;  // as stored, with its "&" markers
};

// Everything drawn for one item, in the order it is drawn. Rectangles are
// QRects: right and bottom edge inclusive.
struct MenuItemLook {
    QRect item;  // filled with buttonFace
    QColor itemFill;
    QRect textArea;  // (L + 27, T)-(R, B)
    QColor textAreaFill;
    // The selected item's rectangle (L + 1, T)-(R - 2, B - 1): a 1-pixel
    // border, the fill inside it.
    std::optional<QRect> highlight;
    QColor highlightBorder;
    QColor highlightFill;
    QPoint imageOrigin;  // top-left of the 16 x 16 image
    QRect captionClip;   // (L + 30, T + 3)-(R - 5, B - 3), filled before the caption
    QColor captionClipFill;
    QPoint captionOrigin;  // top-left of the caption's text line
    QColor captionColour;
    QString caption;                     // without "&" markers; empty for a separator
    std::optional<QRect> separatorLine;  // 2 pixels high from (L + 32, T + 2) to (R - 7, T + 2)
    QColor separatorColour;
};

MenuItemLook LookOfMenuItem(const MenuItemState& item, const MenuSystemColours& colours);

// The caption with its access-key markers removed: every "&" goes, a doubled
// "&&" leaves one "&".
QString StripAccessMarkers(const QString& caption);

// An item's size from the width of its caption as stored ("&" included) in
// the menu font, with room for the band before it and the clip's margin after
// it; a separator's from nothing.
QSize MenuItemSize(int captionWidth);
QSize MenuSeparatorSize();

}  // namespace vexlo
