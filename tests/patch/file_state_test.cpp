#include "patch/file_state.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "base/file_system.h"
#include "fixtures/quorbel_fixture.h"
#include "patch/crc32.h"
#include "test_support/temp_folder.h"

namespace updater::patch {
namespace {

std::string AsString(std::span<const std::uint8_t> bytes) {
    return {bytes.begin(), bytes.end()};
}

std::uint32_t CrcOf(const std::string& s) {
    return Crc32({reinterpret_cast<const std::uint8_t*>(s.data()), s.size()});
}

// A file of the given size holding zeros except at the given offsets; written sparsely, so even
// the catalogue's multi-megabyte versions cost little to make.
void WriteSparse(const std::string& path, std::int64_t size, std::span<const Probe> bytes) {
    auto file = base::File::CreateOrTruncate(path);
    ASSERT_TRUE(file.ok());
    for (const Probe& p : bytes) {
        ASSERT_EQ(file.value().Seek(p.offset), base::FileError::kNone);
        ASSERT_EQ(file.value().Write(std::array<std::uint8_t, 1>{p.value}), base::FileError::kNone);
    }
    ASSERT_EQ(file.value().Seek(size - 1), base::FileError::kNone);
    std::array<std::uint8_t, 1> last{0};
    for (const Probe& p : bytes)
        if (p.offset == size - 1) last[0] = p.value;
    ASSERT_EQ(file.value().Write(last), base::FileError::kNone);
    ASSERT_EQ(file.value().Close(), base::FileError::kNone);
}

// --- File index 34: size and CRC-32 ----------------------------------------------------------

// Generating the fixture takes a while; it is made once per test program.
const std::string& NewQuorbel() {
    static const std::string bytes = AsString(fixtures::MakeQuorbelNew());
    return bytes;
}

class QuorbelState : public ::testing::Test {
  protected:
    test::TempFolder folder_;
};

TEST_F(QuorbelState, RightSizeWithAnyOtherCrcOrAnEmptyFileIsUnknown) {
    std::string current = NewQuorbel();
    current[1'000'000] ^= 0x01;
    EXPECT_EQ(CheckFileState(34, folder_.Write("edited.exe", current)), FileState::kUnknownVersion);
    EXPECT_EQ(CheckFileState(34, folder_.Write("zeros.exe", std::string(2'713'600, '\0'))), FileState::kUnknownVersion);
    EXPECT_EQ(CheckFileState(34, folder_.Write("empty.exe", "")), FileState::kUnknownVersion);
}

TEST_F(QuorbelState, AFileThatCannotBeOpenedIsAnError) {
    EXPECT_EQ(CheckFileState(34, folder_.Path("missing.exe")), FileState::kError);
    EXPECT_EQ(CheckFileState(34, folder_.Root()), FileState::kError) << "a folder is no file";
}

// --- Rows recognised by CRC-32 ---------------------------------------------------------------

FileRow CrcRow(std::initializer_list<std::pair<int, std::string>> versions, int current) {
    FileRow row;
    row.index = 30;
    for (const auto& [v, content] : versions) {
        row.sizes[static_cast<std::size_t>(v - 1)] = static_cast<std::int32_t>(content.size());
        row.crcs[static_cast<std::size_t>(v - 1)] = CrcOf(content);
    }
    row.currentVersion = current;
    return row;
}

TEST(CrcRowState, EqualSizesAreToldApartByCrcAndTheLowestMatchWins) {
    test::TempFolder folder;
    const std::string v1 = "template, first edition", v3 = "template, third edition";
    const FileRow row = CrcRow({{1, v1}, {3, v3}, {4, "a longer fourth edition"}}, 4);
    EXPECT_EQ(CheckFileState(row, folder.Write("a", v1)), FileState::kOld);
    EXPECT_EQ(CheckFileState(row, folder.Write("b", v3)), FileState::kOld);
    EXPECT_EQ(CheckFileState(row, folder.Write("c", "a longer fourth edition")), FileState::kCurrent);
    EXPECT_EQ(CheckFileState(row, folder.Write("d", "template, other edition")), FileState::kUnknownVersion);

    // Two versions with the same size and CRC: the lower number decides, even over the current.
    const FileRow twins = CrcRow({{2, v1}, {5, v1}}, 5);
    EXPECT_EQ(CheckFileState(twins, folder.Path("a")), FileState::kOld);
}

TEST(CrcRowState, ASizeOfZeroNeverMatchesEvenWithTheEmptyFilesCrc) {
    test::TempFolder folder;
    FileRow row = CrcRow({}, 1);
    row.crcs[0] = 0;  // the CRC-32 of no bytes
    EXPECT_EQ(CheckFileState(row, folder.Write("empty", "")), FileState::kUnknownVersion);
}

// --- Rows recognised by probes ---------------------------------------------------------------

struct ProbeRow {
    FileRow row;
    std::vector<std::vector<Probe>> tables = std::vector<std::vector<Probe>>(kKnownVersionCount);

