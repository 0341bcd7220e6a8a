// The settings store: typed reads and writes over the real file.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <functional>

#include "PathRules.h"
#include "SettingsStore.h"
#include "VexloError.h"

namespace vexlo {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::string Bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : "<missing>";
}

void Put(const QString& path, const std::string& text) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text.data(), static_cast<qint64>(text.size()));
}

class SettingsStoreTest : public ::testing::Test {
protected:
    QString Ini() const { return dir.filePath("Vexlo.ini"); }
    QTemporaryDir dir;
    SettingsStore store{dir.filePath("Vexlo.ini").toStdString()};
};

TEST(SettingsInteger, EncodingsThatRead) {
    const std::pair<const char*, std::int32_t> good[] = {
        {"0", 0},
        {"15", 15},
        {"  15", 15},
        {"\t-7", -7},
        {"+7", 7},
        {"007", 7},
        {"0x1F", 31},
        {"0X1f", 31},
        {"$1F", 31},
        {"x1F", 31},
        {"X1f", 31},
        {"-$1F", -31},
        {"-0x10", -16},
        {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},
        {"$7FFFFFFF", INT32_MAX},
        {"-$80000000", INT32_MIN},
        {"-2147483647", -2147483647},
    };
    for (const auto& [text, value] : good) {
        EXPECT_EQ(ParseSettingsInteger(text), value) << text;
    }
}

TEST(SettingsInteger, EncodingsThatGiveTheDefault) {
    for (const char* text : {"",
                             " ",
                             "12abc",
                             "1F",
                             "15 ",
                             "1 5",
                             "- 5",
                             "--5",
                             "+-5",
                             "0x",
                             "$",
                             "x",
                             "0x-5",
                             "$$1",
                             "2147483648",
                             "-2147483649",
                             "$80000000",
                             "0xFFFFFFFF",
                             "99999999999999999999",
                             "true",
                             "1.5",
                             "1e3",
                             "٣"}) {
        EXPECT_EQ(ParseSettingsInteger(text), std::nullopt) << text;
    }
}

TEST_F(SettingsStoreTest, WithoutAFileEveryReaderGetsItsDefault) {
    EXPECT_TRUE(store.ReadBool("Hotkeys", "CtrlAltC", true));
    EXPECT_FALSE(store.ReadBool("HotKeys", "CtrlAltC", false));
    EXPECT_EQ(store.ReadInteger("Settings", "Timer Time", 10), 10);
    EXPECT_EQ(store.ReadString("Settings", "Current Wallpaper", ""), "");
    EXPECT_THAT(store.ReadSection("Folders"), IsEmpty());
    EXPECT_FALSE(store.SectionExists("Settings"));
    EXPECT_FALSE(QFileInfo::exists(Ini()));
}

TEST_F(SettingsStoreTest, TypedReadsOfWhatTheFileHolds) {
    Put(Ini(),
        "[hotkeys]\r\nctrlaltc=0\r\n"
        "[Settings]\r\nTimer Time=  15  \r\nIcon Text Colour=-2147483647\r\n"
        "Use Timer=2\r\nTransparent Icons=-1\r\nDefault Tile Method=true\r\n"
        "Hex=0x1F\r\nDollar=$1F\r\nBad=12abc\r\nQuoted=\" 15\"\r\nHuge=4294967296\r\n");
    EXPECT_FALSE(store.ReadBool("Hotkeys", "CtrlAltC", true));
    EXPECT_FALSE(store.ReadBool("HOTKEYS", "ctrlaltc", true));
    EXPECT_EQ(store.ReadInteger("Settings", "Timer Time", 10), 15);
    EXPECT_EQ(static_cast<std::uint32_t>(store.ReadInteger("Settings", "Icon Text Colour", 0)),
              0x80000001u);
    EXPECT_TRUE(store.ReadBool("Settings", "Use Timer", false));
    EXPECT_TRUE(store.ReadBool("Settings", "Transparent Icons", false));
    EXPECT_EQ(store.ReadInteger("Settings", "Default Tile Method", 0), 0);
    EXPECT_TRUE(store.ReadBool("Settings", "Default Tile Method", true));  // "true" is no number
    EXPECT_FALSE(store.ReadBool("Settings", "Default Tile Method", false));
    EXPECT_EQ(store.ReadInteger("Settings", "Hex", 0), 31);
    EXPECT_EQ(store.ReadInteger("Settings", "Dollar", 0), 31);
    EXPECT_EQ(store.ReadInteger("Settings", "Bad", 75), 75);
    EXPECT_EQ(store.ReadInteger("Settings", "Quoted", 0), 15);
    EXPECT_EQ(store.ReadInteger("Settings", "Huge", -3), -3);
    EXPECT_EQ(store.ReadString("Settings", "Timer Time", ""), "15");
}

