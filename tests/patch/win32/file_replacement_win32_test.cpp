// The state check and the replacement against real Windows files: share modes, read-only
// attributes, files held open by another handle, folders that refuse new files, paths outside
// ASCII. Run under Wine.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "base/file_system.h"
#include "base/safe_file_write.h"
#include "base/win32/scoped_win.h"
#include "base/win32/system_code_page.h"
#include "fixtures/quorbel_fixture.h"
#include "patch/crc32.h"
#include "patch/file_replacement.h"
#include "patch/file_state.h"
#include "test_support/temp_folder.h"
#include "test_support/win32/held_file.h"

namespace updater::patch {
namespace {

using base::win32::UniqueHandle;

const std::vector<std::uint8_t>& OldQuorbel() {
    static const std::vector<std::uint8_t> bytes = fixtures::MakeQuorbelOld();
    return bytes;
}

// What the updater does for a file index of this build: its catalogue row, the program's payloads.
bool ReplaceFromThisProgram(int index, const std::string& path) {
    return ReplaceTargetFile(CatalogueRow(index), path, ProgramResources()).ok();
}

std::uint32_t CrcOf(const std::string& path) {
    const auto crc = FileCrc32(path);
    return crc ? crc.value() : 0;
}

std::vector<std::uint8_t> ReadAll(const std::wstring& path) {
    std::vector<std::uint8_t> bytes;
    const UniqueHandle file(
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    std::uint8_t block[65536];
    DWORD got = 0;
    while (file.IsOpen() && ReadFile(file.Get(), block, sizeof block, &got, nullptr) && got > 0)
        bytes.insert(bytes.end(), block, block + got);
    return bytes;
}

// Names in a folder, read with the wide API so that any name lists.
std::vector<std::wstring> Names(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    const base::win32::FindHandle find(FindFirstFileW((folder + L"\\*").c_str(), &data));
    if (!find.IsOpen()) return names;
    do {
        const std::wstring name = data.cFileName;
        if (name != L"." && name != L"..") names.push_back(name);
    } while (FindNextFileW(find.Get(), &data));
    std::sort(names.begin(), names.end());
    return names;
}

bool WriteAll(const std::wstring& path, std::span<const std::uint8_t> bytes) {
    const UniqueHandle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file.IsOpen() && WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

class FileReplacementWin32 : public ::testing::Test {
  protected:
    void SetUp() override {
        path_ = folder_.Path("Quorbel2.exe");
        ASSERT_TRUE(WriteAll(Wide(path_), OldQuorbel()));
    }
    static std::wstring Wide(const std::string& path) { return base::win32::WidenSystem(path); }
    void ExpectOldIntact() {
        EXPECT_TRUE(ReadAll(Wide(path_)) == OldQuorbel()) << "the old file must be unchanged";
        EXPECT_EQ(Names(Wide(folder_.Root())), std::vector<std::wstring>{L"Quorbel2.exe"})
            << "no temporary file may be left behind";
    }

    test::TempFolder folder_;
    std::string path_;
};

TEST_F(FileReplacementWin32, AFileSomeoneIsWritingCannotBeChecked) {
    {
        test::HeldFile writer(path_, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE);
        ASSERT_TRUE(writer.IsOpen());
        EXPECT_EQ(CheckFileState(34, path_), FileState::kError);
    }
    // Readers who let others read do not disturb the check.
    test::HeldFile reader(path_, GENERIC_READ, FILE_SHARE_READ);
    ASSERT_TRUE(reader.IsOpen());
    EXPECT_EQ(CheckFileState(34, path_), FileState::kOld);
}

TEST_F(FileReplacementWin32, ATargetHeldOpenWithoutSharingStays) {
    test::HeldFile program(path_, GENERIC_READ, 0);
    ASSERT_TRUE(program.IsOpen());
    const auto outcome = ReplaceTargetFile(CatalogueRow(34), path_, ProgramResources());
    EXPECT_EQ(outcome.written.failedStep, base::SafeWriteStep::kMove) << Describe(outcome);
    EXPECT_EQ(Describe(outcome), "cannot put the new file in place of the target: held by another program");
    program.Close();
    ExpectOldIntact();
}

// A scanner that opens the target for a moment delays the move into place; it does not fail it.
TEST_F(FileReplacementWin32, TheMoveIntoPlaceWaitsOutABriefLock) {
    test::HeldFile scanner(path_, GENERIC_READ, 0);
    ASSERT_TRUE(scanner.IsOpen());
    const DWORD start = GetTickCount();
    std::thread release([&scanner] {
        Sleep(150);
        scanner.Close();
    });
    const std::vector<std::uint8_t> content = {'n', 'e', 'w'};
    const base::SafeWriteResult result = base::WriteFileSafely(path_, content);
    release.join();
    EXPECT_TRUE(result.ok()) << base::Describe(result.error);
    EXPECT_GE(GetTickCount() - start, 100u) << "the first attempt met the lock";
    EXPECT_EQ(folder_.Read("Quorbel2.exe"), "new");
    EXPECT_EQ(Names(Wide(folder_.Root())), std::vector<std::wstring>{L"Quorbel2.exe"});
}

// While the updater holds the new file, a scanner may read it, sharing everything, and nothing
// else: the exclusive open and the one that would let others write but not remove it are refused.
// A scanner that reads the new file does not hold up the move; one that holds the target delays
// it. Neither fails the replacement.
TEST_F(FileReplacementWin32, AScannerReadingTheNewFileOrHoldingTheTargetDoesNotFailTheReplacement) {
    for (const bool holdsTarget : {false, true}) {
        SCOPED_TRACE(holdsTarget ? "holds the target" : "reads the new file");
        ASSERT_TRUE(WriteAll(Wide(path_), OldQuorbel()));
        class ScanningSteps : public base::FileSteps {
          public:
            ScanningSteps(bool holdsTarget, std::string target)
                : holdsTarget_(holdsTarget), target_(std::move(target)) {}
            ~ScanningSteps() override {
                if (release_.joinable()) release_.join();
            }
            base::FileError Flush(base::NewFile& file) override {
                const base::FileError e = base::FileSteps::Flush(file);
                EXPECT_FALSE(test::HeldFile(temporary_, GENERIC_READ, 0).IsOpen());
                EXPECT_FALSE(test::HeldFile(temporary_, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE).IsOpen());
                EXPECT_FALSE(
                    test::HeldFile(temporary_, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE)
                        .IsOpen());
                scanner_ = holdsTarget_
                               ? std::make_unique<test::HeldFile>(target_, GENERIC_READ, 0)
                               : std::make_unique<test::HeldFile>(
                                     temporary_, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
                EXPECT_TRUE(scanner_->IsOpen());
                release_ = std::thread([this] {
                    Sleep(holdsTarget_ ? 300 : 1500);
                    scanner_->Close();
                });
                return e;
            }
            base::FileResult<base::NewFile> CreateNew(const base::Folder& folder, const std::string& name) override {
                temporary_ = folder.PathOf(name);
                return base::FileSteps::CreateNew(folder, name);
            }

          private:
            bool holdsTarget_;
            std::string target_;
            std::string temporary_;
            std::unique_ptr<test::HeldFile> scanner_;
            std::thread release_;
        } scanning(holdsTarget, path_);
        const DWORD start = GetTickCount();
        const auto outcome = ReplaceTargetFile(CatalogueRow(34), path_, ProgramResources(), scanning);
        EXPECT_TRUE(outcome.ok()) << Describe(outcome);
        if (!holdsTarget) {
            EXPECT_LT(GetTickCount() - start, 1000u) << "the reading scanner held up the move";
        }
        EXPECT_EQ(CrcOf(path_), 0xF4F34DB0u);
        EXPECT_EQ(Names(Wide(folder_.Root())), std::vector<std::wstring>{L"Quorbel2.exe"});
    }
}

TEST_F(FileReplacementWin32, ATargetInUseThatLetsOthersReadStays) {
    // How a running program's file is usually held: readable, but neither writable nor deletable.
    test::HeldFile program(path_, GENERIC_READ, FILE_SHARE_READ);
    ASSERT_TRUE(program.IsOpen());
    EXPECT_FALSE(ReplaceFromThisProgram(34, path_));
    program.Close();
    ExpectOldIntact();
}

TEST_F(FileReplacementWin32, AFolderThatRefusesNewFilesFails) {
    // A read-only attribute on a folder does not stop Windows from creating files in it (it is a
    // hint for the shell), and under Wine run as root the Unix permissions do not either. A
    // "folder" that is really a file refuses every new name on every platform.
    const std::string notAFolder = folder_.Path("Quorbel2.exe") + "\\Quorbel2.exe";
    EXPECT_FALSE(ReplaceFromThisProgram(34, notAFolder));
    ExpectOldIntact();

    const std::wstring sub = Wide(folder_.Path("locked"));
    ASSERT_TRUE(CreateDirectoryW(sub.c_str(), nullptr));
    ASSERT_TRUE(SetFileAttributesW(sub.c_str(), FILE_ATTRIBUTE_READONLY));
    const std::wstring probe = sub + L"\\probe";
    UniqueHandle probed(CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    const bool refusesNewFiles = !probed.IsOpen();
    if (!refusesNewFiles) {
        std::printf("[   NOTE   ] a read-only folder still takes new files here; only the leftovers are checked\n");
        probed.Close();
        DeleteFileW(probe.c_str());
    }
    const std::string target = folder_.Path("locked") + "\\Quorbel2.exe";
    ASSERT_TRUE(WriteAll(Wide(target), OldQuorbel()) || refusesNewFiles);
    const bool replaced = ReplaceFromThisProgram(34, target);
    if (refusesNewFiles) {
        EXPECT_FALSE(replaced);
    }
    EXPECT_EQ(Names(sub).size(), refusesNewFiles ? 0u : 1u) << "no temporary file may be left behind";
    SetFileAttributesW(sub.c_str(), FILE_ATTRIBUTE_DIRECTORY);
}

TEST_F(FileReplacementWin32, AResourceMissingFromTheProgramFails) {
    // File index 27 names payloads this program does not carry.
    EXPECT_FALSE(ReplaceFromThisProgram(27, path_));
    ExpectOldIntact();
}

// A folder named the way a Polish installation names it. The path reaches the engine as 8-bit
// system-code-page bytes; Polish letters survive only where that code page has them (1250 on a
// Polish system), so the Polish name is tested there and a name with letters that 1250 and 1252
// share is tested on both.
TEST(WindowsPathsWin32, FoldersWithLettersBeyondAsciiWork) {
    test::TempFolder folder;
    int tested = 0;
    for (const std::wstring& name : {std::wstring(L"S\u0142owniki Norvak"), std::wstring(L"W\u00f6rterb\u00fccher")}) {
        const std::wstring wideFolder = base::win32::WidenSystem(folder.Root()) + L"\\" + name;
        const std::string narrowFolder = base::win32::NarrowSystem(wideFolder);
        if (base::win32::WidenSystem(narrowFolder) != wideFolder) {
            std::printf("[   NOTE   ] code page %u cannot hold \"%s\"; skipped\n", GetACP(),
                        base::win32::NarrowUtf8(name).c_str());
            continue;
        }
        ASSERT_TRUE(CreateDirectoryW(wideFolder.c_str(), nullptr))
            << "error " << GetLastError() << " in code page " << GetACP() << " for " << narrowFolder;
        const std::string path = narrowFolder + "\\Quorbel2.exe";
        ASSERT_TRUE(WriteAll(wideFolder + L"\\Quorbel2.exe", OldQuorbel()));
        EXPECT_EQ(CheckFileState(34, path), FileState::kOld);
        EXPECT_TRUE(ReplaceFromThisProgram(34, path));
        EXPECT_EQ(CrcOf(path), 0xF4F34DB0u);
        EXPECT_EQ(CheckFileState(34, path), FileState::kCurrent);
        EXPECT_EQ(Names(wideFolder), std::vector<std::wstring>{L"Quorbel2.exe"});
        ++tested;
    }
    EXPECT_EQ(tested, GetACP() == 1250 ? 2 : 1) << "code page " << GetACP();
}

}  // namespace
}  // namespace updater::patch
