#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "patch/dictionary_reference.h"
#include "patch/dictionary_update.h"
#include "test_support/temp_folder.h"

namespace updater::patch {
namespace {

using ::testing::ElementsAre;

struct Converted {
    ConvertResult result;
    std::string output;
    std::vector<int> progress;  // as seen at each pump
};

Converted Convert(const test::TempFolder& folder, std::string_view source, const std::vector<std::string>& script,
                  LineBufferSizes sizes = {}) {
    const std::string sourcePath = folder.Write("source", source);
    Converted c;
    int progress = -1;
    c.result = ConvertDictionary(
        sourcePath, folder.Path("out"), script, progress, [&] { c.progress.push_back(progress); }, sizes);
    c.output = folder.Read("out");
    return c;
}

TEST(ConvertDictionary, AddsAndRemovesLinesAndReportsProgress) {
    test::TempFolder folder;
    const Converted c = Convert(folder, "a\r\nb\r\nc\r\nd\r\n", {"DOD", "1", "x", "USUN", "2"});
    ASSERT_TRUE(c.result.ok());
    EXPECT_EQ(c.output, "a\r\nx\r\nc\r\nd\r\n");
    EXPECT_THAT(c.progress, ElementsAre(60, 100));
}

TEST(ConvertDictionary, EdgeCasesOfTheScript) {
    test::TempFolder folder;
    struct Case {
        const char* what;
        std::string source;
        std::vector<std::string> script;
        std::string output;
    };
    const std::vector<Case> cases = {
        {"no script: every break becomes CR LF, a final one is added", "a\nb\rc\r\nd", {}, "a\r\nb\r\nc\r\nd\r\n"},
        {"CR LF LF at the end is one break", "a\r\nb\r\n\n", {}, "a\r\nb\r\n"},
        {"DOD behind the output inserts at once",
         "a\r\nb\r\nc\r\n",
         {"DOD", "2", "x", "DOD", "0", "y"},
         "a\r\nb\r\nx\r\ny\r\nc\r\n"},
        {"DOD past the end comes after all source lines", "a\r\nb\r\n", {"DOD", "10", "z"}, "a\r\nb\r\nz\r\n"},
        {"the counting goes on without input",
         "a\r\n",
         {"DOD", "5", "x", "DOD", "7", "y", "USUN", "9"},
         "a\r\nx\r\ny\r\n"},
        {"USUN drops the line after N output lines", "a\r\nb\r\nc\r\n", {"USUN", "0", "USUN", "1"}, "b\r\n"},
        {"USUN past the end drops nothing", "a\r\n", {"USUN", "3"}, "a\r\n"},
        {"any other word only copies", "a\r\nb\r\nc\r\n", {"dod", "1", "Usun", "2", "", "2"}, "a\r\nb\r\nc\r\n"},
        {"N counts output lines, not source lines",
         "a\r\nb\r\nc\r\nd\r\n",
         {"DOD", "0", "x", "DOD", "1", "y", "USUN", "3"},
         "x\r\ny\r\na\r\nc\r\nd\r\n"},
        {"negative N", "a\r\n", {"DOD", "-4", "x"}, "x\r\na\r\n"},
        {"empty source", "", {"DOD", "0", "only"}, "only\r\n"},
        {"N at the top of the range", "a\r\n", {"DOD", "2147483647", "x", "DOD", "2147483647", "y"}, "a\r\nx\r\ny\r\n"},
    };
    for (const Case& c : cases) {
        const Converted got = Convert(folder, c.source, c.script);
        EXPECT_TRUE(got.result.ok()) << c.what;
        EXPECT_EQ(got.output, c.output) << c.what;
        if (!c.script.empty()) {
            EXPECT_EQ(got.progress.back(), 100) << c.what;
        }
    }
}

TEST(ConvertDictionary, ProgressRoundsHalvesToEvenAfterEveryCommand) {
    test::TempFolder folder;
    // 16 lines: after s lines the exact value is 6.25 s; 12.5 and 62.5 go down, to 12 and 62.
    const Converted sixteen = Convert(
        folder, "a\r\n", {"X", "0", "DOD", "0", "t", "X", "0", "DOD", "0", "t", "DOD", "0", "t", "DOD", "0", "t"});
    EXPECT_THAT(sixteen.progress, ElementsAre(12, 31, 44, 62, 81, 100));
    // 8 lines: 37.5 goes up, to 38.
    const Converted eight = Convert(folder, "a\r\n", {"DOD", "0", "t", "DOD", "0", "t", "X", "0"});
    EXPECT_THAT(eight.progress, ElementsAre(38, 75, 100));
    EXPECT_TRUE(Convert(folder, "a\r\n", {}).progress.empty());
}

TEST(ConvertDictionary, MalformedScriptsFail) {
    test::TempFolder folder;
    struct Case {
        std::vector<std::string> script;
        ConvertError error;
        std::size_t line;
    };
    const std::vector<Case> cases = {
        {{"DOD", "1x", "t"}, ConvertError::kBadLineCount, 1},
        {{"USUN", "1", "DOD", "", "t"}, ConvertError::kBadLineCount, 3},
        {{"USUN", "1", "USUN"}, ConvertError::kTruncatedScript, 2},
        {{"USUN", "1", "DOD", "2"}, ConvertError::kTruncatedScript, 2},
    };
    for (const Case& c : cases) {
        const Converted got = Convert(folder, "a\r\nb\r\nc\r\n", c.script);
        EXPECT_EQ(got.result.error, c.error) << c.script.size();
        EXPECT_EQ(got.result.scriptLine, c.line) << c.script.size();
        EXPECT_FALSE(Describe(got.result).empty());
    }
}

TEST(ConvertDictionary, FailsOnFilesItCannotOpenAndCreatesNothingWithoutASource) {
    test::TempFolder folder;
    int progress = -1;
    const ConvertResult missing = ConvertDictionary(folder.Path("missing"), folder.Path("out"), {}, progress, nullptr);
    EXPECT_EQ(missing.error, ConvertError::kSourceUnreadable);
    EXPECT_EQ(missing.fileError, base::FileError::kNotFound);
    EXPECT_EQ(progress, 0);
    EXPECT_EQ(folder.Listing(), "");

    const std::string source = folder.Write("source", "a\r\n");
    const ConvertResult unwritable =
        ConvertDictionary(source, folder.Path("no-such-folder") + base::PathSeparator() + "out", {}, progress, nullptr);
    EXPECT_EQ(unwritable.error, ConvertError::kDestinationUnwritable);
}

// Random sources (every kind of break, empty lines, no final break) and random scripts (all three
// kinds of command, N behind, at and past the output, now and then a malformed one) against the
// plain model, with the product's buffers and with tiny ones.
TEST(ConvertDictionary, AgreesWithThePlainModelOnRandomSourcesAndScripts) {
    test::TempFolder folder;
    std::uint64_t state = 0xD1C7;
    auto next = [&](std::uint64_t n) {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return (state >> 33) % n;
    };
    const std::vector<LineBufferSizes> sizes = {{}, {4, 2}, {9, 4}, {32, 7}};
    // Whole CR LF breaks as well as loose CRs and LFs, so that runs of lines already in the
    // written form meet every other kind of break.
    const char* const alphabet[] = {"a", "b", "c", "\r", "\n", "\r", "\n", " ", "\r\n", "ab\r\n"};
    const char* words[] = {"DOD", "USUN", "DOD", "USUN", "X", "dod"};
    for (int round = 0; round < 200; ++round) {
        std::string source;
        const std::size_t length = next(round % 10 == 0 ? 5000 : 80);
        for (std::size_t i = 0; i < length; ++i)
            source += alphabet[next(10)];
        const auto lines = static_cast<std::int64_t>(test::ReferenceSourceLines(source).size());

        std::vector<std::string> script;
        const std::uint64_t commands = next(12);
        for (std::uint64_t k = 0; k < commands; ++k) {
            script.push_back(words[next(6)]);
            const std::int64_t n = static_cast<std::int64_t>(next(static_cast<std::uint64_t>(lines + 8))) - 2;
            script.push_back(next(40) == 0 ? std::string("n") + std::to_string(n) : std::to_string(n));
            if (script[script.size() - 2] == "DOD" && next(30) != 0)
                script.push_back(std::string("ins") + std::to_string(k));
        }
        const std::optional<std::string> expected = test::ReferenceConvert(source, script);
        for (const LineBufferSizes& s : sizes) {
            const Converted got = Convert(folder, source, script, s);
            ASSERT_EQ(got.result.ok(), expected.has_value()) << "round " << round << ", capacity " << s.capacity;
            if (expected) {
                ASSERT_EQ(got.output, *expected) << "round " << round << ", capacity " << s.capacity;
            }
        }
    }
}

}  // namespace
}  // namespace updater::patch
