#pragma once

#include <xcb/xcb.h>

#include <QImage>

#include "x11/XcbConnection.h"

namespace vexlo {

// A new pixmap of the root window's depth holding `image`; XCB_NONE when the
// server cannot hold it (no memory, a pixel format this code does not write).
xcb_pixmap_t UploadPixmap(const XcbConnection& x, const QImage& image);

}  // namespace vexlo
