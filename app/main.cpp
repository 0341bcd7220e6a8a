// The program Vexlo: create the main window (which opens the settings, the
// tray icon, the timer and the hot key), carry out the command line, then run
// the event loop until "Quit".
#include <QDir>
#include <QSystemTrayIcon>
#include <memory>
#include <string>
#include <vector>

#include "CreateDesktopPlatform.h"
#include "CreateInstanceChannel.h"
#include "ErrorReport.h"
#include "GuardedApplication.h"
#include "MainForm.h"
#include "NextCommand.h"
#include "ProgramFolder.h"
#include "QtTrayShell.h"
#include "WidgetHost.h"

int main(int argc, char** argv) {
    vexlo::GuardedApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vexlo"));
    QApplication::setApplicationVersion(QStringLiteral("1.3"));
    // Taskbars and Wayland sessions match the window to the menu entry by it.
    QApplication::setDesktopFileName(QStringLiteral("org.vexlo.Vexlo"));
    // The window only hides; the program lives in the tray until "Quit".
    QApplication::setQuitOnLastWindowClosed(false);

    // Arguments as the system gave them: file names keep their own bytes.
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.emplace_back(argv[i]);
    }

    try {
        const vexlo::PlatformContext process = vexlo::ReadProcessContext();
        vexlo::Environment env = process.env;
        env.emplace("HOME", process.homeFolder);
        const std::string executable = process.programFile;
        const std::string folder = vexlo::ProgramFolderFor(executable, env);
        QDir().mkpath(QString::fromLocal8Bit(folder.c_str()));

        if (vexlo::IsNextCommand(arguments)) {
            // The running copy of this folder changes; none runs: this process
            // does, and ends. Never a second tray icon.
            const auto channel = vexlo::CreateInstanceChannel(process, folder);
            return vexlo::RunNextCommand(*channel, [&] {
                const auto platform = vexlo::CreateDesktopPlatform(process);
                vexlo::SettingsStore settings(folder + "Vexlo.ini");
                QObject owner;
                vexlo::WidgetHost host(&owner);
                vexlo::VexloPro(settings, *platform, host, folder).ChangeWallpaper();
            });
        }

        std::unique_ptr<vexlo::DesktopPlatform> platform = vexlo::CreateDesktopPlatform(process);
        vexlo::MainFormContext context;
        context.platform = platform.get();
        context.trayShell = std::make_shared<vexlo::QtTrayShell>();
        context.programFolder = folder;
        context.executablePath = executable;
        context.trayAvailable = QSystemTrayIcon::isSystemTrayAvailable();

        vexlo::TfrmMain frmMain(context);
        const int result = frmMain.Engine().HandleCommandLine(arguments);
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
