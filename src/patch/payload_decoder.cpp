#include "patch/payload_decoder.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <limits>
#include <new>
#include <type_traits>
#include <utility>

#include "patch/crc32.h"

namespace updater::patch {
namespace {

// The token stream: a literal run is a header byte 0x80 | (n - 1) and n bytes; a match is two
// bytes, a clear top bit, 3 bits of length - 3 and 12 bits of distance.
constexpr unsigned kRunLengthBits = 7;
constexpr unsigned kMatchLengthBits = 3;
constexpr unsigned kDistanceBits = 12;
constexpr unsigned kDistanceHighBits = kDistanceBits - 8;  // in the first byte, the rest in the second
static_assert(1 + kMatchLengthBits + kDistanceHighBits == 8 && 1 + kRunLengthBits == 8);
constexpr std::size_t kMaxLiteralRun = std::size_t{1} << kRunLengthBits;
constexpr std::size_t kMatchTokenBytes = 2;
constexpr std::size_t kMinMatchLength = 3;
constexpr std::size_t kMaxMatchLength = kMinMatchLength + (1u << kMatchLengthBits) - 1;

// Every token makes at least half as many bytes as it takes (a run of n + 1 bytes n, a match of 2
// at least 3), so a stream of more than twice the largest piece cannot fit it.
static_assert(kMatchTokenBytes <= 2 * kMinMatchLength);

// The hot loops copy whole blocks: a short literal run or a match is one kOverCopy-byte copy, a
// long run one per kOverCopy bytes, and a match one or two 8-byte steps (CopyMatch).
constexpr std::size_t kOverCopy = 16;
static_assert(kMaxMatchLength <= kOverCopy, "a match that does not overlap is one block");
static_assert(kMaxLiteralRun % kOverCopy == 0, "a long run's blocks end where its token ends");

// Stage 2's fast path steps a token with no checks on either buffer while each has, for every
// token left in its batch, the most one token may read from its first byte (the largest token:
// a long run's blocks end where it ends, a short token's one block reaches less far) and the most
// it may write from where its output starts (the longest run, or one block).
constexpr std::size_t kTokenReadMargin = 1 + kMaxLiteralRun;
constexpr std::size_t kTokenWriteMargin = std::max({kMaxLiteralRun, kMaxMatchLength, kOverCopy});
static_assert(1 + kOverCopy <= kTokenReadMargin && kMatchTokenBytes <= kTokenReadMargin);

// Stage 2 runs in batches of tokens, after each of which the CRC-32 may follow the output.
constexpr std::size_t kCrcBlock = 8192;
constexpr std::size_t kBatch = kCrcBlock / kTokenWriteMargin;

// Bytes behind the logical end of the intermediate and output buffers that the hot loops may
// overwrite or over-read. A block copy of a token that ends at the end of a buffer reaches at most
// kOverCopy - 1 bytes past it (a token makes or holds at least one byte); a three-symbol store of
// stage 1 writes four bytes.
constexpr std::size_t kSlack = 32;
static_assert(kSlack >= kOverCopy - 1);
static_assert(kSlack >= sizeof(std::uint32_t) - 1);

// Copies a match of length 3 to 10 from distance bytes back, as a byte-by-byte copy would (the
// source may overlap what it writes). It writes kOverCopy bytes (or `length`), the rest into what
// the next token overwrites or the output's slack.
inline void CopyMatch(std::uint8_t* out, std::size_t distance, std::size_t length) {
    constexpr std::size_t kStep = kOverCopy / 2;
    static_assert(2 * kStep >= kMaxMatchLength);
    const std::uint8_t* const from = out - distance;
    if (distance >= kStep) {
        // Each step reads only bytes at least kStep back, all written already.
        std::memcpy(out, from, kStep);
        std::memcpy(out + kStep, from + kStep, kStep);
    } else if (distance == 1) {
        std::memset(out, *from, kOverCopy);
    } else {
        for (std::size_t i = 0; i < length; ++i)
            out[i] = from[i];
    }
}

// The first kPrimaryBits bits of the stream index the primary tables. Codes up to that length are
// resolved there directly; longer ones go through a secondary table per primary slot. 12 bits, so
// that the multi-symbol tables of the two pieces DecodeTwo reads side by side (16 KiB each) stay
// in the first-level cache together.
constexpr unsigned kPrimaryBits = 12;
constexpr std::size_t kPrimarySize = std::size_t{1} << kPrimaryBits;
constexpr unsigned kMaxCodeLength = 16;
// At most one secondary table per code longer than kPrimaryBits, each of at most 2^(16 - bits).
constexpr std::size_t kMaxSecondarySize = 256u << (kMaxCodeLength - kPrimaryBits);

// A table entry, 32 bits, laid out so that the hot loop shifts the bit buffer by the entry itself:
//   bits 0-4   bits used by all its symbols (or, for a secondary table, its index width); bit 5
//              stays clear, so the length is the low six bits a 64-bit shift takes anyway
//   bits 6-7   number of symbols, 1 to 3; 0 for a secondary table, and for no match (entry 0)
//   bits 8-31  the symbols, first in bits 8-15; for a secondary table bits 8-23 its offset
constexpr unsigned kLengthBits = std::bit_width(kMaxCodeLength);
constexpr std::uint32_t kLengthMask = (1u << kLengthBits) - 1;
constexpr std::uint32_t kShiftMask = (kLengthMask << 1) | 1;  // the length and the clear bit above it
constexpr std::uint32_t kCountShift = kLengthBits + 1;
constexpr std::uint32_t kCountMask = 3u << kCountShift;
constexpr unsigned kSymbolShift = 8;
constexpr unsigned kMaxSymbolsPerEntry = 3;
static_assert(kShiftMask == std::numeric_limits<std::uint64_t>::digits - 1 &&
                  kLengthMask == std::numeric_limits<std::uint32_t>::digits - 1,
              "a 64-bit shift by the entry takes the length and the clear bit, a 32-bit shift the length");
static_assert(kCountMask < 1u << kSymbolShift && kMaxSymbolsPerEntry <= kCountMask >> kCountShift &&
              kSymbolShift + 8 * kMaxSymbolsPerEntry <= 32);

// Stage 1's bit buffer, one register wide: 64 bits, or 32 on 32-bit targets, where two readers'
// 64-bit buffers do not fit in the registers and would be kept on the stack. A refill loads a whole
// buffer and keeps the whole bytes that fit behind the bits it holds, so it leaves between
// kRefillBits and kBitBufferBits - 1 counted bits (bitsLeft | kRefillBits), and all the buffer's
// bits are real. That pays for kLookupsPerRefill lookups, and each lookup writes at most
// kMaxSymbolsPerEntry symbols. With 64 bits those may all be of the longest code; with 32, of
// primary-table entries only: a lookup through a secondary table refills before and after it.
using BitBuffer = std::conditional_t<sizeof(void*) == 4, std::uint32_t, std::uint64_t>;
constexpr unsigned kBitBufferBits = sizeof(BitBuffer) * 8;
constexpr bool kNarrowBuffer = kBitBufferBits == 32;
constexpr unsigned kRefillBits = kBitBufferBits - 8;
constexpr unsigned kLookupsPerRefill = kNarrowBuffer ? 2 : 3;
constexpr std::size_t kSymbolsPerRefill = kLookupsPerRefill * kMaxSymbolsPerEntry;
// A refill loads kLoadBytes bytes and moves on by the whole bytes it kept, at most
// kMaxRefillAdvance; a round refills once, or with the narrow buffer up to twice more per lookup.
constexpr std::size_t kLoadBytes = kBitBufferBits / 8;
constexpr std::size_t kMaxRefillAdvance = (kBitBufferBits - 1) / 8;
constexpr std::size_t kRefillsPerRound = kNarrowBuffer ? 1 + 2 * kLookupsPerRefill : 1;
// How far a round may move on, and how many bytes from its start it may read.
constexpr std::size_t kMaxRoundAdvance = kRefillsPerRound * kMaxRefillAdvance;
constexpr std::size_t kRoundReach = kMaxRoundAdvance - kMaxRefillAdvance + kLoadBytes;
static_assert(kLoadBytes == kMaxRefillAdvance + 1 && kRoundReach == kMaxRoundAdvance + 1,
              "a round reads one byte beyond where it may move on to");
static_assert((kRefillBits & 7) == 0 && (kRefillBits | 7) == kBitBufferBits - 1);
static_assert(kNarrowBuffer || kLookupsPerRefill * kMaxCodeLength <= kRefillBits, "the refill budget");
// Narrow: the primary-table lookups of a round use at most kRefillBits; a secondary lookup, from a
// refill, at most kMaxCodeLength of those, and the refill after it leaves kRefillBits again. A
// lookup also reads all its table index bits: a refill leaves kBitBufferBits real bits, of which
// the first lookup takes at most kMaxCodeLength.
static_assert(!kNarrowBuffer || (kLookupsPerRefill * kPrimaryBits <= kRefillBits && kMaxCodeLength <= kRefillBits &&
                                 kMaxCodeLength + kMaxCodeLength <= kBitBufferBits),
              "the narrow refill budget");
static_assert(kPrimaryBits <= kMaxCodeLength, "a multi-symbol entry uses no more bits than a code may");

constexpr std::uint32_t SymbolEntry(std::uint8_t symbol, unsigned length) {
    return length | (1u << kCountShift) | (std::uint32_t{symbol} << kSymbolShift);
}
constexpr std::uint32_t SecondaryEntry(unsigned width, std::size_t offset) {
    return width | (static_cast<std::uint32_t>(offset) << kSymbolShift);
}
constexpr unsigned EntryLength(std::uint32_t entry) {
    return entry & kLengthMask;
}
constexpr unsigned SymbolCount(std::uint32_t entry) {
    return (entry & kCountMask) >> kCountShift;
}
constexpr bool IsSecondary(std::uint32_t entry) {
    return (entry & kCountMask) == 0 && entry != 0;
}
constexpr std::uint8_t FirstSymbol(std::uint32_t entry) {
    return static_cast<std::uint8_t>(entry >> kSymbolShift);
}
constexpr std::size_t SecondaryOffset(std::uint32_t entry) {
    return (entry >> kSymbolShift) & 0xFFFF;
}

inline BitBuffer LoadBigEndian(const std::uint8_t* p) {
    BitBuffer v = 0;
    for (std::size_t i = 0; i < sizeof(BitBuffer); ++i) {
        v = (v << 8) | p[i];  // compiles to one load and a byte swap
    }
    return v;
}

struct ErrorText {
    std::string_view reason;
    std::string_view where;  // what the failure position counts, or "" when it says nothing useful
};

ErrorText TextOf(DecodeError error) {
    switch (error) {
        case DecodeError::kNone:
            return {"", ""};
        case DecodeError::kTruncatedSymbolTable:
            return {"the payload ends inside the symbol table", "at bit"};
        case DecodeError::kTooFewSymbols:
            return {"the symbol table declares fewer than two byte values", "it declares"};
        case DecodeError::kTruncatedLength:
            return {"the payload ends inside the length field", "at byte"};
        case DecodeError::kNoCodes:
            return {"the length field is 0", ""};
        case DecodeError::kTooManyCodes:
            return {"the length field declares more codes than a 2,097,152-byte piece can need", "it declares"};
        case DecodeError::kCodesPastEnd:
            return {"the codes run past the end of the payload", "at code"};
        case DecodeError::kNoMatchingCode:
            return {"no code matches the bits", "at code"};
        case DecodeError::kTruncatedLiteralRun:
            return {"a literal run runs past the end of the token stream", "at token offset"};
        case DecodeError::kTruncatedMatch:
            return {"a match token is cut off at the end of the token stream", "at token offset"};
        case DecodeError::kZeroDistance:
            return {"a match has distance 0", "at token offset"};
        case DecodeError::kDistanceBeforeStart:
            return {"a match reaches back before the start of the piece", "at token offset"};
        case DecodeError::kPieceTooLarge:
            return {"the piece grows beyond 2,097,152 bytes", "at token offset"};
        case DecodeError::kOutOfMemory:
            return {"not enough memory for the decoder's buffers", ""};
    }
    return {"unknown decoder failure", ""};
}

// Reads the symbol table: a plain bounds-checked bit reader, as the table is at most 672 bytes.
class BitCursor {
  public:
    explicit BitCursor(std::span<const std::uint8_t> data) : data_(data) {}
    bool Read(unsigned count, std::uint32_t& value) {
        if (count > data_.size() * 8 - bit_) return false;
        value = 0;
        for (unsigned i = 0; i < count; ++i, ++bit_) {
            value = (value << 1) | ((data_[bit_ >> 3] >> (7 - (bit_ & 7))) & 1u);
        }
        return true;
    }
    std::size_t Bit() const { return bit_; }

