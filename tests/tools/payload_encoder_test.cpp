// The encoder against a strict reading of the payload format: besides decoding to the piece, a
// payload must have a complete prefix code of two or more symbols, a length field that matches
// the codes, and tokens that never reach outside the window or the piece.
#include "payload_encoder/payload_encoder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "fixtures/quorbel_fixture.h"
#include "patch/payload_decoder.h"
#include "payload_encoder/prefix_code.h"

namespace updater::tools {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct Checked {
    std::string fault;  // empty when the payload is well-formed
    Bytes output;
    std::size_t symbols = 0;
    std::uint32_t tokenBytes = 0;
    std::size_t maxDistanceUsed = 0;
};

// Decodes a payload, rejecting everything a well-formed payload must not contain.
Checked StrictDecode(std::span<const std::uint8_t> payload) {
    Checked r;
    std::size_t bit = 0;
    const std::size_t totalBits = payload.size() * 8;
    auto take = [&](int n, std::uint32_t& v) {
        v = 0;
        for (int i = 0; i < n; ++i) {
            if (bit >= totalBits) return false;
            v = (v << 1) | ((payload[bit / 8] >> (7 - bit % 8)) & 1u);
            ++bit;
        }
        return true;
    };
    struct Entry {
        std::uint32_t length, code;
        std::uint8_t symbol;
    };
    std::vector<Entry> entries;
    std::uint64_t kraft = 0;  // in units of 2^-16
    for (int v = 0; v < 256; ++v) {
        std::uint32_t present = 0, length = 0, code = 0;
        if (!take(1, present)) return r.fault = "table truncated", r;
        if (!present) continue;
        if (!take(4, length)) return r.fault = "table truncated", r;
        if (length == 0) length = 16;
        if (!take(static_cast<int>(length), code)) return r.fault = "table truncated", r;
        entries.push_back({length, code, static_cast<std::uint8_t>(v)});
        kraft += std::uint64_t{1} << (16 - length);
    }
    r.symbols = entries.size();
    if (entries.size() < 2) return r.fault = "fewer than two symbols", r;
    if (kraft != (std::uint64_t{1} << 16)) return r.fault = "code not complete", r;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        for (std::size_t j = 0; j < entries.size(); ++j) {
            const Entry& a = entries[i];
            const Entry& b = entries[j];
            if (i != j && a.length <= b.length && (b.code >> (b.length - a.length)) == a.code)
                return r.fault = "code not prefix-free", r;
        }
    }
    for (std::size_t i = (bit + 7) / 8 * 8; bit < i; ++bit) {
        if ((payload[bit / 8] >> (7 - bit % 8)) & 1u) return r.fault = "padding not zero", r;
    }
    std::uint32_t n = 0;
    for (int k = 0; k < 4; ++k) {
        std::uint32_t byte = 0;
        if (!take(8, byte)) return r.fault = "length truncated", r;
        n |= byte << (8 * k);
    }
    if (n == 0) return r.fault = "N is 0", r;
    r.tokenBytes = n;
    // symbolOf[length][code]: the symbol, or -1.
    std::vector<std::vector<int>> symbolOf(17);
    for (std::uint32_t length = 1; length <= 16; ++length)
        symbolOf[length].assign(std::size_t{1} << length, -1);
    for (const Entry& e : entries)
        symbolOf[e.length][e.code] = e.symbol;
    Bytes tokens;
    tokens.reserve(n);
    for (std::uint32_t k = 0; k < n; ++k) {
        std::uint32_t acc = 0, length = 0;
        int symbol = -1;
        while (symbol < 0) {
            std::uint32_t b = 0;
            if (length == 16 || !take(1, b)) return r.fault = "code stream broken", r;
            acc = (acc << 1) | b;
            ++length;
            symbol = symbolOf[length][acc];
        }
        tokens.push_back(static_cast<std::uint8_t>(symbol));
    }
    if ((bit + 7) / 8 != payload.size()) return r.fault = "bytes after the code stream", r;
    for (std::size_t i = 0; i < tokens.size();) {
        const std::uint8_t c = tokens[i++];
        if (c >= 0x80) {
            const std::size_t run = (c & 0x7Fu) + 1;
            if (i + run > tokens.size()) return r.fault = "literal run truncated", r;
            r.output.insert(r.output.end(), tokens.begin() + static_cast<std::ptrdiff_t>(i),
                            tokens.begin() + static_cast<std::ptrdiff_t>(i + run));
            i += run;
        } else {
            if (i >= tokens.size()) return r.fault = "match truncated", r;
            const std::size_t distance = (std::size_t{c} & 0x0F) << 8 | tokens[i++];
            const std::size_t length = ((c >> 4) & 7u) + 3;
            if (distance == 0 || distance > r.output.size()) return r.fault = "bad distance", r;
            r.maxDistanceUsed = std::max(r.maxDistanceUsed, distance);
            for (std::size_t k = 0; k < length; ++k)
                r.output.push_back(r.output[r.output.size() - distance]);
        }
    }
    if (r.output.size() > kMaxEncodablePiece) return r.fault = "piece too large", r;
    return r;
}

