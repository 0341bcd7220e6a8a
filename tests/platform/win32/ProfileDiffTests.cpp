// Our profile format against the Windows profile functions under Wine, on the
// rules the settings file relies on: names without regard to case, values
// replaced in place, where new keys and sections go, deletions, CR LF, reads.
#include "ProfileDiff.h"
#include "TinyTest.h"
#include "profile/ProfileText.h"

using namespace profilediff;

TEST(ProfileDiff, FreshFileAsTheProgramFillsIt) {
    Scenario s;
    s.ops = {Write("Folders", "Pics", "C:\\Pics\\"),
             Write("Use Folders", "Pics", "1"),
             Write("Startup", "Change Wallpaper", "0"),
             Write("Startup", "Random", "1"),
             Write("HotKeys", "CtrlAltC", "0"),
             Write("Settings", "Use Timer", "0"),
             Write("Settings", "Timer Time", "10"),
             Write("Settings", "Default Tile Method", "0"),
             Write("Settings", "Transparent Icons", "0"),
             Write("Settings", "Icon Text Colour", "-2147483647"),
             Write("Larger", "Stretch Wallpaper", "0"),
             Write("Deform", "UseDeform", "0"),
             Write("Deform", "Size", "15"),
             Write("Smaller", "Stretch Wallpaper", "0"),
             Write("Smaller", "Tile Wallpaper", "0"),
             Write("Smaller", "Stretch Size", "75"),
             Write("Smaller", "Tile Size", "75"),
             Write("Settings", "Current Wallpaper", "sunset.jpg"),
             Write("Wallpaper Changing", "Folder", "Pics"),
             Write("Wallpaper Changing", "File", "C:\\Pics\\sunset.jpg")};
    s.reads = {{"Settings", "Icon Text Colour"}, {"Settings", ""},   {"Smaller", ""},
               {"Wallpaper Changing", "File"},   {"Missing", "Key"}, {"Settings", "Missing"}};
    Run(s);
}

TEST(ProfileDiff, NamesMatchWithoutRegardToCase) {
    Scenario s;
    s.ops = {Write("HotKeys", "CtrlAltC", "1"),     Write("Settings", "Use Timer", "1"),
             Write("Settings", "Timer Time", "10"), Write("hotkeys", "ctrlaltc", "0"),
             Write("SETTINGS", "USE TIMER", "0"),   Write("Hotkeys", "Other", "x")};
    s.reads = {{"Hotkeys", "CtrlAltC"},
               {"HOTKEYS", "ctrlaltc"},
               {"hotKeys", ""},
               {"settings", "use timer"}};
    Run(s);
}

TEST(ProfileDiff, ReplacementKeepsTheLineAndItsNameNewKeysGoLast) {
    Scenario s;
    s.initial =
        "[Folders]\r\nNature=D:\\Nature\r\nCity=E:\\City\r\nSea=F:\\Sea\r\n"
        "[Use Folders]\r\nNature=1\r\n";
    s.ops = {Write("Folders", "city", "E:\\Other\\City\\"), Write("Folders", "NATURE", "D:\\N"),
             Write("Folders", "Shots", "D:\\Shots\\"), Write("Use Folders", "Sea", "0"),
             Write("Folders", "Shots", "G:\\Shots")};
    s.reads = {{"Folders", ""}, {"Folders", "CITY"}, {"Use Folders", ""}};
    Run(s);
}

TEST(ProfileDiff, DeletingKeysAndErasingSections) {
    Scenario s;
    s.initial =
        "[Settings]\r\nA=1\r\nB=2\r\nC=3\r\n[Nature]\r\nUse Specific Apply=1\r\n"
        "Apply Method=2\r\n[Folders]\r\nNature=D:\\Nature\r\n";
    s.ops = {Delete("Settings", "b"),
             Delete("Settings", "C"),
             Delete("Settings", "Absent"),
             Delete("Absent", "A"),
             Erase("nature"),
             Erase("Absent"),
             Write("Nature", "Icon Caption", "255"),
             Delete("Folders", "Nature"),
             Write("Folders", "City", "E:\\City"),
             Erase("Folders"),
             Write("Folders", "Sea", "F:\\Sea"),
             Write("Settings", "D", "4")};
    s.reads = {{"Settings", ""}, {"Nature", "Apply Method"}, {"Nature", ""}, {"Folders", ""}};
    Run(s);
}