  private:
    std::span<const std::uint8_t> data_;
    std::size_t bit_ = 0;
};

// Stores the symbols of a table entry; three whatever its count, the spare ones are overwritten by
// the next entry. One four-byte store where the byte order allows it (the fourth lands in slack).
inline void StoreSymbols(std::uint8_t* out, std::uint32_t entry) {
    if constexpr (std::endian::native == std::endian::little) {
        const std::uint32_t symbols = entry >> kSymbolShift;
        std::memcpy(out, &symbols, 4);
    } else {
        out[0] = FirstSymbol(entry);
        out[1] = FirstSymbol(entry >> 8);
        out[2] = FirstSymbol(entry >> 16);
    }
}

// The one batch loop of both stages, over the fast paths of N pieces (lanes): while every lane has
// the margin for a batch, steps each lane in turn, so that the work of one overlaps the waits of
// the others, and calls afterBatch(lanes) after each batch. ok[i] turns false when lane i meets what
// only the checked path can report; the loop stops then, and when a lane is out of margin. A lane
// has SafeSteps(), how many steps may run unchecked, and FastStep(). Out of line: inlined into its
// callers, it left the compiler fewer registers for the lanes' state.
template <typename Lane, std::size_t N, typename AfterBatch>
[[gnu::noinline]] void RunBatches(std::array<Lane, N>& lanes, std::array<bool, N>& ok, AfterBatch afterBatch) {
    // Copies that nothing points to, so that the bytes the steps store cannot alias their state.
    std::array<Lane, N> local = lanes;
    std::array<bool, N> good = ok;
    const auto all = [&]<std::size_t... I>(std::index_sequence<I...>) {
        return (good[I] && ...);
    };
    const auto step = [&]<std::size_t... I>(std::index_sequence<I...>) {
        ((good[I] = local[I].FastStep()), ...);
    };
    const auto safeSteps = [&]<std::size_t... I>(std::index_sequence<I...>) {
        return std::min({local[I].SafeSteps()...});
    };
    constexpr auto lanesOf = std::make_index_sequence<N>{};
    while (all(lanesOf)) {
        std::size_t safe = safeSteps(lanesOf);
        if (safe == 0) break;
        do {
            step(lanesOf);
        } while (all(lanesOf) && --safe != 0);
        afterBatch(std::as_const(local));
    }
    lanes = local;
    ok = good;
}

}  // namespace

struct PayloadDecoder::Tables {
    // single: one symbol per slot (the last codes of a stream are read with it); multi: as many
    // whole codes as the slot's bits hold, up to three.
    std::array<std::uint32_t, kPrimarySize> single{};
    std::array<std::uint32_t, kPrimarySize> multi{};
    std::array<std::uint32_t, kMaxSecondarySize> secondary{};
    unsigned maxLength = 0;

