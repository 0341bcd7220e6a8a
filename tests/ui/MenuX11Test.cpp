// Both menus as a person sees them: popped up on an X server of the test's
// own and read back from the screen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QScreen>
#include <QTest>
#include <cstdio>

#include "MenuPainter.h"
#include "MenuTestSupport.h"
#include "PrivateXMain.h"

namespace vexlo::test {
namespace {

// Pops `menu` up with `marked` (a solid image) active or disabled; returns the
// screen once the image and the highlight show, and `marked`'s rectangle on it.
QImage ScreenWith(QMenu* menu, QAction* marked, bool disabled, QRect* rect) {
    MenuWindow::SetSolidImage(marked);
    marked->setEnabled(!disabled);
    menu->popup(QPoint(40, 30));
    EXPECT_TRUE(QTest::qWaitForWindowExposed(menu));
    menu->setActiveAction(disabled ? nullptr : marked);
    *rect = menu->actionGeometry(marked).translated(menu->geometry().topLeft());
    QImage screen;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(
                QImage::Format_RGB32);
            const bool highlighted =
                screen.pixel(rect->topLeft() + QPoint(1, 0)) == kMenuBorder.rgb();
            return AllOf(screen, QRect(rect->topLeft() + QPoint(6, 4), QSize(16, 16)),
                         kMenuImage) &&
                   highlighted != disabled;
        },
        5000));
    if (const QByteArray path = qgetenv("VEXLO_MENU_SCREENSHOT"); !path.isEmpty()) {
        screen.save(QString::fromLocal8Bit(path) + menu->objectName() + ".png");
    }
    return screen;
}

// The darkest grey level in the caption's clip.
int DarkestInk(const QImage& screen, const QRect& r) {
    int darkest = 255;
    for (int y = r.top() + 3; y <= r.bottom() - 3; ++y) {
        for (int x = r.left() + 30; x <= r.right() - 5; ++x) {
            darkest = std::min(darkest, qGray(screen.pixel(x, y)));
        }
    }
    return darkest;
}

TEST(MenuOnScreen, BothMenus) {
    MenuWindow window;
    QMenu* tray = window.Tray();
    const MenuSystemColours colours = MenuItemStyle::SystemColours(tray->palette());
    QRect r;
    QImage screen = ScreenWith(tray, MenuWindow::Action(tray, "ChangeWallpaper1"), false, &r);
    EXPECT_EQ(screen.pixelColor(r.topLeft()), colours.buttonFace);
    EXPECT_TRUE(AllOf(screen, QRect(r.left() + 1, r.top(), r.width() - 3, 1), kMenuBorder));
    EXPECT_TRUE(AllOf(screen, QRect(r.left() + 2, r.top() + 1, 4, 22), kMenuFill));
    EXPECT_LT(DarkestInk(screen, r), 60);
    const QRect plain = r.translated(0, -25);
    EXPECT_TRUE(AllOf(screen, QRect(plain.left(), plain.top(), 6, 25), colours.buttonFace));
    EXPECT_TRUE(AllOf(screen, QRect(plain.left() + 27, plain.top(), 3, 25), kMenuText));
    const QRect line =
        tray->actionGeometry(MenuWindow::Action(tray, "N1")).translated(tray->geometry().topLeft());
    EXPECT_EQ(line.height(), 8);
    EXPECT_TRUE(AllOf(screen, QRect(line.left() + 32, line.top() + 2, line.width() - 39, 2),
                      colours.buttonFace));
    EXPECT_TRUE(
        AllOf(screen, QRect(line.left() + 32, line.top() + 4, line.width() - 39, 4), kMenuText));
    tray->hide();

    QMenu* tree = window.Tree();
    screen = ScreenWith(tree, MenuWindow::Action(tree, "ApplyOptions1"), true, &r);
    EXPECT_EQ(DarkestInk(screen, r), qGray(colours.inactiveCaption.rgb()));
    tree->hide();
}

}  // namespace
}  // namespace vexlo::test

int main(int argc, char** argv) {
    return vexlo::test::RunWidgetTestsOnPrivateX(argc, argv);
}
