#include "test_support/registry_contract.h"

#include <gtest/gtest.h>

#include <string>

namespace updater::test {

using environment::OpenRegKey;
using environment::Registry;
using environment::RegKey;
using environment::RegStatus;
using environment::RegType;
using environment::RegValue;
using environment::RegView;
using tools::CreateRegKey;
using tools::WritableKey;

void ExpectBehavesAsTheWindowsRegistry(tools::WritableRegistry& registry, std::string_view key) {
    constexpr auto kUser = environment::RegRoot::kCurrentUser;
    const std::string root(key);
    const auto at = [&](std::string_view sub) { return root + "\\" + std::string(sub); };

    // Opening for reading never creates, so a failed open leaves nothing behind.
    EXPECT_FALSE(OpenRegKey(registry, kUser, at("New")).IsOpen());
    EXPECT_FALSE(OpenRegKey(registry, kUser, at("New")).IsOpen()) << "the failed open created nothing";

    // Creating a key for writing creates its parents too.
    {
        WritableKey writable = CreateRegKey(registry, kUser, at("New\\Deep"));
        ASSERT_TRUE(writable.IsOpen());
        EXPECT_TRUE(writable.SetString("Name", "value"));
        EXPECT_TRUE(writable.SetDword("Flag", 0x01020304u));
        EXPECT_TRUE(OpenRegKey(registry, kUser, at("New")).IsOpen()) << "parents are created too";
    }

    // A key opened for reading reads, byte for byte and whatever the case of the names, and cannot
    // write.
    {
        const Registry::Handle handle = registry.OpenKey(kUser, at("NEW\\deep\\"), RegView::kNative);
        RegKey readOnly(registry, handle);
        ASSERT_TRUE(readOnly.IsOpen()) << "names ignore case; a trailing separator names the same key";
        EXPECT_FALSE(registry.SetString(handle, "Name", "other"));
        EXPECT_FALSE(registry.SetDword(handle, "Flag", 1));
        EXPECT_FALSE(registry.DeleteValue(handle, "Name"));
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
        WritableKey sibling = CreateRegKey(registry, kUser, at("NewSibling"));
        ASSERT_TRUE(sibling.IsOpen());
        EXPECT_TRUE(sibling.SetString("V", "sibling"));
    }
    RegKey stillOpen = OpenRegKey(registry, kUser, at("New\\Deep"));
    ASSERT_TRUE(stillOpen.IsOpen());
    EXPECT_TRUE(registry.DeleteKeyTree(kUser, at("new\\"), RegView::kNative));
    EXPECT_FALSE(OpenRegKey(registry, kUser, at("New")).IsOpen());
    EXPECT_FALSE(OpenRegKey(registry, kUser, at("New\\Deep")).IsOpen());
    RegValue value;
    EXPECT_NE(stillOpen.Query("Name", value), RegStatus::kOk) << "a key deleted under an open handle";
    stillOpen.Close();
    EXPECT_EQ(OpenRegKey(registry, kUser, at("NewSibling")).Query("V", value), RegStatus::kOk);
    EXPECT_EQ(value.data, "sibling");
    EXPECT_TRUE(registry.DeleteKeyTree(kUser, at("Never\\There"), RegView::kNative)) << "gone is gone";

    EXPECT_TRUE(registry.DeleteKeyTree(kUser, root, RegView::kNative));
    EXPECT_FALSE(OpenRegKey(registry, kUser, root).IsOpen());
}

}  // namespace updater::test
