// The Qt shell in a real notification area: trayer, an XEmbed tray host,
// under an Xvfb of the test's own.
#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "ChildProcess.h"
#include "Environment.h"
#include "PrivateXMain.h"
#include "QtTrayShell.h"
#include "TestRun.h"
#include "TrayTestSupport.h"

namespace vexlo::test {
namespace {

std::string gDisplay;
constexpr int kWaitMs = 30000;

// Looks at the window tree through a connection of its own.
class XInspector {
public:
    XInspector() : c_(xcb_connect(gDisplay.c_str(), nullptr)) {
        if (xcb_connection_has_error(c_)) {
            xcb_disconnect(c_);
            throw std::runtime_error("Cannot connect to " + gDisplay);
        }
        root_ = xcb_setup_roots_iterator(xcb_get_setup(c_)).data->root;
    }
    ~XInspector() { xcb_disconnect(c_); }
    XInspector(const XInspector&) = delete;
    XInspector& operator=(const XInspector&) = delete;

    xcb_atom_t Atom(const char* name) {
        auto* reply = xcb_intern_atom_reply(
            c_, xcb_intern_atom(c_, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
        const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
        std::free(reply);
        return atom;
    }

    // The window that holds the notification area of screen 0.
    xcb_window_t TrayOwner() {
        auto* reply = xcb_get_selection_owner_reply(
            c_, xcb_get_selection_owner(c_, Atom("_NET_SYSTEM_TRAY_S0")), nullptr);
        const xcb_window_t owner = reply ? reply->owner : XCB_NONE;
        std::free(reply);
        return owner;
    }

    // The child of the root that holds w (w itself when not reparented); 0
    // when w does not exist.
    xcb_window_t TopLevelOf(xcb_window_t w) {
        while (w != XCB_NONE) {
            auto* reply = xcb_query_tree_reply(c_, xcb_query_tree(c_, w), nullptr);
            if (!reply) {
                return XCB_NONE;
            }
            const xcb_window_t parent = reply->parent;
            std::free(reply);
            if (parent == root_) {
                return w;
            }
            w = parent;
        }
        return XCB_NONE;
    }

    uint32_t PidOf(xcb_window_t w) {
        auto* reply = xcb_get_property_reply(
            c_, xcb_get_property(c_, 0, w, Atom("_NET_WM_PID"), XCB_ATOM_CARDINAL, 0, 1), nullptr);
        uint32_t pid = 0;
        if (reply && xcb_get_property_value_length(reply) == 4) {
            std::memcpy(&pid, xcb_get_property_value(reply), 4);
        }
        std::free(reply);
        return pid;
    }

private:
    xcb_connection_t* c_;
    xcb_window_t root_ = XCB_NONE;
};

// The X window Qt shows the tray icon in; 0 while there is none.
xcb_window_t QtIconWindow() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (std::strcmp(w->metaObject()->className(), "QSystemTrayIconSys") == 0 &&
            w->testAttribute(Qt::WA_WState_Created)) {
            return static_cast<xcb_window_t>(w->winId());
        }
    }
    return XCB_NONE;
}

class TrayX11 : public ::testing::Test {
protected:
    std::unique_ptr<ChildProcess> StartTrayHost() {
        auto host = std::make_unique<ChildProcess>(
            std::vector<std::string>{"trayer", "--edge", "top", "--expand", "false"},
            CurrentEnvironment());
        EXPECT_TRUE(QTest::qWaitFor([&] { return x.TrayOwner() != XCB_NONE; }, kWaitMs))
            << "trayer took no notification area";
        return host;
    }

    // Waits until the icon window sits inside the host's window.
    bool EmbeddedIn(const ChildProcess& host) {
        return QTest::qWaitFor(
            [&] {
                const xcb_window_t icon = QtIconWindow();
                const xcb_window_t top = x.TopLevelOf(icon);
                return icon != XCB_NONE && top != XCB_NONE && top != icon &&
                       x.PidOf(top) == static_cast<uint32_t>(host.Pid());
            },
            kWaitMs);
    }

    void Activate() {
        tray->setIcon(ColourIcon(Qt::red));
        tray->setToolTip("Vexlo");
        tray->setActive(true);
    }

    XInspector x;
    std::shared_ptr<QtTrayShell> shell = std::make_shared<QtTrayShell>();
    std::unique_ptr<TTrayIcon> tray = std::make_unique<TTrayIcon>(nullptr, shell);
};

TEST_F(TrayX11, IconIsEmbeddedInTheTrayAndLeavesWithTheComponent) {
    auto host = StartTrayHost();
    ASSERT_TRUE(QTest::qWaitFor([] { return QSystemTrayIcon::isSystemTrayAvailable(); }, kWaitMs));
    Activate();
    ASSERT_TRUE(EmbeddedIn(*host));
    const xcb_window_t icon = QtIconWindow();

    tray.reset();
    EXPECT_TRUE(QTest::qWaitFor([&] { return x.TopLevelOf(icon) == XCB_NONE; }, kWaitMs))
        << "the icon window is still there";
    EXPECT_EQ(QtIconWindow(), XCB_NONE);
    EXPECT_TRUE(host->IsRunning());
}

TEST_F(TrayX11, IconDocksWhenTheTrayStartsAfterActivation) {
    ASSERT_TRUE(QTest::qWaitFor([&] { return x.TrayOwner() == XCB_NONE; }, kWaitMs));
    Activate();
    auto host = StartTrayHost();
    EXPECT_TRUE(EmbeddedIn(*host));
    tray.reset();
    EXPECT_TRUE(QTest::qWaitFor([] { return QtIconWindow() == XCB_NONE; }, kWaitMs));
}

}  // namespace
}  // namespace vexlo::test

int main(int argc, char** argv) {
    return vexlo::test::RunWidgetTestsOnPrivateX(argc, argv, &vexlo::test::gDisplay);
}
