// The registry routines and the install-folder lookup against the real registry, read as the
// updater reads it (SystemRegistry()) and written with the tools' writer. Every test works on keys
// it creates and removes; it refuses to run where the product's keys already exist.
#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "environment/install_location.h"
#include "environment/kod.h"
#include "environment/registry.h"
#include "registry_writer/writable_registry.h"
#include "test_support/registry_contract.h"

namespace updater::environment {
namespace {

constexpr RegRoot kUser = RegRoot::kCurrentUser;
constexpr RegRoot kMachine = RegRoot::kLocalMachine;

struct Place {
    RegRoot root;
    RegView view;
    std::string_view path;
};
// Everything these tests may create: the makers' keys, in both hives and both views.
constexpr std::array<Place, 8> kOwnedKeys = {{
    {kUser, RegView::kNative, "SOFTWARE\\Norvak"},
    {kUser, RegView::k32Bit, "SOFTWARE\\Norvak"},
    {kMachine, RegView::kNative, "SOFTWARE\\Norvak"},
    {kMachine, RegView::k32Bit, "SOFTWARE\\Norvak"},
    {kUser, RegView::kNative, "Software\\Quillex"},
    {kUser, RegView::k32Bit, "Software\\Quillex"},
    {kMachine, RegView::kNative, "Software\\Quillex"},
    {kMachine, RegView::k32Bit, "Software\\Quillex"},
}};

class RegistryWin32Test : public testing::Test {
  protected:
    void SetUp() override {
        for (const Place& p : kOwnedKeys) {
            ASSERT_FALSE(OpenRegKey(registry_, p.root, p.path, p.view).IsOpen())
                << p.path << " already exists: run these tests in a throwaway prefix";
        }
        owned_ = true;
    }
    void TearDown() override {
        if (!owned_) return;
        for (const Place& p : kOwnedKeys)
            EXPECT_TRUE(writer_.DeleteKeyTree(p.root, p.path, p.view)) << p.path;
    }

    static std::string Scramble(std::string_view text, int appId, bool flag) {
        return SharedKod().Encode(text, appId, 5, flag);
    }
    // An entry as the product's 32-bit installer leaves it.
    void WriteFolder(RegRoot root, int appId, std::string_view folder, bool flag) {
        tools::WritableKey key = tools::CreateRegKey(writer_, root, ProductKeyPath(appId), RegView::k32Bit);
        ASSERT_TRUE(key.IsOpen());
        const std::string name = appId == 1 ? "Katalog" : Scramble("Katalog", appId, flag);
        ASSERT_TRUE(key.SetString(name, Scramble(folder, appId, flag)));
    }

    Registry& registry_ = SystemRegistry();
    tools::WritableRegistry& writer_ = tools::SystemWritableRegistry();
    bool owned_ = false;
};

TEST_F(RegistryWin32Test, ValuesComeBackByteForByteWithTheirTypes) {
    const std::string path = "SOFTWARE\\Norvak\\Test";
    {
        tools::WritableKey key = tools::CreateRegKey(writer_, kUser, path);
        ASSERT_TRUE(key.IsOpen());
        ASSERT_TRUE(key.SetString("#Z|x~", "#@|-~m printable"));
        ASSERT_TRUE(key.SetString("Empty", ""));
        ASSERT_TRUE(key.SetDword("Number", 0x01020304));
    }
    const Registry::Handle handle = registry_.OpenKey(kUser, path, RegView::kNative);
    RegKey key(registry_, handle);
    ASSERT_TRUE(key.IsOpen());
    RegValue value;
    ASSERT_EQ(key.Query("#z|X~", value), RegStatus::kOk) << "value names ignore case";
    EXPECT_EQ(value.type, RegType::kString);
    EXPECT_EQ(value.data, "#@|-~m printable");
    ASSERT_EQ(key.Query("Empty", value), RegStatus::kOk);
    EXPECT_EQ(value.data, "");
    ASSERT_EQ(key.Query("Number", value), RegStatus::kOk);
    EXPECT_EQ(value.type, RegType::kDword);
    EXPECT_EQ(value.data, std::string("\x04\x03\x02\x01", 4));
    EXPECT_EQ(key.Query("Missing", value), RegStatus::kNotFound);
    EXPECT_FALSE(writer_.SetString(handle, "Other", "x")) << "the updater's key is opened for reading only";

    EXPECT_FALSE(OpenRegKey(registry_, kUser, path + "\\Absent").IsOpen());
    EXPECT_FALSE(OpenRegKey(registry_, kUser, path + "\\Absent").IsOpen()) << "reading created nothing";
    EXPECT_TRUE(ReadRegBool(registry_, kUser, path, "Number").value);
    std::string text = "kept";
    EXPECT_FALSE(ReadRegString(registry_, kUser, path, "Number", text));
    EXPECT_EQ(text, "kept");
    // The in-memory registry of the native tests follows the same rules for key paths.
    EXPECT_TRUE(ReadRegString(registry_, kUser, "software\\norvak\\TEST\\", "#Z|x~", text))
        << "neither case nor a trailing separator changes the key";
    EXPECT_EQ(text, "#@|-~m printable");
}

// Written past the registry layer, which never stores a NUL inside a string itself.
TEST_F(RegistryWin32Test, AStringWithANulInsideIsNoTextAndTheLookupGoesOn) {
    const std::string path = "SOFTWARE\\Norvak\\Test";
    const std::string folder("C:\\Lex\0ivo", 10);
    const std::string stored = Scramble(folder, 1, false);  // the additive variant keeps the NUL
    ASSERT_NE(stored.find('\0'), std::string::npos);
    auto writeRaw = [](const std::string& keyPath, const char* name, std::string_view data) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, nullptr, 0, KEY_SET_VALUE | KEY_WOW64_32KEY,
                                  nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        const std::string bytes = std::string(data) + '\0';
        EXPECT_EQ(RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(bytes.data()),
                                 static_cast<DWORD>(bytes.size())),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    };
    writeRaw(path, "Cut", std::string_view("C:\\x\0y", 6));
    writeRaw(path, "Padded", std::string("C:\\x\0\0", 6));  // extra terminators are no NUL inside
    writeRaw(std::string(ProductKeyPath(1)), "Katalog", stored);

