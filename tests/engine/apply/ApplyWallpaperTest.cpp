#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <algorithm>
#include <filesystem>

#include "EngineFixture.h"
#include "FileHelpers.h"
#include "ForkedChild.h"
#include "PictureDecoding.h"
#include "SourcePicture.h"
#include "VexloError.h"
#include "picture/BmpWriter.h"

namespace vexlo::test {
namespace {

using Op = PlatformCall::Op;

bool Exists(const std::string& path) {
    return QFileInfo::exists(QString::fromStdString(path));
}

// The names in a folder, sorted.
std::vector<std::string> Entries(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}
QSize SizeOf(const std::string& path) {
    return QImage(QString::fromStdString(path)).size();
}

class ApplyWallpaperTest : public EngineFixture {};

TEST_F(ApplyWallpaperTest, AppliesInOrderAndRecordsTheCurrentPicture) {
    const auto source = MakePicture("Pictures/Nature/sunset.bmp", 320, 200);
    engine->ApplyWallpaper(source, Wallpaper());

    EXPECT_EQ(SizeOf(Wallpaper()), QSize(320, 200));
    const auto effects = platform.Effects();
    ASSERT_EQ(effects.size(), 4u);
    EXPECT_EQ(effects[0], "WriteRegistryString(HKCU, \\Control Panel\\desktop, WallPaperStyle, 0)");
    EXPECT_EQ(effects[1], "WriteRegistryString(HKCU, \\Control Panel\\desktop, TileWallpaper, 0)");
    EXPECT_EQ(effects[2], "SetDesktopWallpaper(" + Wallpaper() + ")");
    EXPECT_EQ(effects[3], "WriteRegistryString(HKCU, Control Panel\\Desktop\\, Wallpaper, " +
                              Wallpaper() + ")");
    EXPECT_EQ(settings->ReadString("Settings", "Current Wallpaper", ""), "sunset.bmp");
    EXPECT_EQ(host.timerIntervals, std::vector<int>{1000});
    EXPECT_EQ(host.busyCalls, 1);
    EXPECT_EQ(host.busyDepth, 0);
    EXPECT_FALSE(Exists(ProgramFolder() + "tmp.bmp"));
}

TEST_F(ApplyWallpaperTest, DecoderFollowsTheFileExtensionOnly) {
    // Upper-case extension, a PNG whose name holds ".jpg", a JPEG and a GIF.
    engine->ApplyWallpaper(MakePicture("a/UPPER.JPG", 40, 30, "JPG"), Wallpaper());
    EXPECT_EQ(SizeOf(Wallpaper()), QSize(40, 30));
    engine->ApplyWallpaper(MakePicture("a/b.jpg.png", 41, 31, "PNG"), Wallpaper());
    EXPECT_EQ(SizeOf(Wallpaper()), QSize(41, 31));
    engine->ApplyWallpaper(MakePicture("a/d.jpeg", 43, 33, "JPG"), Wallpaper());
    EXPECT_EQ(SizeOf(Wallpaper()), QSize(43, 33));
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(PictureKindOf("/x/y.GIF"), PictureKind::Gif);
    EXPECT_EQ(PictureKindOf("/x.png/y.Bmp"), PictureKind::Bmp);
    EXPECT_EQ(PictureKindOf("/x.jpg/y"), PictureKind::Unknown);
    EXPECT_EQ(PictureKindOf("/x/y.jpg.txt"), PictureKind::Unknown);
}

class ApplyFromDottedProgramFolderTest : public EngineFixture {
protected:
    ApplyFromDottedProgramFolderTest() : EngineFixture("Vexlo.jpg") {}
};

TEST_F(ApplyFromDottedProgramFolderTest, ProgramFolderNameDoesNotChooseTheDecoder) {
    engine->ApplyWallpaper(MakePicture("p/picture.bmp", 16, 8), Wallpaper());
    EXPECT_EQ(SizeOf(Wallpaper()), QSize(16, 8));
    // Without an extension the picture is not recognised, whatever the folder is called.
    const auto plain = MakePicture("p/noextension", 16, 8, "BMP");
    platform.ClearCalls();
    engine->ApplyWallpaper(plain, Wallpaper());
    EXPECT_EQ(host.messages, std::vector<std::string>{"File format is not supported"});
    EXPECT_TRUE(platform.Effects().empty());
}

TEST_F(ApplyWallpaperTest, UnsupportedKindChangesNothing) {
    const auto source = MakeFile("x/notes.txt", "hello");
    engine->ApplyWallpaper(source, Wallpaper());
    EXPECT_EQ(host.messages, std::vector<std::string>{"File format is not supported"});
    EXPECT_TRUE(platform.Effects().empty());
    EXPECT_FALSE(Exists(Wallpaper()));
    EXPECT_FALSE(Exists(settings->FileName()));
    EXPECT_TRUE(host.pending.empty());
    EXPECT_FALSE(Exists(ProgramFolder() + "tmp.txt"));
    // The box is shown with the normal cursor back.
    EXPECT_EQ(host.events, (std::vector<std::string>{"busy", "idle", "message"}));
}

TEST_F(ApplyWallpaperTest, MissingSourceOrNoneEndsQuietly) {
    // A copy left behind by an earlier run is never taken for the picture.
    MakePicture("program/tmp.jpg", 8, 8, "JPG");
    for (const std::string& source : {Root() + "gone.jpg", std::string("None"), std::string()}) {
        engine->ApplyWallpaper(source, Wallpaper());
    }
    EXPECT_TRUE(host.messages.empty());
    EXPECT_TRUE(platform.Calls().empty());
    EXPECT_FALSE(Exists(Wallpaper()));
    EXPECT_FALSE(Exists(settings->FileName()));
    EXPECT_EQ(Entries(ProgramFolder()), std::vector<std::string>{"tmp.jpg"});
    EXPECT_EQ(host.busyDepth, 0);
}

TEST_F(ApplyWallpaperTest, AnotherInstancesCopyIsNeverReadNorDeleted) {
    // What another Vexlo applying at this moment has in its temporary copy.
    const auto theirs = MakeFile("program/tmp.jpg", "half-written by another instance");
    engine->ApplyWallpaper(MakePicture("a/mine.jpg", 20, 10, "JPG"), Wallpaper());
    EXPECT_EQ(SizeOf(Wallpaper()), QSize(20, 10));
    EXPECT_EQ(Entries(ProgramFolder()),
              (std::vector<std::string>{"Vexlo.ini", "tmp.jpg", "wallpaper.bmp"}));
    QFile file(QString::fromStdString(theirs));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "half-written by another instance");
}

TEST_F(ApplyWallpaperTest, ACopyCutShortEndsTheApplyAndLeavesNothing) {
    // A whole small picture followed by more bytes than the disk has room for.
    const auto source = MakePicture("a/big.jpg", 16, 16, "JPG");
    {
        QFile file(QString::fromStdString(source));
        ASSERT_TRUE(file.open(QIODevice::Append));
        file.write(QByteArray(256 * 1024, 'x'));
    }
    {
        FileSizeLimit limit(64 * 1024);
        engine->ApplyWallpaper(source, Wallpaper());
    }
    EXPECT_TRUE(platform.Calls().empty());
    EXPECT_TRUE(Entries(ProgramFolder()).empty());
    EXPECT_EQ(host.busyDepth, 0);
}

TEST_F(ApplyWallpaperTest, ANameTheSettingsCannotHoldIsRefusedBeforeTheDesktopChanges) {
    const auto source = MakePicture("a/two\nlines.bmp", 8, 8, "BMP");
    try {
        engine->ApplyWallpaper(source, Wallpaper());
        ADD_FAILURE() << "accepted";
    } catch (const VexloError& error) {
        EXPECT_NE(std::string(error.what()).find("line break"), std::string::npos) << error.what();
    }
    EXPECT_TRUE(platform.Calls().empty());
    EXPECT_TRUE(Entries(ProgramFolder()).empty());
    EXPECT_EQ(host.busyDepth, 0);
}

class ApplyFromBrokenProgramFolderTest : public EngineFixture {
protected:
    ApplyFromBrokenProgramFolderTest() : EngineFixture("two\nlines") {}
};

TEST_F(ApplyFromBrokenProgramFolderTest, AProgramFolderTheRegistryCannotNameChangesNothing) {
    const auto source = MakePicture("a.bmp", 8, 8, "BMP");
    try {
        engine->ApplyWallpaper(source, Wallpaper());
        ADD_FAILURE() << "accepted";
    } catch (const VexloError& error) {
        EXPECT_NE(std::string(error.what()).find("line break"), std::string::npos) << error.what();
    }
    EXPECT_TRUE(platform.Calls().empty());
    EXPECT_TRUE(Entries(ProgramFolder()).empty());
    EXPECT_EQ(host.busyDepth, 0);
}

TEST(ApplyWallpaperBytesTest, FoldersWhoseNamesAreNotUtf8) {
    // An old archive unpacked on Linux: Latin-1 bytes in every folder name.
    QTemporaryDir dir;
    const std::string root = dir.path().toStdString() + "/Archiv \xE4lter";
    const std::string program = root + "/Programm \xFC/";
    std::filesystem::create_directories(root + "/Bilder \xF6");
    std::filesystem::create_directories(program);
    const std::string plain = dir.path().toStdString() + "/plain.png";
    ASSERT_TRUE(QImage(QSize(32, 20), QImage::Format_RGB32).save(QString::fromStdString(plain)));
    const std::string source = root + "/Bilder \xF6/Sch\xF6n.png";
    std::filesystem::rename(plain, source);
    SettingsStore settings(program + "Vexlo.ini");
    RecordingPlatform platform;
    platform.SetDesktopSize(1600, 900);
    FakeHost host;
    VexloPro engine(settings, platform, host, program);
    engine.ApplyWallpaper(source, engine.WallpaperBitmap());
    EXPECT_EQ(platform.CallsOf(PlatformCall::Op::SetDesktopWallpaper).size(), 1u);
    EXPECT_EQ(SettingsStore(program + "vexlo.ini").ReadString("Settings", "Current Wallpaper", ""),
              "Sch\xF6n.png");
    EXPECT_EQ(std::filesystem::file_size(engine.WallpaperBitmap()), 54u + 32 * 20 * 3);
    std::filesystem::remove_all(root);  // Qt cannot name it to clean up
}

TEST_F(ApplyWallpaperTest, DamagedPictureRaisesAndKeepsThePreviousWallpaper) {
    engine->ApplyWallpaper(MakePicture("good.png", 30, 20), Wallpaper());
    platform.ClearCalls();
    QFile good(QString::fromStdString(Root() + "good.png"));
    ASSERT_TRUE(good.open(QIODevice::ReadOnly));
    const QByteArray truncated = good.readAll().left(60);
    for (const char* name : {"bad.png", "bad.jpg", "bad.gif", "bad.bmp"}) {
        const auto source = MakeFile(name, truncated);
        try {
            engine->ApplyWallpaper(source, Wallpaper());
            ADD_FAILURE() << name << " was accepted";
        } catch (const PictureError& error) {
            // The picture the user knows, not the apply's copy, then the
            // decoder's own words.
            EXPECT_EQ(error.Path(), source);
            EXPECT_EQ(std::string(error.what()).rfind(source + ": ", 0), 0u) << error.what();
            EXPECT_GT(std::string(error.what()).size(), source.size() + 2) << name;
        }
        EXPECT_EQ(host.busyDepth, 0);
        EXPECT_FALSE(
            Exists(ProgramFolder() + "tmp" + QFileInfo(name).suffix().prepend('.').toStdString()));
    }
    EXPECT_TRUE(platform.Effects().empty());
    EXPECT_EQ(SizeOf(Wallpaper()), QSize(30, 20));
    EXPECT_EQ(host.pending.size(), 1u);
}

TEST_F(ApplyWallpaperTest, TargetThatCannotBeWrittenRaisesAfterTheStyle) {
    const auto source = MakePicture("a.bmp", 10, 10);
    const std::string target = ProgramFolder() + "folder-in-the-way";
    QDir().mkpath(QString::fromStdString(target));
    EXPECT_THROW(engine->ApplyWallpaper(source, target), VexloError);
    EXPECT_EQ(Style(), "0");
    EXPECT_TRUE(platform.CallsOf(Op::SetDesktopWallpaper).empty());
    EXPECT_EQ(settings->ReadString("Settings", "Current Wallpaper", "none"), "none");
    EXPECT_EQ(host.busyDepth, 0);
    EXPECT_FALSE(Exists(ProgramFolder() + "tmp.bmp"));
}

TEST_F(ApplyWallpaperTest, FailedStyleWriteStopsBeforeTheFile) {
    platform.FailNextRegistryWrite(RegistryRoot::CurrentUser, "Control Panel\\desktop",
                                   "WallPaperStyle", RegistryFailure::CreateKey);
    try {
        engine->ApplyWallpaper(MakePicture("a.bmp", 10, 10), Wallpaper());
        ADD_FAILURE() << "no error";
    } catch (const VexloError& error) {
        EXPECT_EQ(std::string(error.what()), "Failed to create key \\Control Panel\\desktop");
    }
    EXPECT_FALSE(Exists(Wallpaper()));
    EXPECT_TRUE(platform.CallsOf(Op::SetDesktopWallpaper).empty());
}

TEST_F(ApplyWallpaperTest, FailedWallpaperValueLeavesNoRefreshScheduled) {
    platform.FailNextRegistryWrite(RegistryRoot::CurrentUser, "Control Panel\\Desktop",
                                   "Wallpaper");
    EXPECT_THROW(engine->ApplyWallpaper(MakePicture("a.bmp", 10, 10), Wallpaper()), VexloError);
    EXPECT_EQ(platform.CallsOf(Op::SetDesktopWallpaper).size(), 1u);
    EXPECT_TRUE(host.pending.empty());
}

TEST_F(ApplyWallpaperTest, PictureNamedLikeTheTemporaryCopySurvives) {
    const auto source = MakePicture("program/tmp.bmp", 12, 12);
    ASSERT_EQ(source, ProgramFolder() + "tmp.bmp");
    engine->ApplyWallpaper(source, Wallpaper());
    EXPECT_TRUE(Exists(source));
    EXPECT_EQ(SizeOf(Wallpaper()), QSize(12, 12));
}

// A 24-bit BMP shown at its own size becomes the wallpaper file byte for byte
// (the resolution field the writer never sets shows that it was copied); one
// that is shrunk first is written afresh.
TEST_F(ApplyWallpaperTest, ABmpAlreadyAsTheWriterLaysItOutIsCopied) {
    const auto writerLaidOut = [&](const std::string& name, int width, int height) {
        const std::string path = Root() + name;
        SaveBmpFile(QImage(width, height, QImage::Format_RGB32), path);
        std::string bytes = ReadFile(path);
        bytes.replace(38, 8, "\x11\x22\x33\x44\x11\x22\x33\x44");
        WriteFile(path, bytes);
        return path;
    };
    const std::string small = writerLaidOut("small.bmp", 33, 7);
    engine->ApplyWallpaper(small, Wallpaper());
    EXPECT_EQ(ReadFile(Wallpaper()), ReadFile(small));
    // The apply's own copy became the file: the source stays, nothing is left over.
    EXPECT_TRUE(Exists(small));
    EXPECT_TRUE(QDir(QString::fromStdString(ProgramFolder()))
                    .entryList({QStringLiteral("tmp-*")}, QDir::Files)
                    .isEmpty());

    // Too deformed to stretch, so shrunk to the desktop.
    settings->WriteBool("Larger", "Stretch Wallpaper", true);
    settings->WriteBool("Deform", "UseDeform", true);
    const std::string large = writerLaidOut("large.bmp", 3200, 450);
    engine->ApplyWallpaper(large, Wallpaper());
    EXPECT_EQ(SizeOf(Wallpaper()), QSize(1600, 225));
    EXPECT_NE(ReadFile(Wallpaper()).substr(38, 8), ReadFile(large).substr(38, 8));
}

// An "apply FILE" start reads its picture ahead: once, for that file into
// that folder only; the apply shows it or raises the decoder's error as its
// own; nothing read ahead is left behind, taken or not.
TEST_F(ApplyWallpaperTest, APictureReadAheadIsTakenOnceAndNeverLeftBehind) {
    const std::string source = MakePicture("ahead.png", 30, 20);
    {
        DecodeAhead ahead(source, ProgramFolder());
        EXPECT_FALSE(ahead.Take(source, Root()).has_value());
        EXPECT_FALSE(ahead.Take(source + "x", ProgramFolder()).has_value());
        const std::optional<SourcePicture> read = ahead.Take(source, ProgramFolder());
        ASSERT_TRUE(read.has_value());
        EXPECT_EQ(read->bitmap.size(), QSize(30, 20));
        EXPECT_TRUE(read->copy.Exists());
        EXPECT_FALSE(ahead.Take(source, ProgramFolder()).has_value());
    }
    {
        DecodeAhead ahead(source, ProgramFolder());
        engine->UseDecodeAhead(&ahead);
        engine->ApplyWallpaper(source, Wallpaper());
        EXPECT_EQ(SizeOf(Wallpaper()), QSize(30, 20));
    }
    const std::string damaged = MakeFile("damaged.jpg", QByteArray("\xff\xd8\xff\xe0", 4));
    {
        DecodeAhead ahead(damaged, ProgramFolder());
        engine->UseDecodeAhead(&ahead);
        EXPECT_THROW(engine->ApplyWallpaper(damaged, Wallpaper()), PictureError);
    }
    { const DecodeAhead never(source, ProgramFolder()); }
    engine->UseDecodeAhead(nullptr);
    const QStringList leftovers = QDir(QString::fromStdString(ProgramFolder()))
                                      .entryList({QStringLiteral("tmp-*")}, QDir::Files);
    EXPECT_TRUE(leftovers.isEmpty()) << leftovers.join(' ').toStdString();
    EXPECT_EQ(SizeOf(Wallpaper()), QSize(30, 20));
}

TEST_F(ApplyWallpaperTest, ReapplyingTheWallpaperFileItself) {
    engine->ApplyWallpaper(MakePicture("a.bmp", 64, 48), Wallpaper());
    engine->ApplyWallpaper(Wallpaper(), Wallpaper());
    EXPECT_EQ(SizeOf(Wallpaper()), QSize(64, 48));
}

}  // namespace
}  // namespace vexlo::test
