// A run killed at any moment leaves the target either in its old version or in its new one, byte
// for byte, and the next run clears up after it. A child process runs the replacement or the
// dictionary update and ends itself with _exit at the n-th point of its file steps (before and
// after each create, write, flush, move and removal, and half-way through every write); the parent
// checks the target, for every n until a child runs to the end.
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "base/safe_file_write.h"
#include "fixtures/dictionary_fixture.h"
#include "patch/dictionary_update.h"
#include "patch/file_replacement.h"
#include "patch/small_dictionary.h"
#include "patch/small_product.h"
#include "test_support/temp_folder.h"

namespace updater::patch {
namespace {

using test::Bytes;

constexpr int kKilled = 42;
constexpr int kFinished = 0;
constexpr int kFailed = 1;

// The file system, with the process ending at one chosen point.
class DyingSteps : public base::FileSteps {
  public:
    explicit DyingSteps(int dieAt) : dieAt_(dieAt) {}

    base::FileResult<base::NewFile> CreateNew(const base::Folder& folder, const std::string& name) override {
        Point();
        auto file = base::FileSteps::CreateNew(folder, name);
        Point();
        return file;
    }
    base::FileError Write(base::NewFile& file, std::span<const std::uint8_t> bytes) override {
        Point();
        const std::size_t half = bytes.size() / 2;
        if (auto e = base::FileSteps::Write(file, bytes.first(half)); e != base::FileError::kNone) return e;
        Point();
        const base::FileError e = base::FileSteps::Write(file, bytes.subspan(half));
        Point();
        return e;
    }
    base::FileError Flush(base::NewFile& file) override {
        return Around([&] { return base::FileSteps::Flush(file); });
    }
    base::FileError MoveIntoPlace(base::NewFile& file, const std::string& target) override {
        return Around([&] { return base::FileSteps::MoveIntoPlace(file, target); });
    }
    base::FileError Remove(base::NewFile& file) override {
        return Around([&] { return base::FileSteps::Remove(file); });
    }

  private:
    void Point() {
        if (passed_++ == dieAt_) ::_exit(kKilled);
    }
    base::FileError Around(const std::function<base::FileError()>& step) {
        Point();
        const base::FileError e = step();
        Point();
        return e;
    }
    int dieAt_;
    int passed_ = 0;
};

// Runs work in a child that dies at point n; returns how the child ended.
int RunChild(const std::function<bool(base::FileSteps&)>& work, int n) {
    const pid_t child = ::fork();
    if (child == 0) {
        DyingSteps steps(n);
        ::_exit(work(steps) ? kFinished : kFailed);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

// Kills the work at every point in turn. After each kill the target must be old or new and the
// next, undisturbed run must leave it new with nothing else in the folder.
void KillAtEveryPoint(const test::TempFolder& folder, const std::string& name, const std::string& oldContent,
                      const std::string& newContent, const std::function<bool(base::FileSteps&)>& work) {
    int kills = 0;
    for (int n = 0;; ++n) {
        SCOPED_TRACE("killed at point " + std::to_string(n));
        folder.Write(name, oldContent);
        const int ended = RunChild(work, n);
        ASSERT_TRUE(ended == kKilled || ended == kFinished) << "child ended with " << ended;
        const std::string target = folder.Read(name);
        EXPECT_TRUE(target == oldContent || target == newContent) << "a mix of versions";
        if (ended == kFinished) {
            EXPECT_EQ(target, newContent);
            EXPECT_EQ(folder.Listing(), name + "\n");
            break;
        }
        ++kills;
        ASSERT_TRUE(work(base::SystemFileSteps()));
        EXPECT_EQ(folder.Read(name), newContent);
        EXPECT_EQ(folder.Listing(), name + "\n") << "the next run removes what the killed one left";
    }
    // At least: around the creation, around and inside one write, around the flush and the move.
    EXPECT_GE(kills, 9);
}

TEST(KilledWrite, ReplacementLeavesTheOldOrTheNewFile) {
    const test::SmallProduct p;

    test::TempFolder folder;
    const std::string path = folder.Path("Norvak2.exe");
    KillAtEveryPoint(folder, "Norvak2.exe", p.oldContent, p.current,
                     [&](base::FileSteps& steps) { return ReplaceTargetFile(p.row, path, p.resources, steps).ok(); });
}

TEST(KilledWrite, DictionaryUpdateLeavesTheOldOrTheNewFile) {
    const fixtures::DictionaryFixture& fixture = test::SmallDictionary();
    const TPatchSlownikInfo& record = test::kSmallDictionaryRecord;
    MemoryResources resources;
    resources.Add(std::string(record.scriptResource), Bytes(fixture.script));

    test::TempFolder folder;
    const std::string root = folder.Root() + base::PathSeparator();
    KillAtEveryPoint(folder, "words.sg", fixture.oldText, fixture.newText, [&](base::FileSteps& steps) {
        int progress = 0;
        return UpdateDictionary(root, record, resources, progress, nullptr, steps).NewFileInPlace();
    });
}

}  // namespace
}  // namespace updater::patch
