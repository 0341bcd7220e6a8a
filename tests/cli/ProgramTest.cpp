// The real program, started as a user or the desktop starts it, in program
// folders of its own on a private X display with a window manager.
#include <gtest/gtest.h>
#include <signal.h>

#include <QDBusConnectionInterface>
#include <QElapsedTimer>
#include <QImage>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "ChildProcess.h"
#include "NextCommand.h"
#include "TempDir.h"
#include "XServer.h"
#include "gnome/GVariantText.h"
#include "gnome/GnomeKeyBinding.h"
#include "instance/DBusInstanceChannel.h"
#include "shared/SessionBus.h"
#include "shortcut/ShortcutCommand.h"
#include "support/PrivateSession.h"
#include "support/X11Inspection.h"

namespace vexlo::test {
namespace {

namespace fs = std::filesystem;
constexpr int kWaitMs = 15000;

XServer* gServer = nullptr;

bool Exists(const std::string& path) {
    return fs::exists(path);
}

// One program folder with its own copy of the executable, registry and XDG
// folders, and the environment of a session on the test's display.
class Program : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        gServer = new XServer(1024, 768);
        wm_ = new ChildProcess({"openbox", "--sm-disable"}, gServer->Env());
        tray_ = new ChildProcess({"trayer", "--edge", "top", "--align", "right", "--widthtype",
                                  "request", "--height", "24"},
                                 gServer->Env());
        // The notification area must be there before the first program starts.
        for (int tries = 0; tries < 100; ++tries) {
            if (RunToEnd({"xdotool", "search", "--onlyvisible", "--classname", "trayer"},
                         gServer->Env()) == 0) {
                break;
            }
            QTest::qWait(100);
        }
    }
    static void TearDownTestSuite() {
        delete tray_;
        delete wm_;
        delete gServer;
        wm_ = nullptr;
        gServer = nullptr;
    }

    explicit Program(const std::string& name = "prog") : folder_(dir_.Sub(name)) {
        fs::copy_file(VEXLO_PROGRAM, folder_ + "/Vexlo");
        fs::permissions(folder_ + "/Vexlo", fs::perms::owner_all);
    }

    Environment Env() const {
        Environment env = gServer->Env();
        env["QT_QPA_PLATFORM"] = "xcb";
        env["VEXLO_DESKTOP"] = "x11";
        env["VEXLO_REGISTRY_DIR"] = dir_.Sub("registry");
        env["XDG_CONFIG_HOME"] = dir_.Sub("config");
        env["XDG_DATA_HOME"] = dir_.Sub("data");
        env["XDG_RUNTIME_DIR"] = dir_.Sub("runtime");
        return env;
    }
    std::vector<std::string> Argv(std::vector<std::string> arguments) const {
        arguments.insert(arguments.begin(), folder_ + "/Vexlo");
        return arguments;
    }
    int Run(std::vector<std::string> arguments) {
        return RunToEnd(Argv(std::move(arguments)), Env(), kWaitMs, Log());
    }
    std::unique_ptr<ChildProcess> Start(std::vector<std::string> arguments) {
        return std::make_unique<ChildProcess>(Argv(std::move(arguments)), Env(), -1, Log());
    }
    // xdotool on the test's display; its exit code.
    int Xdo(const std::vector<std::string>& arguments, int timeoutMs = kWaitMs) {
        std::vector<std::string> argv{"xdotool"};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        return RunToEnd(argv, gServer->Env(), timeoutMs, dir_.File("xdotool.log"));
    }

    std::string Log() const { return dir_.File("vexlo.log"); }
    std::string Ini() const { return folder_ + "/Vexlo.ini"; }
    std::string Wallpaper() const { return folder_ + "/wallpaper.bmp"; }
    std::string Picture(const std::string& name, QColor colour, int w = 64, int h = 48) {
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(colour);
        const std::string path = dir_.Sub("pics") + "/" + name;
        EXPECT_TRUE(image.save(QString::fromStdString(path)));
        return path;
    }
    bool WaitFor(const std::function<bool()>& done) { return QTest::qWaitFor(done, kWaitMs); }

