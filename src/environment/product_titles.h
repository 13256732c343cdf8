#pragma once
// The products' titles, by AppId (1 to 13) and interface language (0 to 7). A product's Start-menu
// program group is a folder named after one of its titles. Titles are 8-bit strings: Windows-1250
// for Polish, German and Hungarian, Windows-1252 for the Western languages.

#include <cstdint>
#include <string_view>

namespace updater::environment {

inline constexpr std::int32_t kFirstTitledAppId = 1;
inline constexpr std::int32_t kLastTitledAppId = 13;
inline constexpr int kTitleLanguages = 8;

// The title, or empty when the product has none in that language or either number is out of range.
std::string_view ProductTitle(std::int32_t appId, std::int32_t language) noexcept;

}  // namespace updater::environment
