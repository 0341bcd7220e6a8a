// Listing a folder: the Linux path and the portable one keep the same promises.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "FileHelpers.h"
#include "TempDir.h"
#include "listing/FolderListing.h"
#include "listing/PortableListing.h"

namespace vexlo {
namespace {

namespace fs = std::filesystem;

struct Listing {
    bool (*list)(const std::string&, std::vector<FolderEntry>&);
    bool (*read)(const std::string&, FolderEntry&);
};

class FolderListingTest : public testing::TestWithParam<Listing> {
protected:
    std::vector<FolderEntry> List(const std::string& folder, bool expected = true) {
        std::vector<FolderEntry> entries = {FolderEntry{"stale"}};
        EXPECT_EQ(GetParam().list(folder, entries), expected) << folder;
        std::sort(entries.begin(), entries.end(),
                  [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
        return entries;
    }

    test::TempDir dir_;
};

TEST_P(FolderListingTest, EntriesWithKindsLinksAndIdentities) {
    const std::string root = dir_.Sub("root");
    dir_.Sub("root/sub");
    test::WriteFile(root + "/picture.jpg", "x");
    test::WriteFile(root + "/.hidden", "x");
    fs::create_directory_symlink(root + "/sub", root + "/link to sub");
    fs::create_symlink(root + "/picture.jpg", root + "/link to picture");
    fs::create_symlink(root + "/gone", root + "/dangling");

    const std::vector<FolderEntry> entries = List(root);
    std::vector<std::string> names;
    for (const FolderEntry& e : entries) {
        names.push_back(e.name);
    }
    ASSERT_EQ(names, (std::vector<std::string>{".hidden", "dangling", "link to picture",
                                               "link to sub", "picture.jpg", "sub"}));
    struct stat sub {};
    struct stat picture {};
    ASSERT_EQ(stat((root + "/sub").c_str(), &sub), 0);
    ASSERT_EQ(stat((root + "/picture.jpg").c_str(), &picture), 0);
    const auto& [hidden, dangling, linkToPicture, linkToSub, plain, folder] =
        std::tie(entries[0], entries[1], entries[2], entries[3], entries[4], entries[5]);
    EXPECT_FALSE(hidden.isDirectory);
    EXPECT_TRUE(dangling.isSymlink);
    EXPECT_FALSE(dangling.isDirectory);
    EXPECT_TRUE(linkToSub.isSymlink);
    EXPECT_TRUE(linkToSub.isDirectory);
    EXPECT_TRUE(folder.isDirectory);
    EXPECT_FALSE(folder.isSymlink);
    EXPECT_FALSE(linkToPicture.isDirectory);
    // A directory and a link to it are one folder; a file has its own identity.
    EXPECT_EQ(folder.inode, static_cast<std::uint64_t>(sub.st_ino));
    EXPECT_EQ(folder.device, static_cast<std::uint64_t>(sub.st_dev));
    EXPECT_EQ(std::tie(linkToSub.device, linkToSub.inode), std::tie(folder.device, folder.inode));
    EXPECT_EQ(plain.inode, static_cast<std::uint64_t>(picture.st_ino));
    for (const FolderEntry& e : entries) {
        EXPECT_FALSE(e.isPseudoFileSystem) << e.name;
    }

    FolderEntry self;
    ASSERT_TRUE(GetParam().read(root + "/link to sub", self));
    EXPECT_EQ(self.name, "link to sub");
    EXPECT_TRUE(self.isDirectory);
    EXPECT_EQ(std::tie(self.device, self.inode), std::tie(folder.device, folder.inode));
}

TEST_P(FolderListingTest, MissingOrUnreadableFoldersGiveNothing) {
    test::WriteFile(dir_.File("file"), "x");
    EXPECT_TRUE(List(dir_.File("missing"), false).empty());
    EXPECT_TRUE(List(dir_.File("file"), false).empty());
    EXPECT_TRUE(List(dir_.File("file/below"), false).empty());
    EXPECT_TRUE(List(dir_.Sub("empty")).empty());
    FolderEntry entry;
    EXPECT_FALSE(GetParam().read(dir_.File("missing"), entry));
}

INSTANTIATE_TEST_SUITE_P(Linux, FolderListingTest,
                         testing::Values(Listing{ListFolder, ReadFolderEntry}));
INSTANTIATE_TEST_SUITE_P(Portable, FolderListingTest,
                         testing::Values(Listing{PortableListFolder, PortableReadFolderEntry}));

TEST(FolderListing, PseudoFileSystemsAreMarkedAtTheirTop) {
    FolderEntry proc;
    if (!ReadFolderEntry("/proc", proc)) {
        GTEST_SKIP() << "no /proc here";
    }
    EXPECT_TRUE(proc.isPseudoFileSystem);
    std::vector<FolderEntry> top;
    ASSERT_TRUE(ListFolder("/", top));
    const auto sys =
        std::find_if(top.begin(), top.end(), [](const FolderEntry& e) { return e.name == "sys"; });
    if (sys != top.end() && sys->isDirectory) {
        EXPECT_TRUE(sys->isPseudoFileSystem);
    }
    FolderEntry tmp;
    ASSERT_TRUE(ReadFolderEntry(fs::temp_directory_path().string(), tmp));
    EXPECT_FALSE(tmp.isPseudoFileSystem);
}

}  // namespace
}  // namespace vexlo
