// The safe write against other programs: a virus scanner that holds the target for a moment, a
// file held for good, a folder swapped for a link elsewhere while the new file is written, and
// entries of the temporary files' names that someone else planted.
#include "base/safe_file_write.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "test_support/temp_folder.h"

namespace updater::base {
namespace {

using test::Bytes;

// The file system, with one step held by "another program" for the first `times` attempts, and
// the pauses between attempts taken note of instead of slept.
class HeldSteps : public FileSteps {
  public:
    enum class Held { kMove, kRemoveAndMove };
    HeldSteps(Held held, int times, int stopAfter = -1) : held_(held), times_(times), stopAfter_(stopAfter) {}

    FileError MoveIntoPlace(NewFile& file, const std::string& target) override {
        if (moves_++ < times_) return FileError::kSharingViolation;
        return FileSteps::MoveIntoPlace(file, target);
    }
    // A removal that fails as a power cut would stop it: the file stays, closed.
    FileError Remove(NewFile& file) override {
        if (held_ != Held::kRemoveAndMove) return FileSteps::Remove(file);
        file.Content().Close();
        return FileError::kIo;
    }
    bool WaitForHolder(const std::string& path, std::chrono::milliseconds pause) override {
        waitedFor = path;
        pauses.push_back(pause);
        return static_cast<int>(pauses.size()) != stopAfter_;
    }

    std::chrono::milliseconds Waited() const {
        std::chrono::milliseconds sum{0};
        for (auto p : pauses)
            sum += p;
        return sum;
    }
    std::vector<std::chrono::milliseconds> pauses;
    std::string waitedFor;

