// The three registry values carried out where freedesktop desktops look, and
// the files checked and run with the desktops' own tools.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include "VexloError.h"
#include "linux/LinuxPlatform.h"
#include "xdg/XdgEntryText.h"
#include "xdg/XdgShellIntegration.h"

namespace vexlo {
namespace {

constexpr const char* kRunKey = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kApplyKey = "\\SOFTWARE\\Classes\\*\\shell\\Apply with Vexlo";
constexpr const char* kAddKey = "\\SOFTWARE\\Classes\\Folder\\shell\\Add to Vexlo";
// Blanks, quotes, a backslash, "$" and "`": characters the Exec rules quote or
// escape. ("%", doubled by the same rules, is checked on the text alone: GLib
// looks for the program before it undoes the doubling and so never finds it.)
constexpr const char* kOddFolder = "odd dir \"q\" 'a' $x `b` \\z";
// dex takes the quoted part of Exec as it stands, without undoing the escapes:
// blanks and single quotes are what it can be checked with.
constexpr const char* kDexFolder = "log on 'dir'";

std::string Read(const std::string& path) {
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string("<none>");
}

bool Exists(const std::string& path) {
    return QFileInfo::exists(QString::fromStdString(path));
}

struct ToolRun {
    int code = -1;
    std::string out;
};

ToolRun RunTool(const QString& program, const QStringList& arguments,
                const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
    // Output goes to a file, not a pipe: a program that a launcher starts
    // inherits it and must not die writing to it after the launcher ended.
    QTemporaryDir outDir;
    const QString out = outDir.filePath("out.txt");
    QProcess process;
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setStandardOutputFile(out);
    process.start(program, arguments);
    if (!process.waitForFinished(20000)) {
        process.kill();
        process.waitForFinished();
        return {-1, "did not finish: " + program.toStdString()};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            Read(out.toStdString())};
}

class XdgShellTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        program_ = MakeStub(kOddFolder);
    }

    // The stand-in program: notes each argument on a line of its own in args.txt beside it.
    std::string MakeStub(const char* folderName) {
        const QString folder = dir_.filePath(QString::fromUtf8(folderName));
        QDir().mkpath(folder);
        const QString program = folder + "/Vexlo";
        QFile stub(program);
        if (stub.open(QIODevice::WriteOnly)) {
            stub.write(
                "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done "
                ">\"$(dirname \"$0\")/args.txt\"\n");
            stub.close();
            stub.setPermissions(stub.permissions() | QFileDevice::ExeOwner);
        }
        return program.toStdString();
    }
    // What the stub in `folderName` was given, once it has run.
    std::string WaitForArgs(const char* folderName = kOddFolder) const {
        const std::string path = Path(folderName) + "/args.txt";
        for (int i = 0; i < 200 && !Exists(path); ++i) {
            QThread::msleep(50);
        }
        QThread::msleep(50);
        return Read(path);
    }

    std::unique_ptr<LinuxPlatform> Platform() {
        return std::make_unique<LinuxPlatform>(FileRegistry(Path("registry")), nullptr,
                                               PlatformContext{.env = env_});
    }
    std::string Path(const char* name) const { return dir_.filePath(name).toStdString(); }
    QProcessEnvironment ToolEnv() const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", QString::fromStdString(Path("config")));
        env.insert("XDG_DATA_HOME", QString::fromStdString(Path("data")));
        env.insert("XDG_DATA_DIRS", "/usr/share");  // the MIME database
        env.insert("XDG_CONFIG_DIRS", QString::fromStdString(Path("noconfig")));
        return env;
    }
    std::string RunValue() const { return program_ + " change"; }
    std::string VerbValue(const char* verb, const std::string& program = "") const {
        return "\"" + (program.empty() ? program_ : program) + " \" \"" + verb + "\" \"%1\"";
    }

    QTemporaryDir dir_;
    std::string program_;
    Environment env_ = {{"XDG_CONFIG_HOME", Path("config")}, {"XDG_DATA_HOME", Path("data")}};
    XdgShellIntegration files_{env_};
};

