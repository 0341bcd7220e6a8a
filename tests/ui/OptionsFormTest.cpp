// The options dialog: loading with its defaults and rules, the folder list,
// the colour dialog, saving in order with a failure midway, and the main
// window's "Options" button.
#include <gtest/gtest.h>

#include <QColorDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <limits>

#include "FakeHost.h"
#include "MainForm.h"
#include "OptionsForm.h"
#include "RecordingPlatform.h"
#include "RecordingTrayShell.h"
#include "UiTestSupport.h"
#include "WindowsColour.h"
#include "profile/ProfileFile.h"
#include "ui_MainForm.h"
#include "ui_OptionsForm.h"

namespace vexlo {
namespace {

using test::AnswerMessageBox;
using test::TakeReportedErrors;
using test::WhenModal;
constexpr const char* kExe = "/opt/my apps/Vexlo";
constexpr const char* kApplyCommandKey = "\\SOFTWARE\\Classes\\*\\shell\\Apply with Vexlo\\command";

class OptionsFormTest : public testing::Test {
protected:
    std::unique_ptr<TfrmOptions> Open() {
        OptionsContext context{&store_, &platform_, kExe, [this](QWidget*, const QString& title) {
                                   titles_ << title;
                                   auto answer = answers_.front();
                                   answers_.erase(answers_.begin());
                                   return answer;
                               }};
        return std::make_unique<TfrmOptions>(context);
    }
    void WriteIni(const std::string& text) {
        QFile file(Path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text.c_str());
    }
    std::string IniText() const {
        QFile file(Path());
        return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : "<none>";
    }
    QString Path() const { return dir_.filePath("Vexlo.ini"); }
    static QStringList Rows(const TfrmOptions& form) {
        QStringList rows;
        for (int i = 0; i < form.Form().lstFolders->count(); ++i) {
            const QListWidgetItem* row = form.Form().lstFolders->item(i);
            rows << row->text() + (row->checkState() == Qt::Checked ? " [x]" : " [ ]");
        }
        return rows;
    }