    // Gives every slot the first entry, in the sorted order, whose code matches the slot's bits,
    // so the lookup agrees with a linear scan even when one code is a prefix of another.
    void Build(std::span<const CodeEntry> entries) {
        single.fill(0);
        maxLength = 0;
        for (const CodeEntry& e : entries)
            maxLength = std::max<unsigned>(maxLength, e.length);

        // Later entries first, so that earlier (winning) ones overwrite them.
        for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
            if (it->length > kPrimaryBits) continue;
            const unsigned spare = kPrimaryBits - it->length;
            const std::size_t first = std::size_t{it->code} << spare;
            std::fill_n(single.begin() + static_cast<std::ptrdiff_t>(first), std::size_t{1} << spare,
                        SymbolEntry(it->symbol, it->length));
        }

        // Long codes whose first kPrimaryBits bits are not already taken by a short code: one
        // secondary table per such prefix, wide enough for its longest code.
        std::array<std::uint8_t, kPrimarySize> widest{};
        for (const CodeEntry& e : entries) {
            if (e.length <= kPrimaryBits) continue;
            const std::size_t prefix = e.code >> (e.length - kPrimaryBits);
            if (single[prefix] != 0) continue;
            widest[prefix] = std::max<std::uint8_t>(widest[prefix], static_cast<std::uint8_t>(e.length - kPrimaryBits));
        }
        std::size_t used = 0;
        for (std::size_t prefix = 0; prefix < kPrimarySize; ++prefix) {
            if (widest[prefix] == 0) continue;
            const std::size_t size = std::size_t{1} << widest[prefix];
            std::fill_n(secondary.begin() + static_cast<std::ptrdiff_t>(used), size, 0u);
            single[prefix] = SecondaryEntry(widest[prefix], used);
            used += size;
        }
        for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
            if (it->length <= kPrimaryBits) continue;
            const unsigned extra = it->length - kPrimaryBits;
            const std::uint32_t slot = single[it->code >> extra];
            if (!IsSecondary(slot)) continue;  // shadowed by a shorter code
            const unsigned width = EntryLength(slot);
            const std::size_t suffix = it->code & ((1u << extra) - 1);
            const std::size_t first = SecondaryOffset(slot) + (suffix << (width - extra));
            std::fill_n(secondary.begin() + static_cast<std::ptrdiff_t>(first), std::size_t{1} << (width - extra),
                        SymbolEntry(it->symbol, it->length));
        }

