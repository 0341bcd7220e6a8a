#include "MenuPainter.h"

#include <QMenu>

namespace vexlo {

void InstallMenuPainter(QMenu*) {}

}  // namespace vexlo
