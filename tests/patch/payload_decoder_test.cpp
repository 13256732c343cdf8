#include "patch/payload_decoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "patch/crc32.h"
#include "patch/resource_source.h"

namespace updater::patch {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Writes bits most significant first, the way payloads are read.
class BitWriter {
  public:
    void Put(std::uint32_t value, unsigned count) {
        for (unsigned i = count; i-- > 0;)
            PutBit((value >> i) & 1u);
    }
    void PutBit(unsigned bit) {
        if (bits_ % 8 == 0) bytes_.push_back(0);
        if (bit) bytes_.back() |= static_cast<std::uint8_t>(0x80u >> (bits_ % 8));
        ++bits_;
    }
    void Align() { bits_ = bytes_.size() * 8; }
    void PutLength(std::uint32_t n) {
        Align();
        for (int i = 0; i < 4; ++i)
            bytes_.push_back(static_cast<std::uint8_t>(n >> (8 * i)));
        bits_ += 32;
    }
    void PutBytes(const Bytes& bytes) {
        for (std::uint8_t b : bytes)
            Put(b, 8);
    }
    std::size_t BitCount() const { return bits_; }
    const Bytes& Result() const { return bytes_; }

  private:
    Bytes bytes_;
    std::size_t bits_ = 0;
};

struct Code {
    std::uint8_t symbol;
    unsigned length;  // 1..16
    std::uint16_t code;
};

void PutTable(BitWriter& w, std::vector<Code> table) {
    std::sort(table.begin(), table.end(), [](const Code& a, const Code& b) { return a.symbol < b.symbol; });
    std::size_t next = 0;
    for (unsigned v = 0; v < 256; ++v) {
        if (next < table.size() && table[next].symbol == v) {
            w.PutBit(1);
            w.Put(table[next].length & 15u, 4);
            w.Put(table[next].code, table[next].length);
            ++next;
        } else {
            w.PutBit(0);
        }
    }
}

Code CodeOf(const std::vector<Code>& table, std::uint8_t symbol) {
    for (const Code& c : table) {
        if (c.symbol == symbol) return c;
    }
    ADD_FAILURE() << "no code for " << int{symbol};
    return {};
}

// A payload whose table is `table`, whose length field is n and whose code stream spells symbols.
Bytes MakePayload(const std::vector<Code>& table, std::uint32_t n, const Bytes& symbols) {
    BitWriter w;
    PutTable(w, table);
    w.PutLength(n);
    for (std::uint8_t s : symbols) {
        const Code c = CodeOf(table, s);
        w.Put(c.code, c.length);
    }
    return w.Result();
}

// Every byte value coded as itself: the code stream is the token stream.
std::vector<Code> ByteTable() {
    std::vector<Code> table;
    for (unsigned v = 0; v < 256; ++v)
        table.push_back({static_cast<std::uint8_t>(v), 8, static_cast<std::uint16_t>(v)});
    return table;
}

Bytes TokenPayload(const Bytes& tokens) {
    // The byte table ends on a byte boundary, so the codes are the token bytes themselves.
    Bytes payload = MakePayload(ByteTable(), static_cast<std::uint32_t>(tokens.size()), {});
    payload.insert(payload.end(), tokens.begin(), tokens.end());
    return payload;
}

Bytes Span(std::span<const std::uint8_t> s) {
    return Bytes(s.begin(), s.end());
}

// The place a failure names: the number that ends its reason, 0 when it names none.
std::size_t FailurePosition(const PayloadDecoder& decoder) {
    const std::string reason = decoder.FailureReason();
    const std::size_t digits = reason.find_last_not_of("0123456789") + 1;
    return digits == reason.size() ? 0 : std::stoul(reason.substr(digits));
}

// Whether a failure is one of stage 2, which stage 1 left all its intermediate bytes to.
bool IsTokenFailure(DecodeError error) {
    return error == DecodeError::kTruncatedLiteralRun || error == DecodeError::kTruncatedMatch ||
           error == DecodeError::kZeroDistance || error == DecodeError::kDistanceBeforeStart ||
           error == DecodeError::kPieceTooLarge;
}

// Tokens that spell bytes as literal runs of up to 128.
Bytes LiteralTokens(const Bytes& bytes) {
    Bytes tokens;
    for (std::size_t at = 0; at < bytes.size(); at += 128) {
        const std::size_t n = std::min<std::size_t>(128, bytes.size() - at);
        tokens.push_back(static_cast<std::uint8_t>(0x80 + n - 1));
        tokens.insert(tokens.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at),
                      bytes.begin() + static_cast<std::ptrdiff_t>(at + n));
    }
    return tokens;
}