        // Further codes in one slot while they fit in its bits. A following code's result only
        // depends on the bits it uses, all of them inside the slot, so the slot those bits start
        // tells it.
        for (std::size_t index = 0; index < kPrimarySize; ++index) {
            std::uint32_t entry = single[index];
            if (SymbolCount(entry) != 0) {
                for (unsigned count = 1; count < kMaxSymbolsPerEntry; ++count) {
                    const unsigned length = EntryLength(entry);
                    const std::uint32_t next = single[(index << length) & (kPrimarySize - 1)];
                    if (SymbolCount(next) == 0 || length + EntryLength(next) > kPrimaryBits) break;
                    entry = (length + EntryLength(next)) | ((count + 1) << kCountShift) |
                            (entry & ~std::uint32_t{0xFF}) |
                            (std::uint32_t{FirstSymbol(next)} << (kSymbolShift + 8 * count));
                }
            }
            multi[index] = entry;
        }
    }
};

// Stage 1's fast path over one code stream: the bit buffer holds the next bits from its top;
// bitsLeft of them are counted. Bits below those are the true following bits or zero, so refilling
// may OR the same bytes in again. Two readers run side by side in DecodeTwo.
struct PayloadDecoder::CodeReader {
    CodeReader() = default;
    CodeReader(const std::uint32_t* multi, const std::uint32_t* secondary, std::span<const std::uint8_t> codes,
               std::span<std::uint8_t> symbols)
        : multi(multi),
          secondary(secondary),
          p(codes.data()),
          end(codes.data() + codes.size()),
          out(symbols.data()),
          outEnd(symbols.data() + symbols.size()) {}

    // How many rounds (steps) may run without a check: each needs kRoundReach payload bytes to
    // load and room for its symbols. A refill leaves at least kRefillBits real bits, enough for its lookups,
    // so a round cannot run past the payload.
    std::size_t SafeSteps() const {
        const auto bytes = static_cast<std::size_t>(end - p);
        if (bytes < kRoundReach) return 0;
        return std::min((bytes - kRoundReach) / kMaxRoundAdvance + 1,
                        static_cast<std::size_t>(outEnd - out) / kSymbolsPerRefill);
    }

    void Refill() {
        bits |= LoadBigEndian(p) >> bitsLeft;
        p += (kBitBufferBits - 1 - bitsLeft) >> 3;
        bitsLeft |= kRefillBits;
    }

    // One refill and its lookups. False at bits that match no code; `out` is then that code's place.
    bool FastStep() {
        Refill();
        for (unsigned step = 0; step < kLookupsPerRefill; ++step) {
            std::uint32_t entry = multi[bits >> (kBitBufferBits - kPrimaryBits)];
            if (entry & kCountMask) {
                StoreSymbols(out, entry);
                out += SymbolCount(entry);
            } else {
                if (entry == 0) return false;
                // The narrow buffer refills for the longer code here, and after it for the lookup
                // that follows.
                if constexpr (kNarrowBuffer) Refill();
                entry = secondary[SecondaryOffset(entry) +
                                  ((bits << kPrimaryBits) >> (kBitBufferBits - EntryLength(entry)))];
                if (!(entry & kCountMask)) return false;
                *out++ = FirstSymbol(entry);
                if constexpr (kNarrowBuffer) {
                    bits <<= EntryLength(entry);
                    bitsLeft -= EntryLength(entry);
                    Refill();
                    continue;
                }
            }
            // The shift is on the critical path from one lookup to the next: no masking beyond
            // what the instruction does (a 32-bit shift takes bits 0-4, the length).
            bits <<= entry & (kNarrowBuffer ? kLengthMask : kShiftMask);
            bitsLeft -= EntryLength(entry);
        }
        return true;
    }

