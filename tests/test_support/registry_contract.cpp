#include "test_support/registry_contract.h"

#include <gtest/gtest.h>

#include <string>

namespace updater::test {

using environment::OpenRegKey;
using environment::RegKey;
using environment::RegStatus;
using environment::RegType;
using environment::RegValue;
using environment::RegView;

void ExpectBehavesAsTheWindowsRegistry(environment::Registry& registry, std::string_view key) {
    constexpr auto kUser = environment::RegRoot::kCurrentUser;
    const std::string root(key);
    const auto at = [&](std::string_view sub) { return root + "\\" + std::string(sub); };

    // Opening for reading never creates, so a failed open leaves nothing behind.
    EXPECT_FALSE(OpenRegKey(registry, kUser, at("New"), true).IsOpen());
    EXPECT_FALSE(OpenRegKey(registry, kUser, at("New"), true).IsOpen()) << "the failed open created nothing";

    // Opening for writing creates the key with its parents.
    {
        RegKey writable = OpenRegKey(registry, kUser, at("New\\Deep"), false);
        ASSERT_TRUE(writable.IsOpen());
        EXPECT_TRUE(writable.SetString("Name", "value"));
        EXPECT_TRUE(writable.SetDword("Flag", 0x01020304u));
        EXPECT_TRUE(OpenRegKey(registry, kUser, at("New"), true).IsOpen()) << "parents are created too";
    }

    // A key opened for reading reads, byte for byte and whatever the case of the names, and cannot
    // write.
    {
        RegKey readOnly = OpenRegKey(registry, kUser, at("NEW\\deep\\"), true);
        ASSERT_TRUE(readOnly.IsOpen()) << "names ignore case; a trailing separator names the same key";
        EXPECT_FALSE(readOnly.SetString("Name", "other"));
        EXPECT_FALSE(readOnly.SetDword("Flag", 1));
        EXPECT_FALSE(readOnly.DeleteValue("Name"));
        RegValue value;
        ASSERT_EQ(readOnly.Query("NAME", value), RegStatus::kOk);
        EXPECT_EQ(value.type, RegType::kString);
        EXPECT_EQ(value.data, "value");
        ASSERT_EQ(readOnly.Query("Flag", value), RegStatus::kOk);
        EXPECT_EQ(value.type, RegType::kDword);
        EXPECT_EQ(value.data, std::string("\x04\x03\x02\x01", 4));
        EXPECT_EQ(readOnly.Query("Missing", value), RegStatus::kNotFound);
    }

    // Deleting a tree takes its subkeys and values, not a sibling whose name starts the same.
    {
        RegKey sibling = OpenRegKey(registry, kUser, at("NewSibling"), false);
        ASSERT_TRUE(sibling.IsOpen());
        EXPECT_TRUE(sibling.SetString("V", "sibling"));
    }
    RegKey stillOpen = OpenRegKey(registry, kUser, at("New\\Deep"), true);
    ASSERT_TRUE(stillOpen.IsOpen());
    EXPECT_TRUE(registry.DeleteKeyTree(kUser, at("new\\"), RegView::kNative));
    EXPECT_FALSE(OpenRegKey(registry, kUser, at("New"), true).IsOpen());
    EXPECT_FALSE(OpenRegKey(registry, kUser, at("New\\Deep"), true).IsOpen());
    RegValue value;
    EXPECT_NE(stillOpen.Query("Name", value), RegStatus::kOk) << "a key deleted under an open handle";
    stillOpen.Close();
    EXPECT_EQ(OpenRegKey(registry, kUser, at("NewSibling"), true).Query("V", value), RegStatus::kOk);
    EXPECT_EQ(value.data, "sibling");
    EXPECT_TRUE(registry.DeleteKeyTree(kUser, at("Never\\There"), RegView::kNative)) << "gone is gone";

    EXPECT_TRUE(registry.DeleteKeyTree(kUser, root, RegView::kNative));
    EXPECT_FALSE(OpenRegKey(registry, kUser, root, true).IsOpen());
}

}  // namespace updater::test