TEST(XdgEntryText, CommandsAreTakenApartAndQuoted) {
    auto run = ParseRunValue("/opt/my apps/Vexlo change");
    ASSERT_TRUE(run);
    EXPECT_EQ(run->program, "/opt/my apps/Vexlo");
    EXPECT_EQ(run->arguments, std::vector<std::string>{"change"});
    auto verb = ParseVerbCommand("\"/opt/my apps/Vexlo \" \"addfolder\" \"%1\"");
    ASSERT_TRUE(verb);
    EXPECT_EQ(verb->program, "/opt/my apps/Vexlo");
    EXPECT_EQ(verb->arguments, (std::vector<std::string>{"addfolder", "%1"}));
    EXPECT_FALSE(ParseRunValue(""));
    EXPECT_FALSE(ParseVerbCommand("\" \" apply"));
    // Quoting rules first, then the string rules of the file.
    EXPECT_EQ(DesktopStringValue(DesktopExec({"/a b/\"c\" $d `e` %f \\g", {"apply", "%1"}}, "%f")),
              R"("/a b/\\"c\\" \\$d \\`e\\` %%f \\\\g" apply %f)");
    // A plain path stands bare, as simple launchers need it.
    EXPECT_EQ(DesktopExec({"/usr/bin/Vexlo", {"change"}}, "%f"), "/usr/bin/Vexlo change");
    EXPECT_EQ(DesktopExec({"/opt/a-b_c.d/Vexlo", {"apply", "%1"}}, "%f"),
              "/opt/a-b_c.d/Vexlo apply %f");
    EXPECT_EQ(ShellQuote("it's"), R"('it'\''s')");
    EXPECT_TRUE(HoldsVexloMark("[Desktop Entry]\r\nX-Vexlo-Written=true\r\n"));
    EXPECT_FALSE(HoldsVexloMark("X-Vexlo-Written=true-ish\n"));
}

TEST_F(XdgShellTest, EntriesAppearAndVanishWithTheValues) {
    auto platform = Platform();
    const std::string autostart = files_.AutostartFile();
    const auto apply = files_.VerbFiles(XdgShellIntegration::Verb::Apply);
    const auto add = files_.VerbFiles(XdgShellIntegration::Verb::AddFolder);
    ASSERT_EQ(apply.size(), 3u);
    // An "Open With" entry an older Vexlo wrote goes with the next write.
    const std::string older = files_.OpenWithEntry(XdgShellIntegration::Verb::Apply);
    QDir().mkpath(QFileInfo(QString::fromStdString(older)).absolutePath());
    QFile oldEntry(QString::fromStdString(older));
    ASSERT_TRUE(oldEntry.open(QIODevice::WriteOnly));
    oldEntry.write(
        "[Desktop Entry]\nType=Application\nName=Apply with Vexlo\nExec=vexlo apply %f\n"
        "MimeType=image/png;\nX-Vexlo-Written=true\n");
    oldEntry.close();

    platform->WriteRegistryString(RegistryRoot::CurrentUser, kRunKey, "Vexlo", RunValue());
    platform->WriteRegistryString(RegistryRoot::LocalMachine, std::string(kApplyKey) + "\\command",
                                  "", VerbValue("apply"));
    platform->WriteRegistryString(RegistryRoot::LocalMachine, std::string(kAddKey) + "\\command",
                                  "", VerbValue("addfolder"));
    EXPECT_TRUE(Exists(autostart));
    for (const auto& path : apply) {
        EXPECT_TRUE(Exists(path)) << path;
    }
    EXPECT_FALSE(Exists(older));
    EXPECT_FALSE(Exists(files_.OpenWithEntry(XdgShellIntegration::Verb::AddFolder)));
    EXPECT_NE(Read(apply[0]).find("MimeType=image/bmp;image/jpeg;image/gif;image/png;\n"),
              std::string::npos);
    EXPECT_NE(Read(add[0]).find("MimeType=inode/directory;\n"), std::string::npos);
    EXPECT_TRUE(QFileInfo(QString::fromStdString(apply[0])).isExecutable());

    // Other values of the same keys and other keys leave the files alone.
    platform->DeleteRegistryValue(RegistryRoot::CurrentUser, kRunKey, "Other");
    platform->DeleteRegistryKey(RegistryRoot::LocalMachine, "SOFTWARE\\Classes\\*\\shell\\Other");
    EXPECT_TRUE(Exists(autostart));
    EXPECT_TRUE(Exists(apply[0]));

    platform->DeleteRegistryValue(RegistryRoot::CurrentUser, kRunKey, "vexlo");
    platform->DeleteRegistryKey(RegistryRoot::LocalMachine, kApplyKey);
    EXPECT_FALSE(Exists(autostart));
    for (const auto& path : apply) {
        EXPECT_FALSE(Exists(path)) << path;
    }
    EXPECT_TRUE(Exists(add[0]));
    platform->DeleteRegistryKey(RegistryRoot::LocalMachine, "SOFTWARE\\Classes\\Folder");
    EXPECT_FALSE(Exists(add[0]));
}

