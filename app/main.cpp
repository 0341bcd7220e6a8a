// The program Vexlo: create the main window (which opens the settings, the
// tray icon, the timer and the hot key), carry out the command line, then run
// the event loop until "Quit".
#include <QDir>
#include <QSystemTrayIcon>
#include <memory>
#include <string>
#include <vector>

#include "CreateDesktopPlatform.h"
#include "ErrorReport.h"
#include "GuardedApplication.h"
#include "MainForm.h"
#include "ProgramFolder.h"
#include "QtTrayShell.h"
#include "files/LeftoverFiles.h"

int main(int argc, char** argv) {
    vexlo::GuardedApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vexlo"));
    QApplication::setApplicationVersion(QStringLiteral(VEXLO_VERSION));
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
        vexlo::RemoveLeftoverTemporaries(folder);

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
