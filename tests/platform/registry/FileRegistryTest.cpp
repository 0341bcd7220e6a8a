// The file-backed registry: key paths, the default value, subkeys, failures.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "ErrorText.h"
#include "ForkedChild.h"
#include "VexloError.h"
#include "registry/FileRegistry.h"
#include "registry/RegistryPath.h"

namespace vexlo {
namespace {

using test::ErrorOf;
using ::testing::HasSubstr;

constexpr auto HKCU = RegistryRoot::CurrentUser;
constexpr auto HKLM = RegistryRoot::LocalMachine;

std::string Bytes(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) {
        return "<missing>";
    }
    return file.readAll().toStdString();
}

class FileRegistryTest : public ::testing::Test {
protected:
    std::string Folder() const { return dir.filePath("config/vexlo").toStdString(); }
    QTemporaryDir dir;
    FileRegistry reg{Folder()};
};

TEST(FileRegistryFolder, ChosenFromTheEnvironment) {
    EXPECT_EQ(FileRegistry::DefaultFolder(
                  {{"VEXLO_REGISTRY_DIR", "/t/reg"}, {"XDG_CONFIG_HOME", "/x"}}, "/h"),
              "/t/reg");
    EXPECT_EQ(FileRegistry::DefaultFolder({{"XDG_CONFIG_HOME", "/x"}}, "/h"), "/x/vexlo");
    EXPECT_EQ(FileRegistry::DefaultFolder({{"VEXLO_REGISTRY_DIR", ""}}, "/h"), "/h/.config/vexlo");
    EXPECT_EQ(FileRegistry::DefaultFolder({{"XDG_CONFIG_HOME", "relative"}}, "/h"),
              "/h/.config/vexlo");
    // The home folder is the one handed in, never the process's own.
    EXPECT_EQ(FileRegistry::DefaultFolder({{"HOME", "/elsewhere"}}, "/h"), "/h/.config/vexlo");
    // No absolute folder to go by: a clear error, never a folder relative to
    // wherever the program was started.
    EXPECT_THROW(FileRegistry::DefaultFolder({{"XDG_CONFIG_HOME", "rel"}}, "home"), VexloError);
    EXPECT_THROW(FileRegistry::DefaultFolder({}, ""), VexloError);
    const FileRegistry reg("/r");
    EXPECT_EQ(reg.FileFor(HKCU), "/r/HKEY_CURRENT_USER.ini");
    EXPECT_EQ(reg.FileFor(HKLM), "/r/HKEY_LOCAL_MACHINE.ini");
}

// The base-directory rule every user folder of the program follows.
TEST(XdgBaseFolderRule, AbsoluteValuesOnly) {
    const Environment both{{"XDG_CONFIG_HOME", "/c"}, {"XDG_DATA_HOME", "/d"}, {"HOME", "/h"}};
    EXPECT_EQ(XdgBaseFolder(both, XdgBase::Config), "/c");
    EXPECT_EQ(XdgBaseFolder(both, XdgBase::Data), "/d");
    const Environment relative{{"XDG_CONFIG_HOME", "c"}, {"XDG_DATA_HOME", "./d"}, {"HOME", "/h/"}};
    EXPECT_EQ(XdgBaseFolder(relative, XdgBase::Config), "/h/.config");
    EXPECT_EQ(XdgBaseFolder(relative, XdgBase::Data), "/h/.local/share");
    EXPECT_EQ(XdgBaseFolder({{"XDG_DATA_HOME", ""}, {"HOME", "/h"}}, XdgBase::Data),
              "/h/.local/share");
    // A relative or missing home gives no folder at all.
    EXPECT_EQ(XdgBaseFolder({{"HOME", "h"}}, XdgBase::Data), "");
    EXPECT_EQ(XdgBaseFolder({}, XdgBase::Config), "");
    // The home handed in stands for $HOME.
    EXPECT_EQ(XdgBaseFolder({{"HOME", "/elsewhere"}}, XdgBase::Config, "/h"), "/h/.config");
}

TEST(RegistryPathRules, Normalising) {
    EXPECT_EQ(NormaliseRegistryKey("\\Control Panel\\\\Desktop\\"), "Control Panel\\Desktop");
    EXPECT_EQ(NormaliseRegistryKey("\\\\\\"), "");
    EXPECT_EQ(NormaliseRegistryKey("a"), "a");
    EXPECT_TRUE(IsRegistryKeyAtOrBelow("Software\\Vexlo\\Sub", "software\\VEXLO"));
    EXPECT_TRUE(IsRegistryKeyAtOrBelow("Software\\Vexlo", "software\\vexlo"));
    EXPECT_FALSE(IsRegistryKeyAtOrBelow("Software\\VexloOther", "Software\\Vexlo"));
    EXPECT_FALSE(IsRegistryKeyAtOrBelow("Software", "Software\\Vexlo"));
    EXPECT_EQ(RegistryRootName(static_cast<RegistryRoot>(0x80000005u)), "HKEY_0x80000005");
}

TEST_F(FileRegistryTest, WritesReadBackThroughAnySpellingOfTheKey) {
    EXPECT_EQ(reg.ReadString(HKCU, "Control Panel\\Desktop", "Wallpaper", "none"), "none");
    reg.WriteString(HKCU, "\\Control Panel\\desktop", "WallPaperStyle", "2");
    reg.WriteString(HKCU, "Control Panel\\\\Desktop\\", "TileWallpaper", "0");
    reg.WriteString(HKCU, "control panel\\DESKTOP", "wallpaperstyle", "1");
    reg.WriteString(HKCU, "Control Panel\\Desktop", "", "default value");
    reg.WriteString(HKCU, "Control Panel\\Desktop", "@", "a value named @");
    EXPECT_EQ(reg.ReadString(HKCU, "\\CONTROL PANEL\\Desktop\\", "WALLPAPERSTYLE", ""), "1");
    EXPECT_EQ(reg.ReadString(HKCU, "Control Panel\\Desktop", "", ""), "default value");
    EXPECT_EQ(reg.ReadString(HKCU, "Control Panel\\Desktop", "@", ""), "a value named @");
    EXPECT_EQ(reg.ReadString(HKLM, "Control Panel\\Desktop", "WallPaperStyle", "other root"),
              "other root");
    EXPECT_EQ(Bytes(reg.FileFor(HKCU)),
              "[Control Panel\\desktop]\r\nWallPaperStyle=1\r\nTileWallpaper=0\r\n"
              "=default value\r\n@=a value named @\r\n");
    EXPECT_EQ(Bytes(reg.FileFor(HKLM)), "<missing>");
    // Another registry on the same folder, as another process, sees it all.
    EXPECT_EQ(FileRegistry(Folder()).ReadString(HKCU, "control panel\\desktop", "", ""),
              "default value");
}

// A registry file kept elsewhere through a link is written there; the link stays.
TEST_F(FileRegistryTest, ALinkedFileStaysALink) {
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(Folder())) &&
                QDir().mkpath(dir.filePath("dotfiles")));
    const std::string real = dir.filePath("dotfiles/user.ini").toStdString();
    ASSERT_EQ(::symlink(real.c_str(), reg.FileFor(HKCU).c_str()), 0);
    reg.WriteString(HKCU, "Control Panel\\Desktop", "Wallpaper", "/w.bmp");
    reg.WriteString(HKCU, "Control Panel\\Desktop", "WallPaperStyle", "2");
    EXPECT_TRUE(QFileInfo(QString::fromStdString(reg.FileFor(HKCU))).isSymLink());
    EXPECT_EQ(Bytes(real), "[Control Panel\\Desktop]\r\nWallpaper=/w.bmp\r\nWallPaperStyle=2\r\n");
}

