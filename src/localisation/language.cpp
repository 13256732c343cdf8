#include "localisation/language.h"

#include <array>

#include "localisation/platform_query.h"

namespace updater::localisation {
namespace {

constexpr std::array<std::uint8_t, 9> kFontCharsets = {
    238,  // Polish: EASTEUROPE_CHARSET
    238,  // English
    0,    // French: ANSI_CHARSET
    238,  // German
    0,    // Italian
    0,    // Spanish
    204,  // Russian: RUSSIAN_CHARSET
    238,  // Hungarian
    204,  // Russian, second entry
};

std::string& FontNameStorage() {
    static std::string name = "Arial";
    return name;
}

}  // namespace

Platform MakePlatform(std::uint32_t platformId, std::uint32_t localeId) {
    return Platform{platformId == kPlatformWin32NT, DetectSystemLanguage(localeId)};
}

const Platform& CurrentPlatform() {
    static const Platform platform = MakePlatform(detail::QueryPlatformId(), detail::QueryThreadLocale());
    return platform;
}

std::uint8_t DetectSystemLanguage(std::uint32_t localeId) {
    switch (localeId) {
        case 1031:  // German: Germany, Switzerland, Austria, Luxembourg, Liechtenstein
        case 2055:
        case 3079:
        case 4103:
        case 5127:
            return kGerman;
        case 1034:  // Spanish: Spain (traditional sort), Mexico, Spain (modern sort)
        case 2058:
        case 3082:
            return kSpanish;
        case 1036:  // French: France, Belgium, Canada
        case 2060:
        case 3084:
            return kFrench;
        case 1040:  // Italian: Italy, Switzerland
        case 2064:
            return kItalian;
        case 1049:
            return kRussian;
        default:
            return kPolish;
    }
}

std::uint8_t DetectSystemLanguage() {
    return DetectSystemLanguage(detail::QueryThreadLocale());
}

std::uint8_t StartLanguage(std::uint8_t detected, std::uint8_t productLanguage, bool preferProductLanguage,
                           std::uint8_t defaultUiLanguage) {
    if (detected == productLanguage) return detected;
    return preferProductLanguage ? productLanguage : defaultUiLanguage;
}

std::uint8_t FontCharsetFor(std::uint8_t language) {
    return language < kFontCharsets.size() ? kFontCharsets[language] : kFontCharsets[kPolish];
}

const std::string& UIFontName() {
    return FontNameStorage();
}

void SetUIFontName(std::string_view faceName) {
    FontNameStorage() = std::string(faceName);
}

std::uint32_t LocaleIdFromPosixName(std::string_view name) {
    // "ll_CC" followed by an optional ".codeset" or "@modifier".
    const std::string_view code = name.substr(0, name.find_first_of(".@"));
    struct Entry {
        std::string_view code;
        std::uint32_t localeId;
    };
    static constexpr Entry kLocales[] = {
        {"pl_PL", 1045}, {"en_US", 1033}, {"en_GB", 2057}, {"de_DE", 1031}, {"de_CH", 2055},
        {"de_AT", 3079}, {"de_LU", 4103}, {"de_LI", 5127}, {"es_ES", 3082}, {"es_MX", 2058},
        {"fr_FR", 1036}, {"fr_BE", 2060}, {"fr_CA", 3084}, {"fr_CH", 4108}, {"fr_LU", 5132},
        {"it_IT", 1040}, {"it_CH", 2064}, {"ru_RU", 1049}, {"hu_HU", 1038},
    };
    for (const Entry& e : kLocales) {
        if (e.code == code) return e.localeId;
    }
    return 0;
}

}  // namespace updater::localisation
