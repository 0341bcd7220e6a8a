// The command line's outcomes, and where the program keeps its files.
#include <gtest/gtest.h>

#include <sstream>

#include "EngineFixture.h"
#include "ErrorText.h"
#include "PictureDecoding.h"
#include "ProgramFolder.h"
#include "StartupSession.h"
#include "VexloCommandLine.h"
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

TEST_F(CommandLine, OnlyApplyAndAddFolderEndBeforeTheEventLoop) {
    const std::string picture = MakePicture("c.png", 8, 8);
    EXPECT_TRUE(EndsBeforeEventLoop({"APPLY", picture}));
    EXPECT_EQ(Run({"APPLY", picture}), VexloPro::kEndProgram);
    EXPECT_TRUE(EndsBeforeEventLoop({"AddFolder", "/x"}));
    EXPECT_EQ(Run({"AddFolder", "/x"}), VexloPro::kEndProgram);
    EXPECT_TRUE(EndsBeforeEventLoop({"apply"}));  // its error ends the program too
    EXPECT_THROW(Run({"apply"}), VexloError);
    for (const std::vector<std::string>& staying :
         {std::vector<std::string>{}, {"change"}, {"/debug", "apply"}, {"applyx"}, {""}}) {
        EXPECT_FALSE(EndsBeforeEventLoop(staying));
    }
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
    EXPECT_EQ(ErrorOf([&] { Run({"apply", damaged}); }).rfind(damaged + ": ", 0), 0u);
    EXPECT_EQ(settings->ReadString("Settings", "Current Wallpaper", ""), "b.png");
}

TEST_F(CommandLine, ApplyOfNothingToShowIsAnErrorAndChangesNothing) {
    QDir().mkpath(QString::fromStdString(Root() + "folder.jpg"));
    const std::string text = MakeFile("notes.txt", "not a picture");
    platform.ClearCalls();
    EXPECT_EQ(ErrorOf([&] { Run({"apply"}); }),
              "The command \"apply\" needs a picture file: vexlo apply FILE");
    EXPECT_EQ(ErrorOf([&] {
                  Run({"apply", ""});
              }),
              "The command \"apply\" needs a picture file: vexlo apply FILE");
    for (const std::string& path : {Root() + "missing.jpg", Root() + "folder.jpg"}) {
        EXPECT_EQ(ErrorOf([&] { Run({"apply", path}); }), "Cannot open file " + path);
    }
    EXPECT_EQ(ErrorOf([&] { Run({"apply", text}); }), "File format is not supported");
    EXPECT_TRUE(platform.Calls().empty());
    EXPECT_TRUE(host.messages.empty());
    EXPECT_FALSE(QFile::exists(QString::fromStdString(Wallpaper())));
    EXPECT_EQ(settings->ReadString("Settings", "Current Wallpaper", "<none>"), "<none>");
}

TEST_F(CommandLine, AFailedChangeIsReportedAndTheProgramStaysInTheTray) {
    const std::string bad = MakeFile("pics/bad.jpg", "");
    settings->WriteString("Folders", "pics", Root() + "pics");
    settings->WriteBool("Startup", "Change Wallpaper", true);
    std::vector<std::string> reported;
    const auto report = [&](const std::exception& error) { reported.push_back(error.what()); };
    EXPECT_EQ(engine->HandleCommandLine({"change"}, report), 1);
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(reported[0], bad + ": Empty input file");
    EXPECT_EQ(host.timerIntervals, std::vector<int>({1000}));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(Wallpaper())));
    // "apply" keeps ending with its error.
    EXPECT_THROW(engine->HandleCommandLine({"apply", bad}, report), PictureError);
    EXPECT_EQ(reported.size(), 1u);
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

TEST_F(CommandLine, AddFolderRefusesNothingAndStoresRelativeFoldersAbsolute) {
    EXPECT_EQ(ErrorOf([&] { Run({"addfolder"}); }),
              "The command \"addfolder\" needs a folder: vexlo addfolder FOLDER");
    EXPECT_EQ(ErrorOf([&] {
                  Run({"AddFolder", ""});
              }),
              "The command \"addfolder\" needs a folder: vexlo addfolder FOLDER");
    EXPECT_FALSE(QFile::exists(QString::fromStdString(ProgramFolder() + "vexlo.ini")));

    const QString before = QDir::currentPath();
    QDir().mkpath(QString::fromStdString(Root() + "work/Holiday"));
    ASSERT_TRUE(QDir::setCurrent(QString::fromStdString(Root() + "work")));
    const std::string work = QDir::currentPath().toStdString();
    EXPECT_EQ(Run({"addfolder", "Pictures/"}), 2);
    EXPECT_EQ(Run({"addfolder", "."}), 2);
    EXPECT_EQ(Run({"addfolder", "Holiday/../Holiday"}), 2);
    QDir::setCurrent(before);
    EXPECT_EQ(settings->ReadString("Folders", "Pictures", ""), work + "/Pictures/");
    EXPECT_EQ(settings->ReadString("Folders", "work", ""), work + "/");
    EXPECT_EQ(settings->ReadString("Folders", "Holiday", ""), work + "/Holiday");
}

