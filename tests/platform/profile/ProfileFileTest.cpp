// The settings file on disk: reads that always see the file, writes that land
// whole, one file for every spelling of its name.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

#include "FileHelpers.h"
#include "profile/ProfileFile.h"

namespace vexlo {
namespace {

using test::Entries;
using test::ReadBytes;
using test::WriteBytes;
using ::testing::ElementsAre;

class ProfileFileTest : public ::testing::Test {
protected:
    QString Path(const char* name) const { return dir.filePath(name); }
    std::string P(const char* name) const { return Path(name).toStdString(); }
    QTemporaryDir dir;
};

TEST_F(ProfileFileTest, MissingFileReadsDefaultsAndTheFirstWriteCreatesIt) {
    ProfileFile f(P("Vexlo.ini"));
    EXPECT_EQ(f.GetString("Settings", "Timer Time", "10"), "10");
    EXPECT_TRUE(f.KeyNames("Folders").empty());
    EXPECT_FALSE(f.SectionExists("Settings"));
    EXPECT_THAT(Entries(dir.path()), ElementsAre());  // reading creates nothing

    f.WriteString("Folders", "Nature", "/p/Nature/");
    f.WriteString("Use Folders", "Nature", "1");
    f.WriteString("Folders", "nature", "/q/Nature");
    EXPECT_EQ(ReadBytes(Path("Vexlo.ini")),
              "[Folders]\r\nNature=/q/Nature\r\n[Use Folders]\r\nNature=1\r\n");
    EXPECT_EQ(f.GetString("FOLDERS", "NATURE", ""), "/q/Nature");
    EXPECT_THAT(Entries(dir.path()), ElementsAre("Vexlo.ini"));  // no lock or temporary left

    f.DeleteKey("Folders", "Nature");
    f.EraseSection("Use Folders");
    EXPECT_EQ(ReadBytes(Path("Vexlo.ini")), "[Folders]\r\n");
    EXPECT_FALSE(f.SectionExists("Folders"));
}

TEST_F(ProfileFileTest, EveryReadSeesWritesOfOthers) {
    ProfileFile reader(P("Vexlo.ini"));
    ProfileFile writer(P("Vexlo.ini"));
    writer.WriteString("s", "k", "1");
    EXPECT_EQ(reader.GetString("s", "k", ""), "1");
    writer.WriteString("s", "k", "2");
    EXPECT_EQ(reader.GetString("s", "k", ""), "2");
    // An edit in place by another program, same size, at once.
    WriteBytes(Path("Vexlo.ini"), "[s]\r\nk=3\r\n");
    EXPECT_EQ(reader.GetString("s", "k", ""), "3");
    QFile::remove(Path("Vexlo.ini"));
    EXPECT_EQ(reader.GetString("s", "k", "gone"), "gone");
}

TEST_F(ProfileFileTest, ACachedCopyNeverHidesAChange) {
    // Files older than the clock's granularity are where a parsed copy is reused.
    WriteBytes(Path("Vexlo.ini"), "[s]\r\nk=1\r\nother=x\r\n");
    ProfileFile reader(P("Vexlo.ini"));
    // The first run: a program reads while there is no file yet, in a folder
    // just made; "addfolder" makes the file later, under the lower-case name.
    ASSERT_TRUE(QDir(dir.path()).mkdir("first"));
    ProfileFile firstRun(P("first/Vexlo.ini"));
    EXPECT_TRUE(firstRun.KeyNames("Folders").empty());
    QThread::msleep(3200);
    EXPECT_TRUE(firstRun.KeyNames("Folders").empty());
    WriteProfileString(P("first/vexlo.ini"), "Folders", "Shots", "/d/Shots/");
    EXPECT_THAT(firstRun.KeyNames("Folders"), ElementsAre("Shots"));
    WriteProfileString(P("first/vexlo.ini"), "Folders", "More", "/m/");
    EXPECT_THAT(firstRun.KeyNames("Folders"), ElementsAre("Shots", "More"));

    EXPECT_EQ(reader.GetString("s", "k", ""), "1");
    EXPECT_EQ(reader.GetString("s", "other", ""), "x");
    ProfileFile(P("vexlo.ini")).WriteString("s", "k", "2");  // replaced through a new file
    EXPECT_EQ(reader.GetString("s", "k", ""), "2");
    WriteBytes(Path("Vexlo.ini"), "[s]\r\nk=3\r\nother=x\r\n");  // same size, same inode
    EXPECT_EQ(reader.GetString("s", "k", ""), "3");
}

TEST_F(ProfileFileTest, TheNameMatchesInAnyLetterCase) {
    ProfileFile upper(P("Vexlo.ini"));
    ProfileFile lower(P("vexlo.ini"));
    lower.WriteString("Folders", "Shots", "/d/Shots/");  // as "addfolder" does
    upper.WriteString("Settings", "Use Timer", "1");
    EXPECT_THAT(Entries(dir.path()), ElementsAre("vexlo.ini"));
    EXPECT_EQ(upper.GetString("Folders", "Shots", ""), "/d/Shots/");
    EXPECT_EQ(upper.ResolvedPath(), P("vexlo.ini"));
    WriteProfileString(P("VEXLO.INI"), "Folders", "More", "/m");
    EXPECT_EQ(ReadProfileString(P("Vexlo.Ini"), "Folders", "More", ""), "/m");
    EXPECT_THAT(Entries(dir.path()), ElementsAre("vexlo.ini"));
}

TEST_F(ProfileFileTest, TheExactNameWinsOverAStraySpelling) {
    WriteBytes(Path("Vexlo.ini"), "[s]\r\nk=mine\r\n");
    WriteBytes(Path("VEXLO.INI"), "[s]\r\nk=stray copy from a backup\r\n");
    ProfileFile f(P("Vexlo.ini"));
    EXPECT_EQ(f.GetString("s", "k", ""), "mine");
    f.WriteString("s", "more", "1");
    EXPECT_EQ(ReadBytes(Path("Vexlo.ini")), "[s]\r\nk=mine\r\nmore=1\r\n");
    EXPECT_EQ(ReadBytes(Path("VEXLO.INI")), "[s]\r\nk=stray copy from a backup\r\n");
    // Without the exact name: a file in any spelling, the first in byte order.
    ASSERT_TRUE(QDir(dir.path()).mkdir("vexlo.INI"));  // a folder never wins over a file
    EXPECT_EQ(ProfileFile(P("vexlo.ini")).GetString("s", "k", ""), "stray copy from a backup");
    EXPECT_EQ(ProfileFile(P("vexlo.INI")).GetString("s", "k", ""), "stray copy from a backup");
}

TEST_F(ProfileFileTest, OddFileOnDiskReadsAndSurvivesAWrite) {
    std::string odd = "\xEF\xBB\xBF; written by hand\n[s]\nk = 1 \nno equals\n";
    odd += std::string("\0\x01\x02\xFF\xFE", 5) + "\n";
    odd += "huge=" + std::string(10 * 1024 * 1024, 'h') + "\n[t]\nx=y";
    WriteBytes(Path("Vexlo.ini"), odd);
    ProfileFile f(P("Vexlo.ini"));
    EXPECT_EQ(f.GetString("s", "k", ""), "1");
    EXPECT_EQ(f.GetString("s", "huge", "").size(), kProfileValueLimit);
    EXPECT_EQ(f.GetString("t", "x", ""), "y");
    f.WriteString("t", "new", "n");
    std::string expected = "\xEF\xBB\xBF; written by hand\r\n[s]\r\nk = 1 \r\nno equals\r\n";
    expected += std::string("\0\x01\x02\xFF\xFE", 5) + "\r\n";
    expected += "huge=" + std::string(10 * 1024 * 1024, 'h') + "\r\n[t]\r\nx=y\r\nnew=n\r\n";
    EXPECT_TRUE(ReadBytes(Path("Vexlo.ini")) == expected);
}

// A settings file kept elsewhere (a synced or dotfiles folder) through a
// link: written where the link ends, and the link stays.
TEST_F(ProfileFileTest, ALinkedFileIsWrittenThroughItsLinks) {
    ASSERT_TRUE(QDir(dir.path()).mkpath("sync") && QDir(dir.path()).mkpath("prog"));
    WriteBytes(Path("sync/real.ini"), "[s]\r\nk=1\r\n");
    // A relative link, reached through an absolute one.
    ASSERT_EQ(::symlink("../sync/real.ini", P("prog/hop.ini").c_str()), 0);
    ASSERT_EQ(::symlink(P("prog/hop.ini").c_str(), P("prog/Vexlo.ini").c_str()), 0);
    ProfileFile f(P("prog/Vexlo.ini"));
    f.WriteString("s", "k", "2");
    WriteProfileString(P("prog/vexlo.ini"), "Folders", "Shots", "/d/Shots/");
    EXPECT_EQ(ReadBytes(Path("sync/real.ini")), "[s]\r\nk=2\r\n[Folders]\r\nShots=/d/Shots/\r\n");
    EXPECT_TRUE(QFileInfo(Path("prog/Vexlo.ini")).isSymLink());
    EXPECT_TRUE(QFileInfo(Path("prog/hop.ini")).isSymLink());
    EXPECT_THAT(Entries(Path("prog")), ElementsAre("Vexlo.ini", "hop.ini"));
    EXPECT_THAT(Entries(Path("sync")), ElementsAre("real.ini"));
    EXPECT_EQ(f.GetString("s", "k", ""), "2");

    // A link whose file does not exist yet: the first write makes it there.
    ASSERT_EQ(::symlink("../sync/new.ini", P("prog/New.ini").c_str()), 0);
    ProfileFile(P("prog/New.ini")).WriteString("s", "k", "first");
    EXPECT_EQ(ReadBytes(Path("sync/new.ini")), "[s]\r\nk=first\r\n");
    EXPECT_TRUE(QFileInfo(Path("prog/New.ini")).isSymLink());
}

TEST_F(ProfileFileTest, UpdateWritesOnlyWhenSomethingChanged) {
    WriteBytes(Path("Vexlo.ini"), "[s]\nk=1\n");  // LF only: a real write would make it CR LF
    ProfileFile f(P("Vexlo.ini"));
    f.WriteString("s", "k", "1");
    f.DeleteKey("s", "missing");
    f.EraseSection("missing");
    f.Update([](ProfileText&) { return false; });
    EXPECT_EQ(ReadBytes(Path("Vexlo.ini")), "[s]\nk=1\n");
}

}  // namespace
}  // namespace vexlo
