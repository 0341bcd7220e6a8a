#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <memory>
#include <vector>

#include "ChildProcess.h"
#include "CreateDesktopPlatform.h"
#include "TempDir.h"
#include "VexloError.h"
#include "XServer.h"
#include "support/GuardedApplication.h"
#include "x11/X11HotKey.h"

namespace vexlo {
namespace {

class X11HotKeyTest : public testing::Test {
protected:
    static void SetUpTestSuite() { server_ = std::make_unique<test::XServer>(64, 48); }
    static void TearDownTestSuite() { server_.reset(); }

    NativeMessageSink Recorder() {
        return [this](std::uint32_t message, std::uint64_t wParam) {
            received_.emplace_back(message, wParam);
        };
    }

    void Press(const std::string& keys) {
        ASSERT_EQ(test::RunToEnd({"xdotool", "key", keys}, server_->Env()), 0);
    }

    // Lets the event loop run until `count` presses arrived, then a little
    // longer so that a surplus one would show.
    void WaitFor(std::size_t count) {
        QElapsedTimer timer;
        timer.start();
        while (received_.size() < count && timer.elapsed() < 5000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        }
        QElapsedTimer grace;
        grace.start();
        while (grace.elapsed() < 300) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        }
    }

    static std::unique_ptr<test::XServer> server_;
    std::vector<std::pair<std::uint32_t, std::uint64_t>> received_;
};

std::unique_ptr<test::XServer> X11HotKeyTest::server_;

TEST_F(X11HotKeyTest, EachPressArrivesOnceAsHotKeyMessage) {
    X11HotKey hotKey(server_->Display(), Recorder());
    ASSERT_TRUE(hotKey.Grab());
    Press("ctrl+alt+c");
    WaitFor(1);
    ASSERT_EQ(received_.size(), 1u);
    EXPECT_EQ(received_[0].first, 786u);
    EXPECT_EQ(received_[0].second, 1025u);

    Press("ctrl+alt+c");
    Press("ctrl+alt+c");
    WaitFor(3);
    EXPECT_EQ(received_.size(), 3u);
}

TEST_F(X11HotKeyTest, WorksWithNumLockAndCapsLockOn) {
    X11HotKey hotKey(server_->Display(), Recorder());
    ASSERT_TRUE(hotKey.Grab());
    Press("Num_Lock");
    Press("ctrl+alt+c");
    Press("Caps_Lock");
    Press("ctrl+alt+c");
    Press("Num_Lock");
    Press("ctrl+alt+c");
    Press("Caps_Lock");
    WaitFor(3);
    EXPECT_EQ(received_.size(), 3u);
}

TEST_F(X11HotKeyTest, OtherKeysDoNotCount) {
    X11HotKey hotKey(server_->Display(), Recorder());
    ASSERT_TRUE(hotKey.Grab());
    Press("c");
    Press("ctrl+c");
    Press("alt+c");
    Press("ctrl+alt+x");
    WaitFor(0);
    EXPECT_TRUE(received_.empty());
}

TEST_F(X11HotKeyTest, KeyHeldElsewhereFailsQuietlyAndTheHolderKeepsIt) {
    X11HotKey holder(server_->Display(), Recorder());
    ASSERT_TRUE(holder.Grab());
    std::vector<int> secondCalls;
    X11HotKey second(server_->Display(),
                     [&](std::uint32_t, std::uint64_t) { secondCalls.push_back(1); });
    EXPECT_FALSE(second.Grab());
    Press("ctrl+alt+c");
    WaitFor(1);
    EXPECT_EQ(received_.size(), 1u);
    EXPECT_TRUE(secondCalls.empty());
}

TEST_F(X11HotKeyTest, ReleasedWhenItsOwnerEnds) {
    {
        X11HotKey first(server_->Display(), Recorder());
        ASSERT_TRUE(first.Grab());
    }
    X11HotKey next(server_->Display(), Recorder());
    EXPECT_TRUE(next.Grab());
}

TEST_F(X11HotKeyTest, PlatformOfTheSessionDeliversThePress) {
    test::TempDir dir;
    Environment env = server_->Env();
    env["VEXLO_REGISTRY_DIR"] = dir.Path();
    const PlatformContext context{.env = env, .eventLoop = true};
    const std::unique_ptr<DesktopPlatform> platform = CreateDesktopPlatform(context);
    ASSERT_TRUE(platform->RegisterGlobalHotKey(Recorder()));
    const std::unique_ptr<DesktopPlatform> another = CreateDesktopPlatform(context);
    EXPECT_FALSE(another->RegisterGlobalHotKey(Recorder()));
    Press("ctrl+alt+c");
    WaitFor(1);
    EXPECT_EQ(received_.size(), 1u);
}

TEST_F(X11HotKeyTest, SinkErrorsReachTheApplicationAndTheKeyKeepsWorking) {
    test::GuardedApplication::TakeErrors();
    X11HotKey hotKey(server_->Display(), [this](std::uint32_t message, std::uint64_t wParam) {
        received_.emplace_back(message, wParam);
        throw VexloError("Cannot open file broken.jpg");
    });
    ASSERT_TRUE(hotKey.Grab());
    Press("ctrl+alt+c");
    WaitFor(1);
    Press("ctrl+alt+c");
    WaitFor(2);
    EXPECT_EQ(received_.size(), 2u);
    EXPECT_EQ(
        test::GuardedApplication::TakeErrors(),
        (std::vector<std::string>{"Cannot open file broken.jpg", "Cannot open file broken.jpg"}));
}

}  // namespace
}  // namespace vexlo
