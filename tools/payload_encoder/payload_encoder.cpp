#include "payload_encoder/payload_encoder.h"

#include <algorithm>
#include <array>
#include <limits>

#include "payload_encoder/prefix_code.h"

namespace updater::tools {
namespace {

// Token stream limits of the format.
constexpr std::size_t kMaxLiteralRun = 128;  // header 0x80 | (n - 1)
constexpr std::size_t kMinMatch = 3;
constexpr std::size_t kMaxMatch = 10;
constexpr std::size_t kMaxDistance = 4095;

// Match finder: hash chains over three-byte prefixes. The window is only 4,095 bytes, so the
// chain links fit a ring of 4,096 entries.
constexpr std::size_t kHashBits = 16;
constexpr std::size_t kRing = 4096;
// How many earlier positions are tried per position: deeper searches gained under 0.1% on
// program-like data and cost time in proportion.
constexpr int kMaxChain = 96;
// In a run every distance gives the longest match; after this many of those the chain is left.
constexpr int kMaxFullLength = 12;

// Parse and re-parse with the code the previous parse produced; the smallest result wins.
constexpr int kParses = 3;

constexpr std::uint32_t kInfinity = std::numeric_limits<std::uint32_t>::max() / 2;

// The price in bits of each intermediate byte value under the code in force.
using SymbolCosts = std::array<std::uint32_t, 256>;

std::uint8_t MatchCommand(std::size_t length, std::size_t distance) {
    return static_cast<std::uint8_t>(((length - kMinMatch) << 4) | (distance >> 8));
}

std::uint32_t Hash3(const std::uint8_t* p) {
    const std::uint32_t v = static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
                            (static_cast<std::uint32_t>(p[2]) << 16);
    return (v * 2654435761u) >> (32 - kHashBits);
}

// Minimum-cost parse of the piece into tokens under the given symbol prices: a shortest path over
// positions where a step is a literal run of 1..128 bytes or a match of 3..10 bytes at any
// distance the match finder offers. Returns the intermediate byte stream.
std::vector<std::uint8_t> Parse(std::span<const std::uint8_t> in, const SymbolCosts& costs) {
    const std::size_t n = in.size();

    // literalPrefix[i]: price of the bytes before i as literal payload.
    std::vector<std::uint32_t> literalPrefix(n + 1, 0);
    for (std::size_t i = 0; i < n; ++i)
        literalPrefix[i + 1] = literalPrefix[i] + costs[in[i]];

    // best[j]: cheapest price of the first j bytes; step[j]: the last step of that parse, as
    // distance << 8 | length (distance 0: a literal run).
    std::vector<std::uint32_t> best(n + 1, kInfinity);
    std::vector<std::uint32_t> step(n + 1, 0);
    best[0] = 0;
    // header[run]: price of the run's header byte.
    std::array<std::uint32_t, kMaxLiteralRun + 1> header{};
    for (std::size_t run = 1; run <= kMaxLiteralRun; ++run)
        header[run] = costs[0x80 | (run - 1)];

    std::vector<std::int32_t> head(std::size_t{1} << kHashBits, -1);
    std::vector<std::int32_t> link(kRing, -1);

    for (std::size_t i = 0; i < n; ++i) {
        const std::uint32_t here = best[i];

        // Every literal run from here; the hot loop of the parse, kept branch-free so that it
        // vectorises.
        const std::size_t maxRun = std::min(kMaxLiteralRun, n - i);
        const std::uint32_t base = here - literalPrefix[i];
        std::uint32_t* bestAhead = best.data() + i;
        std::uint32_t* stepAhead = step.data() + i;
        const std::uint32_t* prefixAhead = literalPrefix.data() + i;
        for (std::size_t run = 1; run <= maxRun; ++run) {
            const std::uint32_t c = base + header[run] + prefixAhead[run];
            const bool better = c < bestAhead[run];
            bestAhead[run] = better ? c : bestAhead[run];
            stepAhead[run] = better ? static_cast<std::uint32_t>(run) : stepAhead[run];
        }

        if (n - i < kMinMatch) continue;
        const std::uint32_t h = Hash3(&in[i]);
        const std::size_t maxLength = std::min(kMaxMatch, n - i);
        std::array<std::uint32_t, kMaxMatch + 1> matchCost;
        std::array<std::uint16_t, kMaxMatch + 1> matchDistance{};
        matchCost.fill(kInfinity);
        int chain = 0;
        int fullLength = 0;
        for (std::int32_t p = head[h]; p >= 0 && chain < kMaxChain; p = link[static_cast<std::size_t>(p) % kRing]) {
            const std::size_t distance = i - static_cast<std::size_t>(p);
            if (distance > kMaxDistance) break;
            ++chain;
            std::size_t length = 0;
            while (length < maxLength && in[static_cast<std::size_t>(p) + length] == in[i + length])
                ++length;
            if (length < kMinMatch) continue;  // a hash collision
            if (length == maxLength && ++fullLength > kMaxFullLength) break;
            const std::uint32_t distancePrice = costs[distance & 0xFF];
            for (std::size_t l = kMinMatch; l <= length; ++l) {
                const std::uint32_t c = costs[MatchCommand(l, distance)] + distancePrice;
                if (c < matchCost[l]) {
                    matchCost[l] = c;
                    matchDistance[l] = static_cast<std::uint16_t>(distance);
                }
            }
        }
        link[i % kRing] = head[h];
        head[h] = static_cast<std::int32_t>(i);

        for (std::size_t l = kMinMatch; l <= maxLength; ++l) {
            if (matchCost[l] == kInfinity) continue;
            const std::uint32_t c = here + matchCost[l];
            if (c < best[i + l]) {
                best[i + l] = c;
                step[i + l] = static_cast<std::uint32_t>(matchDistance[l]) << 8 | static_cast<std::uint32_t>(l);
            }
        }
    }

    // Walk back from the end to recover the steps, then emit them front to back.
    std::vector<std::size_t> ends;
    for (std::size_t at = n; at > 0; at -= step[at] & 0xFF)
        ends.push_back(at);
    std::vector<std::uint8_t> tokens;
    tokens.reserve(n + n / 64 + 16);
    std::size_t start = 0;
    for (auto it = ends.rbegin(); it != ends.rend(); ++it) {
        const std::size_t end = *it;
        const std::size_t length = end - start;
        const std::size_t distance = step[end] >> 8;
        if (distance == 0) {
            tokens.push_back(static_cast<std::uint8_t>(0x80 | (length - 1)));
            tokens.insert(tokens.end(), in.begin() + static_cast<std::ptrdiff_t>(start),
                          in.begin() + static_cast<std::ptrdiff_t>(end));
        } else {
            tokens.push_back(MatchCommand(length, distance));
            tokens.push_back(static_cast<std::uint8_t>(distance & 0xFF));
        }
        start = end;
    }
    return tokens;
}

SymbolCounts CountSymbols(std::span<const std::uint8_t> tokens) {
    SymbolCounts counts{};
    for (std::uint8_t t : tokens)
        ++counts[t];
    return counts;
}

// Symbol table bits, padding to a byte, the 32-bit length, the code stream.
std::uint64_t PayloadBits(const SymbolCounts& counts, const CodeLengths& lengths) {
    std::uint64_t table = 0;
    std::uint64_t stream = 0;
    for (std::size_t s = 0; s < 256; ++s) {
        table += 1;
        if (lengths[s] != 0) table += 4 + lengths[s];
        stream += counts[s] * lengths[s];
    }
    return (table + 7) / 8 * 8 + 32 + stream;
}

// The next parse prices each byte value at its code length; a value the code lacks would need a
// code longer than any present one.
SymbolCosts CostsFrom(const CodeLengths& lengths) {
    const std::uint32_t longest = *std::max_element(lengths.begin(), lengths.end());
    SymbolCosts costs;
    for (std::size_t s = 0; s < 256; ++s)
        costs[s] = lengths[s] != 0 ? lengths[s] : longest + 1;
    return costs;
}

// Most significant bit first; Align pads the last byte with zeros.
class BitWriter {
  public:
    void Put(std::uint32_t value, int bits) {
        for (int b = bits - 1; b >= 0; --b, ++used_) {
            if (used_ % 8 == 0) bytes_.push_back(0);
            if ((value >> b) & 1u) bytes_.back() |= static_cast<std::uint8_t>(0x80u >> (used_ % 8));
        }
    }
    void Align() { used_ = 8 * bytes_.size(); }
    std::vector<std::uint8_t> Take() && { return std::move(bytes_); }

