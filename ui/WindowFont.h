#pragma once

#include <QFont>

namespace vexlo {

// The windows' font: 8-point MS Sans Serif, 11 pixels high, where the system
// has it; else the closest sans-serif face at the same pixel size (Liberation
// Sans, Arial, then DejaVu Sans).
QFont WindowFont();

}  // namespace vexlo
