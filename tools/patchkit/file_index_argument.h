#pragma once
// The INDEX argument of the catalogue commands: a file index 1..34 written in decimal.

#include <optional>
#include <string_view>

#include "patch/file_catalogue.h"
#include "patchkit/arguments.h"

namespace patchkit {

inline std::optional<int> ParseFileIndex(std::string_view text) {
    return ParseInteger(text, updater::patch::kFirstFileIndex, updater::patch::kLastFileIndex);
}

// The usage error for an INDEX that ParseFileIndex refused.
inline int FileIndexError(std::string_view name) {
    return RangeError(name, "INDEX", updater::patch::kFirstFileIndex, updater::patch::kLastFileIndex);
}

}  // namespace patchkit