    std::string text = "kept";
    EXPECT_FALSE(ReadRegString(registry_, kUser, path, "Cut", text));
    EXPECT_EQ(text, "kept");
    EXPECT_TRUE(ReadRegString(registry_, kUser, path, "Padded", text));
    EXPECT_EQ(text, "C:\\x");
    EXPECT_EQ(FindInstallFolder(registry_, 1), "") << "not the folder before the NUL";
    WriteFolder(kMachine, 1, "D:\\Lexivo", false);
    EXPECT_EQ(FindInstallFolder(registry_, 1), "D:\\Lexivo");
}

// The same checks as on the tests' in-memory registry (registry_test.cpp).
TEST_F(RegistryWin32Test, BehavesAsTheTestsRegistryDoes) {
    test::ExpectBehavesAsTheWindowsRegistry(writer_, "SOFTWARE\\Norvak\\Contract");
}

// The 64-bit view is named explicitly: in the x86 build the native view is the 32-bit view, so
// only KEY_WOW64_64KEY shows that the entry stayed out of the other one.
TEST_F(RegistryWin32Test, MachineEntriesInThe32BitViewAloneAreFound) {
    WriteFolder(kMachine, 6, "C:\\Lexivo", false);
    HKEY key = nullptr;
    const std::string path(ProductKeyPath(6));
    const LSTATUS opened = RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, &key);
    if (opened == ERROR_SUCCESS) {
        const std::string name = Scramble("Katalog", 6, false);
        EXPECT_EQ(RegQueryValueExA(key, name.c_str(), nullptr, nullptr, nullptr, nullptr), ERROR_FILE_NOT_FOUND)
            << "the entry went to the 32-bit view only";
        RegCloseKey(key);
    } else {
        EXPECT_EQ(opened, ERROR_FILE_NOT_FOUND);
    }
    EXPECT_EQ(FindInstallFolder(registry_, 6), "C:\\Lexivo");
}

// Which hive and entry win is decided on the tests' registry (install_location_test.cpp); here an
// 8-bit folder name of app id 1 comes back from the real registry's 8-bit interface unchanged.
TEST_F(RegistryWin32Test, AnEightBitFolderNameComesBackUnchanged) {
    const std::string folder = "C:\\Program Files (x86)\\S\xb3ownik";
    WriteFolder(kUser, 1, folder, false);
    std::string stored;
    ASSERT_TRUE(ReadRegString(registry_, kUser, ProductKeyPath(1), "Katalog", stored));
    EXPECT_NE(stored, folder);
    EXPECT_EQ(FindInstallFolder(registry_, 1), folder);
}

}  // namespace
}  // namespace updater::environment