TEST_F(XdgShellTest, AUsersOwnFilesAreNeverChangedOrRemoved) {
    auto platform = Platform();
    const std::string autostart = files_.AutostartFile();
    const std::string open = files_.OpenWithEntry(XdgShellIntegration::Verb::Apply);
    const std::string mine = "[Desktop Entry]\nType=Application\nName=Mine\nExec=mine\n";
    for (const std::string& path : {autostart, open}) {
        QDir().mkpath(QFileInfo(QString::fromStdString(path)).absolutePath());
        QFile file(QString::fromStdString(path));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(mine.c_str());
    }
    platform->WriteRegistryString(RegistryRoot::CurrentUser, kRunKey, "Vexlo", RunValue());
    platform->WriteRegistryString(RegistryRoot::LocalMachine, std::string(kApplyKey) + "\\command",
                                  "", VerbValue("apply"));
    platform->DeleteRegistryValue(RegistryRoot::CurrentUser, kRunKey, "Vexlo");
    platform->DeleteRegistryKey(RegistryRoot::LocalMachine, kApplyKey);
    EXPECT_EQ(Read(autostart), mine);
    EXPECT_EQ(Read(open), mine);
}

TEST_F(XdgShellTest, AnEntryThatCannotBeWrittenIsReported) {
    // A regular file where the autostart folder should be.
    QDir().mkpath(QString::fromStdString(Path("config")));
    QFile blocker(QString::fromStdString(Path("config/autostart")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    auto platform = Platform();
    try {
        platform->WriteRegistryString(RegistryRoot::CurrentUser, kRunKey, "Vexlo", RunValue());
        FAIL() << "no error";
    } catch (const VexloError& error) {
        EXPECT_EQ(std::string(error.what()), "Unable to write to " + files_.AutostartFile());
    }
}

TEST_F(XdgShellTest, TheDesktopToolsAcceptAndRunTheEntries) {
    auto platform = Platform();
    platform->WriteRegistryString(RegistryRoot::CurrentUser, kRunKey, "Vexlo", RunValue());
    platform->WriteRegistryString(RegistryRoot::LocalMachine, std::string(kApplyKey) + "\\command",
                                  "", VerbValue("apply"));
    platform->WriteRegistryString(RegistryRoot::LocalMachine, std::string(kAddKey) + "\\command",
                                  "", VerbValue("addfolder"));
    const auto apply = files_.VerbFiles(XdgShellIntegration::Verb::Apply);
    const auto add = files_.VerbFiles(XdgShellIntegration::Verb::AddFolder);

    // desktop-file-validate: the log-on entry passes as it is; the service
    // menus are of KDE's own type "Service", which it names, and nothing else.
    const ToolRun valid =
        RunTool("desktop-file-validate", {QString::fromStdString(files_.AutostartFile())});
    EXPECT_EQ(valid.code, 0) << valid.out;
    EXPECT_EQ(valid.out, "");
    for (const std::string& path : {apply[0], apply[1], add[0], add[1]}) {
        const ToolRun run = RunTool("desktop-file-validate", {QString::fromStdString(path)});
        for (const QString& line :
             QString::fromStdString(run.out).split('\n', Qt::SkipEmptyParts)) {
            EXPECT_TRUE(line.contains("the type is \"Service\""))
                << path << ": " << line.toStdString();
        }
    }

    // dex starts the log-on entry: the program runs with "change".
    platform->WriteRegistryString(RegistryRoot::CurrentUser, kRunKey, "Vexlo",
                                  MakeStub(kDexFolder) + " change");
    ToolRun run = RunTool("dex", {QString::fromStdString(files_.AutostartFile())}, ToolEnv());
    EXPECT_EQ(run.code, 0) << run.out;
    EXPECT_EQ(WaitForArgs(kDexFolder), "change\n");
}

// What opens a picture or a folder, asked of xdg-mime, xdg-open, gio: the same
// before and after both menu items are switched on, in a home without a
// default of its own (with and without a handler on the system) and in one
// with its own defaults.
TEST_F(XdgShellTest, TheMenuItemsNeverChangeWhatOpensAFile) {
    // The system's folder holds only the MIME database, and, in the second
    // round, a viewer for every type.
    const QString system = dir_.filePath("system");
    ASSERT_TRUE(QDir().mkpath(system));
    ASSERT_TRUE(QFile::link("/usr/share/mime", system + "/mime"));
    QProcessEnvironment env = ToolEnv();
    env.insert("XDG_DATA_DIRS", system);
    for (const char* name :
         {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION", "GNOME_DESKTOP_SESSION_ID",
          "MATE_DESKTOP_SESSION_ID", "XDG_SESSION_DESKTOP", "DBUS_SESSION_BUS_ADDRESS",
          "WAYLAND_DISPLAY", "BROWSER"}) {
        env.remove(name);
    }
    env.insert("DISPLAY", ":98");  // xdg-open asks the MIME rules only with a display
    env.insert("DBUS_SESSION_BUS_ADDRESS", "disabled:");  // no desktop session to find
    const QString marks = dir_.filePath("opened");
    QDir().mkpath(marks);
    // A handler of `types` that notes what it opened in opened/<name>.
    auto handler = [&](const QString& folder, const QString& name, const QString& types) {
        QDir().mkpath(folder);
        const QString program = dir_.filePath(name + "-opener");
        QFile stub(program);
        EXPECT_TRUE(stub.open(QIODevice::WriteOnly));
        stub.write(("#!/bin/sh\necho \"$@\" >" + marks + "/" + name + "\n").toUtf8());
        stub.close();
        stub.setPermissions(stub.permissions() | QFileDevice::ExeOwner);
        QFile entry(folder + "/" + name + ".desktop");
        EXPECT_TRUE(entry.open(QIODevice::WriteOnly));
        entry.write(("[Desktop Entry]\nType=Application\nName=" + name + "\nExec=" + program +
                     " %f\nMimeType=" + types + "\n")
                        .toUtf8());
        entry.close();
        EXPECT_EQ(RunTool("update-desktop-database", {folder}).code, 0);
    };
    const QString picture = dir_.filePath("picture.png");
    ASSERT_TRUE(QImage(4, 4, QImage::Format_RGB32).save(picture));
    const QString folder = dir_.filePath("a folder");
    QDir().mkpath(folder);
    const QStringList types = {"image/bmp", "image/jpeg", "image/gif", "image/png",
                               "inode/directory"};
    // Every answer, and what each opener ran.
    auto answers = [&]() {
        std::string out;
        for (const QString& type : types) {
            out += "xdg-mime " + type.toStdString() + ": " +
                   RunTool("xdg-mime", {"query", "default", type}, env).out;
            const std::string gio = RunTool("gio", {"mime", type}, env).out;
            out += "gio " + type.toStdString() + ": " + gio.substr(0, gio.find('\n')) + "\n";
        }
        for (const QString& target : {picture, folder}) {
            for (const QStringList& open :
                 {QStringList{"xdg-open", target}, QStringList{"gio", "open", target}}) {
                QDir(marks).removeRecursively();
                QDir().mkpath(marks);
                const ToolRun run = RunTool(open[0], open.mid(1), env);
                // gio starts the opener and ends at once: wait for its mark.
                for (int i = 0; i < 100 && run.code == 0 && QDir(marks).isEmpty(); ++i) {
                    QThread::msleep(50);
                }
                out += open.join(' ').toStdString() + ": ended " + std::to_string(run.code) +
                       ", opened by " + QDir(marks).entryList(QDir::Files).join(',').toStdString() +
                       "\n";
            }
        }
        return out;
    };
    auto tick = [&](bool on) {
        auto platform = Platform();
        for (const char* key : {kApplyKey, kAddKey}) {
            if (on) {
                platform->WriteRegistryString(RegistryRoot::LocalMachine,
                                              std::string(key) + "\\command", "",
                                              VerbValue(key == kApplyKey ? "apply" : "addfolder"));
            } else {
                platform->DeleteRegistryKey(RegistryRoot::LocalMachine, key);
            }
        }
    };
    const std::string user = Path("data") + "/applications";
    for (int round = 0; round < 3; ++round) {
        if (round == 1) {
            handler(system + "/applications", "viewer", types.join(';') + ";");
        }
        if (round == 2) {
            handler(QString::fromStdString(user), "mine", types.join(';') + ";");
            QDir().mkpath(QString::fromStdString(Path("config")));
            QFile list(QString::fromStdString(Path("config") + "/mimeapps.list"));
            ASSERT_TRUE(list.open(QIODevice::WriteOnly));
            list.write("[Default Applications]\n");
            for (const QString& type : types) {
                list.write((type + "=mine.desktop;\n").toUtf8());
            }
            list.close();
        }
        tick(false);
        const std::string before = answers();
        tick(true);
        EXPECT_EQ(answers(), before) << "round " << round;
        EXPECT_TRUE(Exists(files_.VerbFiles(XdgShellIntegration::Verb::Apply)[0]));
    }
}

TEST_F(XdgShellTest, TheNemoActionRunsAsNemoSplitsIt) {
    // Nemo puts the quoted path in place of %F and splits the line as a shell
    // does. Its own "%" codes rule out a path holding "%": none is written then.
    const char* folder = "nemo's \"odd\" $dir \\x";
    const std::string program = MakeStub(folder);
    auto platform = Platform();
    platform->WriteRegistryString(RegistryRoot::LocalMachine, std::string(kAddKey) + "\\command",
                                  "", VerbValue("addfolder", program));
    const std::string action = files_.VerbFiles(XdgShellIntegration::Verb::AddFolder)[2];
    const std::string text = Read(action);
    const std::size_t exec = text.find("\nExec=");
    ASSERT_NE(exec, std::string::npos) << text;
    std::string line = text.substr(exec + 6, text.find('\n', exec + 1) - exec - 6);
    line = QString::fromStdString(line)
               .replace("\\\\", "\\")
               .toStdString();  // the file's string rules
    const std::string target = Path("Pictures 'x'");
    line.replace(line.find("%F"), 2, ShellQuote(target));
    EXPECT_EQ(RunTool("sh", {"-c", QString::fromStdString(line)}).code, 0) << line;
    EXPECT_EQ(WaitForArgs(folder), "addfolder\n" + target + "\n");
    EXPECT_NE(text.find("Extensions=dir;"), std::string::npos);

    platform->WriteRegistryString(RegistryRoot::LocalMachine, std::string(kAddKey) + "\\command",
                                  "", VerbValue("addfolder", "/opt/100% sure/Vexlo"));
    EXPECT_FALSE(Exists(action));
    EXPECT_TRUE(Exists(files_.VerbFiles(XdgShellIntegration::Verb::AddFolder)[0]));
}

#ifdef VEXLO_PROGRAM
TEST_F(XdgShellTest, TheFileManagerItemAppliesAPictureWithTheRealProgram) {
    // A portable copy keeps its settings and wallpaper.bmp beside itself.
    const QString folder = dir_.filePath("a \"portable\" copy");
    QDir().mkpath(folder);
    const QString program = folder + "/Vexlo";
    ASSERT_TRUE(QFile::copy(VEXLO_PROGRAM, program));
    auto platform = Platform();
    platform->WriteRegistryString(RegistryRoot::LocalMachine, std::string(kApplyKey) + "\\command",
                                  "", VerbValue("apply", program.toStdString()));
    QImage picture(64, 48, QImage::Format_RGB32);
    picture.fill(Qt::red);
    const QString path = dir_.filePath("holiday 1.png");
    ASSERT_TRUE(picture.save(path));
    QProcessEnvironment env = ToolEnv();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("VEXLO_DESKTOP", "none");
    env.insert("VEXLO_REGISTRY_DIR", QString::fromStdString(Path("registry")));
    // The Nemo action's command, run as Nemo runs it.
    const std::string text = Read(files_.VerbFiles(XdgShellIntegration::Verb::Apply)[2]);
    const std::size_t exec = text.find("\nExec=");
    ASSERT_NE(exec, std::string::npos) << text;
    std::string line = text.substr(exec + 6, text.find('\n', exec + 1) - exec - 6);
    line = QString::fromStdString(line).replace("\\\\", "\\").toStdString();
    line.replace(line.find("%F"), 2, ShellQuote(path.toStdString()));
    const ToolRun run = RunTool("sh", {"-c", QString::fromStdString(line)}, env);
    EXPECT_EQ(run.code, 0) << run.out << line;
    const QString bitmap = folder + "/wallpaper.bmp";
    EXPECT_EQ(QImage(bitmap).size(), QSize(64, 48));
    EXPECT_EQ(QImage(bitmap).pixelColor(10, 10), QColor(Qt::red));
    EXPECT_EQ(FileRegistry(Path("registry"))
                  .ReadString(RegistryRoot::CurrentUser, "Control Panel\\Desktop", "Wallpaper", ""),
              bitmap.toStdString());
}
#endif

}  // namespace
}  // namespace vexlo