Bytes Random(std::size_t n, std::uint32_t seed) {
    Bytes b(n);
    std::uint32_t x = seed * 2654435761u + 1;
    for (auto& v : b) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        v = static_cast<std::uint8_t>(x >> 24);
    }
    return b;
}

Bytes Text(std::size_t n) {
    static constexpr std::string_view kWords[] = {"slownik ", "angielsko-polski ", "the ", "update ",
                                                  "wersja ",  "program ",          "of ",  "zostal "};
    Bytes b;
    std::uint32_t x = 7;
    while (b.size() < n) {
        x = x * 1103515245u + 12345u;
        const std::string_view w = kWords[(x >> 16) % 8];
        b.insert(b.end(), w.begin(), w.end());
    }
    b.resize(n);
    return b;
}

// Encodes, decodes strictly, and compares; returns the payload.
Bytes RoundTrip(const Bytes& piece, Checked* details = nullptr) {
    const Bytes payload = EncodePayload(piece);
    Checked c = StrictDecode(payload);
    EXPECT_EQ(c.fault, "") << "piece of " << piece.size() << " bytes";
    EXPECT_TRUE(c.output == piece) << "piece of " << piece.size() << " bytes decodes to " << c.output.size();
    if (details != nullptr) *details = std::move(c);
    return payload;
}

TEST(EncodePayload, TinyPiecesStillHaveTwoSymbolsAndDecode) {
    for (int value : {0x00, 0x41, 0x7F, 0x80, 0xFF}) {
        Checked c;
        RoundTrip(Bytes{static_cast<std::uint8_t>(value)}, &c);
        EXPECT_GE(c.symbols, 2u) << value;
    }
    // 0x80 alone is a run header followed by itself: a one-symbol stream that still needs two codes.
    Checked c;
    RoundTrip(Bytes{0x80}, &c);
    EXPECT_EQ(c.symbols, 2u);
    RoundTrip(Bytes{1, 2});
    RoundTrip(Bytes{9, 9, 9});
    RoundTrip(Bytes(11, 0x80));
}

