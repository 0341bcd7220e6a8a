// The main window: its layout, its creation, the tray menu, the timer and the
// window-wide keys.
#include <QAccessible>
#include <QMenu>
#include <QStatusBar>
#include <QTest>
#include <QTreeWidget>

#include "AutoChangeTimer.h"
#include "MainFormFixture.h"
#include "TrayIcon.h"

namespace vexlo::test {
namespace {

using Fixture = MainFormFixture;

QAction* Item(QMenu* menu, const char* name) {
    return menu->findChild<QAction*>(QLatin1String(name));
}

TEST_F(Fixture, LayoutNamesCaptionsAndTabOrder) {
    TfrmMain& frm = Make();
    EXPECT_EQ(frm.windowTitle(), "Vexlo");
    EXPECT_EQ(frm.minimumSize(), QSize(678, 420));
    EXPECT_EQ(frm.maximumSize(), QSize(678, 420));
    struct Expected {
        QWidget* widget;
        QRect geometry;
        QString caption;
    };
    for (const Expected& e : std::initializer_list<Expected>{
             {W().treeFiles, {8, 8, 185, 354}, "Picture folders"},
             {W().Panel1, {200, 8, 470, 354}, "No Image Selected"},
             {W().StatusBar1, {0, 401, 678, 19}, ""},
             {W().btnOptions, {8, 369, 75, 25}, "Options"},
             {W().btnClose, {594, 369, 75, 25}, "Close"},
             {W().chkPreview, {96, 375, 185, 17}, "Preview images on selecting"},
             {W().imgPreview, {4, 4, 462, 346}, "Preview"}}) {
        EXPECT_EQ(e.widget->geometry(), e.geometry) << e.widget->objectName().toStdString();
        EXPECT_EQ(QAccessible::queryAccessibleInterface(e.widget)->text(QAccessible::Name),
                  e.caption)
            << e.widget->objectName().toStdString();
    }
    EXPECT_EQ(W().Panel1->text(), "No Image Selected");
    EXPECT_EQ(W().Label1->text(), "Vexlo Version 1.3");
    EXPECT_EQ(W().Label1->pos(), QPoint(392, 376));
    EXPECT_TRUE(W().StatusBar1->currentMessage().isEmpty());
    EXPECT_EQ(W().treeFiles->indentation(), 19);
    EXPECT_FALSE(W().treeFiles->rootIsDecorated());
    QStringList tabOrder;
    for (QWidget* w = W().treeFiles; tabOrder.size() < 4; w = w->nextInFocusChain()) {
        if ((w->focusPolicy() & Qt::TabFocus) && w->window() == &frm && !w->isHidden() &&
            w->parentWidget() == &frm) {
            tabOrder << w->objectName();
        }
    }
    EXPECT_EQ(tabOrder, QStringList({"treeFiles", "btnOptions", "btnClose", "chkPreview"}));

    QStringList tray;
    for (QAction* a : frm.mnuTray()->actions()) {
        tray << (a->isSeparator() ? "-" : a->objectName() + "=" + a->text());
    }
    EXPECT_EQ(tray, QStringList({"Configuration1=Configuration",
                                 "SetIconsTransparent1=Set Icons Transparent",
                                 "ChangeWallpaper1=Change Wallpaper",
                                 "EnableAutochanging1=Enable Autochanging", "-", "Quit1=Quit"}));
    QStringList tree;
    for (QAction* a : frm.mnuTreeFiles()->actions()) {
        tree << (a->isSeparator() ? "-" : a->text());
    }
    EXPECT_EQ(tree, QStringList({"Apply Wallpaper", "Apply Options...", "-", "Preview Wallpaper"}));
}

TEST_F(Fixture, CreationWithoutSettings) {
    TfrmMain& frm = Make();
    EXPECT_TRUE(W().chkPreview->isChecked());
    EXPECT_EQ(W().treeFiles->topLevelItemCount(), 0);
    ASSERT_NE(shell->FindEntry(frm.TrayIcon()->WindowHandle()), nullptr);
    EXPECT_EQ(shell->FindEntry(frm.TrayIcon()->WindowHandle())->tip, "Vexlo");
    EXPECT_FALSE(frm.tmrWallpaperChange().Enabled());
    EXPECT_EQ(frm.tmrWallpaperChange().Interval(), 600000);
    EXPECT_TRUE(platform.HotKeyRegistered());
    EXPECT_TRUE(W().imgPreview->Picture().isNull());
    EXPECT_FALSE(frm.isVisible());
    EXPECT_TRUE(TakeReportedErrors().isEmpty());
}

TEST_F(Fixture, CreationReadsItsSettings) {
    WriteIni(
        "[Interface]\nPreview Wallpapers=0\n[Folders]\nZeta=/z\nalpha=/a\n"
        "[Settings]\nUse Timer=1\nTimer Time=0\n[Hotkeys]\nCtrlAltC=0\n");
    TfrmMain& frm = Make();
    EXPECT_FALSE(W().chkPreview->isChecked());
    ASSERT_EQ(W().treeFiles->topLevelItemCount(), 2);
    EXPECT_EQ(W().treeFiles->topLevelItem(0)->text(0), "Zeta");  // file order, unsorted
    // On, but an interval of 0 never ticks.
    EXPECT_TRUE(frm.tmrWallpaperChange().Enabled());
    EXPECT_FALSE(frm.tmrWallpaperChange().Counting());
    EXPECT_FALSE(platform.HotKeyRegistered());
    frm.mnuTrayPopup();
    EXPECT_EQ(Item(frm.mnuTray(), "EnableAutochanging1")->text(), "Disable &Autochanging");
}

TEST_F(Fixture, ASettingsFileFullOfOddTextStartsWithTheDefaults) {
    WriteIni(
        QByteArray("\xEF\xBB\xBF\0\xFF\xFE[Folders\n=no name\n[Settings]\nUse Timer=yes\n"
                   "Timer Time=-99999999999\n[Hotkeys]\nCtrlAltC=maybe\n[Interface]\n"
                   "Preview Wallpapers=\n",
                   130));
    TfrmMain& frm = Make();
    EXPECT_TRUE(TakeReportedErrors().isEmpty());
    EXPECT_TRUE(frm.TrayIcon()->Active());
    EXPECT_FALSE(frm.tmrWallpaperChange().Counting());
    W().btnClose->click();
    EXPECT_FALSE(frm.isVisible());
}

TEST_F(Fixture, StartUpPreviewOfTheLastWallpaperAndADamagedOne) {
    QImage last(40, 30, QImage::Format_RGB32);
    last.fill(Qt::red);
    ASSERT_TRUE(last.save(QString::fromStdString(Path("wallpaper.bmp")), "BMP"));
    Make();
    EXPECT_EQ(W().imgPreview->Picture().size(), QSize(40, 30));
    form.reset();

    QFile damaged(QString::fromStdString(Path("wallpaper.bmp")));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
    damaged.write("BM\x10\0\0\0garbage", 14);
    damaged.close();
    TfrmMain& frm = Make();
    // Reported, and the rest of start-up still ran.
    EXPECT_EQ(TakeReportedErrors().size(), 1);
    EXPECT_TRUE(W().imgPreview->Picture().isNull());
    EXPECT_TRUE(frm.TrayIcon()->Active());
    EXPECT_TRUE(platform.HotKeyRegistered());
}

TEST_F(Fixture, HotKeyAndTrayItemChangeTheWallpaper) {
    QDir().mkpath(dir_.path() + "/pics");
    QImage picture(16, 16, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    ASSERT_TRUE(picture.save(dir_.path() + "/pics/a.jpg"));
    WriteIni(QByteArray("[Folders]\npics=") + dir_.path().toUtf8() + "/pics\n");
    TfrmMain& frm = Make();
    ASSERT_TRUE(platform.PressHotKey());
    EXPECT_EQ(platform.LastWallpaper(), Path("wallpaper.bmp"));
    // Other native messages pass untouched.
    platform.ClearCalls();
    frm.HandleMessages(kWmHotKey, 7);
    frm.HandleMessages(0x0100, kHotKeyId);
    EXPECT_FALSE(platform.LastWallpaper());
    Item(frm.mnuTray(), "ChangeWallpaper1")->trigger();
    EXPECT_EQ(platform.LastWallpaper(), Path("wallpaper.bmp"));
    // A change that fails under the hot key is reported there, as everywhere,
    // and never thrown back into the desktop's event delivery.
    ASSERT_TRUE(QFile::remove(QString::fromStdString(Path("wallpaper.bmp"))));
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(Path("wallpaper.bmp"))));
    EXPECT_NO_THROW(platform.PressHotKey());
    EXPECT_EQ(TakeReportedErrors().size(), 1);
    EXPECT_TRUE(platform.HotKeyRegistered());
}

TEST_F(Fixture, AutochangingSwitchReReadsTheTimeAndWritesTheState) {
    TfrmMain& frm = Make();
    WriteIni("[Settings]\nTimer Time=3\n");
    QAction* item = Item(frm.mnuTray(), "EnableAutochanging1");
    item->trigger();
    EXPECT_TRUE(frm.tmrWallpaperChange().Enabled());
    EXPECT_EQ(frm.tmrWallpaperChange().Interval(), 180000);
    EXPECT_EQ(form->Settings().ReadString("Settings", "Use Timer", ""), "1");
    frm.mnuTrayPopup();
    EXPECT_EQ(item->text(), "Disable &Autochanging");
    item->trigger();
    EXPECT_FALSE(frm.tmrWallpaperChange().Enabled());
    EXPECT_EQ(form->Settings().ReadString("Settings", "Use Timer", ""), "0");
    frm.mnuTrayPopup();
    EXPECT_EQ(item->text(), "Enable &Autochanging");
}

TEST_F(Fixture, AFailingWriteIsReportedAndTheProgramGoesOn) {
    TfrmMain& frm = Make();
    // A folder where the settings file should be: no write can succeed.
    QDir().mkpath(QString::fromStdString(Path("Vexlo.ini")));
    Item(frm.mnuTray(), "EnableAutochanging1")->trigger();
    const QStringList errors = TakeReportedErrors();
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].startsWith("Unable to write to")) << errors[0].toStdString();
    Item(frm.mnuTray(), "Configuration1")->trigger();
    EXPECT_TRUE(frm.isVisible());
}

