#pragma once

#include <xcb/xcb.h>

#include <QImage>
#include <string>

namespace vexlo::test {

// What the screen of the X server at `display` shows: the root window's pixels.
QImage RootScreenshot(const std::string& display);

// The pixmap id the root window's background is announced under `atomName`.
xcb_pixmap_t RootProperty(const std::string& display, const char* atomName);

// True while the server still knows `pixmap`.
bool PixmapExists(const std::string& display, xcb_pixmap_t pixmap);

}  // namespace vexlo::test
