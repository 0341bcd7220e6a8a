// Writes that cannot happen: a clear message, and the file as it was.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <csignal>

#include "ErrorText.h"
#include "FileHelpers.h"
#include "VexloError.h"
#include "profile/ProfileFile.h"

namespace vexlo {
namespace {

using test::Entries;
using test::ErrorOf;
using test::ReadBytes;
using test::WriteBytes;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

std::string Full(const QString& path) {
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()).toStdString();
}

// While alive, no file of this process may grow beyond `bytes`: the file system
// refuses the rest as a full disk would, also for root.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit saved_{};
    void (*previous_)(int) = nullptr;
};

class ProfileFileFailure : public ::testing::Test {
protected:
    QTemporaryDir dir;
};

TEST_F(ProfileFileFailure, FolderThatIsAFile) {
    const QString blocker = dir.filePath("program");
    WriteBytes(blocker, "not a folder");
    const QString path = blocker + "/Vexlo.ini";
    ProfileFile f(path.toStdString());
    EXPECT_EQ(ErrorOf([&] { f.WriteString("s", "k", "v"); }), "Unable to write to " + Full(path));
    EXPECT_EQ(ErrorOf([&] { f.EraseSection("s"); }), "Unable to write to " + Full(path));
    EXPECT_EQ(f.GetString("s", "k", "def"), "def");
    EXPECT_EQ(ReadBytes(blocker), "not a folder");
}

TEST_F(ProfileFileFailure, MissingFolder) {
    const QString path = dir.filePath("no/such/folder/Vexlo.ini");
    EXPECT_EQ(ErrorOf([&] { WriteProfileString(path.toStdString(), "s", "k", "v"); }),
              "Unable to write to " + Full(path));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("no")));
}

TEST_F(ProfileFileFailure, FolderWhereTheFileShouldBe) {
    ASSERT_TRUE(QDir(dir.path()).mkpath("Vexlo.ini/inside"));
    ProfileFile f(dir.filePath("Vexlo.ini").toStdString());
    EXPECT_EQ(ErrorOf([&] { f.WriteString("s", "k", "v"); }),
              "Unable to write to " + Full(dir.filePath("Vexlo.ini")));
    EXPECT_EQ(f.GetString("s", "k", "def"), "def");
    EXPECT_TRUE(QFileInfo(dir.filePath("Vexlo.ini/inside")).isDir());
}

TEST_F(ProfileFileFailure, LockThatCannotBeTakenLeavesTheOldFile) {
    const QString path = dir.filePath("Vexlo.ini");
    WriteBytes(path, "[s]\r\nk=old\r\n");
    ASSERT_TRUE(QDir(dir.path()).mkdir("vexlo.ini.lock"));
    EXPECT_EQ(ErrorOf([&] { ProfileFile(path.toStdString()).WriteString("s", "k", "new"); }),
              "Unable to write to " + Full(path));
    EXPECT_EQ(ReadBytes(path), "[s]\r\nk=old\r\n");
}

TEST_F(ProfileFileFailure, FullDiskLeavesTheOldFileAndNoLitter) {
    const QString path = dir.filePath("Vexlo.ini");
    ProfileFile f(path.toStdString());
    f.WriteString("s", "first", "stays");
    const std::string before = ReadBytes(path);
    std::string error;
    {
        FileSizeLimit limit(before.size() + 16);
        error = ErrorOf([&] { f.WriteString("s", "second", std::string(1000, 'x')); });
    }
    EXPECT_EQ(error, "Unable to write to " + Full(path));
    EXPECT_EQ(ReadBytes(path), before);
    EXPECT_THAT(Entries(dir.path()), ElementsAre("Vexlo.ini"));
    EXPECT_EQ(f.GetString("s", "first", ""), "stays");
    f.WriteString("s", "third", "works again");
    EXPECT_EQ(f.GetString("s", "third", ""), "works again");
}

TEST_F(ProfileFileFailure, TextTheFileCannotHoldIsRefusedBeforeAnythingIsWritten) {
    const QString path = dir.filePath("Vexlo.ini");
    ProfileFile f(path.toStdString());
    EXPECT_THAT(ErrorOf([&] { f.WriteString("s", "k", "a\nb"); }), HasSubstr("line break"));
    EXPECT_FALSE(QFileInfo::exists(path));  // not even created
    f.WriteString("s", "k", "v");
    const std::string before = ReadBytes(path);
    EXPECT_THAT(ErrorOf([&] { f.WriteString("s", "k", std::string(2048, 'x')); }),
                HasSubstr("2048 bytes"));
    EXPECT_THAT(ErrorOf([&] { f.WriteString("s", "a=b", "v"); }), HasSubstr("\"=\""));
    EXPECT_THAT(ErrorOf([&] { f.WriteString("a]b", "k", "v"); }), HasSubstr("\"]\""));
    EXPECT_THAT(ErrorOf([&] { f.WriteString("s", "\r", "v"); }), HasSubstr("line break"));
    EXPECT_EQ(ReadBytes(path), before);
    EXPECT_NO_THROW(f.WriteString("s", "k", std::string(2047, 'x')));
    EXPECT_EQ(f.GetString("s", "k", "").size(), 2047u);
}

TEST_F(ProfileFileFailure, EarlierWritesStayWhenALaterOneFails) {
    const QString path = dir.filePath("Vexlo.ini");
    ProfileFile f(path.toStdString());
    f.WriteString("Settings", "Use Timer", "1");
    f.WriteString("Settings", "Timer Time", "5");
    ASSERT_TRUE(QDir(dir.path()).mkdir("vexlo.ini.lock"));
    EXPECT_NE(ErrorOf([&] { f.WriteString("Settings", "Random", "0"); }), "no error");
    EXPECT_EQ(ReadBytes(path), "[Settings]\r\nUse Timer=1\r\nTimer Time=5\r\n");
}

}  // namespace
}  // namespace vexlo