    TempDir dir_;
    std::string folder_;
    // A shown window of the process whose size passes `fits`, else empty.
    std::string WindowOf(const ChildProcess& program, const std::function<bool(int, int)>& fits) {
        const std::string log = dir_.File("xdotool.log");
        std::filesystem::remove(log);
        Xdo({"search", "--onlyvisible", "--pid", std::to_string(program.Pid()), "--class",
             "^Vexlo$", "getwindowgeometry", "%@"});
        const std::string windows = ReadFile(log);
        for (std::size_t at = windows.find("Window "); at != std::string::npos;
             at = windows.find("Window ", at + 1)) {
            const std::string id = windows.substr(at + 7, windows.find('\n', at) - at - 7);
            const auto geometry = windows.find("Geometry: ", at) + 10;
            const int width = std::stoi(windows.substr(geometry));
            const int height = std::stoi(windows.substr(windows.find('x', geometry) + 1));
            if (fits(width, height)) {
                return id;
            }
        }
        return {};
    }

    // The main window's X id once it is shown, else empty.
    std::string MainWindow(bool wait) {
        std::vector<std::string> args{"search"};
        if (wait) {
            args.push_back("--sync");
        }
        for (const char* a : {"--onlyvisible", "--name", "^Vexlo$", "getwindowgeometry", "%@"}) {
            args.push_back(a);
        }
        if (Xdo(args) != 0) {
            return {};
        }
        const std::string log = ReadFile(dir_.File("xdotool.log"));
        const auto size = log.find("Geometry: 678x420");
        if (size == std::string::npos) {
            return {};
        }
        const auto at = log.rfind("Window ", size) + 7;
        return log.substr(at, log.find('\n', at) - at);
    }

    static inline ChildProcess* wm_ = nullptr;
    static inline ChildProcess* tray_ = nullptr;
};

TEST_F(Program, ApplyEndsZeroWithEverythingWritten) {
    const std::string picture = Picture("a.jpg", QColor(0, 200, 0));
    ASSERT_EQ(Run({"apply", picture}), 0) << ReadFile(Log());
    EXPECT_TRUE(Exists(Wallpaper()));
    EXPECT_NE(ReadFile(Ini()).find("Current Wallpaper=a.jpg"), std::string::npos);
    EXPECT_NE(ReadFile(dir_.Sub("registry") + "/HKEY_CURRENT_USER.ini").find(Wallpaper()),
              std::string::npos);
    // What a person sees: the picture centred on the root window.
    const QImage screen = RootScreenshot(gServer->Display());
    EXPECT_EQ(QColor(screen.pixel(512, 384)).green(), 200);
}

TEST_F(Program, ADamagedPictureEndsOneWithItsMessageAndNothingChanged) {
    const std::string damaged = dir_.Sub("pics") + "/bad.jpg";
    WriteFile(damaged, std::string("\xff\xd8\xff\xe0\x00\x10JFIF broken", 18));
    auto program = Start({"apply", damaged});
    // The message box, titled as the program, answered as a person would.
    // Neither the tray icon nor the main window: the box.
    std::string box;
    ASSERT_TRUE(WaitFor([&] {
        box = WindowOf(*program, [](int w, int h) { return w > 22 && h > 22 && w != 678; });
        return !box.empty();
    }));
    Xdo({"windowactivate", "--sync", box});
    int code = -1;
    for (int tries = 0; tries < 20 && code == -1; ++tries) {
        Xdo({"key", "Return"});
        code = program->Wait(500);
    }
    EXPECT_EQ(code, 1) << ReadFile(Log());
    EXPECT_FALSE(ReadFile(Log()).empty());
    EXPECT_FALSE(Exists(Wallpaper()));
    EXPECT_EQ(ReadFile(Ini()).find("Current Wallpaper"), std::string::npos);
}