TEST_F(SettingsStoreTest, FreshFileAfterTheFirstOptionsOkWithFolders) {
    // The options dialog's OK with two folders of one name, then an apply and a
    // rotation step: folders first, "Current Wallpaper" at the end of [Settings],
    // [Wallpaper Changing] at the end of the file.
    store.EraseSection("Folders");
    store.EraseSection("Use Folders");
    const std::pair<const char*, bool> rows[] = {{"C:\\A\\Pics", true}, {"C:\\B\\Pics\\", false}};
    for (const auto& [path, checked] : rows) {
        const std::string key = FolderKeyName(path, PathStyle::Windows);
        store.WriteString("Folders", key, path);
        store.WriteBool("Use Folders", key, checked);
    }
    store.WriteBool("Startup", "Change Wallpaper", false);
    store.WriteBool("Startup", "Random", true);
    store.WriteBool("HotKeys", "CtrlAltC", false);
    store.WriteBool("Settings", "Use Timer", false);
    store.WriteInteger("Settings", "Timer Time", 10);
    store.WriteInteger("Settings", "Default Tile Method", -1);
    store.WriteBool("Settings", "Transparent Icons", false);
    store.WriteInteger("Settings", "Icon Text Colour", static_cast<std::int32_t>(0x80000001u));
    store.WriteBool("Larger", "Stretch Wallpaper", false);
    store.WriteBool("Deform", "UseDeform", false);
    store.WriteInteger("Deform", "Size", 15);
    store.WriteBool("Smaller", "Stretch Wallpaper", false);
    store.WriteBool("Smaller", "Tile Wallpaper", false);
    store.WriteInteger("Smaller", "Stretch Size", 75);
    store.WriteInteger("Smaller", "Tile Size", 75);
    store.WriteString("Settings", "Current Wallpaper", "sunset.jpg");
    store.WriteString("Wallpaper Changing", "Folder", "Pics");
    store.WriteString("Wallpaper Changing", "File", "None");
    EXPECT_EQ(Bytes(Ini()),
              "[Folders]\r\nPics=C:\\B\\Pics\\\r\n"
              "[Use Folders]\r\nPics=0\r\n"
              "[Startup]\r\nChange Wallpaper=0\r\nRandom=1\r\n"
              "[HotKeys]\r\nCtrlAltC=0\r\n"
              "[Settings]\r\nUse Timer=0\r\nTimer Time=10\r\nDefault Tile Method=-1\r\n"
              "Transparent Icons=0\r\nIcon Text Colour=-2147483647\r\n"
              "Current Wallpaper=sunset.jpg\r\n"
              "[Larger]\r\nStretch Wallpaper=0\r\n"
              "[Deform]\r\nUseDeform=0\r\nSize=15\r\n"
              "[Smaller]\r\nStretch Wallpaper=0\r\nTile Wallpaper=0\r\nStretch Size=75\r\n"
              "Tile Size=75\r\n"
              "[Wallpaper Changing]\r\nFolder=Pics\r\nFile=None\r\n");
    EXPECT_THAT(store.ReadSection("folders"), ElementsAre("Pics"));
    EXPECT_FALSE(store.ReadBool("Use Folders", "pics", true));
}

TEST_F(SettingsStoreTest, AddFolderBesideTheStoreIsSeenAtTheNextRead) {
    store.WriteString("Folders", "Nature", "/p/Nature");
    EXPECT_THAT(store.ReadSection("Folders"), ElementsAre("Nature"));
    // A second process writes through the lower-case name, straight into the file.
    const std::string arg = "/d/Shots/";
    WriteProfileString(dir.filePath("vexlo.ini").toStdString(), "Folders",
                       FolderKeyName(arg, PathStyle::Posix), arg);
    EXPECT_THAT(store.ReadSection("Folders"), ElementsAre("Nature", "Shots"));
    EXPECT_EQ(IncludeTrailingSeparator(store.ReadString("Folders", "Shots", "")), "/d/Shots/");
    EXPECT_TRUE(store.ReadBool("Use Folders", "Shots", true));  // no flag: enabled
    EXPECT_THAT(QDir(dir.path()).entryList(QDir::Files), ElementsAre("Vexlo.ini"));
}

