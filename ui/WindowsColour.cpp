#include "WindowsColour.h"

#include <array>
#include <optional>

namespace vexlo {
namespace {

struct SystemColour {
    std::optional<QPalette::ColorRole> role;
    QRgb fallback;  // the classic Windows scheme
};

// Indexed by the system colour index, COLOR_SCROLLBAR (0) to COLOR_MENUBAR (30).
const std::array<SystemColour, 31>& SystemColours() {
    using R = QPalette::ColorRole;
    static const std::array<SystemColour, 31> colours{{
        {R::Button, 0xC8C8C8},           // 0 scroll bar
        {std::nullopt, 0x3A6EA5},        // 1 desktop background
        {R::Highlight, 0x0A246A},        // 2 active caption
        {std::nullopt, 0x808080},        // 3 inactive caption
        {R::Window, 0xD4D0C8},           // 4 menu
        {R::Base, 0xFFFFFF},             // 5 window
        {R::Shadow, 0x000000},           // 6 window frame
        {R::WindowText, 0x000000},       // 7 menu text
        {R::Text, 0x000000},             // 8 window text
        {R::HighlightedText, 0xFFFFFF},  // 9 caption text
        {std::nullopt, 0xD4D0C8},        // 10 active border
        {std::nullopt, 0xD4D0C8},        // 11 inactive border
        {std::nullopt, 0x808080},        // 12 application workspace
        {R::Highlight, 0x0A246A},        // 13 highlight
        {R::HighlightedText, 0xFFFFFF},  // 14 highlighted text
        {R::Button, 0xD4D0C8},           // 15 button face
        {R::Dark, 0x808080},             // 16 button shadow
        {R::PlaceholderText, 0x808080},  // 17 grey text
        {R::ButtonText, 0x000000},       // 18 button text
        {std::nullopt, 0xD4D0C8},        // 19 inactive caption text
        {R::Light, 0xFFFFFF},            // 20 button highlight
        {R::Shadow, 0x404040},           // 21 3D dark shadow
        {R::Midlight, 0xD4D0C8},         // 22 3D light
        {R::ToolTipText, 0x000000},      // 23 tooltip text
        {R::ToolTipBase, 0xFFFFE1},      // 24 tooltip background
        {std::nullopt, 0xB5B5B5},        // 25 (unused)
        {R::Link, 0x000080},             // 26 hot-tracked item
        {std::nullopt, 0xA6CAF0},        // 27 gradient active caption
        {std::nullopt, 0xC0C0C0},        // 28 gradient inactive caption
        {R::Highlight, 0x316AC5},        // 29 menu highlight
        {R::Window, 0xD4D0C8},           // 30 menu bar
    }};
    return colours;
}

}  // namespace

QColor ColourRefToQColor(ColourRef colour, const QPalette& palette) {
    const std::uint32_t high = colour >> 24;
    if (high == 0) {
        return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                      static_cast<int>((colour >> 16) & 0xFF));
    }
    if (high == 0x80) {
        const std::uint32_t index = colour & 0xFFFFFF;
        if (index < SystemColours().size()) {
            const SystemColour& system = SystemColours()[index];
            return system.role ? palette.color(QPalette::Active, *system.role)
                               : QColor::fromRgb(system.fallback);
        }
    }
    return QColor(Qt::black);
}

ColourRef ColourRefFromQColor(const QColor& colour) {
    const QColor rgb = colour.toRgb();
    return static_cast<ColourRef>(rgb.red()) | (static_cast<ColourRef>(rgb.green()) << 8) |
           (static_cast<ColourRef>(rgb.blue()) << 16);
}

}  // namespace vexlo
