#include "localisation/language.h"

#include <gtest/gtest.h>

namespace updater::localisation {
namespace {

TEST(DetectSystemLanguage, MapsTheListedLocales) {
    for (std::uint32_t lcid : {1031u, 2055u, 3079u, 4103u, 5127u})
        EXPECT_EQ(DetectSystemLanguage(lcid), 3) << lcid;
    for (std::uint32_t lcid : {1034u, 2058u, 3082u})
        EXPECT_EQ(DetectSystemLanguage(lcid), 5) << lcid;
    for (std::uint32_t lcid : {1036u, 2060u, 3084u})
        EXPECT_EQ(DetectSystemLanguage(lcid), 2) << lcid;
    for (std::uint32_t lcid : {1040u, 2064u})
        EXPECT_EQ(DetectSystemLanguage(lcid), 4) << lcid;
    EXPECT_EQ(DetectSystemLanguage(1049), 6);
    // English, Polish and everything unlisted (French of Switzerland and Luxembourg too) give Polish.
    for (std::uint32_t lcid : {1033u, 2057u, 1045u, 4108u, 5132u, 1038u, 0u}) {
        EXPECT_EQ(DetectSystemLanguage(lcid), 0) << lcid;
    }
}

TEST(DetectSystemLanguage, NeverEnglish) {
    for (std::uint32_t lcid = 0; lcid <= 0xFFFF; ++lcid)
        ASSERT_NE(DetectSystemLanguage(lcid), 1) << lcid;
}

TEST(StartLanguage, FollowsTheProductLanguage) {
    // This build: product language English, not preferred, default Polish.
    for (std::uint32_t lcid : {1033u, 1031u, 1045u})
        EXPECT_EQ(StartLanguage(DetectSystemLanguage(lcid), 1, false, 0), 0);
    EXPECT_EQ(StartLanguage(DetectSystemLanguage(1031), 3, false, 0), 3);
    EXPECT_EQ(StartLanguage(DetectSystemLanguage(1036), 3, false, 0), 0);
    EXPECT_EQ(StartLanguage(DetectSystemLanguage(1036), 3, true, 0), 3);
    EXPECT_EQ(StartLanguage(DetectSystemLanguage(1033), 1, true, 0), 1);
}

TEST(FontCharsetFor, NineEntries) {
    const std::uint8_t expected[] = {238, 238, 0, 238, 0, 0, 204, 238, 204};
    for (std::uint8_t language = 0; language < 9; ++language)
        EXPECT_EQ(FontCharsetFor(language), expected[language]);
    EXPECT_EQ(FontCharsetFor(9), 238);
    EXPECT_EQ(FontCharsetFor(255), 238);
}

TEST(Platform, FromVersionQueryAndLocale) {
    EXPECT_TRUE(MakePlatform(2, 1033).isNT);
    EXPECT_FALSE(MakePlatform(1, 1033).isNT);
    EXPECT_FALSE(MakePlatform(0, 1033).isNT);
    EXPECT_EQ(MakePlatform(2, 1049).systemLanguage, 6);
    // Fixed once: later calls see the same object.
    EXPECT_EQ(&CurrentPlatform(), &CurrentPlatform());
}

TEST(LocaleIdFromPosixName, KnownNamesWithCodesets) {
    EXPECT_EQ(LocaleIdFromPosixName("de_AT.UTF-8"), 3079u);
    EXPECT_EQ(LocaleIdFromPosixName("ru_RU"), 1049u);
    EXPECT_EQ(LocaleIdFromPosixName("fr_CH@euro"), 4108u);
    EXPECT_EQ(LocaleIdFromPosixName("C"), 0u);
    EXPECT_EQ(LocaleIdFromPosixName(""), 0u);
}

}  // namespace
}  // namespace updater::localisation