    const std::uint32_t* multi = nullptr;
    const std::uint32_t* secondary = nullptr;
    const std::uint8_t* p = nullptr;
    const std::uint8_t* end = nullptr;
    std::uint8_t* out = nullptr;
    std::uint8_t* outEnd = nullptr;
    BitBuffer bits = 0;
    unsigned bitsLeft = 0;
};

// One token of the intermediate bytes, read from its first byte and the byte after it (which a
// token cut off at the very end finds in the slack). Both readings are made and the kind picks one
// by mask, not by a branch, which would be mispredicted at about every other token.
struct Token {
    std::size_t literal;   // 1 for a literal run, 0 for a match
    std::size_t run;       // the length it has if it is a literal run
    std::size_t length;    // the bytes it appends
    std::size_t size;      // the bytes it takes in the intermediate bytes
    std::size_t distance;  // for a match, how far back it copies from
};

inline Token ReadToken(const std::uint8_t* in) {
    const unsigned c = in[0];
    const std::size_t literal = c >> kRunLengthBits;
    const std::size_t pick = std::size_t{0} - literal;  // all ones for a literal run
    const std::size_t runLength = (c & (kMaxLiteralRun - 1)) + 1;
    const std::size_t matchLength = ((c >> kDistanceHighBits) & ((1u << kMatchLengthBits) - 1)) + kMinMatchLength;
    const std::size_t distance = ((c & ((1u << kDistanceHighBits) - 1)) << 8) | in[1];
    return {literal, runLength, (runLength & pick) | (matchLength & ~pick),
            ((runLength + 1) & pick) | (kMatchTokenBytes & ~pick), distance};
}

// Stage 2 over one piece. While both buffers have the margins for a batch of tokens, no token can
// be cut off or overflow the piece, and only a match's distance needs checking; a bad one is left
// to the checked loop of FinishExpand, which reports it. The block copies reach at most
// kOverCopy - 1 bytes past the batch's last token, into the next tokens or the slack.
struct PayloadDecoder::TokenWriter {
    TokenWriter() = default;
    TokenWriter(std::span<const std::uint8_t> tokens, std::span<std::uint8_t> piece)
        : in(tokens.data()),
          inEnd(tokens.data() + tokens.size()),
          outBegin(piece.data()),
          out(piece.data()),
          outEnd(piece.data() + piece.size()) {}

    std::size_t SafeSteps() const {
        return std::min({static_cast<std::size_t>(inEnd - in) / kTokenReadMargin,
                         static_cast<std::size_t>(outEnd - out) / kTokenWriteMargin, kBatch});
    }

    // One token. False, with nothing written, for a match that reaches back before the piece.
    bool FastStep() {
        // Both kinds of token are a copy of up to kOverCopy bytes from a source: the token's own
        // bytes for a literal run, the output `distance` back for a match. Only long literal runs
        // and matches that overlap what they write, or reach too far back, take the rare branch.
        const Token t = ReadToken(in);
        const std::size_t pick = std::size_t{0} - t.literal;
        const std::size_t produced = static_cast<std::size_t>(out - outBegin);
        // Distance 0 wraps around and counts as reaching too far back.
        const bool farOrOverlapping = (t.distance - 1 >= produced) | (t.distance < t.length);
        // One test of both kinds' conditions, by bit operations: a branch on the kind here is
        // the branch the mask avoids.
        const bool longRun = t.run > kOverCopy;
        if (((t.literal != 0) & longRun) | ((t.literal == 0) & farOrOverlapping)) [[unlikely]] {
            if (t.literal != 0) {
                for (std::size_t i = 0; i < t.length; i += kOverCopy)
                    std::memcpy(out + i, in + 1 + i, kOverCopy);
            } else {
                if (t.distance - 1 >= produced) return false;
                CopyMatch(out, t.distance, t.length);
            }
        } else {
            // Loaded whole before it is stored: a match may read bytes past `out` that the store
            // replaces, but only its first `length` bytes count, and those lie before `out`.
            const std::uintptr_t from = (reinterpret_cast<std::uintptr_t>(in + 1) & pick) |
                                        (reinterpret_cast<std::uintptr_t>(out - t.distance) & ~pick);
            std::uint8_t block[kOverCopy];
            std::memcpy(block, reinterpret_cast<const std::uint8_t*>(from), kOverCopy);
            std::memcpy(out, block, kOverCopy);
        }
        in += t.size;
        out += t.length;
        return true;
    }

    const std::uint8_t* in = nullptr;
    const std::uint8_t* inEnd = nullptr;
    std::uint8_t* outBegin = nullptr;
    std::uint8_t* out = nullptr;
    std::uint8_t* outEnd = nullptr;
};

