// patchkit dict convert OLD SCRIPT OUTPUT: applies a dictionary update script to a file.
// patchkit dict update FOLDER SCRIPT: runs the build's dictionary update on a folder, with the
// script file standing in for the embedded script resource.
#include <cstdio>
#include <string>
#include <vector>

#include "base/file_system.h"
#include "base/path.h"
#include "patch/crc32.h"
#include "patch/dictionary_script.h"
#include "patch/dictionary_update.h"
#include "patchkit/command.h"
#include "patchkit/output_file.h"

namespace {

using namespace updater;

constexpr std::string_view kName = "dict";

// Scripts and dictionaries are tens of megabytes; a file far larger is something else.
constexpr std::int64_t kMaxInput = 512 * 1024 * 1024;

base::FileResult<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path) {
    patchkit::InputFile input = patchkit::ReadInputFile(path, kMaxInput);
    if (input.error != base::FileError::kNone) return input.error;
    if (input.tooLarge) return base::FileError::kIo;
    return std::move(input.bytes);
}

// Shows the percentage on stderr whenever it changes.
class ProgressLine {
  public:
    void Show(int percent) {
        if (percent == shown_) return;
        shown_ = percent;
        std::fprintf(stderr, "\rconverting: %3d%%", percent);
        std::fflush(stderr);
    }
    void End() {
        if (shown_ >= 0) std::fprintf(stderr, "\n");
    }

  private:
    int shown_ = -1;
};

int Convert(const std::string& oldPath, const std::string& scriptPath, const std::string& output) {
    auto text = ReadWholeFile(scriptPath);
    if (!text) return patchkit::Failure(kName, scriptPath + ": " + std::string(base::Describe(text.error())));
    const std::vector<std::string> script = patch::ScriptLines(text.value());

    // Written safely, so that a failure leaves no half-written OUTPUT (and OUTPUT may even name OLD).
    int progress = 0;
    ProgressLine line;
    const patch::ConvertResult result =
        patch::ConvertDictionary(oldPath, output, script, progress, [&] { line.Show(progress); });
    line.End();
    if (!result.ok()) {
        const std::string& which = result.error == patch::ConvertError::kDestinationUnwritable ? output : oldPath;
        return patchkit::Failure(kName, which + ": " + patch::Describe(result));
    }
    auto crc = patch::FileCrc32(output);
    auto bytes = ReadWholeFile(output);
    if (crc && bytes)
        std::printf("%s: %zu bytes, CRC-32 %08x\n", output.c_str(), bytes.value().size(),
                    static_cast<unsigned>(crc.value()));
    return patchkit::kExitOk;
}

int Update(std::string folder, const std::string& scriptPath) {
    auto text = ReadWholeFile(scriptPath);
    if (!text) return patchkit::Failure(kName, scriptPath + ": " + std::string(base::Describe(text.error())));
    folder = base::WithTrailingSeparator(std::move(folder));

    const patch::TPatchSlownikInfo& record = patch::DictionaryUpdates().front();
    patch::MemoryResources resources;
    resources.Add(std::string(record.scriptResource), std::move(text).value());
    int progress = 0;
    ProgressLine line;
    const patch::DictionaryUpdateResult result =
        patch::UpdateDictionary(folder, record, resources, progress, [&] { line.Show(progress); });
    line.End();

    std::printf("%d\n", static_cast<int>(result.code));
    switch (result.code) {
        case patch::DictionaryUpdateCode::kAlreadyNew:
            std::fprintf(stderr, "%s is already in the new state\n", std::string(record.newState.fileName).c_str());
            return patchkit::kExitOk;
        case patch::DictionaryUpdateCode::kUnknownState:
            std::fprintf(stderr, "%s is in neither the old nor the new state (or cannot be read)\n",
                         std::string(record.oldState.fileName).c_str());
            return patchkit::kExitFailed;
        case patch::DictionaryUpdateCode::kConverted:
            break;
    }
    std::fprintf(stderr, "%s\n", patch::Describe(result).c_str());
    return result.outcome == patch::DictionaryUpdateOutcome::kReplaced ? patchkit::kExitOk : patchkit::kExitFailed;
}

int Run(patchkit::Arguments args) {
    if (args.size() == 4 && args[0] == "convert") return Convert(args[1], args[2], args[3]);
    if (args.size() == 3 && args[0] == "update") return Update(args[1], args[2]);
    return patchkit::UsageError(kName);
}

const patchkit::CommandRegistration kRegistration{
    "dict", "convert OLD SCRIPT OUTPUT | update FOLDER SCRIPT",
    "apply a dictionary update script to a file (progress on stderr), or run the build's dictionary update on "
    "FOLDER with SCRIPT as its script resource and print the code (0 already new, 1 converted, 2 unknown state)",
    &Run};

}  // namespace
