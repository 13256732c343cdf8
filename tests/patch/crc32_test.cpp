#include "patch/crc32.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_support/temp_folder.h"

namespace updater::patch {
namespace {

std::span<const std::uint8_t> Bytes(const std::string& s) {
    return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

TEST(Crc32, MatchesTheStandardCheckValues) {
    EXPECT_EQ(Crc32({}), 0u);
    EXPECT_EQ(Crc32(Bytes("123456789")), 0xCBF43926u);
    EXPECT_EQ(Crc32(Bytes("The quick brown fox jumps over the lazy dog")), 0x414FA339u);
    // Folding in pieces gives the same value as one pass.
    EXPECT_EQ(Crc32Update(Crc32(Bytes("12345")), Bytes("6789")), 0xCBF43926u);
    // And so does joining the values of the pieces.
    EXPECT_EQ(Crc32Combine(Crc32(Bytes("12345")), Crc32(Bytes("6789")), 4), 0xCBF43926u);
    EXPECT_EQ(Crc32Combine(Crc32(Bytes("123456789")), Crc32({}), 0), 0xCBF43926u);
}

TEST(Crc32, FileCrcReadsTheWholeFileAcrossBlockBoundaries) {
    test::TempFolder folder;
    for (std::size_t size : {0u, 1u, 8191u, 8192u, 8193u, 100000u}) {
        std::string content(size, '\0');
        for (std::size_t i = 0; i < size; ++i)
            content[i] = static_cast<char>((i * 131) ^ (i >> 7));
        const std::string path = folder.Write("f" + std::to_string(size), content);
        auto crc = FileCrc32(path);
        ASSERT_TRUE(crc.ok()) << size;
        EXPECT_EQ(crc.value(), Crc32(Bytes(content))) << size;
    }
    EXPECT_EQ(FileCrc32(folder.Path("missing")).error(), base::FileError::kNotFound);
}

}  // namespace
}  // namespace updater::patch