TEST_F(SettingsStoreTest, IntegerExtremesRoundTrip) {
    store.WriteInteger("s", "min", INT32_MIN);
    store.WriteInteger("s", "max", INT32_MAX);
    EXPECT_EQ(Bytes(Ini()), "[s]\r\nmin=-2147483648\r\nmax=2147483647\r\n");
    EXPECT_EQ(store.ReadInteger("s", "min", 0), INT32_MIN);
    EXPECT_EQ(store.ReadInteger("s", "max", 0), INT32_MAX);
}

TEST_F(SettingsStoreTest, KeyDeleteSectionEraseAndSectionTest) {
    store.WriteString("Nature", "Use Specific Apply", "1");
    store.WriteString("Nature", "Apply Method", "2");
    EXPECT_TRUE(store.SectionExists("nature"));
    store.DeleteKey("Nature", "Use Specific Apply");
    store.DeleteKey("Nature", "missing");
    store.DeleteKey("Missing", "missing");
    EXPECT_THAT(store.ReadSection("Nature"), ElementsAre("Apply Method"));
    store.EraseSection("NATURE");
    EXPECT_FALSE(store.SectionExists("Nature"));
    EXPECT_EQ(Bytes(Ini()), "");
}

TEST_F(SettingsStoreTest, AnItemNamedLikeAProgramSectionKeepsTheProgramsKeys) {
    store.WriteInteger("Settings", "Timer Time", 5);
    store.WriteBool("Settings", "Use Specific Apply", true);  // a folder called "Settings"
    store.WriteInteger("Settings", "Apply Method", 1);
    store.WriteBool("Beach", "Use Specific Apply", true);
    store.WriteString("Beach", "Note", "hand-written");
    store.EraseItemSection("settings");
    store.EraseItemSection("Beach");
    EXPECT_EQ(Bytes(Ini()), "[Settings]\r\nTimer Time=5\r\n");
    EXPECT_TRUE(IsProgramSectionName(" use folders "));
    EXPECT_TRUE(IsProgramSectionName("WALLPAPER CHANGING"));
    EXPECT_FALSE(IsProgramSectionName("Nature"));
}

TEST_F(SettingsStoreTest, RefusedWritesSayWhereAndKeepEarlierWrites) {
    store.WriteBool("Settings", "Use Timer", true);
    ASSERT_TRUE(QDir(dir.path()).mkdir("vexlo.ini.lock"));  // the folder takes no lock now
    const std::string expected =
        "Unable to write to " + QDir::toNativeSeparators(Ini()).toStdString();
    for (auto write : std::initializer_list<std::function<void()>>{
             [&] { store.WriteInteger("Settings", "Timer Time", 5); },
             [&] { store.WriteString("Folders", "a", "/a"); },
             [&] { store.EraseSection("Settings"); },
             [&] {
                 store.EraseItemSection("Settings");
                 store.WriteBool("x", "y", true);
             }}) {
        try {
            write();
            ADD_FAILURE() << "no error";
        } catch (const VexloError& e) {
            EXPECT_EQ(e.what(), expected);
        }
    }
    EXPECT_NO_THROW(store.DeleteKey("Settings", "Use Timer"));  // a failed key delete is ignored
    EXPECT_EQ(Bytes(Ini()), "[Settings]\r\nUse Timer=1\r\n");
    EXPECT_TRUE(store.ReadBool("Settings", "Use Timer", false));
}

TEST_F(SettingsStoreTest, RefusedTextLeavesTheFileAlone) {
    store.WriteString("Folders", "ok", "/ok");
    const std::string before = Bytes(Ini());
    EXPECT_THROW(store.WriteString("Folders", "a=b", "/x/a=b"), VexloError);
    EXPECT_THROW(store.WriteString("Folders", "line\nbreak", "/x"), VexloError);
    EXPECT_THROW(store.WriteString("Wallpaper Changing", "File", "/x/\n.jpg"), VexloError);
    EXPECT_THROW(store.WriteString("Wallpaper Changing", "File", std::string(3000, 'p')),
                 VexloError);
    EXPECT_EQ(Bytes(Ini()), before);
}

}  // namespace
}  // namespace vexlo
