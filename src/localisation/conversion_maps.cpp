#include "localisation/conversion_maps.h"

#include <initializer_list>
#include <utility>

#include "localisation/code_pages.h"

namespace updater::localisation {
namespace {

using Exceptions = std::initializer_list<std::pair<std::uint8_t, char16_t>>;

constexpr void ApplyExceptions(ConversionTable& table, Exceptions exceptions) {
    for (const auto& [byte, unit] : exceptions)
        table[byte] = unit;
}

// The prime-like replacements of all four maps.
constexpr Exceptions kCommonExceptions = {{0x27, 0x2032}, {0x5E, 0x2038}, {0x60, 0x2035}};

constexpr ConversionTable MakeBaseMap() {
    ConversionTable table{};
    for (int b = 0; b < 256; ++b)
        table[b] = static_cast<char16_t>(b);
    ApplyExceptions(table, kCommonExceptions);
    ApplyExceptions(
        table,
        {{0x80, 0x20AC}, {0x82, 0x201A}, {0x84, 0x201E}, {0x85, 0x2026}, {0x86, 0x2020}, {0x87, 0x2021}, {0x89, 0x2030},
         {0x8A, 0x0160}, {0x8B, 0x2039}, {0x8E, 0x017D}, {0x91, 0x2018}, {0x92, 0x2019}, {0x93, 0x201C}, {0x94, 0x201D},
         {0x95, 0x2022}, {0x96, 0x2013}, {0x97, 0x2014}, {0x99, 0x2122}, {0x9A, 0x0161}, {0x9B, 0x203A}, {0x9E, 0x017E},
         {0xAA, 0x015E}, {0xBA, 0x015F}, {0xD0, 0x0110}, {0xF0, 0x0111}, {0xFF, 0x02D9}});
    return table;
}

// A code page with the common exceptions and its own.
constexpr ConversionTable MakeCodePageMap(CodePage codePage, Exceptions own) {
    ConversionTable table{};
    for (int b = 0; b < 256; ++b)
        table[b] = CodePageUnit(codePage, static_cast<std::uint8_t>(b));
    ApplyExceptions(table, kCommonExceptions);
    ApplyExceptions(table, own);
    return table;
}

constexpr ConversionTable MakeCyrillicMap() {
    // Windows-1251 only where it has Cyrillic letters; the base map for everything else.
    ConversionTable table = MakeBaseMap();
    for (int b = 0xC0; b <= 0xFF; ++b) {
        table[b] = CodePageUnit(CodePage::kWindows1251, static_cast<std::uint8_t>(b));
    }
    for (std::uint8_t b : {0x8C, 0x8F, 0x9C, 0x9F, 0xA3, 0xA5, 0xA8, 0xAF, 0xB3, 0xB4, 0xB8, 0xB9, 0xBF}) {
        table[b] = CodePageUnit(CodePage::kWindows1251, b);
    }
    return table;
}

constexpr ConversionTable kBaseMap = MakeBaseMap();
// clang-format off
constexpr ConversionTable kWesternMap = MakeCodePageMap(CodePage::kWindows1252, {
    {0x81, 0x0081}, {0x8D, 0x008D}, {0x8F, 0x008F}, {0x90, 0x0090}, {0x9D, 0x009D}, {0x83, 0x0083},
    {0x88, 0x0088}, {0x98, 0x0098}, {0xAA, 0x015E}, {0xBA, 0x015F}});
constexpr ConversionTable kCentralEuropeanMap = MakeCodePageMap(CodePage::kWindows1250, {
    {0x81, 0x0081}, {0x83, 0x0083}, {0x88, 0x0088}, {0x90, 0x0090}, {0x98, 0x0098}, {0x8D, 0x008D},
    {0x9D, 0x009D}, {0xA2, 0x00A2}, {0xB2, 0x00B2}, {0xBC, 0x00BC}, {0xBD, 0x00BD}, {0xBE, 0x00BE}});
// clang-format on
constexpr ConversionTable kCyrillicMap = MakeCyrillicMap();

}  // namespace

TextMap MapForConversionCode(std::uint8_t code) {
    if (code >= 1 && code <= 5) return TextMap::kWestern;
    if (code == 0 || code == 7) return TextMap::kCentralEuropean;
    return code == 6 ? TextMap::kCyrillic : TextMap::kBase;
}

const ConversionTable& ConversionMap(TextMap map) {
    switch (map) {
        case TextMap::kWestern:
            return kWesternMap;
        case TextMap::kCentralEuropean:
            return kCentralEuropeanMap;
        case TextMap::kCyrillic:
            return kCyrillicMap;
        case TextMap::kBase:
            break;
    }
    return kBaseMap;
}

std::u16string ConvertText(std::string_view text, TextMap map) {
    const ConversionTable& table = ConversionMap(map);
    std::u16string result(text.size(), u'\0');
    for (std::size_t i = 0; i < text.size(); ++i)
        result[i] = table[static_cast<std::uint8_t>(text[i])];
    return result;
}

}  // namespace updater::localisation
