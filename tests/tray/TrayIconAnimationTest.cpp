// The animation: when it starts, the frame order, stopping, and the image
// list going away or changing underneath it.
#include <gtest/gtest.h>

#include <QTest>

#include "TrayTestSupport.h"

namespace vexlo::test {
namespace {

class TrayAnimation : public TrayFixture {
protected:
    void SetUp() override {
        original = ColourIcon(Qt::white);
        tray->setIcon(original);
        tray->setToolTip("Vexlo");
        for (QColor c : {Qt::red, Qt::green, Qt::blue, Qt::yellow}) {
            frames.push_back(ColourIcon(c));
            images->Add(frames.back());
        }
        tray->setImages(images.get());
    }

    // Index of the frame an icon shows, -1 for none.
    int FrameOf(const QIcon& icon) const {
        for (size_t i = 0; i < frames.size(); ++i) {
            if (frames[i].cacheKey() == icon.cacheKey()) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }

    // Starts a fast animation and waits until the shell has seen n frames.
    std::vector<int> ShownFrames(size_t n) {
        tray->setAnimateInterval(1);
        tray->setAnimate(true);
        EXPECT_TRUE(QTest::qWaitFor([&] { return shell->Calls().size() >= n + 1; }, 20000));
        tray->setAnimate(false);
        std::vector<int> shown;
        for (size_t i = 1; i <= n; ++i) {
            EXPECT_EQ(shell->Calls()[i].message, NIM_MODIFY);
            shown.push_back(FrameOf(shell->Calls()[i].icon));
        }
        return shown;
    }

    // Waits until Icon has changed count times.
    bool IconChanges(int count) {
        int seen = 0;
        qint64 last = tray->Icon().cacheKey();
        return QTest::qWaitFor(
            [&] {
                if (tray->Icon().cacheKey() != last) {
                    last = tray->Icon().cacheKey();
                    ++seen;
                }
                return seen >= count;
            },
            20000);
    }

    QIcon original;
    std::vector<QIcon> frames;
    std::unique_ptr<TTrayImageList> images = std::make_unique<TTrayImageList>();
};

TEST_F(TrayAnimation, StartIsRefusedWithoutImagesEmptyImagesOrWhileInactive) {
    tray->setAnimate(true);  // inactive
    EXPECT_FALSE(tray->Animate());

    tray->setActive(true);
    tray->setImages(nullptr);
    tray->setAnimate(true);
    EXPECT_FALSE(tray->Animate());

    TTrayImageList empty;
    tray->setImages(&empty);
    tray->setAnimate(true);
    EXPECT_FALSE(tray->Animate());
    EXPECT_EQ(tray->Icon().cacheKey(), original.cacheKey());
}

TEST_F(TrayAnimation, StopWithoutAnimationLeavesIconAlone) {
    tray->setActive(true);
    shell->ClearCalls();
    tray->setAnimate(false);
    EXPECT_EQ(tray->Icon().cacheKey(), original.cacheKey());
    EXPECT_TRUE(shell->Calls().empty());
}

TEST_F(TrayAnimation, FramesRunFromTheSecondImageRoundToTheFirst) {
    tray->setActive(true);
    EXPECT_EQ(ShownFrames(9), (std::vector<int>{1, 2, 3, 0, 1, 2, 3, 0, 1}));
}

TEST_F(TrayAnimation, OneImageShowsThatImageEveryTick) {
    images->SetIcons({frames[2]});
    tray->setActive(true);
    EXPECT_EQ(ShownFrames(3), (std::vector<int>{2, 2, 2}));
}

TEST_F(TrayAnimation, IconStaysUntilTheFirstTickAndComesBackOnStop) {
    tray->setActive(true);
    shell->ClearCalls();
    tray->setAnimateInterval(3600 * 1000);
    tray->setAnimate(true);
    EXPECT_TRUE(tray->Animate());
    QCoreApplication::processEvents();
    EXPECT_TRUE(shell->Calls().empty());
    EXPECT_EQ(tray->Icon().cacheKey(), original.cacheKey());

    tray->setAnimate(false);
    EXPECT_FALSE(tray->Animate());
    EXPECT_EQ(tray->Icon().cacheKey(), original.cacheKey());
}

TEST_F(TrayAnimation, StopRestoresTheIconFromBeforeTheStart) {
    tray->setActive(true);
    ShownFrames(3);
    EXPECT_EQ(tray->Icon().cacheKey(), original.cacheKey());
    EXPECT_EQ(shell->FindEntry(Window())->icon.cacheKey(), original.cacheKey());
}

TEST_F(TrayAnimation, SecondStartKeepsTheIconToComeBackTo) {
    tray->setActive(true);
    tray->setAnimateInterval(1);
    tray->setAnimate(true);
    ASSERT_TRUE(IconChanges(2));
    tray->setAnimate(true);
    ASSERT_TRUE(IconChanges(1));
    tray->setAnimate(false);
    EXPECT_EQ(tray->Icon().cacheKey(), original.cacheKey());
}

TEST_F(TrayAnimation, DestroyingTheImageListStopsAndRestores) {
    tray->setActive(true);
    tray->setAnimateInterval(1);
    tray->setAnimate(true);
    ASSERT_TRUE(IconChanges(2));
    images.reset();
    EXPECT_FALSE(tray->Animate());
    EXPECT_EQ(tray->Images(), nullptr);
    EXPECT_EQ(tray->Icon().cacheKey(), original.cacheKey());
    EXPECT_EQ(shell->FindEntry(Window())->icon.cacheKey(), original.cacheKey());
    const size_t calls = shell->Calls().size();
    QTest::qWait(20);
    EXPECT_EQ(shell->Calls().size(), calls);
}

TEST_F(TrayAnimation, DestroyingAnIdleImageListOnlyClearsTheReference) {
    tray->setActive(true);
    shell->ClearCalls();
    images.reset();
    EXPECT_EQ(tray->Images(), nullptr);
    EXPECT_TRUE(shell->Calls().empty());
}

TEST_F(TrayAnimation, ReplacedImageListIsNoLongerWatched) {
    TTrayImageList other;
    other.Add(frames[0]);
    tray->setImages(&other);
    images.reset();
    EXPECT_EQ(tray->Images(), &other);
    tray->setImages(nullptr);
}

TEST_F(TrayAnimation, EmptiedImageListEndsTheAnimationAtTheNextTick) {
    tray->setActive(true);
    tray->setAnimateInterval(1);
    tray->setAnimate(true);
    ASSERT_TRUE(IconChanges(1));
    images->Clear();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !tray->Animate(); }, 20000));
    EXPECT_EQ(tray->Icon().cacheKey(), original.cacheKey());
    EXPECT_EQ(tray->Images(), images.get());
}

