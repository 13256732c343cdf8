#pragma once
// The installer's list of the products' files: which products carry each file, its caption in
// one or more interface languages, and the installer's flags for it. The update reads only the
// rows with the Start-menu flag, to make the shortcuts a patch adds.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "base/byte_set.h"

namespace updater::environment {

// Flag bits. Only kShortcutFlagStartMenu is read by this program; the others are the installer's.
inline constexpr std::uint8_t kShortcutFlagCopy = 1;       // copied by the installer
inline constexpr std::uint8_t kShortcutFlagOptional = 2;   // part of an optional component
inline constexpr std::uint8_t kShortcutFlagStartMenu = 4;  // gets a shortcut in the program group
inline constexpr std::uint8_t kShortcutFlagDesktop = 8;    // a desktop icon is offered
inline constexpr std::uint8_t kShortcutFlagShared = 16;    // shared by products, removed with the last

struct TShortcutInfo {
    std::uint8_t flags;
    base::ByteSet products;     // AppIds of the products that contain the file
    std::uint8_t languages;     // bit n: the caption is written in interface language n
    std::string_view fileName;  // relative to the install folder
    std::string_view caption;   // 8-bit: Windows-1252 when a Western language is among the languages, else 1250
};

inline constexpr std::size_t kShortcutRows = 203;

// Every row, in the installer's order.
std::span<const TShortcutInfo> ShortcutTable() noexcept;

// Whether a row's caption is written in interface language 0 to 7.
constexpr bool HasLanguage(const TShortcutInfo& row, std::int32_t language) {
    return language >= 0 && language < 8 && ((row.languages >> language) & 1u) != 0;
}

}  // namespace updater::environment
