#include "app/product_identity.h"
#include "app/this_build.h"
#include "app/update_run.h"
#include "patch/file_catalogue.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace updater::app {
namespace {

struct RecordingMessages : MessageSink {
    std::vector<std::pair<std::string, std::string>> shown;
    void ShowMessage(std::string_view text, std::string_view caption) override {
        shown.emplace_back(std::string(text), std::string(caption));
    }
};

TEST(ProductIdentity, DerivesTheProductLanguageFromTheAppId) {
    const std::pair<int, Language> expected[] = {
        {1, kFrench}, {11, kFrench}, {2, kEnglish}, {3, kEnglish}, {6, kEnglish}, {7, kEnglish},  {13, kEnglish},
        {4, kGerman}, {5, kGerman},  {12, kGerman}, {8, kItalian}, {9, kSpanish}, {10, kRussian}, {14, kRussian}};
    for (auto [id, language] : expected) {
        RecordingMessages messages;
        AppConfiguration config;
        config.SetAppIdentity(id, 1, 0, 0, messages);
        EXPECT_EQ(config.productLanguage, language) << "AppId " << id;
        EXPECT_EQ(config.defaultUiLanguage, id == 13 ? kHungarian : kPolish) << "AppId " << id;
        EXPECT_TRUE(messages.shown.empty());
    }
}

TEST(ProductIdentity, UnknownAppIdsWarnOnceAndKeepPolish) {
    for (int id : {0, 15, -1, 1000}) {
        RecordingMessages messages;
        AppConfiguration config;
        config.SetAppIdentity(id, 2, 5, 1, messages);
        ASSERT_EQ(messages.shown.size(), 1u) << "AppId " << id;
        EXPECT_EQ(messages.shown[0].first, "Unknown AppId !");
        EXPECT_EQ(messages.shown[0].second, "Uaktualnienie - Update");
        EXPECT_EQ(config.productLanguage, kPolish);
        EXPECT_EQ(config.defaultUiLanguage, kPolish);
        EXPECT_EQ(config.appId, id);
    }
}

// Every field of a declaration reaches the configuration, and the languages follow its AppId.
TEST(ProductIdentity, ADeclaredBuildIsConfiguredAsDeclared) {
    const BuildDeclaration german{
        .appId = 4,
        .versionMajor = 2,
        .versionMinor = 5,
        .versionExtra = 2,
        .patchKind = 6,
        .activeSet = base::ByteSet{27, 28, 30},
        .configuredEntry = 27,
        .updateDictionaries = true,
        .specialVersion = true,
        .specialVersionText = "0A1B",
        .preferProductLanguage = true,
    };
    RecordingMessages messages;
    AppConfiguration config;
    ConfigureBuild(config, messages, german);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(config.appId, 4);
    EXPECT_EQ(config.versionMajor, 2);
    EXPECT_EQ(config.versionMinor, 5);
    EXPECT_EQ(config.versionExtra, 2);
    EXPECT_EQ(config.productLanguage, kGerman);
    EXPECT_EQ(config.defaultUiLanguage, kPolish);
    EXPECT_EQ(config.patchKind, 6);
    EXPECT_EQ(config.configuredEntry, 27);
    for (int n = -5; n < 300; ++n)
        EXPECT_EQ(config.activeSet.Contains(n), n == 27 || n == 28 || n == 30) << n;
    EXPECT_TRUE(config.settings.updateDictionaries);
    EXPECT_TRUE(config.settings.specialVersion);
    EXPECT_EQ(config.settings.specialVersionText, "0A1B");
    EXPECT_TRUE(config.settings.preferProductLanguage);
}

// Whatever this build declares, it starts without a warning, updates at least one file and only
// catalogue rows, and names a row of the catalogue in its window.
TEST(ProductIdentity, ThisBuildUpdatesOnlyCatalogueRows) {
    RecordingMessages messages;
    AppConfiguration config;
    ConfigureThisBuild(config, messages);
    EXPECT_TRUE(messages.shown.empty());
    int active = 0;
    for (int n = 0; n < 256; ++n) {
        if (!config.activeSet.Contains(n)) continue;
        ++active;
        EXPECT_TRUE(patch::IsFileIndex(n)) << n;
    }
    EXPECT_GE(active, 1);
    EXPECT_TRUE(patch::IsFileIndex(config.configuredEntry));
}

}  // namespace
}  // namespace updater::app