TEST_F(Program, AddFolderKeepsTheValueAndReplacesASameName) {
    ASSERT_EQ(Run({"addfolder", "/pictures/Nature/"}), 0);
    ASSERT_EQ(Run({"AddFolder", "/pictures/Holiday"}), 0);
    // Written under the name the command uses; the program reads it in any case.
    EXPECT_EQ(ReadFile(folder_ + "/vexlo.ini"),
              "[Folders]\r\nNature=/pictures/Nature/\r\nHoliday=/pictures/Holiday\r\n");
    ASSERT_EQ(Run({"addfolder", "/elsewhere/Nature"}), 0);
    EXPECT_EQ(ReadFile(folder_ + "/vexlo.ini"),
              "[Folders]\r\nNature=/elsewhere/Nature\r\nHoliday=/pictures/Holiday\r\n");
}

TEST_F(Program, ChangeKeepsRunningAndChangesOnlyWhenAsked) {
    Picture("a.jpg", Qt::blue);
    WriteFile(Ini(), "[Folders]\npics=" + dir_.Sub("pics") + "\n");
    {
        auto program = Start({"change"});
        QTest::qWait(1500);
        EXPECT_TRUE(program->IsRunning());
        EXPECT_FALSE(Exists(Wallpaper()));
    }
    WriteFile(Ini(), "[Folders]\npics=" + dir_.Sub("pics") + "\n[Startup]\nChange Wallpaper=1\n");
    auto program = Start({"Change"});
    EXPECT_TRUE(WaitFor([&] { return Exists(Wallpaper()); }));
    EXPECT_TRUE(program->IsRunning());
}

// What a terminal user meets first: the usage, the version, a console
// without a display, a Wayland session.
class Terminal : public Program {
protected:
    // As a session makes it, so that Qt has nothing to say about it.
    Terminal() { fs::permissions(dir_.Sub("runtime"), fs::perms::owner_all); }

    Environment NoDisplay() const {
        Environment env = Env();
        env.erase("DISPLAY");
        env.erase("WAYLAND_DISPLAY");
        env.erase("QT_QPA_PLATFORM");
        return env;
    }
    // Errors without a message box: standard error is all there is.
    Environment Offscreen() const {
        Environment env = Env();
        env["QT_QPA_PLATFORM"] = "offscreen";
        env["VEXLO_DESKTOP"] = "none";
        return env;
    }
    // The exit code, and what the program wrote.
    std::pair<int, std::string> RunIn(const Environment& env, std::vector<std::string> arguments,
                                      int timeoutMs = kWaitMs) {
        fs::remove(Log());
        const int code = RunToEnd(Argv(std::move(arguments)), env, timeoutMs, Log());
        return {code, ReadFile(Log())};
    }
    static bool Has(const std::string& text, const std::string& part) {
        return text.find(part) != std::string::npos;
    }
};

TEST_F(Terminal, HelpAndVersionAnswerAtOnceWithOrWithoutADisplay) {
    for (const Environment& env : {Env(), NoDisplay()}) {
        for (const char* option : {"--help", "-h"}) {
            const auto [code, output] = RunIn(env, {option}, 5000);
            EXPECT_EQ(code, 0) << option << output;
            EXPECT_TRUE(Has(output, "Usage: Vexlo")) << output;
            for (const char* command : {"change", "apply FILE", "addfolder FOLDER", "/debug"}) {
                EXPECT_TRUE(Has(output, command)) << command;
            }
        }
        const auto [code, output] = RunIn(env, {"--version"}, 5000);
        EXPECT_EQ(code, 0);
        EXPECT_EQ(output.rfind("Vexlo 1.", 0), 0u) << output;
        EXPECT_EQ(output.find('\n'), output.size() - 1) << output;
    }
    EXPECT_FALSE(Exists(Ini()));
}

