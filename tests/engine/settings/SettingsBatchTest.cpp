// Several writes in one locked update: the same text as the single writes,
// and all of them or none.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "SettingsStore.h"
#include "VexloError.h"

namespace vexlo {
namespace {

std::string ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : "<none>";
}

TEST(SettingsBatch, AWholeSectionReadsAsTheSingleWritesWouldLeaveIt) {
    QTemporaryDir dir;
    const std::string start =
        "[Folders]\r\nOld=/o\r\n[Startup]\r\nRandom=1\r\n[folders]\r\nold2=/o2\r\n";
    const std::vector<std::pair<std::string, std::string>> entries = {
        {"Pics", "/a/Pics"}, {"", "/"}, {" x ", " padded "}, {"PICS", "/b/Pics"}, {"q", "'q'"}};
    QString paths[2] = {dir.filePath("one.ini"), dir.filePath("batch.ini")};
    for (const QString& path : paths) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(start.c_str());
    }
    SettingsStore single(paths[0].toStdString());
    single.EraseSection("Folders");
    for (const auto& [key, value] : entries) {
        single.WriteString("Folders", key, value);
    }
    SettingsStore batched(paths[1].toStdString());
    batched.Update([&](SettingsBatch& batch) { batch.WriteSection("Folders", entries); });
    EXPECT_EQ(ReadAll(paths[1]), ReadAll(paths[0]));
    EXPECT_EQ(batched.ReadString("Folders", "pics", ""), "/b/Pics");
    EXPECT_EQ(batched.ReadString("Folders", "x", ""), " padded ");
}

TEST(SettingsBatch, ARefusedWriteLeavesTheFileAsItWas) {
    QTemporaryDir dir;
    SettingsStore store(dir.filePath("Vexlo.ini").toStdString());
    store.WriteString("Folders", "A", "/a");
    const std::string before = ReadAll(dir.filePath("Vexlo.ini"));
    EXPECT_THROW(store.Update([](SettingsBatch& batch) {
        batch.EraseSection("Folders");
        batch.WriteSection("Folders", {{"B", "/b"}, {"a=b", "/a=b"}});
    }),
                 VexloError);
    EXPECT_THROW(store.Update([](SettingsBatch& batch) {
        batch.WriteBool("Startup", "Random", true);
        batch.WriteString("Startup", "Long", std::string(3000, 'x'));
    }),
                 VexloError);
    EXPECT_EQ(ReadAll(dir.filePath("Vexlo.ini")), before);
}

}  // namespace
}  // namespace vexlo
