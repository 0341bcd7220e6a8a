// The options dialog's "Screens" tab: the drawing of what the desktop reports,
// the choice with one screen or none, and the choice in the settings file.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QFile>
#include <QLabel>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>

#include "OptionsForm.h"
#include "OptionsFormScreens.h"
#include "RecordingPlatform.h"
#include "ScreenLayoutWidget.h"
#include "ui_OptionsForm.h"
#include "ui_OptionsFormScreens.h"

namespace vexlo {
namespace {

class OptionsScreensTest : public testing::Test {
protected:
    std::unique_ptr<TfrmOptions> Open(std::vector<ScreenInfo> screens) {
        platform_.SetScreens(std::move(screens));
        return std::make_unique<TfrmOptions>(OptionsContext{&store_, &platform_, "/opt/Vexlo", {}});
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
    static QString Accessible(QWidget* widget, QAccessible::Text text = QAccessible::Name) {
        return QAccessible::queryAccessibleInterface(widget)->text(text);
    }

    QTemporaryDir dir_;
    SettingsStore store_{Path().toStdString()};
    RecordingPlatform platform_;
};

const ScreenInfo kWide{"DP-1", 0, 0, 1920, 1080, true};
const ScreenInfo kPortrait{"HDMI-1", -1080, -400, 1080, 1920, false};

TEST_F(OptionsScreensTest, TheTabFollowsTheOthersAndDrawsEveryScreenTheDesktopReports) {
    auto form = Open({kWide, kPortrait, ScreenInfo{"", 1920, 0, 1280, 1024, false}});
    QTabWidget* tabs = form->Form().PageControl1;
    ASSERT_EQ(tabs->count(), 5);
    EXPECT_EQ(tabs->tabText(4), "Screens");
    EXPECT_EQ(tabs->widget(4), &form->ScreensPage());
    EXPECT_EQ(tabs->currentIndex(), 0);
    const Ui::OptionsScreensPage& ui = form->ScreensPage().Form();
    ScreenLayoutWidget* drawing = ui.ScreenLayout;
    EXPECT_EQ(QAccessible::queryAccessibleInterface(drawing)->role(), QAccessible::Graphic);
    EXPECT_EQ(Accessible(drawing), "Screen layout");
    EXPECT_EQ(Accessible(drawing, QAccessible::Description),
              "DP-1 1920x1080 at 0,0, primary; HDMI-1 1080x1920 at -1080,-400; "
              "Screen 3 1280x1024 at 1920,0");
    EXPECT_EQ(Accessible(ui.grpWallpaper), "Wallpaper");
    EXPECT_EQ(Accessible(ui.rdoSamePicture), "The same picture on every screen");
    EXPECT_EQ(Accessible(ui.rdoDifferentPictures), "A different picture on each screen");
    EXPECT_TRUE(ui.rdoSamePicture->isChecked());
    EXPECT_TRUE(ui.rdoDifferentPictures->isEnabled());
    EXPECT_TRUE(ui.lblScreensNote->isHidden());

    // Scaled to fit, proportions kept, left of each other as on the desk.
    drawing->resize(430, 162);
    const std::vector<QRect> boxes = drawing->Boxes();
    ASSERT_EQ(boxes.size(), 3u);
    const QRect area = drawing->rect();
    for (const QRect& box : boxes) {
        EXPECT_TRUE(area.contains(box)) << box.x() << "," << box.y();
    }
    EXPECT_EQ(boxes[1].right() + 1, boxes[0].left());  // touching, no shared pixel
    EXPECT_EQ(boxes[0].right() + 1, boxes[2].left());
    EXPECT_LT(boxes[1].top(), boxes[0].top());  // the portrait screen stands higher
    EXPECT_EQ(boxes[1].width(), boxes[1].height() * 9 / 16);
    EXPECT_NEAR(boxes[0].width() * 1080.0 / 1920, boxes[0].height(), 1);
    EXPECT_EQ(boxes[1].height(), 162 - 12);  // the tallest span fills the height
    form->show();
    tabs->setCurrentIndex(4);
    EXPECT_FALSE(form->grab().isNull());  // paints every box with its text
}

TEST_F(OptionsScreensTest, WithOneScreenOrNoneTheChoiceIsShownDisabledWithANote) {
    WriteIni("[Screens]\r\nDifferent Pictures=1\r\n");
    auto form = Open({kWide, ScreenInfo{"VIRTUAL-1", 1920, 0, 0, 768, false}});
    const Ui::OptionsScreensPage* ui = &form->ScreensPage().Form();
    EXPECT_EQ(Accessible(ui->ScreenLayout, QAccessible::Description),
              "DP-1 1920x1080 at 0,0, primary");         // a screen without a size is left out
    EXPECT_TRUE(ui->rdoDifferentPictures->isChecked());  // kept for when more are connected
    EXPECT_FALSE(ui->rdoSamePicture->isEnabled());
    EXPECT_FALSE(ui->rdoDifferentPictures->isEnabled());
    EXPECT_FALSE(ui->lblScreensNote->isHidden());
    EXPECT_TRUE(ui->lblScreensNote->text().startsWith("Only one screen is connected."));
    EXPECT_EQ(Accessible(ui->lblScreensNote), ui->lblScreensNote->text());
    form->Form().btnOK->click();
    EXPECT_EQ(store_.ReadString("Screens", "Different Pictures", ""), "1");

    form = Open({});
    ui = &form->ScreensPage().Form();
    EXPECT_EQ(Accessible(ui->ScreenLayout, QAccessible::Description), "No screens");
    EXPECT_TRUE(ui->ScreenLayout->Boxes().empty());
    EXPECT_FALSE(ui->rdoSamePicture->isEnabled());
    EXPECT_EQ(ui->lblScreensNote->text(),
              "The choice applies when two or more screens are connected.");
    form->show();
    form->Form().PageControl1->setCurrentIndex(4);
    EXPECT_FALSE(form->grab().isNull());
}

TEST_F(OptionsScreensTest, TheChoiceIsWrittenOnlyWhenChangedOrAlreadyThere) {
    // An earlier file, with a [Screens] section of other keys: OK leaves it as it was.
    const std::string earlier = "[Screens]\r\nPicture DP-1=/p/a.jpg\r\n";
    WriteIni(earlier);
    auto form = Open({kWide, kPortrait});
    form->Form().btnOK->click();
    EXPECT_EQ(IniText().substr(0, earlier.size()), earlier);
    EXPECT_EQ(IniText().find("Different"), std::string::npos);

    // Chosen and chosen back: no change.
    form = Open({kWide, kPortrait});
    form->ScreensPage().Form().rdoDifferentPictures->click();
    form->ScreensPage().Form().rdoSamePicture->click();
    form->Form().btnOK->click();
    EXPECT_EQ(IniText().find("Different"), std::string::npos);

    // A different picture on each screen: stored, read back, then switched off again.
    form = Open({kWide, kPortrait});
    form->ScreensPage().Form().rdoDifferentPictures->click();
    form->Form().btnOK->click();
    EXPECT_EQ(store_.ReadString("Screens", "Different Pictures", ""), "1");
    EXPECT_EQ(store_.ReadString("Screens", "Picture DP-1", ""), "/p/a.jpg");
    form = Open({kWide, kPortrait});
    EXPECT_TRUE(form->ScreensPage().Form().rdoDifferentPictures->isChecked());
    form->ScreensPage().Form().rdoSamePicture->click();
    form->Form().btnCancel->click();
    EXPECT_EQ(store_.ReadString("Screens", "Different Pictures", ""), "1");
    form = Open({kWide, kPortrait});
    form->ScreensPage().Form().rdoSamePicture->click();
    form->Form().btnOK->click();
    EXPECT_EQ(store_.ReadString("Screens", "Different Pictures", ""), "0");

    // A key already there is written on every OK, as the other settings are.
    WriteIni("[screens]\r\ndifferent pictures=yes\r\n");
    form = Open({kWide, kPortrait});
    EXPECT_TRUE(form->ScreensPage().Form().rdoSamePicture->isChecked());
    form->Form().btnOK->click();
    const std::string rewritten = "[screens]\r\ndifferent pictures=0\r\n";
    EXPECT_EQ(IniText().substr(0, rewritten.size()), rewritten);
}

}  // namespace
}  // namespace vexlo
