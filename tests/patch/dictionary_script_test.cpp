#include "patch/dictionary_script.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

namespace updater::patch {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::vector<std::string> Lines(std::string_view text) {
    return ScriptLines(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

TEST(DictionaryScript, SplitsAtCrLfCrOrLfAndEndsAtNul) {
    EXPECT_THAT(Lines(""), IsEmpty());
    EXPECT_THAT(Lines("DOD\r\n1\r\nx\r\n"), ElementsAre("DOD", "1", "x"));
    EXPECT_THAT(Lines("DOD\n1\rx"), ElementsAre("DOD", "1", "x"));
    // Unlike the data file, CR LF LF is two breaks here: an empty line follows.
    EXPECT_THAT(Lines("a\r\n\nb"), ElementsAre("a", "", "b"));
    EXPECT_THAT(Lines("a\n\r\nb\r\r"), ElementsAre("a", "", "b", ""));
    EXPECT_THAT(Lines(std::string_view("USUN\r\n2\r\n\0DOD\r\n5\r\n", 17)), ElementsAre("USUN", "2"));
    EXPECT_THAT(Lines(std::string_view("ab\0c", 4)), ElementsAre("ab"));
    EXPECT_THAT(Lines("\xB9\xEA\x9C\t x"), ElementsAre("\xB9\xEA\x9C\t x"));  // other bytes as they are
}

TEST(DictionaryScript, LineCountsAreDecimal32BitIntegers) {
    EXPECT_EQ(ParseLineCount("0"), 0);
    EXPECT_EQ(ParseLineCount("20856"), 20856);
    EXPECT_EQ(ParseLineCount("+7"), 7);
    EXPECT_EQ(ParseLineCount("-3"), -3);
    EXPECT_EQ(ParseLineCount("007"), 7);
    EXPECT_EQ(ParseLineCount("2147483647"), 2147483647);
    EXPECT_EQ(ParseLineCount("-2147483648"), -2147483647 - 1);
    for (std::string_view bad : {"", " ", "+", "-", "+-1", "--1", "1 ", " 1", "1a", "0x10", "$10", "1.0", "2147483648",
                                 "-2147483649", "99999999999999999999", "DOD"})
        EXPECT_EQ(ParseLineCount(bad), std::nullopt) << bad;
}

}  // namespace
}  // namespace updater::patch
