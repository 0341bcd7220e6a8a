// Several processes on one file: no key lost, no broken file.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <memory>
#include <vector>

#include "FileHelpers.h"
#include "files/LeftoverFiles.h"
#include "profile/ProfileFile.h"

namespace vexlo {
namespace {

using test::ReadBytes;
using test::SelfPath;

std::unique_ptr<QProcess> StartSelf(const QStringList& args) {
    auto process = std::make_unique<QProcess>();
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->start(QString::fromStdString(SelfPath()), args);
    return process;
}

// Every writer waits its turn: none gives up while the others get through.
TEST(ProfileFileProcesses, AHundredWritersLoseNoKeyAndNoneGivesUp) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Vexlo.ini");
    constexpr int kWriters = 100;
    constexpr int kKeys = 10;
    std::vector<std::unique_ptr<QProcess>> writers;
    for (int w = 0; w < kWriters; ++w) {
        // Half of them name the file in lower case, as "addfolder" does.
        const QString name = w % 2 ? path : dir.filePath("vexlo.ini");
        writers.push_back(
            StartSelf({"--write-keys", name, QString("w%1").arg(w), QString::number(kKeys)}));
    }
    for (auto& writer : writers) {
        ASSERT_TRUE(writer->waitForFinished(120000));
        EXPECT_EQ(writer->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(writer->exitCode(), 0);
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);

    const std::string bytes =
        ReadBytes(QString::fromStdString(ProfileFile(path.toStdString()).ResolvedPath()));
    const ProfileText text(bytes);
    EXPECT_EQ(text.AllKeyNames("Keys").size(), static_cast<std::size_t>(kWriters * kKeys));
    for (int w = 0; w < kWriters; ++w) {
        for (int k = 0; k < kKeys; ++k) {
            const std::string key = "w" + std::to_string(w) + "_" + std::to_string(k);
            ASSERT_EQ(text.Find("Keys", key), "w" + std::to_string(w) + "-" + std::to_string(k));
        }
    }
    EXPECT_EQ(text.SectionNames(), std::vector<std::string>{"Keys"});
    EXPECT_EQ(ProfileText(bytes).Text(), bytes);  // every line whole and ending in CR LF
}

TEST(ProfileFileProcesses, AWriterKilledAtAnyMomentLeavesOldOrNew) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Vexlo.ini");
    constexpr std::size_t kBytes = 4 * 1024 * 1024;  // long enough to be caught mid-write
    ProfileFile profile(path.toStdString());
    profile.Update([&](ProfileText& text) {
        text.SetString("Data", "big", std::string(kBytes, 'A'));
        text.SetString("Other", "keep", "1");
        return true;
    });
    auto whole = [&](char c) {
        return "[Data]\r\nbig=" + std::string(kBytes, c) + "\r\n[Other]\r\nkeep=1\r\n";
    };
    for (int round = 0; round < 8; ++round) {
        auto writer = StartSelf({"--write-forever", path, QString::number(kBytes)});
        ASSERT_TRUE(writer->waitForReadyRead(60000));
        QThread::msleep(QRandomGenerator::global()->bounded(1, 60));
        writer->kill();
        ASSERT_TRUE(writer->waitForFinished(60000));
        const std::string bytes = ReadBytes(path);
        ASSERT_TRUE(bytes == whole('A') || bytes == whole('B'))
            << "round " << round << ": " << bytes.size() << " bytes";
    }
    // The dead writer's lock does not block the next writer, which also
    // clears the temporary files the killed ones left.
    profile.WriteString("Other", "after", "yes");
    EXPECT_EQ(profile.GetString("Other", "after", ""), "yes");
    EXPECT_EQ(profile.GetString("Other", "keep", ""), "1");
    EXPECT_THAT(test::Entries(dir.path()), ::testing::ElementsAre("Vexlo.ini"));
}

// Temporary files of processes that no longer run go, at start-up and before
// a write; those of a living process, and everything else, stay.
TEST(LeftoverTemporaries, OnlyThoseOfDeadProcessesGo) {
    EXPECT_EQ(TemporaryFileOwner("Vexlo.ini.new-123-0-456789"), 123);
    EXPECT_EQ(TemporaryFileOwner("HKEY_CURRENT_USER.ini.new-77-12-3"), 77);
    EXPECT_EQ(TemporaryFileOwner("tmp-4242-7.jpg"), 4242);
    EXPECT_EQ(TemporaryFileOwner("tmp-4242-7"), 4242);
    for (const char* other : {"Vexlo.ini", "tmp-4242.jpg", "tmp-x-1.jpg", "tmp-1-2.tar.gz",
                              "a.new-1-2", "a.new-1-2-3x", ".new-1-2-3", "tmp-0-1.png",
                              "tmp-12345678901-1.png", "wallpaper.bmp", "my tmp-1-2.jpg"}) {
        EXPECT_EQ(TemporaryFileOwner(other), 0) << other;
    }

    QTemporaryDir dir;
    QProcess living;
    living.start("sleep", {"30"});
    ASSERT_TRUE(living.waitForStarted(10000));
    // A process that ran and ended (Qt gives the id only while it runs).
    QProcess ended;
    ended.start("sleep", {"30"});
    ASSERT_TRUE(ended.waitForStarted(10000));
    const std::string deadPid = std::to_string(ended.processId());
    ended.kill();
    ASSERT_TRUE(ended.waitForFinished(10000));
    const std::string livePid = std::to_string(living.processId());
    const std::string selfPid = std::to_string(::getpid());
    const QStringList leftovers = {QString::fromStdString("Vexlo.ini.new-" + deadPid + "-0-12"),
                                   QString::fromStdString("tmp-" + deadPid + "-3.jpg"),
                                   QString::fromStdString("tmp-" + deadPid + "-4")};
    const QStringList kept = {QString::fromStdString("Vexlo.ini.new-" + livePid + "-0-1"),
                              QString::fromStdString("tmp-" + selfPid + "-5.png"),
                              QString::fromStdString("tmp-" + deadPid + "-6.tar.gz"),
                              QStringLiteral("holiday.jpg")};
    for (const QString& name : leftovers + kept) {
        test::WriteBytes(dir.filePath(name), "x");
    }
    ASSERT_TRUE(QDir(dir.path()).mkdir(QString::fromStdString("tmp-" + deadPid + "-9")));

    ProfileFile(dir.filePath("Vexlo.ini").toStdString()).WriteString("s", "k", "1");
    QStringList expected =
        kept + QStringList{"Vexlo.ini", QString::fromStdString("tmp-" + deadPid + "-9")};
    expected.sort();
    EXPECT_EQ(test::Entries(dir.path()), expected);

    // At start-up: the same sweep on its own.
    test::WriteBytes(dir.filePath(leftovers[1]), "x");
    EXPECT_EQ(RemoveLeftoverTemporaries(dir.path().toStdString()), 1);
    EXPECT_EQ(test::Entries(dir.path()), expected);
    EXPECT_EQ(RemoveLeftoverTemporaries(dir.filePath("missing").toStdString()), 0);
    living.kill();
    living.waitForFinished(10000);
}

}  // namespace
}  // namespace vexlo
