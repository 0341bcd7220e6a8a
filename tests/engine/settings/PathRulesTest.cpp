// The path rules, in both styles.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "PathRules.h"

namespace vexlo {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
constexpr auto W = PathStyle::Windows;
constexpr auto P = PathStyle::Posix;

TEST(PathRules, FolderKeyName) {
    EXPECT_EQ(FolderKeyName("D:\\Pictures\\Nature\\", W), "Nature");
    EXPECT_EQ(FolderKeyName("D:\\Pictures\\Nature", W), "Nature");
    EXPECT_EQ(FolderKeyName("D:\\Shots\\", W), "Shots");
    EXPECT_EQ(FolderKeyName("C:\\", W), "");
    EXPECT_EQ(FolderKeyName("C:", W), "");
    EXPECT_EQ(FolderKeyName("C:Pics", W), "Pics");
    EXPECT_EQ(FolderKeyName("Nature", W), "Nature");
    EXPECT_EQ(FolderKeyName("D:\\Nature\\\\", W), "");  // only one separator is dropped
    EXPECT_EQ(FolderKeyName("/home/u/Pictures/Nature/", P), "Nature");
    EXPECT_EQ(FolderKeyName("/home/u/Pictures/Nature", P), "Nature");
    EXPECT_EQ(FolderKeyName("/mnt/c:/Pics", P), "Pics");
    EXPECT_EQ(FolderKeyName("/home/u/12:30 shots", P), "12:30 shots");
    EXPECT_EQ(FolderKeyName("/", P), "");
    EXPECT_EQ(FolderKeyName("a\\b", P), "a\\b");  // a backslash is a name character on POSIX
}

TEST(PathRules, PathComponents) {
    EXPECT_THAT(PathComponents("C:\\Pictures\\Nature\\sunset.jpg", W),
                ElementsAre("Pictures", "Nature", "sunset.jpg"));
    EXPECT_THAT(PathComponents("/home/u/a.jpg", P), ElementsAre("home", "u", "a.jpg"));
    EXPECT_THAT(PathComponents("a.jpg", P), IsEmpty());
    EXPECT_THAT(PathComponents("C:a.jpg", W), IsEmpty());
    EXPECT_THAT(PathComponents("pics/a.jpg", P), ElementsAre("a.jpg"));
    EXPECT_THAT(PathComponents("/a//b/", P), ElementsAre("a", "", "b", ""));
    EXPECT_THAT(PathComponents("/x:y/a.jpg", P), ElementsAre("x:y", "a.jpg"));
}

TEST(PathRules, NamesExtensionsAndSeparators) {
    EXPECT_EQ(ExtractFileName("C:\\P\\a.b.JPG", W), "a.b.JPG");
    EXPECT_EQ(ExtractFileName("C:a.jpg", W), "a.jpg");
    EXPECT_EQ(ExtractFileName("/p/a.jpg", P), "a.jpg");
    EXPECT_EQ(ExtractFileName("/p/", P), "");
    EXPECT_EQ(ExtractFileExt("C:\\P\\a.b.JPG", W), ".JPG");
    EXPECT_EQ(ExtractFileExt("/p.d/noext", P), "");
    EXPECT_EQ(ExtractFileExt("/p/.hidden", P), ".hidden");
    EXPECT_EQ(ExtractFileExt("/p/a.", P), ".");
    EXPECT_EQ(IncludeTrailingSeparator("D:\\Shots", W), "D:\\Shots\\");
    EXPECT_EQ(IncludeTrailingSeparator("/p/", P), "/p/");
    EXPECT_EQ(ExcludeTrailingSeparator("/p//", P), "/p/");
    EXPECT_FALSE(IsPathSeparator('\\', P));
}

}  // namespace
}  // namespace vexlo
