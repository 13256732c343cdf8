#include "patch/dictionary_lines.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "patch/dictionary_reference.h"
#include "test_support/temp_folder.h"

namespace updater::patch {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

// The buffer sizes of the product and a few tiny ones that put chunk boundaries everywhere,
// right behind a CR, between CR and LF, between two LF of one break, inside long lines.
const std::vector<LineBufferSizes> kSizes = {{}, {2, 1}, {3, 3}, {8, 3}, {16, 5}, {64, 1}};

std::vector<std::string> ReadAll(const std::string& path, LineBufferSizes sizes) {
    DictionaryLineReader reader(sizes);
    EXPECT_EQ(reader.Open(path), base::FileError::kNone);
    std::vector<std::string> lines;
    std::string line;
    while (!reader.AtEnd()) {
        EXPECT_EQ(reader.ReadLine(line), base::FileError::kNone);
        lines.push_back(line);
        if (lines.size() > 1000000) break;  // a reader that never ends
    }
    return lines;
}

TEST(DictionaryLineReader, FollowsTheLineRulesWhereverTheChunksEnd) {
    test::TempFolder folder;
    struct Case {
        std::string bytes;
        std::vector<std::string> lines;
    };
    const std::vector<Case> cases = {
        {"", {}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb", {"a", "b"}},                // a last line without a break is still a line
        {"a\rb\r", {"a", "b"}},              // a lone CR is a break
        {"a\r\n\nb", {"a", "b"}},            // CR LF LF is one break
        {"a\r\n\n\n\n\nb\r\n", {"a", "b"}},  // so is CR and any number of LF
        {"a\n\nb", {"a", "", "b"}},          // LF LF is two
        {"a\n\rb", {"a", "", "b"}},          // LF CR is two
        {"a\r\rb", {"a", "", "b"}},          // CR CR is two
        {"\r\n", {""}},
        {"\n\n", {"", ""}},
        {std::string("x\0y\r\n", 5), {std::string("x\0y", 3)}},  // other bytes pass through
    };
    for (const Case& c : cases) {
        const std::string path = folder.Write("source", c.bytes);
        for (const LineBufferSizes& sizes : kSizes) {
            EXPECT_THAT(ReadAll(path, sizes), ElementsAreArray(c.lines))
                << "bytes " << ::testing::PrintToString(c.bytes) << ", capacity " << sizes.capacity << ", chunk "
                << sizes.chunk;
        }
    }
}

TEST(DictionaryLineReader, KeepsLinesLongerThanTheBufferWhole) {
    test::TempFolder folder;
    const std::string longLine(1'000'003, 'w');
    const std::string path = folder.Write("source", "a\r\n" + longLine + "\r\n\r\nb\r\n" + longLine);
    EXPECT_THAT(ReadAll(path, {}), ElementsAre("a", longLine, "", "b", longLine));
    EXPECT_THAT(ReadAll(path, {1000, 100}), ElementsAre("a", longLine, "", "b", longLine));
}

TEST(DictionaryLineReader, AgreesWithTheLineRulesOnRandomSources) {
    test::TempFolder folder;
    std::uint64_t state = 12345;
    auto next = [&] { return (state = state * 6364136223846793005ull + 1442695040888963407ull) >> 33; };
    for (int round = 0; round < 60; ++round) {
        std::string bytes;
        const std::size_t size = next() % (round < 55 ? 300 : 60'000);
        const char alphabet[] = {'a', 'b', '\r', '\n', '\n', '\r', 'c', ' '};
        for (std::size_t i = 0; i < size; ++i)
            bytes += alphabet[next() % (round % 3 == 0 ? 8 : 4)];
        const std::string path = folder.Write("source", bytes);
        for (const LineBufferSizes& sizes : kSizes) {
            ASSERT_EQ(ReadAll(path, sizes), test::ReferenceSourceLines(bytes))
                << "round " << round << ", capacity " << sizes.capacity << ", chunk " << sizes.chunk;
        }
    }
}

TEST(DictionaryLineReader, IsAtItsEndWhenClosedOrMissing) {
    test::TempFolder folder;
    DictionaryLineReader reader;
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_EQ(reader.Open(folder.Path("missing")), base::FileError::kNotFound);
    EXPECT_TRUE(reader.AtEnd());

    // Reopening starts afresh on the new source.
    ASSERT_EQ(reader.Open(folder.Write("one", "1\r\n2\r\n")), base::FileError::kNone);
    std::string line;
    ASSERT_EQ(reader.ReadLine(line), base::FileError::kNone);
    EXPECT_EQ(line, "1");
    ASSERT_EQ(reader.Open(folder.Write("two", "x")), base::FileError::kNone);
    ASSERT_EQ(reader.ReadLine(line), base::FileError::kNone);
    EXPECT_EQ(line, "x");
    EXPECT_TRUE(reader.AtEnd());
}

// Collects what the writer writes, one call at a time.
struct RecordingSink : base::ByteSink {
    base::FileError Write(std::span<const std::uint8_t> bytes) override {
        writes.emplace_back(bytes.begin(), bytes.end());
        return fail ? base::FileError::kDiskFull : base::FileError::kNone;
    }
    std::string All() const {
        std::string all;
        for (const std::string& w : writes)
            all += w;
        return all;
    }
    std::vector<std::string> writes;
    bool fail = false;
};

TEST(DictionaryLineWriter, EndsEveryLineWithCrLfWhateverItsLength) {
    RecordingSink sink;
    DictionaryLineWriter writer(sink, {100, 10});
    const std::string longLine(250, 'L');  // longer than the whole buffer
    for (std::string_view line : {std::string_view("abcdefgh"), std::string_view(), std::string_view("z"),
                                  std::string_view(longLine), std::string_view("end")})
        ASSERT_EQ(writer.WriteLine(line), base::FileError::kNone);
    ASSERT_EQ(writer.Finish(), base::FileError::kNone);
    EXPECT_EQ(sink.All(), "abcdefgh\r\n\r\nz\r\n" + longLine + "\r\nend\r\n");
    EXPECT_GT(sink.writes.size(), 2u);  // written out in chunks, not held to the end
}

TEST(DictionaryLineWriter, ReportsAFailingSink) {
    RecordingSink sink;
    sink.fail = true;
    DictionaryLineWriter writer(sink, {100, 10});
    EXPECT_EQ(writer.WriteLine("a line longer than ten bytes"), base::FileError::kDiskFull);
}

// Runs of lines already in the written form are moved a block at a time. Whatever other break
// falls at whatever offset of a block, near a chunk's end or at the count's last line, the copy
// is the same as reading and writing line by line.
TEST(DictionaryLineReader, CopiesRunsLikeLineByLineWhereverAnotherBreakFalls) {
    test::TempFolder folder;
    const std::vector<LineBufferSizes> sizes = {{1024, 1024}, {200, 70}, {128, 64}};
    std::string suffix;
    for (int i = 0; i < 40; ++i)
        suffix += "de\r\n";
    for (const std::string_view odd : {"\r", "\n", "\r\n\n", "\r\r\n", "\n\r\n", "\r\n\n\n"}) {
        for (std::size_t offset = 0; offset < 140; ++offset) {
            // Five-byte lines up to the offset, the odd break there, more lines after it.
            std::string source;
            for (std::size_t i = 0; i < offset / 5; ++i)
                source += "abc\r\n";
            source.append(offset % 5, 'x');
            source += std::string(odd) + suffix;
            const std::string path = folder.Write("source", source);
            const std::vector<std::string> lines = test::ReferenceSourceLines(source);
            const auto before = static_cast<std::int64_t>(offset / 5);
            for (const LineBufferSizes& size : sizes) {
                for (const std::int64_t first :
                     {std::max<std::int64_t>(before - 1, 0), before, before + 1, before + 2, std::int64_t{1000}}) {
                    DictionaryLineReader reader(size);
                    ASSERT_EQ(reader.Open(path), base::FileError::kNone);
                    RecordingSink sink;
                    DictionaryLineWriter writer(sink, size);
                    reader.CopyLinesTo(writer, first);
                    ASSERT_EQ(writer.WriteLine("|"), base::FileError::kNone);
                    reader.CopyLinesTo(writer, 1000);
                    ASSERT_EQ(writer.Finish(), base::FileError::kNone);

                    std::string expected;
                    for (std::size_t i = 0; i < lines.size(); ++i) {
                        if (static_cast<std::int64_t>(i) == first) expected += "|\r\n";
                        expected += lines[i] + "\r\n";
                    }
                    if (first >= static_cast<std::int64_t>(lines.size())) expected += "|\r\n";
                    ASSERT_EQ(sink.All(), expected) << ::testing::PrintToString(odd) << " at " << offset
                                                    << ", capacity " << size.capacity << ", first " << first;
                }
            }
        }
    }
}

}  // namespace
}  // namespace updater::patch
