// The program Vexlo: answer --help and --version, choose how to reach the
// screen, create the main window (which opens the settings, the tray icon, the
// timer and the hot key), carry out the command line, then run the event loop
// until "Quit". A command that ends at once runs without the window.
#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QSystemTrayIcon>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "CreateDesktopPlatform.h"
#include "CreateInstanceChannel.h"
#include "ErrorReport.h"
#include "GuardedApplication.h"
#include "MainForm.h"
#include "NextCommand.h"
#include "ProgramFolder.h"
#include "QtTrayShell.h"
#include "SettingsNames.h"
#include "SettingsStore.h"
#include "SourcePicture.h"
#include "StartupSession.h"
#include "VexloCommandLine.h"
#include "VexloPro.h"
#include "WidgetHost.h"
#include "files/LeftoverFiles.h"

#if defined(__unix__) && !defined(__APPLE__)
#include <fontconfig/fontconfig.h>
#endif

namespace {

// The program folder of this process, made when missing, without the
// temporary files that killed processes left there.
std::string PrepareProgramFolder(const vexlo::PlatformContext& process) {
    vexlo::Environment env = process.env;
    env.emplace("HOME", process.homeFolder);
    const std::string folder = vexlo::ProgramFolderFor(process.programFile, env);
    QDir().mkpath(QString::fromLocal8Bit(folder.c_str()));
    vexlo::RemoveLeftoverTemporaries(folder);
    return folder;
}

// "addfolder" where there is no display: only the settings file is written.
int AddFolderWithoutScreen(int argc, char** argv, const std::vector<std::string>& arguments) {
    QCoreApplication app(argc, argv);
    try {
        const std::string folder = PrepareProgramFolder(vexlo::ReadProcessContext());
        vexlo::AddFolderCommand(folder, arguments.size() > 1 ? arguments[1] : std::string());
        return 0;
    } catch (const std::exception& error) {
        vexlo::ReportError(error);
        return 1;
    }
}

// Ends the process with `code` once a command that ends at once is done,
// without Qt's teardown: the platform plugin's would load the whole font
// configuration only to free it, a cost of milliseconds for a process that
// never drew a character. Everything of our own is closed by then.
[[noreturn]] void LeaveAtOnce(int code) {
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(code);
}

// "apply" and "addfolder" end before the event loop: they open the settings
// and do their work as the main window's engine would, and skip the window,
// tree, tray icon, timer and hot key that would vanish unseen.
int RunEndingCommand(vexlo::DesktopPlatform& platform, const std::string& folder,
                     const std::vector<std::string>& arguments, vexlo::DecodeAhead* ahead) {
    vexlo::SettingsStore settings(folder + vexlo::ini::kFileName);
    vexlo::WidgetHost host(qApp);
    vexlo::VexloPro engine(settings, platform, host, folder);
    engine.UseDecodeAhead(ahead);
    engine.HandleCommandLine(arguments);
    return 0;
}

#if defined(__unix__) && !defined(__APPLE__)
// The platform the user named with Qt's own "-platform NAME", if any.
std::string PlatformArgument(const std::vector<std::string>& arguments) {
    for (std::size_t i = 0; i + 1 < arguments.size(); ++i) {
        if (arguments[i] == "-platform") {
            return arguments[i + 1];
        }
    }
    return {};
}

bool WaylandPluginFound(const vexlo::Environment& env) {
    QStringList folders = QString::fromLocal8Bit(vexlo::EnvValue(env, "QT_PLUGIN_PATH").c_str())
                              .split(QLatin1Char(':'), Qt::SkipEmptyParts);
    folders << QLibraryInfo::path(QLibraryInfo::PluginsPath);
    for (const QString& folder : folders) {
        if (!QDir(folder + QStringLiteral("/platforms"))
                 .entryList({QStringLiteral("libqwayland*")}, QDir::Files)
                 .isEmpty()) {
            return true;
        }
    }
    return false;
}
#endif

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> given(argc > 1 ? argv + 1 : argv, argc > 1 ? argv + argc : argv);
    // Answered before anything else: no instance, no display needed.
    switch (vexlo::EarlyRequestOf(given)) {
        case vexlo::EarlyRequest::Usage:
            std::fputs(vexlo::UsageText(std::filesystem::path(argv[0]).filename().string()).c_str(),
                       stdout);
            return 0;
        case vexlo::EarlyRequest::Version:
            std::printf("Vexlo %s\n", VEXLO_VERSION);
            return 0;
        case vexlo::EarlyRequest::None:
            break;
    }

