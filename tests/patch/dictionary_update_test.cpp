#include "patch/dictionary_update.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "fixtures/dictionary_fixture.h"
#include "localisation/text_helpers.h"
#include "patch/crc32.h"
#include "patch/small_dictionary.h"
#include "test_support/temp_folder.h"

namespace updater::patch {
namespace {

using test::Bytes;

const fixtures::DictionaryFixture& Small() {
    return test::SmallDictionary();
}
constexpr const TPatchSlownikInfo& kRecord = test::kSmallDictionaryRecord;

struct Folder {
    test::TempFolder temp;
    MemoryResources resources;
    std::string root = temp.Root() + base::PathSeparator();

    explicit Folder(std::string_view oldText = Small().oldText, std::string_view script = Small().script) {
        temp.Write("words.sg", oldText);
        resources.Add("PSLWORDS", Bytes(script));
    }
    DictionaryUpdateResult Run(base::FileSteps& steps = base::SystemFileSteps(),
                               const TPatchSlownikInfo& record = kRecord) {
        int progress = -1;
        return UpdateDictionary(root, record, resources, progress, nullptr, steps);
    }
};

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

// File steps that refuse one operation.
class RefusingSteps : public base::FileSteps {
  public:
    enum class Refuse { kNothing, kCreate, kTakenNames, kThrowOnWrite, kMove };
    explicit RefusingSteps(Refuse refuse) : refuse_(refuse) {}
    base::FileResult<base::NewFile> CreateNew(const base::Folder& folder, const std::string& name) override {
        created.push_back(name);
        if (refuse_ == Refuse::kCreate) return base::FileError::kAccessDenied;
        if (refuse_ == Refuse::kTakenNames && created.size() <= 2) return base::FileError::kAlreadyExists;
        return base::FileSteps::CreateNew(folder, name);
    }
    base::FileError Write(base::NewFile& file, std::span<const std::uint8_t> bytes) override {
        if (refuse_ == Refuse::kThrowOnWrite) throw std::runtime_error("unexpected");
        return base::FileSteps::Write(file, bytes);
    }
    base::FileError MoveIntoPlace(base::NewFile& file, const std::string& target) override {
        if (refuse_ == Refuse::kMove) return base::FileError::kSharingViolation;
        return base::FileSteps::MoveIntoPlace(file, target);
    }
    // A hold that never ends, without the wait.
    bool WaitForHolder(const std::string&, std::chrono::milliseconds) override { return true; }
    std::vector<std::string> created;

