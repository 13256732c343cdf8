#include "base/unicode.h"

#include <gtest/gtest.h>

namespace updater::base {
namespace {

TEST(Utf8FromUtf16, EncodesEveryLengthAndJoinsPairs) {
    EXPECT_EQ(Utf8FromUtf16(u""), "");
    EXPECT_EQ(Utf8FromUtf16(u"A\u0142\u20AC"), "A\xC5\x82\xE2\x82\xAC");  // 1, 2 and 3 bytes
    EXPECT_EQ(Utf8FromUtf16(u"\U0001F600"), "\xF0\x9F\x98\x80");          // a pair: one code point
    EXPECT_EQ(Utf8FromUtf16(u"\uFFFF"), "\xEF\xBF\xBF");
}

TEST(Utf8FromUtf16, ALoneSurrogateBecomesTheReplacementCharacter) {
    const std::string replacement = "\xEF\xBF\xBD";
    const char16_t high = 0xD83D;
    const char16_t low = 0xDE00;
    EXPECT_EQ(Utf8FromUtf16(std::u16string{high}), replacement);
    EXPECT_EQ(Utf8FromUtf16(std::u16string{low}), replacement);
    EXPECT_EQ(Utf8FromUtf16(std::u16string{high, u'a'}), replacement + "a");
    EXPECT_EQ(Utf8FromUtf16(std::u16string{low, high}), replacement + replacement);  // the wrong order
    EXPECT_EQ(Utf8FromUtf16(std::u16string{high, high, low}), replacement + "\xF0\x9F\x98\x80");
}

}  // namespace
}  // namespace updater::base
