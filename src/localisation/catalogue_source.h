#pragma once
// The shape of the interface text source (interface_texts.inc) and its conversion, at compile
// time, into the 8-bit cells the program stores. The conversion only ever runs in constant
// evaluation (text_catalogue.cpp), so a text that does not fit its column's code page stops the
// build, with an error that names the text's id (EncodedRow<id>) and the reason.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "localisation/code_pages.h"
#include "localisation/transliteration.h"

namespace updater::localisation::catalogue {

inline constexpr std::int32_t kLastId = 320;
inline constexpr std::size_t kColumnCount = 7;  // Polish, English, French, German, Italian, Spanish, Russian
inline constexpr std::size_t kRussianColumn = 6;
inline constexpr char kMarker = '\xD7';  // precedes the Polish text in some Russian cells

struct SameAsPolish {};
inline constexpr SameAsPolish kAsPolish{};

// One Western cell: UTF-8 text, or the Polish column's bytes unchanged.
struct SourceCell {
    std::u8string_view text{};
    bool asPolish = false;

    consteval SourceCell() = default;
    template <std::size_t N>
    consteval SourceCell(const char8_t (&literal)[N]) : text(literal, N - 1) {}  // NOLINT: literals by design
    consteval SourceCell(SameAsPolish) : asPolish(true) {}                       // NOLINT
};

enum class RussianKind : std::uint8_t { kAsPolish, kEmpty, kMarkedPolish, kOwnText };
struct RussianEmpty {};
struct RussianMarked {};
inline constexpr RussianEmpty kRussianEmpty{};
inline constexpr RussianMarked kRussianMarked{};

// The Russian cell: the Polish text (by default), nothing, the Polish text behind the marker byte,
// or a Russian text written in Cyrillic and stored in its Latin transliteration.
struct RussianCell {
    RussianKind kind = RussianKind::kAsPolish;
    std::u8string_view text{};

    consteval RussianCell() = default;
    template <std::size_t N>
    consteval RussianCell(const char8_t (&literal)[N])  // NOLINT
        : kind(RussianKind::kOwnText), text(literal, N - 1) {}
    consteval RussianCell(RussianEmpty) : kind(RussianKind::kEmpty) {}          // NOLINT
    consteval RussianCell(RussianMarked) : kind(RussianKind::kMarkedPolish) {}  // NOLINT
};

struct SourceRow {
    std::int32_t id = 0;
    std::u8string_view pl{};
    SourceCell en{};
    SourceCell fr{};
    SourceCell de{};
    SourceCell it{};
    SourceCell es{};
    RussianCell ru{};
};

// --- Compile-time conversion -------------------------------------------------------------------
// Reaching one of these functions (never defined) during constant evaluation is what stops the
// build; their names are the error message.
void InvalidUtf8InInterfaceText();
void CharacterMissingFromColumnCodePage();
void ControlCharacterInInterfaceText();
void RussianTextNeedsCyrillicLettersOnly();

struct Decoded {
    char32_t codePoint;
    std::size_t length;
};

constexpr Decoded DecodeUtf8(std::u8string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    std::size_t length = 0;
    char32_t value = 0;
    if (lead < 0x80) return {lead, 1};
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        value = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        value = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        value = lead & 0x07;
    } else {
        InvalidUtf8InInterfaceText();
    }
    if (at + length > text.size()) InvalidUtf8InInterfaceText();
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0) != 0x80) InvalidUtf8InInterfaceText();
        value = (value << 6) | (next & 0x3F);
    }
    return {value, length};
}

constexpr std::uint8_t EncodeCodePoint(CodePage codePage, char32_t codePoint) {
    if (codePoint < 0x80) return static_cast<std::uint8_t>(codePoint);
    for (int b = 0x80; b < 0x100; ++b) {
        const char16_t unit = CodePageUnit(codePage, static_cast<std::uint8_t>(b));
        if (unit != kUndefined && unit == codePoint) return static_cast<std::uint8_t>(b);
    }
    CharacterMissingFromColumnCodePage();
    return 0;
}

// The Latin byte that the Russian step turns into this Cyrillic letter (the first such byte).
constexpr std::uint8_t LatinForCyrillic(char32_t codePoint) {
    const std::uint8_t cyrillic = EncodeCodePoint(CodePage::kWindows1251, codePoint);
    for (int b = 0; b < 0x100; ++b) {
        if (IsTransliterated(static_cast<std::uint8_t>(b)) && kTransliteration[b] == cyrillic) {
            return static_cast<std::uint8_t>(b);
        }
    }
    RussianTextNeedsCyrillicLettersOnly();
    return 0;
}

// Appends the stored form of a UTF-8 text to out (when out is not null) and returns its length.
// A line break ("\n") is stored as CR LF. In a Russian text every Cyrillic letter is stored as its
// Latin source; other characters must survive the Russian step unchanged (so no Latin letters,
// apostrophes or dollar signs), except the letter of a "%s" or "%d" placeholder.
constexpr std::size_t EncodeText(std::u8string_view text, CodePage codePage, bool russian, char* out) {
    std::size_t length = 0;
    const auto put = [&](std::uint8_t byte) {
        if (out != nullptr) out[length] = static_cast<char>(byte);
        ++length;
    };
    for (std::size_t at = 0; at < text.size();) {
        const Decoded decoded = DecodeUtf8(text, at);
        const char32_t c = decoded.codePoint;
        const bool placeholderLetter = at > 0 && text[at - 1] == u8'%' && (c == U's' || c == U'd');
        at += decoded.length;
        if (c == U'\n') {
            put('\r');
            put('\n');
        } else if (c < 0x20 || c == 0x7F) {
            ControlCharacterInInterfaceText();
        } else if (!russian) {
            put(EncodeCodePoint(codePage, c));
        } else if (c >= 0x80) {
            put(LatinForCyrillic(c));
        } else if (placeholderLetter || !IsTransliterated(static_cast<std::uint8_t>(c))) {
            put(static_cast<std::uint8_t>(c));
        } else {
            RussianTextNeedsCyrillicLettersOnly();
        }
    }
    return length;
}

}  // namespace updater::localisation::catalogue