  private:
    Held held_;
    int times_;
    int stopAfter_;
    int moves_ = 0;
};

// --- Another program holds a file for a while ---------------------------------------------

TEST(HeldFiles, ABriefHoldIsWaitedOutWithShortPausesFirst) {
    test::TempFolder folder;
    const std::string target = folder.Write("Quorbel2.exe", "old");
    HeldSteps steps(HeldSteps::Held::kMove, 3);
    ASSERT_TRUE(WriteFileSafely(target, Bytes("new"), steps).ok());
    using std::chrono::milliseconds;
    EXPECT_EQ(steps.pauses, (std::vector<milliseconds>{milliseconds(10), milliseconds(20), milliseconds(40)}));
    EXPECT_EQ(folder.Read("Quorbel2.exe"), "new");
    EXPECT_EQ(folder.Listing(), "Quorbel2.exe\n");
}

// The steps may end the wait (the user gave up, or a running program is known to keep the file):
// the hold then counts as final at once.
TEST(HeldFiles, AWaitTheStepsEndFailsAtOnceAsAHold) {
    test::TempFolder folder;
    const std::string target = folder.Write("Quorbel2.exe", "old");
    HeldSteps steps(HeldSteps::Held::kMove, 1'000'000, 2);
    const SafeWriteResult result = WriteFileSafely(target, Bytes("new"), steps);
    EXPECT_EQ(result.failedStep, SafeWriteStep::kMove);
    EXPECT_EQ(result.error, FileError::kSharingViolation);
    EXPECT_EQ(steps.pauses.size(), 2u);
    EXPECT_EQ(steps.waitedFor, target);
    EXPECT_EQ(folder.Read("Quorbel2.exe"), "old");
    EXPECT_EQ(folder.Listing(), "Quorbel2.exe\n");
}

TEST(HeldFiles, AFileHeldForGoodFailsAfterAFewSecondsNamingTheHolder) {
    test::TempFolder folder;
    const std::string target = folder.Write("Quorbel2.exe", "old");
    HeldSteps steps(HeldSteps::Held::kMove, 1'000'000);
    const SafeWriteResult result = WriteFileSafely(target, Bytes("new"), steps);
    EXPECT_EQ(result.failedStep, SafeWriteStep::kMove);
    EXPECT_EQ(Describe(result.error), "held by another program");
    EXPECT_GE(steps.Waited(), std::chrono::milliseconds(4000));
    EXPECT_LE(steps.Waited(), std::chrono::milliseconds(6000));
    EXPECT_LE(steps.pauses.size(), 20u) << "no pause is longer than half a second, none needlessly short";
    EXPECT_EQ(folder.Read("Quorbel2.exe"), "old");
    EXPECT_EQ(folder.Listing(), "Quorbel2.exe\n");
}

TEST(HeldFiles, WhatIsNotAHoldIsNotWaitedFor) {
    test::TempFolder folder;
    const std::string target = folder.Write("Quorbel2.exe", "old");
    folder.MakeReadOnly("Quorbel2.exe");
    HeldSteps steps(HeldSteps::Held::kMove, 0);
    EXPECT_EQ(WriteFileSafely(target, Bytes("new"), steps).error, FileError::kAccessDenied);
    EXPECT_TRUE(steps.pauses.empty());
}

TEST(HeldFiles, ATemporaryFileThatCannotBeRemovedIsLeftForTheNextCleanUp) {
    test::TempFolder folder;
    const std::string target = folder.Write("Quorbel2.exe", "old");
    HeldSteps steps(HeldSteps::Held::kRemoveAndMove, 1'000'000);
    EXPECT_FALSE(WriteFileSafely(target, Bytes("new"), steps).ok());
    EXPECT_EQ(folder.Read("Quorbel2.exe"), "old");
    std::vector<std::string> names = FileNamesIn(folder.Root()).value();
    ASSERT_EQ(names.size(), 2u);
    RemoveLeftoversOf(target);
    EXPECT_EQ(folder.Listing(), "Quorbel2.exe\n");
    EXPECT_EQ(folder.Read("Quorbel2.exe"), "old");
}

// --- The clean-up removes only its own plain files -------------------------------------------

TEST(Leftovers, OnlyPlainFilesOfTheNameGoNeverWhatALinkLeadsTo) {
    test::TempFolder folder;
    test::TempFolder elsewhere;
    const std::string target = folder.Write("Quorbel2.exe", "program");
    const std::string victim = elsewhere.Write("important.txt", "keep me");
    const std::string linked = elsewhere.Write("linked.txt", "keep me too");
    folder.Write("Quorbel2.exe.~0000000a.tmp", "left by a killed run");
    folder.Write("Quorbel2.exe.~0000000b.tmp", "read-only");
    folder.MakeReadOnly("Quorbel2.exe.~0000000b.tmp");
    std::filesystem::create_directory(folder.Path("Quorbel2.exe.~0000000c.tmp"));
    folder.Write("Quorbel2.exe.~0000000c.tmp/inside", "a folder's content");
    std::error_code error;
    std::filesystem::create_hard_link(linked, folder.Path("Quorbel2.exe.~0000000d.tmp"), error);
    const bool hardLinked = !error;
    std::filesystem::create_symlink(victim, folder.Path("Quorbel2.exe.~0000000e.tmp"), error);
    const bool symlinked = !error;
    if (!hardLinked || !symlinked) std::printf("[   NOTE   ] links cannot be made here; not tested\n");

    RemoveLeftoversOf(target);

    std::string expected = "Quorbel2.exe\nQuorbel2.exe.~0000000b.tmp\nQuorbel2.exe.~0000000c.tmp\n";
    if (hardLinked) expected += "Quorbel2.exe.~0000000d.tmp\n";
    if (symlinked) expected += "Quorbel2.exe.~0000000e.tmp\n";
    EXPECT_EQ(folder.Listing(), expected);
    EXPECT_EQ(folder.Read("Quorbel2.exe"), "program");
    EXPECT_EQ(folder.Read("Quorbel2.exe.~0000000c.tmp/inside"), "a folder's content");
    EXPECT_EQ(elsewhere.Read("important.txt"), "keep me");
    EXPECT_EQ(elsewhere.Read("linked.txt"), "keep me too");
}

// --- The new file is one handle from its creation to its end ----------------------------------

// Another program that may write the install folder's parent: once the new file is written, it
// puts a file of the new file's name into a second folder and points the link on the target's path
// at that folder, then holds the target (or not) so that the move waits or goes ahead. Every step
// is noted with what it was handed.
class SwappingSteps : public FileSteps {
  public:
    SwappingSteps(std::string link, std::string elsewhere, bool holdTarget)
        : link_(std::move(link)), elsewhere_(std::move(elsewhere)), holdTarget_(holdTarget) {}

