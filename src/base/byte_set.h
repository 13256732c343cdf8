#pragma once
// A set of the numbers 0 to 255 kept as the product's 32-byte bitmap: n is a member when bit
// (n mod 8) of byte (n div 8) is set. Used for the active file indices, the products of a
// dictionary update and the products of a shortcut row.

#include <array>
#include <cstdint>
#include <initializer_list>

namespace updater::base {

class ByteSet {
  public:
    constexpr ByteSet() = default;
    constexpr explicit ByteSet(const std::array<std::uint8_t, 32>& bits) : bits_(bits) {}
    constexpr ByteSet(std::initializer_list<int> members) {
        for (int m : members)
            Add(m);
    }

    // Numbers outside 0..255 are never members (the product compares unsigned bytes).
    constexpr bool Contains(long long n) const {
        if (n < 0 || n > 255) return false;
        return (bits_[static_cast<std::size_t>(n) / 8] >> (n % 8)) & 1u;
    }
    constexpr void Add(int n) {
        if (n < 0 || n > 255) return;
        bits_[static_cast<std::size_t>(n) / 8] |= static_cast<std::uint8_t>(1u << (n % 8));
    }
    constexpr const std::array<std::uint8_t, 32>& Bits() const { return bits_; }
    constexpr bool operator==(const ByteSet&) const = default;

  private:
    std::array<std::uint8_t, 32> bits_{};
};

}  // namespace updater::base
