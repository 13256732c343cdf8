#include "environment/kod.h"

#include <cstddef>
#include <cstdint>
#include <new>
#include <span>

#include "environment/kod_keys.h"

namespace updater::environment {
namespace {

using kod::EscapeClass;
using kod::kColumns;

enum class Variant { kUnchanged, kAdditive, kXor, kThreeClassXor };

Variant ChooseVariant(int appId, int mode, bool flag) {
    if (appId < kod::kFirstAppId || appId > kod::kLastAppId || mode < kod::kFirstMode || mode > kod::kLastMode) {
        return Variant::kUnchanged;
    }
    if (appId <= 3) return Variant::kAdditive;
    if (flag || ((appId == 12 || appId == 13) && mode == 5)) return Variant::kThreeClassXor;
    return Variant::kXor;
}

std::uint8_t Byte(char c) {
    return static_cast<std::uint8_t>(c);
}
char Char(unsigned value) {
    return static_cast<char>(static_cast<std::uint8_t>(value & 0xFFu));
}

// Additive variant: bytes below 30 pass through; the others move within 30..255, wrapping past 255
// back to 30. The column starts at the length mod 10, so equal prefixes of different lengths differ.
std::string AdditiveEncode(std::string_view text, std::size_t row) {
    std::string out(text);
    const std::size_t start = text.size() % kColumns;
    for (std::size_t i = 1; i <= text.size(); ++i) {
        const unsigned c = Byte(text[i - 1]);
        if (c < 30) continue;
        unsigned e = c + kod::kAdditiveKeys[row + (start + i) % kColumns];
        if (e > 255) e = e - 256 + 30;
        out[i - 1] = Char(e);
    }
    return out;
}

std::string AdditiveDecode(std::string_view text, std::size_t row) {
    std::string out(text);
    const std::size_t start = text.size() % kColumns;
    for (std::size_t i = 1; i <= text.size(); ++i) {
        const int c = Byte(text[i - 1]);
        if (c < 30) continue;
        int d = c - kod::kAdditiveKeys[row + (start + i) % kColumns];
        if (d < 30) d = d - 30 + 256;
        out[i - 1] = Char(static_cast<unsigned>(d));
    }
    return out;
}

// The first class that holds x, or null.
const EscapeClass* ClassOf(std::uint8_t x, std::span<const EscapeClass> classes) {
    for (const EscapeClass& c : classes) {
        if (c.Contains(x)) return &c;
    }
    return nullptr;
}

// Both XOR variants: the one-class variant passes only class 1.
std::string XorEncode(std::string_view text, std::size_t row, std::span<const EscapeClass> classes) {
    std::uint8_t t = 10;
    for (char b : text)
        t ^= Byte(b);
    if (const EscapeClass* c = ClassOf(t, classes)) t = static_cast<std::uint8_t>(t + c->offset);

    std::string out;
    out.reserve(2 * text.size() + 1);
    for (std::size_t k = 1; k <= text.size(); ++k) {
        auto x = static_cast<std::uint8_t>(kod::kXorKeys[row + k % kColumns] ^ t ^ Byte(text[k - 1]));
        if (const EscapeClass* c = ClassOf(x, classes)) {
            out.push_back(Char(c->marker));
            x = static_cast<std::uint8_t>(x + c->offset);
        }
        out.push_back(Char(x));
    }
    out.push_back(Char(t));
    return out;
}

// Walks positions 1..L-1 (the last byte is the trailer). A marker takes the byte after it, whatever
// that byte is; a marker in position L-1 therefore takes the trailer, and the walk never goes
// beyond position L.
std::string XorDecode(std::string_view text, std::size_t row, std::span<const EscapeClass> classes) {
    const std::size_t length = text.size();
    const std::uint8_t t = Byte(text[length - 1]);
    std::string out;
    out.reserve(length - 1);
    std::size_t j = 1;
    for (std::size_t i = 1; i <= length - 1; ++i, ++j) {
        std::uint8_t b = Byte(text[i - 1]);
        for (const EscapeClass& c : classes) {
            if (b != c.marker) continue;
            ++i;  // i <= length here: i was at most length - 1
            b = static_cast<std::uint8_t>(Byte(text[i - 1]) - c.offset);
            break;
        }
        out.push_back(Char(t ^ kod::kXorKeys[row + j % kColumns] ^ b));
    }
    return out;
}

std::span<const EscapeClass> ClassesOf(Variant variant) {
    std::span<const EscapeClass> all(kod::kEscapeClasses);
    return variant == Variant::kThreeClassXor ? all : all.first(1);
}

std::string Unchanged(std::string_view text) noexcept {
    try {
        return std::string(text);
    } catch (const std::bad_alloc&) {
        return {};
    }
}

// Encode's or Decode's half of each variant.
struct Direction {
    std::string (*additive)(std::string_view text, std::size_t row);
    std::string (*xorVariants)(std::string_view text, std::size_t row, std::span<const EscapeClass> classes);
};

std::string Apply(const Direction& direction, std::string_view text, int appId, int mode, bool flag) noexcept {
    if (text.empty()) return {};
    const Variant variant = ChooseVariant(appId, mode, flag);
    try {
        switch (variant) {
            case Variant::kUnchanged:
                return std::string(text);
            case Variant::kAdditive:
                return direction.additive(text, kod::KeyRow(appId, mode));
            case Variant::kXor:
            case Variant::kThreeClassXor:
                return direction.xorVariants(text, kod::KeyRow(appId, mode), ClassesOf(variant));
        }
    } catch (const std::bad_alloc&) {
        // Out of memory: hand the text back, as for any failure inside a variant.
    }
    return Unchanged(text);
}

}  // namespace

std::string TKod::Encode(std::string_view text, int appId, int mode, bool flag) const noexcept {
    return Apply({AdditiveEncode, XorEncode}, text, appId, mode, flag);
}

std::string TKod::Decode(std::string_view text, int appId, int mode, bool flag) const noexcept {
    return Apply({AdditiveDecode, XorDecode}, text, appId, mode, flag);
}

const TKod& SharedKod() noexcept {
    static const TKod instance;
    return instance;
}

}  // namespace updater::environment