TEST_F(CommandLine, AddFolderThatCannotBeWrittenIsReported) {
    // A directory where the settings file should be: the write cannot happen.
    QDir().mkpath(QString::fromStdString(ProgramFolder() + "vexlo.ini"));
    EXPECT_THROW(Run({"addfolder", "/x/Holiday"}), VexloError);
}

TEST(EarlyRequests, OnlyTheExactOptionsAsFirstArgument) {
    EXPECT_EQ(EarlyRequestOf({"--help"}), EarlyRequest::Usage);
    EXPECT_EQ(EarlyRequestOf({"-h", "apply"}), EarlyRequest::Usage);
    EXPECT_EQ(EarlyRequestOf({"--version"}), EarlyRequest::Version);
    // Everything else keeps its meaning: an unknown command, or an operand.
    for (const std::vector<std::string>& other : std::vector<std::vector<std::string>>{
             {}, {"--HELP"}, {"-help"}, {"-H"}, {"/?"}, {"apply", "--help"}, {"--Version"}}) {
        EXPECT_EQ(EarlyRequestOf(other), EarlyRequest::None) << testing::PrintToString(other);
    }
    const std::string usage = UsageText("vexlo");
    for (const char* word : {"Usage: vexlo", "\n  change ", "\n  apply FILE ",
                             "\n  addfolder FOLDER ", "\n  /debug ", "--help", "--version"}) {
        EXPECT_NE(usage.find(word), std::string::npos) << word;
    }
    std::istringstream lines(usage);
    for (std::string line; std::getline(lines, line);) {
        EXPECT_LE(line.size(), 79u) << line;
    }
    EXPECT_FALSE(CommandNeedsScreen({"ADDFOLDER", "/x"}));
    EXPECT_TRUE(CommandNeedsScreen({}));
    EXPECT_TRUE(CommandNeedsScreen({"apply", "addfolder"}));
}

TEST(StartupSessions, ThePlatformIsChosenAndAMissingDisplayIsSaid) {
    const std::string noScreen =
        "Vexlo needs a graphical session: neither DISPLAY nor WAYLAND_DISPLAY is set";
    struct Case {
        Environment env;
        std::string argument;
        bool needsScreen;
        bool plugin;
        std::string platform;
        bool headless;
        std::string error;
    };
    const Environment x{{"DISPLAY", ":0"}};
    const Environment xwayland{
        {"DISPLAY", ":0"}, {"WAYLAND_DISPLAY", "wayland-0"}, {"XDG_SESSION_TYPE", "wayland"}};
    const Environment wayland{{"WAYLAND_DISPLAY", "wayland-0"}};
    const std::vector<Case> cases = {
        {x, "", true, false, "xcb", false, ""},
        {xwayland, "", true, true, "xcb", false, ""},
        {wayland, "", true, true, "wayland", false, ""},
        {wayland, "", true, false, "", false, "qt6-wayland"},
        {wayland, "", false, false, "", true, ""},
        // The user's choice stands.
        {{{"DISPLAY", ":0"}, {"QT_QPA_PLATFORM", "wayland"}}, "", true, true, "", false, ""},
        {x, "offscreen", true, false, "", false, ""},
        {{{"QT_QPA_PLATFORM", "offscreen"}}, "", true, false, "", false, ""},
        {{{"QT_QPA_PLATFORM", "vnc:size=800x600"}}, "", true, false, "", false, ""},
        // No display at all.
        {{}, "", true, false, "", false, noScreen},
        {{{"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}}, "", true, true, "", false, noScreen},
        {{{"QT_QPA_PLATFORM", "xcb"}}, "", true, false, "", false, noScreen},
        {{{"QT_QPA_PLATFORM", "wayland;xcb"}}, "", true, true, "", false, noScreen},
        {{}, "", false, false, "", true, ""},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        const StartupSession session =
            ChooseStartupSession(c.env, c.argument, c.needsScreen, c.plugin);
        EXPECT_EQ(session.qtPlatform, c.platform) << i;
        EXPECT_EQ(session.headless, c.headless) << i;
        if (c.error.empty() || c.error == noScreen) {
            EXPECT_EQ(session.error, c.error) << i;
        } else {
            EXPECT_NE(session.error.find(c.error), std::string::npos) << i << session.error;
        }
    }
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
