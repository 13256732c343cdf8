#include "base/file_system.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "test_support/temp_folder.h"

namespace updater::base {
namespace {

using test::Bytes;

TEST(FileSystem, WritesReadsSeeksAndSizes) {
    test::TempFolder folder;
    const std::string path = folder.Path("data.bin");
    {
        auto file = File::CreateNew(path);
        ASSERT_TRUE(file.ok());
        EXPECT_EQ(file.value().Write(Bytes("hello world")), FileError::kNone);
        EXPECT_EQ(file.value().Flush(), FileError::kNone);
        EXPECT_EQ(file.value().Close(), FileError::kNone);
    }
    EXPECT_TRUE(FileExists(path));
    EXPECT_FALSE(DirectoryExists(path));
    EXPECT_EQ(File::CreateNew(path).error(), FileError::kAlreadyExists);

    auto file = File::OpenForReading(path, ReadShare::kDenyWriters);
    ASSERT_TRUE(file.ok());
    EXPECT_EQ(file.value().Size().value(), 11);
    ASSERT_EQ(file.value().Seek(6), FileError::kNone);
    std::uint8_t buffer[16];
    auto n = file.value().Read(buffer);
    ASSERT_TRUE(n.ok());
    EXPECT_EQ(std::string(buffer, buffer + n.value()), "world");
    EXPECT_EQ(file.value().Read(buffer).value(), 0u);
}

TEST(FileSystem, ReportsMissingFilesAndFolders) {
    test::TempFolder folder;
    EXPECT_EQ(File::OpenForReading(folder.Path("missing"), ReadShare::kShareAll).error(), FileError::kNotFound);
    EXPECT_FALSE(FileExists(folder.Path("missing")));
    EXPECT_TRUE(DirectoryExists(folder.Root()));
    EXPECT_FALSE(FileExists(folder.Root()));
    EXPECT_NE(RemoveFile(folder.Path("missing")), FileError::kNone);
}

TEST(FileSystem, MoveIntoPlacePutsTheNewFileInPlaceAndRefusesReadOnlyTargets) {
    test::TempFolder folder;
    const std::string target = folder.Write("target", "old");
    const std::string source = folder.Write("source", "new content");
    ASSERT_EQ(MoveIntoPlace(source, target), FileError::kNone);
    EXPECT_FALSE(FileExists(source));
    EXPECT_EQ(folder.Read("target"), "new content");

    const std::string second = folder.Write("second", "newer");
    folder.MakeReadOnly("target");
    EXPECT_EQ(MoveIntoPlace(second, target), FileError::kAccessDenied);
    EXPECT_EQ(folder.Read("target"), "new content");
    EXPECT_TRUE(FileExists(second));
}

TEST(FileSizeOf, ReportsSizeOrMinusOne) {
    test::TempFolder folder;
    EXPECT_EQ(FileSizeOf(folder.Path("missing.bin")), -1);
    EXPECT_EQ(FileSizeOf(folder.Root()), -1);
    EXPECT_EQ(FileSizeOf(folder.Write("empty.bin", "")), 0);
    EXPECT_EQ(FileSizeOf(folder.Write("five.bin", std::string("a\0b\r\n", 5))), 5);
    folder.Write("locked.bin", "123");
    folder.MakeReadOnly("locked.bin");
    EXPECT_EQ(FileSizeOf(folder.Path("locked.bin")), 3);
}

}  // namespace
}  // namespace updater::base
