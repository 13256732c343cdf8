// Feeds arbitrary bytes to the payload decoder, both as a whole payload and as the token stream of
// a payload whose codes are the bytes themselves (so that the second stage sees them unchanged). One decoder serves
// every input, as in the updater, so state left over from a failed piece would show up in the next one. The payload is
// decoded with the CRC-32 taken in the same pass, which must be that of the output, or untouched after a failure; then
// as both parts of DecodeTwo, which must agree with it.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "patch/crc32.h"
#include "patch/payload_decoder.h"

namespace {

// A payload that codes every byte value as itself, in 8 bits, followed by `tokens` as its codes.
std::vector<std::uint8_t> TokenPayload(std::span<const std::uint8_t> tokens) {
    std::vector<std::uint8_t> payload;
    std::size_t bits = 0;
    const auto put = [&](unsigned value, unsigned count) {
        for (unsigned i = count; i-- > 0; ++bits) {
            if (bits % 8 == 0) payload.push_back(0);
            if ((value >> i) & 1u) payload.back() |= static_cast<std::uint8_t>(0x80u >> (bits % 8));
        }
    };
    for (unsigned value = 0; value < 256; ++value) {
        put(1, 1);
        put(8, 4);
        put(value, 8);
    }
    for (unsigned i = 0; i < 4; ++i)  // the table ends on a byte boundary: the length follows
        payload.push_back(static_cast<std::uint8_t>(tokens.size() >> (8 * i)));
    payload.insert(payload.end(), tokens.begin(), tokens.end());
    return payload;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using updater::patch::DecodeError;
    static updater::patch::PayloadDecoder decoder;
    const std::span<const std::uint8_t> input(data, size);

    constexpr std::uint32_t kBefore = 0x5EED1234;  // as if a part A came first
    std::uint32_t crc = kBefore;
    const DecodeError error = decoder.Decode(input, crc);
    if (error == DecodeError::kNone) {
        // Stage 1 produced at least one token, and every token yields at least one byte.
        if (decoder.Output().empty() || decoder.Output().size() > updater::patch::kMaxPieceSize) std::abort();
        if (crc != updater::patch::Crc32Update(kBefore, decoder.Output())) std::abort();
    } else {
        if (!decoder.Output().empty() || updater::patch::Describe(error).empty()) std::abort();
        if (crc != kBefore) std::abort();
        if (decoder.FailureReason().empty()) std::abort();
    }

    // DecodeTwo gives what decoding its parts one after the other gives: for the input with itself,
    // and for the input's first half before the input (parts of different lengths and faults).
    using updater::patch::PayloadDecoder;
    static PayloadDecoder half;
    static PayloadDecoder first;
    static PayloadDecoder second;
    const std::span<const std::uint8_t> halfInput = input.first(size / 2);
    const DecodeError halfError = half.Decode(halfInput);
    const auto same = [](std::span<const std::uint8_t> x, std::span<const std::uint8_t> y) {
        return std::equal(x.begin(), x.end(), y.begin(), y.end());
    };
    const auto checkTwo = [&](std::span<const std::uint8_t> a, const PayloadDecoder& aloneA, DecodeError errorA,
                              std::span<const std::uint8_t> b, const PayloadDecoder& aloneB, DecodeError errorB) {
        std::uint32_t crcTwo = kBefore;
        const PayloadDecoder::PairResult two = PayloadDecoder::DecodeTwo(first, a, second, b, &crcTwo);
        if (errorA != DecodeError::kNone) {
            if (two.error != errorA || two.payload != 0 || crcTwo != kBefore) std::abort();
            if (first.FailureReason() != aloneA.FailureReason()) std::abort();
            if (!first.Output().empty() || !second.Output().empty()) std::abort();
            return;
        }
        if (!same(first.Output(), aloneA.Output())) std::abort();
        const std::uint32_t afterA = updater::patch::Crc32Update(kBefore, aloneA.Output());
        if (two.error != errorB) std::abort();
        if (errorB != DecodeError::kNone) {
            if (two.payload != 1 || crcTwo != afterA || !second.Output().empty()) std::abort();
            if (second.FailureReason() != aloneB.FailureReason()) std::abort();
            return;
        }
        if (!same(second.Output(), aloneB.Output())) std::abort();
        if (crcTwo != updater::patch::Crc32Update(afterA, aloneB.Output())) std::abort();
    };
    checkTwo(input, decoder, error, input, decoder, error);
    checkTwo(halfInput, half, halfError, input, decoder, error);

    if (size == 0) return 0;  // a payload has at least one code
    const DecodeError tokens = decoder.Decode(TokenPayload(input));
    if (size <= 2 * updater::patch::kMaxPieceSize && !same(decoder.Intermediate(), input)) std::abort();
    if (tokens == DecodeError::kNone && decoder.Output().size() > updater::patch::kMaxPieceSize) std::abort();
    if (tokens != DecodeError::kNone && !decoder.Output().empty()) std::abort();
    return 0;
}
