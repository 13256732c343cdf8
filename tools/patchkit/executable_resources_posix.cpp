// Native builds read the program file whole and look at it with the bounds-checked PE reader.
#ifndef _WIN32
#include <cstdint>
#include <string>
#include <vector>

#include "base/file_system.h"
#include "patchkit/executable_resources.h"
#include "patchkit/pe_reader.h"

namespace patchkit {

namespace {
// Far more than any updater; a larger file is something else.
constexpr std::int64_t kMaxProgramFile = 256 * 1024 * 1024;
}  // namespace

ExecutableRead ReadExecutableResources(const std::string& path) {
    namespace base = updater::base;
    ExecutableRead failed;
    auto file = base::File::OpenForReading(path, base::ReadShare::kDenyWriters);
    if (!file) {
        failed.error = std::string(base::Describe(file.error()));
        return failed;
    }
    auto size = file.value().Size();
    if (!size) {
        failed.error = std::string(base::Describe(size.error()));
        return failed;
    }
    if (size.value() > kMaxProgramFile) {
        failed.error = "larger than any program this tool inspects";
        return failed;
    }
    std::vector<std::uint8_t> image(static_cast<std::size_t>(size.value()));
    for (std::size_t done = 0; done < image.size();) {
        auto n = file.value().Read(std::span(image).subspan(done));
        if (!n) {
            failed.error = std::string(base::Describe(n.error()));
            return failed;
        }
        if (n.value() == 0) {
            failed.error = "the file shrank while it was read";
            return failed;
        }
        done += n.value();
    }
    return ReadPeResources(image);
}

}  // namespace patchkit
#endif