    explicit ProbeRow(int current) {
        row.index = 7;
        row.currentVersion = current;
    }
    void Add(int version, std::int32_t size, std::vector<Probe> probes) {
        const auto slot = static_cast<std::size_t>(version - 1);
        row.sizes[slot] = size;
        tables[slot] = std::move(probes);
        row.probes[slot] = tables[slot];
    }
};

std::string Content(std::size_t size, std::initializer_list<Probe> bytes) {
    std::string s(size, 'x');
    for (const Probe& p : bytes)
        s[static_cast<std::size_t>(p.offset)] = static_cast<char>(p.value);
    return s;
}

TEST(ProbeRowState, AllProbesMustAgreeAndALaterVersionMayStillMatch) {
    test::TempFolder folder;
    ProbeRow r(2);
    r.Add(1, 16, {{0, 'A'}, {9, 'B'}, {15, 'C'}});
    r.Add(2, 16, {{0, 'A'}, {9, 'Z'}, {3, 'D'}});
    EXPECT_EQ(CheckFileState(r.row, folder.Write("v1", Content(16, {{0, 'A'}, {9, 'B'}, {15, 'C'}}))), FileState::kOld);
    // Offset 9 rules out version 1; version 2 then matches.
    EXPECT_EQ(CheckFileState(r.row, folder.Write("v2", Content(16, {{0, 'A'}, {9, 'Z'}, {3, 'D'}}))),
              FileState::kCurrent);
    // The last probe of version 2 differs: no version left.
    EXPECT_EQ(CheckFileState(r.row, folder.Write("v2x", Content(16, {{0, 'A'}, {9, 'Z'}, {3, 'E'}}))),
              FileState::kUnknownVersion);
    // The probes agree but the size does not.
    EXPECT_EQ(CheckFileState(r.row, folder.Write("long", Content(17, {{0, 'A'}, {9, 'Z'}, {3, 'D'}}))),
              FileState::kUnknownVersion);
}

TEST(ProbeRowState, WhenTwoVersionsWouldMatchTheLowerWins) {
    test::TempFolder folder;
    ProbeRow r(6);
    r.Add(4, 8, {{1, 'q'}});
    r.Add(6, 8, {{2, 'r'}});
    EXPECT_EQ(CheckFileState(r.row, folder.Write("both", Content(8, {{1, 'q'}, {2, 'r'}}))), FileState::kOld);
}

TEST(ProbeRowState, ProbesAreReadInTableOrderAndTheFirstMismatchEndsTheVersion) {
    test::TempFolder folder;
    const std::string path = folder.Write("f", Content(8, {{2, 'k'}}));
    // The second probe lies beyond the end of the file: reading it would fail. A first probe
    // that already disagrees means it is never read.
    ProbeRow stops(1);
    stops.Add(1, 8, {{2, 'j'}, {100, 'k'}});
    EXPECT_EQ(CheckFileState(stops.row, path), FileState::kUnknownVersion);

    ProbeRow reads(1);
    reads.Add(1, 8, {{2, 'k'}, {100, 'k'}});
    EXPECT_EQ(CheckFileState(reads.row, path), FileState::kError) << "a failed read is an error, not a mismatch";

    ProbeRow negative(1);
    negative.Add(1, 8, {{-1, 'k'}});
    EXPECT_EQ(CheckFileState(negative.row, path), FileState::kError);
}

TEST(ProbeRowState, AnErrorOverridesAMatchFoundEarlier) {
    test::TempFolder folder;
    ProbeRow r(2);
    r.Add(1, 8, {{2, 'x'}});            // would not match
    r.Add(2, 8, {{2, 'k'}, {8, 'k'}});  // matches, then cannot read offset 8
    EXPECT_EQ(CheckFileState(r.row, folder.Write("f", Content(8, {{2, 'k'}}))), FileState::kError);
}

TEST(ProbeRowState, TheKindOfCheckFollowsTheFileIndex) {
    test::TempFolder folder;
    const std::string content = Content(8, {{2, 'k'}});
    const std::string path = folder.Write("f", content);
    FileRow row;
    row.currentVersion = 1;
    row.sizes[0] = 8;
    row.crcs[0] = CrcOf(content);
    const std::array<Probe, 1> wrongProbe{{{2, 'j'}}};
    row.probes[0] = wrongProbe;

    row.index = 23;  // probes only: the right CRC does not help
    EXPECT_EQ(CheckFileState(row, path), FileState::kUnknownVersion);
    row.index = 24;  // CRC only: the wrong probe does not matter
    EXPECT_EQ(CheckFileState(row, path), FileState::kCurrent);
}

// Every probe table of the catalogue recognises a file built from it as its own version.
TEST(ProbeRowState, EachCatalogueTableRecognisesItsVersion) {
    test::TempFolder folder;
    int checked = 0;
    for (int i = kFirstFileIndex; i <= kLastProbedFileIndex; ++i) {
        const FileRow row = CatalogueRow(i);
        for (int v = 1; v <= kKnownVersionCount; ++v) {
            if (row.Size(v) == 0) continue;
            const std::string path = folder.Path(std::to_string(i) + "-" + std::to_string(v));
            WriteSparse(path, row.Size(v), row.Probes(v));
            const FileState expected = v == row.currentVersion ? FileState::kCurrent : FileState::kOld;
            EXPECT_EQ(CheckFileState(i, path), expected) << "file index " << i << ", version " << v;
            ASSERT_EQ(base::RemoveFile(path), base::FileError::kNone);
            ++checked;
        }
    }
    EXPECT_EQ(checked, 65);
}

TEST(FileStateCheck, NeverChangesTheFile) {
    test::TempFolder folder;
    const std::string content = Content(4096, {{7, 'q'}});
    ProbeRow r(1);
    r.Add(1, 4096, {{7, 'q'}});
    for (FileRow row : {r.row, CatalogueRow(34), CatalogueRow(1), CatalogueRow(0)}) {
        const std::string path = folder.Write("f", content);
        (void)CheckFileState(row, path);
        EXPECT_EQ(folder.Read("f"), content);
        EXPECT_EQ(folder.Listing(), "f\n");
    }
    EXPECT_EQ(CheckFileState(99, folder.Path("f")), FileState::kUnknownVersion) << "no such row knows no version";
}

}  // namespace
}  // namespace updater::patch
