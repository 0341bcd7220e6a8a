#pragma once

#include <xcb/xcb.h>

#include <QImage>
#include <string>
#include <vector>

#include "DesktopPlatform.h"

namespace vexlo::test {

// What the screen of the X server at `display` shows: the root window's pixels.
QImage RootScreenshot(const std::string& display);

// The pixmap id the root window's background is announced under `atomName`.
xcb_pixmap_t RootProperty(const std::string& display, const char* atomName);

// True while the server still knows `pixmap`.
bool PixmapExists(const std::string& display, xcb_pixmap_t pixmap);

// Replaces the X server's RandR monitors by `screens` (names, rectangles, the
// primary), as `xrandr --setmonitor` does: one server screen shown as several
// monitors. The first takes the server's output, the others none. False when
// the server refused.
bool DefineMonitors(const std::string& display, const std::vector<ScreenInfo>& screens);

}  // namespace vexlo::test
