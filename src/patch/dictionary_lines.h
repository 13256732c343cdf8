#pragma once
// The line reader and writer that stream the dictionary data file through two fixed buffers.
//
// Line format, on which the verified result depends:
// - a source line ends at LF, or at CR followed by any number of LF (CR LF LF is one break, LF LF
//   two, a lone CR one); a last line without a break is still a line;
// - every line written is followed by CR LF, the last one too.
// The reader refills its buffer in chunks of about 1 MiB extended to the next LF, but the chunk
// boundaries never show in the lines: a break that straddles two chunks is still one break, and a
// line longer than the whole buffer is returned whole.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/file_system.h"
#include "base/safe_file_write.h"

namespace updater::patch {

// Buffer sizes; tests shrink them to put chunk boundaries everywhere.
struct LineBufferSizes {
    std::size_t capacity = 2 << 20;  // each buffer
    std::size_t chunk = 1 << 20;     // reader: bytes per refill before it is extended to a break;
                                     // writer: waiting bytes above which the buffer is written out
};

class DictionaryLineWriter;

// What CopyLinesTo did: lines moved, and the first failure on either side.
struct LineCopy {
    std::int64_t lines = 0;
    base::FileError readError = base::FileError::kNone;
    base::FileError writeError = base::FileError::kNone;
};

class DictionaryLineReader {
  public:
    explicit DictionaryLineReader(LineBufferSizes sizes = {});

    // Opens the source, closing one that is still open; other programs may read it meanwhile,
    // nobody may write it.
    base::FileError Open(const std::string& path);
    void Close();
    bool IsOpen() const { return file_.IsOpen(); }

    // True when no source is open or every byte of it has been taken as lines (a closed reader
    // holds no bytes and expects none).
    bool AtEnd() const { return pos_ >= count_ && !FileHasMore(); }
    // The next line without its break. At the end it gives an empty line.
    base::FileError ReadLine(std::string& line);
    // The same without a copy: the view is valid until the next call.
    base::FileError ReadLine(std::string_view& line);
    // Moves up to `count` lines to the writer, stopping early at the end of the source: the same
    // bytes as ReadLine and WriteLine line by line, but lines that already end in a lone CR LF go
    // over as they are, many at once.
    LineCopy CopyLinesTo(DictionaryLineWriter& writer, std::int64_t count);

  private:
    bool FileHasMore() const { return loaded_ > count_ || fileRead_ < fileSize_; }
    base::FileError Refill();
    base::FileError LoadMore(std::size_t upTo);
    void ScanWrittenLines(std::size_t& p, std::int64_t& run, std::int64_t want) const;

    LineBufferSizes sizes_;
    base::File file_;
    std::int64_t fileSize_ = 0;
    std::int64_t fileRead_ = 0;
    // buffer_[pos_, count_) is the unread part of the current chunk. The bytes
    // buffer_[count_, loaded_) were read ahead from the file and belong to the next chunk.
    std::vector<std::uint8_t> buffer_;
    std::size_t pos_ = 0;
    std::size_t count_ = 0;
    std::size_t loaded_ = 0;
    std::string spill_;  // a line that spans chunks
};

class DictionaryLineWriter {
  public:
    // Writes into sink, which outlives the writer.
    explicit DictionaryLineWriter(base::ByteSink& sink, LineBufferSizes sizes = {});

    // Appends the line and CR LF; writes the buffer out when more than the chunk size waits.
    base::FileError WriteLine(std::string_view line);
    // Appends bytes that are whole lines, each already followed by CR LF. Half a chunk or more of
    // them goes to the sink as it is, after what waits.
    base::FileError WriteLines(std::span<const std::uint8_t> lines);
    // Writes out what waits.
    base::FileError Finish();

  private:
    base::FileError Flush();

    LineBufferSizes sizes_;
    base::ByteSink& sink_;
    std::vector<std::uint8_t> buffer_;
    std::size_t waiting_ = 0;
};

}  // namespace updater::patch