    FileResult<NewFile> CreateNew(const Folder& folder, const std::string& name) override {
        calls.push_back("create " + name);
        temporaryName = name;
        return FileSteps::CreateNew(folder, name);
    }
    FileError Write(NewFile& file, std::span<const std::uint8_t> bytes) override {
        calls.push_back("write");
        return FileSteps::Write(file, bytes);
    }
    FileError Flush(NewFile& file) override {
        calls.push_back("flush");
        std::FILE* planted = std::fopen((elsewhere_ + "/Lexivo/" + temporaryName).c_str(), "wb");
        if (planted == nullptr) return FileError::kIo;
        std::fputs("keep me", planted);
        std::fclose(planted);
        std::filesystem::remove(link_);
        std::filesystem::create_directory_symlink(elsewhere_, link_);
        return FileSteps::Flush(file);
    }
    FileError MoveIntoPlace(NewFile& file, const std::string& target) override {
        calls.push_back("move over " + target);
        return holdTarget_ ? FileError::kSharingViolation : FileSteps::MoveIntoPlace(file, target);
    }
    FileError Remove(NewFile& file) override {
        calls.push_back("remove");
        return FileSteps::Remove(file);
    }
    bool WaitForHolder(const std::string& path, std::chrono::milliseconds) override {
        calls.push_back("wait for " + path);
        return true;
    }

    std::string temporaryName;
    std::vector<std::string> calls;

  private:
    std::string link_;
    std::string elsewhere_;
    bool holdTarget_;
};

// The link swap after the new file's creation leads nothing elsewhere: the new file is verified,
// moved or removed in the folder that was opened, and the file planted under its name in the other
// folder stays, whether the move goes ahead or waits in vain for the held target.
TEST(HeldNewFile, AFolderSwappedForALinkElsewhereLeadsNothingThere) {
    for (const bool holdTarget : {false, true}) {
        SCOPED_TRACE(holdTarget ? "target held" : "target free");
        test::TempFolder root;
        const std::string real = root.Path("real");
        const std::string other = root.Path("other");
        const std::string link = root.Path("link");
        std::filesystem::create_directories(real + "/Lexivo");
        std::filesystem::create_directories(other + "/Lexivo");
        std::error_code error;
        std::filesystem::create_directory_symlink(real, link, error);
        if (error) {
            std::printf("[   NOTE   ] links to folders cannot be made here; not tested\n");
            return;
        }
        root.Write("real/Lexivo/Quorbel2.exe", "old");
        root.Write("other/Lexivo/Quorbel2.exe", "another program's");
        const std::string target = link + "/Lexivo/Quorbel2.exe";
        const FileIdentity checked = IdentityOf(target).value();

        SwappingSteps steps(link, other, holdTarget);
        const std::vector<std::uint8_t> content = Bytes("new");
        const std::span<const std::uint8_t> pieces[] = {content};
        const SafeWriteResult result = WriteFileSafely(target, pieces, steps, checked);

        EXPECT_EQ(result.failedStep, holdTarget ? SafeWriteStep::kMove : SafeWriteStep::kNone) << Describe(result);
        EXPECT_EQ(root.Read("real/Lexivo/Quorbel2.exe"), holdTarget ? "old" : "new");
        EXPECT_EQ(root.Read("other/Lexivo/" + steps.temporaryName), "keep me");
        EXPECT_EQ(root.Read("other/Lexivo/Quorbel2.exe"), "another program's");
        EXPECT_EQ(root.Listing(), "link\nother\nreal\n");
        EXPECT_EQ(FileNamesIn(real + "/Lexivo").value(), std::vector<std::string>{"Quorbel2.exe"});
        // Only the creation is told the new file's name; every later step is handed the file.
        ASSERT_FALSE(steps.calls.empty());
        EXPECT_EQ(steps.calls.front(), "create " + steps.temporaryName);
        for (std::size_t i = 1; i < steps.calls.size(); ++i)
            EXPECT_EQ(steps.calls[i].find(steps.temporaryName), std::string::npos) << steps.calls[i];
        EXPECT_EQ(steps.calls.back(), holdTarget ? "remove" : "move over Quorbel2.exe");
    }
}

}  // namespace
}  // namespace updater::base
