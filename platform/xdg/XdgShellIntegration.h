#pragma once

#include <string>
#include <vector>

#include "DesktopPlatform.h"
#include "Environment.h"

namespace vexlo {

// Carries out, where freedesktop desktops look, the three registry values that
// on Windows start Vexlo at log-on and put its verbs into Explorer's menus:
//  - HKCU "Software\Microsoft\Windows\CurrentVersion\Run" "Vexlo": an
//    autostart entry, $XDG_CONFIG_HOME/autostart/vexlo.desktop;
//  - HKLM "SOFTWARE\Classes\*\shell\Apply with Vexlo\command" and
//    "SOFTWARE\Classes\Folder\shell\Add to Vexlo\command": per user (nobody
//    may write the system's folders), in the file managers' own action menus:
//    Dolphin's service menus (kio/servicemenus/ for Plasma 6,
//    kservices5/ServiceMenus/ for Plasma 5) and a Nemo action (nemo/actions/).
// A menu item never changes which program opens a file, so no application
// entry names the picture or folder types: xdg-mime, gio and the file managers
// pick the first such entry of the user's folder as the default wherever none
// is set, even one listed only under [Added Associations]. The "Open With"
// entries an older Vexlo wrote in $XDG_DATA_HOME/applications/ are removed.
// The program path comes from the value written and is quoted in each file as
// that file's reader requires. Each file carries kVexloMarkLine; a file at the
// same place without it is the user's own and is never changed or removed.
// A file that cannot be written throws VexloError "Unable to write to <path>".
class XdgShellIntegration {
public:
    // $XDG_CONFIG_HOME and $XDG_DATA_HOME when absolute, else below $HOME;
    // without either nothing is ever written.
    explicit XdgShellIntegration(const Environment& env);
    XdgShellIntegration(std::string configHome, std::string dataHome);

    // Called after the registry changed, with the arguments it was given.
    void ValueWritten(RegistryRoot root, const std::string& key, const std::string& name,
                      const std::string& value);
    void ValueDeleted(RegistryRoot root, const std::string& key, const std::string& name);
    void KeyDeleted(RegistryRoot root, const std::string& key);

    enum class Verb { Apply, AddFolder };
    // Where the files go (the Nemo action last).
    std::string AutostartFile() const;
    std::vector<std::string> VerbFiles(Verb verb) const;
    // Where an older Vexlo put the verb's "Open With" entry.
    std::string OpenWithEntry(Verb verb) const;

private:
    void WriteAutostart(const std::string& value);
    void WriteVerb(Verb verb, const std::string& value);
    void RemoveAutostart();
    void RemoveVerb(Verb verb);
    void RemoveOpenWithEntry(Verb verb);

    std::string configHome_;
    std::string dataHome_;
};

}  // namespace vexlo
