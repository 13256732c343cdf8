#include "localisation/conversion_maps.h"

#include <gtest/gtest.h>

#include "localisation/code_page_reference.h"

#ifndef _WIN32
#include <iconv.h>

#include <cerrno>
#endif

namespace updater::localisation {
namespace {

TEST(ConversionMaps, ConversionCodeChoosesTheMap) {
    for (int code : {1, 2, 3, 4, 5})
        EXPECT_EQ(MapForConversionCode(code), TextMap::kWestern) << code;
    EXPECT_EQ(MapForConversionCode(0), TextMap::kCentralEuropean);
    EXPECT_EQ(MapForConversionCode(7), TextMap::kCentralEuropean);
    EXPECT_EQ(MapForConversionCode(6), TextMap::kCyrillic);
    for (int code : {8, 9, 0x81, 0x86, 255})
        EXPECT_EQ(MapForConversionCode(code), TextMap::kBase) << code;
}

TEST(ConversionMaps, OneCodeUnitPerByte) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    for (const auto& mapCase : test::kMapCases) {
        const std::u16string converted = ConvertText(all, mapCase.map);
        ASSERT_EQ(converted.size(), 256u);
        for (char16_t unit : converted)
            EXPECT_FALSE(unit >= 0xD800 && unit <= 0xDFFF);
    }
    EXPECT_EQ(ConvertText("", TextMap::kCyrillic), u"");
    EXPECT_EQ(ConvertText(std::string("a\0b", 3), TextMap::kWestern), std::u16string(u"a\0b", 3));
}

TEST(ConversionMaps, ApostropheCaretAndGraveBecomePrimes) {
    for (const auto& mapCase : test::kMapCases) {
        EXPECT_EQ(ConvertText("'^`", mapCase.map), u"\u2032\u2038\u2035") << mapCase.name;
    }
}

#ifndef _WIN32
// The C library's own tables are the independent statement of the published code pages.
test::ReferenceTable IconvTable(const char* codePage) {
    test::ReferenceTable table{};
    iconv_t cd = iconv_open("UTF-16LE", codePage);
    EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1)) << codePage;
    for (int b = 0; b < 256; ++b) {
        char in[1] = {static_cast<char>(b)};
        unsigned char out[4] = {};
        char* inPtr = in;
        char* outPtr = reinterpret_cast<char*>(out);
        std::size_t inLeft = 1;
        std::size_t outLeft = sizeof(out);
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        const std::size_t done = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        table[b] = (done == static_cast<std::size_t>(-1) || outLeft != 2)
                       ? test::kNoReference
                       : static_cast<char16_t>(out[0] | (out[1] << 8));
    }
    iconv_close(cd);
    return table;
}

TEST(ConversionMaps, FollowThePublishedCodePagesExceptWhereStated) {
    for (const auto& mapCase : test::kMapCases) {
        const char* name = nullptr;
        switch (mapCase.reference) {
            case test::Reference::kIso8859_1:
                name = "ISO-8859-1";
                break;
            case test::Reference::kWindows1250:
                name = "CP1250";
                break;
            case test::Reference::kWindows1251:
                name = "CP1251";
                break;
            case test::Reference::kWindows1252:
                name = "CP1252";
                break;
        }
        test::ExpectMapFollowsReference(mapCase, IconvTable(name));
    }
}
#endif

}  // namespace
}  // namespace updater::localisation
