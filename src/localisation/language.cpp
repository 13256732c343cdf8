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
    struct Entry {
        std::uint32_t localeId;
        std::uint8_t language;
    };
    // German: Germany, Switzerland, Austria, Luxembourg, Liechtenstein; Spanish: Spain (traditional
    // sort), Mexico, Spain (modern sort); French: France, Belgium, Canada; Italian: Italy, Switzerland.
    static constexpr Entry kLanguages[] = {
        {1031, kGerman},  {2055, kGerman},  {3079, kGerman},  {4103, kGerman},  {5127, kGerman},
        {1034, kSpanish}, {2058, kSpanish}, {3082, kSpanish}, {1036, kFrench},  {2060, kFrench},
        {3084, kFrench},  {1040, kItalian}, {2064, kItalian}, {1049, kRussian},
    };
    for (const Entry& e : kLanguages) {
        if (e.localeId == localeId) return e.language;
    }
    return kPolish;
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
