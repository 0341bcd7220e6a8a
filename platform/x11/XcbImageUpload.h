#pragma once

#include <xcb/xcb.h>

#include <QImage>
#include <cstdint>
#include <functional>
#include <vector>

#include "x11/XcbConnection.h"

namespace vexlo {

// A rectangle of a pixmap whose rows `rows` gives: row y (from the
// rectangle's top) as `width` pixels 0xffRRGGBB.
struct PixmapArea {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    std::function<void(int y, std::uint32_t* row)> rows;
    // Instead of rows: the same pixels as an earlier area at this place of
    // the pixmap, copied there by the server (two monitors showing one
    // picture alike are sent once).
    bool copied = false;
    int fromX = 0;
    int fromY = 0;
};

// A new pixmap of the root window's depth, `width` x `height`, filled with
// `background` (0xRRGGBB) and each area drawn over it (clipped to the
// pixmap). The rows are converted strip by strip as they are sent, in one
// stream of requests, so no copy of the whole picture is made. XCB_NONE when
// the server cannot hold it or a row could not be sent.
xcb_pixmap_t UploadAreas(const XcbConnection& x, int width, int height, std::uint32_t background,
                         const std::vector<PixmapArea>& areas);

// A new pixmap of the root window's depth holding `image`; XCB_NONE when the
// server cannot hold it (no memory, a pixel format this code does not write).
xcb_pixmap_t UploadPixmap(const XcbConnection& x, const QImage& image);

}  // namespace vexlo
