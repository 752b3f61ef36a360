// Emptying the update folder on disk.
#include <gtest/gtest.h>

#include <windows.h>

#include "tests/support/TestFiles.h"
#include "update/ClearFolder.h"

namespace {

TEST(ClearFolderTest, EmptiesNestedFoldersAndKeepsTheTop) {
    CTempFolder temp;
    const fs::path top = temp / "Launcher Updater";
    WriteFile(top / "fileVersion.txt", "3.0.0.4\r\n");
    WriteFile(top / "a" / "b" / "c" / "deep.bin", "x");
    WriteFile(top / "a" / "side.txt", "y");
    fs::create_directories(top / "empty" / "inner");
    ClearFolder(top.string().c_str());
    EXPECT_TRUE(fs::is_directory(top));
    EXPECT_EQ(ListTree(temp.Path()), "Launcher Updater/");
}

TEST(ClearFolderTest, AMissingFolderIsLeftAlone) {
    CTempFolder temp;
    ClearFolder((temp / "absent").string().c_str());
    EXPECT_EQ(ListTree(temp.Path()), "");
}

TEST(ClearFolderTest, AReadOnlyFileStaysAndSoDoTheFoldersAboveIt) {
    CTempFolder temp;
    const fs::path top = temp / "top";
    WriteFile(top / "keep" / "inner" / "locked.txt", "ro");
    WriteFile(top / "keep" / "gone.txt", "x");
    WriteFile(top / "other" / "gone.txt", "x");
    SetFileAttributesW((top / "keep" / "inner" / "locked.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    ClearFolder(top.string().c_str());
    EXPECT_EQ(ListTree(top), "keep/ keep/inner/ keep/inner/locked.txt");
}

// folder + "\" + name must fit 255 characters; a longer entry is skipped, not cut.
TEST(ClearFolderTest, EntriesPastTheBufferAreLeftAlone) {
    CTempFolder temp;
    const std::string folder = (temp / "f").string();
    const std::size_t room = 255 - folder.size() - 1;
    ASSERT_GT(room, 10u);
    const std::string fits(room, 'a');
    const std::string tooLong(room + 1, 'b');
    WriteFile(fs::path(folder) / fits, "x");
    WriteFile(fs::path(folder) / tooLong, "x");
    ClearFolder(folder.c_str());
    EXPECT_EQ(ListTree(folder), tooLong);
}

} // namespace
