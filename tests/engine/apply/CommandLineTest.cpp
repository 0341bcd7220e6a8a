// The command line's outcomes, and where the program keeps its files.
#include <gtest/gtest.h>

#include "EngineFixture.h"
#include "ProgramFolder.h"
#include "VexloError.h"

namespace vexlo::test {
namespace {

class CommandLine : public EngineFixture {
protected:
    int Run(std::vector<std::string> arguments) { return engine->HandleCommandLine(arguments); }
    std::string Ini() const {
        QFile file(QString::fromStdString(ProgramFolder() + "Vexlo.ini"));
        return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
    }
};

TEST_F(CommandLine, ResultsOfTheFirstArgument) {
    EXPECT_EQ(Run({}), 0);
    EXPECT_EQ(Run({"/debug"}), 0);
    EXPECT_EQ(Run({"/debug", "extra"}), 0);
    EXPECT_EQ(Run({"/DEBUG"}), 1);
    EXPECT_EQ(Run({"/Debug"}), 1);
    EXPECT_EQ(Run({"whatever"}), 1);
    EXPECT_EQ(Run({""}), 1);
    EXPECT_TRUE(platform.Calls().empty());
}

TEST_F(CommandLine, ChangeInAnyCaseRefreshesIconsAndChangesOnlyWhenAsked) {
    const std::string picture = MakePicture("pics/a.jpg", 64, 48);
    settings->WriteString("Folders", "pics", Root() + "pics");
    EXPECT_EQ(Run({"CHANGE"}), 1);
    EXPECT_EQ(host.timerIntervals, std::vector<int>({1000}));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(Wallpaper())));

    settings->WriteBool("Startup", "Change Wallpaper", true);
    EXPECT_EQ(Run({"change", "ignored"}), 1);
    EXPECT_TRUE(QFile::exists(QString::fromStdString(Wallpaper())));
    EXPECT_EQ(settings->ReadString("Wallpaper Changing", "File", ""), picture);
    EXPECT_EQ(host.timerIntervals.size(), 3u);  // one for the apply, one for "change"
}

TEST_F(CommandLine, ApplyEndsTheProgramAndErrorsPropagate) {
    const std::string picture = MakePicture("b.png", 32, 32);
    EXPECT_EQ(Run({"Apply", picture, "more", "args"}), 2);
    EXPECT_EQ(settings->ReadString("Settings", "Current Wallpaper", ""), "b.png");
    EXPECT_TRUE(settings->ReadString("Wallpaper Changing", "File", "").empty());

    const std::string damaged = MakeFile("bad.jpg", QByteArray("\xff\xd8\xff\xe0 not a jpeg"));
    EXPECT_THROW(Run({"apply", damaged}), VexloError);
    EXPECT_EQ(settings->ReadString("Settings", "Current Wallpaper", ""), "b.png");
    // A missing operand applies nothing and still ends.
    EXPECT_EQ(Run({"apply"}), 2);
}

TEST_F(CommandLine, AddFolderWritesTheKeyNameAndKeepsTheValue) {
    EXPECT_EQ(Run({"addfolder", "/pictures/Nature/"}), 2);
    EXPECT_EQ(settings->ReadString("Folders", "Nature", ""), "/pictures/Nature/");
    EXPECT_EQ(Run({"ADDFOLDER", "/other/Nature"}), 2);
    EXPECT_EQ(settings->ReadSection("Folders"), std::vector<std::string>({"Nature"}));
    EXPECT_EQ(settings->ReadString("Folders", "Nature", ""), "/other/Nature");
    EXPECT_FALSE(settings->SectionExists("Use Folders"));
    // The file's own name in another case is the same file.
    QFile::rename(QString::fromStdString(ProgramFolder() + "Vexlo.ini"),
                  QString::fromStdString(ProgramFolder() + "VEXLO.INI"));
    EXPECT_EQ(Run({"addfolder", "/x/Holiday"}), 2);
    EXPECT_EQ(settings->ReadSection("Folders"), std::vector<std::string>({"Nature", "Holiday"}));
}

TEST_F(CommandLine, AddFolderThatCannotBeWrittenIsReported) {
    // A directory where the settings file should be: the write cannot happen.
    QDir().mkpath(QString::fromStdString(ProgramFolder() + "vexlo.ini"));
    EXPECT_THROW(Run({"addfolder", "/x/Holiday"}), VexloError);
}

TEST(ProgramFolder, PortableBesideTheExecutableInstalledPerUser) {
    QTemporaryDir root;
    const std::string base = root.path().toStdString();
    QDir().mkpath(root.path() + "/portable");
    QDir().mkpath(root.path() + "/usr/bin");
    const Environment env{{"HOME", "/home/u"}, {"XDG_DATA_HOME", "/data"}};
    EXPECT_EQ(ProgramFolderFor(base + "/portable/Vexlo", env), base + "/portable/");
    EXPECT_EQ(ProgramFolderFor(base + "/usr/bin/Vexlo", env), base + "/usr/bin/");

    QDir().mkpath(root.path() + "/usr/share/vexlo");
    EXPECT_TRUE(IsInstalledCopy(base + "/usr/bin/Vexlo"));
    EXPECT_EQ(ProgramFolderFor(base + "/usr/bin/Vexlo", env), "/data/vexlo/");
    EXPECT_EQ(ProgramFolderFor(base + "/usr/bin/Vexlo", {{"HOME", "/home/u"}}),
              "/home/u/.local/share/vexlo/");
    EXPECT_EQ(ProgramFolderFor(base + "/usr/bin/Vexlo",
                               {{"HOME", "/home/u"}, {"XDG_DATA_HOME", "relative"}}),
              "/home/u/.local/share/vexlo/");
    EXPECT_THROW(ProgramFolderFor(base + "/usr/bin/Vexlo", {{"HOME", "home/u"}}), VexloError);
}

}  // namespace
}  // namespace vexlo::test
