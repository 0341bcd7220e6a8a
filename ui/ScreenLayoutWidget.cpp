// The options dialog's drawing of the screens: the geometry as pure functions,
// the painting, and the picture's accessible role.
#include "ScreenLayoutWidget.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPainter>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <iterator>
#include <mutex>

namespace vexlo {

namespace {

constexpr int kMargin = 6;                   // around the layout
constexpr int kGap = 2;                      // between the boxes of screens that touch
const QColor kScreenFill(0x3A, 0x6E, 0xA5);  // the desktop colour of the swatch's default
const QColor kScreenText(Qt::white);

// A screen reader sees the drawing as a picture (role Graphic), not as an
// empty pane.
QAccessibleInterface* LayoutAccessible(const QString& className, QObject* object) {
    if (className == QLatin1String("vexlo::ScreenLayoutWidget") && object->isWidgetType()) {
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Graphic);
    }
    return nullptr;
}

}  // namespace

std::vector<ScreenInfo> DrawableScreens(const std::vector<ScreenInfo>& screens) {
    std::vector<ScreenInfo> drawable;
    std::copy_if(screens.begin(), screens.end(), std::back_inserter(drawable),
                 [](const ScreenInfo& s) { return s.width > 0 && s.height > 0; });
    return drawable;
}

std::vector<QRect> ScreenBoxes(const std::vector<ScreenInfo>& screens, const QRect& area) {
    std::vector<QRect> boxes;
    if (screens.empty() || area.isEmpty()) {
        boxes.resize(screens.size());
        return boxes;
    }
    // In double: a screen's right edge may lie beyond the 32-bit range.
    double left = screens[0].x, top = screens[0].y;
    double right = left + screens[0].width, bottom = top + screens[0].height;
    for (const ScreenInfo& s : screens) {
        left = std::min(left, double(s.x));
        top = std::min(top, double(s.y));
        right = std::max(right, double(s.x) + std::max(s.width, 0));
        bottom = std::max(bottom, double(s.y) + std::max(s.height, 0));
    }
    const double spanX = std::max(right - left, 1.0), spanY = std::max(bottom - top, 1.0);
    const double scale = std::min(area.width() / spanX, area.height() / spanY);
    const double originX = area.x() + (area.width() - spanX * scale) / 2;
    const double originY = area.y() + (area.height() - spanY * scale) / 2;
    auto at = [&](double value, double from, double origin) {
        return static_cast<int>(std::lround(origin + (value - from) * scale));
    };
    for (const ScreenInfo& s : screens) {
        // Rounded corners, so a shared edge lands on one pixel line for both boxes.
        const int x0 = at(s.x, left, originX), y0 = at(s.y, top, originY);
        const int x1 = at(double(s.x) + std::max(s.width, 0), left, originX);
        const int y1 = at(double(s.y) + std::max(s.height, 0), top, originY);
        boxes.emplace_back(x0, y0, x1 - x0, y1 - y0);
    }
    return boxes;
}

QString ScreenName(const ScreenInfo& screen, std::size_t index) {
    return screen.name.empty() ? QStringLiteral("Screen %1").arg(index + 1)
                               : QString::fromStdString(screen.name);
}

QString DescribeScreens(const std::vector<ScreenInfo>& screens) {
    if (screens.empty()) {
        return QStringLiteral("No screens");
    }
    QStringList parts;
    for (std::size_t i = 0; i < screens.size(); ++i) {
        const ScreenInfo& s = screens[i];
        QString part = QStringLiteral("%1 %2x%3 at %4,%5")
                           .arg(ScreenName(s, i))
                           .arg(s.width)
                           .arg(s.height)
                           .arg(s.x)
                           .arg(s.y);
        if (s.primary) {
            part += QStringLiteral(", primary");
        }
        parts << part;
    }
    return parts.join(QStringLiteral("; "));
}

ScreenLayoutWidget::ScreenLayoutWidget(QWidget* parent) : QWidget(parent) {
    static std::once_flag factory;
    std::call_once(factory, [] { QAccessible::installFactory(LayoutAccessible); });
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setAccessibleName(QStringLiteral("Screen layout"));
    SetScreens({});
}

void ScreenLayoutWidget::SetScreens(const std::vector<ScreenInfo>& screens) {
    screens_ = DrawableScreens(screens);
    setAccessibleDescription(DescribeScreens(screens_));
    update();
}

std::vector<QRect> ScreenLayoutWidget::Boxes() const {
    return ScreenBoxes(screens_, rect().adjusted(kMargin, kMargin, -kMargin, -kMargin));
}

QSize ScreenLayoutWidget::sizeHint() const {
    return {320, 150};
}

QSize ScreenLayoutWidget::minimumSizeHint() const {
    return {160, 80};
}

void ScreenLayoutWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (screens_.empty()) {
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap,
                         QStringLiteral("The desktop reports no screens."));
        return;
    }
    const std::vector<QRect> boxes = Boxes();
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        DrawScreen(painter, boxes[i].adjusted(kGap / 2, kGap / 2, -kGap / 2, -kGap / 2), i);
    }
}

void ScreenLayoutWidget::DrawScreen(QPainter& painter, const QRect& box, std::size_t index) {
    if (box.width() < 2 || box.height() < 2) {
        return;  // too small to see; the description still names it
    }
    const ScreenInfo& screen = screens_[index];
    painter.fillRect(box, kScreenFill);
    // The primary screen has a heavy frame as well as the word.
    const int frame = screen.primary ? 3 : 1;
    const QColor edge = palette().color(screen.primary ? QPalette::WindowText : QPalette::Dark);
    painter.fillRect(box.x(), box.y(), box.width(), frame, edge);
    painter.fillRect(box.x(), box.bottom() - frame + 1, box.width(), frame, edge);
    painter.fillRect(box.x(), box.y(), frame, box.height(), edge);
    painter.fillRect(box.right() - frame + 1, box.y(), frame, box.height(), edge);

    // As many lines as fit, most important first; each cut short to the box's width.
    QStringList lines{ScreenName(screen, index),
                      QStringLiteral("%1x%2").arg(screen.width).arg(screen.height)};
    if (screen.primary) {
        lines << QStringLiteral("Primary");
    }
    QFont bold = font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    const QRect inside = box.adjusted(frame + 2, frame + 1, -frame - 2, -frame - 1);
    const int fit = std::min<int>(lines.size(), inside.height() / metrics.height());
    if (fit <= 0 || inside.width() < metrics.averageCharWidth()) {
        return;
    }
    int y = inside.y() + (inside.height() - fit * metrics.height()) / 2;
    painter.setPen(kScreenText);
    for (int i = 0; i < fit; ++i) {
        painter.setFont(i == 0 ? bold : font());
        const QString text =
            painter.fontMetrics().elidedText(lines[i], Qt::ElideRight, inside.width());
        painter.drawText(QRect(inside.x(), y, inside.width(), metrics.height()), Qt::AlignCenter,
                         text);
        y += metrics.height();
    }
}

}  // namespace vexlo
