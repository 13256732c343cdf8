// Feeds arbitrary bytes to the payload decoder, both as a whole payload and as a token stream for
// the second stage alone. One decoder serves every input, as in the updater, so state left over
// from a failed piece would show up in the next one. The payload is decoded with the CRC-32 taken
// in the same pass, which must be that of the output, or untouched after a failure; then as both
// parts of DecodeTwo, which must agree with it.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "patch/crc32.h"
#include "patch/payload_decoder.h"

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

    // The same input as both parts of one DecodeTwo: the same result as the piece alone, each time.
    static updater::patch::PayloadDecoder second;
    std::uint32_t crcTwo = kBefore;
    const auto two = updater::patch::PayloadDecoder::DecodeTwo(decoder, input, second, input, &crcTwo);
    if (two.error != error || two.payload != 0) std::abort();
    if (error == DecodeError::kNone) {
        if (crcTwo != updater::patch::Crc32Update(crc, second.Output())) std::abort();
        if (!std::equal(second.Output().begin(), second.Output().end(), decoder.Output().begin(),
                        decoder.Output().end())) {
            std::abort();
        }
    } else if (crcTwo != kBefore || !decoder.Output().empty() || !second.Output().empty()) {
        std::abort();
    }

    const DecodeError tokens = decoder.ExpandTokens(input);
    if (tokens == DecodeError::kNone && decoder.Output().size() > updater::patch::kMaxPieceSize) std::abort();
    if (tokens != DecodeError::kNone && !decoder.Output().empty()) std::abort();
    return 0;
}
