#include "environment/registry.h"

#include <gtest/gtest.h>

#include "test_support/memory_registry.h"
#include "test_support/registry_contract.h"

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

// The same checks run on the system's registry under Wine (registry_win32_test.cpp).
TEST(RegistryRoutinesTest, TheTestsRegistryBehavesAsWindowsDoes) {
    MemoryRegistry registry;
    test::ExpectBehavesAsTheWindowsRegistry(registry, "SOFTWARE\\Norvak\\Contract");
    EXPECT_EQ(registry.OpenKeyCount(), 0u) << "every key was closed";
}

TEST(RegistryRoutinesTest, KeysCloseOnceWhetherMovedClosedOrDropped) {
    MemoryRegistry registry;
    {
        ASSERT_TRUE(tools::CreateRegKey(registry, kUser, "K").IsOpen());
        EXPECT_EQ(registry.OpenKeyCount(), 0u) << "a key dropped at once is closed";
        RegKey first = OpenRegKey(registry, kUser, "K");
        RegKey second = std::move(first);
        EXPECT_FALSE(first.IsOpen());  // NOLINT: checking the moved-from state
        EXPECT_EQ(registry.OpenKeyCount(), 1u);
        RegKey third = OpenRegKey(registry, kUser, "K");
        third = std::move(second);
        EXPECT_EQ(registry.OpenKeyCount(), 1u) << "assignment closed the key it replaced";
        EXPECT_TRUE(third.Close());
        EXPECT_TRUE(third.Close()) << "closing a closed key is harmless";
        RegValue value;
        EXPECT_EQ(third.Query("x", value), RegStatus::kFailed);
        RegKey dropped = OpenRegKey(registry, kUser, "K");
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

}  // namespace
}  // namespace updater::environment
