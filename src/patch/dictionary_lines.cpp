#include "patch/dictionary_lines.h"

#include <algorithm>
#include <bit>
#include <cstring>

// Every build has SSE2: x86-64 always, the x86 release by its processor floor
// (cmake/mingw-w64-i686.cmake).
#if !defined(__SSE2__)
#error "the line scan needs SSE2"
#endif
#include <emmintrin.h>

namespace updater::patch {
namespace {

constexpr std::uint8_t kCr = '\r';
constexpr std::uint8_t kLf = '\n';

LineBufferSizes Sane(LineBufferSizes sizes) {
    sizes.capacity = std::max<std::size_t>(sizes.capacity, 2);  // room for CR LF at least
    sizes.chunk = std::clamp<std::size_t>(sizes.chunk, 1, sizes.capacity);
    return sizes;
}

// The offset of the first CR or LF in [p, p + n), or n. Lines are short and there are hundreds
// of thousands of them, so this looks at sixteen bytes at a time instead of calling memchr twice
// per line.
std::size_t FindBreak(const std::uint8_t* p, std::size_t n) {
    std::size_t i = 0;
    const __m128i cr = _mm_set1_epi8(static_cast<char>(kCr));
    const __m128i lf = _mm_set1_epi8(static_cast<char>(kLf));
    for (; i + 16 <= n; i += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        const int marks = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(bytes, cr), _mm_cmpeq_epi8(bytes, lf)));
        if (marks != 0) return i + static_cast<std::size_t>(std::countr_zero(static_cast<unsigned>(marks)));
    }
    for (; i < n; ++i) {
        if (p[i] == kCr || p[i] == kLf) return i;
    }
    return n;
}

// Break masks of 64 bytes: bit i of cr (lf) is set when p[i] is CR (LF).
struct BreakMasks {
    std::uint64_t cr;
    std::uint64_t lf;
};

BreakMasks MaskBreaks(const std::uint8_t* p) {
    const __m128i cr = _mm_set1_epi8(static_cast<char>(kCr));
    const __m128i lf = _mm_set1_epi8(static_cast<char>(kLf));
    BreakMasks masks{0, 0};
    for (int i = 0; i < 4; ++i) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * i));
        const auto crBits = static_cast<std::uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, cr)));
        const auto lfBits = static_cast<std::uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, lf)));
        masks.cr |= std::uint64_t{crBits} << (16 * i);
        masks.lf |= std::uint64_t{lfBits} << (16 * i);
    }
    return masks;
}

// std::popcount may become a library call where the processor's instruction is not assumed.
int CountBits(std::uint64_t x) {
    x -= (x >> 1) & 0x5555555555555555ull;
    x = (x & 0x3333333333333333ull) + ((x >> 2) & 0x3333333333333333ull);
    x = (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0Full;
    return static_cast<int>((x * 0x0101010101010101ull) >> 56);
}

// The file is read a little ahead of the chunk, so that extending a chunk to the next LF costs
// one more read now and then instead of one read per byte.
std::size_t ReadAhead(const LineBufferSizes& sizes) {
    return std::min<std::size_t>(4096, sizes.capacity);
}

}  // namespace

DictionaryLineReader::DictionaryLineReader(LineBufferSizes sizes) : sizes_(Sane(sizes)) {}

base::FileError DictionaryLineReader::Open(const std::string& path) {
    Close();
    auto file = base::File::OpenForReading(path, base::ReadShare::kDenyWriters);
    if (!file) return file.error();
    auto size = file.value().Size();
    if (!size) return size.error();
    file_ = std::move(file).value();
    fileSize_ = size.value();
    if (buffer_.empty()) buffer_.resize(sizes_.capacity + ReadAhead(sizes_));
    return base::FileError::kNone;
}

void DictionaryLineReader::Close() {
    file_ = base::File();
    fileSize_ = fileRead_ = 0;
    pos_ = count_ = loaded_ = 0;
}

// Reads from the file until at least upTo bytes are loaded or the file is used up.
base::FileError DictionaryLineReader::LoadMore(std::size_t upTo) {
    upTo = std::min(upTo, buffer_.size());
    while (loaded_ < upTo && fileRead_ < fileSize_) {
        const std::size_t room = std::min(buffer_.size() - loaded_, upTo - loaded_ + ReadAhead(sizes_));
        auto n = file_.Read(std::span(buffer_).subspan(loaded_, room));
        if (!n) return n.error();
        if (n.value() == 0) return base::FileError::kIo;  // the file shrank under us
        loaded_ += n.value();
        fileRead_ += static_cast<std::int64_t>(n.value());
    }
    return base::FileError::kNone;
}