// --- A small payload and token sequences ---------------------------------------------------------

Bytes SmallPayload() {
    Bytes p(40, 0);
    p[0] = 0x48;
    p[2] = 0x02;
    p[3] = 0x48;
    p[16] = 0x09;
    p[17] = 0x40;
    p[18] = 0x25;
    p[19] = 0x80;
    p[35] = 0x04;
    p[39] = 0xE4;
    return p;
}

// Its table gives 0x01, 0x10, 0x78 and 0x80 the codes 00, 01, 10 and 11, and its code stream is
// 11 10 01 00: each symbol of the intermediate bytes shows one code.
TEST(PayloadDecoder, DecodesAFortyBytePayloadStageByStage) {
    PayloadDecoder decoder;
    ASSERT_EQ(decoder.Decode(SmallPayload()), DecodeError::kNone) << decoder.FailureReason();
    EXPECT_EQ(Span(decoder.Intermediate()), (Bytes{0x80, 0x78, 0x10, 0x01}));
    EXPECT_EQ(Span(decoder.Output()), Bytes(5, 0x78));
}

TEST(PayloadDecoder, ExpandsLiteralRunsAndMatches) {
    PayloadDecoder decoder;
    struct Case {
        Bytes tokens;
        Bytes piece;
    };
    Bytes run128{0xFF};
    for (int i = 0; i < 128; ++i)
        run128.push_back(static_cast<std::uint8_t>(i * 7));
    const Case cases[] = {
        {{0x82, 0x61, 0x62, 0x63, 0x00, 0x03}, {0x61, 0x62, 0x63, 0x61, 0x62, 0x63}},
        {{0x80, 0x78, 0x10, 0x01}, Bytes(5, 0x78)},
        {{0x80, 0x5A}, {0x5A}},
        {run128, Bytes(run128.begin() + 1, run128.end())},
        // Distance 1 with length 10 repeats the last byte; distance 2 repeats a pair.
        {{0x81, 0x01, 0x02, 0x70, 0x01, 0x00, 0x0C}, {1, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 1, 2, 2}},
        {{0x81, 0x01, 0x02, 0x70, 0x02}, {1, 2, 1, 2, 1, 2, 1, 2, 1, 2, 1, 2}},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(decoder.Decode(TokenPayload(c.tokens)), DecodeError::kNone) << decoder.FailureReason();
        EXPECT_EQ(Span(decoder.Output()), c.piece);
    }
}

TEST(PayloadDecoder, LongestMatchReachesTheFullWindow) {
    // 0x7F 0xFF: length 10 from 4,095 bytes back, the first bytes of the piece.
    Bytes piece;
    for (int i = 0; i < 4095; ++i)
        piece.push_back(static_cast<std::uint8_t>(i * 131 + (i >> 5)));
    Bytes tokens = LiteralTokens(piece);
    tokens.insert(tokens.end(), {0x7F, 0xFF});
    for (std::size_t i = 0; i < 10; ++i)
        piece.push_back(piece[i]);

    PayloadDecoder decoder;
    ASSERT_EQ(decoder.Decode(TokenPayload(tokens)), DecodeError::kNone) << decoder.FailureReason();
    EXPECT_EQ(Span(decoder.Output()), piece);
}

// Decoded together as the replacement decodes them, the CRC-32 taken as the pieces are written:
// the file's bytes and its CRC-32. A fault in either part is reported as the decoder reports it
// alone, with the part it is in, and the CRC-32 holds the pieces before it, as when the pieces are
// decoded one after the other.
TEST(PayloadDecoder, TheProgramPayloadsBuildTheNewProgramFile) {
    const auto a = ProgramResources().Find("PEN251IEA");
    const auto b = ProgramResources().Find("PEN251IEB");
    ASSERT_TRUE(a && b);
    PayloadDecoder first;
    PayloadDecoder second;
    std::uint32_t crc = kCrc32Initial;
    const PayloadDecoder::PairResult both = PayloadDecoder::DecodeTwo(first, *a, second, *b, &crc);
    ASSERT_EQ(both.error, DecodeError::kNone) << first.FailureReason() << second.FailureReason();
    EXPECT_EQ(first.Output().size(), 1'500'000u);
    EXPECT_EQ(second.Output().size(), 1'221'280u);
    EXPECT_EQ(Crc32Update(Crc32(first.Output()), second.Output()), 0xF4F34DB0u);
    EXPECT_EQ(crc, 0xF4F34DB0u);

    const std::span<const std::uint8_t> cut = a->first(a->size() / 2);
    PayloadDecoder alone;
    const DecodeError expected = alone.Decode(cut);
    ASSERT_NE(expected, DecodeError::kNone);

    crc = kCrc32Initial;
    const PayloadDecoder::PairResult inB = PayloadDecoder::DecodeTwo(first, *a, second, cut, &crc);
    EXPECT_EQ(inB.error, expected);
    EXPECT_EQ(inB.payload, 1u);
    EXPECT_EQ(second.FailureReason(), alone.FailureReason());
    EXPECT_TRUE(second.Output().empty());
    EXPECT_EQ(crc, Crc32(first.Output()));

    crc = 0xF4F34DB0u;
    const PayloadDecoder::PairResult inA = PayloadDecoder::DecodeTwo(first, cut, second, *b, &crc);
    EXPECT_EQ(inA.error, expected);
    EXPECT_EQ(inA.payload, 0u);
    EXPECT_EQ(first.FailureReason(), alone.FailureReason());
    EXPECT_TRUE(first.Output().empty());
    EXPECT_TRUE(second.Output().empty());
    EXPECT_EQ(crc, 0xF4F34DB0u);
}

