// What a screen reader is told in every window, read through QAccessible after
// the texts changed, and the icon caption controls that do nothing on desktops
// drawing their own captions: disabled, saying why, their values kept.
#include <QAccessible>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSlider>
#include <QStatusBar>
#include <QTreeWidget>

#include "ApplyOptionsForm.h"
#include "IconCaptionControls.h"
#include "MainFormFixture.h"
#include "OptionsForm.h"
#include "TimerSpinBox.h"
#include "ui_ApplyOptionsForm.h"
#include "ui_OptionsForm.h"

namespace vexlo::test {
namespace {

QString Heard(QObject* widget) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    return face == nullptr ? QStringLiteral("<none>") : face->text(QAccessible::Name);
}

QString Told(QObject* widget) {
    return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Description);
}

class Accessibility : public MainFormFixture {
protected:
    std::unique_ptr<TfrmOptions> Options() {
        OptionsContext context{settings.get(), &platform, "/opt/Vexlo", {}};
        return std::make_unique<TfrmOptions>(context);
    }
    // Runs `act` on the per-item dialog of `item` while it is shown.
    void OnItemDialog(const std::string& item, std::function<void(TfrmApplyOptions&)> act) {
        WhenModal([act](QWidget* modal) {
            auto* dialog = qobject_cast<TfrmApplyOptions*>(modal);
            ASSERT_NE(dialog, nullptr);
            act(*dialog);
            if (dialog->isVisible()) {
                dialog->reject();
            }
        });
        TfrmApplyOptions::Open(nullptr, *settings, platform, item);
    }
};

TEST_F(Accessibility, ScreenReadersHearWhatEachWindowShowsNow) {
    Make();
    EXPECT_EQ(Heard(W().StatusBar1), "");
    W().StatusBar1->showMessage("800x600 | 5,913bytes | -6.667% deformation");
    EXPECT_EQ(Heard(W().StatusBar1), "800x600 | 5,913bytes | -6.667% deformation");
    EXPECT_EQ(Heard(W().Panel1), "No Image Selected");
    EXPECT_EQ(Heard(W().treeFiles), "Picture folders");
    EXPECT_EQ(Heard(W().chkPreview), "Preview images on selecting");

    platform.SetDesktopSize(1280, 1024);
    auto options = Options();
    const Ui::TfrmOptions& o = options->Form();
    o.trkSmallerTile->setValue(75);
    o.trkLargerStretch->setValue(30);
    EXPECT_EQ(Heard(o.lblTileSize), "(960x768)");
    EXPECT_EQ(Heard(o.lblSmallerTile), "75% of desktop");
    EXPECT_EQ(Heard(o.lblLargerStretchSize), "30%");
    o.trkSmallerStretch->setValue(50);  // pulls the tile bar down with it
    EXPECT_EQ(Heard(o.lblStretchSize), "(640x512)");
    EXPECT_EQ(Heard(o.lblSmallerTile), "50% of desktop");
    // Controls without a caption are named by the words beside them.
    EXPECT_EQ(Heard(o.shapeColour), "Colour:");
    EXPECT_EQ(Heard(o.spnTimer), "minutes");
    EXPECT_EQ(Heard(o.lstFolders), "Folders");
    EXPECT_EQ(Heard(o.trkSmallerTile), "Tile if less than");
    EXPECT_EQ(Heard(o.trkSmallerStretch), "Stretch if more than");
    EXPECT_EQ(Heard(o.trkLargerStretch), o.chkLargerDeformation->text());
    EXPECT_EQ(Heard(o.grpStartup), "Startup");
    EXPECT_EQ(Heard(o.chkLoad), "Load Vexlo at startup");
    EXPECT_EQ(Heard(o.Button5), "Set Now");

    TfrmApplyOptions item(*settings);
    EXPECT_EQ(Heard(item.Form().shapeColour), "Colour:");
    item.SetSectionName("Use Folders");
    EXPECT_EQ(Heard(item.Form().lblNote), item.Form().lblNote->text());
    EXPECT_TRUE(Heard(item.Form().lblNote).startsWith("\"Use Folders\" is the name"));
    EXPECT_EQ(Heard(&item), "Use Folders");
}

TEST_F(Accessibility, IconCaptionControlsSayWhyTheyDoNothingAndKeepTheirValues) {
    WriteIni(
        "[Settings]\r\nTransparent Icons=1\r\nIcon Text Colour=255\r\n"
        "[a.jpg]\r\nUse Transparent Icons=0\r\nIcon Caption=65280\r\n");
    TfrmMain& frm = Make();
    QAction* tray = frm.mnuTray()->findChild<QAction*>("SetIconsTransparent1");
    EXPECT_FALSE(tray->isEnabled());
    EXPECT_EQ(tray->toolTip(), NoIconCaptionColoursNote());

    auto options = Options();
    const Ui::TfrmOptions& o = options->Form();
    for (QWidget* control : std::initializer_list<QWidget*>{o.chkIcons, o.shapeColour, o.Change,
                                                            o.Button5, o.lblColour}) {
        EXPECT_FALSE(control->isEnabled()) << control->objectName().toStdString();
        EXPECT_EQ(Told(control), NoIconCaptionColoursNote()) << control->objectName().toStdString();
    }
    EXPECT_TRUE(o.chkIcons->isChecked());
    o.btnOK->click();
    EXPECT_EQ(settings->ReadString("Settings", "Transparent Icons", ""), "1");
    EXPECT_EQ(settings->ReadString("Settings", "Icon Text Colour", ""), "255");

    OnItemDialog("a.jpg", [](TfrmApplyOptions& d) {
        for (QWidget* control : std::initializer_list<QWidget*>{
                 d.Form().chkIcons, d.Form().shapeColour, d.Form().Change, d.Form().lblColour}) {
            EXPECT_FALSE(control->isEnabled()) << control->objectName().toStdString();
            EXPECT_EQ(Told(control), NoIconCaptionColoursNote());
        }
        EXPECT_TRUE(d.Form().rbCentre->isEnabled());
        d.Form().btnOK->click();
    });
    EXPECT_EQ(settings->ReadString("a.jpg", "Use Transparent Icons", ""), "0");
    EXPECT_EQ(settings->ReadString("a.jpg", "Icon Caption", ""), "65280");

    // Where the desktop keeps an icon list, every control works.
    options.reset();
    platform.SetCanColourIconCaptions(true);
    TfrmMain& windows = Make();
    EXPECT_TRUE(windows.mnuTray()->findChild<QAction*>("SetIconsTransparent1")->isEnabled());
    options = Options();
    EXPECT_TRUE(options->Form().Button5->isEnabled());
    EXPECT_TRUE(options->Form().chkIcons->isEnabled());
    EXPECT_TRUE(options->Form().Button5->toolTip().isEmpty());
    OnItemDialog("a.jpg", [](TfrmApplyOptions& d) { EXPECT_TRUE(d.Form().Change->isEnabled()); });
}

}  // namespace
}  // namespace vexlo::test
