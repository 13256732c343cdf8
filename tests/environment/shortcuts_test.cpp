#include "environment/shortcuts.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/file_system.h"
#include "environment/shell.h"
#include "test_support/memory_registry.h"
#include "test_support/recording_shell.h"
#include "test_support/temp_folder.h"

namespace updater::environment {
namespace {

using Shortcut = RecordingShell::Shortcut;

constexpr std::string_view kOldTranslatorLink = "Hilfedatei des \334bersetzungsprogramms.lnk";
constexpr std::string_view kOldDictionaryLink = "Hilfedatei des W\xF6rterbuchs.lnk";
constexpr std::string_view kPolishCaption = "T\xB3umacz stron WWW";
constexpr std::string_view kEnglishCaption = "Web Page Translator";

std::string Join(std::string_view folder, std::string_view name) {
    return std::string(folder) + base::PathSeparator() + std::string(name);
}

// A Start menu and an install folder on disk, with Explorer's record of the Programs folder in
// a registry of its own.
class ShortcutsTest : public testing::Test {
  protected:
    ShortcutsTest() : programs_(Join(root_.Root(), "Programs")), install_(Join(root_.Root(), "Lexivo")) {
        MakeFolder(programs_);
        MakeFolder(install_);
        registry_.Put(RegRoot::kCurrentUser, kShellFoldersKey, RegView::kNative, "Programs",
                      {RegType::kString, programs_});
    }

    static void MakeFolder(const std::string& path) { std::filesystem::create_directories(path); }
    std::string Group(std::string_view title) {
        const std::string group = Join(programs_, title);
        MakeFolder(group);
        return group;
    }
    std::string Install(std::string_view name) {
        root_.Write(Join("Lexivo", name), "");
        return Join(install_, name);
    }
    ShortcutStepLog Run(std::int32_t kind, std::int32_t appId, std::string folder) {
        return UpdateShortcuts(kind, appId, folder, shell_, registry_);
    }
    ShortcutStepLog Run(std::int32_t kind, std::int32_t appId) {
        return Run(kind, appId, install_ + base::PathSeparator());
    }

