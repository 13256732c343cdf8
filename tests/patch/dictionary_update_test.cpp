#include "patch/dictionary_update.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fixtures/dictionary_fixture.h"
#include "patch/crc32.h"
#include "test_support/temp_folder.h"

namespace updater::patch {
namespace {

std::vector<std::uint8_t> Bytes(std::string_view s) {
    return {s.begin(), s.end()};
}

// A small dictionary and its script, generated to meet a record of our own.
const fixtures::DictionaryFixture& Small() {
    static const fixtures::DictionaryFixture fixture = [] {
        fixtures::DictionaryFixtureShape shape;
        shape.oldSize = 60'000;
        shape.oldCrc = 0x0BADF00Du;
        shape.newSize = 61'234;
        shape.newCrc = 0xFEEDBEEFu;
        shape.removals = 40;
        shape.seed = 7;
        return *fixtures::GenerateDictionaryFixture(shape);
    }();
    return fixture;
}

constexpr TPatchSlownikInfo kRecord{
    base::ByteSet{6}, {"words.sg", 60'000, 0x0BADF00Du}, {"words.sg", 61'234, 0xFEEDBEEFu}, "PSLWORDS"};

struct Folder {
    test::TempFolder temp;
    MemoryResources resources;
    std::string root = temp.Root() + base::PathSeparator();

