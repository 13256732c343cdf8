#pragma once
// Makes payloads: one piece of a target file, compressed in the two-stage format the updater's
// decoder reads (a prefix-coded stream of literal-run and back-reference tokens).
//
// The encoder is deterministic: integer arithmetic only and fixed tie-breaking, so the same piece
// gives the same bytes on every compiler and platform (the committed payload resources are checked
// against it).

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace updater::tools {

// The largest piece one payload can carry: the decoder's output buffer.
inline constexpr std::size_t kMaxEncodablePiece = 2'097'152;

// Encodes one piece of 1 to kMaxEncodablePiece bytes. Never fails for those sizes.
// An empty piece has no payload (the format needs at least one token, and every token produces at
// least one byte), and a larger one would overflow the decoder: both give an empty vector, which
// is never a valid payload. Callers check the size first and say why.
std::vector<std::uint8_t> EncodePayload(std::span<const std::uint8_t> piece);

}  // namespace updater::tools