  private:
    std::vector<std::uint8_t> bytes_;
    std::size_t used_ = 0;  // bits written, the padding included
};

std::vector<std::uint8_t> Write(std::span<const std::uint8_t> tokens, const CodeLengths& lengths) {
    const std::array<std::uint16_t, 256> codes = CanonicalCodes(lengths);
    BitWriter out;
    for (std::size_t s = 0; s < 256; ++s) {
        if (lengths[s] == 0) {
            out.Put(0, 1);
            continue;
        }
        out.Put(1, 1);
        out.Put(lengths[s] & 0x0Fu, 4);  // 16 is written as 0
        out.Put(codes[s], lengths[s]);
    }
    out.Align();
    const auto count = static_cast<std::uint32_t>(tokens.size());
    for (int shift = 0; shift < 32; shift += 8)
        out.Put(count >> shift, 8);
    for (std::uint8_t t : tokens)
        out.Put(codes[t], lengths[t]);
    return std::move(out).Take();
}

}  // namespace

std::vector<std::uint8_t> EncodePayload(std::span<const std::uint8_t> piece) {
    if (piece.empty() || piece.size() > kMaxEncodablePiece) return {};

    SymbolCosts costs;
    costs.fill(8);  // no code yet: fewest intermediate bytes
    std::vector<std::uint8_t> bestTokens;
    CodeLengths bestLengths{};
    std::uint64_t bestBits = std::numeric_limits<std::uint64_t>::max();
    for (int parse = 0; parse < kParses; ++parse) {
        std::vector<std::uint8_t> tokens = Parse(piece, costs);
        const SymbolCounts counts = CountSymbols(tokens);
        const CodeLengths lengths = LimitedCodeLengths(counts);
        const std::uint64_t bits = PayloadBits(counts, lengths);
        if (bits < bestBits) {
            bestBits = bits;
            bestTokens = std::move(tokens);
            bestLengths = lengths;
        }
        costs = CostsFrom(lengths);
    }
    return Write(bestTokens, bestLengths);
}

}  // namespace updater::tools
