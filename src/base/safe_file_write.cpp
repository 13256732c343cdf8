#include "base/safe_file_write.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

#include "base/path.h"

namespace updater::base {
namespace {

// Writes through the steps and remembers the first failure: a producer may go on writing after
// one, and it must still count.
class StepsOutput final : public ByteSink {
  public:
    StepsOutput(NewFile& file, FileSteps& steps) : file_(file), steps_(steps) {}
    FileError Write(std::span<const std::uint8_t> bytes) override {
        if (error_ != FileError::kNone) return error_;
        error_ = steps_.Write(file_, bytes);
        return error_;
    }
    FileError error() const { return error_; }

  private:
    NewFile& file_;
    FileSteps& steps_;
    FileError error_ = FileError::kNone;
};

// Removes the temporary file through its handle unless it has been moved into place, however the
// scope is left. Nobody else can hold it against that (they may only read it, and a read does not
// keep the removal from happening once they let go).
class TemporaryFile {
  public:
    TemporaryFile(NewFile file, FileSteps& steps) : file_(std::move(file)), steps_(steps) {}
    ~TemporaryFile() {
        if (!committed_) steps_.Remove(file_);
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    NewFile& file() { return file_; }
    void Commit() {
        committed_ = true;
        file_.Content().Close();  // in place and flushed: a failure to close changes nothing
    }

  private:
    NewFile file_;
    FileSteps& steps_;
    bool committed_ = false;
};

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
}

// Whether name (without folder) is a temporary name of TemporaryNameBeside for a target called
// targetName.
bool IsTemporaryNameOf(std::string_view targetName, std::string_view name) {
    constexpr std::size_t kSuffix = 2 + 8 + 4;  // ".~" hex digits ".tmp"
    if (targetName.empty() || name.size() != targetName.size() + kSuffix) return false;
    if (name.substr(0, targetName.size()) != targetName) return false;
    const std::string_view suffix = name.substr(targetName.size());
    return suffix.substr(0, 2) == ".~" && suffix.substr(10) == ".tmp" &&
           std::all_of(suffix.begin() + 2, suffix.begin() + 10, IsHexDigit);
}

// Whether the rest of the file, total bytes long, holds exactly the pieces one after the other,
// read in large blocks.
bool HoldsPieces(File& file, std::size_t total, std::span<const std::span<const std::uint8_t>> pieces) {
    // One byte more than the rest of the file, so that a file that grew is noticed.
    std::vector<std::uint8_t> block(std::min<std::size_t>(total, std::size_t{1} << 20) + 1);
    std::size_t piece = 0;   // the piece the next byte read back belongs to
    std::size_t within = 0;  // and its offset there
    std::size_t done = 0;
    for (;;) {
        auto n = file.Read(block);
        if (!n) return false;
        if (n.value() == 0) return done == total;
        if (n.value() > total - done) return false;
        for (std::span<const std::uint8_t> read = std::span(block).first(n.value()); !read.empty();) {
            while (within == pieces[piece].size()) {
                ++piece;
                within = 0;
            }
            const std::size_t count = std::min(read.size(), pieces[piece].size() - within);
            if (std::memcmp(read.data(), pieces[piece].data() + within, count) != 0) return false;
            read = read.subspan(count);
            within += count;
        }
        done += n.value();
    }
}

// Reads the file back from its first byte and compares it with the pieces.
ReadBack ReadsBackAs(File& file, std::span<const std::span<const std::uint8_t>> pieces) {
    std::size_t total = 0;
    for (const auto& piece : pieces)
        total += piece.size();
    auto size = file.Size();
    if (!size) return {size.error()};
    return {FileError::kNone, size.value() == static_cast<std::int64_t>(total) && HoldsPieces(file, total, pieces)};
}

}  // namespace

FileSteps& SystemFileSteps() {
    static FileSteps steps;
    return steps;
}

std::string TemporaryNameBeside(const std::string& target, unsigned attempt) {
    // Different in every process and every call, so that two writers never pick the same name
    // first; exclusive creation settles any collision that remains.
    static std::atomic<unsigned> counter{0};
    static const unsigned seed = static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count() ^
                                                       std::chrono::system_clock::now().time_since_epoch().count());
    std::array<char, 16> suffix{};
    std::snprintf(suffix.data(), suffix.size(), ".~%08x.tmp", seed + counter.fetch_add(1) * 0x9E3779B1u + attempt);
    return target + suffix.data();
}

void RemoveLeftovers(const std::string& folder, const std::function<bool(std::string_view name)>& isLeftover) {
    auto held = Folder::Open(folder);
    auto names = FileNamesIn(folder);
    if (!held || !names) return;
    for (const std::string& name : names.value()) {
        if (isLeftover(name)) held.value().RemovePlainFile(name);
    }
}

void RemoveLeftoversOf(const std::string& target) {
    const std::string_view name = NameOf(target);
    RemoveLeftovers(FolderHolding(target),
                    [&](std::string_view candidate) { return IsTemporaryNameOf(name, candidate); });
}

