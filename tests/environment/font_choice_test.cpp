#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "environment/font_charsets.h"

namespace updater::environment {
namespace {

// A system with the given faces and the character sets each offers.
FontCharsetLister FakeFonts(std::map<std::string, std::vector<std::string>> fonts) {
    return [fonts](std::string_view face, std::vector<std::string>& list) {
        const auto found = fonts.find(std::string(face));
        if (found != fonts.end()) list.insert(list.end(), found->second.begin(), found->second.end());
    };
}

TEST(ChooseInterfaceFontName, ArialWhenItOffersCentralEuropean) {
    EXPECT_EQ(ChooseInterfaceFontName(
                  FakeFonts({{"Arial", {"ANSI_CHARSET", "EASTEUROPE_CHARSET"}}, {"Tahoma", {"EASTEUROPE_CHARSET"}}})),
              "Arial");
    EXPECT_EQ(ChooseInterfaceFontName(FakeFonts({{"Arial", {"EASTEUROPE_CHARSET"}}})), "Arial");
}

TEST(ChooseInterfaceFontName, TahomaWhenOnlyItOffersCentralEuropean) {
    EXPECT_EQ(ChooseInterfaceFontName(FakeFonts({{"Arial", {"ANSI_CHARSET", "RUSSIAN_CHARSET"}},
                                                 {"Tahoma", {"ANSI_CHARSET", "EASTEUROPE_CHARSET"}}})),
              "Tahoma");
    EXPECT_EQ(ChooseInterfaceFontName(FakeFonts({{"Tahoma", {"EASTEUROPE_CHARSET"}}})), "Tahoma");
    // Letter case does not matter in the comparison.
    EXPECT_EQ(ChooseInterfaceFontName(FakeFonts({{"Tahoma", {"EastEurope_Charset"}}})), "Tahoma");
}

TEST(ChooseInterfaceFontName, ArialWhenNeitherOffersIt) {
    EXPECT_EQ(ChooseInterfaceFontName(FakeFonts({})), "Arial");
    EXPECT_EQ(ChooseInterfaceFontName(FakeFonts({{"Arial", {"ANSI_CHARSET"}}, {"Tahoma", {"Unknown charset 238"}}})),
              "Arial");
}

TEST(CharsetName, TableOrderAndUnknownValues) {
    EXPECT_EQ(CharsetName(0), "ANSI_CHARSET");
    EXPECT_EQ(CharsetName(1), "DEFAULT_CHARSET");
    EXPECT_EQ(CharsetName(238), "EASTEUROPE_CHARSET");
    EXPECT_EQ(CharsetName(204), "RUSSIAN_CHARSET");
    EXPECT_EQ(CharsetName(77), "MAC_CHARSET");
    EXPECT_EQ(CharsetName(186), "BALTIC_CHARSET");
    EXPECT_EQ(CharsetName(255), "OEM_CHARSET");
    EXPECT_EQ(CharsetName(130), "JOHAB_CHARSET");
    EXPECT_EQ(CharsetName(3), "Unknown charset 3");
    EXPECT_EQ(CharsetName(-1), "Unknown charset -1");
    int named = 0;
    for (int value = 0; value < 256; ++value)
        named += CharsetName(value).starts_with("Unknown") ? 0 : 1;
    EXPECT_EQ(named, 19);
}

TEST(CharsetListContains, IgnoresCaseOnly) {
    const std::vector<std::string> list = {"ANSI_CHARSET", "ANSI_CHARSET", "Unknown charset 3"};
    EXPECT_TRUE(CharsetListContains(list, "ansi_charset"));
    EXPECT_TRUE(CharsetListContains(list, "unknown CHARSET 3"));
    EXPECT_FALSE(CharsetListContains(list, "ANSI"));
    EXPECT_FALSE(CharsetListContains({}, ""));
}

}  // namespace
}  // namespace updater::environment