// Starts the next chunk: up to `chunk` bytes, then more until the chunk ends with LF, the buffer
// is full or the file is used up. Called only when the current chunk has been consumed.
base::FileError DictionaryLineReader::Refill() {
    const std::size_t ahead = loaded_ - count_;
    std::memmove(buffer_.data(), buffer_.data() + count_, ahead);
    loaded_ = ahead;
    pos_ = count_ = 0;

    if (auto e = LoadMore(sizes_.chunk); e != base::FileError::kNone) return e;
    count_ = std::min(loaded_, sizes_.chunk);
    while (count_ > 0 && count_ < sizes_.capacity && buffer_[count_ - 1] != kLf) {
        const std::size_t limit = std::min(loaded_, sizes_.capacity);
        const void* lf = std::memchr(buffer_.data() + count_, kLf, limit - count_);
        if (lf != nullptr) {
            count_ = static_cast<std::size_t>(static_cast<const std::uint8_t*>(lf) - buffer_.data()) + 1;
            break;
        }
        count_ = limit;
        if (count_ >= sizes_.capacity || fileRead_ >= fileSize_) break;
        if (auto e = LoadMore(loaded_ + 1); e != base::FileError::kNone) return e;
    }
    return base::FileError::kNone;
}

base::FileError DictionaryLineReader::ReadLine(std::string& line) {
    std::string_view view;
    const base::FileError e = ReadLine(view);
    line.assign(view);
    return e;
}

base::FileError DictionaryLineReader::ReadLine(std::string_view& line) {
    line = {};
    bool spilled = false;  // the line began in an earlier chunk and is collected in spill_
    for (;;) {
        if (pos_ >= count_) {
            if (!file_.IsOpen() || !FileHasMore()) break;  // a last line without a break
            if (auto e = Refill(); e != base::FileError::kNone) return e;
            continue;
        }
        const char* begin = reinterpret_cast<const char*>(buffer_.data()) + pos_;
        const std::size_t length = FindBreak(buffer_.data() + pos_, count_ - pos_);
        pos_ += length;
        if (pos_ == count_) {
            // No break in this chunk: the line goes on in the next one. The chunk is about to be
            // overwritten, so what there is of the line so far moves aside.
            if (!spilled) spill_.clear();
            spill_.append(begin, length);
            spilled = true;
            continue;
        }
        if (spilled) {
            spill_.append(begin, length);
        } else {
            line = std::string_view(begin, length);
        }
        if (buffer_[pos_++] == kCr) {
            // Every LF that follows belongs to the same break, in this chunk or the next ones.
            // Refilling moves the chunk, so a line still in it moves aside first.
            for (;;) {
                while (pos_ < count_ && buffer_[pos_] == kLf)
                    ++pos_;
                if (pos_ < count_ || !FileHasMore()) break;
                if (!spilled) {
                    spill_.assign(line);
                    spilled = true;
                }
                if (auto e = Refill(); e != base::FileError::kNone) return e;
            }
        }
        break;
    }
    if (spilled) line = spill_;
    return base::FileError::kNone;
}

// Takes whole lines in the written form from p on, 64 bytes at a time, until `want` lines are
// taken or a block holds anything else; the caller goes on line by line from there. A block is in
// the written form when every CR in it is followed by LF and every LF preceded by CR; a line is
// taken only when the byte after its LF is in the chunk too and is no LF. Moves p behind the last
// line taken.
void DictionaryLineReader::ScanWrittenLines(std::size_t& p, std::int64_t& run, std::int64_t want) const {
    const std::uint8_t* const bytes = buffer_.data();
    // 1 when the byte before the block is a CR. The byte before p is never taken as one: an LF
    // there would belong to an earlier break.
    std::uint64_t crBefore = 0;
    for (std::size_t b = p; b + 64 < count_ && run < want; b += 64) {
        const BreakMasks m = MaskBreaks(bytes + b);
        const std::uint64_t lfAfter = bytes[b + 64] == kLf ? 1 : 0;
        const std::uint64_t loneCr = m.cr & ~((m.lf >> 1) | (lfAfter << 63));
        const std::uint64_t loneLf = m.lf & ~((m.cr << 1) | crBefore);
        const std::uint64_t odd = loneCr | loneLf;
        std::uint64_t lines = m.lf;
        // An LF at the last bit followed by another LF ends no written line either.
        const bool clean = odd == 0 && !(lfAfter != 0 && (m.lf >> 63) != 0);
        if (!clean) {
            // Only lines whose LF lies two bytes or more before the first odd byte: right behind
            // an LF, an odd byte may be another LF of the same break.
            const int first = odd == 0 ? 64 : std::countr_zero(odd);
            lines &= first <= 1 ? 0 : (std::uint64_t{1} << (first - 1)) - 1;
        }
        const int n = CountBits(lines);
        if (n >= want - run) {
            for (std::int64_t k = want - run; k > 1; --k)
                lines &= lines - 1;  // the want-th LF is now the lowest bit
            p = b + static_cast<std::size_t>(std::countr_zero(lines)) + 1;
            run = want;
            return;
        }
        if (lines != 0) {
            p = b + static_cast<std::size_t>(63 - std::countl_zero(lines)) + 1;
            run += n;
        }
        if (!clean) return;
        crBefore = m.cr >> 63;
    }
}