TEST_F(Terminal, WithoutADisplayOnlyAddFolderRuns) {
    const std::string noScreen =
        "Vexlo needs a graphical session: neither DISPLAY nor WAYLAND_DISPLAY is set\n";
    for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{
             {}, {"change"}, {"apply", Picture("a.jpg", Qt::red)}, {"--HELP"}}) {
        EXPECT_EQ(RunIn(NoDisplay(), arguments), std::make_pair(1, noScreen));
    }
    EXPECT_EQ(RunIn(NoDisplay(), {"addfolder", "/pictures/Nature"}),
              std::make_pair(0, std::string()));
    EXPECT_EQ(ReadFile(folder_ + "/vexlo.ini"), "[Folders]\r\nNature=/pictures/Nature\r\n");
    const auto [code, output] = RunIn(NoDisplay(), {"addfolder"});
    EXPECT_EQ(code, 1);
    EXPECT_TRUE(Has(output, "needs a folder")) << output;
    // A relative folder, from the shell's working folder.
    const std::string work = dir_.Sub("work");
    EXPECT_EQ(RunToEnd({"sh", "-c", "cd \"$1\" && exec \"$2\" addfolder Holiday/", "sh", work,
                        folder_ + "/Vexlo"},
                       NoDisplay(), kWaitMs, Log()),
              0);
    EXPECT_EQ(ReadFile(folder_ + "/vexlo.ini"), "[Folders]\r\nNature=/pictures/Nature\r\nHoliday=" +
                                                    fs::canonical(work).string() + "/Holiday/\r\n");
}

TEST_F(Terminal, AWaylandSessionWithXWaylandStartsOnXWithoutAWord) {
    Environment env = Env();
    env.erase("QT_QPA_PLATFORM");
    env["WAYLAND_DISPLAY"] = "wayland-vexlo-test";
    env["XDG_SESSION_TYPE"] = "wayland";
    const auto [code, output] = RunIn(env, {"apply", Picture("a.jpg", QColor(0, 0, 200))});
    EXPECT_EQ(code, 0);
    EXPECT_EQ(output, "");
    // Drawn on the X root window: the program ran on X.
    EXPECT_EQ(QColor(RootScreenshot(gServer->Display()).pixel(512, 384)).blue(), 200);
}

TEST_F(Terminal, ApplyOrAddFolderOfNothingEndsOneWithItsMessage) {
    const std::string missing = dir_.Sub("pics") + "/missing.jpg";
    for (const auto& [arguments, message] :
         std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{"apply", missing}, "Cannot open file " + missing},
             {{"apply"}, "needs a picture file"},
             {{"addfolder"}, "needs a folder"}}) {
        const auto [code, output] = RunIn(Offscreen(), arguments);
        EXPECT_EQ(code, 1);
        EXPECT_TRUE(Has(output, message)) << output;
    }
    EXPECT_FALSE(Exists(Wallpaper()));
    EXPECT_FALSE(Exists(folder_ + "/vexlo.ini"));
}

TEST_F(Terminal, AFailedChangeAtLogOnIsReportedAndStaysInTheTray) {
    const std::string bad = dir_.Sub("pics") + "/bad.jpg";
    WriteFile(bad, "");
    WriteFile(Ini(), "[Folders]\npics=" + dir_.Sub("pics") + "\n[Startup]\nChange Wallpaper=1\n");
    fs::remove(Log());
    auto program = std::make_unique<ChildProcess>(Argv({"change"}), Offscreen(), -1, Log());
    EXPECT_TRUE(WaitFor([&] { return Has(ReadFile(Log()), bad + ": Empty input file\n"); }))
        << ReadFile(Log());
    QTest::qWait(500);
    EXPECT_TRUE(program->IsRunning());
    EXPECT_FALSE(Exists(Wallpaper()));
}

TEST_F(Program, DebugShowsTheWindowOtherArgumentsDoNot) {
    {
        auto program = Start({"/DEBUG"});
        QTest::qWait(1500);
        ASSERT_TRUE(program->IsRunning());
        EXPECT_EQ(MainWindow(false), "");
    }
    auto program = Start({"/debug"});
    EXPECT_TRUE(WaitFor([&] { return !MainWindow(false).empty(); }));
}

