// The tray menu and its handlers, the auto-change timer and the hot key.
#include <QAction>
#include <QApplication>
#include <QMenu>

#include "MainForm.h"
#include "SettingsNames.h"
#include "TrayIcon.h"

namespace vexlo {

void TfrmMain::HandleMessages(std::uint32_t message, std::uint64_t wParam) {
    if (!messagesHooked_) {
        return;
    }
    if (message == kWmHotKey && wParam == kHotKeyId) {
        ChangeWallpaper1Click();
    }
}

void TfrmMain::TrayIconDblClick() {
    ShowAndRaise();
}

void TfrmMain::Configuration1Click() {
    ShowAndRaise();
}

void TfrmMain::SetIconsTransparent1Click() {
    engine_->RefreshIconColours();
}

void TfrmMain::ChangeWallpaper1Click() {
    engine_->ChangeWallpaper();
}

void TfrmMain::EnableAutochanging1Click() {
    timer_.SetInterval(AutoChangeTimer::MinutesToInterval(
        settings_->ReadInteger(ini::kSettings, ini::kTimerTime, 10)));
    timer_.SetEnabled(!timer_.Enabled());
    settings_->WriteBool(ini::kSettings, ini::kUseTimer, timer_.Enabled());
}

void TfrmMain::mnuTrayPopup() {
    EnableAutochanging1->setText(timer_.Enabled() ? QStringLiteral("Disable &Autochanging")
                                                  : QStringLiteral("Enable &Autochanging"));
}

void TfrmMain::Quit1Click() {
    // Nothing is written; the tray icon leaves with the window. exit(), not
    // quit(): quit() first asks every window to close, and the main window
    // only hides when asked, which would call the end off.
    QCoreApplication::exit(0);
}

}  // namespace vexlo
