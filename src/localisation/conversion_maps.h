#pragma once
// The four byte-to-UTF-16 maps through which GetText reads the stored texts. Each is a published
// code page with a few exceptions of its own; all four turn the apostrophe, the circumflex and
// the grave accent into U+2032, U+2038 and U+2035.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace updater::localisation {

enum class TextMap : std::uint8_t {
    kBase,             // ISO 8859-1 with some Windows punctuation
    kWestern,          // Windows-1252
    kCentralEuropean,  // Windows-1250
    kCyrillic,         // Windows-1251 for the letters, the base map elsewhere
};

using ConversionTable = std::array<char16_t, 256>;

// The map for a conversion code: 1 to 5 Western, 0 and 7 Central European, 6 Cyrillic, any
// other value the base map.
TextMap MapForConversionCode(std::uint8_t code);
const ConversionTable& ConversionMap(TextMap map);
// One code unit per byte.
std::u16string ConvertText(std::string_view text, TextMap map);

}  // namespace updater::localisation
