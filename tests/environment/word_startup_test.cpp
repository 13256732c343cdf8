#include "environment/word_startup.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "base/file_system.h"
#include "environment/shell.h"
#include "test_support/memory_registry.h"
#include "test_support/recording_shell.h"

namespace updater::environment {
namespace {

using Lines = std::vector<std::string>;

// A registry whose reads fail below one key, as an unreadable hive or a vanished key would.
class FailingRegistry final : public Registry {
  public:
    FailingRegistry(Registry& inner, std::string failingPath) : inner_(inner), failingPath_(std::move(failingPath)) {}

    Handle OpenKey(RegRoot root, std::string_view path, RegView view) noexcept override {
        const Handle handle = inner_.OpenKey(root, path, view);
        if (handle != 0 && path == failingPath_) failing_[handle] = true;
        return handle;
    }
    bool CloseKey(Handle key) noexcept override {
        failing_.erase(key);
        return inner_.CloseKey(key);
    }
    RegStatus QueryValue(Handle key, std::string_view name, RegValue& value) noexcept override {
        if (failing_.count(key) != 0) return RegStatus::kFailed;
        return inner_.QueryValue(key, name, value);
    }

  private:
    Registry& inner_;
    std::string failingPath_;
    std::map<Handle, bool> failing_;
};

class WordStartupTest : public testing::Test {
  protected:
    WordStartupTest() {
        const std::string sep(1, base::PathSeparator());
        // "\xA3" is a capital L with stroke: only the Windows-1250 lower-casing folds it.
        appData_ = sep + "Users" + sep + "\xA3ukasz" + sep + "AppData" + sep;
        default_ = appData_ + "Microsoft" + sep + "Word" + sep + "Startup";
        shell_.SetSpecialFolder(kCsidlAppData, appData_);
    }

    void Install(std::string_view version) {
        ASSERT_TRUE(tools::CreateRegKey(registry_, RegRoot::kCurrentUser, Key(version)).IsOpen());
    }
    void Record(std::string_view version, RegValue value) {
        Install(version);
        registry_.Put(RegRoot::kCurrentUser, Key(version) + "Options", RegView::kNative, "STARTUP-PATH",
                      std::move(value));
    }
    void Record(std::string_view version, std::string path) { Record(version, {RegType::kString, std::move(path)}); }
    static std::string Key(std::string_view version) { return "Software\\Microsoft\\Office\\" + std::string(version); }

    Lines Get(Registry& registry) {
        Lines lines = {"left over"};
        const std::int32_t count = GetWordStartupFolders(lines, shell_, registry);
        EXPECT_EQ(count, static_cast<std::int32_t>(lines.size()));
        return lines;
    }
    Lines Get() { return Get(registry_); }

    std::string appData_;
    std::string default_;
    MemoryRegistry registry_;
    RecordingShell shell_;
};

TEST_F(WordStartupTest, VersionsWithoutTheirOwnFolderShareTheDefaultLine) {
    Install("8.0\\Word\\");
    Install("9.0\\Word\\");
    EXPECT_EQ(Get(), (Lines{"Microsoft Word 97/2000=" + default_}));
    EXPECT_EQ(default_.back(), 'p') << "no trailing separator";
}

TEST_F(WordStartupTest, TheDefaultFolderRecordedInAnotherCaseIsNotListedByItself) {
    std::string upper = default_;
    upper.replace(upper.find("\xA3ukasz"), 6, "\xA3UKASZ");
    Record("9.0\\Word\\", upper + base::PathSeparator());
    Record("11.0\\Word\\", std::string());  // empty: no folder of its own either
    EXPECT_EQ(Get(), (Lines{"Microsoft Word 2000/2003=" + default_}));

    std::string other = default_;
    other.replace(other.find("\xA3ukasz"), 6, "\xB3ukasz");  // lower-case l with stroke
    Record("9.0\\Word\\", other);
    std::string otherUser = default_;
    otherUser.replace(otherUser.find("\xA3ukasz"), 6, "Lukasz");  // another user's folder
    Record("11.0\\Word\\", otherUser);
    EXPECT_EQ(Get(), (Lines{"Microsoft Word 2003=" + otherUser, "Microsoft Word 2000=" + default_}));
}

TEST_F(WordStartupTest, OwnFoldersInTableOrderBeforeTheDefaultLine) {
    const char sep = base::PathSeparator();
    Record("11.0\\Word\\", std::string("D:") + sep + "Szablony2003" + sep + sep);
    Install("10.0\\Word\\");
    Record("8.0\\Word\\", std::string("D:") + sep + "Szablony97");
    EXPECT_EQ(Get(),
              (Lines{std::string("Microsoft Word 97=D:") + sep + "Szablony97",
                     std::string("Microsoft Word 2003=D:") + sep + "Szablony2003", "Microsoft Word XP=" + default_}));
}

TEST_F(WordStartupTest, EveryVersionWithItsOwnFolderAddsNoDefaultLine) {
    Record("8.0\\Word\\", "E:\\A");
    Record("10.0\\Word\\", "E:\\B");
    EXPECT_EQ(Get(), (Lines{"Microsoft Word 97=E:\\A", "Microsoft Word XP=E:\\B"}));
}

TEST_F(WordStartupTest, NoWordInstalled) {
    EXPECT_EQ(Get(), (Lines{"Microsoft Word (nie znaleziono)=" + default_}));
    shell_.SetSpecialFolder(kCsidlAppData, "");
    EXPECT_EQ(Get(), Lines{});
    Install("8.0\\Word\\");
    EXPECT_EQ(Get(), Lines{}) << "without the application data folder there is no default line";
    Record("9.0\\Word\\", "E:\\A");
    EXPECT_EQ(Get(), Lines{"Microsoft Word 2000=E:\\A"});
}

TEST_F(WordStartupTest, ReadsOnlyTheUserHiveAndClosesEveryKey) {
    Record("8.0\\Word\\", "E:\\A");
    Install("9.0\\Word\\");
    Get();
    for (const auto& attempt : registry_.OpenAttempts()) {
        if (!attempt.readOnly) continue;  // the test's own set-up
        EXPECT_EQ(attempt.root, RegRoot::kCurrentUser);
    }
    EXPECT_EQ(registry_.OpenKeyCount(), 0u);
}

TEST_F(WordStartupTest, AFailedReadEndsTheSearchAndKeepsWhatWasFound) {
    Record("8.0\\Word\\", "E:\\A");
    Record("9.0\\Word\\", "E:\\B");
    Record("10.0\\Word\\", "E:\\C");
    FailingRegistry failing(registry_, Key("9.0\\Word\\") + "Options");
    EXPECT_EQ(Get(failing), (Lines{"Microsoft Word 97=E:\\A"}));

    Install("8.0\\Word\\");
    registry_.DeleteKeyTree(RegRoot::kCurrentUser, Key("8.0\\Word\\Options"), RegView::kNative);
    EXPECT_EQ(Get(failing), (Lines{"Microsoft Word 97=" + default_})) << "the default line still follows";

    Record("8.0\\Word\\", {RegType::kDword, std::string(4, '\0')});
    EXPECT_EQ(Get(), (Lines{"Microsoft Word (nie znaleziono)=" + default_}))
        << "a value that is not text ends the search too; 97 was neither listed nor counted";
}

}  // namespace
}  // namespace updater::environment