// --- Symbol table semantics ----------------------------------------------------------------------

TEST(PayloadDecoder, LengthFieldZeroDeclaresSixteenBitCodes) {
    const std::vector<Code> table = {{0x80, 16, 0xBEEF}, {0x41, 16, 0x0001}, {0x42, 15, 0x7FFF}};
    PayloadDecoder decoder;
    ASSERT_EQ(decoder.Decode(MakePayload(table, 2, {0x80, 0x41})), DecodeError::kNone) << decoder.FailureReason();
    EXPECT_EQ(Span(decoder.Intermediate()), (Bytes{0x80, 0x41}));
    EXPECT_EQ(Span(decoder.Output()), (Bytes{0x41}));
}

TEST(PayloadDecoder, MatchesTheFirstEntryByLengthThenByteValue) {
    // Shorter codes are tried first whatever their byte value: the bits 101 00 read as 0xF0's 101
    // and 0x90's 00, not as 0x20's 10100, which a scan in byte-value order would find first.
    const std::vector<Code> table = {{0xF0, 3, 0b101}, {0x20, 5, 0b10100}, {0x10, 3, 0b100}, {0x90, 2, 0b00}};
    PayloadDecoder decoder;
    decoder.Decode(MakePayload(table, 2, {0xF0, 0x90}));
    EXPECT_EQ(Span(decoder.Intermediate()), (Bytes{0xF0, 0x90})) << decoder.FailureReason();

    // Duplicate codes: the lower byte value wins, the higher one can never be decoded.
    const std::vector<Code> duplicates = {{0x80, 2, 0b10}, {0x33, 2, 0b10}, {0x00, 1, 0}, {0x01, 2, 0b11}};
    BitWriter w;
    PutTable(w, duplicates);
    w.PutLength(3);
    w.Put(0b10, 2);
    w.Put(0b0, 1);
    w.Put(0b11, 2);
    decoder.Decode(w.Result());
    EXPECT_EQ(Span(decoder.Intermediate()), (Bytes{0x33, 0x00, 0x01})) << decoder.FailureReason();
}

TEST(PayloadDecoder, ShorterCodeThatPrefixesALongerOneWins) {
    // 0 is a prefix of 01 and of the 14-bit 01...; the bits 0 1 read as "0" then "1".
    const std::vector<Code> table = {{0x61, 1, 0b0}, {0x62, 2, 0b01}, {0x63, 1, 0b1}, {0x64, 14, 0b01111111111111}};
    BitWriter w;
    PutTable(w, table);
    w.PutLength(4);
    w.Put(0b01, 2);
    w.Put(0b01, 2);
    PayloadDecoder decoder;
    decoder.Decode(w.Result());
    EXPECT_EQ(Span(decoder.Intermediate()), (Bytes{0x61, 0x63, 0x61, 0x63})) << decoder.FailureReason();
}

