// The dictionary update against real Windows file locks: a file another program writes cannot be
// recognised, and a file another program holds open cannot be replaced, and neither loses data.
#include <windows.h>

#include <gtest/gtest.h>

#include <span>
#include <string>
#include <vector>

#include "base/win32/scoped_win.h"
#include "base/win32/system_code_page.h"
#include "fixtures/dictionary_fixture.h"
#include "patch/dictionary_update.h"
#include "test_support/temp_folder.h"

namespace updater::patch {
namespace {

const fixtures::DictionaryFixture& Small() {
    static const fixtures::DictionaryFixture fixture = [] {
        fixtures::DictionaryFixtureShape shape;
        shape.oldSize = 50'000;
        shape.oldCrc = 0x12345678u;
        shape.newSize = 52'000;
        shape.newCrc = 0x87654321u;
        shape.removals = 30;
        shape.seed = 11;
        return *fixtures::GenerateDictionaryFixture(shape);
    }();
    return fixture;
}

constexpr TPatchSlownikInfo kRecord{
    base::ByteSet{6}, {"dravin2.sg", 50'000, 0x12345678u}, {"dravin2.sg", 52'000, 0x87654321u}, "PSLDRAVIN2"};

// Another program's handle on a file, closed at the end of the scope.
base::win32::UniqueHandle OpenAsAnotherProgram(const std::string& path, DWORD access, DWORD share) {
    return base::win32::UniqueHandle(CreateFileW(base::win32::WidenSystem(path).c_str(), access, share, nullptr,
                                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

struct Folder {
    test::TempFolder temp;
    MemoryResources resources;
    std::string root = temp.Root() + base::PathSeparator();
    Folder() {
        temp.Write("dravin2.sg", Small().oldText);
        resources.Add("PSLDRAVIN2", {Small().script.begin(), Small().script.end()});
    }
    DictionaryUpdateResult Run(const TPatchSlownikInfo& record = kRecord) {
        int progress = 0;
        return UpdateDictionary(root, record, resources, progress, nullptr);
    }
};

TEST(DictionaryUpdateWin32, ReplacesTheFileInOneStep) {
    Folder f;
    const auto r = f.Run();
    EXPECT_EQ(r.code, DictionaryUpdateCode::kConverted);
    EXPECT_EQ(r.outcome, DictionaryUpdateOutcome::kReplaced);
    EXPECT_TRUE(f.temp.Read("dravin2.sg") == Small().newText);
    EXPECT_EQ(f.temp.Listing(), "dravin2.sg\n");
    EXPECT_EQ(f.Run().code, DictionaryUpdateCode::kAlreadyNew);
}

TEST(DictionaryUpdateWin32, AFileAnotherProgramWritesOrLocksIsCodeTwo) {
    for (DWORD share : {DWORD{FILE_SHARE_READ}, DWORD{0}}) {
        Folder f;
        {
            const auto writer = OpenAsAnotherProgram(f.temp.Path("dravin2.sg"), GENERIC_READ | GENERIC_WRITE, share);
            ASSERT_TRUE(writer.IsOpen());
            EXPECT_EQ(f.Run().code, DictionaryUpdateCode::kUnknownState) << share;
        }
        EXPECT_TRUE(f.temp.Read("dravin2.sg") == Small().oldText);
        EXPECT_EQ(f.temp.Listing(), "dravin2.sg\n");
    }
}

// A reader that lets others read (and delete) but holds the file open: no file takes its place on
// Windows while it is open. The update says so within about a second, before it converts
// anything, and loses nothing; once the reader has gone, the next run does the update.
TEST(DictionaryUpdateWin32, AFileHeldOpenByAReaderFailsBeforeItIsConverted) {
    for (DWORD share : {DWORD{FILE_SHARE_READ}, DWORD{FILE_SHARE_READ | FILE_SHARE_DELETE}}) {
        Folder f;
        {
            const auto reader = OpenAsAnotherProgram(f.temp.Path("dravin2.sg"), GENERIC_READ, share);
            ASSERT_TRUE(reader.IsOpen());
            int progress = 0, pumps = 0;
            const DWORD start = GetTickCount();
            const auto r = UpdateDictionary(f.root, kRecord, f.resources, progress, [&] { ++pumps; });
            EXPECT_LT(GetTickCount() - start, 2000u) << share;
            EXPECT_EQ(r.code, DictionaryUpdateCode::kConverted);
            EXPECT_EQ(r.outcome, DictionaryUpdateOutcome::kNotWritten);
            EXPECT_EQ(r.written.failedStep, base::SafeWriteStep::kMove);
            EXPECT_EQ(r.written.error, base::FileError::kSharingViolation);
            EXPECT_EQ(pumps, 0) << "converted before it was known that the file cannot be replaced";
        }
        EXPECT_TRUE(f.temp.Read("dravin2.sg") == Small().oldText);
        EXPECT_EQ(f.temp.Listing(), "dravin2.sg\n");
        EXPECT_EQ(f.Run().outcome, DictionaryUpdateOutcome::kReplaced);
        EXPECT_TRUE(f.temp.Read("dravin2.sg") == Small().newText);
    }
}

DWORD WINAPI CloseAfterAMoment(void* handle) {
    Sleep(300);
    CloseHandle(static_cast<HANDLE>(handle));
    return 0;
}

// Opening the dictionary for the conversion waits out another program's brief exclusive hold, as
// every other step of the update does.
TEST(DictionaryUpdateWin32, TheOpenForTheConversionWaitsOutABriefHold) {
    Folder f;
    HANDLE held = CreateFileW(base::win32::WidenSystem(f.temp.Path("dravin2.sg")).c_str(), GENERIC_READ, 0, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    HANDLE releaser = CreateThread(nullptr, 0, CloseAfterAMoment, held, 0, nullptr);
    ASSERT_NE(releaser, nullptr);
    struct Discard : base::ByteSink {
        base::FileError Write(std::span<const std::uint8_t>) override { return base::FileError::kNone; }
    } sink;
    const std::vector<std::string> script;
    int progress = 0;
    const ConvertResult r =
        ConvertDictionary(f.temp.Path("dravin2.sg"), sink, script, progress, nullptr, {}, &base::SystemFileSteps());
    WaitForSingleObject(releaser, INFINITE);
    CloseHandle(releaser);
    EXPECT_TRUE(r.ok()) << Describe(r);
}

// A leftover slupdate.tmp goes, but one that another run still holds open cannot be removed or
// opened: the update passes over it to slupdate1.tmp and leaves it alone.
TEST(DictionaryUpdateWin32, ATemporaryNameHeldByAnotherRunIsPassedOver) {
    Folder f;
    f.temp.Write("slupdate.tmp", "another run's");
    {
        const auto other = OpenAsAnotherProgram(f.temp.Path("slupdate.tmp"), GENERIC_WRITE, 0);
        ASSERT_TRUE(other.IsOpen());
        EXPECT_EQ(f.Run().outcome, DictionaryUpdateOutcome::kReplaced);
    }
    EXPECT_EQ(f.temp.Read("slupdate.tmp"), "another run's");
    EXPECT_EQ(f.temp.Listing(), "dravin2.sg\nslupdate.tmp\n");
    EXPECT_TRUE(f.temp.Read("dravin2.sg") == Small().newText);
}

// A record whose new name differs from the old one only in letter case names the same file on
// Windows: "removing the old name" would remove the file just put in place. With Polish capitals
// this holds only if the names are compared by the Windows-1250 letter set.
TEST(DictionaryUpdateWin32, ACaseOnlyRenameWithPolishLettersKeepsTheNewFile) {
    constexpr TPatchSlownikInfo kRename{base::ByteSet{6},
                                        {"\xA3\xA5KA.SG", 50'000, 0x12345678u},  // "ŁĄKA.SG"
                                        {"\xB3\xB9ka.sg", 52'000, 0x87654321u},  // "łąka.sg"
                                        "PSLDRAVIN2"};
    Folder f;
    f.temp.Write("\xA3\xA5KA.SG", Small().oldText);
    ASSERT_EQ(f.Run(kRename).outcome, DictionaryUpdateOutcome::kReplaced);
    EXPECT_TRUE(f.temp.Read("\xB3\xB9ka.sg") == Small().newText);
}

}  // namespace
}  // namespace updater::patch