TEST_F(FileRegistryTest, ValuesOfAnyLengthAndShape) {
    const std::string values[] = {"", "  padded  ", "\"quoted\"", std::string(5000, 'p'),
                                  "C:\\Program Files\\Vexlo\\Vexlo.exe \"%1\""};
    for (const std::string& v : values) {
        reg.WriteString(HKLM, "Software\\Classes\\*\\shell\\Vexlo\\command", "", v);
        EXPECT_EQ(reg.ReadString(HKLM, "Software\\Classes\\*\\shell\\Vexlo\\command", "", "-"), v);
    }
}

TEST_F(FileRegistryTest, DeletingValuesAndKeysWithTheirSubkeys) {
    reg.WriteString(HKLM, "Software\\Classes\\*\\shell\\Vexlo", "", "Apply with Vexlo");
    reg.WriteString(HKLM, "Software\\Classes\\*\\shell\\Vexlo\\command", "", "vexlo apply");
    reg.WriteString(HKLM, "Software\\Classes\\*\\shell\\VexloOther", "", "stays");
    reg.WriteString(HKLM, "Software\\Classes\\*\\shell\\Vexlo\\a\\b\\c", "deep", "1");
    reg.WriteString(HKCU, "Software\\Classes\\*\\shell\\Vexlo", "", "other root stays");

    reg.DeleteValue(HKLM, "software\\classes\\*\\shell\\vexlo", "");
    EXPECT_EQ(reg.ReadString(HKLM, "Software\\Classes\\*\\shell\\Vexlo", "", "gone"), "gone");
    EXPECT_THAT(Bytes(reg.FileFor(HKLM)), HasSubstr("[Software\\Classes\\*\\shell\\Vexlo]\r\n"));

    reg.DeleteKey(HKLM, "\\SOFTWARE\\Classes\\*\\shell\\Vexlo\\");
    EXPECT_EQ(Bytes(reg.FileFor(HKLM)), "[Software\\Classes\\*\\shell\\VexloOther]\r\n=stays\r\n");
    EXPECT_EQ(reg.ReadString(HKCU, "Software\\Classes\\*\\shell\\Vexlo", "", ""),
              "other root stays");

    reg.DeleteKey(HKLM, "\\");  // never the whole root
    reg.DeleteKey(HKLM, "");
    reg.DeleteKey(HKLM, "No\\Such\\Key");
    reg.DeleteValue(HKLM, "No\\Such\\Key", "x");
    EXPECT_EQ(reg.ReadString(HKLM, "Software\\Classes\\*\\shell\\VexloOther", "", ""), "stays");
}

