// Several processes on one file: no key lost, no broken file.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <memory>
#include <vector>

#include "FileHelpers.h"
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
    // The dead writer's lock does not block the next writer.
    profile.WriteString("Other", "after", "yes");
    EXPECT_EQ(profile.GetString("Other", "after", ""), "yes");
    EXPECT_EQ(profile.GetString("Other", "keep", ""), "1");
}

}  // namespace
}  // namespace vexlo