class TwoPrograms : public Program {
protected:
    TwoPrograms() : second_(dir_.Sub("second")) {
        fs::copy_file(VEXLO_PROGRAM, second_ + "/Vexlo");
        fs::permissions(second_ + "/Vexlo", fs::perms::owner_all);
    }
    std::string second_;
};

TEST_F(TwoPrograms, TheHotKeyChangesTheWallpaperAndStaysWithTheFirst) {
    Picture("a.jpg", Qt::red);
    const std::string folders = "[Folders]\npics=" + dir_.Sub("pics") + "\n";
    WriteFile(Ini(), folders + "[Hotkeys]\nCtrlAltC=0\n");
    {
        auto off = Start({"/DEBUG"});
        QTest::qWait(1500);
        Xdo({"key", "ctrl+alt+c"});
        QTest::qWait(1000);
        EXPECT_FALSE(Exists(Wallpaper()));
    }
    WriteFile(Ini(), folders);
    WriteFile(second_ + "/Vexlo.ini", folders);
    auto first = Start({"/DEBUG"});
    QTest::qWait(1500);
    auto second = std::make_unique<ChildProcess>(
        std::vector<std::string>{second_ + "/Vexlo", "/DEBUG"}, Env(), -1, Log());
    QTest::qWait(1500);
    Xdo({"key", "ctrl+alt+c"});
    EXPECT_TRUE(WaitFor([&] { return Exists(Wallpaper()); }));
    EXPECT_FALSE(Exists(second_ + "/wallpaper.bmp"));
}

TEST_F(Program, TheTrayIconInARealNotificationArea) {
    auto program = Start({"/DEBUG"});
    // The icon: a small window of the program's, docked in trayer.
    std::string icon;
    ASSERT_TRUE(WaitFor([&] {
        icon = WindowOf(*program, [](int w, int h) { return w == 22 && h == 22; });
        return !icon.empty();
    }));

    Xdo({"mousemove", "--window", icon, "11", "11", "click", "--repeat", "2", "--delay", "80",
         "1"});
    EXPECT_TRUE(WaitFor([&] { return !MainWindow(false).empty(); }));
    // Right click: the tray menu, a window of the program's of its own; its
    // last item is "Quit".
    Xdo({"mousemove", "--window", icon, "11", "11", "click", "3"});
    std::string menu;
    int menuHeight = 0;
    // Not the icon, the main window or the icon's tooltip.
    ASSERT_TRUE(WaitFor([&] {
        menu = WindowOf(*program, [&](int w, int h) {
            menuHeight = h;
            return w > 100 && w < 400 && h > 80 && h < 400;
        });
        return !menu.empty();
    }));
    QTest::qWait(300);
    Xdo({"mousemove", "--window", menu, "40", std::to_string(menuHeight - 12)});
    QTest::qWait(300);
    Xdo({"click", "1"});
    EXPECT_EQ(program->Wait(kWaitMs), 0);
}

}  // namespace
}  // namespace vexlo::test

