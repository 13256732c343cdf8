#include "base/path.h"

#include <gtest/gtest.h>

#include <string>

namespace updater::base {
namespace {

const std::string kSep(1, PathSeparator());

TEST(WindowsPath, FolderEndsAtEitherSeparatorOnEverySystem) {
    EXPECT_EQ(FolderOf("D:\\Moje\\Lexivo\\Quorbel2.exe"), "D:\\Moje\\Lexivo");
    EXPECT_EQ(FolderOf("D:\\Moje/Lexivo/Quorbel2.exe"), "D:\\Moje/Lexivo");
    EXPECT_EQ(FolderOf("C:\\Quorbel2.exe"), "C:");
    EXPECT_EQ(FolderOf("\\Quorbel2.exe"), "");
    EXPECT_EQ(FolderOf("Quorbel2.exe"), "");

    // The prefix keeps the separator, and a drive's ':' ends it too, so that a name can follow.
    EXPECT_EQ(FolderPrefixOf("C:\\Lexivo\\Trans.chm"), "C:\\Lexivo\\");
    EXPECT_EQ(FolderPrefixOf("/opt/lexivo/Trans.chm"), "/opt/lexivo/");
    EXPECT_EQ(FolderPrefixOf("C:Trans.chm"), "C:");
    EXPECT_EQ(FolderPrefixOf("Trans.chm"), "");
}

TEST(WindowsPath, OneSeparatorAtTheEndAndAnEmptyFolderStaysEmpty) {
    EXPECT_EQ(WithTrailingSeparator("C:\\Lexivo", '\\'), "C:\\Lexivo\\");
    EXPECT_EQ(WithTrailingSeparator("C:\\Lexivo\\", '\\'), "C:\\Lexivo\\");
    EXPECT_EQ(WithTrailingSeparator("C:\\Lexivo/", '\\'), "C:\\Lexivo/");
    EXPECT_EQ(WithTrailingSeparator("C:\\Lexivo\\", '/'), "C:\\Lexivo\\");
    EXPECT_EQ(WithTrailingSeparator("Lexivo"), "Lexivo" + kSep);
    // Not the root: an empty folder names no folder at all.
    EXPECT_EQ(WithTrailingSeparator("", '\\'), "");

    EXPECT_EQ(WithoutTrailingSeparators("D:\\Szablony\\/\\"), "D:\\Szablony");
    EXPECT_EQ(WithoutTrailingSeparators("D:\\Szablony"), "D:\\Szablony");
    EXPECT_EQ(WithoutTrailingSeparators("\\"), "");
}

TEST(SystemPath, TheFolderHoldingAFileCanBeOpened) {
    EXPECT_EQ(FolderHolding("Quorbel2.exe"), ".");
    EXPECT_EQ(NameOf("Quorbel2.exe"), "Quorbel2.exe");
    EXPECT_EQ(FolderHolding(kSep + "Quorbel2.exe"), kSep);
    EXPECT_EQ(NameOf(kSep + "Quorbel2.exe"), "Quorbel2.exe");
    EXPECT_EQ(FolderHolding("lexivo" + kSep + "bin" + kSep + "Quorbel2.exe"), "lexivo" + kSep + "bin");
    EXPECT_EQ(NameOf("lexivo" + kSep + "bin" + kSep + "Quorbel2.exe"), "Quorbel2.exe");
    EXPECT_EQ(NameOf("lexivo" + kSep), "");

    // '/' separates everywhere; '\\' only on Windows, elsewhere it is part of a name.
    EXPECT_EQ(FolderHolding("lexivo/Quorbel2.exe"), "lexivo");
    if (PathSeparator() == '\\') {
        EXPECT_EQ(FolderHolding("lexivo/bin\\Quorbel2.exe"), "lexivo/bin");
        EXPECT_EQ(NameOf("lexivo/bin\\Quorbel2.exe"), "Quorbel2.exe");
    } else {
        EXPECT_EQ(FolderHolding("lexivo/bin\\Quorbel2.exe"), "lexivo");
        EXPECT_EQ(NameOf("lexivo/bin\\Quorbel2.exe"), "bin\\Quorbel2.exe");
    }
}

}  // namespace
}  // namespace updater::base
