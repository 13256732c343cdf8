#include "environment/install_location.h"

#include <gtest/gtest.h>

#include "environment/kod.h"
#include "registry_writer/install_record.h"
#include "test_support/memory_registry.h"

namespace updater::environment {
namespace {

constexpr RegRoot kUser = RegRoot::kCurrentUser;
constexpr RegRoot kMachine = RegRoot::kLocalMachine;
constexpr std::string_view kKey6 = "SOFTWARE\\Norvak\\DidOdavo2";

// Entries written the way the product writes them, spelled out here rather than through
// RecordInstallFolder so that the lookup is checked against the format, not against itself.
class InstallLocationTest : public testing::Test {
  protected:
    static std::string Scramble(std::string_view text, int appId, bool flag) {
        return SharedKod().Encode(text, appId, 5, flag);
    }
    void PutFolder(RegRoot root, int appId, std::string_view folder, bool flag, RegView view = RegView::k32Bit) {
        const std::string name = appId == 1 ? "Katalog" : Scramble("Katalog", appId, flag);
        PutRaw(root, appId, name, {RegType::kString, Scramble(folder, appId, flag)}, view);
    }
    void PutProbe(RegRoot root, int appId, RegValue value = {RegType::kDword, std::string(4, '\0')}) {
        PutRaw(root, appId, Scramble("ForceNewReg", appId, true), std::move(value), RegView::k32Bit);
    }
    void PutRaw(RegRoot root, int appId, std::string_view name, RegValue value, RegView view = RegView::k32Bit) {
        registry_.Put(root, ProductKeyPath(appId), view, name, std::move(value));
    }