TEST(EncodePayload, RoundTripsVariedContent) {
    RoundTrip(Random(1, 1));
    RoundTrip(Random(129, 2));  // just over one literal run
    RoundTrip(Random(65'536, 3));
    RoundTrip(Text(200'000));
    Bytes mixed = Text(30'000);
    const Bytes noise = Random(30'000, 4);
    mixed.insert(mixed.end(), noise.begin(), noise.end());
    mixed.insert(mixed.end(), 5'000, 0);
    RoundTrip(mixed);
    const Bytes program = fixtures::MakeQuorbelOld();
    RoundTrip(Bytes(program.begin(), program.begin() + 300'000));
}

TEST(EncodePayload, LongRunsShrinkToAFewBitsPerMatch) {
    for (std::size_t n : {std::size_t{11}, std::size_t{1'000}, std::size_t{100'000}}) {
        const Bytes payload = RoundTrip(Bytes(n, 0x5A));
        // One literal, then matches of 10 at distance 1: a few bits for each ten bytes.
        EXPECT_LE(payload.size(), 40 + n / 20) << n;
    }
}

TEST(EncodePayload, ReachesBackExactlyToTheEdgeOfTheWindow) {
    // A block that repeats after exactly 4,095 bytes can be copied; one that repeats after 4,096
    // bytes is out of reach and costs as much as fresh noise.
    const Bytes block = Random(4'095, 5);
    Bytes inReach = block;
    inReach.insert(inReach.end(), block.begin(), block.end());
    Checked near;
    const Bytes nearPayload = RoundTrip(inReach, &near);
    EXPECT_EQ(near.maxDistanceUsed, 4'095u);
    EXPECT_LT(nearPayload.size(), 4'095u + 4'095u / 3);

    Bytes outOfReach = Random(4'096, 5);
    outOfReach.insert(outOfReach.end(), outOfReach.begin(), outOfReach.begin() + 4'095);
    Checked far;
    const Bytes farPayload = RoundTrip(outOfReach, &far);
    EXPECT_LE(far.maxDistanceUsed, 4'095u);
    EXPECT_GT(farPayload.size(), 8'000u);
}

TEST(EncodePayload, TakesTheLargestPieceOfBothKinds) {
    const Bytes noise = Random(kMaxEncodablePiece, 6);
    const Bytes noisePayload = RoundTrip(noise);
    // Incompressible data costs the run headers and little else.
    EXPECT_LT(noisePayload.size(), kMaxEncodablePiece + kMaxEncodablePiece / 100);

    const Bytes zeroPayload = RoundTrip(Bytes(kMaxEncodablePiece, 0));
    EXPECT_LT(zeroPayload.size(), kMaxEncodablePiece / 20);
}

TEST(EncodePayload, RefusesPiecesNoPayloadCanHold) {
    EXPECT_TRUE(EncodePayload({}).empty());
    const Bytes tooLarge(kMaxEncodablePiece + 1, 0);
    EXPECT_TRUE(EncodePayload(tooLarge).empty());
}

TEST(EncodePayload, GivesTheSameBytesEveryTime) {
    const Bytes piece = Text(50'000);
    EXPECT_EQ(EncodePayload(piece), EncodePayload(piece));
}

TEST(EncodePayload, TheUpdatersDecoderReadsWhatItWrites) {
    patch::PayloadDecoder decoder;
    Bytes longRun(5'000, 0x80);
    longRun.push_back(1);
    for (const Bytes& piece : {Bytes{0x80}, Bytes{0x00, 0xFF}, longRun, Text(70'000), Random(9'000, 8)}) {
        const Bytes payload = EncodePayload(piece);
        ASSERT_EQ(decoder.Decode(payload), patch::DecodeError::kNone) << piece.size();
        EXPECT_TRUE(std::equal(piece.begin(), piece.end(), decoder.Output().begin(), decoder.Output().end()))
            << piece.size();
    }
}

// ---- The prefix code on its own --------------------------------------------------------------

std::uint64_t KraftSum(const CodeLengths& lengths) {
    std::uint64_t sum = 0;
    for (std::uint8_t l : lengths) {
        if (l != 0) sum += std::uint64_t{1} << (kMaxCodeLength - l);
    }
    return sum;
}

TEST(LimitedCodeLengths, KeepsSkewedCountsWithinSixteenBitsAndComplete) {
    // Fibonacci counts make an unrestricted code as deep as there are symbols.
    SymbolCounts counts{};
    std::uint64_t a = 1, b = 1;
    for (std::size_t s = 0; s < 40; ++s) {
        counts[s * 3] = a;
        const std::uint64_t next = a + b;
        a = b;
        b = next;
    }
    const CodeLengths lengths = LimitedCodeLengths(counts);
    EXPECT_EQ(*std::max_element(lengths.begin(), lengths.end()), 16);
    EXPECT_EQ(KraftSum(lengths), std::uint64_t{1} << kMaxCodeLength);
    for (std::size_t s = 0; s < 256; ++s)
        EXPECT_EQ(lengths[s] != 0, counts[s] != 0) << s;
}

TEST(LimitedCodeLengths, IsOptimalWhereTheLimitDoesNotBind) {
    SymbolCounts counts{};
    counts[10] = 1;
    counts[20] = 1;
    counts[30] = 2;
    counts[40] = 4;
    const CodeLengths lengths = LimitedCodeLengths(counts);
    EXPECT_EQ(lengths[10], 3);
    EXPECT_EQ(lengths[20], 3);
    EXPECT_EQ(lengths[30], 2);
    EXPECT_EQ(lengths[40], 1);

    SymbolCounts flat;
    flat.fill(5);
    const CodeLengths eight = LimitedCodeLengths(flat);
    EXPECT_TRUE(std::all_of(eight.begin(), eight.end(), [](std::uint8_t l) { return l == 8; }));
}

TEST(LimitedCodeLengths, CompletesAOneSymbolCodeWithTheLowestAbsentValue) {
    SymbolCounts counts{};
    counts[0] = 9;
    CodeLengths lengths = LimitedCodeLengths(counts);
    EXPECT_EQ(lengths[0], 1);
    EXPECT_EQ(lengths[1], 1);
    EXPECT_EQ(KraftSum(lengths), std::uint64_t{1} << kMaxCodeLength);

    lengths = LimitedCodeLengths(SymbolCounts{});
    EXPECT_EQ(lengths[0], 1);
    EXPECT_EQ(lengths[1], 1);
}

TEST(CanonicalCodes, NumbersShorterCodesFirstThenBySymbol) {
    CodeLengths lengths{};
    lengths[0x41] = 3;
    lengths[0x10] = 3;
    lengths[0x05] = 3;
    lengths[0x06] = 3;
    lengths[0xF0] = 1;
    const auto codes = CanonicalCodes(lengths);
    EXPECT_EQ(codes[0xF0], 0b0);
    EXPECT_EQ(codes[0x05], 0b100);
    EXPECT_EQ(codes[0x06], 0b101);
    EXPECT_EQ(codes[0x10], 0b110);
    EXPECT_EQ(codes[0x41], 0b111);
}

}  // namespace
}  // namespace updater::tools