    // The platform is handed to Qt as "-platform NAME" rather than through
    // the environment, so that programs Vexlo starts (a picture viewer) make
    // their own choice.
    std::vector<char*> qtArgv(argv, argv + argc);
    std::string platformOption = "-platform";
    std::string platformName;
#if defined(__unix__) && !defined(__APPLE__)
    const vexlo::Environment env = vexlo::CurrentEnvironment();
    const vexlo::StartupSession session = vexlo::ChooseStartupSession(
        env, PlatformArgument(given), vexlo::CommandNeedsScreen(given), WaylandPluginFound(env));
    if (!session.error.empty()) {
        vexlo::ReportError(QString::fromUtf8(session.error.c_str()));
        return 1;
    }
    if (session.headless) {
        return AddFolderWithoutScreen(argc, argv, given);
    }
    platformName = session.qtPlatform;
    if (!platformName.empty() && !qtArgv.empty()) {
        qtArgv.insert(qtArgv.begin() + 1, {platformOption.data(), platformName.data()});
    }
#endif
    int qtArgc = static_cast<int>(qtArgv.size());
    qtArgv.push_back(nullptr);

#if defined(__unix__) && !defined(__APPLE__)
    // A start that shows a window reads the font configuration on a thread
    // of its own meanwhile (fontconfig is thread-safe): Qt, connecting to the
    // display, finds it ready when the first text is measured.
    std::jthread fontWarmUp;
    if (!vexlo::EndsBeforeEventLoop(given) && !vexlo::IsNextCommand(given)) {
        fontWarmUp = std::jthread([] { FcInit(); });
    }
#endif
    // "apply FILE": the picture is copied and decoded while Qt connects to
    // the display. A start that cannot tell its folder yet reads it later.
    std::optional<vexlo::DecodeAhead> ahead;
    if (const std::optional<std::string> picture = vexlo::ApplyOperand(given)) {
        try {
            ahead.emplace(*picture, PrepareProgramFolder(vexlo::ReadProcessContext()));
        } catch (const std::exception&) {
            // Without a folder yet, the apply reads its picture itself.
        }
    }
    vexlo::GuardedApplication app(qtArgc, qtArgv.data());
    QApplication::setApplicationName(QStringLiteral("Vexlo"));
    QApplication::setApplicationVersion(QStringLiteral(VEXLO_VERSION));
    // Taskbars and Wayland sessions match the window to the menu entry by it.
    QApplication::setDesktopFileName(QStringLiteral("org.vexlo.Vexlo"));
    // The window only hides; the program lives in the tray until "Quit".
    QApplication::setQuitOnLastWindowClosed(false);

    // Arguments as the system gave them, less Qt's own: file names keep their
    // own bytes.
    std::vector<std::string> arguments;
    for (int i = 1; i < qtArgc; ++i) {
        arguments.emplace_back(qtArgv[static_cast<std::size_t>(i)]);
    }

    try {
        const vexlo::PlatformContext process = vexlo::ReadProcessContext();
        // Prepared once: a start that reads ahead has done it already.
        const std::string folder = ahead ? ahead->Folder() : PrepareProgramFolder(process);

        if (vexlo::IsNextCommand(arguments)) {
            // The running copy of this folder changes; none runs: this process
            // does, and ends. Never a second tray icon.
            int code = 0;
            {
                const auto channel = vexlo::CreateInstanceChannel(process, folder);
                code = vexlo::RunNextCommand(*channel, [&] {
                    const auto platform = vexlo::CreateDesktopPlatform(process);
                    vexlo::SettingsStore settings(folder + vexlo::ini::kFileName);
                    QObject owner;
                    vexlo::WidgetHost host(&owner);
                    vexlo::VexloPro(settings, *platform, host, folder).ChangeWallpaper();
                });
            }
            LeaveAtOnce(code);
        }

        std::unique_ptr<vexlo::DesktopPlatform> platform = vexlo::CreateDesktopPlatform(process);
        if (vexlo::EndsBeforeEventLoop(arguments)) {
            const int code =
                RunEndingCommand(*platform, folder, arguments, ahead ? &*ahead : nullptr);
            platform.reset();
            ahead.reset();  // a copy read ahead and not taken goes
            LeaveAtOnce(code);
        }
        vexlo::SettingsStore settings(folder + vexlo::ini::kFileName);
        vexlo::WidgetHost host(&app);
        vexlo::VexloPro engine(settings, *platform, host, folder);
        vexlo::MainFormContext context;
        context.platform = platform.get();
        context.trayShell = std::make_shared<vexlo::QtTrayShell>();
        context.programFolder = folder;
        context.executablePath = process.programFile;
        context.trayAvailable = QSystemTrayIcon::isSystemTrayAvailable();
        context.host = &host;
        context.settings = &settings;
        context.engine = &engine;

        vexlo::TfrmMain frmMain(context);
        const int result = engine.HandleCommandLine(
            arguments, [](const std::exception& error) { vexlo::ReportError(error); });
        if (result == vexlo::VexloPro::kEndProgram) {
            // Ends before the loop runs: pending icon refreshes never fire.
            return 0;
        }
        // "vexlo next" reaches this copy from now on; without a bus it goes on without.
        const auto channel = vexlo::CreateInstanceChannel(process, folder);
        channel->Listen([&frmMain]() -> std::string {
            try {
                frmMain.ChangeWallpaper1Click();
                return "";
            } catch (const std::exception& error) {
                return *error.what() != '\0' ? error.what() : "The wallpaper could not be changed.";
            }
        });
        if (result == vexlo::VexloPro::kShowWindow) {
            frmMain.ShowAndRaise();
        } else if (!context.trayAvailable) {
            // Without a notification area the window is the only way back.
            frmMain.showMinimized();
        }
        return QApplication::exec();
    } catch (const std::exception& error) {
        vexlo::ReportError(error);
        return 1;
    }
}
