#include "patch/dictionary_script.h"

#include <algorithm>
#include <charconv>

namespace updater::patch {

std::vector<std::string> ScriptLines(std::span<const std::uint8_t> text) {
    const auto nul = std::find(text.begin(), text.end(), std::uint8_t{0});
    text = text.first(static_cast<std::size_t>(nul - text.begin()));

    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        lines.emplace_back(reinterpret_cast<const char*>(text.data()) + start, i - start);
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.emplace_back(reinterpret_cast<const char*>(text.data()) + start, text.size() - start);
    return lines;
}

std::optional<std::int32_t> ParseLineCount(std::string_view text) {
    if (!text.empty() && text.front() == '+') {  // from_chars takes '-' only
        text.remove_prefix(1);
        if (text.empty() || text.front() < '0' || text.front() > '9') return std::nullopt;
    }
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

}  // namespace updater::patch
