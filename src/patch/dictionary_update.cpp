#include "patch/dictionary_update.h"

#include <algorithm>
#include <chrono>
#include <limits>
#include <optional>
#include <vector>

#include "localisation/text_helpers.h"
#include "patch/crc32.h"
#include "patch/dictionary_script.h"
#include "patch/replaceable.h"

namespace updater::patch {
namespace {

constexpr TPatchSlownikInfo kDictionaryUpdates[] = {
    {base::ByteSet{6}, {"dravin2.sg", 20'856'322, 0x134A6078u}, {"dravin2.sg", 20'908'583, 0x301F4AC5u}, "PSLDRAVIN2"},
};

// 100 × done / total, rounded to the nearest integer, halves to even.
int Percent(std::size_t done, std::size_t total) {
    const std::uint64_t scaled = 100u * static_cast<std::uint64_t>(done);
    std::uint64_t quotient = scaled / total;
    const std::uint64_t twiceRemainder = 2 * (scaled % total);
    if (twiceRemainder > total || (twiceRemainder == total && quotient % 2 == 1)) ++quotient;
    return static_cast<int>(quotient);
}

enum class StateMatch : std::uint8_t { kYes, kNo, kUnreadable };

// Existence, then size, then CRC-32, in that order: the checksum of a 20 MB file is read only
// when everything cheaper agrees. identity, when asked for, is that of the file whose checksum was
// read: the one file that may later be replaced or removed.
StateMatch Matches(const std::string& path, const TPlikInfo& state,
                   std::optional<base::FileIdentity>* identity = nullptr) {
    if (!base::FileExists(path)) return StateMatch::kNo;
    if (base::FileSizeOf(path) != state.size) return StateMatch::kNo;
    auto file = base::File::OpenForReading(path, base::ReadShare::kDenyWriters);
    if (!file) return StateMatch::kUnreadable;
    auto crc = FileCrc32(file.value());
    if (!crc) return StateMatch::kUnreadable;
    if (identity != nullptr) {
        const auto id = file.value().Identity();
        if (!id) return StateMatch::kUnreadable;
        *identity = id.value();
    }
    return crc.value() == state.crc32 ? StateMatch::kYes : StateMatch::kNo;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The temporary file's name for an attempt (IsDictionaryTemporaryName).
std::string TemporaryName(unsigned attempt) {
    return std::string("slupdate").append(attempt == 0 ? std::string() : std::to_string(attempt)).append(".tmp");
}

}  // namespace

std::span<const TPatchSlownikInfo> DictionaryUpdates() {
    return kDictionaryUpdates;
}

const TPatchSlownikInfo* DictionaryRecordFor(std::int32_t appId) {
    for (const TPatchSlownikInfo& record : kDictionaryUpdates) {
        if (record.products.Contains(appId)) return &record;
    }
    return nullptr;
}

bool IsDictionaryTemporaryName(std::string_view name) {
    constexpr std::string_view kStem = "slupdate";
    constexpr std::string_view kExtension = ".tmp";
    if (name.size() < kStem.size() + kExtension.size()) return false;
    if (localisation::LowerText(name.substr(0, kStem.size())) != kStem) return false;
    if (localisation::LowerText(name.substr(name.size() - kExtension.size())) != kExtension) return false;
    const std::string_view number = name.substr(kStem.size(), name.size() - kStem.size() - kExtension.size());
    return number.empty() || (number.front() != '0' && std::all_of(number.begin(), number.end(), IsDigit));
}

std::string Describe(const ConvertResult& result) {
    const std::string line = " (script line " + std::to_string(result.scriptLine + 1) + ")";
    switch (result.error) {
        case ConvertError::kNone:
            return "converted";
        case ConvertError::kSourceUnreadable:
            return "cannot read the old file: " + std::string(base::Describe(result.fileError));
        case ConvertError::kDestinationUnwritable:
            return "cannot write the converted file: " + std::string(base::Describe(result.fileError));
        case ConvertError::kBadLineCount:
            return "a line count is not a decimal integer" + line;
        case ConvertError::kTruncatedScript:
            return "the script ends inside a command" + line;
    }
    return "unknown error";
}

ConvertResult ConvertDictionary(const std::string& source, base::ByteSink& destination,
                                std::span<const std::string> script, int& progress, const MessagePump& pump,
                                LineBufferSizes sizes, base::FileSteps* openSteps) {
    progress = 0;
    const std::size_t total = script.size();

    DictionaryLineReader reader(sizes);
    DictionaryLineWriter writer(destination, sizes);
    const auto open = [&] { return reader.Open(source); };
    if (auto e = openSteps ? base::WhileHeld(*openSteps, source, open) : open(); e != base::FileError::kNone)
        return {ConvertError::kSourceUnreadable, 0, e};

    std::string_view line;
    auto readFailed = [](base::FileError e) { return ConvertResult{ConvertError::kSourceUnreadable, 0, e}; };
    auto writeFailed = [](base::FileError e) { return ConvertResult{ConvertError::kDestinationUnwritable, 0, e}; };

    std::int64_t written = 0;  // 64 bits: an insertion after N = 2^31 - 1 must not wrap
    std::size_t s = 0;
    while (s < total) {
        const std::string& command = script[s];
        if (s + 1 >= total) return {ConvertError::kTruncatedScript, s};
        const std::optional<std::int32_t> n = ParseLineCount(script[s + 1]);
        if (!n) return {ConvertError::kBadLineCount, s + 1};
        s += 2;

        if (written < *n) {
            // Stops early at the end of the source: the counting goes on without input, with
            // nothing more to write.
            const LineCopy copy = reader.CopyLinesTo(writer, *n - written);
            if (copy.readError != base::FileError::kNone) return readFailed(copy.readError);
            if (copy.writeError != base::FileError::kNone) return writeFailed(copy.writeError);
            written = *n;
        }
        if (command == kInsertCommand) {
            if (s >= total) return {ConvertError::kTruncatedScript, s - 2};
            if (auto e = writer.WriteLine(script[s]); e != base::FileError::kNone) return writeFailed(e);
            ++s;
            ++written;
        } else if (command == kRemoveCommand) {
            if (!reader.AtEnd()) {
                if (auto e = reader.ReadLine(line); e != base::FileError::kNone) return readFailed(e);
            }
        }
        progress = Percent(s, total);
        if (pump) pump();
    }
    const LineCopy rest = reader.CopyLinesTo(writer, std::numeric_limits<std::int64_t>::max());
    if (rest.readError != base::FileError::kNone) return readFailed(rest.readError);
    if (rest.writeError != base::FileError::kNone) return writeFailed(rest.writeError);
    reader.Close();
    if (auto e = writer.Finish(); e != base::FileError::kNone) return writeFailed(e);
    return {};
}

ConvertResult ConvertDictionary(const std::string& source, const std::string& destination,
                                std::span<const std::string> script, int& progress, const MessagePump& pump,
                                LineBufferSizes sizes) {
    ConvertResult result;
    base::SafeWrite how;
    how.produce = [&](base::ByteSink& output) {
        result = ConvertDictionary(source, output, script, progress, pump, sizes);
        return result.ok();
    };
    const base::SafeWriteResult written = base::WriteFileSafely(destination, how);
    if (!written.ok() && result.ok()) result = {ConvertError::kDestinationUnwritable, 0, written.error};
    return result;
}

std::string Describe(const DictionaryUpdateResult& result) {
    switch (result.outcome) {
        case DictionaryUpdateOutcome::kReplaced:
            return "converted, verified and put in place";
        case DictionaryUpdateOutcome::kNotAttempted:
            return "no conversion attempted";
        case DictionaryUpdateOutcome::kScriptMissing:
            return "the script resource is missing";
        case DictionaryUpdateOutcome::kNotWritten:
            break;
        case DictionaryUpdateOutcome::kUnexpectedError:
            return "an unexpected error stopped the update";
    }
    const std::string error(base::Describe(result.written.error));
    switch (result.written.failedStep) {
        case base::SafeWriteStep::kProduce:
            return "the conversion failed: " + Describe(result.conversion);
        case base::SafeWriteStep::kNone:
        case base::SafeWriteStep::kCreate:
        case base::SafeWriteStep::kWrite:
        case base::SafeWriteStep::kFlush:
            return "the conversion failed: cannot write the converted file: " + error;
        case base::SafeWriteStep::kVerify:
            return "the converted file does not have the expected size and CRC-32";
        case base::SafeWriteStep::kTargetChanged:
        case base::SafeWriteStep::kMove:
            return "the converted file could not be put in place: " + error;
    }
    return "unknown outcome";
}

namespace {

// Whether the file that the converted one will replace can be replaced, asked before 20 MB are
// converted for nothing: a read-only file fails at once, a held one once a brief hold (a scanner's)
// would have ended, after about a second, or at once where the holder is known to keep it.
base::FileError WaitUntilReplaceable(const std::string& path, base::FileSteps& steps) {
    constexpr std::chrono::milliseconds kPatience{1000};
    base::FileError e = CheckReplaceable(path);
    std::chrono::milliseconds waited{0};
    for (std::chrono::milliseconds pause = base::kFirstHeldPause;
         e == base::FileError::kSharingViolation && waited < kPatience; pause *= 2) {
        pause = std::min(pause, kPatience - waited);
        if (!steps.WaitForHolder(path, pause)) break;
        waited += pause;
        e = CheckReplaceable(path);
    }
    return e;
}

// Brings the file from the old state to the new one once the old state has been recognised in the
// file of identity checked.
void ConvertAndReplace(const std::string& folder, const TPatchSlownikInfo& record, const ResourceSource& resources,
                       int& progress, const MessagePump& pump, base::FileSteps& steps,
                       const base::FileIdentity& checked, DictionaryUpdateResult& result) {
    const std::optional<std::span<const std::uint8_t>> text = resources.Find(record.scriptResource);
    if (!text) {
        result.outcome = DictionaryUpdateOutcome::kScriptMissing;
        return;
    }
    const std::vector<std::string> script = ScriptLines(*text);
    const std::string oldPath = folder + std::string(record.oldState.fileName);
    const std::string newPath = folder + std::string(record.newState.fileName);
    if (base::FileExists(newPath)) {
        if (const base::FileError e = WaitUntilReplaceable(newPath, steps); e != base::FileError::kNone) {
            result.outcome = DictionaryUpdateOutcome::kNotWritten;
            result.written = {base::SafeWriteStep::kMove, e};
            return;
        }
    }

    // The folder is held from here on: the new file is created, moved and, on a failure, removed
    // in it, and the old one removed from it, whatever its path leads to meanwhile.
    auto held = base::Folder::Open(base::FolderHolding(newPath));
    if (!held) {
        result.written = {base::SafeWriteStep::kCreate, held.error()};
        result.outcome = DictionaryUpdateOutcome::kNotWritten;
        return;
    }
    // Names that differ only in letter case may name one file: on Windows they do when the
    // system's code page has those letters as a pair (Polish ones on a Polish system, not on a
    // Western one), and on most other systems never. The file system, asked in the held folder, decides.
    const auto atNewName = held.value().IdentityOf(record.newState.fileName);
    const bool renamed = !localisation::SameNameIgnoringCase(record.oldState.fileName, record.newState.fileName) ||
                         !atNewName || atNewName.value() != checked;

    base::SafeWrite how;
    how.temporaryName = [](const std::string&, unsigned attempt) { return TemporaryName(attempt); };
    how.maxAttempts = 1000;
    how.produce = [&](base::ByteSink& output) {
        result.conversion = ConvertDictionary(oldPath, output, script, progress, pump, {}, &steps);
        return result.conversion.ok();
    };
    how.verify = [&](base::File& written) -> base::ReadBack {
        const auto size = written.Size();
        if (!size) return {size.error()};
        if (size.value() != record.newState.size) return {};
        const auto crc = FileCrc32(written);
        if (!crc) return {crc.error()};
        return {base::FileError::kNone, crc.value() == record.newState.crc32};
    };
    how.beforeMove = [&] {
        if (pump) pump();
    };
    // The file that was recognised is the one replaced (a record that renames it leaves whatever
    // has the new name to be replaced).
    if (!renamed) how.replaces = checked;
    result.written = base::WriteFileSafely(held.value(), std::string(record.newState.fileName), how, steps);
    if (!result.written.ok()) {
        result.outcome = DictionaryUpdateOutcome::kNotWritten;
        return;
    }
    result.outcome = DictionaryUpdateOutcome::kReplaced;
    // A record that renames the file: the old one goes once the new one is in place, and only the
    // file that was recognised.
    if (renamed) held.value().RemovePlainFile(record.oldState.fileName, checked);
}

}  // namespace

DictionaryUpdateResult UpdateDictionary(const std::string& folder, const TPatchSlownikInfo& record,
                                        const ResourceSource& resources, int& progress, const MessagePump& pump,
                                        base::FileSteps& steps) {
    DictionaryUpdateResult result;
    try {
        base::RemoveLeftovers(folder.empty() ? std::string(".") : folder, IsDictionaryTemporaryName);

        // A file that cannot be read (locked by another program) is in no state we know.
        switch (Matches(folder + std::string(record.newState.fileName), record.newState)) {
            case StateMatch::kYes:
                result.code = DictionaryUpdateCode::kAlreadyNew;
                return result;
            case StateMatch::kUnreadable:
                return result;
            case StateMatch::kNo:
                break;
        }
        std::optional<base::FileIdentity> checked;
        if (Matches(folder + std::string(record.oldState.fileName), record.oldState, &checked) != StateMatch::kYes ||
            !checked)
            return result;

        // From here on the code is 1 whatever happens, and the old file stays as it is until a
        // verified new one takes its place.
        result.code = DictionaryUpdateCode::kConverted;
        ConvertAndReplace(folder, record, resources, progress, pump, steps, *checked, result);
    } catch (...) {
        // The safe write has removed its temporary file on the way out; the old file is untouched.
        if (result.code == DictionaryUpdateCode::kConverted) result.outcome = DictionaryUpdateOutcome::kUnexpectedError;
    }
    return result;
}

}  // namespace updater::patch