TEST(PayloadDecoder, LengthFieldFollowsTheTableAtTheNextByte) {
    // Off the boundary: 3 present values of 1..3 bits leave the table inside a byte.
    const std::vector<Code> partial = {{0x81, 1, 0}, {0x41, 2, 0b10}, {0x42, 2, 0b11}};
    BitWriter w;
    PutTable(w, partial);
    ASSERT_NE(w.BitCount() % 8, 0u);
    PayloadDecoder decoder;
    ASSERT_EQ(decoder.Decode(MakePayload(partial, 3, {0x81, 0x41, 0x42})), DecodeError::kNone)
        << decoder.FailureReason();
    EXPECT_EQ(Span(decoder.Output()), (Bytes{0x41, 0x42}));

    // The padding bits carry no meaning: set them all and the payload still decodes.
    Bytes padded = MakePayload(partial, 3, {0x81, 0x41, 0x42});
    padded[w.BitCount() / 8] |= static_cast<std::uint8_t>(0xFFu >> (w.BitCount() % 8));
    ASSERT_EQ(decoder.Decode(padded), DecodeError::kNone) << decoder.FailureReason();
    EXPECT_EQ(Span(decoder.Output()), (Bytes{0x41, 0x42}));

    // On the boundary (the byte table is 256 * 13 bits): nothing is skipped.
    BitWriter aligned;
    PutTable(aligned, ByteTable());
    ASSERT_EQ(aligned.BitCount() % 8, 0u);
    ASSERT_EQ(decoder.Decode(TokenPayload({0x80, 0x41})), DecodeError::kNone) << decoder.FailureReason();
    EXPECT_EQ(Span(decoder.Output()), (Bytes{0x41}));
}

TEST(PayloadDecoder, IgnoresBitsAfterTheLastCode) {
    Bytes payload = TokenPayload({0x81, 0x41, 0x42});
    payload.insert(payload.end(), {0xFF, 0x00, 0x12});
    PayloadDecoder decoder;
    ASSERT_EQ(decoder.Decode(payload), DecodeError::kNone) << decoder.FailureReason();
    EXPECT_EQ(Span(decoder.Output()), (Bytes{0x41, 0x42}));
}

TEST(PayloadDecoder, CodeStreamMayEndInTheLastByteOfALongPayload) {
    // Long enough for the fast path, with the last code ending exactly at the end.
    Bytes tokens;
    for (int i = 0; i < 3000; ++i) {
        tokens.push_back(0x80);
        tokens.push_back(static_cast<std::uint8_t>(i));
    }
    PayloadDecoder decoder;
    const Bytes payload = TokenPayload(tokens);
    ASSERT_EQ(decoder.Decode(payload), DecodeError::kNone) << decoder.FailureReason();
    ASSERT_EQ(decoder.Output().size(), 3000u);
    EXPECT_EQ(decoder.Output()[2999], static_cast<std::uint8_t>(2999));
    // One code more than the stream holds runs past the end.
    Bytes longer = payload;
    const std::size_t lengthAt = longer.size() - tokens.size() - 4;
    longer[lengthAt] = static_cast<std::uint8_t>(tokens.size() + 1);
    longer[lengthAt + 1] = static_cast<std::uint8_t>((tokens.size() + 1) >> 8);
    EXPECT_EQ(decoder.Decode(longer), DecodeError::kCodesPastEnd);
    EXPECT_EQ(FailurePosition(decoder), tokens.size());
}

// --- Rejections: every malformed case stops with its own reason ------------------------------------

