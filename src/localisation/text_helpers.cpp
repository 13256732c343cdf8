#include "localisation/text_helpers.h"

#include <algorithm>

namespace updater::localisation {

std::uint8_t LowerChar(std::uint8_t c) {
    if (c >= 0x41 && c <= 0x5A) return static_cast<std::uint8_t>(c + 0x20);
    switch (c) {
        case 0x8A:
        case 0x8C:
        case 0x8D:
        case 0x8E:
        case 0x8F:
            return static_cast<std::uint8_t>(c + 0x10);
        case 0xA3:
            return 0xB3;
        case 0xA5:
            return 0xB9;
        case 0xAA:
            return 0xBA;
        case 0xAF:
            return 0xBF;
        default:
            break;
    }
    if ((c >= 0xC0 && c <= 0xDE) && c != 0xD7) return static_cast<std::uint8_t>(c + 0x20);
    return c;
}

std::string LowerText(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        c = static_cast<char>(LowerChar(static_cast<std::uint8_t>(c)));
    return result;
}

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
    // LowerChar keeps 0xBC as the product's lower-casing does; a file name comparison may not.
    auto fold = [](char c) {
        const std::uint8_t lower = LowerChar(static_cast<std::uint8_t>(c));
        return lower == 0xBC ? std::uint8_t{0xBE} : lower;
    };
    return std::ranges::equal(a, b, {}, fold, fold);
}

std::string StripTrailingDigits(std::string_view text) {
    std::size_t end = text.size();
    while (end > 1 && text[end - 1] >= '0' && text[end - 1] <= '9')
        --end;
    return std::string(text.substr(0, end));
}

bool TagListContains(std::string_view name, std::string_view list, bool ignoreCase, bool stripDigits) {
    std::string tagName = stripDigits ? StripTrailingDigits(name) : std::string(name);
    if (ignoreCase) tagName = LowerText(tagName);
    const std::string tag = std::string("<").append(tagName).append(">");
    const std::string haystack = ignoreCase ? LowerText(list) : std::string(list);
    return haystack.find(tag) != std::string::npos;
}

std::string DropLastChars(std::string_view text, std::int32_t count) {
    if (count <= 0) return std::string(text);
    const auto drop = static_cast<std::size_t>(count);
    if (drop >= text.size()) return {};
    return std::string(text.substr(0, text.size() - drop));
}

}  // namespace updater::localisation