std::string Describe(const SafeWriteResult& result) {
    const std::string error(Describe(result.error));
    switch (result.failedStep) {
        case SafeWriteStep::kNone:
            return "written";
        case SafeWriteStep::kCreate:
            return "cannot create the new file beside the target: " + error;
        case SafeWriteStep::kProduce:
            return "the new content could not be produced";
        case SafeWriteStep::kWrite:
            return "cannot write the new file: " + error;
        case SafeWriteStep::kFlush:
            return "cannot flush the new file to disk: " + error;
        case SafeWriteStep::kVerify:
            if (result.error != FileError::kNone) return "cannot read the new file back: " + error;
            return "the new file does not read back as written";
        case SafeWriteStep::kTargetChanged:
            return "the file is no longer the one that was checked (it or a folder on its path was swapped); "
                   "nothing replaced";
        case SafeWriteStep::kMove:
            return "cannot put the new file in place of the target: " + error;
    }
    return "unknown failure";
}

SafeWriteResult WriteFileSafely(const std::string& target, const SafeWrite& how, FileSteps& steps) {
    auto folder = Folder::Open(FolderHolding(target));
    if (!folder) return {SafeWriteStep::kCreate, folder.error()};
    return WriteFileSafely(folder.value(), std::string(NameOf(target)), how, steps);
}

SafeWriteResult WriteFileSafely(const Folder& folder, const std::string& targetName, const SafeWrite& how,
                                FileSteps& steps) {
    FileResult<NewFile> created = FileError::kIo;
    const unsigned attempts = std::max(how.maxAttempts, 1u);
    for (unsigned attempt = 0; attempt < attempts; ++attempt) {
        const std::string name =
            how.temporaryName ? how.temporaryName(targetName, attempt) : TemporaryNameBeside(targetName, attempt);
        created = WhileHeld(steps, folder.PathOf(name), [&] { return steps.CreateNew(folder, name); });
        if (created || created.error() != FileError::kAlreadyExists) break;
    }
    if (!created) return {SafeWriteStep::kCreate, created.error()};

    TemporaryFile temporary(std::move(created).value(), steps);
    StepsOutput output(temporary.file(), steps);
    const bool produced = how.produce ? how.produce(output) : true;
    if (output.error() != FileError::kNone) return {SafeWriteStep::kWrite, output.error()};
    if (!produced) return {SafeWriteStep::kProduce, FileError::kNone};
    if (auto e = steps.Flush(temporary.file()); e != FileError::kNone) return {SafeWriteStep::kFlush, e};

    if (how.verify) {
        File& written = temporary.file().Content();
        if (auto e = written.Seek(0); e != FileError::kNone) return {SafeWriteStep::kVerify, e};
        const ReadBack back = how.verify(written);
        if (back.error != FileError::kNone || !back.matches) return {SafeWriteStep::kVerify, back.error};
    }
    if (how.beforeMove) how.beforeMove();
    // The target's identity is confirmed in the held folder before every attempt, the last moment
    // before the move. A window remains between that look and the rename, in which a program that
    // may write the folder could put another file under the target's name: Windows can make a
    // rename replace a file, but not only a given one, and the target cannot be held open across
    // the rename, which a target open in any way refuses. What such a program gains is the
    // replacement of a file in the folder it may write anyway: the folder is the one held, so no
    // link leads the move anywhere else.
    std::optional<FileError> changed;
    const std::string targetPath = folder.PathOf(targetName);
    const FileError moved = WhileHeld(steps, targetPath, [&] {
        if (how.replaces) {
            const FileResult<FileIdentity> now = folder.IdentityOf(targetName);
            if (!now || now.value() != *how.replaces) {
                changed = now ? FileError::kNone : now.error();
                return FileError::kIo;  // not a hold: no second attempt
            }
        }
        return steps.MoveIntoPlace(temporary.file(), targetName);
    });
    if (changed) return {SafeWriteStep::kTargetChanged, *changed};
    if (moved != FileError::kNone) return {SafeWriteStep::kMove, moved};
    temporary.Commit();
    return {};
}

SafeWriteResult WriteFileSafely(const std::string& target, std::span<const std::uint8_t> content, FileSteps& steps) {
    const std::span<const std::uint8_t> pieces[] = {content};
    return WriteFileSafely(target, pieces, steps);
}

SafeWriteResult WriteFileSafely(const std::string& target, std::span<const std::span<const std::uint8_t>> pieces,
                                FileSteps& steps, const std::optional<FileIdentity>& replaces) {
    SafeWrite how;
    how.produce = [&](ByteSink& output) {
        for (const auto& piece : pieces) {
            if (output.Write(piece) != FileError::kNone) return false;
        }
        return true;
    };
    how.verify = [&](File& written) { return ReadsBackAs(written, pieces); };
    how.replaces = replaces;
    return WriteFileSafely(target, how, steps);
}

}  // namespace updater::base
