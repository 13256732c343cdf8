// The dictionary update script and line reader against the plain model: the input is a script
// text, a 0xFF byte, and the source file; its first byte picks the buffer sizes, so that chunk
// boundaries fall everywhere in small inputs. Any disagreement, crash or hang is a finding.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "../patch/dictionary_reference.h"
#include "patch/dictionary_script.h"
#include "patch/dictionary_update.h"

namespace {

std::string FuzzFolder() {
    static const std::string folder = [] {
        auto dir = std::filesystem::temp_directory_path() / ("dictionary_fuzz_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        return dir.string();
    }();
    return folder;
}

// The converted text, kept in memory: the file side of the writer has tests of its own.
struct StringSink : updater::base::ByteSink {
    updater::base::FileError Write(std::span<const std::uint8_t> bytes) override {
        text.append(bytes.begin(), bytes.end());
        return updater::base::FileError::kNone;
    }
    std::string text;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace updater;
    if (size == 0) return 0;
    const updater::patch::LineBufferSizes kSizes[] = {{}, {2, 1}, {3, 3}, {7, 2}, {16, 5}, {64, 64}};
    const auto sizes = kSizes[data[0] % std::size(kSizes)];
    const std::string input(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::size_t split = input.find('\xFF');
    const std::string scriptText = input.substr(0, split);
    const std::string source = split == std::string::npos ? std::string() : input.substr(split + 1);

    const std::vector<std::string> script =
        patch::ScriptLines(std::span(reinterpret_cast<const std::uint8_t*>(scriptText.data()), scriptText.size()));
    const std::string sourcePath = FuzzFolder() + "/source";
    std::ofstream(sourcePath, std::ios::binary | std::ios::trunc) << source;

    int progress = -1;
    int pumps = 0;
    StringSink output;
    const patch::ConvertResult result = patch::ConvertDictionary(
        sourcePath, output, script, progress, [&] { ++pumps; }, sizes);
    const std::optional<std::string> expected = test::ReferenceConvert(source, script);
    if (result.ok() != expected.has_value()) std::abort();
    if (expected) {
        if (output.text != *expected) std::abort();
        if (!script.empty() && progress != 100) std::abort();
    }
    if (progress < 0 || progress > 100) std::abort();
    return 0;
}
