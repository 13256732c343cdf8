#include "localisation/transliteration.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "localisation/conversion_maps.h"
#include "localisation/text_helpers.h"

namespace updater::localisation {
namespace {

// The transliterated bytes: ASCII letters but Q, W and X in both cases, '$' and the apostrophe,
// and these Windows-1250 letters with their lower-case forms.
std::set<int> ExpectedDomain() {
    std::set<int> domain = {'$', '\''};
    for (char c = 'A'; c <= 'Z'; ++c) {
        if (c == 'Q' || c == 'W' || c == 'X') continue;
        domain.insert(c);
        domain.insert(c + 0x20);
    }
    for (int b :
         {0x8A, 0x8E, 0xAA, 0xC1, 0xC2, 0xC4, 0xC8, 0xC9, 0xCA, 0xCB, 0xCC, 0xCD, 0xD3, 0xDA, 0xDB, 0xDC, 0xDD,
          0x9A, 0x9E, 0xBA, 0xE1, 0xE2, 0xE4, 0xE8, 0xE9, 0xEA, 0xEB, 0xEC, 0xED, 0xF3, 0xFA, 0xFB, 0xFC, 0xFD}) {
        domain.insert(b);
    }
    return domain;
}

bool IsCyrillicCapital(std::uint8_t b) {
    return (b >= 0xC0 && b <= 0xDF) || b == 0xA8;
}
bool IsCyrillicSmall(std::uint8_t b) {
    return b >= 0xE0 || b == 0xB8;
}

TEST(Transliteration, DomainIsExactlyThe82Bytes) {
    const std::set<int> expected = ExpectedDomain();
    ASSERT_EQ(expected.size(), 82u);
    for (int b = 0; b < 256; ++b) {
        const auto byte = static_cast<std::uint8_t>(b);
        EXPECT_EQ(IsTransliterated(byte), expected.count(b) == 1) << std::hex << b;
        if (!expected.count(b)) {
            EXPECT_EQ(kTransliteration[b], b) << std::hex << b;
        }
    }
}

TEST(Transliteration, LettersKeepTheirCase) {
    for (int b : ExpectedDomain()) {
        const auto byte = static_cast<std::uint8_t>(b);
        const std::uint8_t image = kTransliteration[byte];
        ASSERT_TRUE(IsCyrillicCapital(image) || IsCyrillicSmall(image)) << std::hex << b;
        if (b == '$' || b == '\'') continue;
        const bool capital = LowerChar(byte) != byte;
        EXPECT_EQ(IsCyrillicCapital(image), capital) << std::hex << b;
        // A capital and its small letter stay a pair.
        if (capital) {
            EXPECT_EQ(kTransliteration[LowerChar(byte)], image == 0xA8 ? 0xB8 : image + 0x20) << std::hex << b;
        }
    }
}

// The convention the stored Russian texts are written in, letter by letter, as Unicode.
TEST(Transliteration, ReadsAsTheConventionStates) {
    const struct {
        const char* latin;
        const char16_t* cyrillic;
    } kLetters[] = {
        {"ABVGDEZIJKLMNOPRSTUFHCY", u"АБВГДЕЗИЙКЛМНОПРСТУФХЦЫ"},
        {"abvgdezijklmnoprstufhcy", u"абвгдезийклмнопрстуфхцы"},
        {"\x8A\x8E\xAA\xC8\xC9\xCB\xDB\xDC\xC2\xC4\xC1\xCA\xCC\xCD\xD3\xDA\xDD", u"ШЖЩЧЭЁЮЮЯЯАЕЕИОУЫ"},
        {"\x9A\x9E\xBA\xE8\xE9\xEB\xFB\xFC\xE2\xE4\xE1\xEA\xEC\xED\xF3\xFA\xFD", u"шжщчэёююяяаееиоуы"},
        {"'$", u"ьъ"},
        {"QWXqwx 0123456789.,;:!?-()%", u"QWXqwx 0123456789.,;:!?-()%"},
    };
    for (const auto& letters : kLetters) {
        EXPECT_EQ(ConvertText(ApplyRussianStep(letters.latin), TextMap::kCyrillic), letters.cyrillic) << letters.latin;
    }
}

TEST(Transliteration, PlaceholdersSurvive) {
    EXPECT_EQ(ConvertText(ApplyRussianStep("Krok %d z %d: %s"), TextMap::kCyrillic), u"Крок %d з %d: %s");
    // Only d and s are placeholder letters; the scan goes on after each '%'.
    EXPECT_EQ(ConvertText(ApplyRussianStep("%a%%s%"), TextMap::kCyrillic), u"%а%%s%");
    EXPECT_EQ(ApplyRussianStep("%"), "%");
    EXPECT_EQ(ApplyRussianStep(""), "");
    EXPECT_EQ(ApplyRussianStep("s%").size(), 2u);
    EXPECT_EQ(ApplyRussianStep("s%")[0], '\xF1');
}

}  // namespace
}  // namespace updater::localisation
