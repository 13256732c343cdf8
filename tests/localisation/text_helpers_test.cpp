#include "localisation/text_helpers.h"

#include <gtest/gtest.h>

#include <string>

namespace updater::localisation {
namespace {

TEST(LowerText, LowersPolishAndCentralEuropeanCapitals) {
    // "ŁÓDŹ" and "łódź" in Windows-1250.
    EXPECT_EQ(LowerText("\xA3\xD3\x44\x8F"), "\xB3\xF3\x64\x9F");
    EXPECT_EQ(LowerText("\xA5\xAA\xAF\x8A\x8C\x8D\x8E"), "\xB9\xBA\xBF\x9A\x9C\x9D\x9E");
    EXPECT_EQ(LowerText("ABC xyz 09"), "abc xyz 09");
}

TEST(LowerText, LeavesTheListedExceptionsAndNonLettersAlone) {
    // 0xBC (L with caron) is not lowered to 0xBE; 0xD7 and 0xDF are not letters to lower.
    EXPECT_EQ(LowerText("\xBC"), "\xBC");
    EXPECT_EQ(LowerText("\xD7\xDF"), "\xD7\xDF");
    EXPECT_EQ(LowerText("@[`{"), "@[`{");
}

TEST(LowerChar, ChangesExactlyTheTableBytes) {
    int changed = 0;
    for (int b = 0; b < 256; ++b) {
        const auto lower = LowerChar(static_cast<std::uint8_t>(b));
        if (lower == b) continue;
        ++changed;
        const int delta = lower - b;
        if (b == 0xA3 || b == 0xA5 || b == 0xAA || b == 0xAF) {
            EXPECT_EQ(delta, b == 0xA5 ? 0x14 : 0x10) << b;
        } else if (b >= 0x8A && b <= 0x8F) {
            EXPECT_EQ(delta, 0x10) << b;
        } else {
            EXPECT_EQ(delta, 0x20) << b;
        }
    }
    // 26 ASCII, 5 in 0x8A-0x8F, 4 single ones, 30 in 0xC0-0xDE without 0xD7.
    EXPECT_EQ(changed, 26 + 5 + 4 + 30);
    EXPECT_EQ(LowerChar(0x8B), 0x8B);
}

TEST(StripTrailingDigits, KeepsTheFirstByte) {
    EXPECT_EQ(StripTrailingDigits("abc12"), "abc");
    EXPECT_EQ(StripTrailingDigits("a1b2"), "a1b");
    EXPECT_EQ(StripTrailingDigits("123"), "1");
    EXPECT_EQ(StripTrailingDigits(""), "");
    EXPECT_EQ(StripTrailingDigits("7"), "7");
}

TEST(TagListContains, MatchesWholeEntriesOnly) {
    EXPECT_TRUE(TagListContains("File2", "<file>", true, true));
    EXPECT_FALSE(TagListContains("File2", "<file>", true, false));
    EXPECT_FALSE(TagListContains("File2", "<file>", false, true));
    EXPECT_TRUE(TagListContains("file", "<a><file><b>", false, false));
    EXPECT_FALSE(TagListContains("a", "<ab>", false, false));
    EXPECT_TRUE(TagListContains("", "x<>y", false, false));
    // Digits go before lower-casing, and Polish capitals are lowered on both sides.
    EXPECT_TRUE(
        TagListContains("\xA3\xD3\x44\x8F"
                        "12",
                        "<\xB3\xF3\x64\x9F>", true, true));
    EXPECT_TRUE(TagListContains("\xB3\xF3\x64\x9F", "<\xA3\xD3\x44\x8F>", true, false));
}

TEST(DropLastChars, CutsFromTheEnd) {
    EXPECT_EQ(DropLastChars("abcd", 2), "ab");
    EXPECT_EQ(DropLastChars("abcd", 4), "");
    EXPECT_EQ(DropLastChars("abcd", 5), "");
    EXPECT_EQ(DropLastChars("abcd", 0), "abcd");
    EXPECT_EQ(DropLastChars("abcd", -3), "abcd");
    EXPECT_EQ(DropLastChars("", 1), "");
}

}  // namespace
}  // namespace updater::localisation
