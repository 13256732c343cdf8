#pragma once
// The interface texts shared by the product's installation, removal, update and add-in programs:
// ids 1 to 320 in seven columns (Polish, English, French, German, Italian, Spanish, Russian), each
// stored as 8-bit text in its language's Windows code page. The translatable source is
// interface_texts.inc (UTF-8); the build converts it and refuses a text its column cannot hold.
//
// Platform values: GetText reads whether the platform is NT-class and the system's language from
// the Platform it is given. The three-argument form passes CurrentPlatform() (language.h), which
// start-up fixes once before any window exists; tests and tools pass their own values.

#include <cstdint>
#include <string>
#include <string_view>

#include "localisation/language.h"

namespace updater::localisation {

inline constexpr std::int32_t kFirstTextId = 1;
inline constexpr std::int32_t kLastTextId = 320;

// The text of an id in an interface language as UTF-16, exactly one code unit per stored byte:
// - an id outside 1 to 320, or an empty cell, gives the empty string;
// - the column is language & 0x7F when that is 1 to 6, else Polish (so 7, Hungarian, reads Polish);
// - language 6 goes through the Russian transliteration first;
// - the bytes are read with the map of `language` when forceTextCodePage is set or the platform is
//   NT-class, otherwise with the map of the system's language.
std::u16string GetText(std::uint8_t language, std::int32_t id, bool forceTextCodePage, const Platform& platform);
std::u16string GetText(std::uint8_t language, std::int32_t id, bool forceTextCodePage = false);

// The stored bytes of one cell (column 0 to 6); empty outside the catalogue. For tools and tests.
std::string_view StoredText(std::int32_t id, std::uint8_t column);

}  // namespace updater::localisation