LineCopy DictionaryLineReader::CopyLinesTo(DictionaryLineWriter& writer, std::int64_t count) {
    LineCopy result;
    std::string_view line;
    while (result.lines < count && !AtEnd()) {
        // A run of lines each followed by CR LF and then by anything but another LF (checked in
        // this chunk) is already in the written form.
        const std::size_t start = pos_;
        std::size_t p = pos_;
        std::int64_t run = 0;
        ScanWrittenLines(p, run, count - result.lines);
        while (run < count - result.lines) {
            const std::size_t end = p + FindBreak(buffer_.data() + p, count_ - p);
            if (count_ - end < 3 || buffer_[end] != kCr || buffer_[end + 1] != kLf || buffer_[end + 2] == kLf) break;
            p = end + 2;
            ++run;
        }
        if (run > 0) {
            pos_ = p;
            result.lines += run;
            result.writeError = writer.WriteLines(std::span(buffer_).subspan(start, p - start));
            if (result.writeError != base::FileError::kNone) return result;
            continue;
        }
        // Any other line, or one at the end of the chunk, goes the ordinary way.
        result.readError = ReadLine(line);
        if (result.readError != base::FileError::kNone) return result;
        result.writeError = writer.WriteLine(line);
        if (result.writeError != base::FileError::kNone) return result;
        ++result.lines;
    }
    return result;
}

DictionaryLineWriter::DictionaryLineWriter(base::ByteSink& sink, LineBufferSizes sizes)
    : sizes_(Sane(sizes)), sink_(sink), buffer_(sizes_.capacity) {}

base::FileError DictionaryLineWriter::Flush() {
    const std::size_t n = waiting_;
    waiting_ = 0;
    return sink_.Write(std::span(buffer_).first(n));
}

base::FileError DictionaryLineWriter::WriteLine(std::string_view line) {
    if (waiting_ + line.size() + 2 > sizes_.capacity) {
        if (auto e = Flush(); e != base::FileError::kNone) return e;
    }
    if (line.size() + 2 > sizes_.capacity) {
        // Too long for the buffer: goes straight to the sink, the same bytes in the same order.
        auto bytes = std::span(reinterpret_cast<const std::uint8_t*>(line.data()), line.size());
        if (auto e = sink_.Write(bytes); e != base::FileError::kNone) return e;
    } else {
        if (!line.empty()) std::memcpy(buffer_.data() + waiting_, line.data(), line.size());
        waiting_ += line.size();
    }
    buffer_[waiting_++] = kCr;
    buffer_[waiting_++] = kLf;
    if (waiting_ > sizes_.chunk) return Flush();
    return base::FileError::kNone;
}

base::FileError DictionaryLineWriter::WriteLines(std::span<const std::uint8_t> lines) {
    // A large run goes straight to the sink after what waits, instead of through the buffer. The
    // reader's runs end inside its chunk, so "large" is half a chunk, not more than one. Smaller
    // runs are copied: a write per run of a few kilobytes costs more than the copy saves.
    if (lines.size() >= sizes_.chunk / 2) {
        if (waiting_ > 0) {
            if (auto e = Flush(); e != base::FileError::kNone) return e;
        }
        return sink_.Write(lines);
    }
    if (waiting_ + lines.size() > sizes_.capacity) {
        if (auto e = Flush(); e != base::FileError::kNone) return e;
    }
    if (!lines.empty()) std::memcpy(buffer_.data() + waiting_, lines.data(), lines.size());
    waiting_ += lines.size();
    if (waiting_ > sizes_.chunk) return Flush();
    return base::FileError::kNone;
}

base::FileError DictionaryLineWriter::Finish() {
    return waiting_ > 0 ? Flush() : base::FileError::kNone;
}

}  // namespace updater::patch