TEST(ProfileDiff, OptionsDialogRewritesTheFolderSections) {
    // Erase, then one key per listed folder; equal key names share one key.
    Scenario s;
    s.initial =
        "[Folders]\r\nOld=C:\\Old\r\n[Use Folders]\r\nOld=0\r\n[Settings]\r\nUse Timer=1\r\n";
    s.ops = {Erase("Folders"),
             Write("Folders", "Pics", "C:\\A\\Pics"),
             Write("Folders", "Sea", "F:\\Sea"),
             Write("Folders", "Pics", "C:\\B\\Pics"),
             Erase("Use Folders"),
             Write("Use Folders", "Pics", "1"),
             Write("Use Folders", "Sea", "1"),
             Write("Use Folders", "Pics", "0")};
    s.reads = {{"Folders", ""}, {"Folders", "Pics"}, {"Use Folders", "pics"}};
    Run(s);
}

TEST(ProfileDiff, LfOnlyFileIsReadAndWrittenBackInCrLf) {
    Scenario s;
    s.initial = "[Settings]\nUse Timer=1\nTimer Time=5\n[Startup]\nRandom=0";
    s.ops = {Write("Settings", "Timer Time", "20"), Write("Startup", "Change Wallpaper", "1")};
    s.reads = {{"Settings", "Use Timer"}, {"Startup", "Random"}, {"Startup", ""}};
    Run(s);
}

TEST(ProfileDiff, ReadsDropBlanksAndOnePairOfQuotes) {
    // A file edited by hand: only the reads are compared, Windows rewrites such lines its own way.
    Scenario s;
    s.compareBytes = false;
    s.initial =
        "[Deform]\r\n  Size =  15  \r\nUseDeform\t=\t1\r\n[ Smaller ]\r\n"
        "Tile Size=\"40\"\r\nStretch Size='60'\r\nQuoted=\" x \"\r\nHalf=\"7\r\n"
        "Empty=\r\nx12=12abc\r\n";
    s.reads = {{"Deform", "Size"},          {"Deform", "UseDeform"}, {"Smaller", "Tile Size"},
               {"Smaller", "Stretch Size"}, {"Smaller", "Quoted"},   {"Smaller", "Half"},
               {"Smaller", "Empty"},        {"Smaller", "x12"},      {"Deform", ""}};
    Run(s);
}

TEST(ProfileDiff, LongValuesAreCutAt2047Bytes) {
    Scenario s;
    s.ops = {Write("Wallpaper Changing", "File", std::string(2047, 'a')),
             Write("Wallpaper Changing", "Folder", std::string(2047, 'b') + "cd")};
    s.reads = {{"Wallpaper Changing", "File"}, {"Wallpaper Changing", "Folder"}};
    Run(s);
}

// Where Windows is unsafe, ours stays sound: the two are meant to differ.
TEST(ProfileDiff, LineBreakInAValueInjectsLinesOnWindowsOnly) {
    const Op injecting = Write("Settings", "Current Wallpaper", "a.jpg\r\n[HotKeys]\r\nCtrlAltC=1");
    WindowsProfile windows(std::string("[Settings]\r\nUse Timer=0\r\n"));
    windows.Apply(injecting);
    CHECK_EQ(windows.Get("HotKeys", "CtrlAltC", "none"), "1");

    vexlo::ProfileText ours("[Settings]\r\nUse Timer=0\r\n");
    try {
        ours.SetString(injecting.section, injecting.key, injecting.value);
        tinytest::Fail(__FILE__, __LINE__, "ours stored a line break");
    } catch (const std::exception& error) {
        CHECK(std::string(error.what()).find("line break") != std::string::npos);
    }
    CHECK_EQ(ours.Text(), "[Settings]\r\nUse Timer=0\r\n");
}

TEST(ProfileDiff, OuterBlanksAndQuotesReadBackOnlyInOurs) {
    for (const std::string value : {" D:\\Pics ", "\"quoted\"", "'x'"}) {
        WindowsProfile windows(std::nullopt);
        windows.Apply(Write("Folders", "Pics", value));
        CHECK(windows.Get("Folders", "Pics", "") != value);

        vexlo::ProfileText ours;
        ours.SetString("Folders", "Pics", value);
        CHECK_EQ(vexlo::ProfileText(ours.Text()).GetString("Folders", "Pics", ""), value);
    }
}

TEST(ProfileDiff, SectionNamesHoldingBrackets) {
    Scenario s;
    s.initial = "[photo[1].jpg]\r\nApply Method=1\r\n[a]b]\r\nk=1\r\n";
    s.ops = {Write("Summer [2019]", "Use Specific Apply", "1"),
             Write("photo[1].jpg", "Apply Method", "2")};
    s.reads = {{"photo[1].jpg", "Apply Method"},
               {"photo[1", "Apply Method"},
               {"Summer [2019]", ""},
               {"a]b", "k"},
               {"a", "k"}};
    Run(s);
}