TEST_F(Fixture, CloseEscAndTheTrayShowTheWindowAgain) {
    TfrmMain& frm = Make();
    frm.ShowAndRaise();
    W().btnClose->click();
    EXPECT_FALSE(frm.isVisible());
    EXPECT_TRUE(frm.TrayIcon()->Active());
    ASSERT_TRUE(shell->SendMouse(frm.TrayIcon()->WindowHandle(), 0, 0x0203));  // double click
    EXPECT_TRUE(frm.isVisible());

    W().chkPreview->setFocus();
    QTest::keyClick(W().chkPreview, Qt::Key_Escape);
    EXPECT_FALSE(frm.isVisible());
}

TEST_F(Fixture, EscThatClosedSomethingElseDoesNotHide) {
    TfrmMain& frm = Make();
    frm.ShowAndRaise();
    // The press went to a menu (which closed); only the release reaches us.
    QTest::keyRelease(W().treeFiles, Qt::Key_Escape);
    EXPECT_TRUE(frm.isVisible());
}

TEST_F(Fixture, CtrlPTogglesThePreviewBoxOnlyWithCtrlAlone) {
    Make().ShowAndRaise();
    ASSERT_TRUE(W().chkPreview->isChecked());
    QTest::keyClick(W().btnOptions, Qt::Key_P, Qt::ControlModifier);
    EXPECT_FALSE(W().chkPreview->isChecked());
    QTest::keyClick(W().btnOptions, Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(W().btnOptions, Qt::Key_P);
    EXPECT_FALSE(W().chkPreview->isChecked());
    QTest::keyClick(W().treeFiles, Qt::Key_P, Qt::ControlModifier);
    EXPECT_TRUE(W().chkPreview->isChecked());
    EXPECT_EQ(form->Settings().ReadString("Interface", "Preview Wallpapers", "none"), "none");
}

TEST_F(Fixture, WithoutANotificationAreaCloseMinimises) {
    TfrmMain& frm = Make(false);
    frm.ShowAndRaise();
    W().btnClose->click();
    EXPECT_TRUE(frm.isVisible());
    EXPECT_TRUE(frm.isMinimized());
}

TEST(AutoChangeTimer, TheRulesQTimerDoesNotKeep) {
    AutoChangeTimer timer;
    int ticks = 0;
    timer.SetOnTimer([&] { ++ticks; });
    timer.SetEnabled(false);
    timer.SetInterval(60000);
    EXPECT_FALSE(timer.Counting());
    timer.SetEnabled(true);
    EXPECT_TRUE(timer.Counting());
    QTest::qWait(30);
    const int left = timer.RemainingMs();
    timer.SetInterval(60000);  // the same interval: the countdown goes on
    EXPECT_LE(timer.RemainingMs(), left);
    timer.SetInterval(120000);  // a new one restarts it
    EXPECT_GT(timer.RemainingMs(), 60000);

    timer.SetInterval(0);  // on, without ticks
    EXPECT_TRUE(timer.Enabled());
    EXPECT_FALSE(timer.Counting());
    timer.SetInterval(-5);
    EXPECT_EQ(timer.Interval(), 0);
    timer.SetInterval(AutoChangeTimer::MinutesToInterval(1'000'000));
    EXPECT_EQ(timer.Interval(), std::numeric_limits<int>::max());

    timer.SetInterval(10);  // periodic
    QTRY_VERIFY_WITH_TIMEOUT(ticks >= 3, 2000);
    timer.SetEnabled(false);
    const int stopped = ticks;
    QTest::qWait(40);
    EXPECT_EQ(ticks, stopped);
}

}  // namespace
}  // namespace vexlo::test
