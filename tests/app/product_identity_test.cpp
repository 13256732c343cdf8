#include "app/product_identity.h"
#include "app/this_build.h"

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

TEST(ProductIdentity, ThisBuildIsTheEnglishProductWithOneActiveFile) {
    RecordingMessages messages;
    AppConfiguration config;
    ConfigureThisBuild(config, messages);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(config.appId, 6);
    EXPECT_EQ(config.productLanguage, kEnglish);
    EXPECT_EQ(config.defaultUiLanguage, kPolish);
    EXPECT_EQ(config.titleVariant, 1);
    EXPECT_EQ(config.patchKind, 15);
    EXPECT_EQ(config.configuredEntry, 34);
    EXPECT_FALSE(config.settings.specialVersion);
    EXPECT_FALSE(config.settings.preferProductLanguage);
    EXPECT_TRUE(config.settings.specialVersionText.empty());

    // Only bit 2 of byte 4 is set.
    for (std::size_t i = 0; i < 32; ++i)
        EXPECT_EQ(config.activeSet.Bits()[i], i == 4 ? 0x04 : 0x00) << i;
    for (int n = -5; n < 300; ++n)
        EXPECT_EQ(config.activeSet.Contains(n), n == 34) << n;
}

}  // namespace
}  // namespace updater::app
