// The shortcut portal against the real services on a bus of the test's own:
// xdg-desktop-portal with its KDE backend and kglobalaccel, all started by
// D-Bus activation, headless. A press is made through kglobalaccel itself.
#include <gtest/gtest.h>

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QTest>
#include <filesystem>

#include "CreateDesktopPlatform.h"
#include "VexloError.h"
#include "shared/SessionBus.h"
#include "shortcut/PortalShortcut.h"
#include "support/GuardedApplication.h"
#include "support/PrivateSession.h"

namespace vexlo {
namespace {

constexpr int kWaitMs = 20000;

class PortalTest : public testing::Test {
protected:
    PortalTest()
        : session_(Environment{{"XDG_CURRENT_DESKTOP", "KDE"}, {"QT_QPA_PLATFORM", "offscreen"}}),
          bus_(session_.Env()) {}

    void SetUp() override {
        for (const char* service :
             {"org.freedesktop.portal.Desktop", "org.freedesktop.impl.portal.desktop.kde",
              "org.kde.kglobalaccel"}) {
            if (!std::filesystem::exists(std::string("/usr/share/dbus-1/services/") + service +
                                         ".service")) {
                GTEST_SKIP() << service << " is not installed (scripts/setup installs it)";
            }
        }
        ASSERT_TRUE(bus_.IsConnected());
    }

    void TearDown() override { session_.StopServices(); }

    QDBusMessage Call(const QDBusMessage& message) {
        return bus_.Connection().call(message, QDBus::Block, kWaitMs);
    }

    // Presses the portal's shortcut of the session whose token is given, as
    // kglobalaccel does for the key.
    void Press(const QString& sessionToken) {
        const QDBusMessage all = Call(QDBusMessage::createMethodCall(
            "org.kde.kglobalaccel", "/kglobalaccel", "org.kde.KGlobalAccel", "allComponents"));
        QString component;
        for (const QDBusObjectPath& path :
             qdbus_cast<QList<QDBusObjectPath>>(all.arguments().value(0))) {
            if (path.path().contains(sessionToken)) {
                component = path.path();
            }
        }
        ASSERT_FALSE(component.isEmpty()) << "no kglobalaccel component for the session";
        QDBusMessage invoke = QDBusMessage::createMethodCall(
            "org.kde.kglobalaccel", component, "org.kde.kglobalaccel.Component", "invokeShortcut");
        invoke << QString::fromLatin1(kPortalShortcutId);
        const QDBusMessage reply = Call(invoke);
        ASSERT_NE(reply.type(), QDBusMessage::ErrorMessage) << reply.errorMessage().toStdString();
    }

    static void WaitBound(const PortalShortcut& shortcut) {
        (void)QTest::qWaitFor([&] { return shortcut.Bound() || !shortcut.Failure().empty(); },
                              kWaitMs);
        ASSERT_TRUE(shortcut.Bound()) << shortcut.Failure();
    }

    test::PrivateSession session_;
    SessionBus bus_;
};

TEST_F(PortalTest, EachPressOfTheSessionsShortcutReachesItsSinkAndNoOtherSession) {
    ASSERT_TRUE(PortalShortcut::Offered(session_.Env(), kWaitMs));
    std::vector<std::pair<std::uint32_t, std::uint64_t>> presses;
    int otherPresses = 0;
    PortalShortcut shortcut(session_.Env());
    PortalShortcut other(session_.Env());
    ASSERT_TRUE(shortcut.Register(
        [&](std::uint32_t message, std::uint64_t id) { presses.emplace_back(message, id); }));
    ASSERT_TRUE(other.Register([&](std::uint32_t, std::uint64_t) { ++otherPresses; }));
    WaitBound(shortcut);
    WaitBound(other);
    EXPECT_FALSE(shortcut.SessionHandle().isEmpty());
    EXPECT_NE(shortcut.SessionHandle(), other.SessionHandle());

    Press(shortcut.SessionToken());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !presses.empty(); }, kWaitMs));
    QTest::qWait(200);
    EXPECT_EQ(presses,
              (std::vector<std::pair<std::uint32_t, std::uint64_t>>{{kWmHotKey, kHotKeyId}}));
    EXPECT_EQ(otherPresses, 0);
}

TEST_F(PortalTest, TheProgramsPlatformTakesThePortalInAWaylandSession) {
    Environment env = session_.Env();
    env["WAYLAND_DISPLAY"] = "wayland-test";
    env["VEXLO_REGISTRY_DIR"] = session_.Dir().Sub("registry");
    const std::unique_ptr<DesktopPlatform> platform =
        CreateDesktopPlatform({.env = env, .eventLoop = true});
    int presses = 0;
    bool fail = true;
    ASSERT_TRUE(platform->RegisterGlobalHotKey([&](std::uint32_t, std::uint64_t) {
        ++presses;
        if (fail) {
            fail = false;
            throw VexloError("the change failed");
        }
    }));
    EXPECT_EQ(platform->GlobalHotKeyNote(), "");
    // The portal's components in kglobalaccel: ours is the only one.
    QString token;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            const QDBusMessage all = Call(QDBusMessage::createMethodCall(
                "org.kde.kglobalaccel", "/kglobalaccel", "org.kde.KGlobalAccel", "allComponents"));
            for (const QDBusObjectPath& path :
                 qdbus_cast<QList<QDBusObjectPath>>(all.arguments().value(0))) {
                if (path.path().contains("vexlo")) {
                    token = path.path().mid(path.path().indexOf("vexlo"));
                }
            }
            return !token.isEmpty();
        },
        kWaitMs));
    QTest::qWait(500);  // the bind's answer
    // A failing change reaches the application's error report; the key stays.
    Press(token);
    ASSERT_TRUE(QTest::qWaitFor([&] { return presses == 1; }, kWaitMs));
    EXPECT_EQ(test::GuardedApplication::TakeErrors(),
              std::vector<std::string>{"the change failed"});
    Press(token);
    EXPECT_TRUE(QTest::qWaitFor([&] { return presses == 2; }, kWaitMs));
}

TEST_F(PortalTest, APortalWithoutAShortcutBackendIsNotOffered) {
    // A portal that finds no backend at all, as on a desktop without one.
    test::PrivateSession plain(Environment{{"QT_QPA_PLATFORM", "offscreen"},
                                           {"XDG_DESKTOP_PORTAL_DIR", session_.Dir().Sub("none")}});
    EXPECT_FALSE(PortalShortcut::Offered(plain.Env(), kWaitMs));
    PortalShortcut shortcut(plain.Env());
    ASSERT_TRUE(shortcut.Register([](std::uint32_t, std::uint64_t) {}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !shortcut.Failure().empty(); }, kWaitMs));
    EXPECT_FALSE(shortcut.Bound());
    plain.StopServices();
}

}  // namespace
}  // namespace vexlo
