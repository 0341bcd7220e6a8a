#pragma once

#include <QColor>
#include <QPalette>

#include "DesktopPlatform.h"

namespace vexlo {

// A Windows colour value as a Qt colour: 0x00BBGGRR as it stands; a system
// colour (0x80000000 plus its index) through the palette role that plays its
// part, else the classic Windows colour for it (the desktop background has no
// role and shows as the classic desktop blue). Any other value shows black.
QColor ColourRefToQColor(ColourRef colour, const QPalette& palette);

// A Qt colour as 0x00BBGGRR.
ColourRef ColourRefFromQColor(const QColor& colour);

}  // namespace vexlo
