#pragma once

#include <xcb/xcb.h>

#include <QImage>
#include <memory>
#include <string>

#include "ChildProcess.h"
#include "TempDir.h"

namespace vexlo::test {

// A private Xvfb of the given size on a display number it picks itself, kept
// after its last client leaves (-noreset), so that a background a finished
// process left behind can still be seen.
class XServer {
public:
    XServer(int width, int height, int depth = 24);

    const std::string& Display() const { return display_; }
    // The environment a client of this server needs.
    Environment Env() const;

private:
    TempDir dir_;
    std::unique_ptr<ChildProcess> process_;
    std::string display_;
};

// What the screen shows: the root window's pixels.
QImage RootScreenshot(const std::string& display);

// The pixmap ids the root window's background is announced under.
xcb_pixmap_t RootProperty(const std::string& display, const char* atomName);

// True while the server still knows `pixmap`.
bool PixmapExists(const std::string& display, xcb_pixmap_t pixmap);

}  // namespace vexlo::test
