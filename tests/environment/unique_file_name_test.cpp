#include "environment/unique_file_name.h"

#include <gtest/gtest.h>

#include <string>

#include "base/file_system.h"
#include "test_support/temp_folder.h"

namespace updater::environment {
namespace {

std::string FolderPrefix(const test::TempFolder& folder) {
    return folder.Root() + base::PathSeparator();
}

TEST(UniqueFileName, CountsPlainOrBracketed) {
    test::TempFolder folder;
    const std::string prefix = FolderPrefix(folder);
    EXPECT_EQ(UniqueFileName(prefix, "slupdate", "tmp", false), prefix + "slupdate.tmp");
    folder.Write("slupdate.tmp", "");
    EXPECT_EQ(UniqueFileName(prefix, "slupdate", "tmp", false), prefix + "slupdate1.tmp");
    EXPECT_EQ(UniqueFileName(prefix, "slupdate", "tmp", true), prefix + "slupdate[1].tmp");
    folder.Write("slupdate1.tmp", "");
    EXPECT_EQ(UniqueFileName(prefix, "slupdate", "tmp", false), prefix + "slupdate2.tmp");
}

TEST(UniqueFileName, EmptyPartsAndFolders) {
    test::TempFolder folder;
    const std::string prefix = FolderPrefix(folder);
    EXPECT_EQ(UniqueFileName(prefix, "", "", false), prefix + "noname");
    EXPECT_EQ(UniqueFileName(prefix, "", "log", false), prefix + ".log");
    EXPECT_EQ(UniqueFileName(prefix, "readme", "", true), prefix + "readme");
    // The folder's own name is taken: nothing could be created in its place.
    const std::string inner = folder.Root();
    EXPECT_EQ(UniqueFileName(inner, "", "", false), inner + "noname");
    EXPECT_EQ(UniqueFileName("", inner, "", false), inner + "1");
}

TEST(UniqueFileName, ShortensOnlyNumberedCandidatesTo255) {
    test::TempFolder folder;
    const std::string prefix = FolderPrefix(folder);
    // A name that makes the first candidate exactly 255 characters long.
    const std::string name(255 - prefix.size() - 4, 'n');
    const std::string first = UniqueFileName(prefix, name, "tmp", false);
    ASSERT_EQ(first.size(), 255u);
    EXPECT_EQ(first, prefix + name + ".tmp");
    // The numbered candidate would be 256 characters: the name loses one character.
    folder.Write(name + ".tmp", "");
    const std::string second = UniqueFileName(prefix, name, "tmp", false);
    EXPECT_EQ(second, prefix + name.substr(0, name.size() - 1) + "1.tmp");
    EXPECT_EQ(second.size(), 255u);
    // The unnumbered candidate may exceed 255 characters.
    const std::string longer = name + "xx";
    EXPECT_EQ(UniqueFileName(prefix, longer, "tmp", true), prefix + longer + ".tmp");
}

}  // namespace
}  // namespace updater::environment
