#include "environment/unique_file_name.h"

#include <algorithm>
#include <cstdint>

#include "base/file_system.h"
#include "localisation/text_helpers.h"

namespace updater::environment {
namespace {

constexpr std::size_t kLongestName = 255;

bool Taken(const std::string& path) {
    return base::FileExists(path) || base::DirectoryExists(path);
}

}  // namespace

std::string UniqueFileName(std::string_view prefix, std::string_view name, std::string_view extension, bool bracketed) {
    std::string ext;
    if (!extension.empty()) ext.append(".").append(extension);
    std::string stem(name);
    if (stem.empty() && extension.empty()) stem = "noname";

    // Built by appending: GCC 12 reports a false overlap for "x" + std::string at -O2.
    const auto build = [&](std::string_view number) {
        std::string path(prefix);
        path.append(stem);
        if (!number.empty()) path.append(bracketed ? "[" : "").append(number).append(bracketed ? "]" : "");
        return path.append(ext);
    };
    std::string candidate = build({});
    const auto numbered = [&](std::uint64_t counter) { return build(std::to_string(counter)); };
    for (std::uint64_t counter = 1; Taken(candidate); ++counter) {
        candidate = numbered(counter);
        if (candidate.size() > kLongestName) {
            const std::size_t excess = candidate.size() - kLongestName;
            stem = localisation::DropLastChars(stem,
                                               static_cast<std::int32_t>(std::min<std::size_t>(excess, stem.size())));
            candidate = numbered(counter);
        }
    }
    return candidate;
}

}  // namespace updater::environment
