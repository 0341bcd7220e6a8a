#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>

#include "PictureCollector.h"

namespace vexlo {
namespace {

class CollectPicturesTest : public ::testing::Test {
protected:
    std::string Root() const { return dir_.path().toStdString(); }
    void Touch(const std::string& relative) {
        const QString path = dir_.path() + "/" + QString::fromStdString(relative);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    void MakeDir(const std::string& relative) {
        ASSERT_TRUE(QDir().mkpath(dir_.path() + "/" + QString::fromStdString(relative)));
    }
    std::vector<std::string> Relative(const PictureList& list) const {
        std::vector<std::string> out;
        for (const auto& item : list.Items()) {
            out.push_back(item.substr(Root().size() + 1));
        }
        return out;
    }

    QTemporaryDir dir_;
};

TEST(RotationPictureTest, ExtensionsOfTheRotation) {
    EXPECT_TRUE(IsRotationPicture("a.jpg"));
    EXPECT_TRUE(IsRotationPicture("a.JPEG"));
    EXPECT_TRUE(IsRotationPicture("a.Bmp"));
    EXPECT_TRUE(IsRotationPicture("a.gif"));
    EXPECT_TRUE(IsRotationPicture(".jpg"));
    EXPECT_FALSE(IsRotationPicture("a.png"));
    EXPECT_FALSE(IsRotationPicture("a.jpg.txt"));
    EXPECT_FALSE(IsRotationPicture("jpg"));
    EXPECT_FALSE(IsRotationPicture("a.jpgx"));
}

TEST_F(CollectPicturesTest, SortedListOrdersWithoutCaseAndDropsCaseOnlyRepeats) {
    Touch("b.jpg");
    Touch("A.gif");
    Touch("a.GIF");
    Touch("c.png");
    Touch("sub/a2.bmp");
    Touch("notes.txt");
    PictureList list(true);
    CollectPictures(Root(), list);
    const auto items = Relative(list);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_TRUE(items[0] == "A.gif" || items[0] == "a.GIF");
    EXPECT_EQ(items[1], "b.jpg");
    EXPECT_EQ(items[2], "sub/a2.bmp");
    EXPECT_EQ(list.IndexOf(Root() + "/B.JPG"), 1);
    EXPECT_EQ(list.IndexOf(Root() + "/c.png"), -1);
}

TEST_F(CollectPicturesTest, DirectoryNamedLikeAPictureIsDescendedAndListed) {
    Touch("holiday.jpg/inside.bmp");
    PictureList list(false);
    CollectPictures(Root() + "/", list);
    const auto items = Relative(list);
    ASSERT_EQ(items.size(), 2u);
    // The subdirectory's pictures come first, then the directory itself.
    EXPECT_EQ(items[0], "holiday.jpg/inside.bmp");
    EXPECT_EQ(items[1], "holiday.jpg");
}

TEST_F(CollectPicturesTest, MissingFolderAndFileInsteadOfFolderGiveNothing) {
    Touch("file.jpg");
    PictureList list(true);
    CollectPictures(Root() + "/does-not-exist", list);
    CollectPictures(Root() + "/file.jpg", list);
    EXPECT_EQ(list.Count(), 0u);
}

TEST_F(CollectPicturesTest, SymbolicLinkLoopsEndAndEachDirectoryIsEnteredOnce) {
    Touch("a/one.jpg");
    MakeDir("a/b");
    Touch("a/b/two.jpg");
    ASSERT_EQ(symlink("..", (Root() + "/a/b/up").c_str()), 0);
    ASSERT_EQ(symlink((Root() + "/a").c_str(), (Root() + "/a/b/again.jpg").c_str()), 0);
    PictureList list(true);
    CollectPictures(Root(), list);
    const auto items = Relative(list);
    // again.jpg is a link to a directory already entered: listed by its name
    // like any entry, but not entered a second time.
    EXPECT_EQ(items, (std::vector<std::string>{"a/b/again.jpg", "a/b/two.jpg", "a/one.jpg"}));
}

TEST_F(CollectPicturesTest, LinkedFolderElsewhereIsFollowed) {
    QTemporaryDir other;
    QFile(other.path() + "/far.jpg").open(QIODevice::WriteOnly);
    ASSERT_EQ(symlink(other.path().toStdString().c_str(), (Root() + "/linked").c_str()), 0);
    PictureList list(true);
    CollectPictures(Root(), list);
    EXPECT_EQ(Relative(list), std::vector<std::string>{"linked/far.jpg"});
}

TEST_F(CollectPicturesTest, UnreadableSubfolderIsSkippedAndTheRestCollected) {
    Touch("ok/one.jpg");
    Touch("closed/two.jpg");
    Touch("zzz.jpg");
    // Root ignores permission bits, so make the folder unreadable in a way that
    // holds for root too: a dangling link where a folder was expected.
    ASSERT_EQ(symlink((Root() + "/nowhere").c_str(), (Root() + "/broken").c_str()), 0);
    chmod((Root() + "/closed").c_str(), 0);
    PictureList list(true);
    CollectPictures(Root(), list);
    chmod((Root() + "/closed").c_str(), 0755);
    const auto items = Relative(list);
    EXPECT_NE(std::find(items.begin(), items.end(), "ok/one.jpg"), items.end());
    EXPECT_NE(std::find(items.begin(), items.end(), "zzz.jpg"), items.end());
    if (geteuid() != 0) {
        EXPECT_EQ(std::find(items.begin(), items.end(), "closed/two.jpg"), items.end());
    }
}

TEST(CollectPicturesRootTest, PseudoFileSystemsAreNotEntered) {
    PictureList list(false);
    CollectPictures("/proc", list);
    CollectPictures("/sys", list);
    EXPECT_EQ(list.Count(), 0u);
}

}  // namespace
}  // namespace vexlo
