#pragma once
// Length-limited prefix codes for the payload's stage-1 symbol table.

#include <array>
#include <cstdint>

namespace updater::tools {

inline constexpr int kMaxCodeLength = 16;  // the symbol table's 4-bit length field (0 means 16)

using SymbolCounts = std::array<std::uint64_t, 256>;
using CodeLengths = std::array<std::uint8_t, 256>;  // 0: symbol absent

// Optimal code lengths of at most maxLength bits (package-merge) for the symbols with a non-zero
// count. The code is always complete (Kraft sum exactly 1) and has at least two symbols: when
// fewer than two counts are non-zero, the lowest absent byte values join with length 1, because a
// decoder cannot tell a one-symbol code from an empty one. maxLength is 8..16.
CodeLengths LimitedCodeLengths(const SymbolCounts& counts, int maxLength = kMaxCodeLength);

// Canonical code values for the lengths: shorter codes first, equal lengths in ascending symbol
// order, so the decoder's "first match in (length, symbol) order" is simply the match.
std::array<std::uint16_t, 256> CanonicalCodes(const CodeLengths& lengths);

}  // namespace updater::tools