// The CRC-32 follows the output in blocks that are still in the first-level cache: after each
// batch of tokens once kCrcBlock bytes are new. The bytes before the writer's `out` are final.
struct PayloadDecoder::CrcFollower {
    CrcFollower() = default;
    CrcFollower(std::uint32_t crc, const std::uint8_t* start) : crc(crc), done(start) {}
    void FoldBlock(const std::uint8_t* out) {
        if (static_cast<std::size_t>(out - done) >= kCrcBlock) Fold(out);
    }
    void Fold(const std::uint8_t* out) {
        crc = Crc32Update(crc, {done, out});
        done = out;
    }
    std::uint32_t crc = kCrc32Initial;
    const std::uint8_t* done = nullptr;
};

std::string_view Describe(DecodeError error) {
    return TextOf(error).reason;
}

PayloadDecoder::PayloadDecoder() = default;
PayloadDecoder::~PayloadDecoder() = default;

std::span<const std::uint8_t> PayloadDecoder::Output() const {
    return {output_.data(), outputSize_};
}

std::span<const std::uint8_t> PayloadDecoder::Intermediate() const {
    return {intermediate_.data(), intermediateSize_};
}

std::string PayloadDecoder::FailureReason() const {
    const ErrorText text = TextOf(failure_);
    std::string line(text.reason);
    if (!text.where.empty()) {
        line += ' ';
        line += text.where;
        line += ' ';
        line += std::to_string(failurePosition_);
    }
    return line;
}

void PayloadDecoder::Reset() {
    entries_.clear();
    intermediateSize_ = 0;
    outputSize_ = 0;
    failure_ = DecodeError::kNone;
    failurePosition_ = 0;
}

DecodeError PayloadDecoder::Fail(DecodeError error, std::size_t position) {
    failure_ = error;
    failurePosition_ = position;
    return error;
}

DecodeError PayloadDecoder::Decode(std::span<const std::uint8_t> payload) {
    return DecodePieces<1>({this}, {payload}, nullptr).error;
}

DecodeError PayloadDecoder::Decode(std::span<const std::uint8_t> payload, std::uint32_t& crc) {
    return DecodePieces<1>({this}, {payload}, &crc).error;
}

PayloadDecoder::PairResult PayloadDecoder::DecodeTwo(PayloadDecoder& first, std::span<const std::uint8_t> a,
                                                     PayloadDecoder& second, std::span<const std::uint8_t> b,
                                                     std::uint32_t* crc) {
    return DecodePieces<2>({&first, &second}, {a, b}, crc);
}

template <std::size_t N>
PayloadDecoder::PairResult PayloadDecoder::DecodePieces(const std::array<PayloadDecoder*, N>& decoders,
                                                        const std::array<std::span<const std::uint8_t>, N>& payloads,
                                                        std::uint32_t* crc) {
    std::array<DecodeError, N> errors{};
    std::array<CodeReader, N> readers;
    for (std::size_t i = 0; i < N; ++i) {
        PayloadDecoder& d = *decoders[i];
        d.Reset();
        std::size_t start = 0;
        errors[i] = d.ReadSymbolTable(payloads[i], start);
        if (errors[i] == DecodeError::kNone) errors[i] = d.BeginCodes(payloads[i], start, readers[i]);
    }

    // Stage 1 of all pieces side by side while all have the fast path's margin: their lookup chains
    // are independent, so the processor runs one while another waits for its table.
    std::array<bool, N> matched;
    matched.fill(true);
    if constexpr (N > 1) {
        if (std::ranges::all_of(errors, [](DecodeError e) { return e == DecodeError::kNone; })) {
            RunBatches(readers, matched, [](const auto&) {});
        }
    }

    // The rest of stage 1 one piece after the other; a fault stops everything after it, as when the
    // pieces are decoded in turn. The pieces before it are still expanded, for their output and
    // the CRC-32.
    std::size_t failed = N;
    for (std::size_t i = 0; i < N && failed == N; ++i) {
        if (errors[i] == DecodeError::kNone) errors[i] = decoders[i]->FinishCodes(payloads[i], readers[i], matched[i]);
        if (errors[i] != DecodeError::kNone) failed = i;
    }
    if (failed == N) return ExpandPieces<N>(decoders, crc);
    for (std::size_t i = 0; i < N; ++i) {
        const DecodeError error = i < failed ? ExpandPieces<1>({decoders[i]}, crc).error : errors[failed];
        if (error == DecodeError::kNone) continue;
        for (std::size_t j = i + 1; j < N; ++j)
            decoders[j]->Reset();
        return {error, i};
    }
    return {};
}

