#include "patch/payload_decoder.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <new>
#include <type_traits>

#include "patch/crc32.h"

namespace updater::patch {
namespace {

// The token stream: a literal run is a header byte 0x80 | (n - 1) and n bytes; a match is two bytes,
// 3 bits of length - 3 and 12 bits of distance.
constexpr std::size_t kMaxLiteralRun = 128;
constexpr std::size_t kMatchTokenBytes = 2;
constexpr std::size_t kMinMatchLength = 3;
constexpr std::size_t kMaxMatchLength = kMinMatchLength + 7;
constexpr std::size_t kMaxDistance = 4095;

// The largest token in the intermediate bytes and the most output one token can make.
constexpr std::size_t kLargestToken = 1 + kMaxLiteralRun;
constexpr std::size_t kLargestExpansion = std::max(kMaxLiteralRun, kMaxMatchLength);
static_assert(kLargestToken == 129 && kLargestExpansion == 128);
// Every token makes at least half as many bytes as it takes (a run of n + 1 bytes n, a match of 2
// at least 3), so a stream of more than twice the largest piece cannot fit it.
static_assert(kMatchTokenBytes <= 2 * kMinMatchLength);

// The hot loops copy whole blocks: a short literal run or a match is one kOverCopy-byte copy, a
// long run one per kOverCopy bytes, and a match one or two 8-byte steps (CopyMatch).
constexpr std::size_t kOverCopy = 16;
static_assert(kMaxMatchLength <= kOverCopy, "a match that does not overlap is one block");
static_assert(kMaxLiteralRun % kOverCopy == 0, "a long run's blocks end where its token ends");
static_assert(kMaxDistance < std::size_t{1} << 12);

// Stage 2 runs in batches of tokens, after each of which the CRC-32 may follow the output.
constexpr std::size_t kCrcBlock = 8192;
constexpr std::size_t kBatch = kCrcBlock / kLargestExpansion;

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
constexpr std::uint32_t kLengthMask = 31;
constexpr std::uint32_t kShiftMask = 63;
constexpr std::uint32_t kCountShift = 6;
constexpr std::uint32_t kCountMask = 3u << kCountShift;
constexpr unsigned kMaxSymbolsPerEntry = 3;
static_assert(kMaxCodeLength <= kLengthMask, "a length fits in bits 0-4");
static_assert(kLengthMask == 31 && kShiftMask == 63 && kCountShift == 6,
              "a 64-bit shift by the entry takes bits 0-5: the length and the clear bit 5");
static_assert(kMaxSymbolsPerEntry <= kCountMask >> kCountShift && 8 + 8 * kMaxSymbolsPerEntry <= 32);

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
static_assert(kLoadBytes == kMaxRefillAdvance + 1 && kRoundReach > kMaxRoundAdvance);
static_assert(kNarrowBuffer ? kRoundReach == 16 && kMaxRoundAdvance == 15 : kRoundReach == 8 && kMaxRoundAdvance == 7);
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
    return length | (1u << kCountShift) | (std::uint32_t{symbol} << 8);
}
constexpr std::uint32_t SecondaryEntry(unsigned width, std::size_t offset) {
    return width | (static_cast<std::uint32_t>(offset) << 8);
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
constexpr std::size_t SecondaryOffset(std::uint32_t entry) {
    return (entry >> 8) & 0xFFFF;
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
    std::string_view where;  // what FailurePosition counts, or "" when it says nothing useful
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
        case DecodeError::kNoIntermediate:
            return {"stage 2 has no complete output of stage 1 to expand", ""};
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
        const std::uint32_t symbols = entry >> 8;
        std::memcpy(out, &symbols, 4);
    } else {
        out[0] = static_cast<std::uint8_t>(entry >> 8);
        out[1] = static_cast<std::uint8_t>(entry >> 16);
        out[2] = static_cast<std::uint8_t>(entry >> 24);
    }
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
                    entry = (length + EntryLength(next)) | ((count + 1) << kCountShift) | (entry & 0xFFFFFF00u) |
                            ((next >> 8) << (8 + 8 * count));
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

    // How many rounds may run without a check: each needs kRoundReach payload bytes to load and
    // room for its symbols. A refill leaves at least kRefillBits real bits, enough for its lookups,
    // so a round cannot run past the payload.
    std::size_t SafeRounds() const {
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
    bool FastRound() {
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
                *out++ = static_cast<std::uint8_t>(entry >> 8);
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

// Stage 2's fast path over one piece. While both buffers have room for a batch of the largest
// tokens, no token can be cut off or overflow the piece, and only a match's distance needs
// checking; a bad one is left to the checked loop of FinishExpand, which reports it. The block
// copies reach at most kOverCopy - 1 bytes past the batch's last token, into the next tokens or the
// slack.
struct PayloadDecoder::TokenWriter {
    TokenWriter() = default;
    TokenWriter(std::span<const std::uint8_t> tokens, std::span<std::uint8_t> piece)
        : in(tokens.data()),
          inEnd(tokens.data() + tokens.size()),
          outBegin(piece.data()),
          out(piece.data()),
          outEnd(piece.data() + piece.size()) {}

    std::size_t SafeTokens() const {
        return std::min({static_cast<std::size_t>(inEnd - in) / kLargestToken,
                         static_cast<std::size_t>(outEnd - out) / kLargestExpansion, kBatch});
    }

    // One token. False, with nothing written, for a match that reaches back before the piece.
    bool FastToken() {
        // Both kinds of token are a copy of up to kOverCopy bytes from a source: the token's own
        // bytes for a literal run, the output `distance` back for a match. The kind is chosen by
        // mask, not by a branch, which would be mispredicted at about every other token. Only long
        // literal runs and matches that overlap what they write, or reach too far back, take the
        // rare branch.
        const unsigned c = in[0];
        const std::size_t literal = c >> 7;
        const std::size_t pick = std::size_t{0} - literal;  // all ones for a literal run
        const std::size_t distance = ((c & 0x0F) << 8) | in[1];
        const std::size_t runLength = (c & 0x7F) + 1;
        const std::size_t matchLength = ((c >> 4) & 7) + kMinMatchLength;
        const std::size_t length = (runLength & pick) | (matchLength & ~pick);
        const std::size_t advance = ((runLength + 1) & pick) | (kMatchTokenBytes & ~pick);
        const std::size_t produced = static_cast<std::size_t>(out - outBegin);
        // Distance 0 wraps around and counts as reaching too far back.
        const bool farOrOverlapping = (distance - 1 >= produced) | (distance < length);
        if ((literal != 0 && runLength > kOverCopy) | (literal == 0 && farOrOverlapping)) [[unlikely]] {
            if (literal != 0) {
                for (std::size_t i = 0; i < length; i += kOverCopy)
                    std::memcpy(out + i, in + 1 + i, kOverCopy);
            } else {
                if (distance - 1 >= produced) return false;
                CopyMatch(out, distance, length);
            }
        } else {
            // Loaded whole before it is stored: a match may read bytes past `out` that the store
            // replaces, but only its first `length` bytes count, and those lie before `out`.
            const std::uintptr_t from = (reinterpret_cast<std::uintptr_t>(in + 1) & pick) |
                                        (reinterpret_cast<std::uintptr_t>(out - distance) & ~pick);
            std::uint8_t block[kOverCopy];
            std::memcpy(block, reinterpret_cast<const std::uint8_t*>(from), kOverCopy);
            std::memcpy(out, block, kOverCopy);
        }
        in += advance;
        out += length;
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
    CrcFollower(std::uint32_t crc, const std::uint8_t* start) : crc(crc), done(start) {}
    void FoldBlock(const std::uint8_t* out) {
        if (static_cast<std::size_t>(out - done) >= kCrcBlock) Fold(out);
    }
    void Fold(const std::uint8_t* out) {
        crc = Crc32Update(crc, {done, out});
        done = out;
    }
    std::uint32_t crc;
    const std::uint8_t* done;
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
    intermediateComplete_ = false;
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
    const DecodeError stage1 = RunStage1(payload);
    if (stage1 != DecodeError::kNone) return stage1;
    return Expand(nullptr);
}

DecodeError PayloadDecoder::Decode(std::span<const std::uint8_t> payload, std::uint32_t& crc) {
    const DecodeError stage1 = RunStage1(payload);
    if (stage1 != DecodeError::kNone) return stage1;
    return Expand(&crc);
}

PayloadDecoder::PairResult PayloadDecoder::DecodeTwo(PayloadDecoder& first, std::span<const std::uint8_t> a,
                                                     PayloadDecoder& second, std::span<const std::uint8_t> b,
                                                     std::uint32_t* crc) {
    first.Reset();
    second.Reset();
    std::size_t startA = 0;
    std::size_t startB = 0;
    CodeReader readerA;
    CodeReader readerB;
    DecodeError errorA = first.ReadSymbolTable(a, startA);
    if (errorA == DecodeError::kNone) errorA = first.BeginCodes(a, startA, readerA);
    DecodeError errorB = second.ReadSymbolTable(b, startB);
    if (errorB == DecodeError::kNone) errorB = second.BeginCodes(b, startB, readerB);

    // Stage 1 of both while both have the fast path's margin: the two lookup chains are independent,
    // so the processor runs one while the other waits for its table.
    bool matchedA = true;
    bool matchedB = true;
    if (errorA == DecodeError::kNone && errorB == DecodeError::kNone) {
        CodeReader x = readerA;  // copies that nothing points to, as in FinishCodes
        CodeReader y = readerB;
        while (matchedA && matchedB) {
            std::size_t rounds = std::min(x.SafeRounds(), y.SafeRounds());
            if (rounds == 0) break;
            do {
                matchedA = x.FastRound();
                matchedB = y.FastRound();
            } while (matchedA && matchedB && --rounds != 0);
        }
        readerA = x;
        readerB = y;
    }

    // The rest of stage 1 one piece after the other; a fault of the first stops everything, one of
    // the second comes after the whole first piece, as when the pieces are decoded in turn.
    if (errorA == DecodeError::kNone) errorA = first.FinishCodes(a, readerA, matchedA);
    if (errorA == DecodeError::kNone && errorB == DecodeError::kNone) errorB = second.FinishCodes(b, readerB, matchedB);
    if (errorA == DecodeError::kNone && errorB == DecodeError::kNone) return ExpandTwo(first, second, crc);
    if (errorA == DecodeError::kNone) errorA = first.Expand(crc);
    if (errorA != DecodeError::kNone) {
        second.Reset();
        return {errorA, 0};
    }
    return {errorB, 1};
}

PayloadDecoder::PairResult PayloadDecoder::ExpandTwo(PayloadDecoder& first, PayloadDecoder& second,
                                                     std::uint32_t* crc) {
    TokenWriter x;
    TokenWriter y;
    if (first.BeginExpand(x) != DecodeError::kNone || second.BeginExpand(y) != DecodeError::kNone) {
        // Out of memory: one after the other, so that the failure is the one that order gives.
        const DecodeError errorA = first.Expand(crc);
        if (errorA != DecodeError::kNone) {
            second.Reset();
            return {errorA, 0};
        }
        const DecodeError errorB = second.Expand(crc);
        return {errorB, errorB == DecodeError::kNone ? std::size_t{0} : std::size_t{1}};
    }

    // Stage 2 of both while both have a batch's margin, a token of one and then of the other. The
    // second piece's CRC-32 starts from nothing and is joined to the first's at the end.
    CrcFollower followA(crc != nullptr ? *crc : kCrc32Initial, x.outBegin);
    CrcFollower followB(kCrc32Initial, y.outBegin);
    bool fastA = true;
    bool fastB = true;
    TokenWriter u = x;  // copies that nothing points to, as in FinishCodes
    TokenWriter v = y;
    for (;;) {
        std::size_t safe = std::min(u.SafeTokens(), v.SafeTokens());
        if (safe == 0) break;
        do {
            fastA = u.FastToken();
            fastB = v.FastToken();
        } while (fastA && fastB && --safe != 0);
        if (crc != nullptr) {
            followA.FoldBlock(u.out);
            followB.FoldBlock(v.out);
        }
        if (!fastA || !fastB) break;
    }
    x = u;
    y = v;

    const DecodeError errorA = first.FinishExpand(x, fastA, crc != nullptr ? &followA : nullptr);
    if (errorA != DecodeError::kNone) {
        second.Reset();
        return {errorA, 0};
    }
    if (crc != nullptr) *crc = followA.crc;
    const DecodeError errorB = second.FinishExpand(y, fastB, crc != nullptr ? &followB : nullptr);
    if (errorB != DecodeError::kNone) return {errorB, 1};
    if (crc != nullptr) *crc = Crc32Combine(*crc, followB.crc, second.outputSize_);
    return {};
}

DecodeError PayloadDecoder::RunStage1(std::span<const std::uint8_t> payload) {
    Reset();
    std::size_t codeStreamStart = 0;
    const DecodeError table = ReadSymbolTable(payload, codeStreamStart);
    if (table != DecodeError::kNone) return table;
    CodeReader reader;
    const DecodeError begin = BeginCodes(payload, codeStreamStart, reader);
    if (begin != DecodeError::kNone) return begin;
    return FinishCodes(payload, reader, true);
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
    // `reader` is a copy that nothing points to, so the stores of symbols cannot alias its state.
    while (matched) {
        std::size_t rounds = reader.SafeRounds();
        if (rounds == 0) break;
        do {
            matched = reader.FastRound();
        } while (matched && --rounds != 0);
    }

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
    std::uint64_t bits = std::uint64_t{reader.bits} << (64 - kBitBufferBits);
    unsigned bitsLeft = reader.bitsLeft;
    const std::uint64_t totalBits = std::uint64_t{size} * 8;
    std::size_t next = static_cast<std::size_t>(reader.p - data);
    while (out < outEnd) {
        while (bitsLeft <= 56) {
            const std::uint64_t byte = next < size ? data[next] : 0;
            bits |= byte << (56 - bitsLeft);
            ++next;
            bitsLeft += 8;
        }
        const std::uint64_t position = std::uint64_t{next} * 8 - bitsLeft;
        std::uint32_t entry = single[bits >> (64 - kPrimaryBits)];
        if (IsSecondary(entry)) {
            entry = secondary[SecondaryOffset(entry) + ((bits << kPrimaryBits) >> (64 - EntryLength(entry)))];
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
    intermediateComplete_ = true;
    return DecodeError::kNone;
}

DecodeError PayloadDecoder::ExpandTokens(std::span<const std::uint8_t> tokens) {
    Reset();
    if (!PrepareIntermediate(tokens.size())) return Fail(DecodeError::kOutOfMemory, 0);
    std::copy(tokens.begin(), tokens.end(), intermediate_.begin());
    intermediateSize_ = tokens.size();
    intermediateComplete_ = true;
    return RunStage2();
}

DecodeError PayloadDecoder::RunStage2() {
    return Expand(nullptr);
}

DecodeError PayloadDecoder::BeginExpand(TokenWriter& writer) {
    outputSize_ = 0;
    // Without stage 1 (or after it failed) there is nothing whole to expand.
    if (!intermediateComplete_) return Fail(DecodeError::kNoIntermediate, 0);
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

DecodeError PayloadDecoder::Expand(std::uint32_t* crc) {
    TokenWriter writer;
    const DecodeError begin = BeginExpand(writer);
    if (begin != DecodeError::kNone) return begin;
    CrcFollower follower(crc != nullptr ? *crc : kCrc32Initial, writer.outBegin);
    const DecodeError error = FinishExpand(writer, true, crc != nullptr ? &follower : nullptr);
    if (error == DecodeError::kNone && crc != nullptr) *crc = follower.crc;
    return error;
}

DecodeError PayloadDecoder::FinishExpand(TokenWriter writer, bool fast, CrcFollower* follower) {
    // `writer` is a copy that nothing points to, as in FinishCodes.
    while (fast) {
        std::size_t safe = writer.SafeTokens();
        if (safe == 0) break;
        do {
            fast = writer.FastToken();
        } while (fast && --safe != 0);
        if (follower != nullptr) follower->FoldBlock(writer.out);
    }

    // Each token is checked whole, as differences of pointers inside one buffer; after that its
    // bytes are copied without further checks, in blocks that may spill into the slack behind
    // either buffer.
    const std::uint8_t* const inBegin = intermediate_.data();
    const std::uint8_t* const inEnd = writer.inEnd;
    const std::uint8_t* in = writer.in;
    std::uint8_t* const outBegin = writer.outBegin;
    std::uint8_t* const outEnd = writer.outEnd;
    std::uint8_t* out = writer.out;
    while (in < inEnd) {
        const std::uint8_t* const token = in;
        // A failure names the token's place in the intermediate bytes.
        const auto failAtToken = [&](DecodeError error) {
            return Fail(error, static_cast<std::size_t>(token - inBegin));
        };
        const unsigned c = *in++;
        if (c & 0x80) {
            const std::size_t length = (c & 0x7F) + 1;
            if (length > static_cast<std::size_t>(inEnd - in)) {
                return failAtToken(DecodeError::kTruncatedLiteralRun);
            }
            if (length > static_cast<std::size_t>(outEnd - out)) {
                return failAtToken(DecodeError::kPieceTooLarge);
            }
            for (std::size_t i = 0; i < length; i += kOverCopy)
                std::memcpy(out + i, in + i, kOverCopy);
            in += length;
            out += length;
        } else {
            if (in == inEnd) return failAtToken(DecodeError::kTruncatedMatch);
            const std::size_t distance = ((c & 0x0F) << 8) | *in++;
            const std::size_t length = ((c >> 4) & 7) + kMinMatchLength;
            if (distance == 0) return failAtToken(DecodeError::kZeroDistance);
            if (distance > static_cast<std::size_t>(out - outBegin)) {
                return failAtToken(DecodeError::kDistanceBeforeStart);
            }
            if (length > static_cast<std::size_t>(outEnd - out)) {
                return failAtToken(DecodeError::kPieceTooLarge);
            }
            CopyMatch(out, distance, length);
            out += length;
        }
    }
    outputSize_ = static_cast<std::size_t>(out - outBegin);
    if (follower != nullptr) follower->Fold(out);
    return DecodeError::kNone;
}

}  // namespace updater::patch
