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
        tray->setIcon(original);
        tray->setToolTip("Vexlo");
        for (QColor c : {Qt::red, Qt::green, Qt::blue, Qt::yellow}) {
            frames.push_back(ColourIcon(c));
        }
        images->SetIcons(frames);
        tray->setImages(images.get());
        tray->setActive(true);
        tray->setAnimateInterval(1);
    }

    int FrameOf(const QIcon& icon) const {
        for (int i = 0; i < frames.size(); ++i) {
            if (frames[i].cacheKey() == icon.cacheKey()) {
                return i;
            }
        }
        return -1;
    }
    bool ShowsOriginal() const {
        return tray->Icon().cacheKey() == original.cacheKey() &&
               (!shell->FindEntry(Window()) ||
                shell->FindEntry(Window())->icon.cacheKey() == original.cacheKey());
    }
    // The frames the shell was shown after the add, once there are n.
    std::vector<int> ShownFrames(size_t n) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return shell->Calls().size() > n; }, 20000));
        std::vector<int> shown;
        for (size_t i = 1; i <= n; ++i) {
            shown.push_back(FrameOf(shell->Calls()[i].icon));
        }
        return shown;
    }
    bool IconChanges(int count) {
        qint64 last = tray->Icon().cacheKey();
        return QTest::qWaitFor(
            [&] {
                if (tray->Icon().cacheKey() != last) {
                    last = tray->Icon().cacheKey();
                    --count;
                }
                return count <= 0;
            },
            20000);
    }

    QIcon original = ColourIcon(Qt::white);
    QList<QIcon> frames;
    std::unique_ptr<TTrayImageList> images = std::make_unique<TTrayImageList>();
};

TEST_F(TrayAnimation, StartNeedsImagesAndActivation) {
    TTrayImageList empty;
    for (TTrayImageList* list : {static_cast<TTrayImageList*>(nullptr), &empty}) {
        tray->setImages(list);
        tray->setAnimate(true);
        EXPECT_FALSE(tray->Animate());
    }
    tray->setImages(images.get());
    tray->setActive(false);
    tray->setAnimate(true);
    EXPECT_FALSE(tray->Animate());
    shell->ClearCalls();
    tray->setAnimate(false);  // nothing runs: nothing to bring back
    EXPECT_TRUE(shell->Calls().empty());
    EXPECT_TRUE(ShowsOriginal());
}

TEST_F(TrayAnimation, FramesRunFromTheSecondImageRoundToTheFirstThenTheIconComesBack) {
    tray->setAnimate(true);
    EXPECT_EQ(ShownFrames(9), (std::vector<int>{1, 2, 3, 0, 1, 2, 3, 0, 1}));
    tray->setAnimate(false);
    EXPECT_TRUE(ShowsOriginal());
}

TEST_F(TrayAnimation, OneImageShowsThatImageEveryTick) {
    images->SetIcons({frames[2]});
    tray->setAnimate(true);
    EXPECT_EQ(ShownFrames(3), (std::vector<int>{2, 2, 2}));
}

TEST_F(TrayAnimation, IconStaysUntilTheFirstTick) {
    tray->setAnimateInterval(3600 * 1000);
    tray->setAnimate(true);
    QCoreApplication::processEvents();
    EXPECT_TRUE(tray->Animate());
    EXPECT_EQ(shell->Calls().size(), 1u);
    EXPECT_TRUE(ShowsOriginal());
}

TEST_F(TrayAnimation, SecondStartKeepsTheIconToComeBackTo) {
    tray->setAnimate(true);
    ASSERT_TRUE(IconChanges(2));
    tray->setAnimate(true);
    ASSERT_TRUE(IconChanges(1));
    tray->setAnimate(false);
    EXPECT_TRUE(ShowsOriginal());
}

TEST_F(TrayAnimation, DestroyingTheImageListStopsAndRestores) {
    tray->setAnimate(true);
    ASSERT_TRUE(IconChanges(2));
    images.reset();
    EXPECT_FALSE(tray->Animate());
    EXPECT_EQ(tray->Images(), nullptr);
    EXPECT_TRUE(ShowsOriginal());
    const size_t calls = shell->Calls().size();
    QTest::qWait(20);
    EXPECT_EQ(shell->Calls().size(), calls);
}

TEST_F(TrayAnimation, ReplacedImageListIsNoLongerWatched) {
    TTrayImageList other;
    tray->setImages(&other);
    images.reset();
    EXPECT_EQ(tray->Images(), &other);
    tray->setImages(nullptr);
}

TEST_F(TrayAnimation, EmptiedOrDroppedImagesEndTheAnimationAtTheNextTick) {
    for (bool drop : {false, true}) {
        tray->setImages(images.get());
        images->SetIcons(frames);
        tray->setAnimate(true);
        ASSERT_TRUE(IconChanges(1));
        if (drop) {
            tray->setImages(nullptr);
        } else {
            images->Clear();
        }
        EXPECT_TRUE(QTest::qWaitFor([&] { return !tray->Animate(); }, 20000));
        EXPECT_TRUE(ShowsOriginal());
    }
}

TEST_F(TrayAnimation, ShrunkImageListWrapsToItsFirstImage) {
    tray->setAnimate(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return FrameOf(tray->Icon()) == 3; }, 20000));
    images->SetIcons({frames[1], frames[2]});
    shell->ClearCalls();
    ASSERT_TRUE(QTest::qWaitFor([&] { return shell->Calls().size() >= 2; }, 20000));
    EXPECT_EQ(FrameOf(shell->Calls()[0].icon), 1);  // index 0 of the new list
    EXPECT_EQ(FrameOf(shell->Calls()[1].icon), 2);
}

TEST_F(TrayAnimation, DeactivationRemovesTheEntryWhileTicksGoOnQuietly) {
    tray->setAnimate(true);
    ASSERT_TRUE(IconChanges(1));
    tray->setActive(false);
    EXPECT_EQ(shell->Calls().back().message, NIM_DELETE);
    const size_t calls = shell->Calls().size();
    ASSERT_TRUE(IconChanges(3));
    EXPECT_TRUE(tray->Animate());
    tray->setAnimate(false);
    EXPECT_TRUE(ShowsOriginal());
    EXPECT_EQ(shell->Calls().size(), calls);
    tray->setActive(true);
    EXPECT_TRUE(ShowsOriginal());
}

TEST_F(TrayAnimation, DestroyedWhileAnimatingRemovesTheEntry) {
    tray->setAnimate(true);
    ASSERT_TRUE(IconChanges(1));
    tray.reset();
    EXPECT_EQ(shell->Calls().back().message, NIM_DELETE);
    images->Clear();  // watched by no one now
}

}  // namespace
}  // namespace vexlo::test