    QTemporaryDir dir_;
    SettingsStore store_{Path().toStdString()};
    RecordingPlatform platform_;
    std::vector<std::optional<std::string>> answers_;
    QStringList titles_;
};

TEST_F(OptionsFormTest, WithoutAnyFileTheDefaultsShowAndTheFirstOkWritesThemInOrder) {
    auto form = Open();
    const Ui::TfrmOptions& ui = form->Form();
    EXPECT_EQ(form->windowTitle(), "Vexlo Options");
    EXPECT_EQ(ui.PageControl1->currentIndex(), 0);
    QStringList tabs;
    for (int i = 0; i < ui.PageControl1->count(); ++i)
        tabs << ui.PageControl1->tabText(i);
    EXPECT_EQ(tabs, QStringList({" Folders ", " System ", "Applying", " Stretching ", "Screens"}));
    EXPECT_TRUE(ui.btnOK->isDefault());
    EXPECT_EQ(ui.lstFolders->count(), 0);
    EXPECT_TRUE(ui.rdoRandom->isChecked());
    EXPECT_TRUE(ui.chkUseCtrlAltC->isChecked());  // start-up registers the key without a value
    EXPECT_FALSE(ui.chkTimer->isChecked());
    EXPECT_EQ(ui.spnTimer->Value(), 10);
    EXPECT_TRUE(ui.rdoCentre->isChecked());
    EXPECT_EQ(form->SwatchColour(), kDesktopBackgroundColour);
    EXPECT_EQ(ui.shapeColour->palette().color(QPalette::Window), QColor(0x3A6EA5));
    EXPECT_EQ(ui.trkLargerStretch->value(), 15);
    EXPECT_EQ(ui.trkSmallerStretch->tickInterval(), 10);
    EXPECT_EQ(ui.lblLargerStretchSize->text(), "15%");
    EXPECT_EQ(ui.lblSmallerStretch->text(), "75% of desktop");
    EXPECT_EQ(ui.lblSmallerTile->text(), "75% of desktop");
    EXPECT_EQ(ui.lblStretchSize->text(), "(768x576)");

    auto other = Open();  // Esc cancels and writes nothing
    other->show();
    QTest::keyClick(other.get(), Qt::Key_Escape);
    EXPECT_FALSE(other->isVisible());
    EXPECT_EQ(other->result(), QDialog::Rejected);
    EXPECT_EQ(IniText(), "<none>");

    platform_.ClearCalls();
    ui.btnOK->click();
    EXPECT_EQ(form->result(), QDialog::Accepted);
    EXPECT_EQ(IniText(),
              "[Startup]\r\nChange Wallpaper=0\r\nRandom=1\r\n[HotKeys]\r\nCtrlAltC=1\r\n"
              "[Settings]\r\nUse Timer=0\r\nTimer Time=10\r\nDefault Tile Method=0\r\n"
              "Transparent Icons=0\r\nIcon Text Colour=-2147483647\r\n[Larger]\r\n"
              "Stretch Wallpaper=0\r\n[Deform]\r\nUseDeform=0\r\nSize=15\r\n[Smaller]\r\n"
              "Stretch Wallpaper=0\r\nTile Wallpaper=0\r\nStretch Size=75\r\nTile Size=75\r\n");
    EXPECT_EQ(platform_.Effects(),
              (std::vector<std::string>{
                  "DeleteRegistryValue(HKCU, \\Software\\Microsoft\\Windows\\CurrentVersion\\Run, "
                  "Vexlo)",
                  "DeleteRegistryKey(HKLM, \\SOFTWARE\\Classes\\*\\shell\\Apply with Vexlo)",
                  "DeleteRegistryKey(HKLM, \\SOFTWARE\\Classes\\Folder\\shell\\Add to Vexlo)"}));
}

TEST_F(OptionsFormTest, LoadedValuesAreClampedAndTheBarsCoupledInOrder) {
    WriteIni(
        "[Smaller]\r\nTile Size=90\r\nStretch Size=60\r\n[Deform]\r\nSize=150\r\n"
        "[Settings]\r\nDefault Tile Method=7\r\nTimer Time=5\r\n[HotKeys]\r\nCtrlAltC=0\r\n");
    auto form = Open();
    const Ui::TfrmOptions& ui = form->Form();
    EXPECT_EQ(ui.trkSmallerStretch->value(), 90);
    EXPECT_EQ(ui.trkSmallerTile->value(), 90);
    EXPECT_EQ(ui.trkLargerStretch->value(), 100);
    EXPECT_EQ(ui.lblLargerStretchSize->text(), "100%");
    EXPECT_TRUE(ui.rdoStretch->isChecked());
    EXPECT_FALSE(ui.chkUseCtrlAltC->isChecked());
    ui.spnTimer->SetValue(std::numeric_limits<std::int32_t>::max());
    ui.spnTimer->stepBy(1);  // no bound but the file's, and no overflow
    EXPECT_EQ(ui.spnTimer->Value(), std::numeric_limits<std::int32_t>::max());
    ui.spnTimer->SetValue(0);
    ui.spnTimer->stepBy(-1);
    EXPECT_EQ(ui.spnTimer->Text(), "0");
    // Typed text keeps only digits, and only a number the file can hold.
    auto* field = ui.spnTimer->findChild<QLineEdit*>();
    field->clear();
    QTest::keyClicks(field, "2x1-4 ten");
    EXPECT_EQ(ui.spnTimer->Text(), "214");
    QTest::keyClicks(field, "7483648");
    EXPECT_EQ(ui.spnTimer->Text(), "214748364");  // 2147483648 is more than the file holds
    QTest::keyClicks(field, "7");
    EXPECT_EQ(ui.spnTimer->Value(), 2147483647);
    field->clear();  // an empty field is stored, and then shown, as 0
    ui.btnOK->click();
    EXPECT_EQ(ui.spnTimer->Text(), "0");
    const SettingsView view = store_.View();
    EXPECT_EQ(view.ReadString("Smaller", "Stretch Size", ""), "90");
    EXPECT_EQ(view.ReadString("Smaller", "Tile Size", ""), "90");
    EXPECT_EQ(view.ReadString("Deform", "Size", ""), "100");
    EXPECT_EQ(view.ReadString("Settings", "Default Tile Method", ""), "2");
    EXPECT_EQ(view.ReadString("Settings", "Timer Time", ""), "0");

    WriteIni(
        "[Settings]\r\nDefault Tile Method=-5\r\n[Smaller]\r\nStretch Size=0\r\nTile Size=0\r\n"
        "[Deform]\r\nSize=0\r\n");
    platform_.SetDesktopSize(1366, 768);
    form = Open();
    EXPECT_EQ(form->Form().lblLargerStretchSize->text(), "0%");
    EXPECT_EQ(form->Form().lblSmallerStretch->text(), "0% of desktop");
    EXPECT_EQ(form->Form().lblStretchSize->text(), "(0x0)");
    EXPECT_EQ(form->Form().lblTileSize->text(), "(0x0)");
    form->Form().btnOK->click();
    EXPECT_EQ(store_.ReadString("Settings", "Default Tile Method", ""), "-1");

    // Dragging moves the other bar along; 1366 at 75% rounds to the even 1024.
    form = Open();
    form->Form().trkSmallerTile->setValue(75);
    EXPECT_EQ(form->Form().trkSmallerStretch->value(), 75);
    EXPECT_EQ(form->Form().lblStretchSize->text(), "(1024x576)");
    form->Form().trkSmallerStretch->setValue(40);
    EXPECT_EQ(form->Form().trkSmallerTile->value(), 40);
}

TEST_F(OptionsFormTest, RegistryEntriesAreRecognisedOnlyByTheirExactText) {
    platform_.PutRegistryValue(RegistryRoot::CurrentUser, kRunKey, "Vexlo", "/old/Vexlo change");
    platform_.PutRegistryValue(RegistryRoot::LocalMachine, kApplyCommandKey, "",
                               VerbCommandFor(kExe, "apply"));
    platform_.PutRegistryValue(RegistryRoot::LocalMachine,
                               "\\SOFTWARE\\Classes\\Folder\\shell\\Add to Vexlo\\command", "",
                               "\"/opt/my apps/Vexlo\" \"addfolder\" \"%1\"");
    auto form = Open();
    EXPECT_FALSE(form->Form().chkLoad->isChecked());  // the program has moved
    EXPECT_TRUE(form->Form().chkApplyWithVexlo->isChecked());
    EXPECT_FALSE(form->Form().chkAddToVexlo->isChecked());  // no blank before the quote
    form->Form().btnOK->click();
    EXPECT_FALSE(platform_.RegistryValue(RegistryRoot::CurrentUser, kRunKey, "Vexlo"));
    EXPECT_EQ(*platform_.RegistryValue(RegistryRoot::LocalMachine, kApplyCommandKey, ""),
              "\"/opt/my apps/Vexlo \" \"apply\" \"%1\"");

    form = Open();
    form->Form().chkLoad->setChecked(true);
    form->Form().chkAddToVexlo->setChecked(true);
    form->Form().btnOK->click();
    EXPECT_EQ(platform_.RegistryDump(),
              (std::vector<std::string>{
                  "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run: Vexlo=/opt/my "
                  "apps/Vexlo change",
                  "HKLM\\SOFTWARE\\Classes\\*\\shell\\Apply with Vexlo\\command: @=\"/opt/my "
                  "apps/Vexlo \" \"apply\" \"%1\"",
                  "HKLM\\SOFTWARE\\Classes\\Folder\\shell\\Add to Vexlo\\command: @=\"/opt/my "
                  "apps/Vexlo \" \"addfolder\" \"%1\""}));
}

TEST_F(OptionsFormTest, TheFolderListIsEditedAndSavedWhole) {
    WriteIni("[Folders]\r\nA=/p/A\r\nB=/p/B/\r\n[Use Folders]\r\nB=0\r\n");
    auto form = Open();
    const Ui::TfrmOptions& ui = form->Form();
    EXPECT_EQ(Rows(*form), QStringList({"/p/A/ [x]", "/p/B/ [ ]"}));
    answers_ = {"/x/Pics", std::nullopt, "/"};
    ui.btnAdd->click();
    ui.btnAdd->click();  // cancelled
    EXPECT_EQ(Rows(*form).size(), 3);
    ui.btnEdit->click();  // nothing selected: no browser
    ui.lstFolders->setCurrentRow(0);
    ui.btnEdit->click();
    EXPECT_EQ(titles_,
              QStringList({"Please select a folder to add...", "Please select a folder to add...",
                           "Please select new directory..."}));
    ui.btnMoveUp->click();  // the first row stays
    ui.btnMoveDown->click();
    EXPECT_EQ(ui.lstFolders->currentRow(), 1);
    ui.lstFolders->setCurrentRow(2);
    ui.btnMoveDown->click();  // the last row stays
    EXPECT_EQ(Rows(*form), QStringList({"/p/B/ [ ]", "/ [x]", "/x/Pics [ ]"}));
    EXPECT_TRUE(form->FoldersChanged());
    ui.btnOK->click();
    EXPECT_EQ(store_.ReadSection("Folders"), (std::vector<std::string>{"B", "", "Pics"}));
    EXPECT_EQ(store_.ReadString("Folders", "Pics", ""), "/x/Pics");
    EXPECT_EQ(store_.ReadString("Folders", "", ""), "/");
    EXPECT_FALSE(store_.ReadBool("Use Folders", "Pics", true));
}

TEST_F(OptionsFormTest, RemoveWritesAtOnceAndStaysAfterCancel) {
    WriteIni("[Folders]\r\nA=/p/A\r\nB=/p/B\r\n[Use Folders]\r\nA=1\r\nB=0\r\n");
    auto form = Open();
    form->Form().btnRemove->click();  // nothing selected: no question
    form->Form().lstFolders->setCurrentRow(1);
    QString asked;
    AnswerMessageBox(QMessageBox::No, &asked);
    form->Form().btnRemove->click();
    EXPECT_EQ(asked, "Confirm|Remove \"/p/B/\" folder from the list?");
    EXPECT_FALSE(form->FoldersChanged());
    AnswerMessageBox(QMessageBox::Yes);
    form->Form().btnRemove->click();
    EXPECT_TRUE(form->FoldersChanged());
    form->Form().btnCancel->click();
    EXPECT_EQ(IniText(), "[Folders]\r\nA=/p/A\r\n[Use Folders]\r\nA=1\r\n");
}

TEST_F(OptionsFormTest, AFailingRegistryWriteKeepsTheDialogOpenWithTheEarlierWrites) {
    platform_.FailNextRegistryWrite(RegistryRoot::LocalMachine, kApplyCommandKey, "");
    answers_ = {"/x/New"};
    auto form = Open();
    form->show();
    form->Form().btnAdd->click();
    form->Form().chkLoad->setChecked(true);
    form->Form().chkApplyWithVexlo->setChecked(true);
    form->Form().chkUseCtrlAltC->setChecked(false);
    form->Form().btnOK->click();
    EXPECT_EQ(TakeReportedErrors(), QStringList({"Failed to set data for ''"}));
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(store_.ReadString("Folders", "New", ""), "/x/New");
    EXPECT_EQ(store_.ReadString("Startup", "Random", ""), "1");
    EXPECT_TRUE(platform_.RegistryValue(RegistryRoot::CurrentUser, kRunKey, "Vexlo"));
    EXPECT_FALSE(store_.SectionExists("HotKeys"));
    form->Form().btnOK->click();  // the write goes through now
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(store_.ReadString("HotKeys", "CtrlAltC", ""), "0");
}

// Where the desktop binds the key itself (GNOME's binding), OK keeps the
// choice there; a binding that cannot be written is reported like any other
// failed write. Where the key lives in the compositor's configuration, the
// hot-key box says so.
TEST_F(OptionsFormTest, TheDesktopsOwnBindingFollowsTheBoxAndItsFailureIsReported) {
    auto plain = Open();
    EXPECT_EQ(plain->findChild<QLabel*>("lblHotkeyNote"), nullptr);
    plain->Form().btnOK->click();
    EXPECT_EQ(platform_.StoredHotKeyChoices(), std::vector<bool>{true});

    platform_.FailNextHotKeyStore("Cannot store the Ctrl+Alt+C key binding: no");
    auto form = Open();
    form->show();
    form->Form().chkUseCtrlAltC->setChecked(false);
    form->Form().btnOK->click();
    EXPECT_EQ(TakeReportedErrors(), QStringList({"Cannot store the Ctrl+Alt+C key binding: no"}));
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(store_.ReadString("HotKeys", "CtrlAltC", ""), "1");
    form->Form().btnOK->click();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(platform_.StoredHotKeyChoices(), (std::vector<bool>{true, false}));
    EXPECT_EQ(store_.ReadString("HotKeys", "CtrlAltC", ""), "0");

    platform_.SetHotKeyNote("On sway the key is bound in sway's own configuration file");
    auto noted = Open();
    const auto* note = noted->findChild<QLabel*>("lblHotkeyNote");
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(note->parentWidget(), noted->Form().grpHotkeys);
    EXPECT_EQ(note->text(), "On sway the key is bound in sway's own configuration file");
    EXPECT_EQ(note->accessibleName(), note->text());
}

TEST_F(OptionsFormTest, ASettingsWriteThatFailsIsReportedAndChangesNothing) {
    auto form = Open();
    form->show();
    form->Form().chkLoad->setChecked(true);
    // A folder where the file should be: the file cannot be written at all.
    ASSERT_TRUE(QDir().mkpath(Path()));
    form->Form().btnOK->click();
    EXPECT_EQ(TakeReportedErrors(), QStringList({"Unable to write to " + Path()}));
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(platform_.RegistryValue(RegistryRoot::CurrentUser, kRunKey, "Vexlo"));
}

TEST_F(OptionsFormTest, FoldersTheFileCannotKeepAreRefusedAtAddAndEdit) {
    WriteIni("[Folders]\r\nPics=/x/Pics\r\nB=/p/B\r\n");
    const std::string tooLong = "/" + std::string(2047, 'd');
    answers_ = {"/y/PICS", "/x/a=b", "/x/;notes", "/x/[old]", tooLong, "/q/B", "/w/Pics", "/z/Z"};
    auto form = Open();
    const Ui::TfrmOptions& ui = form->Form();
    for (int i = 0; i < 5; ++i) {
        ui.btnAdd->click();
    }
    ui.lstFolders->setCurrentRow(0);
    ui.btnEdit->click();  // to B: the other row's name
    const QStringList errors = TakeReportedErrors();
    ASSERT_EQ(errors.size(), 6);
    EXPECT_TRUE(errors[0].contains("/y/PICS") && errors[0].contains("/x/Pics/"))
        << errors[0].toStdString();
    EXPECT_TRUE(errors[1].startsWith("Cannot store the key name \"a=b\""))
        << errors[1].toStdString();
    EXPECT_TRUE(errors[2].contains("starts with \";\"")) << errors[2].toStdString();
    EXPECT_TRUE(errors[3].contains("starts with \"[\"")) << errors[3].toStdString();
    EXPECT_TRUE(errors[4].contains("2047 bytes")) << errors[4].toStdString();
    EXPECT_TRUE(errors[5].contains("/q/B") && errors[5].contains("/p/B/"))
        << errors[5].toStdString();
    EXPECT_EQ(Rows(*form), QStringList({"/x/Pics/ [x]", "/p/B/ [x]"}));
    EXPECT_FALSE(form->FoldersChanged());
    // A row may keep its own name; the list then saves whole.
    ui.btnEdit->click();
    ui.btnAdd->click();
    EXPECT_TRUE(TakeReportedErrors().isEmpty());
    ui.btnOK->click();
    EXPECT_EQ(form->result(), QDialog::Accepted);
    EXPECT_EQ(store_.ReadSection("Folders"), (std::vector<std::string>{"Pics", "B", "Z"}));
    EXPECT_EQ(store_.ReadString("Folders", "Pics", ""), "/w/Pics");
}

TEST_F(OptionsFormTest, TheColourDialogKeepsItsColoursForThisDialogOnly) {
    QColorDialog::setCustomColor(0, QColor(1, 2, 3));  // the program's own set
    platform_.SetCanColourIconCaptions(true);
    auto form = Open();
    QColor shown;
    WhenModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<QColorDialog*>(modal);
        shown = dialog->currentColor();
        QColorDialog::setCustomColor(0, QColor(9, 9, 9));
        dialog->setCurrentColor(QColor(0x12, 0x34, 0x56));
        dialog->accept();
    });
    form->Form().Change->click();
    EXPECT_EQ(shown, QColor(Qt::black));
    EXPECT_EQ(form->SwatchColour(), 0x563412u);
    EXPECT_EQ(QColorDialog::customColor(0), QColor(1, 2, 3));
    QColor custom;
    WhenModal([&](QWidget* modal) {
        shown = qobject_cast<QColorDialog*>(modal)->currentColor();
        custom = QColorDialog::customColor(0);
        qobject_cast<QColorDialog*>(modal)->reject();
    });
    form->Form().Change->click();
    EXPECT_EQ(shown, QColor(0x12, 0x34, 0x56));
    EXPECT_EQ(custom, QColor(9, 9, 9));
    EXPECT_EQ(form->SwatchColour(), 0x563412u);
    platform_.ClearCalls();
    form->Form().Button5->click();
    EXPECT_EQ(
        platform_.Effects(),
        std::vector<std::string>{"SetDesktopIconColours(0x00563412, 0x80000001, transparent)"});
    form->Form().btnOK->click();
    EXPECT_EQ(store_.ReadString("Settings", "Icon Text Colour", ""), "5649426");
    EXPECT_EQ(ColourRefToQColor(0x80000012u, QPalette()), QPalette().color(QPalette::ButtonText));
}

