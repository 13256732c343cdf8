#pragma once
// The codec's key material (defined in kod_keys.cpp). Exposed for the codec and its tests only.

#include <array>
#include <cstddef>
#include <cstdint>

namespace updater::environment::kod {

inline constexpr int kFirstAppId = 1;
inline constexpr int kLastAppId = 13;
inline constexpr int kFirstMode = 1;
inline constexpr int kLastMode = 6;
inline constexpr std::size_t kColumns = 10;
inline constexpr std::size_t kKeyTableSize = 13 * 6 * kColumns;

// One escape class of the XOR variants: a fixed byte range plus its marker. A byte in the class
// is written as the marker followed by the byte plus the offset (modulo 256).
struct EscapeClass {
    std::uint8_t low;
    std::uint8_t high;
    std::uint8_t marker;
    std::uint8_t offset;

    constexpr bool Contains(std::uint8_t x) const { return (x >= low && x <= high) || x == marker; }
};

extern const std::array<std::uint8_t, kKeyTableSize> kAdditiveKeys;
extern const std::array<std::uint8_t, kKeyTableSize> kXorKeys;
// Classes 1, 2 and 3, in the order they are tested. The XOR variant uses class 1 alone.
extern const std::array<EscapeClass, 3> kEscapeClasses;

// Start of the ten-byte row of (appId, mode); both must be in range.
constexpr std::size_t KeyRow(int appId, int mode) {
    return static_cast<std::size_t>(appId - 1) * 60 + static_cast<std::size_t>(mode - 1) * kColumns;
}

}  // namespace updater::environment::kod
