#include "fixtures/row_fixture.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "patch/crc32.h"
#include "patch/file_catalogue.h"
#include "patch/file_state.h"
#include "test_support/temp_folder.h"

namespace updater::fixtures {
namespace {

std::string_view AsText(const std::vector<std::uint8_t>& bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// Every known version of every row, written out, is recognised by the state check as exactly that
// version: current or old as the row says, never a same-sized neighbour (the first match decides,
// so a version the check took for a lower one would show as old where it is current), and the
// current one has the CRC-32 the catalogue gives it. For the probed rows, one changed middle byte
// makes the file unknown.
TEST(RowFixture, EveryKnownVersionOfEveryRowIsRecognised) {
    test::TempFolder folder;
    int written = 0;
    for (int i = patch::kFirstFileIndex; i <= patch::kLastFileIndex; ++i) {
        const patch::FileRow row = patch::CatalogueRow(i);
        for (int v = 1; v <= patch::kKnownVersionCount; ++v) {
            const auto bytes = MakeRowVersion(i, v);
            ASSERT_EQ(bytes.has_value(), row.Size(v) > 0) << i << "/" << v;
            if (!bytes) continue;
            ++written;
            const std::string path = folder.Write("row", AsText(*bytes));
            const patch::FileState expected =
                v == row.currentVersion ? patch::FileState::kCurrent : patch::FileState::kOld;
            EXPECT_EQ(patch::CheckFileState(row, path), expected) << i << "/" << v;
            // The catalogue's CRC-32 of the current version is that of the file it describes, for
            // the probed rows too (a replacement's new content is checked against it).
            if (v == row.currentVersion) {
                EXPECT_EQ(patch::Crc32(*bytes), row.CurrentCrc()) << i;
            }
            if (row.UsesProbes()) {
                auto spoilt = *bytes;
                spoilt[spoilt.size() / 2] ^= 0xFF;
                const std::string other = folder.Write("spoilt", AsText(spoilt));
                EXPECT_EQ(patch::CheckFileState(row, other), patch::FileState::kUnknownVersion) << i << "/" << v;
            }
        }
    }
    EXPECT_EQ(written, 88);  // 65 probed versions (rows 1 to 23) and 23 of rows 24 to 34
    EXPECT_FALSE(MakeRowVersion(9, 1)) << "row 9 has no version 1";
    EXPECT_FALSE(MakeRowVersion(35, 1));
}

TEST(RowFixture, NamesGiveRowAndVersion) {
    const auto parsed = ParseRowVersionName("row-27-v4");
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->index, 27);
    EXPECT_EQ(parsed->version, 4);
    for (std::string_view bad : {"row-27", "row-27-v", "row--v1", "row-1-v2x", "quorbel-old", "row-x-v1"})
        EXPECT_FALSE(ParseRowVersionName(bad)) << bad;
}

}  // namespace
}  // namespace updater::fixtures