    explicit Folder(std::string_view oldText = Small().oldText, std::string_view script = Small().script) {
        temp.Write("words.sg", oldText);
        resources.Add("PSLWORDS", Bytes(script));
    }
    DictionaryUpdateResult Run(const DictionaryUpdateSeams& seams = {}, const TPatchSlownikInfo& record = kRecord) {
        int progress = -1;
        return UpdateDictionary(root, record, resources, progress, nullptr, seams);
    }
};

TEST(DictionaryUpdate, TheBuildHasOneRecordForProductSix) {
    ASSERT_EQ(DictionaryUpdates().size(), 1u);
    const TPatchSlownikInfo& r = DictionaryUpdates()[0];
    EXPECT_TRUE(r.products.Contains(6));
    EXPECT_EQ(r.products, base::ByteSet{6});
    EXPECT_EQ(r.oldState.fileName, "dravin2.sg");
    EXPECT_EQ(r.oldState.size, 20'856'322);
    EXPECT_EQ(r.oldState.crc32, 0x134A6078u);
    EXPECT_EQ(r.newState.fileName, "dravin2.sg");
    EXPECT_EQ(r.newState.size, 20'908'583);
    EXPECT_EQ(r.newState.crc32, 0x301F4AC5u);
    EXPECT_EQ(r.scriptResource, "PSLDRAVIN2");
}

TEST(DictionaryUpdate, ConvertsTheOldFileAndLeavesTheNewOneAlone) {
    Folder f;
    int progress = -1;
    int pumps = 0;
    const auto first = UpdateDictionary(f.root, kRecord, f.resources, progress, [&] { ++pumps; });
    EXPECT_EQ(first.code, DictionaryUpdateCode::kConverted);
    EXPECT_EQ(first.outcome, DictionaryUpdateOutcome::kReplaced);
    EXPECT_EQ(f.temp.Read("words.sg"), Small().newText);
    EXPECT_EQ(f.temp.Listing(), "words.sg\n");
    EXPECT_EQ(progress, 100);
    EXPECT_GT(pumps, 1);

    // Already new: nothing is written, not even a temporary file (none may be created meanwhile).
    f.resources = MemoryResources();  // no script needed, and none used
    const auto second = UpdateDictionary(f.root, kRecord, f.resources, progress, [&] { ADD_FAILURE(); });
    EXPECT_EQ(second.code, DictionaryUpdateCode::kAlreadyNew);
    EXPECT_EQ(f.temp.Read("words.sg"), Small().newText);
    EXPECT_EQ(f.temp.Listing(), "words.sg\n");
}

TEST(DictionaryUpdate, AFileInNeitherStateIsCodeTwoAndUntouched) {
    std::string sameSizeOtherCrc = Small().oldText;
    sameSizeOtherCrc[100] ^= 1;
    for (const std::string& content : {sameSizeOtherCrc, Small().oldText + "x", std::string()}) {
        Folder f(content);
        EXPECT_EQ(f.Run().code, DictionaryUpdateCode::kUnknownState);
        EXPECT_EQ(f.temp.Read("words.sg"), content);
        EXPECT_EQ(f.temp.Listing(), "words.sg\n");
    }
    Folder missing;
    base::RemoveFile(missing.temp.Path("words.sg"));
    EXPECT_EQ(missing.Run().code, DictionaryUpdateCode::kUnknownState);
}

TEST(DictionaryUpdate, AnExistingSlupdateTmpIsNeitherUsedNorRemoved) {
    Folder f;
    f.temp.Write("slupdate.tmp", "someone else's");
    bool sawSlupdate1 = false;
    int progress = 0;
    const auto r = UpdateDictionary(f.root, kRecord, f.resources, progress,
                                    [&] { sawSlupdate1 |= base::FileExists(f.temp.Path("slupdate1.tmp")); });
    EXPECT_EQ(r.outcome, DictionaryUpdateOutcome::kReplaced);
    EXPECT_TRUE(sawSlupdate1);
    EXPECT_EQ(f.temp.Read("slupdate.tmp"), "someone else's");
    EXPECT_EQ(f.temp.Listing(), "slupdate.tmp\nwords.sg\n");
    EXPECT_EQ(f.temp.Read("words.sg"), Small().newText);
}

// Every failure after the old file has been recognised: the code stays 1, the old file is byte
// for byte as it was, and no temporary file is left.
TEST(DictionaryUpdate, FailuresAfterRecognitionKeepTheOldFile) {
    std::string wrongResult = Small().script;
    wrongResult[wrongResult.size() - 10] ^= 1;  // a digit of the last inserted line: the CRC is off
    std::string badCount = "USUN\r\n1\r\nDOD\r\nten\r\nx\r\n" + Small().script;

    struct Case {
        const char* what;
        std::string script;
        bool scriptPresent;
        DictionaryUpdateSeams seams;
        DictionaryUpdateOutcome outcome;
    };
    DictionaryUpdateSeams tempNotCreatable;
    tempNotCreatable.temporaryName = [](const std::string& folder) {
        return folder + "gone" + base::PathSeparator() + "slupdate.tmp";
    };
    DictionaryUpdateSeams placeFails;
    placeFails.place = [](const std::string&, const std::string&) { return base::FileError::kSharingViolation; };
    const std::vector<Case> cases = {
        {"script resource missing", "", false, {}, DictionaryUpdateOutcome::kScriptMissing},
        {"temporary file not creatable", Small().script, true, tempNotCreatable,
         DictionaryUpdateOutcome::kConversionFailed},
        {"invalid line count", badCount, true, {}, DictionaryUpdateOutcome::kConversionFailed},
        {"verification fails", wrongResult, true, {}, DictionaryUpdateOutcome::kVerificationFailed},
        {"empty script: a plain copy fails verification", "", true, {}, DictionaryUpdateOutcome::kVerificationFailed},
        {"the new file cannot be put in place", Small().script, true, placeFails,
         DictionaryUpdateOutcome::kReplaceFailed},
    };
    for (const Case& c : cases) {
        Folder f(Small().oldText, c.script);
        if (!c.scriptPresent) f.resources = MemoryResources();
        const DictionaryUpdateResult r = f.Run(c.seams);
        EXPECT_EQ(r.code, DictionaryUpdateCode::kConverted) << c.what;
        EXPECT_EQ(r.outcome, c.outcome) << c.what;
        EXPECT_TRUE(f.temp.Read("words.sg") == Small().oldText) << c.what;
        EXPECT_EQ(f.temp.Listing(), "words.sg\n") << c.what;
    }
}

TEST(DictionaryUpdate, ARecordThatRenamesTheFileRemovesTheOldNameOnlyOnSuccess) {
    constexpr TPatchSlownikInfo kRename{
        base::ByteSet{6}, {"words.sg", 60'000, 0x0BADF00Du}, {"words2.sg", 61'234, 0xFEEDBEEFu}, "PSLWORDS"};
    Folder f;
    EXPECT_EQ(f.Run({}, kRename).outcome, DictionaryUpdateOutcome::kReplaced);
    EXPECT_EQ(f.temp.Listing(), "words2.sg\n");
    EXPECT_EQ(f.temp.Read("words2.sg"), Small().newText);
    EXPECT_EQ(f.Run({}, kRename).code, DictionaryUpdateCode::kAlreadyNew);

    DictionaryUpdateSeams placeFails;
    placeFails.place = [](const std::string&, const std::string&) { return base::FileError::kAccessDenied; };
    Folder g;
    EXPECT_EQ(g.Run(placeFails, kRename).outcome, DictionaryUpdateOutcome::kReplaceFailed);
    EXPECT_EQ(g.temp.Listing(), "words.sg\n");
}

}  // namespace
}  // namespace updater::patch