namespace vexlo::test {
namespace {

// "next" on a session bus of the test's own: the running copy of the same
// folder changes, a copy of another folder never answers, and a copy that
// hangs is given up after the time-out. The running copy and "next" keep
// their registry values apart, which shows in which process the change ran.
class NextCommand : public TwoPrograms {
protected:
    Environment BusEnv(const std::string& registry) const {
        Environment env = Env();
        env["DBUS_SESSION_BUS_ADDRESS"] = session_.Env().at("DBUS_SESSION_BUS_ADDRESS");
        env["VEXLO_REGISTRY_DIR"] = dir_.Sub(registry);
        return env;
    }
    void TearDown() override { session_.StopServices(); }
    std::unique_ptr<ChildProcess> StartCopy(const std::string& folder,
                                            const Environment& extra = {}) {
        Environment env = BusEnv("running");
        for (const auto& [name, value] : extra) {
            env[name] = value;
        }
        auto copy = std::make_unique<ChildProcess>(
            std::vector<std::string>{folder + "/Vexlo", "/DEBUG"}, env, -1, Log());
        const std::string name = InstanceBusName(fs::canonical(folder).string() + "/");
        SessionBus bus(session_.Env());
        EXPECT_TRUE(WaitFor([&] {
            return bus.Connection()
                .interface()
                ->isServiceRegistered(QString::fromStdString(name))
                .value();
        })) << "the running copy never took its bus name";
        return copy;
    }
    // "next" as a key binding starts it: no message box, the text on stderr.
    int Next(const std::string& folder, const std::string& word = "next") {
        Environment env = BusEnv("next");
        env["QT_QPA_PLATFORM"] = "offscreen";
        fs::remove(NextLog());
        return RunToEnd({folder + "/Vexlo", word}, env, kWaitMs, NextLog());
    }
    std::string NextLog() const { return dir_.File("next.log"); }
    std::string Remembered(const std::string& folder) const {
        const std::string ini = ReadFile(folder + "/Vexlo.ini");
        const auto at = ini.find("File=");
        return at == std::string::npos ? ""
                                       : ini.substr(at + 5, ini.find_first_of("\r\n", at) - at - 5);
    }
    bool ChangedIn(const std::string& registry) const {
        return ReadFile(dir_.Sub(registry) + "/HKEY_CURRENT_USER.ini").find("wallpaper.bmp") !=
               std::string::npos;
    }
    void Sequential(const std::string& folder, const std::string& pictures) {
        WriteFile(folder + "/Vexlo.ini",
                  "[Folders]\npics=" + pictures + "\n[Startup]\nRandom=0\n[Hotkeys]\nCtrlAltC=0\n");
    }