    MemoryRegistry registry_;
};

TEST_F(InstallLocationTest, ProductKeyTable) {
    EXPECT_EQ(ProductKeyPath(6), kKey6);
    EXPECT_EQ(ProductKeyPath(2), ProductKeyPath(3));
    for (int appId = 1; appId <= 13; ++appId)
        EXPECT_TRUE(ProductKeyPath(appId).starts_with("SOFTWARE\\Norvak\\"));
    for (int appId : {-1, 0, 14})
        EXPECT_TRUE(ProductKeyPath(appId).empty());
}

TEST_F(InstallLocationTest, UserHiveWinsAndTheMachineHiveIsThenNotRead) {
    PutFolder(kUser, 6, "C:\\User", false);
    PutFolder(kMachine, 6, "C:\\Machine", false);
    EXPECT_EQ(FindInstallFolder(registry_, 6), "C:\\User");
    const auto& last = registry_.OpenAttempts().back();
    EXPECT_EQ(last.root, kUser) << "nothing is opened after the user hive's entry is found";
    EXPECT_TRUE(last.readOnly);
    for (const auto& attempt : registry_.OpenAttempts())
        EXPECT_TRUE(attempt.readOnly);
}

TEST_F(InstallLocationTest, MachineHiveServesWhenTheUserEntryIsMissingEmptyOrNotAString) {
    PutFolder(kMachine, 6, "D:\\Lexivo", false);
    EXPECT_EQ(FindInstallFolder(registry_, 6), "D:\\Lexivo") << "no user entry";

    PutRaw(kUser, 6, Scramble("Katalog", 6, false), {RegType::kString, "A"});  // a lone trailer: decodes empty
    EXPECT_EQ(FindInstallFolder(registry_, 6), "D:\\Lexivo") << "user entry decodes to nothing";

    PutRaw(kUser, 6, Scramble("Katalog", 6, false), {RegType::kDword, std::string("\x07\0\0\0", 4)});
    EXPECT_EQ(FindInstallFolder(registry_, 6), "D:\\Lexivo") << "user entry is a number";

    registry_.DeleteKeyTree(kMachine, kKey6, RegView::k32Bit);
    EXPECT_EQ(FindInstallFolder(registry_, 6), "") << "a number and nothing else";
}

// Every file call would stop at the NUL and work in the folder its first part names.
TEST_F(InstallLocationTest, AFolderWithANulCountsAsNoneAndTheMachineHiveServes) {
    const std::string withNul("C:\\Lex\0ivo", 10);
    for (int appId : {1, 6}) {  // stored with the NUL (additive variant) or scrambled (XOR)
        SCOPED_TRACE(appId);
        PutFolder(kUser, appId, withNul, false);
        EXPECT_EQ(FindInstallFolder(registry_, appId), "");
        PutFolder(kMachine, appId, "D:\\Lexivo", false);
        EXPECT_EQ(FindInstallFolder(registry_, appId), "D:\\Lexivo");
    }
    registry_.Put(kMachine, kLegacyKeyPath, RegView::k32Bit, "Katalog", {RegType::kString, withNul});
    EXPECT_EQ(FindInstallFolder(registry_, kLegacyAppId), "");
}

TEST_F(InstallLocationTest, ProbeInTheMachineHiveAloneSelectsTheVariantForBothHives) {
    PutProbe(kMachine, 6);  // its value (0) does not matter
    EXPECT_TRUE(HasForceNewReg(registry_, 6));

    PutFolder(kUser, 6, "C:\\Old", false);  // written for the other variant: not the name looked for
    EXPECT_EQ(FindInstallFolder(registry_, 6), "");
    PutFolder(kMachine, 6, "C:\\Machine", true);
    EXPECT_EQ(FindInstallFolder(registry_, 6), "C:\\Machine");
    PutFolder(kUser, 6, "C:\\User", true);
    EXPECT_EQ(FindInstallFolder(registry_, 6), "C:\\User");
}

TEST_F(InstallLocationTest, ProbeOfAnyTypeCountsAsPresent) {
    EXPECT_FALSE(HasForceNewReg(registry_, 6));
    PutProbe(kUser, 6, {RegType::kString, "yes"});
    EXPECT_TRUE(HasForceNewReg(registry_, 6));
    PutFolder(kUser, 6, "C:\\Lexivo", true);
    EXPECT_EQ(FindInstallFolder(registry_, 6), "C:\\Lexivo");
}

TEST_F(InstallLocationTest, AppIdOneUsesThePlainNameButAScrambledFolder) {
    PutRaw(kUser, 1, Scramble("Katalog", 1, false), {RegType::kString, Scramble("C:\\Wrong", 1, false)});
    EXPECT_EQ(FindInstallFolder(registry_, 1), "");
    PutFolder(kUser, 1, "C:\\Trelmio", false);
    RegValue stored;
    RegKey key = OpenRegKey(registry_, kUser, ProductKeyPath(1));
    ASSERT_EQ(key.Query("Katalog", stored), RegStatus::kOk);
    EXPECT_NE(stored.data, "C:\\Trelmio");
    EXPECT_EQ(FindInstallFolder(registry_, 1), "C:\\Trelmio");
}

TEST_F(InstallLocationTest, AppIdsTwelveAndThirteenReadTheSameEntriesWithOrWithoutTheProbe) {
    for (int appId : {12, 13}) {
        PutFolder(kUser, appId, "E:\\Prog", false);
        EXPECT_EQ(FindInstallFolder(registry_, appId), "E:\\Prog");
        PutProbe(kMachine, appId);
        EXPECT_EQ(FindInstallFolder(registry_, appId), "E:\\Prog");
    }
}

TEST_F(InstallLocationTest, LegacyProductReadsPlainTextFromTheMachineHiveOnly) {
    registry_.Put(kUser, kLegacyKeyPath, RegView::kNative, "Katalog", {RegType::kString, "C:\\UserLegacy"});
    EXPECT_EQ(FindInstallFolder(registry_, kLegacyAppId), "");
    registry_.Put(kMachine, kLegacyKeyPath, RegView::k32Bit, "Katalog", {RegType::kString, "C:\\Legacy"});
    EXPECT_EQ(FindInstallFolder(registry_, kLegacyAppId), "C:\\Legacy");
    EXPECT_EQ(ReadLegacyInstallFolder(registry_), "C:\\Legacy");
    for (const auto& attempt : registry_.OpenAttempts()) {
        EXPECT_EQ(attempt.path, kLegacyKeyPath) << "no probe, no product key";
        EXPECT_EQ(attempt.root, kMachine);
    }
}

TEST_F(InstallLocationTest, AppIdsWithoutARowFindNothingAndOpenNothing) {
    for (int appId = 1; appId <= 13; ++appId)
        PutFolder(kUser, appId, "C:\\Any", false);
    for (int appId : {0, 14, -2, 255}) {
        EXPECT_EQ(FindInstallFolder(registry_, appId), "");
        EXPECT_FALSE(HasForceNewReg(registry_, appId));
    }
    EXPECT_TRUE(registry_.OpenAttempts().empty());
}

TEST_F(InstallLocationTest, MachineEntriesAreFoundInEitherView) {
    PutFolder(kMachine, 6, "C:\\Native", false, RegView::kNative);
    EXPECT_EQ(FindInstallFolder(registry_, 6), "C:\\Native");
    PutFolder(kMachine, 6, "C:\\Wow", false, RegView::k32Bit);
    EXPECT_EQ(FindInstallFolder(registry_, 6), "C:\\Wow") << "the 32-bit view, where the product writes, first";
}

TEST_F(InstallLocationTest, RecordedFoldersAreFoundForEveryProductHiveAndVariant) {
    const std::string folder = "C:\\Program Files (x86)\\Norvak \xb9\xe6";  // 8-bit folder names survive
    for (int appId = 1; appId <= 13; ++appId) {
        for (RegRoot root : {kUser, kMachine}) {
            for (bool force : {true, false}) {  // the second recording also removes the first one's probe
                SCOPED_TRACE(testing::Message()
                             << "AppId " << appId << " machine " << (root == kMachine) << " force " << force);
                ASSERT_TRUE(tools::RecordInstallFolder(registry_, appId, folder, root, force));
                EXPECT_EQ(HasForceNewReg(registry_, appId), force);
                EXPECT_EQ(FindInstallFolder(registry_, appId), folder);
            }
            registry_.DeleteKeyTree(root, ProductKeyPath(appId), RegView::k32Bit);
        }
    }
    EXPECT_FALSE(tools::RecordInstallFolder(registry_, 14, folder, kUser, false));
}

}  // namespace
}  // namespace updater::environment
