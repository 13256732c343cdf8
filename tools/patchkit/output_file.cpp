#include "patchkit/output_file.h"

#include "base/safe_file_write.h"

namespace patchkit {

using updater::base::File;
using updater::base::FileError;

namespace {
// Far more than any updater; a larger file is something else.
constexpr std::int64_t kMaxProgramFile = 256 * 1024 * 1024;
}  // namespace

FileError WriteOutputFile(const std::string& path, std::span<const std::uint8_t> bytes) {
    const updater::base::SafeWriteResult written = updater::base::WriteFileSafely(path, bytes);
    if (written.ok()) return FileError::kNone;
    return written.error != FileError::kNone ? written.error : FileError::kIo;  // read back wrong
}

InputFile ReadInputFile(const std::string& path, std::int64_t maxSize) {
    InputFile input;
    auto file = File::OpenForReading(path, updater::base::ReadShare::kDenyWriters);
    if (!file) {
        input.error = file.error();
        return input;
    }
    auto size = file.value().Size();
    if (!size) {
        input.error = size.error();
        return input;
    }
    input.size = size.value();
    if (input.size > maxSize) {
        input.tooLarge = true;
        return input;
    }
    input.bytes.resize(static_cast<std::size_t>(input.size));
    std::size_t done = 0;
    while (done < input.bytes.size()) {
        auto n = file.value().Read(std::span(input.bytes).subspan(done));
        if (!n) {
            input.error = n.error();
            return input;
        }
        if (n.value() == 0) {  // the file shrank while we read it
            input.error = FileError::kIo;
            return input;
        }
        done += n.value();
    }
    return input;
}

std::string InputFile::Problem(std::string_view whenTooLarge) const {
    if (error != FileError::kNone) return std::string(updater::base::Describe(error));
    return tooLarge ? std::string(whenTooLarge) : std::string();
}

std::string ReadProgramFile(const std::string& path, std::vector<std::uint8_t>& bytes) {
    InputFile input = ReadInputFile(path, kMaxProgramFile);
    bytes = std::move(input.bytes);
    return input.Problem("larger than any program this tool inspects");
}

}  // namespace patchkit
