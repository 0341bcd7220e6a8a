// Writes that cannot happen: a clear message, and the file as it was.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <filesystem>

#include "ErrorText.h"
#include "FileHelpers.h"
#include "ForkedChild.h"
#include "VexloError.h"
#include "profile/FileLock.h"
#include "profile/ProfileFile.h"

namespace vexlo {
namespace {

using test::Entries;
using test::ErrorOf;
using test::FileSizeLimit;
using test::ReadBytes;
using test::RunForked;
using test::WriteBytes;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

std::string Full(const QString& path) {
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()).toStdString();
}

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

TEST_F(ProfileFileFailure, FullDiskAtTheSaveLeavesTheOldFileAndNoLitter) {
    // Room for the lock file and more, not for the new file: the save itself fails.
    const QString path = dir.filePath("Vexlo.ini");
    ProfileFile f(path.toStdString());
    for (const char* key : {"first", "a", "b", "c"}) {
        f.WriteString("s", key, std::string(2000, 'f'));
    }
    const std::string before = ReadBytes(path);
    std::string error;
    {
        FileSizeLimit limit(before.size() + 16);
        error = ErrorOf([&] { f.WriteString("s", "second", std::string(1000, 'x')); });
    }
    EXPECT_EQ(error, "Unable to write to " + Full(path));
    EXPECT_EQ(ReadBytes(path), before);
    EXPECT_THAT(Entries(dir.path()), ElementsAre("Vexlo.ini"));
    EXPECT_EQ(f.GetString("s", "c", "").size(), 2000u);
    f.WriteString("s", "third", "works again");
    EXPECT_EQ(f.GetString("s", "third", ""), "works again");
}

TEST_F(ProfileFileFailure, ALockFileLeftByAKilledWriterHoldsNothing) {
    const QString path = dir.filePath("Vexlo.ini");
    WriteBytes(path, "[s]\r\nk=old\r\n");
    for (const std::string lock : {"", "\x01\x02garbage", "12345\nVexlo\nhost\n"}) {
        WriteBytes(dir.filePath("vexlo.ini.lock"), lock);
        // A watchdog, not a timer: a writer that waits for the lock to age never ends.
        EXPECT_EQ(RunForked(
                      [&] {
                          ProfileFile(path.toStdString()).WriteString("s", "k", "new");
                          return 0;
                      },
                      5),
                  0);
        EXPECT_EQ(ReadBytes(path), "[s]\r\nk=new\r\n");
        WriteBytes(path, "[s]\r\nk=old\r\n");
    }
}

TEST_F(ProfileFileFailure, ALockHeldTooLongIsReportedAsSuch) {
    const QString path = dir.filePath("Vexlo.ini");
    WriteBytes(path, "[s]\r\nk=old\r\n");
    FileLock holder(dir.filePath("vexlo.ini.lock").toStdString());
    ASSERT_EQ(holder.Lock(std::chrono::milliseconds(0)), FileLock::Result::Locked);
    ProfileFile f(path.toStdString());
    f.SetLockWait(std::chrono::milliseconds(50));
    EXPECT_EQ(ErrorOf([&] { f.WriteString("s", "k", "new"); }),
              "Gave up waiting to write to " + Full(path) +
                  ": another process kept it locked for 0 seconds");
    holder.Unlock();
    EXPECT_EQ(ReadBytes(path), "[s]\r\nk=old\r\n");
    f.WriteString("s", "k", "new");
    EXPECT_EQ(ReadBytes(path), "[s]\r\nk=new\r\n");
    EXPECT_THAT(Entries(dir.path()), ElementsAre("Vexlo.ini"));
}

TEST_F(ProfileFileFailure, AFolderNameThatIsNotUtf8IsKeptAsBytes) {
    const std::string folder = dir.path().toStdString() + "/Archiv \xE4lter";  // Latin-1
    ASSERT_EQ(::mkdir(folder.c_str(), 0755), 0);
    ProfileFile f(folder + "/Vexlo.ini");
    f.WriteString("Folders", "Bilder", folder + "/Bilder");
    EXPECT_EQ(ProfileFile(folder + "/vexlo.ini").GetString("Folders", "Bilder", ""),
              folder + "/Bilder");
    struct stat st {};
    EXPECT_EQ(::stat((folder + "/Vexlo.ini").c_str(), &st), 0);
    EXPECT_EQ(ErrorOf([&] { ProfileFile(folder + "/x/Vexlo.ini").WriteString("s", "k", "v"); }),
              "Unable to write to " + folder + "/x/Vexlo.ini");
    std::filesystem::remove_all(folder);  // Qt cannot name it to clean up
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