TEST_F(OptionsFormTest, TheMainWindowRefillsTheTreeAndRearmsTheTimerAfterTheDialog) {
    WriteIni("[Folders]\r\nA=/p/A\r\nB=/p/B\r\n");
    QDir().mkpath(dir_.filePath("prog"));
    QFile::copy(Path(), dir_.filePath("prog/Vexlo.ini"));
    const std::string program = dir_.filePath("prog/").toStdString();
    SettingsStore settings(program + "Vexlo.ini");
    test::FakeHost host;
    VexloPro engine(settings, platform_, host, program);
    MainFormContext context{
        &platform_, std::make_shared<RecordingTrayShell>(), program, kExe, &host, &settings,
        &engine};
    TfrmMain window(context);
    EXPECT_EQ(window.Form().treeFiles->topLevelItemCount(), 2);
    WhenModal([&](QWidget* modal) {
        auto* form = qobject_cast<TfrmOptions*>(modal);
        form->Form().lstFolders->setCurrentRow(0);
        AnswerMessageBox(QMessageBox::Yes);
        form->Form().btnRemove->click();
        window.Settings().WriteString("Settings", "Use Timer", "1");
        window.Settings().WriteString("Settings", "Timer Time", "5");
        form->reject();
    });
    window.btnOptionsClick();
    ASSERT_EQ(window.Form().treeFiles->topLevelItemCount(), 1);
    EXPECT_EQ(window.Form().treeFiles->topLevelItem(0)->text(0), "B");
    EXPECT_TRUE(window.tmrWallpaperChange().Enabled());
    EXPECT_EQ(window.tmrWallpaperChange().Interval(), 5 * 60000);

    // The first run: no settings file, then "addfolder" from another process
    // writes one folder; an unchanged OK shows it in the empty tree.
    QDir().mkpath(dir_.filePath("first"));
    const std::string first = dir_.filePath("first/").toStdString();
    SettingsStore firstSettings(first + "Vexlo.ini");
    VexloPro firstEngine(firstSettings, platform_, host, first);
    MainFormContext firstRun{
        &platform_,  std::make_shared<RecordingTrayShell>(), first, kExe, &host, &firstSettings,
        &firstEngine};
    TfrmMain fresh(firstRun);
    EXPECT_EQ(fresh.Form().treeFiles->topLevelItemCount(), 0);
    WriteProfileString(dir_.filePath("first/vexlo.ini").toStdString(), "Folders", "C", "/p/C/");
    WhenModal([&](QWidget* modal) { qobject_cast<TfrmOptions*>(modal)->Form().btnOK->click(); });
    fresh.btnOptionsClick();
    ASSERT_EQ(fresh.Form().treeFiles->topLevelItemCount(), 1);
    EXPECT_EQ(fresh.Form().treeFiles->topLevelItem(0)->text(0), "C");
}

// Pictures of the four tabs for a person to look at: set VEXLO_SCREENSHOTS to a folder.
TEST_F(OptionsFormTest, Screenshots) {
    const QString folder = qEnvironmentVariable("VEXLO_SCREENSHOTS");
    if (folder.isEmpty()) {
        GTEST_SKIP() << "VEXLO_SCREENSHOTS not set";
    }
    WriteIni(
        "[Folders]\r\nPictures=/home/user/Pictures\r\nHolidays=/home/user/Holidays\r\n"
        "[Use Folders]\r\nHolidays=0\r\n");
    auto form = Open();
    form->show();
    for (int i = 0; i < form->Form().PageControl1->count(); ++i) {
        form->Form().PageControl1->setCurrentIndex(i);
        QTest::qWait(20);
        EXPECT_TRUE(form->grab().save(QStringLiteral("%1/options-%2.png").arg(folder).arg(i)));
    }
}

}  // namespace
}  // namespace vexlo
