#pragma once
// A plain model of the dictionary conversion: the whole source in memory, split by the line rules
// in the most direct way, no buffers. The streaming implementation must agree with it.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "patch/dictionary_script.h"

namespace updater::test {

// LF ends a line; CR ends a line together with every LF right after it; text after the last break
// is a line too.
inline std::vector<std::string> ReferenceSourceLines(std::string_view bytes) {
    std::vector<std::string> lines;
    std::string current;
    std::size_t i = 0;
    while (i < bytes.size()) {
        const char c = bytes[i++];
        if (c == '\n') {
            lines.push_back(std::move(current));
            current.clear();
        } else if (c == '\r') {
            lines.push_back(std::move(current));
            current.clear();
            while (i < bytes.size() && bytes[i] == '\n')
                ++i;
        } else {
            current += c;
        }
    }
    if (i > 0 && bytes.back() != '\n' && bytes.back() != '\r') lines.push_back(std::move(current));
    return lines;
}

// The converted file, or nullopt when the script is malformed.
inline std::optional<std::string> ReferenceConvert(std::string_view source, const std::vector<std::string>& script) {
    const std::vector<std::string> lines = ReferenceSourceLines(source);
    std::size_t next = 0;
    std::int64_t written = 0;
    std::string out;
    auto copyUntil = [&](std::int64_t n) {
        for (; written < n && next < lines.size(); ++written)
            out += lines[next++] + "\r\n";
        if (written < n) written = n;
    };
    for (std::size_t s = 0; s < script.size();) {
        if (s + 1 >= script.size()) return std::nullopt;
        const std::optional<std::int32_t> n = patch::ParseLineCount(script[s + 1]);
        if (!n) return std::nullopt;
        const std::string& command = script[s];
        s += 2;
        copyUntil(*n);
        if (command == "DOD") {
            if (s >= script.size()) return std::nullopt;
            out += script[s++] + "\r\n";
            ++written;
        } else if (command == "USUN") {
            if (next < lines.size()) ++next;
        }
    }
    while (next < lines.size())
        out += lines[next++] + "\r\n";
    return out;
}

}  // namespace updater::test
