#pragma once
// Interface languages, the two platform values every text lookup reads, and the per-language
// font character sets.

#include <cstdint>
#include <string>
#include <string_view>

namespace updater::localisation {

// Interface-language codes; they index the text catalogue's columns, the font character sets, the
// product titles and the flag buttons. Hungarian reads the Polish texts.
using Language = std::uint8_t;
inline constexpr Language kPolish = 0;
inline constexpr Language kEnglish = 1;
inline constexpr Language kFrench = 2;
inline constexpr Language kGerman = 3;
inline constexpr Language kItalian = 4;
inline constexpr Language kSpanish = 5;
inline constexpr Language kRussian = 6;
inline constexpr Language kHungarian = 7;

// What GetText needs to know about the system. Tests build their own values; the program uses
// CurrentPlatform(), fixed from the operating system on first use and never changed afterwards.
struct Platform {
    bool isNT = true;                 // the OS version query reports VER_PLATFORM_WIN32_NT (2)
    std::uint8_t systemLanguage = 0;  // DetectSystemLanguage() at start
};

inline constexpr std::uint32_t kPlatformWin32NT = 2;

// The platform values from a platform identifier and a locale identifier, as start-up reads them.
Platform MakePlatform(std::uint32_t platformId, std::uint32_t localeId);

// The process-wide values. The first call queries the OS (start-up calls it before any window
// exists); later calls return the same values even if the system locale has changed since.
const Platform& CurrentPlatform();

// The interface language of a Windows locale identifier (LCID). English and every locale that
// is not listed give 0 (Polish): the result is never 1.
std::uint8_t DetectSystemLanguage(std::uint32_t localeId);
// The same for the calling thread's locale at this moment.
std::uint8_t DetectSystemLanguage();

// The language the main window starts in: the detected one when it is the product's own,
// otherwise the product's language or the default, as the build configuration prefers.
std::uint8_t StartLanguage(std::uint8_t detected, std::uint8_t productLanguage, bool preferProductLanguage,
                           std::uint8_t defaultUiLanguage);

// GDI character set for an interface language (0 to 8; index 8 is a second Russian entry).
// English and German are drawn in the Central European set. Codes above 8 have no entry; they
// get the Polish one, as they read the Polish texts.
std::uint8_t FontCharsetFor(std::uint8_t language);

// The interface font face: "Arial" until start-up chooses (see environment/font_charsets.h).
const std::string& UIFontName();
void SetUIFontName(std::string_view faceName);

// The locale identifier of a POSIX locale name such as "de_AT.UTF-8"; 0 when unknown. Stands in
// for GetThreadLocale where there is none.
std::uint32_t LocaleIdFromPosixName(std::string_view name);

}  // namespace updater::localisation
