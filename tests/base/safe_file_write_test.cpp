// The safe write against other programs: a virus scanner that holds the new file for a moment,
// a file held for good, and entries of the temporary files' names that someone else planted.
#include "base/safe_file_write.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "test_support/temp_folder.h"

namespace updater::base {
namespace {

std::vector<std::uint8_t> Bytes(std::string_view s) {
    return {s.begin(), s.end()};
}

// The file system, with one step held by "another program" for the first `times` attempts, and
// the pauses between attempts taken note of instead of slept.
class HeldSteps : public FileSteps {
  public:
    enum class Held { kMove, kRemoveAndMove };
    HeldSteps(Held held, int times) : held_(held), times_(times) {}

    FileError MoveIntoPlace(const std::string& source, const std::string& target) override {
        if (moves_++ < times_) return FileError::kSharingViolation;
        return FileSteps::MoveIntoPlace(source, target);
    }
    FileError Remove(const std::string& path) override {
        if (held_ == Held::kRemoveAndMove) return FileError::kSharingViolation;
        return FileSteps::Remove(path);
    }
    bool WaitForHolder(const std::string& path, std::chrono::milliseconds pause) override {
        waitedFor = path;
        if (pauses.size() >= waits) return false;
        pauses.push_back(pause);
        return true;
    }

    std::chrono::milliseconds Waited() const {
        std::chrono::milliseconds sum{0};
        for (auto p : pauses)
            sum += p;
        return sum;
    }
    std::vector<std::chrono::milliseconds> pauses;
    std::size_t waits = 1000;  // pauses granted; the next wait says stop
    std::string waitedFor;

  private:
    Held held_;
    int times_;
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

TEST(HeldFiles, AReadBackThatIsRefusedIsTriedAgain) {
    test::TempFolder folder;
    const std::string target = folder.Write("Quorbel2.exe", "old");
    HeldSteps steps(HeldSteps::Held::kMove, 0);
    int reads = 0;
    SafeWrite how;
    how.produce = [](ByteSink& output) { return output.Write(Bytes("new")) == FileError::kNone; };
    how.verify = [&](const std::string&) {
        return ++reads <= 2 ? ReadBack{FileError::kSharingViolation} : ReadBack{FileError::kNone, true};
    };
    ASSERT_TRUE(WriteFileSafely(target, how, steps).ok());
    EXPECT_EQ(reads, 3);
    EXPECT_EQ(folder.Read("Quorbel2.exe"), "new");
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

    // A waiter that knows the hold will not end (a running program keeps the file) stops at once.
    HeldSteps known(HeldSteps::Held::kMove, 1'000'000);
    known.waits = 1;
    const SafeWriteResult stopped = WriteFileSafely(target, Bytes("new"), known);
    EXPECT_EQ(stopped.failedStep, SafeWriteStep::kMove);
    EXPECT_EQ(stopped.error, FileError::kSharingViolation);
    EXPECT_EQ(known.pauses.size(), 1u);
    EXPECT_EQ(known.waitedFor, target);
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

}  // namespace
}  // namespace updater::base