Bytes WithLength(Bytes payload, std::size_t at, std::uint32_t n) {
    for (int i = 0; i < 4; ++i)
        payload[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(n >> (8 * i));
    return payload;
}

Bytes Truncated(Bytes payload, std::size_t size) {
    payload.resize(size);
    return payload;
}

// Literal runs that fill `size` bytes of output.
Bytes FillTokens(std::size_t size) {
    Bytes tokens;
    for (std::size_t done = 0; done < size;) {
        const std::size_t n = std::min<std::size_t>(128, size - done);
        tokens.push_back(static_cast<std::uint8_t>(0x80 + n - 1));
        tokens.insert(tokens.end(), n, static_cast<std::uint8_t>(done));
        done += n;
    }
    return tokens;
}

Bytes Concat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(PayloadDecoder, RejectsEveryMalformedCase) {
    struct Case {
        const char* name;
        Bytes payload;
        DecodeError error;
        std::size_t position;
    };
    std::vector<Case> cases;
    cases.push_back({"empty payload", {}, DecodeError::kTruncatedSymbolTable, 0});
    {
        BitWriter w;  // value 0: present, 16-bit code, but only 11 of its bits are there
        w.PutBit(1);
        w.Put(0, 4);
        w.Put(0x7FF, 11);
        cases.push_back({"code of the table cut off", w.Result(), DecodeError::kTruncatedSymbolTable, 5});
    }
    cases.push_back({"present bits cut off", Bytes(31, 0), DecodeError::kTruncatedSymbolTable, 248});
    cases.push_back({"no byte values", Bytes(40, 0), DecodeError::kTooFewSymbols, 0});
    cases.push_back({"one byte value", MakePayload({{0x41, 1, 0}}, 1, {0x41}), DecodeError::kTooFewSymbols, 1});
    cases.push_back({"length field missing", Truncated(SmallPayload(), 35), DecodeError::kTruncatedLength, 35});
    cases.push_back({"length field cut off", Truncated(SmallPayload(), 38), DecodeError::kTruncatedLength, 38});
    cases.push_back({"N = 0", WithLength(SmallPayload(), 35, 0), DecodeError::kNoCodes, 0});
    cases.push_back({"N too large", WithLength(SmallPayload(), 35, 4'194'305), DecodeError::kTooManyCodes, 4'194'305});
    cases.push_back(
        {"N = 2^32 - 1", WithLength(SmallPayload(), 35, 0xFFFFFFFF), DecodeError::kTooManyCodes, 0xFFFFFFFF});
    cases.push_back(
        {"one code more than the stream", WithLength(SmallPayload(), 35, 5), DecodeError::kCodesPastEnd, 4});
    cases.push_back(
        {"N = 4 MiB on a short stream", WithLength(SmallPayload(), 35, 4'194'304), DecodeError::kCodesPastEnd, 4});
    {
        // 3-bit codes: 16 bits hold five codes and a third of the sixth.
        std::vector<Code> table;
        for (unsigned i = 0; i < 8; ++i)
            table.push_back({static_cast<std::uint8_t>(i), 3, static_cast<std::uint16_t>(i)});
        BitWriter w;
        PutTable(w, table);
        w.PutLength(6);
        w.Put(0xFFFF, 16);
        cases.push_back({"code cut off at the end", w.Result(), DecodeError::kCodesPastEnd, 5});
    }
    const std::vector<Code> sparse = {{0x61, 2, 0b00}, {0x62, 2, 0b01}};
    {
        BitWriter w;
        PutTable(w, sparse);
        w.PutLength(3);
        w.Put(0b0001, 4);
        w.Put(0b10000000, 8);
        cases.push_back({"no code matches", w.Result(), DecodeError::kNoMatchingCode, 2});
    }
    {
        // The same in the middle of a long stream (the table-driven path).
        BitWriter w;
        PutTable(w, sparse);
        w.PutLength(5000);
        for (int i = 0; i < 1000; ++i)
            w.Put(static_cast<std::uint32_t>(i & 1), 2);
        w.Put(0b11, 2);
        for (int i = 0; i < 4000; ++i)
            w.Put(0, 2);
        cases.push_back({"no code matches in a long stream", w.Result(), DecodeError::kNoMatchingCode, 1000});
    }
    {
        // A 10-bit code could still start in the last 7 bits, so a scan would read past the end
        // before it gives up: that is the end of the payload, not a bad code.
        const std::vector<Code> table = {{0x61, 1, 0}, {0x62, 10, 0b1111111111}};
        BitWriter w;
        PutTable(w, table);
        w.PutLength(9);
        w.Put(0, 8);
        w.Put(0b10000000, 8);
        cases.push_back({"unmatched bits at the end", w.Result(), DecodeError::kCodesPastEnd, 8});
        w.Put(0, 8);
        cases.push_back({"unmatched bits before the end", w.Result(), DecodeError::kNoMatchingCode, 8});
    }
    cases.push_back({"literal run cut off", TokenPayload({0x82, 0x61, 0x62}), DecodeError::kTruncatedLiteralRun, 0});
    cases.push_back({"match cut off", TokenPayload({0x80, 0x61, 0x10}), DecodeError::kTruncatedMatch, 2});
    cases.push_back({"distance 0", TokenPayload({0x80, 0x61, 0x00, 0x00}), DecodeError::kZeroDistance, 2});
    cases.push_back(
        {"distance before the start", TokenPayload({0x80, 0x61, 0x00, 0x02}), DecodeError::kDistanceBeforeStart, 2});
    cases.push_back({"match first", TokenPayload({0x00, 0x01}), DecodeError::kDistanceBeforeStart, 0});
    {
        const Bytes full = FillTokens(kMaxPieceSize);
        cases.push_back({"literal beyond the output", TokenPayload(Concat(full, {0x80, 0x00})),
                         DecodeError::kPieceTooLarge, full.size()});
        const Bytes almost = FillTokens(kMaxPieceSize - 2);
        cases.push_back({"match beyond the output", TokenPayload(Concat(almost, {0x00, 0x01})),
                         DecodeError::kPieceTooLarge, almost.size()});
    }

    PayloadDecoder decoder;
    for (const Case& c : cases) {
        EXPECT_EQ(decoder.Decode(c.payload), c.error) << c.name << ": " << decoder.FailureReason();
        EXPECT_EQ(FailurePosition(decoder), c.position) << c.name << ": " << decoder.FailureReason();
        EXPECT_TRUE(decoder.Output().empty()) << c.name;
        EXPECT_FALSE(Describe(c.error).empty()) << c.name;
        // Whatever failed, the next piece decodes as if the decoder were new.
        ASSERT_EQ(decoder.Decode(SmallPayload()), DecodeError::kNone) << c.name;
        EXPECT_EQ(Span(decoder.Output()), Bytes(5, 0x78)) << c.name;
    }
}

TEST(PayloadDecoder, AcceptsAPieceOfExactlyTheBufferSize) {
    PayloadDecoder decoder;
    const Bytes tokens = Concat(FillTokens(kMaxPieceSize - 10), {0x70, 0x01});
    ASSERT_EQ(decoder.Decode(TokenPayload(tokens)), DecodeError::kNone) << decoder.FailureReason();
    EXPECT_EQ(decoder.Output().size(), kMaxPieceSize);
}

TEST(PayloadDecoder, ReasonsNameThePlace) {
    PayloadDecoder decoder;
    EXPECT_EQ(decoder.Decode(TokenPayload({0x80, 0x61, 0x00, 0x02})), DecodeError::kDistanceBeforeStart);
    EXPECT_EQ(decoder.FailureReason(), "a match reaches back before the start of the piece at token offset 2");
    EXPECT_EQ(decoder.Decode(WithLength(SmallPayload(), 35, 0)), DecodeError::kNoCodes);
    EXPECT_EQ(decoder.FailureReason(), "the length field is 0");
    // A stage 1 that fails keeps what it decoded for the report, and stage 2 expands none of it.
    EXPECT_EQ(decoder.Decode(WithLength(SmallPayload(), 35, 5)), DecodeError::kCodesPastEnd);
    EXPECT_EQ(decoder.FailureReason(), "the codes run past the end of the payload at code 4");
    EXPECT_EQ(Span(decoder.Intermediate()), (Bytes{0x80, 0x78, 0x10, 0x01}));
    EXPECT_TRUE(decoder.Output().empty());
    EXPECT_EQ(Describe(DecodeError::kNone), "");
}

TEST(PayloadDecoder, NothingOfALargerPieceSurvivesIntoASmallerOne) {
    PayloadDecoder decoder;
    Bytes big;
    for (int i = 0; i < 50000; ++i)
        big.push_back(static_cast<std::uint8_t>(i * 7 + (i >> 8)));
    ASSERT_EQ(decoder.Decode(TokenPayload(LiteralTokens(big))), DecodeError::kNone);
    EXPECT_EQ(Span(decoder.Output()), big);
    ASSERT_EQ(decoder.Decode(TokenPayload({0x81, 0x01, 0x02})), DecodeError::kNone);
    EXPECT_EQ(Span(decoder.Output()), (Bytes{0x01, 0x02}));
    EXPECT_EQ(decoder.Intermediate().size(), 3u);
}

// --- Property tests against plain reference decoders ---------------------------------------------

struct Outcome {
    DecodeError error = DecodeError::kNone;
    std::size_t position = 0;
    Bytes bytes;
    bool operator==(const Outcome&) const = default;
};

void PrintTo(const Outcome& o, std::ostream* os) {
    *os << "{" << Describe(o.error) << " @" << o.position << ", " << o.bytes.size() << " bytes}";
}

// Stage 1 as the format describes it: a linear scan over the table sorted by a bubble sort,
// reading one bit at a time.
Outcome ReferenceStage1(const Bytes& payload) {
    std::size_t bit = 0;
    auto readBit = [&](unsigned& value) {
        if (bit >= payload.size() * 8) return false;
        value = (payload[bit / 8] >> (7 - bit % 8)) & 1u;
        ++bit;
        return true;
    };
    auto read = [&](unsigned count, unsigned& value) {
        value = 0;
        for (unsigned i = 0; i < count; ++i) {
            unsigned b = 0;
            if (!readBit(b)) return false;
            value = (value << 1) | b;
        }
        return true;
    };
    struct Entry {
        unsigned length, code, symbol;
    };
    std::vector<Entry> entries;
    for (unsigned v = 0; v < 256; ++v) {
        unsigned present = 0, length = 0, code = 0;
        if (!read(1, present)) return {DecodeError::kTruncatedSymbolTable, 0, {}};
        if (!present) continue;
        if (!read(4, length)) return {DecodeError::kTruncatedSymbolTable, 0, {}};
        if (length == 0) length = 16;
        if (!read(length, code)) return {DecodeError::kTruncatedSymbolTable, 0, {}};
        entries.push_back({length, code, v});
    }
    if (entries.size() < 2) return {DecodeError::kTooFewSymbols, entries.size(), {}};
    for (std::size_t pass = 0; pass + 1 < entries.size(); ++pass) {
        for (std::size_t i = 0; i + 1 < entries.size(); ++i) {
            if (entries[i].length > entries[i + 1].length) std::swap(entries[i], entries[i + 1]);
        }
    }
    const std::size_t at = (bit + 7) / 8;
    if (payload.size() < at + 4) return {DecodeError::kTruncatedLength, payload.size(), {}};
    const std::uint32_t n = payload[at] | (payload[at + 1] << 8) | (payload[at + 2] << 16) |
                            (static_cast<std::uint32_t>(payload[at + 3]) << 24);
    if (n == 0) return {DecodeError::kNoCodes, 0, {}};
    bit = (at + 4) * 8;
    Outcome out;
    for (std::uint32_t i = 0; i < n; ++i) {
        unsigned accumulator = 0;
        unsigned length = 0;
        bool matched = false;
        for (const Entry& e : entries) {
            while (length < e.length) {
                unsigned b = 0;
                if (!readBit(b)) return {DecodeError::kCodesPastEnd, i, out.bytes};
                accumulator = ((accumulator << 1) | b) & 0xFFFF;
                ++length;
            }
            if (accumulator == e.code) {
                out.bytes.push_back(static_cast<std::uint8_t>(e.symbol));
                matched = true;
                break;
            }
        }
        if (!matched) return {DecodeError::kNoMatchingCode, i, out.bytes};
    }
    return out;
}

// Stage 2 byte by byte into a growing vector.
Outcome ReferenceStage2(const Bytes& tokens) {
    Outcome out;
    std::size_t i = 0;
    while (i < tokens.size()) {
        const std::size_t token = i;
        const unsigned c = tokens[i++];
        if (c >= 0x80) {
            const std::size_t length = (c & 0x7F) + 1;
            if (i + length > tokens.size()) return {DecodeError::kTruncatedLiteralRun, token, {}};
            if (out.bytes.size() + length > kMaxPieceSize) return {DecodeError::kPieceTooLarge, token, {}};
            for (std::size_t k = 0; k < length; ++k)
                out.bytes.push_back(tokens[i++]);
        } else {
            if (i == tokens.size()) return {DecodeError::kTruncatedMatch, token, {}};
            const std::size_t distance = ((c & 0x0F) << 8) | tokens[i++];
            const std::size_t length = ((c >> 4) & 7) + 3;
            if (distance == 0) return {DecodeError::kZeroDistance, token, {}};
            if (distance > out.bytes.size()) return {DecodeError::kDistanceBeforeStart, token, {}};
            if (out.bytes.size() + length > kMaxPieceSize) return {DecodeError::kPieceTooLarge, token, {}};
            for (std::size_t k = 0; k < length; ++k)
                out.bytes.push_back(out.bytes[out.bytes.size() - distance]);
        }
    }
    return out;
}

// A random table: arbitrary codes (duplicates, prefixes of each other, gaps), short codes only,
// or a complete prefix code made by splitting leaves of a code tree.
std::vector<Code> RandomTable(std::mt19937& rng) {
    std::vector<std::uint8_t> symbols(256);
    for (unsigned i = 0; i < 256; ++i)
        symbols[i] = static_cast<std::uint8_t>(i);
    std::shuffle(symbols.begin(), symbols.end(), rng);
    const std::size_t count = rng() % 4 == 0 ? 2 + rng() % 255 : 2 + rng() % 20;
    std::vector<Code> table;
    switch (rng() % 3) {
        case 0:
        case 1: {
            const unsigned maxLength = rng() % 2 ? 16 : 1 + rng() % 6;
            for (std::size_t i = 0; i < count; ++i) {
                const unsigned length = 1 + rng() % maxLength;
                table.push_back({symbols[i], length, static_cast<std::uint16_t>(rng() & ((1u << length) - 1))});
            }
            break;
        }
        default: {
            std::vector<unsigned> leaves = {0};
            while (leaves.size() < count) {
                const std::size_t pick = rng() % leaves.size();
                if (leaves[pick] >= 16) {
                    if (std::all_of(leaves.begin(), leaves.end(), [](unsigned l) { return l >= 16; })) break;
                    continue;
                }
                ++leaves[pick];
                leaves.push_back(leaves[pick]);
            }
            std::sort(leaves.begin(), leaves.end());
            unsigned code = 0;
            unsigned length = leaves[0];
            for (std::size_t i = 0; i < leaves.size(); ++i) {
                code <<= leaves[i] - length;
                length = leaves[i];
                table.push_back({symbols[i], length, static_cast<std::uint16_t>(code)});
                ++code;
            }
            break;
        }
    }
    return table;
}

TEST(PayloadDecoderProperty, TableLookupAgreesWithTheLinearScan) {
    std::mt19937 rng(20240611);
    PayloadDecoder decoder;
    int decodedFully = 0;
    for (int round = 0; round < 2000; ++round) {
        const std::vector<Code> table = RandomTable(rng);
        BitWriter w;
        PutTable(w, table);
        const std::size_t codes = rng() % 4 == 0 ? rng() % 5000 : rng() % 60;
        Bytes stream;
        BitWriter bits;
        for (std::size_t i = 0; i < codes; ++i) {
            if (rng() % 200 == 0) {
                bits.Put(rng(), 1 + rng() % 16);  // noise: may match nothing
            } else {
                const Code& c = table[rng() % table.size()];
                bits.Put(c.code, c.length);
            }
        }
        const int slack = static_cast<int>(rng() % 7) - 3;
        const auto n =
            static_cast<std::uint32_t>(std::max<int>(rng() % 50 == 0 ? 0 : 1, static_cast<int>(codes) + slack));
        w.PutLength(n);
        Bytes payload = Concat(w.Result(), bits.Result());
        for (unsigned extra = rng() % 4; extra-- > 0;)
            payload.push_back(static_cast<std::uint8_t>(rng()));

        // Stage 1 against the scan, and what stage 2 makes of its bytes against the plain copy.
        const Outcome expected = ReferenceStage1(payload);
        const DecodeError error = decoder.Decode(payload);
        Outcome actual;
        actual.error = IsTokenFailure(error) ? DecodeError::kNone : error;
        actual.position = actual.error == DecodeError::kNone ? 0 : FailurePosition(decoder);
        actual.bytes = Span(decoder.Intermediate());
        ASSERT_EQ(actual, expected) << "round " << round << ": " << decoder.FailureReason();
        if (expected.error != DecodeError::kNone) continue;
        ++decodedFully;
        const Outcome expanded = ReferenceStage2(expected.bytes);
        ASSERT_EQ((Outcome{error, error == DecodeError::kNone ? 0 : FailurePosition(decoder), Span(decoder.Output())}),
                  expanded)
            << "round " << round << ": " << decoder.FailureReason();
    }
    EXPECT_GT(decodedFully, 300);  // the comparison is not only about failures
}

TEST(PayloadDecoderProperty, TokenExpansionAgreesWithTheByteByByteCopy) {
    std::mt19937 rng(7);
    PayloadDecoder decoder;
    for (int round = 0; round < 2000; ++round) {
        Bytes tokens;
        std::size_t produced = 0;
        const std::size_t count = rng() % 3 == 0 ? rng() % 3000 : rng() % 30;
        for (std::size_t i = 0; i < count; ++i) {
            if (produced == 0 || rng() % 3 == 0) {
                const std::size_t length = rng() % 4 == 0 ? 128 : 1 + rng() % 20;
                tokens.push_back(static_cast<std::uint8_t>(0x80 + length - 1));
                for (std::size_t k = 0; k < length; ++k)
                    tokens.push_back(static_cast<std::uint8_t>(rng() % 4));
                produced += length;
            } else {
                const std::size_t length = 3 + rng() % 8;
                std::size_t distance = rng() % 2 ? 1 + rng() % std::min<std::size_t>(produced, 16)
                                                 : 1 + rng() % std::min<std::size_t>(produced, 4095);
                if (rng() % 500 == 0) distance = rng() % 4096;  // sometimes invalid
                tokens.push_back(static_cast<std::uint8_t>(((length - 3) << 4) | (distance >> 8)));
                tokens.push_back(static_cast<std::uint8_t>(distance));
                produced += length;
            }
        }
        if (rng() % 10 == 0 && !tokens.empty()) tokens.pop_back();  // cut the last token

        if (tokens.empty()) continue;  // a payload has at least one code
        const Outcome expected = ReferenceStage2(tokens);
        Outcome actual;
        actual.error = decoder.Decode(TokenPayload(tokens));
        actual.position = actual.error == DecodeError::kNone ? 0 : FailurePosition(decoder);
        actual.bytes = Span(decoder.Output());
        ASSERT_EQ(actual, expected) << "round " << round;
    }
}

}  // namespace
}  // namespace updater::patch