template <std::size_t N>
PayloadDecoder::PairResult PayloadDecoder::ExpandPieces(const std::array<PayloadDecoder*, N>& decoders,
                                                        std::uint32_t* crc) {
    std::array<TokenWriter, N> writers;
    for (std::size_t i = 0; i < N; ++i) {
        const DecodeError begin = decoders[i]->BeginExpand(writers[i]);
        if (begin == DecodeError::kNone) continue;
        if constexpr (N == 1) {
            return {begin, 0};
        } else {
            // Out of memory: one after the other, so that the failure is the one that order gives.
            for (std::size_t k = 0; k < N; ++k) {
                const PairResult alone = ExpandPieces<1>({decoders[k]}, crc);
                if (alone.error != DecodeError::kNone) {
                    for (std::size_t j = k + 1; j < N; ++j)
                        decoders[j]->Reset();
                    return {alone.error, k};
                }
            }
            return {};
        }
    }

    // Stage 2 of all pieces side by side while all have a batch's margin. The CRC-32 of every piece
    // after the first starts from nothing and is joined to the ones before it at the end.
    std::array<CrcFollower, N> followers;
    for (std::size_t i = 0; i < N; ++i)
        followers[i] = CrcFollower(i == 0 && crc != nullptr ? *crc : kCrc32Initial, writers[i].outBegin);
    std::array<bool, N> fast;
    fast.fill(true);
    if constexpr (N > 1) {
        RunBatches(writers, fast, [&](const std::array<TokenWriter, N>& lanes) {
            if (crc == nullptr) return;
            for (std::size_t i = 0; i < N; ++i)
                followers[i].FoldBlock(lanes[i].out);
        });
    }

    for (std::size_t i = 0; i < N; ++i) {
        PayloadDecoder& d = *decoders[i];
        const DecodeError error = d.FinishExpand(writers[i], fast[i], crc != nullptr ? &followers[i] : nullptr);
        if (error != DecodeError::kNone) {
            for (std::size_t j = i + 1; j < N; ++j)
                decoders[j]->Reset();
            return {error, i};
        }
        if (crc != nullptr) *crc = i == 0 ? followers[0].crc : Crc32Combine(*crc, followers[i].crc, d.outputSize_);
    }
    return {};
}

DecodeError PayloadDecoder::ReadSymbolTable(std::span<const std::uint8_t> payload, std::size_t& codeStreamStart) {
    try {
        entries_.reserve(256);  // so that no push_back below can throw
    } catch (const std::bad_alloc&) {
        return Fail(DecodeError::kOutOfMemory, 0);
    }
    BitCursor cursor(payload);
    for (unsigned value = 0; value < 256; ++value) {
        std::uint32_t present = 0;
        std::uint32_t length = 0;
        std::uint32_t code = 0;
        if (!cursor.Read(1, present)) return Fail(DecodeError::kTruncatedSymbolTable, cursor.Bit());
        if (!present) continue;
        if (!cursor.Read(4, length)) return Fail(DecodeError::kTruncatedSymbolTable, cursor.Bit());
        if (length == 0) length = kMaxCodeLength;
        if (!cursor.Read(length, code)) return Fail(DecodeError::kTruncatedSymbolTable, cursor.Bit());
        entries_.push_back(
            {static_cast<std::uint8_t>(length), static_cast<std::uint16_t>(code), static_cast<std::uint8_t>(value)});
    }
    if (entries_.size() < 2) return Fail(DecodeError::kTooFewSymbols, entries_.size());
    // Entries arrive in byte-value order; a stable sort by length keeps it within one length.
    std::stable_sort(entries_.begin(), entries_.end(),
                     [](const CodeEntry& a, const CodeEntry& b) { return a.length < b.length; });

    const std::size_t lengthField = (cursor.Bit() + 7) / 8;  // skip the rest of a partly read byte
    if (payload.size() - lengthField < 4) return Fail(DecodeError::kTruncatedLength, payload.size());
    codeStreamStart = lengthField + 4;
    return DecodeError::kNone;
}

bool PayloadDecoder::PrepareIntermediate(std::size_t size) {
    try {
        if (intermediate_.size() < size + kSlack) intermediate_.resize(size + kSlack);
    } catch (const std::bad_alloc&) {
        return false;
    }
    std::fill_n(intermediate_.begin() + static_cast<std::ptrdiff_t>(size), kSlack, std::uint8_t{0});
    return true;
}

DecodeError PayloadDecoder::BeginCodes(std::span<const std::uint8_t> payload, std::size_t codeStreamStart,
                                       CodeReader& reader) {
    const std::uint8_t* lengthBytes = payload.data() + codeStreamStart - 4;
    const std::uint32_t count = lengthBytes[0] | (std::uint32_t{lengthBytes[1]} << 8) |
                                (std::uint32_t{lengthBytes[2]} << 16) | (std::uint32_t{lengthBytes[3]} << 24);
    if (count == 0) return Fail(DecodeError::kNoCodes, 0);
    // Every token yields at least half as many bytes as it occupies (a 2-byte match at least 3,
    // a run of n + 1 bytes n), so a longer token stream cannot fit the output buffer.
    if (count > 2 * kMaxPieceSize) return Fail(DecodeError::kTooManyCodes, count);

    if (!tables_) {
        try {
            tables_ = std::make_unique<Tables>();
        } catch (const std::bad_alloc&) {
            return Fail(DecodeError::kOutOfMemory, 0);
        }
    }
    if (!PrepareIntermediate(count)) return Fail(DecodeError::kOutOfMemory, 0);
    tables_->Build(entries_);
    intermediateSize_ = count;
    reader = CodeReader(tables_->multi.data(), tables_->secondary.data(), payload.subspan(codeStreamStart),
                        {intermediate_.data(), count});
    return DecodeError::kNone;
}

