#include "patch/dictionary_update.h"

#include <algorithm>
#include <cctype>
#include <limits>
#include <vector>

#include "environment/unique_file_name.h"
#include "localisation/text_helpers.h"
#include "patch/crc32.h"
#include "patch/dictionary_script.h"

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
// when everything cheaper agrees.
StateMatch Matches(const std::string& path, const TPlikInfo& state) {
    if (!base::FileExists(path)) return StateMatch::kNo;
    if (localisation::FileSizeOf(path) != state.size) return StateMatch::kNo;
    auto crc = FileCrc32(path);
    if (!crc) return StateMatch::kUnreadable;
    return crc.value() == state.crc32 ? StateMatch::kYes : StateMatch::kNo;
}

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

}  // namespace

std::span<const TPatchSlownikInfo> DictionaryUpdates() {
    return kDictionaryUpdates;
}

std::string DictionaryTemporaryName(const std::string& folder) {
    return environment::UniqueFileName(folder, "slupdate", "tmp", false);
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

ConvertResult ConvertDictionary(const std::string& source, const std::string& destination,
                                std::span<const std::string> script, int& progress, const MessagePump& pump,
                                LineBufferSizes sizes) {
    progress = 0;
    const std::size_t total = script.size();

    DictionaryLineReader reader(sizes);
    DictionaryLineWriter writer(sizes);
    if (auto e = reader.Open(source); e != base::FileError::kNone) return {ConvertError::kSourceUnreadable, 0, e};
    if (auto e = writer.Open(destination); e != base::FileError::kNone)
        return {ConvertError::kDestinationUnwritable, 0, e};

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
    if (auto e = writer.Close(); e != base::FileError::kNone) return writeFailed(e);
    return {};
}

std::string_view Describe(DictionaryUpdateOutcome outcome) {
    switch (outcome) {
        case DictionaryUpdateOutcome::kReplaced:
            return "converted, verified and put in place";
        case DictionaryUpdateOutcome::kNotAttempted:
            return "no conversion attempted";
        case DictionaryUpdateOutcome::kScriptMissing:
            return "the script resource is missing";
        case DictionaryUpdateOutcome::kConversionFailed:
            return "the conversion failed";
        case DictionaryUpdateOutcome::kVerificationFailed:
            return "the converted file does not have the expected size and CRC-32";
        case DictionaryUpdateOutcome::kReplaceFailed:
            return "the converted file could not be put in place";
    }
    return "unknown outcome";
}

DictionaryUpdateResult UpdateDictionary(const std::string& folder, const TPatchSlownikInfo& record,
                                        const ResourceSource& resources, int& progress, const MessagePump& pump,
                                        const DictionaryUpdateSeams& seams) {
    DictionaryUpdateResult result;
    const std::string newPath = folder + std::string(record.newState.fileName);
    const std::string oldPath = folder + std::string(record.oldState.fileName);

    // A file that cannot be read (locked by another program) is in no state we know.
    switch (Matches(newPath, record.newState)) {
        case StateMatch::kYes:
            result.code = DictionaryUpdateCode::kAlreadyNew;
            return result;
        case StateMatch::kUnreadable:
            return result;
        case StateMatch::kNo:
            break;
    }
    if (Matches(oldPath, record.oldState) != StateMatch::kYes) return result;

    // From here on the code is 1 whatever happens, and the old file stays as it is until a
    // verified new one takes its place.
    result.code = DictionaryUpdateCode::kConverted;
    const std::optional<std::span<const std::uint8_t>> text = resources.Find(record.scriptResource);
    if (!text) {
        result.outcome = DictionaryUpdateOutcome::kScriptMissing;
        return result;
    }
    const std::vector<std::string> script = ScriptLines(*text);
    const std::string temp = seams.temporaryName(folder);

    result.conversion = ConvertDictionary(oldPath, temp, script, progress, pump);
    if (!result.conversion.ok()) {
        result.outcome = DictionaryUpdateOutcome::kConversionFailed;
    } else if (Matches(temp, record.newState) != StateMatch::kYes) {
        result.outcome = DictionaryUpdateOutcome::kVerificationFailed;
    } else {
        if (pump) pump();
        result.fileError = seams.place(temp, newPath);
        if (result.fileError != base::FileError::kNone) {
            result.outcome = DictionaryUpdateOutcome::kReplaceFailed;
        } else {
            result.outcome = DictionaryUpdateOutcome::kReplaced;
            // A record that renames the file: the old one goes once the new one is in place.
            if (!SameNameIgnoringCase(record.oldState.fileName, record.newState.fileName)) base::RemoveFile(oldPath);
        }
    }
    if (base::FileExists(temp)) base::RemoveFile(temp);
    return result;
}

}  // namespace updater::patch
