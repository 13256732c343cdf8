#include "environment/product_titles.h"

#include <array>

namespace updater::environment {
namespace {

using TitleRow = std::array<std::string_view, kTitleLanguages>;

// Non-ASCII letters are spelled as their code-page bytes (octal where a letter follows).
// Columns: Polish, English, French, German, Italian, Spanish, Russian, Hungarian. Every product
// has its Polish title and the title in its own foreign language; the Russian product installs
// under its Polish title only, and the English 1.5 product also under a Hungarian one.
constexpr std::array<TitleRow, kLastTitledAppId> kTitles{{
    // 1: French
    {"Lexivo Francuskiego 2.0", "", "Lexivo Fran\347ais 2.0", "", "", "", "", ""},  // Français
    // 2: English for business
    {"Lexivo Angielskiego Biznes 1.0", "Lexivo Business English 1.0", "", "", "", "", "", ""},
    // 3: English
    {"Lexivo Angielskiego 2.0", "Lexivo English 2.0", "", "", "", "", "", ""},
    // 4: German
    {"Lexivo Niemieckiego 2.0", "", "", "Lexivo Deutsch 2.0", "", "", "", ""},
    // 5: German
    {"Lexivo Niemieckiego 2.5", "", "", "Lexivo Deutsch 2.5", "", "", "", ""},
    // 6: English (this build's product)
    {"Lexivo Angielskiego 2.5", "Lexivo English 2.5", "", "", "", "", "", ""},
    // 7: English for medicine
    {"Lexivo Angielskiego Medycyna 1.0", "Lexivo Medical English 1.0", "", "", "", "", "", ""},
    // 8: Italian
    {"Lexivo W\xB3oskiego 1.0", "", "", "", "Lexivo Italiano 1.0", "", "", ""},  // Włoskiego
    // 9: Spanish
    {"Lexivo Hiszpa\xF1skiego 1.0", "", "", "", "", "Lexivo Espa\xF1ol 1.0", "", ""},  // Hiszpańskiego, Español
    // 10: Russian
    {"Lexivo Rosyjskiego 1.0", "", "", "", "", "", "", ""},
    // 11: French for business
    {"Lexivo Francuskiego Biznes 1.0", "", "Lexivo Fran\347ais des affaires 1.0", "", "", "", "", ""},
    // 12: German for business
    {"Lexivo Niemieckiego Biznes 1.0", "", "", "Lexivo Wirtschaftsdeutsch 1.0", "", "", "", ""},
    // 13: English, sold with a Hungarian interface
    {"Lexivo Angielskiego 1.5", "Lexivo English 1.5", "", "", "", "", "", "Lexivo Angol 1.5"},
}};

}  // namespace

std::string_view ProductTitle(std::int32_t appId, std::int32_t language) noexcept {
    if (appId < kFirstTitledAppId || appId > kLastTitledAppId || language < 0 || language >= kTitleLanguages) {
        return {};
    }
    return kTitles[static_cast<std::size_t>(appId - 1)][static_cast<std::size_t>(language)];
}

}  // namespace updater::environment
