#pragma once
// The dictionary update script: a text of lines read in pairs and triples as commands.
//
//   "DOD", N, T    copy source lines until N output lines exist, then write T
//   "USUN", N      copy source lines until N output lines exist, then drop one source line
//   other, N       copy source lines until N output lines exist
//
// N always counts lines of the output. The command word is compared exactly, case included.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace updater::patch {

inline constexpr std::string_view kInsertCommand = "DOD";
inline constexpr std::string_view kRemoveCommand = "USUN";

// Splits the text into lines: a line ends at CR LF, CR or LF (CR LF LF is two breaks here, unlike
// in the data file), a last line without a break still counts, and the text ends at its end or at
// the first NUL byte.
std::vector<std::string> ScriptLines(std::span<const std::uint8_t> text);

// A line count N: an optional sign and decimal digits, nothing else, within 32 bits.
std::optional<std::int32_t> ParseLineCount(std::string_view text);

}  // namespace updater::patch
