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
              R"("/a b/\\"c\\" \\$d \\`e\\` %%f \\\\g" "apply" %f)");
    EXPECT_EQ(ShellQuote("it's"), R"('it'\''s')");
    EXPECT_TRUE(HoldsVexloMark("[Desktop Entry]\r\nX-Vexlo-Written=true\r\n"));
    EXPECT_FALSE(HoldsVexloMark("X-Vexlo-Written=true-ish\n"));
}

TEST_F(XdgShellTest, EntriesAppearAndVanishWithTheValues) {
    auto platform = Platform();
    const std::string autostart = files_.AutostartFile();
    const auto apply = files_.VerbFiles(XdgShellIntegration::Verb::Apply);
    const auto add = files_.VerbFiles(XdgShellIntegration::Verb::AddFolder);
    ASSERT_EQ(apply.size(), 4u);

    platform->WriteRegistryString(RegistryRoot::CurrentUser, kRunKey, "Vexlo", RunValue());
    platform->WriteRegistryString(RegistryRoot::LocalMachine, std::string(kApplyKey) + "\\command",
                                  "", VerbValue("apply"));
    platform->WriteRegistryString(RegistryRoot::LocalMachine, std::string(kAddKey) + "\\command",
                                  "", VerbValue("addfolder"));
    EXPECT_TRUE(Exists(autostart));
    for (const auto& path : apply) {
        EXPECT_TRUE(Exists(path)) << path;
    }
    const std::string entry = Read(apply[0]);
    EXPECT_NE(entry.find("MimeType=image/bmp;image/jpeg;image/gif;image/png;\n"),
              std::string::npos);
    EXPECT_NE(Read(add[0]).find("MimeType=inode/directory;\n"), std::string::npos);
    EXPECT_TRUE(QFileInfo(QString::fromStdString(apply[1])).isExecutable());

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
    const std::string open = files_.VerbFiles(XdgShellIntegration::Verb::Apply)[0];
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

    // desktop-file-validate: the freedesktop entries pass as they are; the
    // service menus are of KDE's own type "Service", which it names, and nothing else.
    for (const std::string& path : {files_.AutostartFile(), apply[0], add[0]}) {
        const ToolRun run = RunTool("desktop-file-validate", {QString::fromStdString(path)});
        EXPECT_EQ(run.code, 0) << path << "\n" << run.out;
        EXPECT_EQ(run.out, "") << path;
    }
    for (const std::string& path : {apply[1], apply[2], add[1], add[2]}) {
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

    // gio lists the entry under the picture types and runs it on a picture.
    run = RunTool("gio", {"mime", "image/png"}, ToolEnv());
    EXPECT_NE(run.out.find("vexlo-apply.desktop"), std::string::npos) << run.out;
    run = RunTool("gio", {"mime", "inode/directory"}, ToolEnv());
    EXPECT_NE(run.out.find("vexlo-addfolder.desktop"), std::string::npos) << run.out;
    const std::string picture = Path("a picture $1.png");
    QFile(QString::fromStdString(picture)).open(QIODevice::WriteOnly);
    run = RunTool("gio",
                  {"launch", QString::fromStdString(apply[0]), QString::fromStdString(picture)},
                  ToolEnv());
    EXPECT_EQ(run.code, 0) << run.out << Read(apply[0]);
    EXPECT_EQ(WaitForArgs(), "apply\n" + picture + "\n");
}

TEST_F(XdgShellTest, TheNemoActionRunsAsNemoSplitsIt) {
    // Nemo puts the quoted path in place of %F and splits the line as a shell
    // does. Its own "%" codes rule out a path holding "%": none is written then.
    const char* folder = "nemo's \"odd\" $dir \\x";
    const std::string program = MakeStub(folder);
    auto platform = Platform();
    platform->WriteRegistryString(RegistryRoot::LocalMachine, std::string(kAddKey) + "\\command",
                                  "", VerbValue("addfolder", program));
    const std::string action = files_.VerbFiles(XdgShellIntegration::Verb::AddFolder)[3];
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
TEST_F(XdgShellTest, TheOpenWithEntryAppliesAPictureWithTheRealProgram) {
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
    const auto apply = files_.VerbFiles(XdgShellIntegration::Verb::Apply);
    const ToolRun run = RunTool("gio", {"launch", QString::fromStdString(apply[0]), path}, env);
    EXPECT_EQ(run.code, 0) << run.out;
    const QString bitmap = folder + "/wallpaper.bmp";
    for (int i = 0; i < 200 && !QFileInfo::exists(bitmap); ++i) {
        QThread::msleep(50);
    }
    QThread::msleep(200);
    EXPECT_EQ(QImage(bitmap).size(), QSize(64, 48));
    EXPECT_EQ(QImage(bitmap).pixelColor(10, 10), QColor(Qt::red));
    EXPECT_EQ(FileRegistry(Path("registry"))
                  .ReadString(RegistryRoot::CurrentUser, "Control Panel\\Desktop", "Wallpaper", ""),
              bitmap.toStdString());
}
#endif

}  // namespace
}  // namespace vexlo