TEST_F(TrayAnimation, ClearedImagesReferenceEndsTheAnimationAtTheNextTick) {
    tray->setActive(true);
    tray->setAnimateInterval(1);
    tray->setAnimate(true);
    ASSERT_TRUE(IconChanges(1));
    tray->setImages(nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !tray->Animate(); }, 20000));
    EXPECT_EQ(tray->Icon().cacheKey(), original.cacheKey());
}

TEST_F(TrayAnimation, ShrunkImageListWrapsToItsFirstImage) {
    tray->setActive(true);
    tray->setAnimateInterval(1);
    tray->setAnimate(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return FrameOf(tray->Icon()) == 3; }, 20000));
    images->SetIcons({frames[1], frames[2]});
    shell->ClearCalls();
    ASSERT_TRUE(QTest::qWaitFor([&] { return shell->Calls().size() >= 2; }, 20000));
    EXPECT_EQ(FrameOf(shell->Calls()[0].icon), 1);  // index 0 of the new list
    EXPECT_EQ(FrameOf(shell->Calls()[1].icon), 2);
}

TEST_F(TrayAnimation, DeactivationRemovesTheEntryWhileTicksGoOnQuietly) {
    tray->setActive(true);
    tray->setAnimateInterval(1);
    tray->setAnimate(true);
    ASSERT_TRUE(IconChanges(1));
    tray->setActive(false);
    EXPECT_EQ(shell->Calls().back().message, NIM_DELETE);
    const size_t calls = shell->Calls().size();
    ASSERT_TRUE(IconChanges(3));
    EXPECT_TRUE(tray->Animate());
    EXPECT_EQ(shell->Calls().size(), calls);

    tray->setAnimate(false);
    EXPECT_EQ(tray->Icon().cacheKey(), original.cacheKey());
    EXPECT_EQ(shell->Calls().size(), calls);

    tray->setActive(true);
    EXPECT_EQ(shell->FindEntry(Window())->icon.cacheKey(), original.cacheKey());
}

TEST_F(TrayAnimation, DestroyedWhileAnimatingRemovesTheEntry) {
    tray->setActive(true);
    tray->setAnimateInterval(1);
    tray->setAnimate(true);
    ASSERT_TRUE(IconChanges(1));
    tray.reset();
    EXPECT_EQ(shell->Calls().back().message, NIM_DELETE);
    EXPECT_EQ(shell->EntryCount(), 0u);
    images->Clear();  // no longer watched by anyone
}

}  // namespace
}  // namespace vexlo::test
