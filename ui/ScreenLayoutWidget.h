#pragma once

#include <QRect>
#include <QString>
#include <QWidget>
#include <vector>

#include "DesktopPlatform.h"

namespace vexlo {

// The screens that can be drawn: those with a width and a height. A screen
// reported with no size has no place in the layout.
std::vector<ScreenInfo> DrawableScreens(const std::vector<ScreenInfo>& screens);

// Where each screen's box goes inside `area`: the whole layout scaled to fit,
// keeping its proportions, and centred; one rectangle per screen, in order.
// Boxes of screens that touch share an edge but no pixel.
std::vector<QRect> ScreenBoxes(const std::vector<ScreenInfo>& screens, const QRect& area);

// The screens as words, for those who cannot see the drawing:
// "DP-1 1920x1080 at 0,0, primary; HDMI-1 1280x1024 at 1920,0". A screen
// without a name is called "Screen N" after its place in the list.
QString DescribeScreens(const std::vector<ScreenInfo>& screens);

// A screen's name as the drawing shows it.
QString ScreenName(const ScreenInfo& screen, std::size_t index);

// The drawing of the screen layout: each screen a box with its name and size,
// the primary one marked. A picture for screen readers, named "Screen layout"
// with the screens in its description.
class ScreenLayoutWidget : public QWidget {
    Q_OBJECT
public:
    explicit ScreenLayoutWidget(QWidget* parent = nullptr);

    // Screens without a size are left out.
    void SetScreens(const std::vector<ScreenInfo>& screens);
    const std::vector<ScreenInfo>& Screens() const { return screens_; }
    // The boxes as drawn now.
    std::vector<QRect> Boxes() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void DrawScreen(QPainter& painter, const QRect& box, std::size_t index);

    std::vector<ScreenInfo> screens_;
};

}  // namespace vexlo
