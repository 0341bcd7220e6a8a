#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "SettingsStore.h"

namespace vexlo {
namespace {

TEST(SettingsViewTest, ViewKeepsItsReadingWhileTheStoreSeesEveryWrite) {
    QTemporaryDir dir;
    const std::string path = dir.path().toStdString() + "/Vexlo.ini";
    SettingsStore store(path);
    SettingsStore otherProcess(dir.path().toStdString() + "/vexlo.ini");
    store.WriteString("Folders", "A", "/a");
    store.WriteBool("Use Folders", "a", false);

    const SettingsView view = store.View();
    otherProcess.WriteString("Folders", "B", "/b");
    otherProcess.WriteString("Use Folders", "A", "yes");

    // The view is one reading: consistent with itself.
    EXPECT_EQ(view.ReadSection("folders"), std::vector<std::string>{"A"});
    EXPECT_FALSE(view.ReadBool("Use Folders", "A", true));
    EXPECT_TRUE(view.SectionExists("Use Folders"));
    EXPECT_EQ(view.ReadString("Folders", "a", ""), "/a");
    // The store reads the file as it is now, with the same rules as the view.
    EXPECT_EQ(store.ReadSection("Folders"), (std::vector<std::string>{"A", "B"}));
    EXPECT_TRUE(store.ReadBool("Use Folders", "A", true));
    EXPECT_EQ(store.ReadInteger("Use Folders", "A", 7), 7);
    EXPECT_EQ(store.View().ReadInteger("Use Folders", "A", 7), 7);
}

TEST(SettingsViewTest, MissingFileReadsDefaults) {
    QTemporaryDir dir;
    SettingsStore store(dir.path().toStdString() + "/missing/Vexlo.ini");
    const SettingsView view = store.View();
    EXPECT_EQ(view.ReadString("Settings", "Current Wallpaper", "def"), "def");
    EXPECT_EQ(view.ReadInteger("Settings", "Timer Time", 10), 10);
    EXPECT_TRUE(view.ReadSection("Folders").empty());
    EXPECT_FALSE(view.SectionExists("Settings"));
}

}  // namespace
}  // namespace vexlo