TEST_F(FileRegistryTest, ValueNamesWithOuterBlanksAreValuesOfTheirOwn) {
    const std::string names[] = {"",      " ",        "Name",       " Name ",
                                 "Name ", "\"Name\"", "\" Name \"", "\""};
    for (const std::string& name : names) {
        reg.WriteString(HKCU, "Keys", name, "[" + name + "]");
    }
    reg.WriteString(HKCU, "Summer [2019]", "x", "brackets in a key");
    FileRegistry again(Folder());
    for (const std::string& name : names) {
        EXPECT_EQ(again.ReadString(HKCU, "Keys", name, "-"), "[" + name + "]") << name;
    }
    EXPECT_EQ(again.ReadString(HKCU, "summer [2019]", "x", "-"), "brackets in a key");
    again.DeleteValue(HKCU, "Keys", " Name ");
    EXPECT_EQ(again.ReadString(HKCU, "Keys", " Name ", "-"), "-");
    EXPECT_EQ(again.ReadString(HKCU, "Keys", "Name", "-"), "[Name]");
}

TEST_F(FileRegistryTest, DeletingAKeyWithThousandsOfSubkeys) {
    std::string text;
    for (int i = 0; i < 4000; ++i) {
        text += "[Software\\Big\\" + std::to_string(i) + "]\r\nv=1\r\n";
        text += i < 3 ? "[Software\\Other" + std::to_string(i) + "]\r\nv=1\r\n" : "";
    }
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(Folder())));
    QFile file(QString::fromStdString(reg.FileFor(HKCU)));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray::fromStdString(text));
    file.close();
    reg.DeleteKey(HKCU, "software\\big");
    EXPECT_EQ(
        Bytes(reg.FileFor(HKCU)),
        "[Software\\Other0]\r\nv=1\r\n[Software\\Other1]\r\nv=1\r\n[Software\\Other2]\r\nv=1\r\n");
}

