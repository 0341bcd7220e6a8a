#include "xdg/XdgShellIntegration.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

#include "VexloError.h"
#include "profile/ProfileName.h"
#include "registry/RegistryPath.h"
#include "xdg/XdgEntryText.h"

namespace vexlo {
namespace {

constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kRunName = "Vexlo";
constexpr const char* kApplyCommandKey = "SOFTWARE\\Classes\\*\\shell\\Apply with Vexlo\\command";
constexpr const char* kAddCommandKey = "SOFTWARE\\Classes\\Folder\\shell\\Add to Vexlo\\command";

constexpr const char* kPictureTypes = "image/bmp;image/jpeg;image/gif;image/png;";
constexpr const char* kFolderTypes = "inode/directory;";

struct VerbText {
    const char* commandKey;
    const char* fileStem;  // vexlo-apply, vexlo-addfolder
    const char* caption;   // the menu item
    const char* comment;
    const char* mimeTypes;
    const char* nemoFilter;  // the Nemo action's selection filter
};

const VerbText& TextOf(XdgShellIntegration::Verb verb) {
    static const VerbText apply{
        kApplyCommandKey,   "vexlo-apply",
        "Apply with Vexlo", "Show this picture as the desktop wallpaper",
        kPictureTypes,      "Mimetypes=image/bmp;image/jpeg;image/gif;image/png;"};
    static const VerbText add{kAddCommandKey, "vexlo-addfolder",
                              "Add to Vexlo", "Add this folder to Vexlo's picture folders",
                              kFolderTypes,   "Extensions=dir;"};
    return verb == XdgShellIntegration::Verb::Apply ? apply : add;
}

bool SameKey(const std::string& a, const char* b) {
    const std::string key = NormaliseRegistryKey(a);
    return IsRegistryKeyAtOrBelow(key, b) && IsRegistryKeyAtOrBelow(b, key);
}

bool SameName(const std::string& a, const char* b) {
    return ProfileNamesEqual(a, b);
}

QString Q(const std::string& text) {
    return QString::fromUtf8(text);
}

std::string ReadAll(const std::string& path) {
    QFile file(Q(path));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readAll().toStdString();
}

// Writes `text` to `path` unless a file that is not Vexlo's stands there.
// True when the file changed.
bool WriteOwnFile(const std::string& path, const std::string& text, bool executable) {
    const QFileInfo info(Q(path));
    if (info.exists() && !(info.isFile() && HoldsVexloMark(ReadAll(path)))) {
        return false;  // the user's own file at this place serves instead
    }
    if (info.exists() && ReadAll(path) == text && (!executable || info.isExecutable())) {
        return false;
    }
    QSaveFile file(Q(path));
    file.setDirectWriteFallback(false);
    const bool written = QDir().mkpath(info.absolutePath()) && file.open(QIODevice::WriteOnly) &&
                         file.write(text.data(), static_cast<qint64>(text.size())) ==
                             static_cast<qint64>(text.size()) &&
                         file.commit();
    if (!written) {
        throw VexloError("Unable to write to " + path);
    }
    if (executable) {
        // Plasma runs the service menus of a user's own folder only when executable.
        QFile::setPermissions(
            Q(path), QFile::permissions(Q(path)) | QFileDevice::ExeOwner | QFileDevice::ExeUser);
    }
    return true;
}

// True when the file was Vexlo's and is gone.
bool RemoveOwnFile(const std::string& path) {
    const QFileInfo info(Q(path));
    return info.isFile() && HoldsVexloMark(ReadAll(path)) && QFile::remove(Q(path));
}

// GLib finds the applications of a type through each folder's mimeinfo.cache
// only, so the cache is made anew once an entry an older Vexlo wrote is gone.
void RefreshMimeCache(const std::string& entry) {
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("update-desktop-database"));
    if (tool.isEmpty()) {
        return;
    }
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(tool, {QStringLiteral("-q"), QFileInfo(Q(entry)).absolutePath()});
    if (!process.waitForFinished(10000)) {
        process.kill();
        process.waitForFinished();
    }
}

std::string Line(const std::string& key, const std::string& value) {
    return key + "=" + DesktopStringValue(value) + "\n";
}

std::string ServiceMenu(const VerbText& text, const ShellCommand& command, bool plasma5) {
    std::string out = "[Desktop Entry]\nType=Service\n";
    if (plasma5) {
        out += "ServiceTypes=KonqPopupMenu/Plugin\n";
    }
    out += Line("Name", text.caption) + "MimeType=" + text.mimeTypes + "\n" + "Actions=Vexlo;\n" +
           std::string(kVexloMarkLine) + "\n\n[Desktop Action Vexlo]\n" +
           Line("Name", text.caption) + Line("Exec", DesktopExec(command, "%f"));
    return out;
}

// Nemo expands its own "%" codes in Exec and then splits it as a shell would;
// a path holding "%" cannot be written there safely.
std::string NemoAction(const VerbText& text, const ShellCommand& command) {
    std::string exec = ShellQuote(command.program);
    for (const std::string& argument : command.arguments) {
        exec += " " + (argument == "%1" ? std::string("%F") : ShellQuote(argument));
    }
    return "[Nemo Action]\n" + Line("Name", text.caption) + Line("Comment", text.comment) +
           Line("Exec", exec) + "Selection=s\n" + text.nemoFilter + "\n" +
           std::string(kVexloMarkLine) + "\n";
}

bool NemoCanHold(const ShellCommand& command) {
    if (command.program.find('%') != std::string::npos) {
        return false;
    }
    for (const std::string& argument : command.arguments) {
        if (argument != "%1" && argument.find('%') != std::string::npos) {
            return false;
        }
    }
    return true;
}

}  // namespace

