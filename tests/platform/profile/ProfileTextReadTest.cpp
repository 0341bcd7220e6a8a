// How profile text reads: lines, names, values, limits and odd input.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "profile/ProfileName.h"
#include "profile/ProfileText.h"

namespace vexlo {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(ProfileTextRead, SectionAndKeyLinesWithTheFirstEqualsSign) {
    const ProfileText p(
        "[Folders]\r\n"
        "Nature=D:\\Pictures\\Nature\r\n"
        "odd=a=b=c\r\n"
        "  spaced   =   value with  inner  blanks   \r\n"
        "[Settings]\r\n"
        "Timer Time=15\r\n");
    EXPECT_EQ(p.GetString("Folders", "Nature", "-"), "D:\\Pictures\\Nature");
    EXPECT_EQ(p.GetString("Folders", "odd", "-"), "a=b=c");
    EXPECT_EQ(p.GetString("Folders", "spaced", "-"), "value with  inner  blanks");
    EXPECT_EQ(p.GetString("Settings", "Timer Time", "-"), "15");
    EXPECT_EQ(p.GetString("Settings", "Nature", "-"), "-");
    EXPECT_EQ(p.GetString("Missing", "Nature", "def"), "def");
    EXPECT_THAT(p.KeyNames("Folders"), ElementsAre("Nature", "odd", "spaced"));
    EXPECT_THAT(p.KeyNames("Missing"), IsEmpty());
}

TEST(ProfileTextRead, OnePairOfMatchingQuotesIsDropped) {
    const ProfileText p(
        "[q]\n"
        "double=\"a b\"\n"
        "single='a b'\n"
        "mixed=\"a b'\n"
        "twice=\"\"a\"\"\n"
        "inner=say \"hi\"\n"
        "lone=\"\n"
        "blanksInside=\"  padded  \"\n"
        "blanksOutside=   'x'   \n");
    EXPECT_EQ(p.GetString("q", "double", "-"), "a b");
    EXPECT_EQ(p.GetString("q", "single", "-"), "a b");
    EXPECT_EQ(p.GetString("q", "mixed", "-"), "\"a b'");
    EXPECT_EQ(p.GetString("q", "twice", "-"), "\"a\"");
    EXPECT_EQ(p.GetString("q", "inner", "-"), "say \"hi\"");
    EXPECT_EQ(p.GetString("q", "lone", "-"), "\"");
    EXPECT_EQ(p.GetString("q", "blanksInside", "-"), "  padded  ");
    EXPECT_EQ(p.GetString("q", "blanksOutside", "-"), "x");
}

TEST(ProfileTextRead, NamesMatchWithoutRegardToCase) {
    const ProfileText p(
        "[hotkeys]\nctrlaltc=0\n"
        "[  Été  ]\nСлово=ru\nΑλφα=gr\nŽluť=cz\n");
    for (const char* section : {"HotKeys", "Hotkeys", "HOTKEYS", " hotkeys "}) {
        EXPECT_EQ(p.GetString(section, "CtrlAltC", "1"), "0") << section;
    }
    EXPECT_EQ(p.GetString("ÉTÉ", "слово", "-"), "ru");
    EXPECT_EQ(p.GetString("été", "ΑΛΦΑ", "-"), "gr");
    EXPECT_EQ(p.GetString("ÉtÉ", "žLUŤ", "-"), "cz");
    EXPECT_TRUE(ProfileNamesEqual("STRAßE", "straße"));
    EXPECT_FALSE(ProfileNamesEqual("a", "b"));
    // Invalid UTF-8 compares byte for byte instead of failing.
    EXPECT_TRUE(ProfileNamesEqual("\xC3(A", "\xC3(a"));
    EXPECT_FALSE(ProfileNamesEqual("\xC3", "\xC4"));
}

TEST(ProfileTextRead, LineEndingsAndByteOrderMark) {
    const ProfileText lf("[s]\nk=lf\nlast=no newline");
    EXPECT_EQ(lf.GetString("s", "k", "-"), "lf");
    EXPECT_EQ(lf.GetString("s", "last", "-"), "no newline");
    const ProfileText crlf("\xEF\xBB\xBF[s]\r\nk=crlf\r\n");
    EXPECT_EQ(crlf.GetString("s", "k", "-"), "crlf");
    // A CR inside a line is part of it; one before the LF is not.
    const ProfileText cr("[s]\r\nk=a\rb\r\r\n");
    EXPECT_EQ(cr.GetString("s", "k", "-"), "a\rb");
}

TEST(ProfileTextRead, LinesThatAreNotKeys) {
    const ProfileText p(
        "orphan=before any section\n"
        "[s]\n"
        "; comment=not a key\n"
        "   ;indented=comment too\n"
        "no equals sign here\n"
        "\n"
        "real=1\n"
        "[NoClose\n"
        "k=after an unclosed bracket\n"
        "[half=open\n"
        "[ spaced ] trailing text\n"
        "k=in spaced\n");
    // "[NoClose" starts no section: the key below it stays in [s], and
    // "[half=open" is a key line like any other.
    EXPECT_THAT(p.KeyNames("s"), ElementsAre("real", "k", "[half"));
    EXPECT_EQ(p.GetString("s", "k", "-"), "after an unclosed bracket");
    EXPECT_EQ(p.GetString("NoClose", "k", "-"), "-");
    EXPECT_EQ(p.GetString("s", "; comment", "-"), "-");
    EXPECT_EQ(p.GetString("s", "no equals sign here", "-"), "-");
    EXPECT_EQ(p.GetString("", "orphan", "-"), "-");
    EXPECT_EQ(p.GetString("spaced", "k", "-"), "in spaced");
    EXPECT_THAT(p.SectionNames(), ElementsAre("s", "spaced"));
}

TEST(ProfileTextRead, RepeatedKeysAndSections) {
    const ProfileText p(
        "[Folders]\nPics=/a\npics=/b\n"
        "[Other]\nx=1\n"
        "[FOLDERS]\nPICS=/c\nMore=/d\n");
    EXPECT_EQ(p.GetString("Folders", "Pics", "-"), "/a");
    EXPECT_EQ(p.GetString("folders", "more", "-"), "/d");
    EXPECT_THAT(p.KeyNames("Folders"), ElementsAre("Pics", "More"));
    EXPECT_THAT(p.SectionNames(), ElementsAre("Folders", "Other"));
}

TEST(ProfileTextRead, SectionTestNeedsAKey) {
    const ProfileText p("[empty]\n; just a comment\n[full]\nk=\n[blank]\n\n");
    EXPECT_FALSE(p.SectionExists("empty"));
    EXPECT_TRUE(p.SectionExists("FULL"));
    EXPECT_FALSE(p.SectionExists("blank"));
    EXPECT_FALSE(p.SectionExists("missing"));
    EXPECT_EQ(p.GetString("full", "k", "def"), "");
}

TEST(ProfileTextRead, EmptyKeyNameOfADriveRoot) {
    const ProfileText p("[Folders]\n=C:\\\nA=C:\\A\n");
    EXPECT_EQ(p.GetString("Folders", "", "-"), "C:\\");
    EXPECT_THAT(p.KeyNames("Folders"), ElementsAre("", "A"));
}

TEST(ProfileTextRead, ValueIsCutAt2047BytesNeverInsideACharacter) {
    const std::string exact(2047, 'x');
    const std::string longer = std::string(2046, 'x') + "\xC3\xA9" + "tail";  // é across the cut
    const ProfileText p("[s]\nexact=" + exact + "\nlong=" + exact + "yz\nutf=" + longer + "\n");
    EXPECT_EQ(p.GetString("s", "exact", ""), exact);
    EXPECT_EQ(p.GetString("s", "long", ""), exact);
    EXPECT_EQ(p.GetString("s", "utf", ""), std::string(2046, 'x'));
    EXPECT_EQ(p.Find("s", "long")->size(), 2049u);
}

TEST(ProfileTextRead, KeyListStopsAt16384BytesWithoutCuttingAName) {
    // 16 names of 1023 bytes fill 16 * 1024 = 16384 bytes exactly.
    std::string text = "[big]\n";
    for (char c = 'a'; c < 'a' + 16; ++c) {
        text += std::string(1023, c) + "=1\n";
    }
    ProfileText exact(text);
    EXPECT_EQ(exact.KeyNames("big").size(), 16u);
    ProfileText over(text + "z=1\n");
    EXPECT_EQ(over.KeyNames("big").size(), 16u);
    EXPECT_EQ(over.AllKeyNames("big").size(), 17u);
    // One byte more in the first name pushes the 16th name out whole.
    ProfileText pushed("[big]\n" + std::string(1024, '0') + "=1\n" + text.substr(6));
    const auto names = pushed.KeyNames("big");
    ASSERT_EQ(names.size(), 15u);
    EXPECT_EQ(names.back(), std::string(1023, 'a' + 13));
}

TEST(ProfileTextRead, OddTextReadsWithoutHarm) {
    std::string binary;
    for (int i = 0; i < 4096; ++i) {
        binary += static_cast<char>((i * 7919) & 0xFF);
    }
    const std::string huge(10 * 1024 * 1024, 'v');
    const std::string text = binary + "\n[s]\nk=ok\n" + std::string("\0\0=\0\n", 5) +
                             "long=" + huge + "\n" + huge + "\n[t]\nk2=fine";
    const ProfileText p(text);
    EXPECT_EQ(p.GetString("s", "k", "-"), "ok");
    EXPECT_EQ(p.GetString("s", "long", "-").size(), kProfileValueLimit);
    EXPECT_EQ(p.GetString("t", "k2", "-"), "fine");
    EXPECT_EQ(p.GetString("s", std::string("\0\0", 2), "-"), std::string("\0", 1));
    // Writing back keeps everything, only the line endings become CR LF.
    ProfileText again(p.Text());
    EXPECT_EQ(again.Text(), p.Text());
    EXPECT_EQ(again.GetString("s", "long", "-").size(), kProfileValueLimit);

    for (const char* odd :
         {"", "\xEF\xBB\xBF", "[", "]", "=", "\r", "\n\n\n", "[]\n=\n", "\xEF\xBB"}) {
        const ProfileText q(odd);
        EXPECT_EQ(q.GetString("", "", "def"), std::string(odd) == "[]\n=\n" ? "" : "def") << odd;
    }
}

}  // namespace
}  // namespace vexlo
