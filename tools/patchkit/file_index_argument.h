#pragma once
// The INDEX argument of the catalogue commands: a file index 1..34 written in decimal.

#include <charconv>
#include <optional>
#include <string>

#include "patch/file_catalogue.h"

namespace patchkit {

inline std::optional<int> ParseFileIndex(const std::string& text) {
    int index = 0;
    const char* end = text.data() + text.size();
    auto [last, error] = std::from_chars(text.data(), end, index);
    if (text.empty() || error != std::errc() || last != end || !updater::patch::IsFileIndex(index)) return std::nullopt;
    return index;
}

}  // namespace patchkit
