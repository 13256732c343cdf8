#include "patch/file_replacement.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "fixtures/quorbel_fixture.h"
#include "fixtures/row_fixture.h"
#include "patch/crc32.h"
#include "patch/file_state.h"
#include "patch/small_product.h"
#include "payload_encoder/payload_encoder.h"
#include "test_support/temp_folder.h"

namespace updater::patch {
namespace {

using test::Bytes;

std::string AsString(std::span<const std::uint8_t> bytes) {
    return {bytes.begin(), bytes.end()};
}
using test::Encoded;
using test::Sample;
using test::SmallProduct;

// What the updater does for a file index of this build: its catalogue row, the program's payloads.
bool ReplaceFromThisProgram(int index, const std::string& path) {
    return ReplaceTargetFile(CatalogueRow(index), path, ProgramResources()).ok();
}

class Replacement : public ::testing::Test {
  protected:
    // The target in its old version; returns its path.
    std::string WriteOld() { return folder_.Write("Norvak2.exe", p_.oldContent); }
    void ExpectOldIntact() {
        EXPECT_EQ(folder_.Read("Norvak2.exe"), p_.oldContent);
        EXPECT_EQ(folder_.Listing(), "Norvak2.exe\n") << "no temporary file may be left behind";
    }

    test::TempFolder folder_;
    SmallProduct p_;
};

// --- Writing ---------------------------------------------------------------------------------

TEST(ReplacementOfThisBuild, TurnsTheOldProgramIntoTheCurrentVersion) {
    test::TempFolder folder;
    const std::string path = folder.Write("Quorbel2.exe", AsString(fixtures::MakeQuorbelOld()));
    ASSERT_EQ(CheckFileState(34, path), FileState::kOld);
    ASSERT_TRUE(ReplaceFromThisProgram(34, path));
    const auto crc = FileCrc32(path);
    ASSERT_TRUE(crc.ok());
    EXPECT_EQ(crc.value(), 0xF4F34DB0u);
    EXPECT_EQ(folder.Read("Quorbel2.exe").size(), 2'721'280u);
    EXPECT_EQ(CheckFileState(34, path), FileState::kCurrent);
    EXPECT_EQ(folder.Listing(), "Quorbel2.exe\n");
}

TEST(ReplacementOfThisBuild, FailsForNumbersThatAreNoFileIndex) {
    test::TempFolder folder;
    const std::string path = folder.Write("f", "old");
    for (int index : {0, 35, -1})
        EXPECT_FALSE(ReplaceFromThisProgram(index, path)) << index;
    EXPECT_EQ(folder.Read("f"), "old");
    EXPECT_EQ(folder.Listing(), "f\n");
}

TEST_F(Replacement, WritesPartAFollowedByPartB) {
    const auto outcome = ReplaceTargetFile(p_.row, WriteOld(), p_.resources);
    ASSERT_TRUE(outcome.ok()) << Describe(outcome);
    EXPECT_EQ(folder_.Read("Norvak2.exe"), p_.current);
    EXPECT_EQ(folder_.Listing(), "Norvak2.exe\n");
}

TEST_F(Replacement, WithoutPartBTheFileIsPartAAlone) {
    p_.row.resourceNames[1] = "";
    p_.SetCurrent(p_.partA);
    ASSERT_TRUE(ReplaceTargetFile(p_.row, WriteOld(), p_.resources).ok());
    EXPECT_EQ(folder_.Read("Norvak2.exe"), p_.partA);
}

TEST_F(Replacement, CreatesAMissingTarget) {
    ASSERT_TRUE(ReplaceTargetFile(p_.row, folder_.Path("Norvak2.exe"), p_.resources).ok());
    EXPECT_EQ(folder_.Read("Norvak2.exe"), p_.current);
    EXPECT_EQ(folder_.Listing(), "Norvak2.exe\n");
}

TEST_F(Replacement, ALongerOldFileLeavesNoTrailingBytes) {
    const std::string path = folder_.Write("Norvak2.exe", Sample(50'000, 9));
    ASSERT_TRUE(ReplaceTargetFile(p_.row, path, p_.resources).ok());
    EXPECT_EQ(folder_.Read("Norvak2.exe"), p_.current);
}

TEST_F(Replacement, RowsRecognisedByProbesAreCheckedByTheirProbesAndTheirCrc) {
    p_.row.index = 5;
    p_.row.probedCurrentCrc = Crc32(Bytes(p_.current));
    const std::vector<Probe> probes = {{0, static_cast<std::uint8_t>(p_.current[0])},
                                       {7999, static_cast<std::uint8_t>(p_.current[7999])},
                                       {4000, static_cast<std::uint8_t>(p_.current[4000])}};
    p_.row.probes[1] = probes;
    const std::string path = WriteOld();
    ASSERT_TRUE(ReplaceTargetFile(p_.row, path, p_.resources).ok());
    EXPECT_EQ(folder_.Read("Norvak2.exe"), p_.current);
    EXPECT_EQ(CheckFileState(p_.row, path), FileState::kCurrent);

    // Content the probes reject is never written.
    const std::vector<Probe> wrong = {{4000, static_cast<std::uint8_t>(p_.current[4000] ^ 1)}};
    p_.row.probes[1] = wrong;
    folder_.Write("Norvak2.exe", p_.oldContent);
    EXPECT_EQ(ReplaceTargetFile(p_.row, path, p_.resources).failedStep, ReplaceStep::kWrongContent);
    ExpectOldIntact();

    // Nor is content the probes pass but whose CRC-32 is not the current version's.
    p_.row.probes[1] = probes;
    p_.row.probedCurrentCrc ^= 1;
    EXPECT_EQ(ReplaceTargetFile(p_.row, path, p_.resources).failedStep, ReplaceStep::kWrongContent);
    ExpectOldIntact();
}

// The payload of a probed row with one bit flipped, at every offset in turn: some flips decode to
// content of the right size that passes all 50 probes yet differs elsewhere. None of them may be
// written; the state check would call such a file current, and no later run would mend it.
TEST(ReplacementOfAProbedRow, NoDamagedPayloadIsEverWritten) {
    const FileRow row = CatalogueRow(2);  // Quorbel.hlp, told apart by probes
    const auto current = fixtures::MakeRowVersion(2, row.currentVersion);
    const auto old = fixtures::MakeRowVersion(2, 1);
    ASSERT_TRUE(current && old);
    const std::vector<std::uint8_t> payload = tools::EncodePayload(*current);
    test::TempFolder folder;
    const std::string path = folder.Write("Quorbel.hlp", AsString(*old));
    PayloadDecoder decoder;
    int passingProbes = 0;
    for (std::size_t offset = 0; offset < payload.size(); ++offset) {
        auto damaged = payload;
        damaged[offset] ^= static_cast<std::uint8_t>(1u << (offset % 8));
        if (decoder.Decode(damaged) == DecodeError::kNone && decoder.Output().size() == current->size() &&
            !std::equal(current->begin(), current->end(), decoder.Output().begin()) &&
            std::all_of(
                row.Probes(row.currentVersion).begin(), row.Probes(row.currentVersion).end(),
                [&](const Probe& p) { return decoder.Output()[static_cast<std::size_t>(p.offset)] == p.value; }))
            ++passingProbes;
        MemoryResources resources;
        resources.Add(std::string(row.resourceNames[0]), damaged);
        if (ReplaceTargetFile(row, path, resources).ok()) {
            EXPECT_EQ(folder.Read("Quorbel.hlp"), AsString(*current)) << "flip at offset " << offset;
            folder.Write("Quorbel.hlp", AsString(*old));
        } else {
            EXPECT_EQ(folder.Read("Quorbel.hlp"), AsString(*old)) << "flip at offset " << offset;
        }
    }
    EXPECT_GT(passingProbes, 0) << "no flip fooled the probes: the case is not exercised";
}

TEST_F(Replacement, TheDecoderRecoversAfterABadPayload) {
    const std::string path = WriteOld();
    p_.resources.Add("PARTB", {0x00});
    EXPECT_FALSE(ReplaceTargetFile(p_.row, path, p_.resources).ok());
    p_.resources.Add("PARTB", Encoded(p_.partB));
    EXPECT_TRUE(ReplaceTargetFile(p_.row, path, p_.resources).ok());
    EXPECT_EQ(folder_.Read("Norvak2.exe"), p_.current);
}

// --- Failures: the old file stays, byte for byte, and nothing else is left ---------------------

TEST_F(Replacement, AMissingResourceFails) {
    MemoryResources onlyA;
    onlyA.Add("PARTA", Encoded(p_.partA));
    const auto outcome = ReplaceTargetFile(p_.row, WriteOld(), onlyA);
    EXPECT_EQ(outcome.failedStep, ReplaceStep::kMissingResource);
    EXPECT_EQ(outcome.resourceName, "PARTB");
    ExpectOldIntact();
}

TEST_F(Replacement, ACorruptedPayloadFails) {
    auto truncated = Encoded(p_.partA);
    truncated.resize(truncated.size() / 2);
    p_.resources.Add("PARTA", truncated);
    const auto outcome = ReplaceTargetFile(p_.row, WriteOld(), p_.resources);
    EXPECT_EQ(outcome.failedStep, ReplaceStep::kUndecodable);
    EXPECT_NE(outcome.decodeError, DecodeError::kNone);
    ExpectOldIntact();
}

TEST_F(Replacement, PayloadsThatDecodeToSomethingElseFail) {
    // Decodable, but not the catalogue's current version: wrong size, then wrong CRC-32.
    p_.resources.Add("PARTB", tools::EncodePayload(Bytes(p_.partB + "x")));
    EXPECT_EQ(ReplaceTargetFile(p_.row, WriteOld(), p_.resources).failedStep, ReplaceStep::kWrongContent);
    ExpectOldIntact();
    std::string changed = p_.partB;
    changed[100] ^= 0x20;
    p_.resources.Add("PARTB", tools::EncodePayload(Bytes(changed)));
    EXPECT_EQ(ReplaceTargetFile(p_.row, WriteOld(), p_.resources).failedStep, ReplaceStep::kWrongContent);
    ExpectOldIntact();
}

TEST_F(Replacement, AReadOnlyTargetStays) {
    const std::string path = WriteOld();
    folder_.MakeReadOnly("Norvak2.exe");
    const auto outcome = ReplaceTargetFile(p_.row, path, p_.resources);
    EXPECT_EQ(outcome.failedStep, ReplaceStep::kWrite);
    EXPECT_EQ(outcome.written.failedStep, base::SafeWriteStep::kMove);
    EXPECT_EQ(outcome.written.error, base::FileError::kAccessDenied);
    ExpectOldIntact();
}

TEST_F(Replacement, AMissingFolderFailsAndCreatesNothing) {
    const std::string path = folder_.Path("absent") + base::PathSeparator() + "Norvak2.exe";
    const auto outcome = ReplaceTargetFile(p_.row, path, p_.resources);
    EXPECT_EQ(outcome.written.failedStep, base::SafeWriteStep::kCreate) << Describe(outcome);
    EXPECT_EQ(folder_.Listing(), "");
}

// Makes one step of the writer fail, on real files.
class FaultyWriter : public base::FileSteps {
  public:
    enum class Fault { kCreateRefused, kNameTaken, kDiskFull, kSilentShortWrite, kLastPieceChanged, kFlush, kMove };
    explicit FaultyWriter(Fault fault) : fault_(fault) {}

    base::FileResult<base::NewFile> CreateNew(const base::Folder& folder, const std::string& name) override {
        ++creates_;
        if (fault_ == Fault::kCreateRefused) return base::FileError::kAccessDenied;
        if (fault_ == Fault::kNameTaken && creates_ <= 3) return base::FileError::kAlreadyExists;
        return base::FileSteps::CreateNew(folder, name);
    }
    base::FileError Write(base::NewFile& file, std::span<const std::uint8_t> bytes) override {
        if (fault_ == Fault::kLastPieceChanged && ++writes_ == 2) {
            // Part B arrives whole, with one byte in its middle changed on the way.
            std::vector<std::uint8_t> changed(bytes.begin(), bytes.end());
            changed[changed.size() / 2] ^= 0x01;
            return base::FileSteps::Write(file, changed);
        }
        if (fault_ != Fault::kDiskFull && fault_ != Fault::kSilentShortWrite)
            return base::FileSteps::Write(file, bytes);
        // Half of it reaches the disk.
        if (auto e = base::FileSteps::Write(file, bytes.first(bytes.size() / 2)); e != base::FileError::kNone) return e;
        return fault_ == Fault::kDiskFull ? base::FileError::kDiskFull : base::FileError::kNone;
    }
    base::FileError Flush(base::NewFile& file) override {
        return fault_ == Fault::kFlush ? base::FileError::kIo : base::FileSteps::Flush(file);
    }
    base::FileError MoveIntoPlace(base::NewFile& file, const std::string& target) override {
        return fault_ == Fault::kMove ? base::FileError::kSharingViolation
                                      : base::FileSteps::MoveIntoPlace(file, target);
    }
    // A hold that never ends, without the wait.
    bool WaitForHolder(const std::string&, std::chrono::milliseconds) override { return true; }
    int creates_ = 0;
    int writes_ = 0;

  private:
    Fault fault_;
};

TEST_F(Replacement, EachFailingWriterStepLeavesTheOldFile) {
    using Fault = FaultyWriter::Fault;
    const struct {
        Fault fault;
        base::SafeWriteStep step;
        const char* message;
    } cases[] = {
        {Fault::kCreateRefused, base::SafeWriteStep::kCreate,
         "cannot create the new file beside the target: access denied"},
        {Fault::kDiskFull, base::SafeWriteStep::kWrite, "cannot write the new file: disk full"},
        {Fault::kSilentShortWrite, base::SafeWriteStep::kVerify, "the new file does not read back as written"},
        {Fault::kLastPieceChanged, base::SafeWriteStep::kVerify, "the new file does not read back as written"},
        {Fault::kFlush, base::SafeWriteStep::kFlush, "cannot flush the new file to disk: input/output error"},
        {Fault::kMove, base::SafeWriteStep::kMove,
         "cannot put the new file in place of the target: held by another program"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.fault));
        FaultyWriter writer(c.fault);
        const auto outcome = ReplaceTargetFile(p_.row, WriteOld(), p_.resources, writer);
        EXPECT_EQ(outcome.failedStep, ReplaceStep::kWrite);
        EXPECT_EQ(outcome.written.failedStep, c.step);
        EXPECT_EQ(Describe(outcome), c.message);
        ExpectOldIntact();
    }
}

// What was checked is what is replaced: a file swapped in under the target's name after the check
// (here the moment the new file is flushed) stays, and so does nothing of the new one.
TEST_F(Replacement, OnlyTheFileThatWasCheckedIsReplaced) {
    const std::string path = WriteOld();
    const FileCheck check = CheckFile(p_.row, path);
    ASSERT_EQ(check.state, FileState::kOld);
    ASSERT_TRUE(check.identity);

    class SwappingSteps : public base::FileSteps {
      public:
        explicit SwappingSteps(const test::TempFolder& folder) : folder_(folder) {}
        base::FileError Flush(base::NewFile& file) override {
            const std::string other = folder_.Write("other", "another program's file");
            EXPECT_EQ(base::MoveIntoPlace(other, folder_.Path("Norvak2.exe")), base::FileError::kNone);
            return base::FileSteps::Flush(file);
        }

      private:
        const test::TempFolder& folder_;
    } swapping(folder_);
    const auto outcome = ReplaceTargetFile(p_.row, path, p_.resources, swapping, check.identity);
    EXPECT_EQ(outcome.written.failedStep, base::SafeWriteStep::kTargetChanged) << Describe(outcome);
    EXPECT_EQ(folder_.Read("Norvak2.exe"), "another program's file");
    EXPECT_EQ(folder_.Listing(), "Norvak2.exe\n");

    // Unswapped, the checked file is replaced.
    folder_.Write("Norvak2.exe", p_.oldContent);
    const FileCheck again = CheckFile(p_.row, path);
    EXPECT_TRUE(ReplaceTargetFile(p_.row, path, p_.resources, base::SystemFileSteps(), again.identity).ok());
    EXPECT_EQ(folder_.Read("Norvak2.exe"), p_.current);
}

TEST_F(Replacement, ATakenTemporaryNameIsSkipped) {
    FaultyWriter writer(FaultyWriter::Fault::kNameTaken);
    ASSERT_TRUE(ReplaceTargetFile(p_.row, WriteOld(), p_.resources, writer).ok());
    EXPECT_EQ(writer.creates_, 4);
    EXPECT_EQ(folder_.Read("Norvak2.exe"), p_.current);
    EXPECT_EQ(folder_.Listing(), "Norvak2.exe\n");
}

}  // namespace
}  // namespace updater::patch
