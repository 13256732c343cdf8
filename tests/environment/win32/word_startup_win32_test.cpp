// The word processor's start-up folders read from the real registry. The tests write the version
// keys under the user's Office key themselves and remove them; they refuse to run where any of
// those keys already exists.
#include <shlobj.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "environment/registry.h"
#include "environment/shell.h"
#include "environment/word_startup.h"
#include "registry_writer/writable_registry.h"

namespace updater::environment {
namespace {

using Lines = std::vector<std::string>;
constexpr std::string_view kOffice = "Software\\Microsoft\\Office";
constexpr std::string_view kVersions[] = {"8.0", "9.0", "10.0", "11.0"};

class WordStartupWin32Test : public testing::Test {
  protected:
    void SetUp() override {
        officeExisted_ = OpenRegKey(registry_, RegRoot::kCurrentUser, kOffice).IsOpen();
        for (auto version : kVersions) {
            ASSERT_FALSE(OpenRegKey(registry_, RegRoot::kCurrentUser, VersionKey(version)).IsOpen())
                << version << " is installed: run these tests in a throwaway prefix";
        }
        owned_ = true;
        char appData[MAX_PATH] = {};
        ASSERT_EQ(SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData), S_OK);
        default_ = std::string(appData) + "\\Microsoft\\Word\\Startup";
    }
    void TearDown() override {
        if (!owned_) return;
        for (auto version : kVersions)
            EXPECT_TRUE(writer_.DeleteKeyTree(RegRoot::kCurrentUser, VersionKey(version), RegView::kNative));
        if (!officeExisted_) {
            EXPECT_TRUE(writer_.DeleteKeyTree(RegRoot::kCurrentUser, kOffice, RegView::kNative));
        }
    }

    static std::string VersionKey(std::string_view version) {
        return std::string(kOffice) + "\\" + std::string(version);
    }
    void Install(std::string_view version) {
        ASSERT_TRUE(tools::CreateRegKey(writer_, RegRoot::kCurrentUser, VersionKey(version) + "\\Word").IsOpen());
    }
    void Record(std::string_view version, std::string_view path) {
        tools::WritableKey options =
            tools::CreateRegKey(writer_, RegRoot::kCurrentUser, VersionKey(version) + "\\Word\\Options");
        ASSERT_TRUE(options.SetString("STARTUP-PATH", path));
    }
    Lines Get() {
        Lines lines;
        const std::int32_t count = GetWordStartupFolders(lines, SystemShell(), registry_);
        EXPECT_EQ(count, static_cast<std::int32_t>(lines.size()));
        return lines;
    }

    Registry& registry_ = SystemRegistry();
    tools::WritableRegistry& writer_ = tools::SystemWritableRegistry();
    std::string default_;
    bool officeExisted_ = false;
    bool owned_ = false;
};

// Which lines are listed is decided natively (word_startup_test.cpp); here: the real registry's
// keys and the real default folder reach that decision.
TEST_F(WordStartupWin32Test, NoWordInstalled) {
    EXPECT_EQ(Get(), Lines{"Microsoft Word (nie znaleziono)=" + default_});
}

TEST_F(WordStartupWin32Test, OwnFoldersInVersionOrderThenTheDefaultLine) {
    Record("11.0", "D:\\Szablony\\2003\\");
    Record("9.0", "D:\\Szablony\\2000");
    Install("8.0");
    EXPECT_EQ(Get(), (Lines{"Microsoft Word 2000=D:\\Szablony\\2000", "Microsoft Word 2003=D:\\Szablony\\2003",
                            "Microsoft Word 97=" + default_}));
}

}  // namespace
}  // namespace updater::environment
