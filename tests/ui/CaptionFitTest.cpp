// No caption of any window is cut off, in the two faces a Linux desktop
// offers in place of MS Sans Serif: DejaVu Sans (the only one of a fresh
// Debian) and Liberation Sans (the one of its metrics).
#include <QApplication>
#include <QCheckBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <QTabBar>
#include <QTabWidget>

#include "ApplyOptionsForm.h"
#include "MainFormFixture.h"
#include "OptionsForm.h"
#include "ui_OptionsForm.h"

namespace vexlo::test {
namespace {

QString Shown(const QString& caption) {
    return QString(caption)
        .replace(QStringLiteral("&&"), QStringLiteral("\x01"))
        .remove('&')
        .replace(QChar(1), QLatin1Char('&'));
}

// "name: needed > available" for every visible caption of `window` that does not fit.
QStringList CutCaptions(QWidget* window) {
    QStringList cut;
    auto check = [&](const QWidget* w, const QString& text, int needed, int available) {
        if (needed > available) {
            cut << QStringLiteral("%1 \"%2\": %3 > %4")
                       .arg(w->objectName(), text)
                       .arg(needed)
                       .arg(available);
        }
    };
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(window)) {
            continue;
        }
        const QFontMetrics fm = w->fontMetrics();
        if (auto* label = qobject_cast<QLabel*>(w)) {
            if (!label->wordWrap() && !label->text().isEmpty()) {
                const int indent = std::max(label->indent(), 0);
                check(label, label->text(), fm.horizontalAdvance(label->text()) + indent,
                      label->contentsRect().width() - 2 * label->margin());
            }
        } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            if (button->text().isEmpty()) {
                continue;
            }
            QStyleOptionButton option;
            option.initFrom(button);
            option.text = button->text();
            const QStyle::SubElement contents =
                qobject_cast<QCheckBox*>(button)      ? QStyle::SE_CheckBoxContents
                : qobject_cast<QRadioButton*>(button) ? QStyle::SE_RadioButtonContents
                                                      : QStyle::SE_PushButtonContents;
            const QRect area = button->style()->subElementRect(contents, &option, button);
            check(button, button->text(), fm.horizontalAdvance(Shown(button->text())),
                  area.intersected(button->rect()).width());
        } else if (auto* box = qobject_cast<QGroupBox*>(w)) {
            QStyleOptionGroupBox option;
            option.initFrom(box);
            option.text = box->title();
            option.lineWidth = 1;
            option.textAlignment = box->alignment();
            option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
            const QRect label = box->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                             QStyle::SC_GroupBoxLabel, box);
            check(box, box->title(), label.right() + 1, box->width());
        } else if (auto* bar = qobject_cast<QTabBar*>(w)) {
            const int space = bar->style()->pixelMetric(QStyle::PM_TabBarTabHSpace, nullptr, bar);
            for (int i = 0; i < bar->count(); ++i) {
                check(bar, bar->tabText(i), fm.horizontalAdvance(Shown(bar->tabText(i))) + space,
                      bar->tabRect(i).width());
                check(bar, bar->tabText(i), bar->tabRect(i).right() + 1, bar->width());
            }
        }
    }
    return cut;
}

QFont InFace(QFont font, const QString& family) {
    font.setFamilies({family});
    return font;
}

// Shows `window` in the face `family`. The windows of a fixed layout set their
// own font, and get the face here; the others follow the application's font,
// which the test sets before making them.
void ShowInFace(QWidget* window, const QString& family) {
    if (window->testAttribute(Qt::WA_SetFont)) {
        window->setFont(InFace(window->font(), family));
    }
    window->show();
    QApplication::processEvents();
}

class CaptionFit : public MainFormFixture, public ::testing::WithParamInterface<const char*> {
protected:
    void SetUp() override {
        if (!QFontDatabase::hasFamily(Face())) {
            GTEST_FAIL() << Face().toStdString() << " is not installed";
        }
        QApplication::setFont(InFace(QApplication::font(), Face()));
    }
    void TearDown() override { QApplication::setFont(applicationFont_); }
    QString Face() const { return QString::fromLatin1(GetParam()); }
    void ExpectAllFit(QWidget* window) {
        ShowInFace(window, Face());
        ASSERT_TRUE(QFontInfo(window->font()).family().contains(Face(), Qt::CaseInsensitive))
            << QFontInfo(window->font()).family().toStdString();
        const QStringList cut = CutCaptions(window);
        EXPECT_TRUE(cut.isEmpty()) << window->objectName().toStdString() << ":\n"
                                   << cut.join(QLatin1Char('\n')).toStdString();
    }
    const QFont applicationFont_ = QApplication::font();
};

TEST_P(CaptionFit, EveryCaptionOfEveryWindowFits) {
    TfrmMain& frm = Make();
    // As made, in the window's own font, before any change of face.
    frm.show();
    QApplication::processEvents();
    EXPECT_EQ(CutCaptions(&frm).join(QLatin1Char('\n')).toStdString(), "");
    ExpectAllFit(&frm);

    // With the longest texts the bars' labels can show.
    platform.SetDesktopSize(7680, 4320);
    settings->WriteInteger("Smaller", "Stretch Size", 100);
    settings->WriteInteger("Smaller", "Tile Size", 100);
    settings->WriteInteger("Deform", "Size", 100);
    OptionsContext context{settings.get(), &platform, "/opt/Vexlo", {}};
    TfrmOptions options(context, &frm);
    for (int i = 0; i < options.Form().PageControl1->count(); ++i) {
        options.Form().PageControl1->setCurrentIndex(i);
        ExpectAllFit(&options);
    }

    TfrmApplyOptions item(*settings, &frm);
    item.SetSectionName("Folders");  // with its note
    ExpectAllFit(&item);
}

INSTANTIATE_TEST_SUITE_P(Faces, CaptionFit, ::testing::Values("DejaVu Sans", "Liberation Sans"),
                         [](const auto& info) {
                             return QString::fromLatin1(info.param).remove(' ').toStdString();
                         });

}  // namespace
}  // namespace vexlo::test
