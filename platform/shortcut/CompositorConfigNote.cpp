#include "shortcut/CompositorConfigNote.h"

#include "shortcut/ShortcutCommand.h"

namespace vexlo {

std::string CompositorConfigNote::Note() {
    return "On sway the key is bound in sway's own configuration file: add\nbindsym Ctrl+Mod1+c "
           "exec " +
           NextCommandFor(executable_);
}

}  // namespace vexlo
