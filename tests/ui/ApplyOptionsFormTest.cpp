// The per-item apply options dialog: what it shows for an item, what its OK
// and Delete leave in the settings file, and what the engine then does.
#include <QAccessible>
#include <QCheckBox>
#include <QColorDialog>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "ApplyOptionsForm.h"
#include "EngineFixture.h"
#include "UiTestSupport.h"

namespace vexlo::test {
namespace {

using Op = PlatformCall::Op;
using Keys = std::vector<std::string>;

// A control of the dialog by its object name.
template <class Widget>
Widget* Child(QWidget& dialog, const char* name) {
    auto* child = dialog.findChild<Widget*>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
}

struct Shown {
    bool icons = false;
    std::int32_t colour = 0;
    bool specific = false;
    int method = -9;
    QString title;
};

class ApplyOptionsFormTest : public EngineFixture {
protected:
    // Opens the dialog for `item` on `store`, runs `act` while it is shown and
    // cancels it if `act` left it open. Returns the dialog's result.
    int Open(const std::string& item, std::function<void(TfrmApplyOptions&)> act,
             SettingsStore* store = nullptr) {
        WhenModal([act](QWidget* modal) {
            auto* dialog = qobject_cast<TfrmApplyOptions*>(modal);
            if (dialog == nullptr) {
                ADD_FAILURE() << "no options dialog";
                modal->close();
                return;
            }
            act(*dialog);
            if (dialog->isVisible()) {
                dialog->reject();
            }
        });
        return TfrmApplyOptions::Open(nullptr, store ? *store : *settings, platform, item);
    }
    Shown ShownFor(const std::string& item) {
        Shown shown;
        Open(item, [&](TfrmApplyOptions& d) {
            shown = {Child<QCheckBox>(d, "chkIcons")->isChecked(), d.IconCaptionColour(),
                     Child<QCheckBox>(d, "chkUseSpecificStretching")->isChecked(),
                     d.ApplicationMethod(), d.windowTitle()};
        });
        return shown;
    }
    static void Click(QAbstractButton* button) { button->click(); }
};

TEST_F(ApplyOptionsFormTest, AnItemWithoutSectionShowsTheGlobals) {
    Shown shown = ShownFor("No files");
    EXPECT_EQ(shown.title, "No files");
    EXPECT_FALSE(shown.icons);
    EXPECT_EQ(shown.colour, 16777215);  // white, not the engine's green
    EXPECT_FALSE(shown.specific);
    EXPECT_EQ(shown.method, 0);  // Centre

    settings->WriteBool("Settings", "Transparent Icons", true);
    settings->WriteInteger("Settings", "Icon Text Colour", -2147483647);
    settings->WriteInteger("Settings", "Default Tile Method", 1);
    shown = ShownFor("Nature");
    EXPECT_TRUE(shown.icons);
    EXPECT_EQ(shown.colour, -2147483647);
    EXPECT_EQ(shown.method, 1);
}

TEST_F(ApplyOptionsFormTest, StoredStylesOutsideTheRangeAreClamped) {
    settings->WriteInteger("Nature", "Apply Method", 7);
    EXPECT_EQ(ShownFor("Nature").method, 2);  // Stretch
    settings->WriteInteger("Nature", "Apply Method", -5);
    EXPECT_EQ(ShownFor("Nature").method, -1);
    Open("Nature", [](TfrmApplyOptions& d) {
        for (auto* radio : d.findChildren<QRadioButton*>()) {
            EXPECT_FALSE(radio->isChecked()) << radio->text().toStdString();
        }
        Click(Child<QRadioButton>(d, "rbTile"));  // the group stays usable from "none"
        EXPECT_EQ(d.ApplicationMethod(), 1);
    });
}

TEST_F(ApplyOptionsFormTest, OkUnchangedWritesFourKeysAndTheRefreshUsesThem) {
    settings->WriteString("Settings", "Current Wallpaper", "a.jpg");
    engine->RefreshIconColours();
    EXPECT_TRUE(platform.CallsOf(Op::SetDesktopIconColours).empty());

    EXPECT_EQ(Open("a.jpg", [](TfrmApplyOptions& d) { Click(Child<QPushButton>(d, "btnOK")); }),
              QDialog::Accepted);
    EXPECT_EQ(settings->ReadSection("a.jpg"), Keys({"Icon Caption", "Use Transparent Icons",
                                                    "Use Specific Apply", "Apply Method"}));
    engine->RefreshIconColours();
    ASSERT_EQ(platform.CallsOf(Op::SetDesktopIconColours).size(), 1u);
    const PlatformCall call = platform.CallsOf(Op::SetDesktopIconColours)[0];
    EXPECT_EQ(call.text, 0x00FFFFFFu);
    EXPECT_EQ(call.background, 0x80000001u);
    EXPECT_FALSE(call.transparent);
}

TEST_F(ApplyOptionsFormTest, TileOnAFolderReachesEveryPictureBelowAnyFolderOfThatName) {
    Open("Nature", [](TfrmApplyOptions& d) {
        Click(Child<QRadioButton>(d, "rbTile"));
        Click(Child<QCheckBox>(d, "chkUseSpecificStretching"));
        EXPECT_EQ(d.ApplicationMethod(), 1);  // the box leaves the styles alone
        Click(Child<QPushButton>(d, "btnOK"));
    });
    QImage large(3000, 2000, QImage::Format_RGB32);
    QImage small(8, 8, QImage::Format_RGB32);
    engine->ChoosePlacement(large, Root() + "C/Nature/deep/er/big.jpg");
    EXPECT_EQ(Style(), "1");
    engine->ChoosePlacement(small, Root() + "D/nature/small.jpg");
    EXPECT_EQ(Style(), "1");
    engine->ChoosePlacement(small, Root() + "D/Nurture/small.jpg");
    EXPECT_EQ(Style(), "0");
}

TEST_F(ApplyOptionsFormTest, DeleteErasesTheSectionAndTheGlobalsShowAgain) {
    Open("Nature", [](TfrmApplyOptions& d) {
        d.SetIconCaptionColour(255);
        Click(Child<QCheckBox>(d, "chkIcons"));
        Click(Child<QPushButton>(d, "btnOK"));
    });
    settings->WriteInteger("Nature", "Desktop Background", 0);
    EXPECT_EQ(ShownFor("Nature").colour, 255);
    EXPECT_EQ(
        Open("Nature", [](TfrmApplyOptions& d) { Click(Child<QPushButton>(d, "btnDelete")); }),
        QDialog::Rejected);
    EXPECT_FALSE(settings->SectionExists("Nature"));
    const Shown shown = ShownFor("Nature");
    EXPECT_EQ(shown.colour, 16777215);
    EXPECT_FALSE(shown.icons);
}

TEST_F(ApplyOptionsFormTest, ItemsNamedLikeTheProgramsSectionsKeepThem) {
    settings->WriteInteger("Settings", "Timer Time", 5);
    Open("settings", [](TfrmApplyOptions& d) { Click(Child<QPushButton>(d, "btnOK")); });
    Open("settings", [](TfrmApplyOptions& d) { Click(Child<QPushButton>(d, "btnDelete")); });
    EXPECT_EQ(settings->ReadSection("Settings"), Keys({"Timer Time"}));

    // The folder list holds one key per folder: nothing of the item may go there.
    settings->WriteString("Folders", "Pics", "/p");
    Open("Folders", [](TfrmApplyOptions& d) {
        EXPECT_FALSE(Child<QLabel>(d, "lblNote")->isHidden());
        EXPECT_FALSE(Child<QPushButton>(d, "btnOK")->isEnabled());
        EXPECT_FALSE(Child<QPushButton>(d, "btnDelete")->isEnabled());
        d.btnOKClick();
        d.btnDeleteClick();
        EXPECT_TRUE(d.isVisible());
    });
    EXPECT_EQ(settings->ReadSection("Folders"), Keys({"Pics"}));
}

TEST_F(ApplyOptionsFormTest, AFailingWriteIsReportedAndTheDialogStaysOpen) {
    MakeFile("blocker", "not a folder");
    SettingsStore broken(Root() + "blocker/Vexlo.ini");
    bool open = false;
    Open(
        "Nature",
        [&](TfrmApplyOptions& d) {
            Click(Child<QPushButton>(d, "btnOK"));
            open = d.isVisible();
        },
        &broken);
    EXPECT_TRUE(open);
    EXPECT_EQ(TakeReportedErrors(),
              QStringList({QString::fromStdString("Unable to write to " + broken.FileName())}));
}

TEST_F(ApplyOptionsFormTest, TheColourDialogStartsBlackThenOffersTheColourChosenLast) {
    TfrmApplyOptions dialog(*settings);
    dialog.SetIconCaptionColour(16777215);
    QColor offered;
    const auto answer = [&](bool accept) {
        WhenModal([&, accept](QWidget* modal) {
            auto* colours = qobject_cast<QColorDialog*>(modal);
            if (colours == nullptr) {
                ADD_FAILURE() << "no colour dialog";
                modal->close();
                return;
            }
            offered = colours->currentColor();
            colours->setCurrentColor(QColor(0, 128, 0));
            accept ? colours->accept() : colours->reject();
        });
    };
    answer(true);
    dialog.ChangeClick();
    EXPECT_EQ(offered, QColor(Qt::black));
    EXPECT_EQ(dialog.IconCaptionColour(), 32768);

    dialog.SetIconCaptionColour(255);
    answer(false);
    dialog.ChangeClick();
    EXPECT_EQ(offered, QColor(0, 128, 0));
    EXPECT_EQ(dialog.IconCaptionColour(), 255);  // Cancel changes nothing
}

TEST_F(ApplyOptionsFormTest, ControlsCarryTheirCaptionsAndSwatchesShowSystemColours) {
    TfrmApplyOptions dialog(*settings);
    QStringList names;
    for (QWidget* widget : dialog.findChildren<QWidget*>()) {
        names << QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
    }
    for (const char* caption :
         {" On Applying Wallpaper ", "Set Desktop icon backgrounds transparent",
          "Colour:", "Change", " Set Style ", "Centre", "Tile", "Stretch",
          "Use wallpaper specific stretching", "OK", "Cancel", "Delete"}) {
        EXPECT_TRUE(names.contains(caption)) << caption;
    }
    EXPECT_TRUE(Child<QPushButton>(dialog, "btnOK")->isDefault());
    EXPECT_LT(Child<QPushButton>(dialog, "btnOK")->x(),
              Child<QPushButton>(dialog, "btnCancel")->x());
    EXPECT_LT(Child<QPushButton>(dialog, "btnCancel")->x(),
              Child<QPushButton>(dialog, "btnDelete")->x());
    // The box lies over the style group's caption without belonging to it.
    EXPECT_EQ(Child<QCheckBox>(dialog, "chkUseSpecificStretching")->parentWidget(), &dialog);
    EXPECT_TRUE(Child<QCheckBox>(dialog, "chkUseSpecificStretching")
                    ->geometry()
                    .contains(Child<QWidget>(dialog, "rgpApplicationMethod")->geometry().topLeft() +
                              QPoint(12, 4)));

    EXPECT_EQ(ScreenColour(255, dialog.palette()), QColor(255, 0, 0));
    EXPECT_EQ(ScreenColour(-2147483647, dialog.palette()), QColor(58, 110, 165));
    EXPECT_EQ(ScreenColour(static_cast<std::int32_t>(0x8000000Fu), dialog.palette()),
              dialog.palette().color(QPalette::Button));
    EXPECT_EQ(SettingsColour(QColor(1, 2, 3)), 0x030201);
}

}  // namespace
}  // namespace vexlo::test