    test::TempFolder root_;
    std::string programs_;
    std::string install_;
    MemoryRegistry registry_;
    RecordingShell shell_;
};

// Kind 6 runs for the German product 5, whose group is named after its German title.
TEST_F(ShortcutsTest, HelpLinksReplaceTheOldLinkOfEachCompleteHalf) {
    const std::string group = Group("Lexivo Deutsch 2.5");
    const std::string trans = Install("Trans.chm");
    const std::string transD = Install("TransD.chm");
    const std::string slZew = Install("Sl_Zew.chm");
    const std::string slZewD = Install("Sl_ZewD.chm");
    root_.Write(Join(Join("Programs", "Lexivo Deutsch 2.5"), kOldTranslatorLink), "old");
    root_.Write(Join(Join("Programs", "Lexivo Deutsch 2.5"), kOldDictionaryLink), "old");

    const ShortcutStepLog log = Run(6, 5);

    const std::vector<Shortcut> expected = {
        {trans, Join(group, "Hilfedatei des \334bersetzungsprogramms (Polnisch).lnk"), ""},
        {transD, Join(group, "Hilfedatei des \334bersetzungsprogramms (Deutsch).lnk"), ""},
        {slZew, Join(group, "Hilfedatei des W\xF6rterbuchs (Polnisch).lnk"), ""},
        {slZewD, Join(group, "Hilfedatei des W\xF6rterbuchs (Deutsch).lnk"), ""},
    };
    EXPECT_EQ(shell_.Created(), expected);
    EXPECT_FALSE(base::FileExists(Join(group, kOldTranslatorLink)));
    EXPECT_FALSE(base::FileExists(Join(group, kOldDictionaryLink)));
    EXPECT_EQ(log.removed.size(), 2u);
    EXPECT_EQ(log.created.size(), 4u);
}

TEST_F(ShortcutsTest, HelpLinksLeaveAnIncompleteHalfAlone) {
    const std::string group = Group("Lexivo Deutsch 2.5");
    Install("Trans.chm");
    Install("TransD.chm");
    Install("Sl_Zew.chm");  // its German file is missing
    root_.Write(Join(Join("Programs", "Lexivo Deutsch 2.5"), kOldTranslatorLink), "old");
    root_.Write(Join(Join("Programs", "Lexivo Deutsch 2.5"), kOldDictionaryLink), "old");

    Run(6, 5);

    ASSERT_EQ(shell_.Created().size(), 2u);
    EXPECT_EQ(shell_.Created()[0].linkFile, Join(group, "Hilfedatei des \334bersetzungsprogramms (Polnisch).lnk"));
    EXPECT_EQ(shell_.Created()[1].linkFile, Join(group, "Hilfedatei des \334bersetzungsprogramms (Deutsch).lnk"));
    EXPECT_FALSE(base::FileExists(Join(group, kOldTranslatorLink)));
    EXPECT_TRUE(base::FileExists(Join(group, kOldDictionaryLink))) << "no new links, so the old one stays";
}

TEST_F(ShortcutsTest, HelpLinksNeedTheGermanGroup) {
    Install("Trans.chm");
    Install("TransD.chm");
    Group("Lexivo Niemieckiego 2.5");  // the Polish title is not looked for
    Run(6, 5);
    EXPECT_TRUE(shell_.Created().empty());

    // A product without a German title has no group at all: nothing lands in Programs itself.
    root_.Write(Join("Programs", kOldTranslatorLink), "old");
    Run(6, 6);
    EXPECT_TRUE(shell_.Created().empty());
    EXPECT_TRUE(base::FileExists(Join(programs_, kOldTranslatorLink)));
}

TEST_F(ShortcutsTest, HelpLinksKeepTheOldLinkUnlessBothNewLinksWereWritten) {
    const std::string group = Group("Lexivo Deutsch 2.5");
    for (auto name : {"Trans.chm", "TransD.chm", "Sl_Zew.chm", "Sl_ZewD.chm"})
        Install(name);
    const std::string oldTranslator =
        root_.Write(Join(Join("Programs", "Lexivo Deutsch 2.5"), kOldTranslatorLink), "old");
    const std::string oldDictionary =
        root_.Write(Join(Join("Programs", "Lexivo Deutsch 2.5"), kOldDictionaryLink), "old");
    const std::string failing = Join(group, "Hilfedatei des \334bersetzungsprogramms (Deutsch).lnk");
    shell_.FailLink(failing);

    ShortcutStepLog log = Run(6, 5);
    EXPECT_EQ(shell_.Created().size(), 4u) << "every link is tried";
    EXPECT_EQ(log.failed, std::vector<std::string>{failing});
    EXPECT_TRUE(base::FileExists(oldTranslator)) << "one of its new links is missing";
    EXPECT_EQ(log.removed, std::vector<std::string>{oldDictionary});
    EXPECT_FALSE(base::FileExists(oldDictionary));

    // With no link written at all, the step still goes through both halves and removes nothing.
    root_.Write(Join(Join("Programs", "Lexivo Deutsch 2.5"), kOldDictionaryLink), "old");
    shell_.SetCreateResult(false);
    log = Run(6, 5);
    EXPECT_EQ(shell_.Created().size(), 8u);
    EXPECT_EQ(log.failed.size(), 4u);
    EXPECT_TRUE(log.created.empty());
    EXPECT_TRUE(log.removed.empty());
    EXPECT_TRUE(base::FileExists(oldTranslator));
    EXPECT_TRUE(base::FileExists(oldDictionary));
}

TEST_F(ShortcutsTest, WebTranslatorUsesTheCaptionOfTheGroupsLanguage) {
    const std::string target = Install("Quorbelpl2.exe");
    struct Case {
        std::vector<std::string_view> groups;
        std::string_view expectedGroup;
        std::string_view caption;
    };
    const Case cases[] = {
        {{"Lexivo Angielskiego 2.5", "Lexivo English 2.5"}, "Lexivo Angielskiego 2.5", kPolishCaption},
        {{"Lexivo Angielskiego 2", "Lexivo English 2.5"}, "Lexivo Angielskiego 2", kPolishCaption},
        {{"Lexivo English 2.5"}, "Lexivo English 2.5", kEnglishCaption},
        {{"Lexivo English 2"}, "Lexivo English 2", kEnglishCaption},
    };
    for (const Case& c : cases) {
        std::filesystem::remove_all(programs_);
        MakeFolder(programs_);
        for (auto g : c.groups)
            Group(g);
        RecordingShell shell;
        UpdateShortcuts(9, 6, install_, shell, registry_);  // no trailing separator: one is added
        const std::string link = Join(Join(programs_, c.expectedGroup), c.caption) + ".lnk";
        const std::vector<Shortcut> expected = {{target, link, std::string(c.caption)}};
        EXPECT_EQ(shell.Created(), expected) << c.expectedGroup;
    }
}

TEST_F(ShortcutsTest, WebTranslatorNeedsTheGroupAndTheFile) {
    Run(9, 6);
    EXPECT_TRUE(shell_.Created().empty()) << "no file, no group";
    Group("Lexivo Angielskiego 2.5");
    Run(9, 6);
    EXPECT_TRUE(shell_.Created().empty()) << "no file";
    std::filesystem::remove_all(Join(programs_, "Lexivo Angielskiego 2.5"));
    Group("Lexivo Angielskiego");  // less three characters is not the product's group
    Install("Quorbelpl2.exe");
    Run(9, 6);
    EXPECT_TRUE(shell_.Created().empty()) << "no group";
}

TEST_F(ShortcutsTest, WebTranslatorTakesOnlyStartMenuRowsOfTheProduct) {
    Install("Quorbelpl2.exe");
    Group("Lexivo Angielskiego 2.0");           // product 3: a Polish row without the Start-menu flag
    Group("Lexivo Angielskiego 1.5");           // product 13: a Hungarian row only
    Group("Lexivo Angielskiego Medycyna 1.0");  // product 7: no row
    for (int appId : {3, 13, 7})
        Run(9, appId);
    EXPECT_TRUE(shell_.Created().empty());
}

TEST_F(ShortcutsTest, OtherKindsTouchNothing) {
    for (auto title : {"Lexivo Deutsch 2.5", "Lexivo Angielskiego 2.5", "Lexivo English 2.5"})
        Group(title);
    for (auto name : {"Trans.chm", "TransD.chm", "Sl_Zew.chm", "Sl_ZewD.chm", "Quorbelpl2.exe"})
        Install(name);
    root_.Write(Join(Join("Programs", "Lexivo Deutsch 2.5"), kOldTranslatorLink), "old");
    for (std::int32_t kind : {15, 0, 4, 5, 7, 8, 10, -6}) {
        for (std::int32_t appId : {5, 6}) {
            const ShortcutStepLog log = Run(kind, appId);
            EXPECT_TRUE(log.removed.empty() && log.created.empty() && log.failed.empty()) << kind;
        }
    }
    EXPECT_TRUE(shell_.Created().empty());
    EXPECT_TRUE(base::FileExists(Join(Join(programs_, "Lexivo Deutsch 2.5"), kOldTranslatorLink)));
}

TEST_F(ShortcutsTest, NothingWithoutAnInstallFolderOrAProgramsFolder) {
    Group("Lexivo Deutsch 2.5");
    Group("Lexivo Angielskiego 2.5");
    Run(6, 5, "");
    Run(9, 6, "");
    EXPECT_TRUE(shell_.Created().empty());

    Install("Quorbelpl2.exe");
    registry_.DeleteKeyTree(RegRoot::kCurrentUser, kShellFoldersKey, RegView::kNative);
    Run(9, 6);
    EXPECT_TRUE(shell_.Created().empty()) << "no recorded Programs folder";
}

TEST(ProgramsFolder, CommonProgramsOnlyForAllUsersAndOnlyWhenRecorded) {
    MemoryRegistry registry;
    EXPECT_EQ(GetProgramsFolder(registry, true), "");
    registry.Put(RegRoot::kCurrentUser, kShellFoldersKey, RegView::kNative, "Programs",
                 {RegType::kString, "C:\\User\\Programs"});
    EXPECT_EQ(GetProgramsFolder(registry, true), "C:\\User\\Programs");
    registry.Put(RegRoot::kLocalMachine, kShellFoldersKey, RegView::kNative, "Common Programs", {RegType::kString, ""});
    EXPECT_EQ(GetProgramsFolder(registry, true), "C:\\User\\Programs") << "an empty value counts as none";
    registry.Put(RegRoot::kLocalMachine, kShellFoldersKey, RegView::kNative, "Common Programs",
                 {RegType::kString, "C:\\All\\Programs"});
    EXPECT_EQ(GetProgramsFolder(registry, true), "C:\\All\\Programs");
    EXPECT_EQ(GetProgramsFolder(registry, false), "C:\\User\\Programs");
    registry.Put(RegRoot::kCurrentUser, kShellFoldersKey, RegView::kNative, "Programs", {RegType::kDword, "1234"});
    EXPECT_EQ(GetProgramsFolder(registry, false), "") << "not a string";
    for (const auto& attempt : registry.OpenAttempts())
        EXPECT_TRUE(attempt.readOnly);
}

}  // namespace
}  // namespace updater::environment