TEST_F(FileRegistryTest, FailuresNameTheKeyOrTheValue) {
    // The folder cannot be made: a file stands where it would go.
    QFile blocker(dir.filePath("config"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_EQ(ErrorOf([&] { reg.WriteString(HKCU, "Control Panel\\Desktop", "Wallpaper", "x"); }),
              "Failed to create key Control Panel\\Desktop");
    EXPECT_EQ(reg.ReadString(HKCU, "Control Panel\\Desktop", "Wallpaper", "def"), "def");
    reg.DeleteKey(HKCU, "Control Panel");  // silent
    reg.DeleteValue(HKCU, "Control Panel\\Desktop", "Wallpaper");
}

TEST_F(FileRegistryTest, AFullDiskAtTheSaveChangesNothing) {
    for (int i = 0; i < 4; ++i) {
        reg.WriteString(HKCU, "Big", std::to_string(i), std::string(2000, 'b'));
    }
    const std::string before = Bytes(reg.FileFor(HKCU));
    std::string error;
    {
        test::FileSizeLimit limit(before.size() + 16);
        error = ErrorOf([&] { reg.WriteString(HKCU, "Big", "more", std::string(1000, 'm')); });
    }
    EXPECT_EQ(error, "Failed to set data for 'more'");
    EXPECT_EQ(Bytes(reg.FileFor(HKCU)), before);
    EXPECT_EQ(QDir(QString::fromStdString(Folder())).entryList(QDir::Files | QDir::Hidden).size(),
              1);
}

TEST_F(FileRegistryTest, ExistingKeyThatCannotTakeAValue) {
    reg.WriteString(HKCU, "Control Panel\\Desktop", "Wallpaper", "old.bmp");
    const std::string before = Bytes(reg.FileFor(HKCU));
    ASSERT_TRUE(QDir(QString::fromStdString(Folder())).mkdir("hkey_current_user.ini.lock"));
    EXPECT_EQ(ErrorOf([&] { reg.WriteString(HKCU, "Control Panel\\Desktop", "Wallpaper", "n"); }),
              "Failed to set data for 'Wallpaper'");
    EXPECT_EQ(ErrorOf([&] { reg.WriteString(HKCU, "Control Panel\\New", "Wallpaper", "n"); }),
              "Failed to create key Control Panel\\New");
    EXPECT_EQ(Bytes(reg.FileFor(HKCU)), before);
}

TEST_F(FileRegistryTest, TextTheFileCannotHoldIsRefusedWithTheRegistryMessages) {
    reg.WriteString(HKCU, "k", "v", "1");
    const std::string before = Bytes(reg.FileFor(HKCU));
    EXPECT_EQ(ErrorOf([&] { reg.WriteString(HKCU, "a\nb", "v", "1"); }),
              "Failed to create key a\nb");
    EXPECT_EQ(ErrorOf([&] { reg.WriteString(HKCU, "k", "a=b", "1"); }),
              "Failed to set data for 'a=b'");
    EXPECT_EQ(ErrorOf([&] { reg.WriteString(HKCU, "k", "[x", "1"); }),
              "Failed to set data for '[x'");
    EXPECT_EQ(ErrorOf([&] { reg.WriteString(HKCU, "k", "v", "two\r\nlines"); }),
              "Failed to set data for 'v'");
    EXPECT_EQ(Bytes(reg.FileFor(HKCU)), before);
}

}  // namespace
}  // namespace vexlo
