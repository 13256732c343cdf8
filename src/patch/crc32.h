#pragma once
// CRC-32 of ISO 3309 / ITU-T V.42 (reflected polynomial 0xEDB88320, as in zlib and PNG).

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "base/file_system.h"

namespace updater::patch {

inline constexpr std::uint32_t kCrc32Initial = 0;

// Folds bytes into a running CRC; start with kCrc32Initial. Crc32Update(0, {}) is 0.
std::uint32_t Crc32Update(std::uint32_t crc, std::span<const std::uint8_t> bytes);
inline std::uint32_t Crc32(std::span<const std::uint8_t> bytes) {
    return Crc32Update(kCrc32Initial, bytes);
}
// The CRC-32 of two byte ranges one after the other, from the CRC-32 of each and the length of the
// second, without reading them again.
std::uint32_t Crc32Combine(std::uint32_t first, std::uint32_t second, std::size_t secondLength);

// The CRC-32 of a whole file, read in 8,192-byte blocks while other programs may read but not
// write it (a file someone is writing fails with kSharingViolation on Windows).
base::FileResult<std::uint32_t> FileCrc32(const std::string& path);
// The same for a file that is open for reading, from its first byte; the position is left at the end.
base::FileResult<std::uint32_t> FileCrc32(base::File& file);

}  // namespace updater::patch
