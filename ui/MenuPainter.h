#pragma once

class QMenu;

namespace vexlo {

// Draws and measures every item of `menu` the program's own way.
void InstallMenuPainter(QMenu* menu);

}  // namespace vexlo