XdgShellIntegration::XdgShellIntegration(const Environment& env)
    : XdgShellIntegration(XdgBaseFolder(env, XdgBase::Config), XdgBaseFolder(env, XdgBase::Data)) {}

XdgShellIntegration::XdgShellIntegration(std::string configHome, std::string dataHome)
    : configHome_(std::move(configHome)), dataHome_(std::move(dataHome)) {}

std::string XdgShellIntegration::AutostartFile() const {
    return configHome_.empty() ? std::string() : configHome_ + "/autostart/vexlo.desktop";
}

std::vector<std::string> XdgShellIntegration::VerbFiles(Verb verb) const {
    if (dataHome_.empty()) {
        return {};
    }
    const std::string stem = TextOf(verb).fileStem;
    return {dataHome_ + "/kio/servicemenus/" + stem + ".desktop",
            dataHome_ + "/kservices5/ServiceMenus/" + stem + ".desktop",
            dataHome_ + "/nemo/actions/" + stem + ".nemo_action"};
}

std::string XdgShellIntegration::OpenWithEntry(Verb verb) const {
    return dataHome_.empty() ? std::string()
                             : dataHome_ + "/applications/" + TextOf(verb).fileStem + ".desktop";
}

void XdgShellIntegration::ValueWritten(RegistryRoot root, const std::string& key,
                                       const std::string& name, const std::string& value) {
    if (root == RegistryRoot::CurrentUser && SameKey(key, kRunKey) && SameName(name, kRunName)) {
        WriteAutostart(value);
        return;
    }
    if (root == RegistryRoot::LocalMachine && name.empty()) {
        for (Verb verb : {Verb::Apply, Verb::AddFolder}) {
            if (SameKey(key, TextOf(verb).commandKey)) {
                WriteVerb(verb, value);
            }
        }
    }
}

void XdgShellIntegration::ValueDeleted(RegistryRoot root, const std::string& key,
                                       const std::string& name) {
    if (root == RegistryRoot::CurrentUser && SameKey(key, kRunKey) && SameName(name, kRunName)) {
        RemoveAutostart();
        return;
    }
    if (root == RegistryRoot::LocalMachine && name.empty()) {
        for (Verb verb : {Verb::Apply, Verb::AddFolder}) {
            if (SameKey(key, TextOf(verb).commandKey)) {
                RemoveVerb(verb);
            }
        }
    }
}

void XdgShellIntegration::KeyDeleted(RegistryRoot root, const std::string& key) {
    const std::string deleted = NormaliseRegistryKey(key);
    if (deleted.empty()) {
        return;  // the registry never deletes a root
    }
    if (root == RegistryRoot::CurrentUser && IsRegistryKeyAtOrBelow(kRunKey, deleted)) {
        RemoveAutostart();
    }
    if (root == RegistryRoot::LocalMachine) {
        for (Verb verb : {Verb::Apply, Verb::AddFolder}) {
            if (IsRegistryKeyAtOrBelow(TextOf(verb).commandKey, deleted)) {
                RemoveVerb(verb);
            }
        }
    }
}

void XdgShellIntegration::WriteAutostart(const std::string& value) {
    const std::string path = AutostartFile();
    if (path.empty()) {
        return;
    }
    const std::optional<ShellCommand> command = ParseRunValue(value);
    if (!command) {
        RemoveAutostart();
        return;
    }
    WriteOwnFile(path,
                 "[Desktop Entry]\n"
                 "Type=Application\n"
                 "Name=Vexlo\n"
                 "Comment=Changes the desktop wallpaper at log-on\n" +
                     Line("Exec", DesktopExec(*command, "%f")) + "Terminal=false\n" +
                     std::string(kVexloMarkLine) + "\n",
                 false);
}

void XdgShellIntegration::WriteVerb(Verb verb, const std::string& value) {
    const std::vector<std::string> files = VerbFiles(verb);
    if (files.empty()) {
        return;
    }
    const std::optional<ShellCommand> command = ParseVerbCommand(value);
    if (!command) {
        RemoveVerb(verb);
        return;
    }
    const VerbText& text = TextOf(verb);
    RemoveOpenWithEntry(verb);
    WriteOwnFile(files[0], ServiceMenu(text, *command, false), true);
    WriteOwnFile(files[1], ServiceMenu(text, *command, true), false);
    if (NemoCanHold(*command)) {
        WriteOwnFile(files[2], NemoAction(text, *command), false);
    } else {
        RemoveOwnFile(files[2]);
    }
}

void XdgShellIntegration::RemoveOpenWithEntry(Verb verb) {
    const std::string path = OpenWithEntry(verb);
    if (!path.empty() && RemoveOwnFile(path)) {
        RefreshMimeCache(path);
    }
}

void XdgShellIntegration::RemoveAutostart() {
    const std::string path = AutostartFile();
    if (!path.empty()) {
        RemoveOwnFile(path);
    }
}

void XdgShellIntegration::RemoveVerb(Verb verb) {
    RemoveOpenWithEntry(verb);
    for (const std::string& path : VerbFiles(verb)) {
        RemoveOwnFile(path);
    }
}

}  // namespace vexlo
