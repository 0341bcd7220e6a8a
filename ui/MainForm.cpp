#include "MainForm.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QFont>
#include <QKeyEvent>
#include <QMenu>
#include <QScreen>
#include <QTreeWidget>

#include "ErrorReport.h"
#include "IconCaptionControls.h"
#include "ImageList.h"
#include "MenuPainter.h"
#include "PictureDecoding.h"
#include "QtTrayShell.h"
#include "SettingsNames.h"
#include "TrayIcon.h"
#include "WindowFont.h"
#include "lstFilesPro.h"
#include "ui_MainForm.h"

namespace vexlo {

TfrmMain::TfrmMain(const MainFormContext& context, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      ui_(std::make_unique<Ui::TfrmMain>()),
      timer_(this) {
    // The icon is decoded while the controls are made.
    ApplicationIconLoader icon;
    // The font first, so that every control is made with it rather than
    // changed to it afterwards.
    setFont(WindowFont());
    ui_->setupUi(this);
    ui_->Label1->adjustSize();  // its caption in that font, whole
    setFixedSize(678, 420);
    setWindowIcon(icon.Take());
    // The window's own background: the system button face.
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);
    // Stored state of the timer, replaced by FormCreate before it can tick.
    timer_.SetInterval(1000);
    timer_.SetEnabled(true);
    imageList_ = new ImageList(this);
    BuildMenus();
    ConnectTree();
    connect(ui_->btnClose, &QPushButton::clicked, this, Guarded(this, &TfrmMain::btnCloseClick));
    connect(ui_->btnOptions, &QPushButton::clicked, this,
            Guarded(this, &TfrmMain::btnOptionsClick));
    timer_.SetOnTimer([this] { ChangeWallpaper1Click(); });
    // Key preview: the window sees every key of its children first.
    qApp->installEventFilter(this);
    FormCreate(context);
}

TfrmMain::~TfrmMain() {
    qApp->removeEventFilter(this);
    DisconnectTree();
}

void TfrmMain::FormCreate(const MainFormContext& context) {
    programFolder_ = context.programFolder;
    executablePath_ = context.executablePath;
    platform_ = context.platform;
    trayAvailable_ = context.trayAvailable;
    host_ = context.host;
    settings_ = context.settings;
    engine_ = context.engine;
    ui_->chkPreview->setChecked(
        settings_->ReadBool(ini::kInterface, ini::kPreviewWallpapers, true));
    FillFolderTree(ui_->treeFiles, settings_->ReadSection(ini::kFolders), *imageList_);
    ApplyIconCaptionCapability();
    trayIcon_ = new TTrayIcon(this, context.trayShell);
    trayIcon_->setIcon(windowIcon());  // decoded once, for both
    trayIcon_->setToolTip(QStringLiteral("Vexlo"));
    trayIcon_->setOnDblClick([this](QObject*) { TrayIconDblClick(); });
    trayIcon_->setPopupMenu(mnuTray_);
    trayIcon_->setActive(true);
    if (auto* qtShell = dynamic_cast<QtTrayShell*>(context.trayShell.get())) {
        qtShell->ShareMenuWithHost(trayIcon_->WindowHandle(), 0, mnuTray_);
    }
    ArmTimerFromSettings();
    // The last wallpaper in the preview. A damaged file leaves the preview
    // empty with a report; start-up goes on, since the rest is needed to work.
    const std::string bitmap = engine_->WallpaperBitmap();
    if (QFileInfo(QString::fromLocal8Bit(bitmap.c_str())).isFile()) {
        RunGuarded([&] { ui_->imgPreview->SetPicture(DecodePicture(PictureKind::Bmp, bitmap)); });
    }
    // The hot key; a key held by another program is silently done without.
    // The backend calls the sink from its own event handling (a window
    // procedure on Windows), which no exception may leave: the sink reports
    // its errors itself, as every other handler does.
    if (settings_->ReadBool(ini::kHotKeys, ini::kCtrlAltC, true)) {
        platform_->RegisterGlobalHotKey([this](std::uint32_t message, std::uint64_t wParam) {
            RunGuarded([&] { HandleMessages(message, wParam); });
        });
    }
    // Screens plugged in, removed or turned: the current pictures placed again.
    engine_->FollowScreenChanges();
    // Native messages reach HandleMessages only once the window is complete.
    messagesHooked_ = true;
}

void TfrmMain::ApplyIconCaptionCapability() {
    if (!platform_->CanColourIconCaptions()) {
        QAction* item = mnuTray_->findChild<QAction*>(QStringLiteral("SetIconsTransparent1"));
        DisableIconCaptionControl(item);
        mnuTray_->setToolTipsVisible(true);
    }
}

void TfrmMain::ArmTimerFromSettings() {
    const SettingsView view = settings_->View();
    timer_.SetInterval(
        AutoChangeTimer::MinutesToInterval(view.ReadInteger(ini::kSettings, ini::kTimerTime, 10)));
    timer_.SetEnabled(view.ReadBool(ini::kSettings, ini::kUseTimer, false));
}

void TfrmMain::BuildMenus() {
    auto item = [this](QMenu* menu, const char* name, const QString& caption, int image,
                       void (TfrmMain::*handler)()) {
        QAction* action = menu->addAction(imageList_->Icon(image), caption);
        action->setObjectName(QLatin1String(name));
        action->setIconVisibleInMenu(true);
        connect(action, &QAction::triggered, this, Guarded(this, handler));
        return action;
    };
    auto separator = [](QMenu* menu, const char* name) {
        QAction* action = menu->addSeparator();
        action->setObjectName(QLatin1String(name));
    };

    mnuTray_ = new QMenu(this);
    mnuTray_->setObjectName(QStringLiteral("mnuTray"));
    item(mnuTray_, "Configuration1", QStringLiteral("Configuration"), ImageList::Configuration,
         &TfrmMain::Configuration1Click);
    item(mnuTray_, "SetIconsTransparent1", QStringLiteral("Set Icons Transparent"),
         ImageList::SetIconsTransparent, &TfrmMain::SetIconsTransparent1Click);
    item(mnuTray_, "ChangeWallpaper1", QStringLiteral("Change Wallpaper"),
         ImageList::ChangeWallpaper, &TfrmMain::ChangeWallpaper1Click);
    EnableAutochanging1 =
        item(mnuTray_, "EnableAutochanging1", QStringLiteral("Enable Autochanging"),
             ImageList::Autochanging, &TfrmMain::EnableAutochanging1Click);
    separator(mnuTray_, "N1");
    item(mnuTray_, "Quit1", QStringLiteral("Quit"), ImageList::Quit, &TfrmMain::Quit1Click);
    connect(mnuTray_, &QMenu::aboutToShow, this, Guarded(this, &TfrmMain::mnuTrayPopup));

    mnuTreeFiles_ = new QMenu(this);
    mnuTreeFiles_->setObjectName(QStringLiteral("mnuTreeFiles"));
    ApplyWallpaper1 = item(mnuTreeFiles_, "ApplyWallpaper1", QStringLiteral("Apply Wallpaper"),
                           ImageList::ApplyWallpaper, &TfrmMain::treeFilesDblClick);
    ApplyOptions1 = item(mnuTreeFiles_, "ApplyOptions1", QStringLiteral("Apply Options..."),
                         ImageList::ApplyOptions, &TfrmMain::ApplyOptions1Click);
    separator(mnuTreeFiles_, "N2");
    PreviewWallpaper1 =
        item(mnuTreeFiles_, "PreviewWallpaper1", QStringLiteral("Preview Wallpaper"),
             ImageList::PreviewWallpaper, &TfrmMain::PreviewWallpaper1Click);

    InstallMenuPainter(mnuTray_);
    InstallMenuPainter(mnuTreeFiles_);
}

void TfrmMain::ShowAndRaise() {
    if (isMinimized()) {
        setWindowState(windowState() & ~Qt::WindowMinimized);
    }
    show();
    raise();
    activateWindow();
}

void TfrmMain::showEvent(QShowEvent* event) {
    // Centred at the first showing; later showings keep the place.
    if (!placed_) {
        placed_ = true;
        if (QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect area = screen->availableGeometry();
            const QSize frame = frameGeometry().size();
            move(area.center() - QPoint(frame.width() / 2, frame.height() / 2));
        }
    }
    QWidget::showEvent(event);
}

void TfrmMain::changeEvent(QEvent* event) {
    // The version label sizes itself to its caption, whatever the face (the
    // form's controls exist once the layout is set up).
    if (event->type() == QEvent::FontChange && ui_->Label1 != nullptr) {
        ui_->Label1->adjustSize();
    }
    QWidget::changeEvent(event);
}

void TfrmMain::closeEvent(QCloseEvent* event) {
    // The window manager's close (when it offers one) only hides, like Close.
    event->ignore();
    HideWindow();
}

void TfrmMain::HideWindow() {
    if (trayAvailable_) {
        hide();
    } else {
        showMinimized();
    }
}

void TfrmMain::btnCloseClick() {
    HideWindow();
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || widget->window() != this) {
        return QWidget::eventFilter(watched, event);
    }
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        // A press taken by the tree's label editor is the editor's, not ours.
        QWidget* focus = QApplication::focusWidget();
        const bool editing =
            focus != nullptr && focus != ui_->treeFiles && ui_->treeFiles->isAncestorOf(focus);
        if (!key->isAutoRepeat()) {
            pressedKey_ = editing ? 0 : key->key();
        }
    } else if (event->type() == QEvent::KeyRelease) {
        auto* key = static_cast<QKeyEvent*>(event);
        // Only a release whose press reached this window counts: the press of
        // an Esc that closed a menu, a message box or the label editor went to
        // them, and its release must not hide the window as well.
        if (!key->isAutoRepeat() && key->key() == pressedKey_) {
            pressedKey_ = 0;
            const int code = key->key();
            const Qt::KeyboardModifiers shift = key->modifiers();
            RunGuarded([&] { FormKeyUp(code, shift); });
        }
    } else if (event->type() == QEvent::WindowDeactivate || event->type() == QEvent::FocusOut) {
        pressedKey_ = 0;
    }
    return QWidget::eventFilter(watched, event);
}

void TfrmMain::FormKeyUp(int key, Qt::KeyboardModifiers shift) {
    const Qt::KeyboardModifiers held =
        shift & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if (key == Qt::Key_P && held == Qt::ControlModifier) {
        ui_->chkPreview->toggle();
    } else if (key == Qt::Key_Escape) {
        btnCloseClick();
    }
}

}  // namespace vexlo
