#pragma once
// The payload decoder: turns one payload resource into one piece of a target file.
//
// A payload is a bit stream (most significant bit of each byte first): a symbol table that gives
// every byte value that occurs an explicit code of 1 to 16 bits, padding to the next byte, a
// 32-bit little-endian count N, then N codes. Stage 1 decodes the codes into N intermediate bytes;
// stage 2 reads those as tokens (literal runs of 1..128 bytes, and matches of 3..10 bytes copied
// from up to 4,095 bytes back) and writes the piece, at most 2,097,152 bytes.
//
// Codes are matched by first match over the table sorted by length, then byte value, so tables
// that are not prefix-free still decode one defined way (a shorter code that is a prefix of a
// longer one wins; of two equal codes the lower byte value wins). Every malformed payload ends
// with a DecodeError; the decoder never reads or writes outside its buffers.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace updater::patch {

inline constexpr std::size_t kMaxPieceSize = 2'097'152;  // the stage-2 output buffer

enum class DecodeError : std::uint8_t {
    kNone,
    kTruncatedSymbolTable,  // the payload ends inside the symbol table
    kTooFewSymbols,         // fewer than two byte values declared
    kTruncatedLength,       // the payload ends inside the 4-byte length field
    kNoCodes,               // the length field is 0
    kTooManyCodes,          // more codes than a 2,097,152-byte piece can need
    kCodesPastEnd,          // the codes run past the end of the payload
    kNoMatchingCode,        // the bits at a code match no entry of the table
    kTruncatedLiteralRun,   // a literal run runs past the end of the intermediate bytes
    kTruncatedMatch,        // a match token lacks its second byte
    kZeroDistance,          // a match at distance 0
    kDistanceBeforeStart,   // a match reaching back before the start of the piece
    kPieceTooLarge,         // the piece would exceed 2,097,152 bytes
    kOutOfMemory,           // a buffer could not be allocated
};

// One line saying why a payload was rejected ("" for kNone).
std::string_view Describe(DecodeError error);

class PayloadDecoder {
  public:
    PayloadDecoder();
    ~PayloadDecoder();
    PayloadDecoder(const PayloadDecoder&) = delete;
    PayloadDecoder& operator=(const PayloadDecoder&) = delete;

    // Decodes one piece. kNone on success; Output() is then the piece, valid until the next Decode.
    DecodeError Decode(std::span<const std::uint8_t> payload);
    // The same, and folds the piece into the running CRC-32 `crc` (patch/crc32.h) while it is
    // written, a few kilobytes behind the output, so the piece is not read again for it: a file's
    // pieces decoded in order give the file's CRC-32. On failure crc is left as it was.
    DecodeError Decode(std::span<const std::uint8_t> payload, std::uint32_t& crc);
    std::span<const std::uint8_t> Output() const;

    // Two pieces with two decoders, as first.Decode(a, *crc) and then second.Decode(b, *crc) would
    // decode them (crc nullptr: as Decode without it), with the same pieces, failures and CRC-32;
    // but each stage runs for both pieces in one loop, so that the work of one overlaps the other's
    // waits. error is the first failure and payload which one it was in (0 for a, 1 for b); after a
    // failure in a, second is left without output.
    struct PairResult {
        DecodeError error = DecodeError::kNone;
        std::size_t payload = 0;
    };
    static PairResult DecodeTwo(PayloadDecoder& first, std::span<const std::uint8_t> a, PayloadDecoder& second,
                                std::span<const std::uint8_t> b, std::uint32_t* crc);

    // The intermediate bytes of the last payload (the output of its codes), as far as they were
    // decoded: all N of them once stage 1 succeeded, whatever stage 2 then found.
    std::span<const std::uint8_t> Intermediate() const;

    // After a failure, one line saying why and where: the bit of the symbol table, the byte of the
    // length field, the code in stage 1 or the offset of the token in the intermediate bytes.
    std::string FailureReason() const;

  private:
    struct Tables;
    struct CodeReader;
    struct TokenWriter;
    struct CrcFollower;
    struct CodeEntry {
        std::uint8_t length;  // 1..16
        std::uint16_t code;   // the low `length` bits
        std::uint8_t symbol;  // the byte value it stands for
    };

    // Decode(a) is DecodePieces<1> and DecodeTwo DecodePieces<2>: each stage steps the pieces'
    // fast paths side by side, then finishes them one after the other, in order.
    template <std::size_t N>
    static PairResult DecodePieces(const std::array<PayloadDecoder*, N>& decoders,
                                   const std::array<std::span<const std::uint8_t>, N>& payloads, std::uint32_t* crc);
    template <std::size_t N>
    static PairResult ExpandPieces(const std::array<PayloadDecoder*, N>& decoders, std::uint32_t* crc);

    void Reset();
    DecodeError Fail(DecodeError error, std::size_t position);
    DecodeError ReadSymbolTable(std::span<const std::uint8_t> payload, std::size_t& codeStreamStart);
    DecodeError BeginCodes(std::span<const std::uint8_t> payload, std::size_t codeStreamStart, CodeReader& reader);
    DecodeError FinishCodes(std::span<const std::uint8_t> payload, CodeReader reader, bool matched);
    bool PrepareIntermediate(std::size_t size);
    DecodeError BeginExpand(TokenWriter& writer);
    DecodeError FinishExpand(TokenWriter writer, bool fast, CrcFollower* follower);

    std::vector<CodeEntry> entries_;
    std::unique_ptr<Tables> tables_;
    // Both buffers carry slack behind their logical end so that the hot loops may copy whole
    // words past a token; the slack never becomes part of a result.
    std::vector<std::uint8_t> intermediate_;
    std::size_t intermediateSize_ = 0;
    std::vector<std::uint8_t> output_;
    std::size_t outputSize_ = 0;
    DecodeError failure_ = DecodeError::kNone;
    std::size_t failurePosition_ = 0;
};

}  // namespace updater::patch
