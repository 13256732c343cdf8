#pragma once
// The scripted update of the product's large dictionary data file: the old file is converted line
// by line into a temporary file beside it, the result is checked against the size and CRC-32 of
// the new state, and only a file that passes replaces the old one, in one atomic step.

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "base/byte_set.h"
#include "base/file_system.h"
#include "base/safe_file_write.h"
#include "patch/dictionary_lines.h"
#include "patch/resource_source.h"

namespace updater::patch {

// One expected state of a file.
struct TPlikInfo {
    std::string_view fileName;  // inside the product folder
    std::int32_t size = 0;
    std::uint32_t crc32 = 0;
};

// One dictionary update: for which products, from which state to which, with which script.
struct TPatchSlownikInfo {
    base::ByteSet products;
    TPlikInfo oldState;
    TPlikInfo newState;
    std::string_view scriptResource;  // an RCDATA resource of the program
};

// The dictionary update catalogue of this build.
std::span<const TPatchSlownikInfo> DictionaryUpdates();
// The record of that catalogue that applies to a product; null when none does.
const TPatchSlownikInfo* DictionaryRecordFor(std::int32_t appId);

// Lets pending window messages through, so that the main window's timer can show the progress
// percentage; does nothing in tools.
using MessagePump = std::function<void()>;

enum class ConvertError : std::uint8_t {
    kNone,
    kSourceUnreadable,
    kDestinationUnwritable,
    kBadLineCount,     // a line where N belongs is not a decimal integer
    kTruncatedScript,  // the script ends inside a command
};

struct ConvertResult {
    ConvertError error = ConvertError::kNone;
    std::size_t scriptLine = 0;  // 0-based line of the script where a script error was found
    base::FileError fileError = base::FileError::kNone;
    bool ok() const { return error == ConvertError::kNone; }
};

std::string Describe(const ConvertResult& result);

// Applies the script to the source and writes the result to destination. progress goes from 0 to
// 100 (100 × commands' lines done / script lines, halves to even); pump runs after every command.
// With openSteps, opening the source waits out another program's brief hold (base::WhileHeld).
ConvertResult ConvertDictionary(const std::string& source, base::ByteSink& destination,
                                std::span<const std::string> script, int& progress, const MessagePump& pump,
                                LineBufferSizes sizes = {}, base::FileSteps* openSteps = nullptr);
// The same into a file, written safely: a failure leaves the file at destination as it was.
ConvertResult ConvertDictionary(const std::string& source, const std::string& destination,
                                std::span<const std::string> script, int& progress, const MessagePump& pump,
                                LineBufferSizes sizes = {});

enum class DictionaryUpdateCode : std::uint8_t {
    kAlreadyNew = 0,    // the file is in the new state; nothing was written
    kConverted = 1,     // the file was in the old state and the conversion was attempted
    kUnknownState = 2,  // neither state, a missing file, or a file that could not be read
};

// What became of an attempted conversion (code 1); the code itself does not tell.
enum class DictionaryUpdateOutcome : std::uint8_t {
    kReplaced,
    kNotAttempted,  // code 0 or 2
    kScriptMissing,
    kNotWritten,       // the safe write of the converted file failed: written says at which step
    kUnexpectedError,  // something threw (out of memory, say); nothing was changed
};

struct DictionaryUpdateResult {
    DictionaryUpdateCode code = DictionaryUpdateCode::kUnknownState;
    DictionaryUpdateOutcome outcome = DictionaryUpdateOutcome::kNotAttempted;
    base::SafeWriteResult written;  // for kNotWritten
    ConvertResult conversion;       // for kNotWritten at the step that produces the content

    // Whether the file is now in the new state: already so, or converted and put in place.
    bool NewFileInPlace() const {
        return code == DictionaryUpdateCode::kAlreadyNew || outcome == DictionaryUpdateOutcome::kReplaced;
    }
};

// What became of an attempted conversion, in one line.
std::string Describe(const DictionaryUpdateResult& result);

// Whether a name (without folder) is one of the converted file's temporary names: slupdate.tmp,
// then slupdate1.tmp, slupdate2.tmp, ... (the first free one is created exclusively).
bool IsDictionaryTemporaryName(std::string_view name);

// Brings folder + the record's file from the old state to the new one. folder ends with a path
// separator. Leftover temporary files of a killed run are removed first. Every failure after the
// old state has been recognised, a thrown error included, keeps the old file as it was and leaves
// no temporary file behind. steps are the file operations of the safe write (tests replace them).
DictionaryUpdateResult UpdateDictionary(const std::string& folder, const TPatchSlownikInfo& record,
                                        const ResourceSource& resources, int& progress, const MessagePump& pump,
                                        base::FileSteps& steps = base::SystemFileSteps());

}  // namespace updater::patch
