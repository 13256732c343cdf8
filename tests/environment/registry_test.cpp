#include "environment/registry.h"

#include <gtest/gtest.h>

#include "test_support/memory_registry.h"

namespace updater::environment {
namespace {

constexpr RegRoot kUser = RegRoot::kCurrentUser;
constexpr RegRoot kMachine = RegRoot::kLocalMachine;

TEST(RegistryRoutinesTest, ReadRegStringFindsOnlyStringValuesAndOtherwiseLeavesTheValue) {
    MemoryRegistry registry;
    registry.Put(kUser, "SOFTWARE\\A", RegView::kNative, "Text", {RegType::kString, "C:\\x"});
    registry.Put(kUser, "SOFTWARE\\A", RegView::kNative, "Number", {RegType::kDword, std::string("\x01\0\0\0", 4)});
    registry.Put(kUser, "SOFTWARE\\A", RegView::kNative, "Cut", {RegType::kString, std::string("C:\\x\0y", 6)});

    std::string value = "kept";
    EXPECT_FALSE(ReadRegString(registry, kUser, "SOFTWARE\\A", "Number", value));
    EXPECT_FALSE(ReadRegString(registry, kUser, "SOFTWARE\\A", "Missing", value));
    EXPECT_FALSE(ReadRegString(registry, kUser, "SOFTWARE\\A", "Cut", value)) << "a NUL inside: no text";
    EXPECT_FALSE(ReadRegString(registry, kUser, "SOFTWARE\\Missing", "Text", value));
    EXPECT_FALSE(ReadRegString(registry, kMachine, "SOFTWARE\\A", "Text", value));
    EXPECT_EQ(value, "kept");
    EXPECT_TRUE(ReadRegString(registry, kUser, "software\\a", "TEXT", value)) << "names ignore case";
    EXPECT_EQ(value, "C:\\x");
    value.clear();
    EXPECT_TRUE(ReadRegString(registry, kUser, "SOFTWARE\\A\\", "Text", value)) << "a trailing separator";
    EXPECT_EQ(value, "C:\\x");
    EXPECT_EQ(registry.OpenKeyCount(), 0u) << "every read closes its key";
}

TEST(RegistryRoutinesTest, ReadRegBoolReportsPresenceOfAnyTypeAndTheIntegersTruth) {
    MemoryRegistry registry;
    registry.Put(kUser, "K", RegView::kNative, "One", {RegType::kDword, std::string("\0\0\1\0", 4)});
    registry.Put(kUser, "K", RegView::kNative, "Zero", {RegType::kDword, std::string(4, '\0')});
    registry.Put(kUser, "K", RegView::kNative, "Text", {RegType::kString, "1"});
    registry.Put(kUser, "K", RegView::kNative, "Blob", {RegType::kOther, "\x05"});

    auto read = [&](std::string_view name) { return ReadRegBool(registry, kUser, "K", name); };
    EXPECT_TRUE(read("One").found);
    EXPECT_TRUE(read("One").value);
    EXPECT_TRUE(read("Zero").found);
    EXPECT_FALSE(read("Zero").value);
    EXPECT_TRUE(read("Text").found);
    EXPECT_FALSE(read("Text").value);
    EXPECT_TRUE(read("Blob").found);
    EXPECT_FALSE(read("Missing").found);
    EXPECT_EQ(registry.OpenKeyCount(), 0u);
}

TEST(RegistryRoutinesTest, ReadOnlyOpeningNeverCreatesAndCannotWrite) {
    MemoryRegistry registry;
    EXPECT_FALSE(OpenRegKey(registry, kUser, "SOFTWARE\\New", true).IsOpen());
    EXPECT_FALSE(OpenRegKey(registry, kUser, "SOFTWARE\\New", true).IsOpen()) << "the failed open created nothing";

    RegKey writable = OpenRegKey(registry, kUser, "SOFTWARE\\New\\Deep", false);
    ASSERT_TRUE(writable.IsOpen());
    EXPECT_TRUE(writable.SetString("Name", "value"));
    EXPECT_TRUE(OpenRegKey(registry, kUser, "SOFTWARE\\New", true).IsOpen()) << "parents are created too";

    RegKey readOnly = OpenRegKey(registry, kUser, "SOFTWARE\\New\\Deep", true);
    EXPECT_FALSE(readOnly.SetString("Name", "other"));
    EXPECT_FALSE(readOnly.SetDword("Flag", 1));
    EXPECT_FALSE(readOnly.DeleteValue("Name"));
    RegValue value;
    ASSERT_EQ(readOnly.Query("Name", value), RegStatus::kOk);
    EXPECT_EQ(value.data, "value");
}

TEST(RegistryRoutinesTest, KeysCloseOnceWhetherMovedClosedOrDropped) {
    MemoryRegistry registry;
    {
        RegKey first = OpenRegKey(registry, kUser, "K", false);
        RegKey second = std::move(first);
        EXPECT_FALSE(first.IsOpen());  // NOLINT: checking the moved-from state
        EXPECT_EQ(registry.OpenKeyCount(), 1u);
        RegKey third = OpenRegKey(registry, kUser, "K", true);
        third = std::move(second);
        EXPECT_EQ(registry.OpenKeyCount(), 1u) << "assignment closed the key it replaced";
        EXPECT_TRUE(third.Close());
        EXPECT_TRUE(third.Close()) << "closing a closed key is harmless";
        RegValue value;
        EXPECT_EQ(third.Query("x", value), RegStatus::kFailed);
        RegKey dropped = OpenRegKey(registry, kUser, "K", true);
    }
    EXPECT_EQ(registry.OpenKeyCount(), 0u);
}

TEST(RegistryRoutinesTest, OnlyTheMachinesSoftwareKeyHasTwoViews) {
    MemoryRegistry registry;
    registry.Put(kMachine, "SOFTWARE\\P", RegView::k32Bit, "V", {RegType::kString, "32"});
    registry.Put(kMachine, "SYSTEM\\P", RegView::k32Bit, "V", {RegType::kString, "shared"});
    registry.Put(kUser, "SOFTWARE\\P", RegView::k32Bit, "V", {RegType::kString, "user"});

    std::string value;
    EXPECT_FALSE(ReadRegString(registry, kMachine, "SOFTWARE\\P", "V", value, RegView::kNative));
    EXPECT_TRUE(ReadRegString(registry, kMachine, "Software\\P", "V", value, RegView::k32Bit));
    EXPECT_EQ(value, "32");
    EXPECT_TRUE(ReadRegString(registry, kMachine, "SYSTEM\\P", "V", value, RegView::kNative));
    EXPECT_TRUE(ReadRegString(registry, kUser, "SOFTWARE\\P", "V", value, RegView::kNative));
    EXPECT_EQ(value, "user");
}

TEST(RegistryRoutinesTest, DeletingATreeTakesSubkeysButNotSiblings) {
    MemoryRegistry registry;
    registry.Put(kUser, "A\\B\\C", RegView::kNative, "V", {RegType::kString, "c"});
    registry.Put(kUser, "A\\BC", RegView::kNative, "V", {RegType::kString, "sibling"});
    RegKey open = OpenRegKey(registry, kUser, "A\\B\\C", true);

    EXPECT_TRUE(registry.DeleteKeyTree(kUser, "a\\b\\", RegView::kNative));
    EXPECT_FALSE(OpenRegKey(registry, kUser, "A\\B", true).IsOpen());
    EXPECT_FALSE(OpenRegKey(registry, kUser, "A\\B\\C", true).IsOpen());
    EXPECT_TRUE(OpenRegKey(registry, kUser, "A\\BC", true).IsOpen());
    RegValue value;
    EXPECT_EQ(open.Query("V", value), RegStatus::kFailed) << "a key deleted under an open handle";
    EXPECT_TRUE(registry.DeleteKeyTree(kUser, "Never\\There", RegView::kNative));
}

}  // namespace
}  // namespace updater::environment
