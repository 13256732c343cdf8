#pragma once
// Russian texts are stored in a Latin transliteration (ASCII and Windows-1250 letters) and turned
// into Windows-1251 Cyrillic letters when they are read. One byte becomes one byte; upper-case
// letters become upper-case letters, lower-case ones lower-case ones. The soft and hard signs,
// which have no capital, are written as an apostrophe and a dollar sign.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace updater::localisation {

namespace detail {

struct LatinToCyrillic {
    std::uint8_t latin;     // the stored byte
    std::uint8_t cyrillic;  // its Windows-1251 letter
};

// Capitals; each one's lower-case pair is the Latin byte's lower case (ASCII +0x20, Windows-1250
// as listed) and the Cyrillic letter's (+0x20, or 0xB8 for 0xA8).
// clang-format off
inline constexpr LatinToCyrillic kCapitals[] = {
    {'A', 0xC0}, {'B', 0xC1}, {'V', 0xC2}, {'G', 0xC3}, {'D', 0xC4}, {'E', 0xC5}, {'Z', 0xC7}, {'I', 0xC8},
    {'J', 0xC9}, {'K', 0xCA}, {'L', 0xCB}, {'M', 0xCC}, {'N', 0xCD}, {'O', 0xCE}, {'P', 0xCF}, {'R', 0xD0},
    {'S', 0xD1}, {'T', 0xD2}, {'U', 0xD3}, {'F', 0xD4}, {'H', 0xD5}, {'C', 0xD6}, {'Y', 0xDB},
    {0x8A, 0xD8},  // S caron: sha
    {0x8E, 0xC6},  // Z caron: zhe
    {0xAA, 0xD9},  // S cedilla: shcha
    {0xC1, 0xC0},  // A acute: a
    {0xC2, 0xDF},  // A circumflex: ya
    {0xC4, 0xDF},  // A diaeresis: ya
    {0xC8, 0xD7},  // C caron: che
    {0xC9, 0xDD},  // E acute: e (reversed)
    {0xCA, 0xC5},  // E ogonek: ye
    {0xCB, 0xA8},  // E diaeresis: yo
    {0xCC, 0xC5},  // E caron: ye
    {0xCD, 0xC8},  // I acute: i
    {0xD3, 0xCE},  // O acute: o
    {0xDA, 0xD3},  // U acute: u
    {0xDB, 0xDE},  // U double acute: yu
    {0xDC, 0xDE},  // U diaeresis: yu
    {0xDD, 0xDB},  // Y acute: yery
};
// clang-format on

constexpr std::uint8_t LatinLower(std::uint8_t capital) {
    switch (capital) {
        case 0x8A:
        case 0x8E:
            return static_cast<std::uint8_t>(capital + 0x10);
        case 0xAA:
            return 0xBA;
        default:
            return static_cast<std::uint8_t>(capital + 0x20);
    }
}

constexpr std::uint8_t CyrillicLower(std::uint8_t capital) {
    return capital == 0xA8 ? 0xB8 : static_cast<std::uint8_t>(capital + 0x20);
}

constexpr std::array<std::uint8_t, 256> MakeTransliterationTable() {
    std::array<std::uint8_t, 256> table{};
    for (int b = 0; b < 256; ++b)
        table[b] = static_cast<std::uint8_t>(b);
    for (const LatinToCyrillic& entry : kCapitals) {
        table[entry.latin] = entry.cyrillic;
        table[LatinLower(entry.latin)] = CyrillicLower(entry.cyrillic);
    }
    table['\''] = 0xFC;  // soft sign
    table['$'] = 0xFA;   // hard sign
    return table;
}

}  // namespace detail

// Byte -> byte; bytes outside the 82 transliterated ones map to themselves.
inline constexpr std::array<std::uint8_t, 256> kTransliteration = detail::MakeTransliterationTable();

constexpr bool IsTransliterated(std::uint8_t byte) {
    return kTransliteration[byte] != byte;
}

// Every byte through kTransliteration, except that the letter of a "%d" or "%s" placeholder is
// kept as stored.
std::string ApplyRussianStep(std::string_view text);

}  // namespace updater::localisation