  private:
    Refuse refuse_;
};

// slupdate.tmp and its numbered neighbours are the update's own names: what a killed run left
// under them goes, anything else stays, and a name still taken when the file is created (another
// run holds it) is passed over for the next, never opened.
TEST(DictionaryUpdate, LeftoverTemporariesGoAndTakenNamesAreSkipped) {
    Folder f;
    for (const char* leftover : {"slupdate.tmp", "slupdate1.tmp", "SLUPDATE12.TMP"})
        f.temp.Write(leftover, "half a dictionary");
    for (const char* other : {"slupdate01.tmp", "slupdate.tmp.bak", "slupdatex.tmp", "notes.tmp"})
        f.temp.Write(other, "someone else's");
    RefusingSteps steps(RefusingSteps::Refuse::kTakenNames);
    EXPECT_EQ(f.Run(steps).outcome, DictionaryUpdateOutcome::kReplaced);
    EXPECT_EQ(steps.created, (std::vector<std::string>{"slupdate.tmp", "slupdate1.tmp", "slupdate2.tmp"}));
    EXPECT_EQ(f.temp.Listing(), "notes.tmp\nslupdate.tmp.bak\nslupdate01.tmp\nslupdatex.tmp\nwords.sg\n");
    EXPECT_EQ(f.temp.Read("words.sg"), Small().newText);
    EXPECT_TRUE(IsDictionaryTemporaryName("slupdate7.tmp"));
    EXPECT_FALSE(IsDictionaryTemporaryName("slupdate-1.tmp"));
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
        RefusingSteps::Refuse refuse;
        DictionaryUpdateOutcome outcome;
        base::SafeWriteStep failedStep;  // for kNotWritten
        const char* message;             // as patchkit prints it
    };
    using Refuse = RefusingSteps::Refuse;
    using Outcome = DictionaryUpdateOutcome;
    using Step = base::SafeWriteStep;
    const std::vector<Case> cases = {
        {"script resource missing", "", false, Refuse::kNothing, Outcome::kScriptMissing, Step::kNone,
         "the script resource is missing"},
        {"temporary file not creatable", Small().script, true, Refuse::kCreate, Outcome::kNotWritten, Step::kCreate,
         "the conversion failed: cannot write the converted file: access denied"},
        {"invalid line count", badCount, true, Refuse::kNothing, Outcome::kNotWritten, Step::kProduce,
         "the conversion failed: a line count is not a decimal integer (script line 4)"},
        {"verification fails", wrongResult, true, Refuse::kNothing, Outcome::kNotWritten, Step::kVerify,
         "the converted file does not have the expected size and CRC-32"},
        {"empty script: a plain copy fails verification", "", true, Refuse::kNothing, Outcome::kNotWritten,
         Step::kVerify, "the converted file does not have the expected size and CRC-32"},
        {"the new file cannot be put in place", Small().script, true, Refuse::kMove, Outcome::kNotWritten, Step::kMove,
         "the converted file could not be put in place: held by another program"},
        {"an error is thrown half-way", Small().script, true, Refuse::kThrowOnWrite, Outcome::kUnexpectedError,
         Step::kNone, "an unexpected error stopped the update"},
    };
    for (const Case& c : cases) {
        Folder f(Small().oldText, c.script);
        if (!c.scriptPresent) f.resources = MemoryResources();
        RefusingSteps steps(c.refuse);
        const DictionaryUpdateResult r = f.Run(steps);
        EXPECT_EQ(r.code, DictionaryUpdateCode::kConverted) << c.what;
        EXPECT_EQ(r.outcome, c.outcome) << c.what;
        EXPECT_EQ(r.written.failedStep, c.failedStep) << c.what;
        EXPECT_EQ(Describe(r), c.message) << c.what;
        EXPECT_TRUE(f.temp.Read("words.sg") == Small().oldText) << c.what;
        EXPECT_EQ(f.temp.Listing(), "words.sg\n") << c.what;
    }
}

// A dictionary that could not be replaced once converted (read-only here; on Windows also one
// that another program holds open) fails before the conversion starts, which would take the whole
// file's time for nothing, and says why.
TEST(DictionaryUpdate, ADictionaryThatCannotBeReplacedFailsBeforeItIsConverted) {
    Folder f;
    f.temp.MakeReadOnly("words.sg");
    int progress = -1, pumps = 0;
    const DictionaryUpdateResult r = UpdateDictionary(f.root, kRecord, f.resources, progress, [&] { ++pumps; });
    EXPECT_EQ(r.code, DictionaryUpdateCode::kConverted);
    EXPECT_EQ(r.outcome, DictionaryUpdateOutcome::kNotWritten);
    EXPECT_EQ(r.written.failedStep, base::SafeWriteStep::kMove);
    EXPECT_EQ(r.written.error, base::FileError::kAccessDenied);
    EXPECT_EQ(pumps, 0) << "the dictionary was converted first";
    EXPECT_EQ(f.temp.Read("words.sg"), Small().oldText);
    EXPECT_EQ(f.temp.Listing(), "words.sg\n");
}

TEST(DictionaryUpdate, ARecordThatRenamesTheFileRemovesTheOldNameOnlyOnSuccess) {
    constexpr TPatchSlownikInfo kRename{
        base::ByteSet{6}, {"words.sg", 60'000, 0x0BADF00Du}, {"words2.sg", 61'234, 0xFEEDBEEFu}, "PSLWORDS"};
    Folder f;
    EXPECT_EQ(f.Run(base::SystemFileSteps(), kRename).outcome, DictionaryUpdateOutcome::kReplaced);
    EXPECT_EQ(f.temp.Listing(), "words2.sg\n");
    EXPECT_EQ(f.temp.Read("words2.sg"), Small().newText);
    EXPECT_EQ(f.Run(base::SystemFileSteps(), kRename).code, DictionaryUpdateCode::kAlreadyNew);

    RefusingSteps moveRefused(RefusingSteps::Refuse::kMove);
    Folder g;
    EXPECT_EQ(g.Run(moveRefused, kRename).written.failedStep, base::SafeWriteStep::kMove);
    EXPECT_EQ(g.temp.Listing(), "words.sg\n");
}

// Names that differ only in letter case are one file on Windows, Polish letters included: the
// file just put in place must never be removed as "the old name".
TEST(DictionaryUpdate, ACaseOnlyRenameNeverRemovesTheNewFile) {
    EXPECT_TRUE(localisation::SameNameIgnoringCase("\xA3\xA5KA.SG", "\xB3\xB9ka.sg"));  // Ł Ą / ł ą
    EXPECT_TRUE(localisation::SameNameIgnoringCase("\xBC\x8C.sg", "\xBE\x9C.sg"));      // Ľ Ś / ľ ś
    EXPECT_FALSE(localisation::SameNameIgnoringCase("\xB3.sg", "l.sg"));
}

}  // namespace
}  // namespace updater::patch
