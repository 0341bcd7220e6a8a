// How profile text changes: positions, exact bytes, round trips and refused text.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "VexloError.h"
#include "profile/ProfileText.h"

namespace vexlo {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

TEST(ProfileTextWrite, ReplacingKeepsPositionAndEveryOtherLine) {
    ProfileText p(
        "; my notes\n"
        "[Settings]\n"
        "Use Timer = 1   \n"
        "  odd line without equals\n"
        "timer time=5\n"
        "\n"
        "[Other]\n"
        "k=v\n");
    EXPECT_TRUE(p.SetString("SETTINGS", "Timer Time", "20"));
    EXPECT_FALSE(p.SetString("Settings", "timer TIME", "20"));  // same text: nothing to do
    EXPECT_EQ(p.Text(),
              "; my notes\r\n[Settings]\r\nUse Timer = 1   \r\n  odd line without equals\r\n"
              "timer time=20\r\n\r\n[Other]\r\nk=v\r\n");
}

TEST(ProfileTextWrite, NewKeyFollowsTheLastKeyOfItsSection) {
    ProfileText p("[a]\nx=1\n; trailing comment\n\n[b]\n[a]\ny=2\n\n[c]\nz=3");
    p.SetString("A", "new", "n");
    p.SetString("b", "first", "f");
    p.SetString("d", "k", "v");
    EXPECT_EQ(p.Text(),
              "[a]\r\nx=1\r\n; trailing comment\r\n\r\n[b]\r\nfirst=f\r\n[a]\r\ny=2\r\nnew=n\r\n"
              "\r\n[c]\r\nz=3\r\n[d]\r\nk=v\r\n");
    EXPECT_THAT(p.KeyNames("a"), ElementsAre("x", "y", "new"));
}

TEST(ProfileTextWrite, DeleteAndErase) {
    ProfileText p("[F]\nA=1\nB=2\na=3\n; c\n[G]\nk=1\n[f]\nC=4\n[H]\nh=1\n");
    EXPECT_TRUE(p.DeleteKey("f", "a"));  // every copy goes, so no older one shows through
    EXPECT_EQ(p.GetString("F", "A", "gone"), "gone");
    EXPECT_FALSE(p.DeleteKey("F", "A"));
    EXPECT_FALSE(p.DeleteKey("missing", "A"));
    EXPECT_EQ(p.Text(), "[F]\r\nB=2\r\n; c\r\n[G]\r\nk=1\r\n[f]\r\nC=4\r\n[H]\r\nh=1\r\n");
    EXPECT_TRUE(p.EraseSection("F"));
    EXPECT_EQ(p.Text(), "[G]\r\nk=1\r\n[H]\r\nh=1\r\n");
    EXPECT_FALSE(p.EraseSection("F"));
    EXPECT_FALSE(p.SectionExists("F"));
    // An erased section comes back at the end.
    p.SetString("F", "n", "1");
    EXPECT_EQ(p.Text(), "[G]\r\nk=1\r\n[H]\r\nh=1\r\n[F]\r\nn=1\r\n");
}

TEST(ProfileTextWrite, ByteOrderMarkAndLineFeedsOnRewrite) {
    ProfileText p("\xEF\xBB\xBF[s]\nk=1\n");
    p.SetString("s", "k", "2");
    EXPECT_EQ(p.Text(), "\xEF\xBB\xBF[s]\r\nk=2\r\n");
}

TEST(ProfileTextWrite, AwkwardValuesReadBackAsWritten) {
    const std::string values[] = {
        "",
        " leading",
        "trailing ",
        "  both  ",
        "\"quoted\"",
        "'single'",
        "\"",
        "'",
        "\"\"",
        "a=b=c",
        "; not a comment",
        "[not a section]",
        "\t tab",
        "mixed\"'",
        "é ü ß 字",
        std::string(5000, 'x'),
        "C:\\Pictures\\",
        "\xFF\xFE binary \x01",
    };
    ProfileText p;
    for (const std::string& v : values) {
        p.SetString("s", "k", v);
        const ProfileText reread(p.Text());
        EXPECT_EQ(reread.Find("s", "k"), v) << v;
        EXPECT_THAT(reread.KeyNames("s"), ElementsAre("k")) << v;
    }
    p.SetString("s", "k", "plain");
    EXPECT_EQ(p.Text(), "[s]\r\nk=plain\r\n");  // quoting only where needed
}

TEST(ProfileTextWrite, NamesAreTrimmedAndMatchedLikeReads) {
    ProfileText p;
    p.SetString("  Folders ", " Pics ", "/a");
    p.SetString("folders", "PICS", "/b");
    EXPECT_EQ(p.Text(), "[Folders]\r\nPics=/b\r\n");
    p.SetString("Folders", "", "/");
    EXPECT_EQ(p.GetString("Folders", "", "-"), "/");
    EXPECT_THAT(p.KeyNames("Folders"), ElementsAre("Pics", ""));
}

TEST(ProfileTextWrite, TextTheFormatCannotHoldIsRefusedAndChangesNothing) {
    ProfileText p("[s]\nk=v\n");
    const std::string before = p.Text();
    struct Case {
        std::string section, key, value, reason;
    };
    const Case cases[] = {
        {"s", "k", "two\nlines", "line break"},
        {"s", "k", "carriage\rreturn", "line break"},
        {"s", "k", std::string("nul\0byte", 8), "line break"},
        {"s", "new\nkey", "v", "line break"},
        {"bad\r\nsection", "k", "v", "line break"},
        {"s", "a=b", "v", "holds \"=\""},
        {"s", " [Other]", "v", "starts with \"[\""},
        {"s", ";x", "v", "starts with \";\""},
    };
    for (const Case& c : cases) {
        try {
            p.SetString(c.section, c.key, c.value);
            ADD_FAILURE() << "accepted " << c.section << "/" << c.key;
        } catch (const VexloError& e) {
            EXPECT_THAT(e.what(), HasSubstr(c.reason));
            EXPECT_THAT(e.what(), HasSubstr("Cannot store"));
            EXPECT_EQ(std::string(e.what()).find('\n'), std::string::npos) << e.what();
        }
        EXPECT_EQ(p.Text(), before);
    }
    // Names that only look odd are fine.
    EXPECT_NO_THROW(p.SetString("[nested", "k]", "v"));
    EXPECT_EQ(ProfileText(p.Text()).GetString("[nested", "k]", "-"), "v");
}

TEST(ProfileTextWrite, SectionNamesHoldingBracketsReadBack) {
    ProfileText p;
    for (const char* item : {"photo[1].jpg", "Summer [2019]", "a]b", "]", "x]]"}) {
        p.SetString(item, "Use Specific Apply", "1");
    }
    p.SetString("photo[1].jpg", "Apply Method", "2");
    const ProfileText back(p.Text());
    EXPECT_THAT(back.SectionNames(),
                ElementsAre("photo[1].jpg", "Summer [2019]", "a]b", "]", "x]]"));
    EXPECT_EQ(back.GetString("photo[1].jpg", "Apply Method", "-"), "2");
    EXPECT_EQ(back.GetString("photo[1", "Apply Method", "-"), "-");
    EXPECT_TRUE(back.SectionExists("summer [2019]"));
    EXPECT_EQ(ProfileText("[a]b] c\nk=1\n").SectionNames(), std::vector<std::string>{"a]b"});
}

}  // namespace
}  // namespace vexlo