    // A portal with no backend may start on this bus: it offers no shortcuts.
    test::PrivateSession session_{Environment{{"XDG_DESKTOP_PORTAL_DIR", dir_.Sub("no-portals")}}};
};

TEST_F(NextCommand, WithoutARunningCopyTheStepRunsHereAndTheProcessEnds) {
    const std::string a = Picture("a.jpg", Qt::red);
    const std::string b = Picture("b.jpg", Qt::green);
    Sequential(folder_, dir_.Sub("pics"));
    ASSERT_EQ(Next(folder_), 0) << ReadFile(NextLog());
    EXPECT_EQ(Remembered(folder_), a);
    ASSERT_EQ(Next(folder_, "NeXt"), 0) << ReadFile(NextLog());
    EXPECT_EQ(Remembered(folder_), b);
    EXPECT_TRUE(ChangedIn("next"));

    // Nothing to change is no failure; a damaged picture is, with its message.
    Sequential(second_, dir_.Sub("empty"));
    EXPECT_EQ(Next(second_), 0) << ReadFile(NextLog());
    EXPECT_FALSE(Exists(second_ + "/wallpaper.bmp"));
    WriteFile(dir_.Sub("bad") + "/bad.jpg", std::string("\xff\xd8\xff\xe0\x00\x10JFIF broken", 18));
    Sequential(second_, dir_.Sub("bad"));
    EXPECT_EQ(Next(second_), 1);
    EXPECT_FALSE(ReadFile(NextLog()).empty());
    // Its place is remembered, so the next change steps past it.
    EXPECT_EQ(Remembered(second_), dir_.Sub("bad") + "/bad.jpg");
}

TEST_F(NextCommand, TheRunningCopyChangesOnceAndAnotherFoldersCopyIsUntouched) {
    const std::string a = Picture("a.jpg", Qt::red);
    Picture("b.jpg", Qt::green);
    Sequential(folder_, dir_.Sub("pics"));
    Sequential(second_, dir_.Sub("pics"));
    auto running = StartCopy(folder_);

    ASSERT_EQ(Next(folder_), 0) << ReadFile(NextLog());
    EXPECT_EQ(Remembered(folder_), a);
    EXPECT_TRUE(ChangedIn("running"));
    EXPECT_FALSE(ChangedIn("next"));
    EXPECT_TRUE(running->IsRunning());

    // The other folder's "next" finds no copy of its own and changes itself.
    ASSERT_EQ(Next(second_), 0) << ReadFile(NextLog());
    EXPECT_EQ(Remembered(second_), a);
    EXPECT_EQ(Remembered(folder_), a);
    EXPECT_TRUE(ChangedIn("next"));

    // A change that fails in the running copy: its message, exit 1, and the
    // copy runs on.
    WriteFile(dir_.Sub("bad") + "/bad.jpg", std::string("\xff\xd8\xff\xe0\x00\x10JFIF broken", 18));
    Sequential(folder_, dir_.Sub("bad"));
    EXPECT_EQ(Next(folder_), 1);
    EXPECT_NE(ReadFile(NextLog()).find("JPEG"), std::string::npos) << ReadFile(NextLog());
    EXPECT_TRUE(running->IsRunning());
}

TEST_F(NextCommand, ARunningCopyThatHangsIsGivenUpAfterTheTimeOut) {
    Picture("a.jpg", Qt::red);
    Sequential(folder_, dir_.Sub("pics"));
    auto running = StartCopy(folder_);
    ASSERT_EQ(kill(running->Pid(), SIGSTOP), 0);
    QElapsedTimer clock;
    clock.start();
    const int code = Next(folder_);
    const qint64 elapsed = clock.elapsed();
    kill(running->Pid(), SIGCONT);
    EXPECT_EQ(code, 1);
    EXPECT_GE(elapsed, kNextTimeoutMs - 500);
    EXPECT_LT(elapsed, kNextTimeoutMs + 5000);
    EXPECT_NE(ReadFile(NextLog()).find("did not answer"), std::string::npos) << ReadFile(NextLog());
    EXPECT_FALSE(ChangedIn("next"));
}

// GNOME's Wayland session before the portal: the running copy writes GNOME's
// binding at start, and the command GNOME runs for the key changes the
// wallpaper in that copy.
TEST_F(NextCommand, GnomesBindingWrittenAtStartReachesTheRunningCopy) {
    const Environment session = session_.Env();
    if (!CommandRunner(session).Run("gsettings", {"list-keys", kMediaKeysSchema}).Succeeded()) {
        GTEST_SKIP() << "GNOME's media-keys schema is missing (scripts/setup installs it)";
    }
    const std::string a = Picture("a.jpg", Qt::red);
    WriteFile(Ini(), "[Folders]\npics=" + dir_.Sub("pics") + "\n[Startup]\nRandom=0\n");
    auto running = StartCopy(folder_, {{"VEXLO_DESKTOP", "gnome"},
                                       {"WAYLAND_DISPLAY", "wayland-test"},
                                       {"GSETTINGS_BACKEND", "dconf"},
                                       {"XDG_CONFIG_HOME", session.at("XDG_CONFIG_HOME")},
                                       {"XDG_RUNTIME_DIR", session.at("XDG_RUNTIME_DIR")}});
    const std::string schema = std::string(kCustomBindingSchema) + ":" + kVexloBindingPath;
    std::string command;
    EXPECT_TRUE(WaitFor([&] {
        command = GVariantUnquote(
                      CommandRunner(session).Run("gsettings", {"get", schema, "command"}).output)
                      .value_or("");
        return !command.empty();
    }));
    EXPECT_EQ(command, NextCommandFor(fs::canonical(folder_ + "/Vexlo").string()));

    Environment keyPress = BusEnv("next");
    keyPress["QT_QPA_PLATFORM"] = "offscreen";
    ASSERT_EQ(RunToEnd({"sh", "-c", command}, keyPress, kWaitMs, NextLog()), 0)
        << ReadFile(NextLog());
    EXPECT_EQ(Remembered(folder_), a);
    EXPECT_TRUE(ChangedIn("running"));
    EXPECT_FALSE(ChangedIn("next"));
}

}  // namespace
}  // namespace vexlo::test
