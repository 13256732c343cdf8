#include "patch/crc32.h"

#include <zlib.h>

#include <algorithm>
#include <vector>

namespace updater::patch {

std::uint32_t Crc32Update(std::uint32_t crc, std::span<const std::uint8_t> bytes) {
    // zlib takes lengths as uInt; feed very large spans in slices.
    while (!bytes.empty()) {
        const std::size_t n = bytes.size() > 0x40000000u ? 0x40000000u : bytes.size();
        crc = static_cast<std::uint32_t>(::crc32(crc, bytes.data(), static_cast<uInt>(n)));
        bytes = bytes.subspan(n);
    }
    return crc;
}

std::uint32_t Crc32Combine(std::uint32_t first, std::uint32_t second, std::size_t secondLength) {
    // zlib takes the length as z_off_t, 32 bits on Windows: the decoder's pieces are far below that.
    return static_cast<std::uint32_t>(::crc32_combine(first, second, static_cast<z_off_t>(secondLength)));
}

base::FileResult<std::uint32_t> FileCrc32(const std::string& path) {
    auto file = base::File::OpenForReading(path, base::ReadShare::kDenyWriters);
    if (!file) return file.error();
    auto crc = FileCrc32(file.value());
    if (!crc) return crc;
    if (auto e = file.value().Close(); e != base::FileError::kNone) return e;
    return crc;
}

base::FileResult<std::uint32_t> FileCrc32(base::File& file) {
    auto size = file.Size();
    if (!size) return size.error();
    if (auto e = file.Seek(0); e != base::FileError::kNone) return e;

    // Large reads: the dictionary's verification reads 20 MB through here. On the heap, once per
    // call, and no larger than the file.
    std::vector<std::uint8_t> block(static_cast<std::size_t>(std::clamp<std::int64_t>(size.value(), 1, 1 << 20)));
    std::uint32_t crc = kCrc32Initial;
    std::int64_t position = 0;
    while (position < size.value()) {
        auto n = file.Read(block);
        if (!n) return n.error();
        if (n.value() == 0) return base::FileError::kIo;  // the file shrank under us
        crc = Crc32Update(crc, std::span(block).first(n.value()));
        position += static_cast<std::int64_t>(n.value());
    }
    return crc;
}

}  // namespace updater::patch
