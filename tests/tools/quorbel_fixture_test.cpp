#include "fixtures/quorbel_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "fixtures/force_crc32.h"
#include "patch/crc32.h"

namespace updater::fixtures {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint32_t Le32(const Bytes& b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at]) | static_cast<std::uint32_t>(b[at + 1]) << 8 |
           static_cast<std::uint32_t>(b[at + 2]) << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

// Built once for the whole suite: each takes a moment.
class QuorbelFixture : public testing::Test {
  protected:
    static const Bytes& Old() {
        static const Bytes bytes = MakeQuorbelOld();
        return bytes;
    }
    static const Bytes& New() {
        static const Bytes bytes = MakeQuorbelNew();
        return bytes;
    }
    const Bytes* old_ = &Old();
    const Bytes* new_ = &New();
};

TEST_F(QuorbelFixture, HasTheCatalogueSizesAndChecksums) {
    EXPECT_EQ(old_->size(), 2'713'600u);
    EXPECT_EQ(patch::Crc32(*old_), 0x9053AAE7u);
    EXPECT_EQ(new_->size(), 2'721'280u);
    EXPECT_EQ(patch::Crc32(*new_), 0xF4F34DB0u);
}

TEST_F(QuorbelFixture, IsLaidOutLikeAnExecutable) {
    for (const Bytes* file : {old_, new_}) {
        ASSERT_EQ((*file)[0], 'M');
        ASSERT_EQ((*file)[1], 'Z');
        const std::size_t pe = Le32(*file, 0x3C);
        EXPECT_EQ(Le32(*file, pe), 0x00004550u);  // "PE\0\0"
        EXPECT_EQ(kQuorbelCrcPatchOffset, pe + 4 + 20 + 64) << "the checksum field";
        // The section table accounts for every byte of the file, in order.
        const std::size_t sections = (*file)[pe + 6];
        std::size_t end = 0x400;
        for (std::size_t s = 0; s < sections; ++s) {
            const std::size_t row = pe + 24 + 0xE0 + 40 * s;
            EXPECT_EQ(Le32(*file, row + 20), end) << s;
            end += Le32(*file, row + 16);
        }
        EXPECT_EQ(end, file->size());
    }
}

TEST_F(QuorbelFixture, NewVersionIsAnEditOfTheOld) {
    ASSERT_NE(*old_, *new_);
    // Inserted code and strings shift everything behind them, and with it every address that
    // points across an insertion; the stretches between addresses survive, moved.
    auto key = [](const Bytes& b, std::size_t at) {
        std::uint64_t h = 1469598103934665603ull;
        for (std::size_t i = 0; i < 32; ++i)
            h = (h ^ b[at + i]) * 1099511628211ull;
        return h;
    };
    // Functions sit on 16-byte and strings on 4-byte boundaries, so every shift is a multiple of 4.
    std::vector<std::uint64_t> oldKeys;
    for (std::size_t at = 0; at + 32 <= old_->size(); at += 4)
        oldKeys.push_back(key(*old_, at));
    std::sort(oldKeys.begin(), oldKeys.end());
    std::size_t found = 0, samples = 0;
    for (std::size_t at = 0; at + 32 <= new_->size(); at += 508) {
        ++samples;
        found += std::binary_search(oldKeys.begin(), oldKeys.end(), key(*new_, at)) ? 1 : 0;
    }
    EXPECT_GT(found, samples * 30 / 100);
    EXPECT_LT(found, samples * 90 / 100);
}

TEST_F(QuorbelFixture, IsTheSameEveryTime) {
    EXPECT_EQ(MakeQuorbelNew(), *new_);
}

TEST(ForceCrc32, ReachesAnyChecksumAtAnyOffset) {
    Bytes bytes(5'000);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 256);
    for (std::size_t offset : {std::size_t{0}, std::size_t{1'234}, bytes.size() - 4}) {
        for (std::uint32_t wanted : {0u, 0xFFFFFFFFu, 0x9053AAE7u, 0x12345678u}) {
            Bytes copy = bytes;
            ForceCrc32(copy, offset, wanted);
            EXPECT_EQ(patch::Crc32(copy), wanted) << offset;
            // Only the four chosen bytes change: with them put back, the copy is the original.
            const auto at = static_cast<std::ptrdiff_t>(offset);
            std::copy(bytes.begin() + at, bytes.begin() + at + 4, copy.begin() + at);
            EXPECT_EQ(copy, bytes);
        }
    }
    Bytes four = {1, 2, 3, 4};
    ForceCrc32(four, 0, 0xCAFEBABEu);
    EXPECT_EQ(patch::Crc32(four), 0xCAFEBABEu);
}

}  // namespace
}  // namespace updater::fixtures
