#include "environment/font_charsets.h"

#include "localisation/language.h"
#include "localisation/text_helpers.h"

namespace updater::environment {
namespace {

struct CharsetEntry {
    std::string_view name;
    std::int32_t value;
};

// Searched in this order; the first entry with the value names it.
constexpr CharsetEntry kCharsets[] = {
    {"ANSI_CHARSET", 0},      {"DEFAULT_CHARSET", 1},      {"SYMBOL_CHARSET", 2},        {"SHIFTJIS_CHARSET", 128},
    {"HANGEUL_CHARSET", 129}, {"GB2312_CHARSET", 134},     {"CHINESEBIG5_CHARSET", 136}, {"OEM_CHARSET", 255},
    {"JOHAB_CHARSET", 130},   {"HEBREW_CHARSET", 177},     {"ARABIC_CHARSET", 178},      {"GREEK_CHARSET", 161},
    {"TURKISH_CHARSET", 162}, {"VIETNAMESE_CHARSET", 163}, {"THAI_CHARSET", 222},        {"EASTEUROPE_CHARSET", 238},
    {"RUSSIAN_CHARSET", 204}, {"MAC_CHARSET", 77},         {"BALTIC_CHARSET", 186},
};

constexpr std::string_view kCentralEuropean = "EASTEUROPE_CHARSET";

}  // namespace

std::string CharsetName(std::int32_t charset) {
    for (const CharsetEntry& entry : kCharsets) {
        if (entry.value == charset) return std::string(entry.name);
    }
    return "Unknown charset " + std::to_string(charset);
}

bool CharsetListContains(const std::vector<std::string>& list, std::string_view charsetName) {
    const std::string wanted = localisation::LowerText(charsetName);
    for (const std::string& name : list) {
        if (localisation::LowerText(name) == wanted) return true;
    }
    return false;
}

bool FontHasCharset(const FontCharsetLister& lister, std::string_view faceName, std::string_view charsetName) {
    std::vector<std::string> list;
    lister(faceName, list);
    return CharsetListContains(list, charsetName);
}

std::string ChooseInterfaceFontName(const FontCharsetLister& lister) {
    if (!FontHasCharset(lister, "Arial", kCentralEuropean) && FontHasCharset(lister, "Tahoma", kCentralEuropean)) {
        return "Tahoma";
    }
    return "Arial";
}

void InitialiseInterfaceFont() {
    localisation::SetUIFontName(ChooseInterfaceFontName(&ListFontCharsets));
}

}  // namespace updater::environment
