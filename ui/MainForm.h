#pragma once

#include <QPoint>
#include <QString>
#include <QUrl>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "AutoChangeTimer.h"
#include "DesktopPlatform.h"
#include "EngineHost.h"
#include "SettingsStore.h"
#include "VexloPro.h"

class QAction;
class QMenu;
class QTreeWidgetItem;

namespace Ui {
class TfrmMain;
}

namespace vexlo {

class TTrayIcon;
class TrayShell;
class ImageList;

// What the main window is handed: the desktop, the notification area, the
// program folder (with a trailing separator), the executable's own path, the
// engine's host, the settings file and the engine built on them. The window
// keeps pointers only: everything here outlives it.
struct MainFormContext {
    DesktopPlatform* platform = nullptr;
    std::shared_ptr<TrayShell> trayShell;
    std::string programFolder;
    std::string executablePath;
    EngineHost* host = nullptr;
    SettingsStore* settings = nullptr;
    VexloPro* engine = nullptr;
    // False where no notification area exists: Close and Esc then minimise, so
    // the program never runs on unseen with no way back.
    bool trayAvailable = true;
};

// The main window: the picture tree with its preview, the tray icon and its
// menu, the auto-change timer and the window-wide keys. Its creation runs
// FormCreate.
class TfrmMain : public QWidget {
    Q_OBJECT
public:
    explicit TfrmMain(const MainFormContext& context, QWidget* parent = nullptr);
    ~TfrmMain() override;

    VexloPro& Engine() { return *engine_; }
    SettingsStore& Settings() { return *settings_; }
    const std::string& ProgramFolder() const { return programFolder_; }
    TTrayIcon* TrayIcon() const { return trayIcon_; }
    AutoChangeTimer& tmrWallpaperChange() { return timer_; }
    QMenu* mnuTray() const { return mnuTray_; }
    QMenu* mnuTreeFiles() const { return mnuTreeFiles_; }
    const Ui::TfrmMain& Form() const { return *ui_; }

    // Shows the window (first time centred on the screen), raised and active.
    void ShowAndRaise();

    // The application-wide hook for native messages: the hot key runs the
    // "Change Wallpaper" handler; every other message passes untouched.
    void HandleMessages(std::uint32_t message, std::uint64_t wParam);

    // Handlers of the window and the tray menu.
    void btnCloseClick();
    void btnOptionsClick();
    void TrayIconDblClick();
    void Configuration1Click();
    void SetIconsTransparent1Click();
    void ChangeWallpaper1Click();
    void EnableAutochanging1Click();
    void Quit1Click();
    void mnuTrayPopup();

    // Handlers of the tree, its menu and the preview (MainFormTree.cpp).
    void treeFilesChange();
    void treeFilesExpanding(QTreeWidgetItem* node);
    void treeFilesDblClick();
    void treeFilesKeyPress(QChar key);
    void treeFilesKeyUp(int key, Qt::KeyboardModifiers shift);
    void treeFilesEdited(QTreeWidgetItem* node, const QString& text);
    void mnuTreeFilesPopup(const QPoint& treePosition);
    void PreviewWallpaper1Click();
    void ApplyOptions1Click();

    // Opens a path with the desktop's default application, false when nothing
    // could be started; replaceable for tests.
    using DefaultOpener = std::function<bool(const QUrl& url)>;
    void SetDefaultOpener(DefaultOpener opener) { openDefault_ = std::move(opener); }
    // Where a right click on the tree opens the menu: sets it up, then shows it.
    void ShowTreeMenu();
    // The Menu key and Shift+F10: the menu at the selected node, naming it.
    void ShowTreeMenuAtSelection();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void FormCreate(const MainFormContext& context);
    void BuildMenus();
    void ConnectTree();
    void DisconnectTree();
    bool TreeEvent(QObject* watched, QEvent* event);
    // Selects `node` (if any) and names it in the first item, then enables
    // the items for the selection.
    void SetUpTreeMenu(QTreeWidgetItem* node);
    void BeginLabelEdit(QTreeWidgetItem* node);
    void EndLabelEdit();
    void FormKeyUp(int key, Qt::KeyboardModifiers shift);
    // Sets the timer from [Settings] "Timer Time" and "Use Timer".
    void ArmTimerFromSettings();
    // Hides, or minimises where there is no notification area.
    void HideWindow();
    // "Set Icons Transparent" only where the desktop lets us colour its icon captions.
    void ApplyIconCaptionCapability();

    std::unique_ptr<Ui::TfrmMain> ui_;
    EngineHost* host_ = nullptr;
    DesktopPlatform* platform_ = nullptr;
    std::string programFolder_;
    std::string executablePath_;
    SettingsStore* settings_ = nullptr;
    VexloPro* engine_ = nullptr;
    ImageList* imageList_ = nullptr;
    TTrayIcon* trayIcon_ = nullptr;
    QMenu* mnuTray_ = nullptr;
    QMenu* mnuTreeFiles_ = nullptr;
    QAction* ApplyWallpaper1 = nullptr;
    QAction* ApplyOptions1 = nullptr;
    QAction* PreviewWallpaper1 = nullptr;
    QAction* EnableAutochanging1 = nullptr;
    AutoChangeTimer timer_;
    bool trayAvailable_ = true;
    bool messagesHooked_ = false;
    bool placed_ = false;
    // A key press that reached the window while nothing else took it; an Esc
    // release counts only after its own press (one that closed a menu, a box or
    // the label editor was seen by them, not by us).
    int pressedKey_ = 0;
    // The tree's character handling (off while a label is edited) and the
    // re-entry guard of the expansion rule.
    bool keyPressAttached_ = true;
    bool expanding_ = false;
    DefaultOpener openDefault_;
};

}  // namespace vexlo
