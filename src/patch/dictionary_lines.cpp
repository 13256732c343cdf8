#include "patch/dictionary_lines.h"

#include <algorithm>
#include <cstring>

namespace updater::patch {
namespace {

constexpr std::uint8_t kCr = '\r';
constexpr std::uint8_t kLf = '\n';

LineBufferSizes Sane(LineBufferSizes sizes) {
    sizes.capacity = std::max<std::size_t>(sizes.capacity, 2);  // room for CR LF at least
    sizes.chunk = std::clamp<std::size_t>(sizes.chunk, 1, sizes.capacity);
    return sizes;
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

bool DictionaryLineReader::AtEnd() const {
    if (!file_.IsOpen()) return true;
    if (pos_ < count_) return false;
    return !FileHasMore();
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
    line.clear();
    for (;;) {
        if (pos_ >= count_) {
            if (!file_.IsOpen() || !FileHasMore()) return base::FileError::kNone;  // a last line without a break
            if (auto e = Refill(); e != base::FileError::kNone) return e;
            continue;
        }
        const std::uint8_t* begin = buffer_.data() + pos_;
        const std::size_t available = count_ - pos_;
        const void* lf = std::memchr(begin, kLf, available);
        const std::size_t beforeLf =
            lf != nullptr ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(lf) - begin) : available;
        const void* cr = std::memchr(begin, kCr, beforeLf);
        const std::size_t length =
            cr != nullptr ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(cr) - begin) : beforeLf;
        line.append(reinterpret_cast<const char*>(begin), length);
        pos_ += length;
        if (pos_ == count_) continue;  // no break in this chunk: the line goes on in the next one

        if (buffer_[pos_++] == kLf) return base::FileError::kNone;
        // CR: every LF that follows belongs to the same break, in this chunk or the next ones.
        for (;;) {
            while (pos_ < count_ && buffer_[pos_] == kLf)
                ++pos_;
            if (pos_ < count_ || !FileHasMore()) return base::FileError::kNone;
            if (auto e = Refill(); e != base::FileError::kNone) return e;
        }
    }
}

DictionaryLineWriter::DictionaryLineWriter(LineBufferSizes sizes) : sizes_(Sane(sizes)) {}

base::FileError DictionaryLineWriter::Open(const std::string& path) {
    Close();
    auto file = base::File::CreateOrTruncate(path);
    if (!file) return file.error();
    file_ = std::move(file).value();
    waiting_ = 0;
    if (buffer_.empty()) buffer_.resize(sizes_.capacity);
    return base::FileError::kNone;
}

base::FileError DictionaryLineWriter::Flush() {
    const std::size_t n = waiting_;
    waiting_ = 0;
    return file_.Write(std::span(buffer_).first(n));
}

base::FileError DictionaryLineWriter::WriteLine(std::string_view line) {
    if (!file_.IsOpen()) return base::FileError::kIo;
    if (waiting_ + line.size() + 2 > sizes_.capacity) {
        if (auto e = Flush(); e != base::FileError::kNone) return e;
    }
    if (line.size() + 2 > sizes_.capacity) {
        // Too long for the buffer: goes straight to the file, the same bytes in the same order.
        auto bytes = std::span(reinterpret_cast<const std::uint8_t*>(line.data()), line.size());
        if (auto e = file_.Write(bytes); e != base::FileError::kNone) return e;
    } else {
        std::copy(line.begin(), line.end(), buffer_.begin() + static_cast<std::ptrdiff_t>(waiting_));
        waiting_ += line.size();
    }
    buffer_[waiting_++] = kCr;
    buffer_[waiting_++] = kLf;
    if (waiting_ > sizes_.chunk) return Flush();
    return base::FileError::kNone;
}

base::FileError DictionaryLineWriter::Close() {
    if (!file_.IsOpen()) return base::FileError::kNone;
    base::FileError result = waiting_ > 0 ? Flush() : base::FileError::kNone;
    const base::FileError closed = file_.Close();
    waiting_ = 0;
    return result != base::FileError::kNone ? result : closed;
}

}  // namespace updater::patch