DecodeError PayloadDecoder::FinishCodes(std::span<const std::uint8_t> payload, CodeReader reader, bool matched) {
    std::array<CodeReader, 1> lane{reader};
    std::array<bool, 1> ok{matched};
    RunBatches(lane, ok, [](const auto&) {});
    reader = lane[0];
    matched = ok[0];

    const std::uint8_t* const data = payload.data();
    const std::size_t size = payload.size();
    std::uint8_t* const outBegin = intermediate_.data();
    std::uint8_t* const outEnd = outBegin + intermediateSize_;
    std::uint8_t* out = reader.out;
    if (!matched) {
        // Inside the fast path at least 16 real bits follow, so this is never the payload's end.
        intermediateSize_ = static_cast<std::size_t>(out - outBegin);
        return Fail(DecodeError::kNoMatchingCode, intermediateSize_);
    }

    // The last codes: one at a time, reading zeros past the end of the payload and checking each
    // code against the bits that really exist.
    const std::uint32_t* const single = tables_->single.data();
    const std::uint32_t* const secondary = tables_->secondary.data();
    // A 64-bit buffer on every target, topped up a byte at a time while a whole byte fits.
    using TailBuffer = std::uint64_t;
    constexpr unsigned kTailBits = std::numeric_limits<TailBuffer>::digits;
    constexpr unsigned kTopUpBelow = kTailBits - 8;
    static_assert(kTopUpBelow >= kMaxCodeLength && kTailBits >= kBitBufferBits);
    TailBuffer bits = TailBuffer{reader.bits} << (kTailBits - kBitBufferBits);
    unsigned bitsLeft = reader.bitsLeft;
    const std::uint64_t totalBits = std::uint64_t{size} * 8;
    std::size_t next = static_cast<std::size_t>(reader.p - data);
    while (out < outEnd) {
        while (bitsLeft <= kTopUpBelow) {
            const TailBuffer byte = next < size ? data[next] : 0;
            bits |= byte << (kTopUpBelow - bitsLeft);
            ++next;
            bitsLeft += 8;
        }
        const std::uint64_t position = std::uint64_t{next} * 8 - bitsLeft;
        std::uint32_t entry = single[bits >> (kTailBits - kPrimaryBits)];
        if (IsSecondary(entry)) {
            entry = secondary[SecondaryOffset(entry) + ((bits << kPrimaryBits) >> (kTailBits - EntryLength(entry)))];
        }
        if (!(entry & kCountMask)) {
            // A scan over the table would have needed the longest code's bits before giving up.
            const bool pastEnd = position + tables_->maxLength > totalBits;
            intermediateSize_ = static_cast<std::size_t>(out - outBegin);
            return Fail(pastEnd ? DecodeError::kCodesPastEnd : DecodeError::kNoMatchingCode, intermediateSize_);
        }
        const unsigned used = EntryLength(entry);
        if (position + used > totalBits) {
            intermediateSize_ = static_cast<std::size_t>(out - outBegin);
            return Fail(DecodeError::kCodesPastEnd, intermediateSize_);
        }
        *out++ = static_cast<std::uint8_t>(entry >> 8);
        bits <<= used;
        bitsLeft -= used;
    }
    return DecodeError::kNone;
}

DecodeError PayloadDecoder::BeginExpand(TokenWriter& writer) {
    outputSize_ = 0;
    if (output_.empty()) {
        try {
            output_.resize(kMaxPieceSize + kSlack);
        } catch (const std::bad_alloc&) {
            return Fail(DecodeError::kOutOfMemory, 0);
        }
    }
    if (intermediate_.size() < intermediateSize_ + kSlack) return Fail(DecodeError::kOutOfMemory, 0);
    writer = TokenWriter({intermediate_.data(), intermediateSize_}, {output_.data(), kMaxPieceSize});
    return DecodeError::kNone;
}

DecodeError PayloadDecoder::FinishExpand(TokenWriter writer, bool fast, CrcFollower* follower) {
    std::array<TokenWriter, 1> lane{writer};
    std::array<bool, 1> ok{fast};
    RunBatches(lane, ok, [follower](const std::array<TokenWriter, 1>& lanes) {
        if (follower != nullptr) follower->FoldBlock(lanes[0].out);
    });
    writer = lane[0];

    // The last tokens: each is checked whole, as differences of pointers inside one buffer, before
    // the fast path's step copies it; a failure names the token's place in the intermediate bytes.
    const std::uint8_t* const inBegin = intermediate_.data();
    while (writer.in < writer.inEnd) {
        const Token t = ReadToken(writer.in);
        const auto failAtToken = [&](DecodeError error) {
            return Fail(error, static_cast<std::size_t>(writer.in - inBegin));
        };
        if (t.size > static_cast<std::size_t>(writer.inEnd - writer.in)) {
            return failAtToken(t.literal != 0 ? DecodeError::kTruncatedLiteralRun : DecodeError::kTruncatedMatch);
        }
        if (t.literal == 0) {
            if (t.distance == 0) return failAtToken(DecodeError::kZeroDistance);
            if (t.distance > static_cast<std::size_t>(writer.out - writer.outBegin)) {
                return failAtToken(DecodeError::kDistanceBeforeStart);
            }
        }
        if (t.length > static_cast<std::size_t>(writer.outEnd - writer.out)) {
            return failAtToken(DecodeError::kPieceTooLarge);
        }
        writer.FastStep();  // the checks above leave it nothing to refuse
    }
    outputSize_ = static_cast<std::size_t>(writer.out - writer.outBegin);
    if (follower != nullptr) follower->Fold(writer.out);
    return DecodeError::kNone;
}

}  // namespace updater::patch
